#pragma once
// The sound device of a computer without audio output: it is not open, makes no buffers and
// plays nothing, so every sound operation of the core is silent.

#include "engine/SoundDevice.h"

class CSilentSoundDevice final : public SoundDevice {
public:
    bool IsOpen() const override { return false; }
    std::unique_ptr<SoundBuffer> CreateBuffer(const CWaveFormat& format,
                                              std::span<const std::uint8_t> data) override;
    void SetListener(const CVector3& position, const CVector3& front, const CVector3& top) override;
};
