// qzbench apply runs Split Sector and Carve from a script on a 4-unit box room: each cuts what it
// should, undo gives back the level as opened, and a refusal exits 2 with its message and writes
// nothing.

#include "engine/RenderData.h"
#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class QzbenchApplySplitCarveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 4, 4});
        FinishFixture(level);
        SaveQzeFile(m_temp / "in.qze", level, CDocumentFields{});
    }

    std::string Apply(const std::string& out, const std::string& words, int& status)
    {
        return RunQzbench("LC_ALL=C",
                          "apply '" + (m_temp / "in.qze").string() + "' '" +
                              (m_temp / out).string() + "' " + words,
                          status);
    }

    CQzlSections Load(const std::string& name)
    {
        return std::move(LoadLevelFile(m_temp / name, 0).m_contents.m_level);
    }

    // The level as the editor opens it: every sector built, saved.
    Bytes Opened()
    {
        CLevelFile file = LoadLevelFile(m_temp / "in.qze", 0);
        CFixtureEngine engine(std::move(file.m_contents.m_level));
        RebuildAll(engine.m_view, true);
        return WriteQzeBytes(engine.m_level, file.m_contents.m_document);
    }

    CTempFolder m_temp{"qz_apply_split_carve"};
};

const std::string kRectangle = "node=0,1,1 node=0,1,3 node=0,3,3 node=0,3,1";

TEST_F(QzbenchApplySplitCarveTest, SplitSectorAndCarveRunFromWords)
{
    struct Case {
        std::string words;
        std::size_t sectors;
        std::size_t surfaces;
    };
    const Case cases[] = {
        // The box halved at y = 2: 6 + 4 pieces + 2 caps.
        {"split-sector sector=0 node=1,2,1 node=1,2,3 node=3,2,3", 2, 12},
        // Four cuts: two of 4 walls (+ 4 pieces and 2 caps each), two of 2 walls and 2 adjoined
        // caps with their twins (+ 6 pieces and 2 caps each); the catwalk takes the prism's 6.
        {"carve sector=0 sector-mode=yes catwalk=no " + kRectangle, 5, 34},
        {"carve sector=0 sector-mode=yes " + kRectangle, 4, 28},
        // Along the floor leaning 45 degrees towards +x: one cut, the plane x = y, through the
        // diagonals of the walls z = 0 and z = 4.
        {"carve sector=0 surface=0 catwalk=no up-down=45 node=1,0,2 node=3,0,2", 2, 10},
    };
    const Bytes opened = Opened();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        int status = -1;
        std::string output = Apply("out.qze", c.words, status);
        ASSERT_EQ(status, 0) << output;
        const CQzlSections out = Load("out.qze");
        EXPECT_EQ(out.m_sectors.size(), c.sectors);
        EXPECT_EQ(out.m_surfaces.size(), c.surfaces);
        output = Apply("undone.qze", "undo " + c.words, status);
        ASSERT_EQ(status, 0) << output;
        EXPECT_EQ(ReadFileBytes(m_temp / "undone.qze"), opened);
    }

    const struct {
        std::string words;
        const char* says;
    } refusals[] = {
        {"split-sector sector=0 node=1,2,1 node=1,2,3", "split-sector needs three node= points."},
        {"split-sector sector=0 node=1,0,1 node=1,0,3 node=3,0,3",
         "Cannot split sector. You must select 3 grid nodes not on the same surface."},
        {"carve sector=0 sector-mode=yes node=0,1,1 node=0,1,3 node=0,3,3 node=0.6,3,1",
         "Cannot carve sector. You must select grid nodes on the same plane."},
        {"carve sector=0 surface=0 up-down=50 node=1,0,2 node=3,0,2",
         "up-down and left-right take -45 to 45."},
    };
    for (const auto& c : refusals) {
        SCOPED_TRACE(c.words);
        int status = -1;
        const std::string output = Apply("refused.qze", c.words, status);
        EXPECT_EQ(status, 2) << output;
        EXPECT_NE(output.find(c.says), std::string::npos) << output;
        EXPECT_FALSE(std::filesystem::exists(m_temp / "refused.qze"));
    }
}

}  // namespace
