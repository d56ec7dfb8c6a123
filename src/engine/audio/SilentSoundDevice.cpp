#include "engine/audio/SilentSoundDevice.h"

std::unique_ptr<SoundBuffer> CSilentSoundDevice::CreateBuffer(const CWaveFormat&,
                                                              std::span<const std::uint8_t>)
{
    return nullptr;
}

void CSilentSoundDevice::SetListener(const CVector3&, const CVector3&, const CVector3&) {}
