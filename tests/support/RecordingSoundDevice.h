#pragma once
// A sound device for tests: it plays nothing and writes every call into one log, one line per
// call. Buffers are numbered in the order they were made ("#0", "#1", ...):
//   "create #0 tag=1 ch=1 rate=11025 bits=8 bytes=6"   "listener 1 2 3 front 0 0 1 top 0 1 0"
//   "#0 play once"  "#0 play loop"  "#0 stop"  "#0 rewind"  "#0 volume -602"
//   "#0 position 1 2 3"  "#0 distances 1 5"  "#0 mode normal"  "#0 mode disabled"  "#0 release"
// Numbers are printed with %g.

#include "engine/SoundDevice.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CRecordingSoundDevice final : public SoundDevice {
public:
    // What the test sees of each buffer ever made, by number; kept after the buffer's release.
    struct CBufferRecord {
        CWaveFormat m_format;
        std::vector<std::uint8_t> m_data;
        bool m_playing = false;
        bool m_looping = false;
        bool m_released = false;
    };

    bool IsOpen() const override { return m_open; }
    std::unique_ptr<SoundBuffer> CreateBuffer(const CWaveFormat& format,
                                              std::span<const std::uint8_t> data) override;
    void SetListener(const CVector3& position, const CVector3& front, const CVector3& top) override;

    // Ends the playing of every buffer that plays once, as if its samples had run out.
    void FinishPlaying();

    bool m_open = true;            // what IsOpen answers
    bool m_refuseBuffers = false;  // CreateBuffer returns nullptr (and logs nothing)
    std::vector<std::string> m_log;
    std::vector<CBufferRecord> m_buffers;
};
