// Sounds: WAV chunk walking, volume conversion, the sound wrapper against a recording device, and
// the CD player's two paths (no CD; WAV tracks in the game folder).

#include "ByteBuilder.h"
#include "SyntheticGame.h"
#include "engine/CdAudio.h"
#include "engine/Dsound.h"
#include "engine/ParseWave.h"
#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "resources/MemoryGameArchive.h"
#include "support/RecordingSoundDevice.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

// --- WAV images built chunk by chunk ---

// A chunk: identifier, the size it claims (its payload's size unless given) and its payload,
// followed by a pad byte when the payload's size is odd (unless pad is false).
Bytes Chunk(const std::string& id, const Bytes& payload, std::optional<std::uint32_t> claimed = {},
            bool pad = true)
{
    ByteBuilder b;
    b.Text(id).U32(claimed.value_or(static_cast<std::uint32_t>(payload.size())));
    b.b.insert(b.b.end(), payload.begin(), payload.end());
    if (pad && payload.size() % 2 == 1)
        b.U8(0);
    return b.b;
}

// The 16 bytes of a PCM "fmt " chunk, cut to size bytes.
Bytes Fmt(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::size_t size = 16)
{
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    ByteBuilder b;
    b.U16(1).U16(channels).U32(rate).U32(rate * align).U16(align).U16(bits);
    b.b.resize(size);
    return b.b;
}

// "RIFF", the RIFF size (the true one unless given), "WAVE", then the chunks.
Bytes Riff(const std::vector<Bytes>& chunks, std::optional<std::uint32_t> riffSize = {})
{
    Bytes body;
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    ByteBuilder b;
    b.Text("RIFF").U32(riffSize.value_or(static_cast<std::uint32_t>(4 + body.size()))).Text("WAVE");
    b.b.insert(b.b.end(), body.begin(), body.end());
    return b.b;
}

const Bytes kSamples = {0x80, 0x90, 0xA0, 0x90, 0x80};  // 5 bytes of 8-bit mono

// A small good WAV: 8-bit mono, 11025 Hz, the five samples above.
Bytes GoodWav(const Bytes& samples = kSamples)
{
    return Riff({Chunk("fmt ", Fmt(1, 11025, 8)), Chunk("data", samples)});
}

}  // namespace

TEST(ParseWave, WalksTheChunks)
{
    const CWaveFormat mono8{1, 1, 11025, 11025, 1, 8};
    const Bytes stereo = {1, 2, 3, 4, 5, 6, 7, 8};
    const struct {
        const char* what;
        Bytes wav;
        CWaveFormat format;
        Bytes data;
    } cases[] = {
        {"plain", GoodWav(), mono8, kSamples},
        {"extra chunks first",
         Riff({Chunk("LIST", Bytes(10, 'x')), Chunk("fmt ", Fmt(1, 11025, 8)),
               Chunk("fact", Bytes(4, 0)), Chunk("data", kSamples)}),
         mono8, kSamples},
        {"odd chunk, then its pad byte",
         Riff({Chunk("cue ", Bytes(3, 0xEE)), Chunk("fmt ", Fmt(1, 11025, 8)),
               Chunk("data", kSamples)}),
         mono8, kSamples},
        {"data before fmt", Riff({Chunk("data", kSamples), Chunk("fmt ", Fmt(1, 11025, 8))}), mono8,
         kSamples},
        {"16-bit stereo",
         Riff({Chunk("fmt ", Fmt(2, 22050, 16)), Chunk("data", stereo)}),
         {1, 2, 22050, 88200, 4, 16},
         stereo},
        {"fmt of 18 bytes", Riff({Chunk("fmt ", Fmt(1, 11025, 8, 18)), Chunk("data", kSamples)}),
         mono8, kSamples},
        {"fmt of 14 bytes has no bits",
         Riff({Chunk("fmt ", Fmt(1, 11025, 8, 14)), Chunk("data", kSamples)}),
         {1, 1, 11025, 11025, 1, 0},
         kSamples},
        {"the first fmt and data count",
         Riff({Chunk("fmt ", Fmt(1, 11025, 8)), Chunk("fmt ", Fmt(2, 8000, 16)),
               Chunk("data", kSamples), Chunk("data", Bytes{9, 9})}),
         mono8, kSamples},
        {"empty data", Riff({Chunk("fmt ", Fmt(1, 11025, 8)), Chunk("data", {})}), mono8, {}},
        {"RIFF size larger than the file",
         Riff({Chunk("fmt ", Fmt(1, 11025, 8)), Chunk("data", kSamples)}, 0xFFFFFFF0u), mono8,
         kSamples},
    };
    for (const auto& c : cases) {
        CWaveFormat format;
        std::span<const std::uint8_t> data;
        std::string why;
        ASSERT_EQ(ParseWave(c.wav, format, data, &why), 1) << c.what << ": " << why;
        EXPECT_EQ(format, c.format) << c.what;
        EXPECT_EQ(Bytes(data.begin(), data.end()), c.data) << c.what;
    }
}

TEST(ParseWave, RefusesBrokenFiles)
{
    const Bytes fmt = Chunk("fmt ", Fmt(1, 11025, 8));
    Bytes cutHeader = GoodWav();
    cutHeader.resize(12 + 8 + 16 + 4);  // "data" without its size
    Bytes notRiff = GoodWav();
    notRiff[0] = 'X';
    Bytes notWave = GoodWav();
    notWave[11] = 'X';
    const struct {
        const char* what;
        Bytes wav;
    } cases[] = {
        {"fmt of 13 bytes", Riff({Chunk("fmt ", Fmt(1, 11025, 8, 13)), Chunk("data", kSamples)})},
        {"no fmt", Riff({Chunk("data", kSamples)})},
        {"no data", Riff({fmt, Chunk("LIST", Bytes(4, 0))})},
        {"no chunks", Riff({})},
        {"RIFF size ends before data", Riff({fmt, Chunk("data", kSamples)}, 4 + 24)},
        {"RIFF size 0", Riff({fmt, Chunk("data", kSamples)}, 0)},
        {"data larger than the file", Riff({fmt, Chunk("data", kSamples, 0x7FFFFFFF)})},
        {"data one byte larger than the file", Riff({fmt, Chunk("data", kSamples, 6, false)})},
        {"fmt larger than the file", Riff({Chunk("fmt ", Fmt(1, 11025, 8), 0xFFFFFFFF)})},
        {"a chunk that skips past the end",
         Riff({Chunk("LIST", Bytes(4, 0), 0xFFFFFFFE), fmt, Chunk("data", kSamples)})},
        {"cut inside a chunk header", cutHeader},
        {"not RIFF", notRiff},
        {"not WAVE", notWave},
        {"shorter than a header", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}},
        {"empty", Bytes{}},
    };
    for (const auto& c : cases) {
        CWaveFormat format;
        std::span<const std::uint8_t> data;
        std::string why;
        EXPECT_EQ(ParseWave(c.wav, format, data, &why), 0) << c.what;
        EXPECT_FALSE(why.empty()) << c.what;
    }
}

TEST(ParseWave, SaysWhy)
{
    const struct {
        Bytes wav;
        const char* why;
    } cases[] = {
        {Riff({Chunk("fmt ", Fmt(1, 11025, 8, 13)), Chunk("data", kSamples)}),
         "the \"fmt \" chunk is 13 bytes long, shorter than 14"},
        {Riff({Chunk("fmt ", Fmt(1, 11025, 8)), Chunk("data", kSamples, 1000)}),
         "the \"data\" chunk claims 1000 bytes, 6 are present"},
        {Riff({Chunk("data", kSamples)}), "no \"fmt \" chunk"},
        {Riff({Chunk("fmt ", Fmt(1, 11025, 8))}), "no \"data\" chunk"},
    };
    for (const auto& c : cases) {
        CWaveFormat format;
        std::span<const std::uint8_t> data;
        std::string why;
        EXPECT_EQ(ParseWave(c.wav, format, data, &why), 0);
        EXPECT_EQ(why, c.why);
    }
}

TEST(Sound, VolumeInHundredthsOfADecibel)
{
    const struct {
        float volume;
        int expected;
    } cases[] = {
        {0.5f, -602},    {1.0f, 0},      {2.0f, 0},
        {0.01f, -4000},  {0.0f, -10000}, {-1.0f, -10000},
        {1e-6f, -10000}, {0.99f, -8},    {std::numeric_limits<float>::quiet_NaN(), -10000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VolumeToHundredthsDb(c.volume), c.expected) << c.volume;
}

namespace {

// A game whose sound archive holds door.wav, hum.wav and bad.wav (no WAV), a level whose own
// files hold local.wav and door.wav (different bytes), and a recording device.
class SoundFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_archive.Add("sound\\door.wav", GoodWav({1, 2, 3, 4}));
        m_archive.Add("sound\\hum.wav", GoodWav({5, 6}));
        m_archive.Add("sound\\bad.wav", Bytes(40, 'x'));
        // Offsets are known once every file is in.
        for (const CGameArchiveEntry& entry : m_archive.GetEntries())
            AddSoundEntry(std::make_unique<CTreeObject>(entry.m_path,
                                                        static_cast<std::int32_t>(entry.m_offset),
                                                        static_cast<std::int32_t>(entry.m_size)));
        m_game.m_soundArchive = &m_archive;
        AddLevelFile("local.wav", GoodWav({7, 8, 9}));
        AddLevelFile("door.wav", GoodWav({0xDD}));
    }

    void AddSoundEntry(std::unique_ptr<CTreeObject> object)
    {
        int at = 0;
        m_game.m_treeSounds.Find(object->m_name, at);
        m_game.m_treeSounds.m_entries.insert(m_game.m_treeSounds.m_entries.begin() + at,
                                             std::move(object));
    }

    void AddLevelFile(const std::string& name, const Bytes& bytes)
    {
        auto object = std::make_unique<CTreeObject>(name, bytes, 0);
        int at = 0;
        m_level.m_levelFiles.Find(name, at);
        m_level.m_levelFiles.m_entries.insert(m_level.m_levelFiles.m_entries.begin() + at,
                                              std::move(object));
    }

    std::vector<std::string> Names(const CDsound& sound) const
    {
        std::vector<std::string> names;
        for (const auto& entry : sound.GetSounds())
            names.push_back(entry->m_name);
        return names;
    }

    CMemoryGameArchive m_archive;
    CGameResources m_game;
    CQzlSections m_level;
    CRecordingSoundDevice m_device;
};

}  // namespace

TEST_F(SoundFixture, LoadsFromTheGameThenFromTheLevel)
{
    CDsound sound(&m_device, &m_game, &m_level);
    struct Case {
        const char* name;
        int index;
        Bytes data;  // samples of the buffer made
    };
    const Case cases[] = {
        {"door.wav", 0, {1, 2, 3, 4}},  // the game's door.wav, not the level's
        {"local.wav", 1, {7, 8, 9}},    // only in the level's files
        {"HUM.WAV", 1, {5, 6}},         // goes in before local.wav
    };
    for (const Case& c : cases) {
        const std::size_t made = m_device.m_buffers.size();
        EXPECT_EQ(sound.LoadSound(c.name), c.index) << c.name;
        ASSERT_EQ(m_device.m_buffers.size(), made + 1) << c.name;
        EXPECT_EQ(m_device.m_buffers.back().m_data, c.data) << c.name;
        EXPECT_EQ(m_device.m_buffers.back().m_format, (CWaveFormat{1, 1, 11025, 11025, 1, 8}));
    }
    EXPECT_EQ(Names(sound), (std::vector<std::string>{"door.wav", "hum.wav", "local.wav"}));

    // Again, in any letter case: the same buffer.
    EXPECT_EQ(sound.LoadSound("Door.Wav"), 0);
    EXPECT_EQ(sound.LoadSound("LOCAL.wav"), 2);
    EXPECT_EQ(m_device.m_buffers.size(), 3u);
    int at = -1;
    EXPECT_EQ(sound.FindSound("HUM.wav", at), 1);
    EXPECT_EQ(at, 1);
    EXPECT_EQ(sound.FindSound("gate.wav", at), 0);
    EXPECT_EQ(at, 1);
}

TEST_F(SoundFixture, WhatCannotBeLoadedIsNotPlayed)
{
    // An index entry whose bytes lie outside the sound archive.
    AddSoundEntry(std::make_unique<CTreeObject>("sound\\outside.wav", 1 << 30, 100));
    AddSoundEntry(std::make_unique<CTreeObject>("sound\\negative.wav", 0, -5));
    AddLevelFile("nodata.wav", {});
    m_level.m_levelFiles.m_entries.push_back(
        std::make_unique<CTreeObject>("sound\\zzzz_pathonly.wav", 0, 10));

    CDsound sound(&m_device, &m_game, &m_level);
    for (const char* name : {"missing.wav", "bad.wav", "outside.wav", "negative.wav", "nodata.wav",
                             "zzzz_pathonly.wav", ""}) {
        EXPECT_EQ(sound.LoadSound(name), -1) << name;
        sound.Play(name, {}, 1.0f, 0);
    }
    EXPECT_TRUE(sound.GetSounds().empty());
    EXPECT_TRUE(m_device.m_log.empty());

    // A device that refuses the samples.
    m_device.m_refuseBuffers = true;
    EXPECT_EQ(sound.LoadSound("door.wav"), -1);
    EXPECT_TRUE(sound.GetSounds().empty());
}

TEST_F(SoundFixture, WithoutADeviceEverythingIsSilent)
{
    m_device.m_open = false;
    CDsound closed(&m_device, &m_game, &m_level);
    CDsound none(nullptr, &m_game, &m_level);
    for (CDsound* sound : {&closed, &none}) {
        EXPECT_EQ(sound->LoadSound("door.wav"), -1);
        sound->Play("door.wav", {1.0f, 2.0f, 3.0f}, 1.0f, kPlayLooping);
        sound->SetParams(0, {}, 1.0f);
        sound->SetPosition("door.wav", {});
        sound->Stop("door.wav");
        sound->PlayAt(0, 0);
        sound->ReleaseAll();
        EXPECT_TRUE(sound->GetSounds().empty());
    }
    EXPECT_TRUE(m_device.m_log.empty());
}

TEST_F(SoundFixture, WithoutGameOrLevel)
{
    CDsound gameOnly(&m_device, &m_game, nullptr);
    EXPECT_EQ(gameOnly.LoadSound("local.wav"), -1);
    EXPECT_EQ(gameOnly.LoadSound("hum.wav"), 0);
    CDsound levelOnly(&m_device, nullptr, &m_level);
    EXPECT_EQ(levelOnly.LoadSound("hum.wav"), -1);
    EXPECT_EQ(levelOnly.LoadSound("door.wav"), 0);
    EXPECT_EQ(m_device.m_buffers.back().m_data, Bytes{0xDD});
    m_game.m_soundArchive = nullptr;  // indexed, but no archive to read it from
    CDsound noArchive(&m_device, &m_game, &m_level);
    EXPECT_EQ(noArchive.LoadSound("hum.wav"), -1);
}

TEST_F(SoundFixture, PlaySetsVolumePositionDistancesAndPlaysFromTheStart)
{
    CDsound sound(&m_device, &m_game, &m_level);
    sound.Play("door.wav", {1.0f, 2.0f, 3.0f}, 0.5f, 0);
    sound.Play("DOOR.WAV", {4.0f, 5.0f, 6.0f}, 3.0f, kPlayLooping);
    sound.Play("hum.wav", {}, 0.0f, 0);
    sound.Play("missing.wav", {}, 1.0f, 0);
    const std::vector<std::string> expected = {
        "create #0 tag=1 ch=1 rate=11025 bits=8 bytes=4",
        "#0 volume -602",
        "#0 position 1 2 3",
        "#0 distances 1 5",
        "#0 rewind",
        "#0 play once",
        "#0 volume 0",
        "#0 position 4 5 6",
        "#0 distances 1 5",
        "#0 rewind",
        "#0 play loop",
        "create #1 tag=1 ch=1 rate=11025 bits=8 bytes=2",
        "#1 volume -10000",
        "#1 position 0 0 0",
        "#1 distances 1 5",
        "#1 rewind",
        "#1 play once",
    };
    EXPECT_EQ(m_device.m_log, expected);
}

TEST_F(SoundFixture, PlayAtSetParamsSetPositionAndStop)
{
    CDsound sound(&m_device, &m_game, &m_level);
    ASSERT_EQ(sound.LoadSound("hum.wav"), 0);
    m_device.m_log.clear();
    struct Step {
        std::function<void()> call;
        std::vector<std::string> log;
    };
    const Step steps[] = {
        {[&] { sound.PlayAt(0, kPlayLooping); }, {"#0 mode disabled", "#0 play loop"}},
        {[&] { sound.PlayAt(0, 0); }, {"#0 mode normal", "#0 play once"}},
        {[&] { sound.PlayAt(-1, 0); }, {}},
        {[&] { sound.PlayAt(1, 0); }, {}},
        {[&] {
             sound.SetParams(0, {1.0f, 0.0f, 2.0f}, 0.01f);
         },
         {"#0 volume -4000", "#0 position 1 0 2", "#0 distances 1 5"}},
        {[&] { sound.SetParams(5, {}, 1.0f); }, {}},
        {[&] { sound.SetParams(-1, {}, 1.0f); }, {}},
        {[&] {
             sound.SetPosition("Hum.wav", {7.0f, 8.0f, 9.0f});
         },
         {"#0 position 7 8 9"}},
        {[&] { sound.SetPosition("door.wav", {}); }, {}},  // not loaded: not loaded now either
        {[&] { sound.Stop("HUM.wav"); }, {"#0 stop"}},
        {[&] { sound.Stop("hum.wav"); }, {}},  // not playing
        {[&] { sound.Stop("door.wav"); }, {}},
    };
    for (const Step& step : steps) {
        m_device.m_log.clear();
        step.call();
        EXPECT_EQ(m_device.m_log, step.log) << (step.log.empty() ? "" : step.log.front());
    }
    EXPECT_EQ(sound.GetSounds().size(), 1u);
}

TEST_F(SoundFixture, ReleaseAllStopsWhatPlays)
{
    {
        CDsound sound(&m_device, &m_game, &m_level);
        sound.Play("door.wav", {}, 1.0f, kPlayLooping);
        sound.Play("hum.wav", {}, 1.0f, 0);
        sound.LoadSound("local.wav");
        m_device.FinishPlaying();  // hum.wav has run out
        m_device.m_log.clear();
        sound.ReleaseAll();
        EXPECT_EQ(m_device.m_log,
                  (std::vector<std::string>{"#0 stop", "#0 release", "#1 release", "#2 release"}));
        EXPECT_TRUE(sound.GetSounds().empty());
        sound.Play("door.wav", {}, 1.0f, 0);  // loads again
        EXPECT_EQ(m_device.m_buffers.size(), 4u);
        m_device.m_log.clear();
    }
    // The destructor releases everything.
    EXPECT_EQ(m_device.m_log, (std::vector<std::string>{"#3 stop", "#3 release"}));
}

TEST(SoundSyntheticGame, EverySoundOfTheGameLoads)
{
    for (int product = 0; product < 2; ++product) {
        const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(product);
        ASSERT_FALSE(game->m_resources.m_treeSounds.m_entries.empty());
        CRecordingSoundDevice device;
        CDsound sound(&device, &game->m_resources, nullptr);
        for (const auto& entry : game->m_resources.m_treeSounds.m_entries)
            EXPECT_GE(sound.LoadSound(entry->m_name), 0) << entry->m_name;
        EXPECT_EQ(sound.GetSounds().size(), game->m_resources.m_treeSounds.m_entries.size());
    }
}

namespace {

// A game folder of its own in the temporary folder, removed afterwards.
class CdAudioFixture : public TempFolderTest {
protected:
    void Write(const std::string& relative, const Bytes& bytes)
    {
        const std::filesystem::path path = m_dir / relative;
        std::filesystem::create_directories(path.parent_path());
        WriteFileAtomic(path, bytes);
    }

    // seconds of 8-bit mono at 100 samples per second, each sample byte = tag.
    static Bytes Track(int seconds, std::uint8_t tag)
    {
        return Riff({Chunk("fmt ", Fmt(1, 100, 8)),
                     Chunk("data", Bytes(static_cast<std::size_t>(seconds) * 100, tag))});
    }

    CRecordingSoundDevice m_device;
};

}  // namespace

TEST_F(CdAudioFixture, NoCdWhenTheGameHasNoTracks)
{
    Write("music/readme.txt", {'x'});
    m_device.m_open = true;
    SoundDevice* closedDevice = nullptr;
    CRecordingSoundDevice silent;
    silent.m_open = false;
    struct Case {
        const char* what;
        SoundDevice* device;
        std::filesystem::path folder;
    };
    const Case cases[] = {
        {"no music files", &m_device, m_dir},
        {"no such folder", &m_device, m_dir / "nowhere"},
        {"no folder chosen", &m_device, {}},
        {"no sound device", closedDevice, m_dir},
    };
    for (const Case& c : cases) {
        CCdAudio cd(c.device, c.folder);
        EXPECT_EQ(cd.Open(), 0) << c.what;
        EXPECT_EQ(cd.GetTrackCount(), 0) << c.what;
        EXPECT_NE(cd.PlayTrack(1), 0) << c.what;
        EXPECT_FALSE(cd.IsPlaying()) << c.what;
        cd.Close();
        cd.Close();
    }
    // Tracks there, but the device plays nothing.
    Write("music/track01.wav", Track(1, 1));
    CCdAudio cd(&silent, m_dir);
    EXPECT_EQ(cd.Open(), 0);
    EXPECT_NE(cd.PlayTrack(1), 0);
    EXPECT_TRUE(m_device.m_log.empty());
    EXPECT_TRUE(silent.m_log.empty());
}

TEST_F(CdAudioFixture, PlaysWavTracksOfTheGameFolder)
{
    Write("music/track02.wav", Track(3, 2));
    Write("Music/TRACK03.WAV", Track(65, 3));    // letter case does not matter
    Write("music/track05.wav", Bytes(30, 'x'));  // no WAV
    CCdAudio cd(&m_device, m_dir);
    EXPECT_EQ(cd.Open(), 5);
    const int lengths[] = {0, 0, 3, 65, 0, 0, 0};
    for (int track = 0; track <= 6; ++track)
        EXPECT_EQ(cd.GetTrackLength(track), lengths[track]) << track;

    EXPECT_EQ(cd.PlayTrack(3), 0);
    EXPECT_TRUE(cd.IsPlaying());
    EXPECT_EQ(m_device.m_buffers.back().m_data, Bytes(6500, 3));
    EXPECT_EQ(m_device.m_log,
              (std::vector<std::string>{"create #0 tag=1 ch=1 rate=100 bits=8 bytes=6500",
                                        "#0 mode disabled", "#0 play once"}));
    // Another track replaces it.
    m_device.m_log.clear();
    EXPECT_EQ(cd.PlayTrack(2), 0);
    EXPECT_EQ(m_device.m_log[0], "#0 stop");
    EXPECT_EQ(m_device.m_log[1], "#0 release");
    EXPECT_EQ(m_device.m_buffers.back().m_data, Bytes(300, 2));
    // Tracks that cannot play stop the one that played.
    for (int track : {1, 4, 5, 0, -1, 101}) {
        EXPECT_EQ(cd.PlayTrack(2), 0);
        EXPECT_NE(cd.PlayTrack(track), 0) << track;
        EXPECT_FALSE(cd.IsPlaying()) << track;
    }
    EXPECT_EQ(cd.PlayTrack(2), 0);
    m_device.m_log.clear();
    cd.Close();
    EXPECT_FALSE(cd.IsPlaying());
    EXPECT_EQ(m_device.m_log, (std::vector<std::string>{"#8 stop", "#8 release"}));
    cd.Close();
    EXPECT_EQ(m_device.m_log.size(), 2u);
}

TEST_F(CdAudioFixture, AtMostAHundredTracks)
{
    Write("music/track100.wav", Track(1, 1));
    Write("music/track120.wav", Track(1, 1));
    CCdAudio cd(&m_device, m_dir);
    EXPECT_EQ(cd.Open(), 100);
    EXPECT_EQ(cd.GetTrackLength(100), 1);
    EXPECT_NE(cd.PlayTrack(120), 0);
    EXPECT_EQ(cd.PlayTrack(100), 0);
}

TEST_F(CdAudioFixture, TheDestructorStopsTheTrack)
{
    Write("music/track01.wav", Track(1, 1));
    {
        CCdAudio cd(&m_device, m_dir);
        EXPECT_EQ(cd.PlayTrack(1), 0);  // without Open, as a disc in the drive would
        m_device.m_log.clear();
    }
    EXPECT_EQ(m_device.m_log, (std::vector<std::string>{"#0 stop", "#0 release"}));
}
