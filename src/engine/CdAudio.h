#pragma once
// The audio-CD player of walk mode. There is no CD drive to drive here: the tracks are WAV files
// in the game's folder, "music/track01.wav", "music/track02.wav", ... (track numbers with at least
// two digits, names matched without regard to letter case), played once through the sound
// device at the listener. A game folder without them, or no open sound device, behaves as a
// drive without a disc: Open finds no tracks and PlayTrack plays nothing and reports failure.
// Nothing is reported to the user.

#include "engine/SoundDevice.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>

class CCdAudio {
public:
    // Tracks of more than two digits are not looked for beyond this number.
    static constexpr int kMaxTracks = 100;

    // device may be null; it must outlive this object.
    CCdAudio(SoundDevice* device, std::filesystem::path gameFolder);
    ~CCdAudio();
    CCdAudio(const CCdAudio&) = delete;
    CCdAudio& operator=(const CCdAudio&) = delete;

    // The number of tracks: the highest track number, at most 100, that has a file (a missing
    // track among them cannot be played, like the data track of a game disc); 0 when there is
    // none or no open sound device. Reads each track's length in seconds from its file header
    // (0 when the file is missing or no WAV).
    int Open();
    // Stops the track that plays and plays the track once from its start. Returns 0 when it
    // plays, non-zero when it cannot (no sound device, no such track, a file that cannot be
    // read or decoded, or a format the device cannot play).
    int PlayTrack(int track);
    // Stops and releases the track that plays, if any.
    void Close();

    int GetTrackCount() const { return m_trackCount; }
    // Length of a track (1 to the track count) in seconds as Open read it; 0 for other numbers.
    int GetTrackLength(int track) const;
    bool IsPlaying() const;

    // The host path of a track's file, or empty when the game folder has none.
    std::filesystem::path FindTrackFile(int track) const;

private:
    SoundDevice* m_device;
    std::filesystem::path m_gameFolder;
    std::uint16_t m_trackCount = 0;
    std::array<std::uint16_t, kMaxTracks> m_trackLengths{};  // seconds, track n at n - 1
    std::unique_ptr<SoundBuffer> m_playing;                  // the track that plays, or null
};
