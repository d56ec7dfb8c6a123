#pragma once
// The format of a WAV sound, as its "fmt " chunk gives it (the leading fields of the Windows
// WAVEFORMATEX record).

#include <cstdint>

// Format tag of uncompressed PCM samples.
inline constexpr std::uint16_t kWaveFormatPcm = 1;

struct CWaveFormat {
    std::uint16_t m_formatTag = 0;
    std::uint16_t m_channels = 0;
    std::uint32_t m_samplesPerSec = 0;
    std::uint32_t m_avgBytesPerSec = 0;
    std::uint16_t m_blockAlign = 0;
    std::uint16_t m_bitsPerSample = 0;  // 0 when the chunk is shorter than 16 bytes

    friend bool operator==(const CWaveFormat&, const CWaveFormat&) = default;
};
