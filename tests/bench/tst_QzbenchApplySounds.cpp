// qzbench apply runs the Sounds dialog's OK (set-sounds) from a script: the new sound list with
// every sector following its sound by name, or going without one when its sound is left out;
// undo gives back the level as opened; a list that changes nothing is refused.

#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/QzbenchProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Three boxes on the sounds 1, none and 0 of "DRIP.WAV", "WIND.WAV".
class QzbenchApplySoundsTest : public QzbenchApplyFileTest {
protected:
    QzbenchApplySoundsTest() : QzbenchApplyFileTest("qz_apply_sounds") {}

    void SetUp() override
    {
        CQzlSections level = MakeEmptyLevel();
        for (int s = 0; s < 3; ++s)
            AddBoxSector(level, {2.0f * static_cast<float>(s), 0, 0},
                         {2.0f * static_cast<float>(s) + 1, 1, 1});
        FinishFixture(level);
        level.m_sounds = {"DRIP.WAV", "WIND.WAV"};
        level.m_sectors[0]->m_sound = 1;
        level.m_sectors[1]->m_sound = -1;
        level.m_sectors[2]->m_sound = 0;
        SaveIn(level);
    }

    static std::vector<int> Sounds(const CQzlSections& level)
    {
        std::vector<int> sounds;
        for (const auto& sector : level.m_sectors)
            sounds.push_back(sector->m_sound);
        return sounds;
    }
};

TEST_F(QzbenchApplySoundsTest, SetSoundsRenumbersTheSectorsByName)
{
    struct Case {
        const char* words;
        std::vector<std::string> list;
        std::vector<int> sounds;
    };
    const Case cases[] = {
        {"set-sounds names=hum.wav,wind.wav,drip.wav",
         {"HUM.WAV", "WIND.WAV", "DRIP.WAV"},
         {1, -1, 2}},
        {"set-sounds names=wind.wav", {"WIND.WAV"}, {0, -1, -1}},
        {"set-sounds names=", {}, {-1, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        const CQzlSections out = Applied(c.words);
        EXPECT_EQ(out.m_sounds, c.list);
        EXPECT_EQ(Sounds(out), c.sounds);
        ExpectBuildsAndUndoes(c.words, 3);
    }
    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze", "set-sounds names=drip.wav,wind.wav",
                             "set-sounds changes nothing."));
    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze", "set-sounds names=,wind.wav",
                             "set-sounds takes names=A,B,... without an empty name."));
}

}  // namespace
