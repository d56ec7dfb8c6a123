#pragma once
// Material, colour-map and bitmap files built byte by byte for the image tests, independent of
// the writers under test.

#include "ByteBuilder.h"
#include "engine/BitmapImage.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace imagebytes {

// Pixel value of (x, y) in cel c.
using PixelFn = std::function<std::uint8_t(int x, int y, int c)>;

inline std::uint8_t DefaultPixel(int x, int y, int c)
{
    return static_cast<std::uint8_t>(x * 7 + y * 13 + c * 61);
}

struct MatLayout {
    int width = 8;
    int height = 8;
    int cels = 1;
    int bitsPerPixel = 8;
    int mipCount = 1;
    std::uint32_t type = 2;
    PixelFn pixel = DefaultPixel;
};

// The header of a MAT file: 76 bytes.
inline void MatHeader(ByteBuilder& out, std::uint32_t type, std::uint32_t records,
                      std::uint32_t bitsPerPixel)
{
    out.Text("MAT ")
        .U32(0x32)
        .U32(type)
        .U32(records)
        .U32(records)
        .U32(0)
        .U32(bitsPerPixel)
        .Zeros(48);
}

// A texture material as the game stores it: records, then per cel a texture header and its mip
// levels (each half the size of the one before, filled with 0xEE).
inline Bytes Mat(const MatLayout& layout)
{
    ByteBuilder out;
    const auto cels = static_cast<std::uint32_t>(layout.cels);
    MatHeader(out, layout.type, cels, static_cast<std::uint32_t>(layout.bitsPerPixel));
    for (std::uint32_t c = 0; c < cels; ++c)
        out.U32(8).U32(0).Floats(1.0f, 1.0f, 1.0f, 1.0f).U32(0).U32(0).U32(0xBFF78482).U32(c);
    for (int c = 0; c < layout.cels; ++c) {
        out.I32(layout.width).I32(layout.height).U32(0).U32(0).U32(0).I32(layout.mipCount);
        for (int y = 0; y < layout.height; ++y)
            for (int x = 0; x < layout.width; ++x)
                for (int b = 0; b < layout.bitsPerPixel / 8; ++b)
                    out.U8(layout.pixel(x, y, c));
        for (int level = 1; level < layout.mipCount; ++level) {
            const int w = std::max(layout.width >> level, 1);
            const int h = std::max(layout.height >> level, 1);
            for (int i = 0; i < w * h * layout.bitsPerPixel / 8; ++i)
                out.U8(0xEE);
        }
    }
    return out.b;
}

// A colour material whose records hold these palette indices in byte 4.
inline Bytes ColorMat(const std::vector<std::uint8_t>& indices)
{
    ByteBuilder out;
    MatHeader(out, 0, static_cast<std::uint32_t>(indices.size()), 8);
    for (const std::uint8_t index : indices)
        out.U32(0).U8(index).Zeros(19);
    return out.b;
}

// A palette whose entry i is (i, 255 - i, i * 3 mod 256), shifted by seed.
inline CPalette Palette(int seed)
{
    CPalette palette{};
    for (int i = 0; i < 256; ++i) {
        palette[static_cast<std::size_t>(3 * i)] = static_cast<std::uint8_t>(i + seed);
        palette[static_cast<std::size_t>(3 * i + 1)] = static_cast<std::uint8_t>(255 - i + seed);
        palette[static_cast<std::size_t>(3 * i + 2)] = static_cast<std::uint8_t>(i * 3 + seed);
    }
    return palette;
}

// A colour map of size bytes: a header, the palette at byte 64, then light rows.
inline Bytes Cmp(const CPalette& palette, std::size_t size = 17216)
{
    ByteBuilder out;
    out.Text("CMP ").U32(0x1E).Zeros(56);
    out.b.insert(out.b.end(), palette.begin(), palette.end());
    while (out.b.size() < size)
        out.U8(static_cast<std::uint8_t>(out.b.size()));
    out.b.resize(size);
    return out.b;
}

// The 5-6-5 texel of palette entry i.
inline std::uint16_t Texel565(const CPalette& palette, std::uint8_t i)
{
    const std::size_t at = std::size_t{i} * 3;
    return static_cast<std::uint16_t>(((palette[at] >> 3) << 11) | ((palette[at + 1] >> 2) << 5) |
                                      (palette[at + 2] >> 3));
}

}  // namespace imagebytes
