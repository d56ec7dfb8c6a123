#pragma once
// One sound of the OpenAL device: an OpenAL buffer holding the samples and the source that plays
// them. Positions are turned from the engine's left-handed coordinates into OpenAL's
// right-handed ones by negating z (the device does the same for the listener).

#include "engine/SoundDevice.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <memory>

class COpenAlSoundBuffer final : public SoundBuffer {
public:
    // A stopped buffer on context holding size bytes of samples in format (an AL_FORMAT_* value)
    // at rate; nullptr when OpenAL refuses the samples or has no source left.
    static std::unique_ptr<COpenAlSoundBuffer>
    Create(ALCcontext* context, ALenum format, const void* samples, ALsizei size, ALsizei rate);
    ~COpenAlSoundBuffer() override;
    COpenAlSoundBuffer(const COpenAlSoundBuffer&) = delete;
    COpenAlSoundBuffer& operator=(const COpenAlSoundBuffer&) = delete;

    void Play(bool looping) override;
    void Stop() override;
    void Rewind() override;
    bool IsPlaying() const override;
    void SetVolume(int hundredthsDb) override;
    void SetPosition(const CVector3& position) override;
    void SetDistances(float minimum, float maximum) override;
    void SetMode(ESound3dMode mode) override;

private:
    COpenAlSoundBuffer(ALCcontext* context, ALuint buffer, ALuint source);
    // Makes the buffer's context the current one when another is.
    void MakeCurrent() const;
    // Hands the source its place: the stored position in normal mode, the listener's otherwise.
    void ApplyPlacement();

    ALCcontext* m_context;  // owned by the device
    ALuint m_buffer;
    ALuint m_source;
    CVector3 m_position;
    ESound3dMode m_mode = ESound3dMode::normal;
};
