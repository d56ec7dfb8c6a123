// qzbench apply runs Select Color Map's Apply (select-color-map), the Color Map dialog's palette
// edit (edit-palette) and its OK (set-color-maps) from a script: one colour map on every sector,
// undone to the level as opened; one palette entry of the level's own colour map written, a file
// cut short and an entry outside the palette refused with nothing written; a new list with every
// sector following its map by name, a list that leaves out a used map refused.

#include "level/LevelFile.h"
#include "level/LevelFiles.h"
#include "level/QzeFile.h"
#include "resources/Tree.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/QzbenchProcess.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Two boxes on colour maps 0 and 1, with the level's own colour maps "mine.cmp" and "short.cmp"
// (cut short inside its palette).
class QzbenchApplyColorMapsTest : public QzbenchApplyFileTest {
protected:
    QzbenchApplyColorMapsTest() : QzbenchApplyFileTest("qz_apply_colormaps") {}

    void SetUp() override
    {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        AddBoxSector(level, {2, 0, 0}, {3, 1, 1});
        FinishFixture(level);
        level.m_colormaps = {"DFLT.CMP", "MINE.CMP"};
        level.m_sectors[1]->m_colormap = 1;
        AddLevelFile(level.m_levelFiles, "mine.cmp", "misc\\cmp\\mine.cmp", MakeTestColorMap());
        AddLevelFile(level.m_levelFiles, "short.cmp", "misc\\cmp\\short.cmp",
                     MakeTestColorMap(831));
        SaveIn(level);
    }
};

std::vector<std::uint8_t> FileBytes(const CQzlSections& level, const char* name)
{
    int position = 0;
    if (level.m_levelFiles.Find(name, position) == 0)
        return {};
    return level.m_levelFiles.m_entries[static_cast<std::size_t>(position)]->m_data.value_or(
        std::vector<std::uint8_t>{});
}

TEST_F(QzbenchApplyColorMapsTest, SelectColorMapPutsEverySectorOnOneMap)
{
    const CQzlSections out = Applied("select-color-map name=mine.cmp");
    EXPECT_EQ(out.m_colormaps, std::vector<std::string>{"mine.cmp"});
    for (const auto& sector : out.m_sectors)
        EXPECT_EQ(sector->m_colormap, 0);
    ExpectBuildsAndUndoes("select-color-map name=mine.cmp", 2);
    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze", "select-color-map name=",
                             "select-color-map takes a colour-map name."));
}

TEST_F(QzbenchApplyColorMapsTest, EditPaletteWritesOneEntryOfTheLevelsColorMap)
{
    const CQzlSections out = Applied("edit-palette colormap=mine.cmp index=255 r=1 g=2 b=3");
    EXPECT_TRUE(LevelIsSound(out));
    std::vector<std::uint8_t> want = MakeTestColorMap();
    want[64 + 3 * 255] = 1;
    want[65 + 3 * 255] = 2;
    want[66 + 3 * 255] = 3;
    EXPECT_EQ(FileBytes(out, "mine.cmp"), want);
    EXPECT_EQ(FileBytes(out, "short.cmp"), MakeTestColorMap(831));

    const char* refused = "edit-palette needs a colour map of the level's own files";
    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze",
                             "edit-palette colormap=short.cmp index=0 r=1 g=2 b=3", refused));
    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze",
                             "edit-palette colormap=none.cmp index=0 r=1 g=2 b=3", refused));
    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze",
                             "edit-palette colormap=mine.cmp index=256 r=1 g=2 b=3",
                             "edit-palette takes index=, r=, g= and b= from 0 to 255."));
}

TEST_F(QzbenchApplyColorMapsTest, SetColorMapsKeepsEverySectorOnItsMap)
{
    const std::string words = "set-color-maps names=mine.cmp,warm.cmp,dflt.cmp";
    const CQzlSections out = Applied(words);
    EXPECT_EQ(out.m_colormaps, (std::vector<std::string>{"MINE.CMP", "WARM.CMP", "DFLT.CMP"}));
    ASSERT_EQ(out.m_sectors.size(), 2U);
    EXPECT_EQ(out.m_sectors[0]->m_colormap, 2);
    EXPECT_EQ(out.m_sectors[1]->m_colormap, 0);
    ExpectBuildsAndUndoes(words, 2);

    const char* refused =
        "set-color-maps changes nothing, or leaves out a colour map that a sector uses.";
    for (const char* same :
         {"set-color-maps names=dflt.cmp", "set-color-maps names=dflt.cmp,mine.cmp"}) {
        SCOPED_TRACE(same);
        EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze", same, refused));
    }
    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze", "set-color-maps names=dflt.cmp,,mine.cmp",
                             "set-color-maps takes names=A,B,... without an empty name."));
}

}  // namespace
