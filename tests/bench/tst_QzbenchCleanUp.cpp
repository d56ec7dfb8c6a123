// qzbench apply runs the Errors window's Clean Up from a script: a level with a thing in no
// sector, an empty sound name and a cog with a surplus value (damage the loaders open) comes out
// sound; undo gives back the level as opened; a level with nothing to repair is refused.

#include "SyntheticGame.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/QzbenchProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class QzbenchCleanUpTest : public QzbenchApplyFileTest {
protected:
    QzbenchCleanUpTest() : QzbenchApplyFileTest("qz_apply_clean_up") {}

    void SetUp() override { BuildSyntheticGame(m_temp / "game"); }

    std::string Words() const { return "clean-up 'game=" + (m_temp / "game").string() + "'"; }
};

TEST_F(QzbenchCleanUpTest, RepairsTheLevelAndUndoes)
{
    CQzlSections level = MakeTwoJoinedRooms();
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    AddCrate(level, 0, {7.0f, 0.5f, 0.5f});  // in no sector
    AddCrate(level, 0, {1.5f, 0.5f, 0.5f});  // in sector 1
    level.m_sounds = {"", "drip.wav"};
    level.m_sectors[0]->m_sound = 0;
    level.m_sectors[0]->m_soundVolume = 0.5f;
    level.m_sectors[1]->m_sound = 1;
    // Four things, then a surplus value.
    AddCog(level, "00_door.cog", {"0", "1", "2", "-1", "9"});
    FinishFixture(level);
    SaveIn(level);

    const CQzlSections out = Applied(Words());
    ASSERT_EQ(out.m_things.size(), 2u);
    EXPECT_EQ(out.m_things[1]->m_sector, 1);
    EXPECT_EQ(out.m_sounds, (std::vector<std::string>{"drip.wav"}));
    EXPECT_EQ(out.m_sectors[0]->m_sound, -1);
    EXPECT_EQ(out.m_sectors[0]->m_soundVolume, 0.0f);
    EXPECT_EQ(out.m_sectors[1]->m_sound, 0);
    // The deleted thing leaves the cog, the one behind it follows; the surplus is cut.
    EXPECT_EQ(out.m_cogs[0]->m_values, (std::vector<std::string>{"0", "-1", "1", "-1"}));
    ExpectBuildsAndUndoes(Words(), 2);
}

TEST_F(QzbenchCleanUpTest, ASoundLevelIsRefused)
{
    CQzlSections level = MakeTwoJoinedRooms();
    SaveIn(level);
    EXPECT_TRUE(ApplyRefuses(In(), Out(), Words(), "clean-up changes nothing."));
}

}  // namespace
