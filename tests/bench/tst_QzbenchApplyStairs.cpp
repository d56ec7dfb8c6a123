// qzbench apply runs Create Stairs from a script: the flight out of a wall, undone to the level as
// opened, and a flight whose steps would not meet refused without writing.

#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/OpenedLevel.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"
#include "tools/Stairs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(QzbenchApplyStairs, BuildsTheFlightAndUndoGivesBackTheOpenedLevel)
{
    CTempFolder temp{"qz_apply_stairs"};
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {2, 2, 2});
    FinishFixture(level);
    SaveQzeFile(temp / "in.qze", level, CDocumentFields{});
    const std::string wall =
        "create-stairs sector=0 surface=" + std::to_string(BoxSurface(level, 0, kBoxXHigh)) +
        " node=2,0.5,1 node=2,1.5,1";

    int status = -1;
    std::string output =
        RunQzbenchApply(temp / "in.qze", temp / "out.qze",
                        wall + " count=4 height=0.4 depth=0.8 direction=down", status);
    ASSERT_EQ(status, 0) << output;
    const CQzlSections out = LoadLevelFile(temp / "out.qze", 0).m_contents.m_level;
    EXPECT_TRUE(LevelIsSound(out));
    ASSERT_EQ(out.m_sectors.size(), 5u);
    EXPECT_NEAR(out.m_sectors[4]->m_boundBox.min.y, -0.3f, 1e-4f);
    EXPECT_NEAR(out.m_sectors[4]->m_boundBox.max.x, 2.8f, 1e-4f);

    output = RunQzbenchApply(temp / "in.qze", temp / "out.qze", "undo " + wall, status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(ReadFileBytes(temp / "out.qze"), OpenedLevelBytes(temp / "in.qze"));

    EXPECT_TRUE(ApplyRefuses(temp / "in.qze", temp / "refused.qze", wall + " count=2 height=5",
                             "Each step must meet the step before it."));
    EXPECT_TRUE(ApplyRefuses(temp / "in.qze", temp / "refused.qze", wall + " count=0",
                             "Please enter an integer between 1 and 100."));
}

}  // namespace
