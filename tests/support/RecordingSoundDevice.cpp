#include "support/RecordingSoundDevice.h"

#include "framework/CFormat.h"

namespace {

class CRecordingSoundBuffer final : public SoundBuffer {
public:
    CRecordingSoundBuffer(CRecordingSoundDevice& device, std::size_t number)
        : m_device(device), m_number(number)
    {}
    ~CRecordingSoundBuffer() override
    {
        Record().m_released = true;
        Record().m_playing = false;
        Log("release");
    }
    CRecordingSoundBuffer(const CRecordingSoundBuffer&) = delete;
    CRecordingSoundBuffer& operator=(const CRecordingSoundBuffer&) = delete;

    void Play(bool looping) override
    {
        Record().m_playing = true;
        Record().m_looping = looping;
        Log(looping ? "play loop" : "play once");
    }
    void Stop() override
    {
        Record().m_playing = false;
        Log("stop");
    }
    void Rewind() override { Log("rewind"); }
    bool IsPlaying() const override { return m_device.m_buffers[m_number].m_playing; }
    void SetVolume(int hundredthsDb) override { Log(FormatC("volume %d", hundredthsDb)); }
    void SetPosition(const CVector3& p) override
    {
        Log(FormatC("position %g %g %g", static_cast<double>(p.x), static_cast<double>(p.y),
                    static_cast<double>(p.z)));
    }
    void SetDistances(float minimum, float maximum) override
    {
        Log(FormatC("distances %g %g", static_cast<double>(minimum), static_cast<double>(maximum)));
    }
    void SetMode(ESound3dMode mode) override
    {
        Log(mode == ESound3dMode::disabled ? "mode disabled" : "mode normal");
    }

private:
    CRecordingSoundDevice::CBufferRecord& Record() { return m_device.m_buffers[m_number]; }
    void Log(const std::string& what)
    {
        m_device.m_log.push_back(FormatC("#%zu ", m_number) + what);
    }

    CRecordingSoundDevice& m_device;
    std::size_t m_number;
};

}  // namespace

std::unique_ptr<SoundBuffer> CRecordingSoundDevice::CreateBuffer(const CWaveFormat& format,
                                                                 std::span<const std::uint8_t> data)
{
    if (m_refuseBuffers)
        return nullptr;
    const std::size_t number = m_buffers.size();
    m_buffers.push_back({format, std::vector<std::uint8_t>(data.begin(), data.end())});
    m_log.push_back(FormatC("create #%zu tag=%u ch=%u rate=%u bits=%u bytes=%zu", number,
                            unsigned{format.m_formatTag}, unsigned{format.m_channels},
                            unsigned{format.m_samplesPerSec}, unsigned{format.m_bitsPerSample},
                            data.size()));
    return std::make_unique<CRecordingSoundBuffer>(*this, number);
}

void CRecordingSoundDevice::SetListener(const CVector3& position, const CVector3& front,
                                        const CVector3& top)
{
    const auto d = [](float v) { return static_cast<double>(v); };
    m_log.push_back(FormatC("listener %g %g %g front %g %g %g top %g %g %g", d(position.x),
                            d(position.y), d(position.z), d(front.x), d(front.y), d(front.z),
                            d(top.x), d(top.y), d(top.z)));
}

void CRecordingSoundDevice::FinishPlaying()
{
    for (CBufferRecord& record : m_buffers)
        if (!record.m_looping)
            record.m_playing = false;
}
