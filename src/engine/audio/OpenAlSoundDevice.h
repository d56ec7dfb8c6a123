#pragma once
// The sound device on OpenAL Soft: one output device with one context, sounds fading linearly
// from full volume at their minimum distance to silence at their maximum distance
// (AL_LINEAR_DISTANCE_CLAMPED). It plays 8-bit and 16-bit PCM, mono or stereo; only mono sounds
// are placed in space, stereo ones play as they are.

#include "engine/SoundDevice.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <memory>
#include <string>

class COpenAlSoundDevice final : public SoundDevice {
public:
    // The named output device (the default one when the name is empty) with a context made
    // current; nullptr when it does not open.
    static std::unique_ptr<COpenAlSoundDevice> Open(const std::string& deviceName = {});
    ~COpenAlSoundDevice() override;
    COpenAlSoundDevice(const COpenAlSoundDevice&) = delete;
    COpenAlSoundDevice& operator=(const COpenAlSoundDevice&) = delete;

    bool IsOpen() const override { return true; }
    std::unique_ptr<SoundBuffer> CreateBuffer(const CWaveFormat& format,
                                              std::span<const std::uint8_t> data) override;
    void SetListener(const CVector3& position, const CVector3& front, const CVector3& top) override;

private:
    struct CCloseDevice {
        void operator()(ALCdevice* device) const { alcCloseDevice(device); }
    };
    struct CDestroyContext {
        void operator()(ALCcontext* context) const;
    };

    COpenAlSoundDevice() = default;
    void MakeCurrent() const;

    std::unique_ptr<ALCdevice, CCloseDevice> m_device;  // closed after the context
    std::unique_ptr<ALCcontext, CDestroyContext> m_context;
};
