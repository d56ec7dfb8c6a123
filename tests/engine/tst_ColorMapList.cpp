// The level's colour maps as the Color Map and Select Color Map dialogs edit them: the palette of
// a colour map's bytes (a file cut short gives none), the grid cell under a point, the palette
// edit of a level file, the colour maps sectors use, the list written at OK with the sectors
// following their colour maps by name, and Select Color Map's one colour map for the level.

#include "engine/ColorMapList.h"
#include "level/LevelFiles.h"
#include "resources/Tree.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A box room of three sectors on colour maps 0, 2 and 2 of "A.CMP", "B.CMP", "C.CMP".
CQzlSections MakeThreeMapLevel()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {2, 0, 0}, {3, 1, 1});
    AddBoxSector(level, {4, 0, 0}, {5, 1, 1});
    FinishFixture(level);
    level.m_colormaps = {"A.CMP", "B.CMP", "C.CMP"};
    level.m_sectors[0]->m_colormap = 0;
    level.m_sectors[1]->m_colormap = 2;
    level.m_sectors[2]->m_colormap = 2;
    return level;
}

std::vector<int> SectorMaps(const CQzlSections& level)
{
    std::vector<int> maps;
    for (const auto& sector : level.m_sectors)
        maps.push_back(sector->m_colormap);
    return maps;
}

TEST(ColorMapPalette, IsTheTriplesFromByte64AndNoneForAFileCutShortInsideIt)
{
    const Bytes full = MakeTestColorMap();
    const std::optional<CPalette> palette = PaletteFromColorMapBytes(full);
    ASSERT_TRUE(palette.has_value());
    EXPECT_EQ((*palette)[0], 0);
    EXPECT_EQ((*palette)[1], 255);
    EXPECT_EQ((*palette)[3 * 255], 255);
    EXPECT_EQ((*palette)[3 * 255 + 2], 127);
    // Exactly the palette is enough; one byte less is not, nor is nothing.
    EXPECT_EQ(PaletteFromColorMapBytes(MakeTestColorMap(832)), palette);
    EXPECT_FALSE(PaletteFromColorMapBytes(MakeTestColorMap(831)).has_value());
    EXPECT_FALSE(PaletteFromColorMapBytes(Bytes{}).has_value());
}

TEST(ColorMapPalette, CellOfAPoint)
{
    struct Case {
        int x, y, width, height, cell;
    };
    const Case cases[] = {
        {0, 0, 160, 160, 0},    {9, 9, 160, 160, 0},       {10, 0, 160, 160, 1},
        {0, 10, 160, 160, 16},  {159, 159, 160, 160, 255}, {99, 99, 100, 100, 255},
        {50, 25, 100, 50, 136}, {160, 0, 160, 160, -1},    {0, 160, 160, 160, -1},
        {-1, 5, 160, 160, -1},  {5, -1, 160, 160, -1},     {0, 0, 0, 0, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PaletteCellAt(c.x, c.y, c.width, c.height), c.cell)
            << c.x << "," << c.y << " in " << c.width << "x" << c.height;
}

TEST(ColorMapPalette, EditChangesOneTripleOfTheLevelsOwnFileOnly)
{
    CQzlSections level = MakeEmptyLevel();
    AddLevelFile(level.m_levelFiles, "mine.cmp", "misc\\cmp\\mine.cmp", MakeTestColorMap());
    AddLevelFile(level.m_levelFiles, "short.cmp", "misc\\cmp\\short.cmp", MakeTestColorMap(831));
    AddLevelFile(level.m_levelFiles, "game.cmp", "misc\\cmp\\game.cmp", MakeTestColorMap());
    CGameResources game;
    game.m_treeColorMaps.m_entries.push_back(
        std::make_unique<CTreeObject>("misc\\cmp\\game.cmp", 0, 17216));
    const auto bytesOf = [&level](const char* name) {
        int position = 0;
        EXPECT_TRUE(level.m_levelFiles.Find(name, position));
        return *level.m_levelFiles.m_entries[static_cast<std::size_t>(position)]->m_data;
    };

    ASSERT_TRUE(EditColorMapPalette(&game, level, "MINE.cmp", 255, 1, 2, 3));
    Bytes want = MakeTestColorMap();
    want[64 + 3 * 255] = 1;
    want[65 + 3 * 255] = 2;
    want[66 + 3 * 255] = 3;
    EXPECT_EQ(bytesOf("mine.cmp"), want);

    // Refused, nothing changed: a game colour map, a file too short, no such file, an index
    // outside the palette.
    EXPECT_FALSE(EditColorMapPalette(&game, level, "game.cmp", 0, 1, 2, 3));
    EXPECT_FALSE(EditColorMapPalette(&game, level, "short.cmp", 0, 1, 2, 3));
    EXPECT_FALSE(EditColorMapPalette(&game, level, "none.cmp", 0, 1, 2, 3));
    EXPECT_FALSE(EditColorMapPalette(&game, level, "mine.cmp", 256, 9, 9, 9));
    EXPECT_FALSE(EditColorMapPalette(&game, level, "mine.cmp", -1, 9, 9, 9));
    EXPECT_EQ(bytesOf("game.cmp"), MakeTestColorMap());
    EXPECT_EQ(bytesOf("short.cmp"), MakeTestColorMap(831));
    EXPECT_EQ(bytesOf("mine.cmp"), want);
}

TEST(ColorMapList, UsedNames)
{
    CQzlSections level = MakeThreeMapLevel();
    EXPECT_TRUE(IsColorMapUsed(level, "a.cmp"));
    EXPECT_FALSE(IsColorMapUsed(level, "b.cmp"));
    EXPECT_TRUE(IsColorMapUsed(level, "C.CMP"));
    EXPECT_FALSE(IsColorMapUsed(level, "d.cmp"));
    level.m_sectors[1]->m_colormap = 7;  // names no entry: uses none of them
    level.m_sectors[2]->m_colormap = 0;
    EXPECT_FALSE(IsColorMapUsed(level, "c.cmp"));
}

TEST(ColorMapList, OkKeepsEverySectorOnItsColorMapByName)
{
    struct Case {
        const char* what;
        std::vector<std::string> names;
        bool done;
        std::vector<std::string> list;  // afterwards
        std::vector<int> maps;
    };
    const Case cases[] = {
        {"middle deleted", {"a.cmp", "c.cmp"}, true, {"A.CMP", "C.CMP"}, {0, 1, 1}},
        {"one added",
         {"a.cmp", "b.cmp", "c.cmp", "d.cmp"},
         true,
         {"A.CMP", "B.CMP", "C.CMP", "D.CMP"},
         {0, 2, 2}},
        {"reordered", {"c.cmp", "a.cmp"}, true, {"C.CMP", "A.CMP"}, {1, 0, 0}},
        {"unchanged", {"a.cmp", "b.cmp", "c.cmp"}, false, {"A.CMP", "B.CMP", "C.CMP"}, {0, 2, 2}},
        {"a used map gone", {"a.cmp", "b.cmp"}, false, {"A.CMP", "B.CMP", "C.CMP"}, {0, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CFixtureEngine fixture(MakeThreeMapLevel());
        if (c.done) {
            EXPECT_TRUE(UndoGivesBackExactBytes(
                fixture.m_view, [&] { return SetColorMapList(fixture.m_level, c.names); }));
        } else {
            EXPECT_FALSE(SetColorMapList(fixture.m_level, c.names));
        }
        EXPECT_EQ(fixture.m_level.m_colormaps, c.list);
        EXPECT_EQ(SectorMaps(fixture.m_level), c.maps);
        EXPECT_TRUE(LevelIsSound(fixture.m_level));
    }
}

TEST(SelectColorMap, LeavesOneColorMapWithEverySectorOnIt)
{
    CFixtureEngine fixture(MakeThreeMapLevel());
    EXPECT_TRUE(UndoGivesBackExactBytes(
        fixture.m_view, [&] { return SelectColorMap(fixture.m_view, "warm.cmp"); }));
    EXPECT_EQ(fixture.m_level.m_colormaps, std::vector<std::string>{"warm.cmp"});
    EXPECT_EQ(SectorMaps(fixture.m_level), (std::vector<int>{0, 0, 0}));
    EXPECT_TRUE(LevelIsSound(fixture.m_level));
    // No name, or the level already on that one map: nothing to do.
    EXPECT_FALSE(SelectColorMap(fixture.m_view, ""));
    EXPECT_FALSE(SelectColorMap(fixture.m_view, "warm.cmp"));
}

}  // namespace
