// The Sounds dialog's OK on the level: the new sound list, upper-cased, with every sector
// following its sound by name, -1 when its sound is gone; the count of sounds sectors use; and
// the colour map shown first for the current sector.

#include "level/SectorLists.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

// Four boxes on the sounds 0, 2, none and 1 of "DRIP.WAV", "WIND.WAV", "HUM.WAV".
CQzlSections MakeSoundLevel()
{
    CQzlSections level = MakeEmptyLevel();
    for (int s = 0; s < 4; ++s)
        AddBoxSector(level, {2.0f * static_cast<float>(s), 0, 0},
                     {2.0f * static_cast<float>(s) + 1, 1, 1});
    FinishFixture(level);
    level.m_sounds = {"DRIP.WAV", "WIND.WAV", "HUM.WAV"};
    const int sounds[] = {0, 2, -1, 1};
    for (std::size_t s = 0; s < 4; ++s)
        level.m_sectors[s]->m_sound = sounds[s];
    return level;
}

std::vector<int> SectorSounds(const CQzlSections& level)
{
    std::vector<int> sounds;
    for (const auto& sector : level.m_sectors)
        sounds.push_back(sector->m_sound);
    return sounds;
}

TEST(SoundList, UsedIsOneMoreThanTheHighestIndex)
{
    CQzlSections level = MakeSoundLevel();
    EXPECT_EQ(SoundsUsed(level), 3);
    for (auto& sector : level.m_sectors)
        sector->m_sound = -1;
    EXPECT_EQ(SoundsUsed(level), 0);
    EXPECT_EQ(SoundsUsed(MakeEmptyLevel()), -1);
}

TEST(SoundList, TheLargestIndexADamagedLevelGivesNeitherOverflowsNorKeepsItsSound)
{
    // The count stops at the largest int, beyond any list: Delete stays off as for any index
    // past the list, and OK takes the sound away.
    CQzlSections level = MakeSoundLevel();
    level.m_sectors[2]->m_sound = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(SoundsUsed(level), std::numeric_limits<int>::max());
    EXPECT_TRUE(SetSoundList(level, std::vector<std::string>{"drip.wav", "wind.wav", "hum.wav"}));
    EXPECT_EQ(SectorSounds(level), (std::vector<int>{0, 2, -1, 1}));
}

TEST(SoundList, TheColourMapShownFirstIsTheCurrentSectorsWhenItNamesAnEntry)
{
    CQzlSections level = MakeSoundLevel();
    level.m_colormaps = {"DFLT.CMP", "WARM.CMP"};
    level.m_sectors[0]->m_colormap = 1;
    level.m_sectors[1]->m_colormap = 2;
    level.m_sectors[2]->m_colormap = -1;
    level.m_sectors[3]->m_colormap = std::numeric_limits<std::int32_t>::max();
    struct Case {
        int sector;
        int shown;
    };
    const Case cases[] = {{0, 1}, {1, 0}, {2, 0}, {3, 0}, {-1, 0}, {4, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(SectorColorMapOrFirst(level, c.sector), c.shown) << c.sector;
    level.m_sectors[0].reset();  // a damaged level's missing sector
    EXPECT_EQ(SectorColorMapOrFirst(level, 0), 0);
}

TEST(SoundList, OkRenumbersTheSectorsByName)
{
    struct Case {
        const char* what;
        std::vector<std::string> names;
        std::vector<std::string> list;  // afterwards
        std::vector<int> sounds;
    };
    const Case cases[] = {
        {"a used sound deleted",
         {"drip.wav", "wind.wav"},
         {"DRIP.WAV", "WIND.WAV"},
         {0, -1, -1, 1}},
        {"deleted and added",
         {"hum.wav", "jump.wav", "drip.wav"},
         {"HUM.WAV", "JUMP.WAV", "DRIP.WAV"},
         {2, 0, -1, -1}},
        {"reordered",
         {"wind.wav", "hum.wav", "drip.wav"},
         {"WIND.WAV", "HUM.WAV", "DRIP.WAV"},
         {2, 1, -1, 0}},
        {"all gone", {}, {}, {-1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CFixtureEngine fixture(MakeSoundLevel());
        EXPECT_TRUE(UndoGivesBackExactBytes(
            fixture.m_view, [&] { return SetSoundList(fixture.m_level, c.names); }));
        EXPECT_EQ(fixture.m_level.m_sounds, c.list);
        EXPECT_EQ(SectorSounds(fixture.m_level), c.sounds);
        EXPECT_TRUE(LevelIsSound(fixture.m_level));
    }
}

TEST(SoundList, IndexBeyondTheListLosesItsSoundAndNoChangeIsNoEdit)
{
    CQzlSections level = MakeSoundLevel();
    const std::vector<std::string> same = {"drip.wav", "wind.wav", "hum.wav"};
    EXPECT_FALSE(SetSoundList(level, same));  // the list as it stands, in any case
    EXPECT_EQ(SectorSounds(level), (std::vector<int>{0, 2, -1, 1}));
    level.m_sectors[2]->m_sound = 9;
    EXPECT_TRUE(SetSoundList(level, same));
    EXPECT_EQ(SectorSounds(level), (std::vector<int>{0, 2, -1, 1}));
}

TEST(SoundList, ADamagedIndexOrAMissingSectorNeitherCountsNorKeepsASound)
{
    struct Case {
        const char* what;
        std::int32_t damaged;  // sector 2's sound, or a missing sector 2 for 0
        bool missing;
        int used;
        std::vector<int> after;  // OK with the list reordered; -99 for the missing sector
    };
    const Case cases[] = {
        {"negative", -5, false, 3, {2, 0, -5, 1}},
        {"the list's size", 3, false, 4, {2, 0, -1, 1}},
        {"missing sector", 0, true, 3, {2, 0, -99, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQzlSections level = MakeSoundLevel();
        if (c.missing)
            level.m_sectors[2].reset();
        else
            level.m_sectors[2]->m_sound = c.damaged;
        EXPECT_EQ(SoundsUsed(level), c.used);
        EXPECT_TRUE(
            SetSoundList(level, std::vector<std::string>{"hum.wav", "wind.wav", "drip.wav"}));
        std::vector<int> sounds;
        for (const auto& sector : level.m_sectors)
            sounds.push_back(sector ? sector->m_sound : -99);
        EXPECT_EQ(sounds, c.after);
    }
}

}  // namespace
