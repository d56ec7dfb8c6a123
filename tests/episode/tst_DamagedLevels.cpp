#include "SyntheticGame.h"
#include "episode/LevelChecker.h"
#include "level/LevelValidator.h"
#include "support/DamagedLevels.h"
#include "support/LevelOracle.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// The shared damaged levels start from a level the oracle and the checker find sound, and each
// entry's damage is one the validator sees.
TEST(DamagedLevels, StartSoundAndEachIsDamaged)
{
    const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(0);
    const CQzlSections sound = MakeUndamagedLevel();
    EXPECT_TRUE(LevelIsSound(sound));
    CLevelChecker checker;
    std::string text;
    EXPECT_EQ(checker.CheckLevel(sound, game->m_resources, {}, text), 0);
    EXPECT_EQ(text, "None");
    for (const CDamagedLevel& damage : DamagedLevels()) {
        SCOPED_TRACE(damage.m_name);
        EXPECT_FALSE(ValidateLevel(MakeDamagedLevel(damage)).empty());
    }
}
