// qzbench apply runs Merge Surfaces, Merge Sectors and Split by Polygon from a script, without the
// game: each leaves the records it should, a refusal prints its message and writes nothing.

#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class QzbenchApplyMergeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The L corridor with a crate in sector 1, and a room whose floor is two squares.
        CQzlSections corridor = MakeLCorridor();
        AddCrate(corridor, 1, {1.5f, 0.5f, 0.5f});
        SaveQzeFile(m_temp / "corridor.qze", corridor, CDocumentFields{});

        CQzlSections halves = MakeTwoSquareFloor();
        SaveQzeFile(m_temp / "halves.qze", halves, CDocumentFields{});
    }

    std::string Apply(const char* in, const std::string& words, int& status)
    {
        return RunQzbench("LC_ALL=C",
                          "apply '" + (m_temp / in).string() + "' '" +
                              (m_temp / "out.qze").string() + "' " + words,
                          status);
    }

    CQzlSections Out()
    {
        return std::move(LoadLevelFile(m_temp / "out.qze", 0).m_contents.m_level);
    }

    CTempFolder m_temp{"qz_apply_merge"};
};

TEST_F(QzbenchApplyMergeTest, EachOperationLeavesItsRecords)
{
    struct CCase {
        const char* in;
        const char* words;
        std::size_t sectors, surfaces, adjoins, things;
    };
    const CCase cases[] = {
        // The L corridor: 3 sectors, 18 surfaces, 4 adjoins, the crate.
        {"corridor.qze", "merge-sectors sector=1 with=0", 2, 16, 2, 1},
        {"halves.qze", "merge-surfaces sector=0 surface=1 with=0", 1, 6, 0, 0},
        // The corridor's first floor cut to a square of side 0.4 in its middle: the square and
        // the pieces around it.
        {"corridor.qze",
         "split-by-polygon sector=0 surface=0 node=0.5,0,0.5 node=0.9,0,0.5 radius=0.2", 3, 22, 4,
         1},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.words);
        int status = -1;
        const std::string output = Apply(c.in, c.words, status);
        ASSERT_EQ(status, 0) << output;
        const CQzlSections out = Out();
        EXPECT_TRUE(LevelIsSound(out));
        EXPECT_EQ(out.m_sectors.size(), c.sectors);
        EXPECT_EQ(out.m_surfaces.size(), c.surfaces);
        EXPECT_EQ(out.m_adjoins.size(), c.adjoins);
        EXPECT_EQ(out.m_things.size(), c.things);
    }
}

TEST_F(QzbenchApplyMergeTest, RefusalsWriteNothing)
{
    struct CCase {
        const char* in;
        const char* words;
        const char* message;
    };
    const CCase cases[] = {
        {"corridor.qze", "merge-sectors sector=0 with=2", "is not joined to the current sector"},
        {"halves.qze", "merge-surfaces sector=0 surface=0 with=2", "shares no edge"},
        {"corridor.qze",
         "split-by-polygon sector=0 surface=0 node=0.5,0,0.5 node=0.5,0,0.5 radius=0.2",
         "at the same place"},
        {"corridor.qze",
         "split-by-polygon sector=0 surface=0 node=0.5,0,0.5 node=1,0,0.5 radius=50",
         "Please select a smaller radius."},
        {"corridor.qze", "split-by-polygon sector=0 surface=0 node=0.5,0,0.5 node=1,0,0.5 sides=2",
         "between 3 and 24"},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.words);
        std::filesystem::remove(m_temp / "out.qze");
        int status = -1;
        const std::string output = Apply(c.in, c.words, status);
        EXPECT_EQ(status, 2) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
        EXPECT_FALSE(std::filesystem::exists(m_temp / "out.qze"));
    }
}

}  // namespace
