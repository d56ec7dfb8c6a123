#include "engine/ParseWave.h"

#include "framework/CFormat.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

std::uint16_t U16At(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t U32At(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool IsId(const std::uint8_t* p, const char (&id)[5])
{
    return std::memcmp(p, id, 4) == 0;
}

int Fail(std::string* why, std::string reason)
{
    if (why)
        *why = std::move(reason);
    return 0;
}

}  // namespace

int FindWaveChunks(std::uint64_t totalSize, const WaveByteReader& read, CWaveLayout& layout,
                   std::string* why)
{
    std::array<std::uint8_t, 12> header{};
    if (totalSize < header.size() || !read(0, header))
        return Fail(why, "too short for a RIFF header");
    if (!IsId(header.data(), "RIFF"))
        return Fail(why, "not a RIFF file");
    if (!IsId(header.data() + 8, "WAVE"))
        return Fail(why, "not a WAVE file");

    // The form ends 8 + RIFF size bytes in; the walk never goes past the bytes present either.
    const std::uint64_t end =
        std::min<std::uint64_t>(8u + std::uint64_t{U32At(header.data() + 4)}, totalSize);
    CWaveLayout found;
    bool haveFormat = false;
    bool haveData = false;
    std::uint64_t at = 12;
    while (at < end) {
        std::array<std::uint8_t, 8> chunk{};
        if (totalSize - at < chunk.size() || !read(at, chunk))
            return Fail(why, FormatC("the chunk header at byte %llu is cut off",
                                     static_cast<unsigned long long>(at)));
        const std::uint32_t size = U32At(chunk.data() + 4);
        const std::uint64_t dataAt = at + chunk.size();
        const std::uint64_t present = totalSize - dataAt;
        if (IsId(chunk.data(), "fmt ")) {
            if (size < 14)
                return Fail(why, FormatC("the \"fmt \" chunk is %u bytes long, shorter than 14",
                                         static_cast<unsigned>(size)));
            if (!haveFormat) {
                if (size > present)
                    return Fail(why, FormatC("the \"fmt \" chunk claims %u bytes, %llu are present",
                                             static_cast<unsigned>(size),
                                             static_cast<unsigned long long>(present)));
                std::array<std::uint8_t, 16> fmt{};
                const std::size_t used = std::min<std::size_t>(size, fmt.size());
                if (!read(dataAt, std::span<std::uint8_t>(fmt.data(), used)))
                    return Fail(why, "the \"fmt \" chunk cannot be read");
                CWaveFormat& f = found.m_format;
                f.m_formatTag = U16At(fmt.data());
                f.m_channels = U16At(fmt.data() + 2);
                f.m_samplesPerSec = U32At(fmt.data() + 4);
                f.m_avgBytesPerSec = U32At(fmt.data() + 8);
                f.m_blockAlign = U16At(fmt.data() + 12);
                f.m_bitsPerSample = used >= 16 ? U16At(fmt.data() + 14) : 0;
                haveFormat = true;
            }
        } else if (IsId(chunk.data(), "data") && !haveData) {
            if (size > present)
                return Fail(why, FormatC("the \"data\" chunk claims %u bytes, %llu are present",
                                         static_cast<unsigned>(size),
                                         static_cast<unsigned long long>(present)));
            found.m_dataOffset = dataAt;
            found.m_dataSize = size;
            haveData = true;
        }
        if (haveFormat && haveData) {
            layout = found;
            return 1;
        }
        at = dataAt + size + (size & 1u);
    }
    return Fail(why, !haveFormat ? "no \"fmt \" chunk" : "no \"data\" chunk");
}

int ParseWave(std::span<const std::uint8_t> bytes, CWaveFormat& format,
              std::span<const std::uint8_t>& data, std::string* why)
{
    const WaveByteReader read = [bytes](std::uint64_t offset, std::span<std::uint8_t> out) {
        if (offset > bytes.size() || out.size() > bytes.size() - offset)
            return false;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
        return true;
    };
    CWaveLayout layout;
    if (!FindWaveChunks(bytes.size(), read, layout, why))
        return 0;
    format = layout.m_format;
    data = bytes.subspan(layout.m_dataOffset, layout.m_dataSize);
    return 1;
}
