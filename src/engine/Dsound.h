#pragma once
// The engine's sounds: WAV files loaded by name from the game's sound archive or from the level's
// own files, one 3D buffer per name, played, placed, turned up or down and stopped. The engine
// owns one, the Sounds dialog its own.
//
// Without a sound device (none given, or one that is not open) every operation is silent:
// LoadSound returns -1 and Play does nothing. A sound found in neither place, or that cannot be
// read or decoded, is not played; nothing is reported.

#include "engine/DsoundEntry.h"
#include "math/Vector3.h"

#include <memory>
#include <string_view>
#include <vector>

class CQzlSections;
class SoundDevice;
struct CGameResources;

// Play flags: 1 plays looping, 0 once.
inline constexpr int kPlayLooping = 1;

// The volume of a sound (1.0 full) in hundredths of a decibel: -10000 when it is not above 0,
// else 2000 x log10(min(volume, 1.0)) truncated towards zero, but never below -10000
// (0.5 gives -602).
int VolumeToHundredthsDb(float volume);

class CDsound {
public:
    // device, game and level may be null and must outlive this object. Sounds are looked up in
    // game's sound index and read from its sound archive, else taken from level's own files.
    CDsound(SoundDevice* device, const CGameResources* game, const CQzlSections* level);
    ~CDsound();
    CDsound(const CDsound&) = delete;
    CDsound& operator=(const CDsound&) = delete;

    // 1 with the position of the loaded sound of that name (letter case ignored), else 0 with the
    // position where it belongs.
    int FindSound(std::string_view name, int& position) const;
    // Index of the sound of that name, loading it first when needed; -1 when it cannot be loaded.
    // Loading inserts it in name order, so the indexes of the sounds behind it move up by one.
    int LoadSound(std::string_view name);
    // Loads the sound when needed, sets its volume and position (SetParams) and plays it from its
    // start; flags kPlayLooping or 0.
    void Play(std::string_view name, const CVector3& position, float volume, int flags);
    // Volume (VolumeToHundredthsDb), position, minimum distance 1.0 and maximum distance 5.0 of
    // a loaded sound; an index that names no sound is passed over.
    void SetParams(int index, const CVector3& position, float volume);
    // The position of a loaded sound; nothing for a sound not loaded.
    void SetPosition(std::string_view name, const CVector3& position);
    // Stops a loaded sound that is playing.
    void Stop(std::string_view name);
    // Plays a loaded sound from where it stands: looping ones (flags 1) at the listener without
    // positioning, others at their position. A negative index is passed over.
    void PlayAt(int index, int flags);
    // Stops every playing sound and releases all of them.
    void ReleaseAll();
    // Places the listener: its position, the direction it looks along and its up direction.
    // Nothing happens without an open device.
    void SetListener(const CVector3& position, const CVector3& front, const CVector3& top);

    // The device the sounds play on; null when there is none.
    SoundDevice* GetDevice() const { return m_device; }

    // The loaded sounds, in ascending order of name ignoring case.
    const std::vector<std::unique_ptr<CDsoundEntry>>& GetSounds() const { return m_sounds; }

private:
    // The WAV bytes of the sound: from the game's sound archive when its index has the name,
    // else from the level's own files; empty when there are none or they cannot be read.
    std::vector<std::uint8_t> FetchBytes(const std::string& name) const;

    SoundDevice* m_device;
    const CGameResources* m_game;
    const CQzlSections* m_level;
    std::vector<std::unique_ptr<CDsoundEntry>> m_sounds;
};
