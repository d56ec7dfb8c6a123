#pragma once
// The sound output as the core sees it: static 3D sound buffers made from PCM samples, and the
// listener. The application opens one device for the whole run (OpenAL Soft, or a silent device
// when no audio device opens, src/engine/audio); tests use a device that records every call
// (tests/support/RecordingSoundDevice.h).
//
// Positions are in the engine's coordinates (x, y, z with y up, the same handedness as the
// engine's view). Settings take effect at once; there is nothing to commit.
//
// A buffer belongs to the device that created it and must be released before the device.

#include "engine/WaveFormat.h"
#include "math/Vector3.h"

#include <cstdint>
#include <memory>
#include <span>

// How a buffer is placed in space.
enum class ESound3dMode {
    normal,    // at its position, fading with the distance from the listener
    disabled,  // at the listener, wherever it moves; the position is kept but not used
};

// One loaded sound. A new buffer is stopped at its start, at full volume, in normal mode at the
// position (0, 0, 0), with the minimum distance 1.0 and the maximum distance 5.0.
class SoundBuffer {
public:
    virtual ~SoundBuffer() = default;

    // Starts playing from the current position, once or looping. A buffer that is playing goes
    // on from where it is; only the looping changes.
    virtual void Play(bool looping) = 0;
    // Stops playing; the current position stays where it is.
    virtual void Stop() = 0;
    // Moves the current position to the start of the samples.
    virtual void Rewind() = 0;
    virtual bool IsPlaying() const = 0;

    // Attenuation in hundredths of a decibel: 0 full volume, -10000 (or less) silence.
    virtual void SetVolume(int hundredthsDb) = 0;
    virtual void SetPosition(const CVector3& position) = 0;
    // Full volume up to the minimum distance from the listener, fading linearly to silence at the
    // maximum distance and silent beyond it.
    virtual void SetDistances(float minimum, float maximum) = 0;
    virtual void SetMode(ESound3dMode mode) = 0;

protected:
    SoundBuffer() = default;
    SoundBuffer(const SoundBuffer&) = default;
    SoundBuffer& operator=(const SoundBuffer&) = default;
};

class SoundDevice {
public:
    virtual ~SoundDevice() = default;

    // False for a device that plays nothing (no audio device could be opened): the sound
    // wrapper then loads nothing and plays nothing.
    virtual bool IsOpen() const = 0;

    // A stopped buffer holding a copy of data, samples of format. nullptr when the device cannot
    // play that format (it plays 8-bit and 16-bit PCM, mono or stereo), when data holds no
    // whole sample frame, or when the device has no room for another buffer.
    virtual std::unique_ptr<SoundBuffer> CreateBuffer(const CWaveFormat& format,
                                                      std::span<const std::uint8_t> data) = 0;

    // Places the listener: its position, the direction it looks along and its up direction.
    virtual void SetListener(const CVector3& position, const CVector3& front,
                             const CVector3& top) = 0;

protected:
    SoundDevice() = default;
    SoundDevice(const SoundDevice&) = default;
    SoundDevice& operator=(const SoundDevice&) = default;
};
