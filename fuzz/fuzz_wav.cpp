// Fuzz target: a WAV file through the chunk walk, then through the sound wrapper from the
// level's own files onto a device that reads every sample it is given.

#include "engine/Dsound.h"
#include "engine/ParseWave.h"
#include "engine/SoundDevice.h"
#include "level/QzlSections.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace {

class CNullBuffer final : public SoundBuffer {
public:
    void Play(bool) override { m_playing = true; }
    void Stop() override { m_playing = false; }
    void Rewind() override {}
    bool IsPlaying() const override { return m_playing; }
    void SetVolume(int hundredthsDb) override
    {
        if (hundredthsDb > 0 || hundredthsDb < -10000)
            std::abort();
    }
    void SetPosition(const CVector3&) override {}
    void SetDistances(float, float) override {}
    void SetMode(ESound3dMode) override {}

private:
    bool m_playing = false;
};

// Copies every sample it is handed, so that the address sanitizer sees a view past the file.
class CCopyingDevice final : public SoundDevice {
public:
    bool IsOpen() const override { return true; }
    std::unique_ptr<SoundBuffer> CreateBuffer(const CWaveFormat&,
                                              std::span<const std::uint8_t> data) override
    {
        m_samples.assign(data.begin(), data.end());
        return std::make_unique<CNullBuffer>();
    }
    void SetListener(const CVector3&, const CVector3&, const CVector3&) override {}

    std::vector<std::uint8_t> m_samples;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    CWaveFormat format;
    std::span<const std::uint8_t> samples;
    std::string why;
    const int found = ParseWave(file, format, samples, &why);
    if (found == 1) {
        if (samples.data() < file.data() || samples.size() > size ||
            samples.data() + samples.size() > file.data() + size)
            std::abort();
    } else if (found != 0 || why.empty()) {
        std::abort();
    }

    CCopyingDevice device;
    CQzlSections level;
    level.m_levelFiles.m_entries.push_back(std::make_unique<CTreeObject>(
        "fuzz.wav", std::vector<std::uint8_t>(file.begin(), file.end()), 0));
    CDsound sound(&device, nullptr, &level);
    const int index = sound.LoadSound("FUZZ.WAV");
    if ((index == 0) != (found == 1) || (index < 0 && index != -1))
        std::abort();
    if (found == 1 && device.m_samples != std::vector<std::uint8_t>(samples.begin(), samples.end()))
        std::abort();
    sound.Play("fuzz.wav", {1.0f, 2.0f, 3.0f}, 0.5f, kPlayLooping);
    sound.PlayAt(index, 0);
    sound.Stop("fuzz.wav");
    sound.ReleaseAll();
    return 0;
}
