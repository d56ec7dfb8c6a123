// qzbench check prints the level checker's report of a level file and whether a finding is
// fatal: without a game the cog parameters are said to be unchecked, with the synthetic game
// (GAME folder) they are checked against its scripts.

#include "SyntheticGame.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/QzbenchProcess.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class QzbenchCheckTest : public QzbenchApplyFileTest {
protected:
    QzbenchCheckTest() : QzbenchApplyFileTest("qz_bench_check") {}

    void SetUp() override
    {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
        FinishFixture(level);
        AddCrate(level, 0, {10.0f, 1.0f, 1.0f});
        level.m_cogs.push_back(std::make_unique<CQzlCog>("switch.cog"));
        level.m_cogs.back()->m_values = {"7", "-1"};
        level.m_cogScripts = {"switch.cog"};
        SaveIn(level);
        BuildSyntheticGame(m_temp / "game");
    }

    std::string Check(const std::string& game, int& status) const
    {
        return RunQzbench("", "check '" + In().string() + "'" + game, status);
    }
};

TEST_F(QzbenchCheckTest, PrintsTheReportAndTheFatalFlag)
{
    int status = -1;
    EXPECT_EQ(Check("", status),
              "Sector 0 is not connected to other sectors\n"
              "Object 0 resides in no sector, but has Sector #0 as parameter\n"
              "Cog parameters are not checked, since the game archive cannot be opened\n"
              "fatal=0\n");
    EXPECT_EQ(status, 0);

    EXPECT_EQ(Check(" '" + (m_temp / "game").string() + "'", status),
              "Sector 0 is not connected to other sectors\n"
              "Object 0 resides in no sector, but has Sector #0 as parameter\n"
              "Cog switch.cog specifies illegal surface 7\n"
              "fatal=0\n");
    EXPECT_EQ(status, 0);
}

TEST_F(QzbenchCheckTest, ACleanLevelIsNone)
{
    CQzlSections level = MakeTwoJoinedRooms();
    SaveIn(level);
    int status = -1;
    EXPECT_EQ(Check("", status), "None\nfatal=0\n");
    EXPECT_EQ(status, 0);
}

}  // namespace
