#pragma once
// WAV images: "RIFF", the RIFF size, "WAVE", then chunks of a 4-byte identifier, a 4-byte size and
// the data, each chunk padded to an even size. ParseWave finds the first "fmt " and the first
// "data" chunk.
//
// Every size is checked against the bytes that are really there: the walk ends at the end of the
// RIFF form or of the bytes, whichever comes first, and a "fmt " or "data" chunk that claims more
// bytes than follow it is refused. Nothing is allocated from a size the file claims.

#include "engine/WaveFormat.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

// Where the sound of a WAV image lies: its format and the place and size of its samples.
struct CWaveLayout {
    CWaveFormat m_format;
    std::uint64_t m_dataOffset = 0;  // from the start of the image
    std::uint32_t m_dataSize = 0;
};

// Copies out.size() bytes from offset of the image into out; false when they cannot be read.
using WaveByteReader = std::function<bool(std::uint64_t offset, std::span<std::uint8_t> out)>;

// The chunk walk over an image of totalSize bytes that read gives access to (a file is walked
// without loading its samples). Returns 1 with the layout when both chunks were found, else 0;
// why (when given) then receives the reason in a few words.
//   - the image must start with "RIFF" and have "WAVE" at byte 8;
//   - chunks are walked from byte 12 while they start before 8 + RIFF size and the bytes present;
//   - a "fmt " chunk shorter than 14 bytes fails; the first "fmt " chunk gives the format;
//   - the first "data" chunk gives the samples;
//   - the walk stops with success as soon as both are known; reaching the end fails.
int FindWaveChunks(std::uint64_t totalSize, const WaveByteReader& read, CWaveLayout& layout,
                   std::string* why = nullptr);

// FindWaveChunks over bytes held in memory. Returns 1 with the format and data (a view into bytes)
// when both were found, else 0 with the reason in why (when given).
int ParseWave(std::span<const std::uint8_t> bytes, CWaveFormat& format,
              std::span<const std::uint8_t>& data, std::string* why = nullptr);
