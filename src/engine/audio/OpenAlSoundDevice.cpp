#include "engine/audio/OpenAlSoundDevice.h"

#include "engine/audio/OpenAlSoundBuffer.h"

#include <limits>

namespace {

// The OpenAL format of PCM samples; AL_NONE for samples it does not take.
ALenum AlFormat(const CWaveFormat& format)
{
    if (format.m_formatTag != kWaveFormatPcm)
        return AL_NONE;
    if (format.m_channels == 1 && format.m_bitsPerSample == 8)
        return AL_FORMAT_MONO8;
    if (format.m_channels == 1 && format.m_bitsPerSample == 16)
        return AL_FORMAT_MONO16;
    if (format.m_channels == 2 && format.m_bitsPerSample == 8)
        return AL_FORMAT_STEREO8;
    if (format.m_channels == 2 && format.m_bitsPerSample == 16)
        return AL_FORMAT_STEREO16;
    return AL_NONE;
}

}  // namespace

void COpenAlSoundDevice::CDestroyContext::operator()(ALCcontext* context) const
{
    if (alcGetCurrentContext() == context)
        alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
}

std::unique_ptr<COpenAlSoundDevice> COpenAlSoundDevice::Open(const std::string& deviceName)
{
    std::unique_ptr<COpenAlSoundDevice> sound(new COpenAlSoundDevice());
    sound->m_device.reset(alcOpenDevice(deviceName.empty() ? nullptr : deviceName.c_str()));
    if (!sound->m_device)
        return nullptr;
    sound->m_context.reset(alcCreateContext(sound->m_device.get(), nullptr));
    if (!sound->m_context || !alcMakeContextCurrent(sound->m_context.get()))
        return nullptr;
    alDistanceModel(AL_LINEAR_DISTANCE_CLAMPED);
    return sound;
}

COpenAlSoundDevice::~COpenAlSoundDevice() = default;

void COpenAlSoundDevice::MakeCurrent() const
{
    if (alcGetCurrentContext() != m_context.get())
        alcMakeContextCurrent(m_context.get());
}

std::unique_ptr<SoundBuffer> COpenAlSoundDevice::CreateBuffer(const CWaveFormat& format,
                                                              std::span<const std::uint8_t> data)
{
    const ALenum alFormat = AlFormat(format);
    if (alFormat == AL_NONE || format.m_samplesPerSec == 0 ||
        format.m_samplesPerSec > static_cast<std::uint32_t>(std::numeric_limits<ALsizei>::max()))
        return nullptr;
    // Whole sample frames only.
    const std::size_t frame = std::size_t{format.m_channels} * (format.m_bitsPerSample / 8u);
    const std::size_t size = data.size() - data.size() % frame;
    if (size == 0 || size > static_cast<std::size_t>(std::numeric_limits<ALsizei>::max()))
        return nullptr;
    return COpenAlSoundBuffer::Create(m_context.get(), alFormat, data.data(),
                                      static_cast<ALsizei>(size),
                                      static_cast<ALsizei>(format.m_samplesPerSec));
}

void COpenAlSoundDevice::SetListener(const CVector3& position, const CVector3& front,
                                     const CVector3& top)
{
    MakeCurrent();
    alListener3f(AL_POSITION, position.x, position.y, -position.z);
    const ALfloat orientation[6] = {front.x, front.y, -front.z, top.x, top.y, -top.z};
    alListenerfv(AL_ORIENTATION, orientation);
}
