// The OpenAL device on OpenAL Soft's null output (the test runs with ALSOFT_DRIVERS=null), and
// the silent device it falls back to.

#include "engine/Dsound.h"
#include "engine/audio/OpenAlSoundDevice.h"
#include "engine/audio/OpenSoundDevice.h"
#include "level/QzlSections.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::uint32_t kRate = 11025;

CWaveFormat Pcm(std::uint16_t channels, std::uint16_t bits)
{
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    return {kWaveFormatPcm, channels, kRate, kRate * align, align, bits};
}

// frames of a 16-bit mono tone.
std::vector<std::uint8_t> Tone(int frames)
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<std::int16_t>(8000.0 * std::sin(i * 0.25));
        const auto u = static_cast<std::uint16_t>(v);
        bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return bytes;
}

// A whole WAV file of a 16-bit mono tone.
std::vector<std::uint8_t> ToneWav(int frames)
{
    const std::vector<std::uint8_t> samples = Tone(frames);
    std::vector<std::uint8_t> w;
    const auto text = [&w](const char* s) { w.insert(w.end(), s, s + 4); };
    const auto u32 = [&w](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const auto u16 = [&w](std::uint16_t v) {
        w.push_back(static_cast<std::uint8_t>(v & 0xFF));
        w.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    text("RIFF");
    u32(static_cast<std::uint32_t>(4 + 24 + 8 + samples.size()));
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(kRate);
    u32(kRate * 2);
    u16(2);
    u16(16);
    text("data");
    u32(static_cast<std::uint32_t>(samples.size()));
    w.insert(w.end(), samples.begin(), samples.end());
    return w;
}

bool WaitUntilStopped(const SoundBuffer& buffer)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (buffer.IsPlaying()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace

TEST(OpenAlSoundDevice, OpensAContextWithClampedLinearDistances)
{
    const std::unique_ptr<COpenAlSoundDevice> device = COpenAlSoundDevice::Open();
    ASSERT_TRUE(device) << "no OpenAL device opened; is ALSOFT_DRIVERS=null set?";
    EXPECT_TRUE(device->IsOpen());
    EXPECT_NE(alcGetCurrentContext(), nullptr);
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_LINEAR_DISTANCE_CLAMPED);
    device->SetListener({1.0f, 2.0f, 3.0f}, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f});
    ALfloat listener[3] = {};
    alGetListenerfv(AL_POSITION, listener);
    EXPECT_EQ(listener[0], 1.0f);
    EXPECT_EQ(listener[1], 2.0f);
    EXPECT_EQ(listener[2], -3.0f);  // left-handed engine, right-handed OpenAL
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST(OpenAlSoundDevice, ABufferPlaysStopsAndGoesOn)
{
    const std::unique_ptr<COpenAlSoundDevice> device = COpenAlSoundDevice::Open();
    ASSERT_TRUE(device);
    const std::vector<std::uint8_t> samples = Tone(static_cast<int>(kRate));
    std::unique_ptr<SoundBuffer> buffer = device->CreateBuffer(Pcm(1, 16), samples);
    ASSERT_TRUE(buffer);
    EXPECT_FALSE(buffer->IsPlaying());

    buffer->SetVolume(-602);
    buffer->SetPosition({2.0f, 0.0f, 1.0f});
    buffer->SetDistances(1.0f, 5.0f);
    buffer->Play(true);
    EXPECT_TRUE(buffer->IsPlaying());
    buffer->Play(true);  // already playing: goes on
    EXPECT_TRUE(buffer->IsPlaying());
    buffer->Stop();
    EXPECT_FALSE(buffer->IsPlaying());
    buffer->SetMode(ESound3dMode::disabled);
    buffer->Play(true);
    EXPECT_TRUE(buffer->IsPlaying());
    buffer->Rewind();
    buffer->Play(false);
    EXPECT_TRUE(buffer->IsPlaying());
    buffer->SetVolume(-10000);
    buffer->Stop();
    EXPECT_FALSE(buffer->IsPlaying());
    buffer.reset();
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST(OpenAlSoundDevice, ASoundPlayedOnceEndsByItself)
{
    const std::unique_ptr<COpenAlSoundDevice> device = COpenAlSoundDevice::Open();
    ASSERT_TRUE(device);
    const std::vector<std::uint8_t> samples = Tone(static_cast<int>(kRate / 50));
    const std::unique_ptr<SoundBuffer> buffer = device->CreateBuffer(Pcm(1, 16), samples);
    ASSERT_TRUE(buffer);
    buffer->Play(false);
    EXPECT_TRUE(WaitUntilStopped(*buffer));
    buffer->Play(false);  // from the start again
    EXPECT_TRUE(WaitUntilStopped(*buffer));
}

TEST(OpenAlSoundDevice, RefusesSamplesItCannotPlay)
{
    const std::unique_ptr<COpenAlSoundDevice> device = COpenAlSoundDevice::Open();
    ASSERT_TRUE(device);
    const std::vector<std::uint8_t> samples = Tone(100);
    struct Case {
        const char* what;
        CWaveFormat format;
        std::size_t bytes;
    };
    CWaveFormat adpcm = Pcm(1, 4);
    adpcm.m_formatTag = 2;
    CWaveFormat noRate = Pcm(1, 16);
    noRate.m_samplesPerSec = 0;
    const Case cases[] = {
        {"compressed", adpcm, samples.size()},
        {"three channels", Pcm(3, 16), samples.size()},
        {"24 bits", Pcm(1, 24), samples.size()},
        {"no channels", Pcm(0, 16), samples.size()},
        {"rate 0", noRate, samples.size()},
        {"less than one frame", Pcm(2, 16), 3},
        {"no samples", Pcm(1, 8), 0},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(device->CreateBuffer(c.format, std::span(samples).first(c.bytes))) << c.what;
    // Every format it does take, with an odd byte left over.
    for (const CWaveFormat& format : {Pcm(1, 8), Pcm(1, 16), Pcm(2, 8), Pcm(2, 16)})
        EXPECT_TRUE(device->CreateBuffer(format, std::span(samples).first(samples.size() - 1)))
            << format.m_channels << "x" << format.m_bitsPerSample;
}

TEST(OpenAlSoundDevice, TwoDevicesKeepTheirOwnBuffers)
{
    const std::unique_ptr<COpenAlSoundDevice> first = COpenAlSoundDevice::Open();
    const std::unique_ptr<COpenAlSoundDevice> second = COpenAlSoundDevice::Open();
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    const std::vector<std::uint8_t> samples = Tone(static_cast<int>(kRate));
    const std::unique_ptr<SoundBuffer> a = first->CreateBuffer(Pcm(1, 16), samples);
    const std::unique_ptr<SoundBuffer> b = second->CreateBuffer(Pcm(1, 16), samples);
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    a->Play(true);
    EXPECT_FALSE(b->IsPlaying());
    b->Play(true);
    a->Stop();
    EXPECT_FALSE(a->IsPlaying());
    EXPECT_TRUE(b->IsPlaying());
}

TEST(OpenSoundDevice, OpensOpenAlWhenThereIsAnOutput)
{
    const std::unique_ptr<SoundDevice> device = OpenSoundDevice();
    ASSERT_TRUE(device);
    EXPECT_TRUE(device->IsOpen());
}

TEST(OpenSoundDevice, FallsBackToTheSilentDevice)
{
    const std::unique_ptr<SoundDevice> device = OpenSoundDevice("no such output device");
    ASSERT_TRUE(device);
    EXPECT_FALSE(device->IsOpen());
    EXPECT_FALSE(device->CreateBuffer(Pcm(1, 16), Tone(100)));
    device->SetListener({}, {0.0f, 0.0f, 1.0f}, {0.0f, 1.0f, 0.0f});

    // The sound wrapper on it loads nothing and plays nothing.
    CQzlSections level;
    level.m_levelFiles.m_entries.push_back(
        std::make_unique<CTreeObject>("beep.wav", ToneWav(100), 0));
    CDsound sound(device.get(), nullptr, &level);
    EXPECT_EQ(sound.LoadSound("beep.wav"), -1);
    sound.Play("beep.wav", {}, 1.0f, 0);
    EXPECT_TRUE(sound.GetSounds().empty());
}

TEST(OpenSoundDevice, TheSoundWrapperPlaysALevelSound)
{
    const std::unique_ptr<SoundDevice> device = OpenSoundDevice();
    ASSERT_TRUE(device->IsOpen());
    CQzlSections level;
    level.m_levelFiles.m_entries.push_back(
        std::make_unique<CTreeObject>("hum.wav", ToneWav(static_cast<int>(kRate)), 0));
    CDsound sound(device.get(), nullptr, &level);
    sound.Play("HUM.WAV", {1.0f, 0.0f, 0.0f}, 0.5f, kPlayLooping);
    ASSERT_EQ(sound.GetSounds().size(), 1u);
    EXPECT_TRUE(sound.GetSounds()[0]->m_buffer->IsPlaying());
    sound.Stop("hum.wav");
    EXPECT_FALSE(sound.GetSounds()[0]->m_buffer->IsPlaying());
    sound.PlayAt(0, kPlayLooping);
    EXPECT_TRUE(sound.GetSounds()[0]->m_buffer->IsPlaying());
    sound.ReleaseAll();
    EXPECT_TRUE(sound.GetSounds().empty());
}

// Run on its own with ALSOFT_DRIVERS naming no driver (the test "audio_no_output"): no output
// device opens at all, as on a computer without sound.
TEST(NoAudioOutput, TheDefaultDeviceFallsBackToSilence)
{
    const char* drivers = std::getenv("ALSOFT_DRIVERS");
    if (!drivers || std::string(drivers) != "qz-no-such-driver")
        GTEST_SKIP() << "runs with ALSOFT_DRIVERS=qz-no-such-driver only";
    EXPECT_FALSE(COpenAlSoundDevice::Open());
    const std::unique_ptr<SoundDevice> device = OpenSoundDevice();
    ASSERT_TRUE(device);
    EXPECT_FALSE(device->IsOpen());
    EXPECT_FALSE(device->CreateBuffer(Pcm(1, 16), Tone(100)));
}
