// qzbench apply runs Extrude Surface from a script, without the game: each type adds its records,
// the dialog's checks and the builder's refusals write nothing, and undo gives back the level as
// opened.

#include "engine/RenderData.h"
#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/OpenedLevel.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class QzbenchApplyExtrudeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Room 0 from (0, 0, 0) to (1, 1, 1) and room 1 a gap of 1 beyond its wall x = 1
        // (surface 3).
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        AddBoxSector(level, {2, 0, 0}, {3, 1, 1});
        FinishFixture(level);
        SaveQzeFile(m_temp / "in.qze", level, CDocumentFields{});
    }

    std::string Apply(const std::string& words, int& status)
    {
        return RunQzbenchApply(m_temp / "in.qze", m_temp / "out.qze", words, status);
    }

    CQzlSections Out()
    {
        return std::move(LoadLevelFile(m_temp / "out.qze", 0).m_contents.m_level);
    }

    CTempFolder m_temp{"qz_apply_extrude"};
};

TEST_F(QzbenchApplyExtrudeTest, EachTypeAddsItsRecords)
{
    struct {
        const char* words;
        std::size_t sectors, surfaces, adjoins;  // the two rooms: 2 sectors, 12 surfaces
    } const cases[] = {
        {"extrude-surface sector=0 surface=0 depth=2", 3, 18, 2},
        {"extrude-surface sector=0 surface=0 type=keep depth=0.5", 2, 16, 0},
        {"extrude-surface sector=0 surface=0 type=hidden vertex1=0 vertex2=1 vertex3=2 depth2=1 "
         "depth3=2",
         3, 18, 2},
        {"extrude-surface sector=0 surface=3 type=connect node=1,0,0.5 node=1,1,0.5", 3, 18, 4},
        {"extrude-surface sector=0 surface=0 up-down=30 shape=rotated node=0.5,0,0 node=0.5,0,1", 3,
         18, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        int status = -1;
        const std::string output = Apply(c.words, status);
        ASSERT_EQ(status, 0) << output;
        const CQzlSections out = Out();
        EXPECT_EQ(out.m_sectors.size(), c.sectors);
        EXPECT_EQ(out.m_surfaces.size(), c.surfaces);
        EXPECT_EQ(out.m_adjoins.size(), c.adjoins);
        EXPECT_TRUE(LevelIsSound(out));
    }
}

TEST_F(QzbenchApplyExtrudeTest, RefusalsWriteNothing)
{
    struct {
        const char* words;
        const char* message;
    } const cases[] = {
        {"extrude-surface sector=0 surface=0 depth=0", "between 0.01 and 100"},
        {"extrude-surface sector=0 surface=0 up-down=50", "between -45 and 45"},
        {"extrude-surface sector=0 surface=0 type=sideways", "type takes"},
        {"extrude-surface sector=0 surface=0 vertex1=1 vertex2=1 vertex3=2",
         "You must select three different vertices."},
        {"extrude-surface sector=0 surface=1 type=connect node=0,1,0 node=1,1,0",
         "no unique opposite surface"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(ApplyRefuses(m_temp / "in.qze", m_temp / "out.qze", c.words, c.message))
            << c.words;
}

TEST_F(QzbenchApplyExtrudeTest, UndoGivesBackTheOpenedLevel)
{
    const Bytes opened = OpenedLevelBytes(m_temp / "in.qze");
    int status = -1;
    const std::string output = Apply(
        "undo extrude-surface sector=0 surface=3 type=connect node=1,0,0.5 node=1,1,0.5", status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(ReadFileBytes(m_temp / "out.qze"), opened);
}

}  // namespace
