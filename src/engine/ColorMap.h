#pragma once
// A colour map (CMP file): the 256-colour palette and light tables through which the 8-bit
// materials of a sector are shown. The editor reads the first 17216 bytes of a colour map; the
// palette is the 256 red, green, blue triples at byte 64.

#include "engine/BitmapImage.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class CColorMap {
public:
    static constexpr std::size_t kSize = 17216;
    static constexpr std::size_t kPaletteOffset = 64;
    static constexpr int kLightLevels = 64;  // rows of 256 indices after the palette

    // Takes the first 17216 bytes of file. Throws CArchiveException (endOfFile) naming fileName
    // when the file is shorter; the colour map is then unchanged.
    void Read(std::span<const std::uint8_t> file, std::string_view fileName);

    bool IsEmpty() const { return m_bytes.empty(); }
    // The 17216 bytes read; empty before a successful Read.
    const std::vector<std::uint8_t>& GetBytes() const { return m_bytes; }
    // The palette at byte 64; the grey ramp while empty.
    CPalette GetPalette() const;

    // Entry i is (i, i, i): the palette when no colour map can be found at all.
    static CPalette GreyRamp();

private:
    std::vector<std::uint8_t> m_bytes;
};
