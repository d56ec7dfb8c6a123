#pragma once
// The editor's in-memory paletted picture, laid out as a device-independent bitmap: a 40-byte
// information header with 256 palette entries, and pixel rows stored bottom-up, each padded to a
// multiple of 4 pixels (the stride). Several equal-sized cels may be stacked one after the other
// in the pixel buffer, which is how an animated material is held: cel c starts at c x
// GetCelBytes(). Rows are kept in the order the files store them; a texture shows stored row 0
// at its top.
//
// It reads and writes the game's material files (MAT) and 8-bit BMP files, builds itself from raw
// pixels and remaps its pixels to another palette. Every reader treats its input as hostile:
// sizes, counts and offsets are checked against the bytes that are really there before anything
// is allocated, and a bad file leaves the image as it was.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// 256 colours as red, green, blue byte triples (768 bytes), the form colour maps hold.
using CPalette = std::array<std::uint8_t, 768>;

// The palette entry of a bitmap: blue, green, red, reserved.
struct RGBQUAD {
    std::uint8_t rgbBlue = 0;
    std::uint8_t rgbGreen = 0;
    std::uint8_t rgbRed = 0;
    std::uint8_t rgbReserved = 0;

    friend bool operator==(const RGBQUAD&, const RGBQUAD&) = default;
};

// The 40-byte bitmap information header, field by field as files store it.
struct BITMAPINFOHEADER {
    std::uint32_t biSize = 40;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 1;
    std::uint16_t biBitCount = 8;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;

    friend bool operator==(const BITMAPINFOHEADER&, const BITMAPINFOHEADER&) = default;
};

// The information block of an image: the header and 256 palette entries (1064 bytes in a file).
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    std::array<RGBQUAD, 256> bmiColors{};

    friend bool operator==(const BITMAPINFO&, const BITMAPINFO&) = default;
};

class CBitmapImage {
public:
    // Sizes of the file structures.
    static constexpr std::size_t kMatHeaderSize = 76;
    static constexpr std::size_t kMatRecordSize = 40;
    static constexpr std::size_t kMatTextureHeaderSize = 24;
    static constexpr std::size_t kMatColorRecordSize = 24;
    static constexpr std::size_t kBmpFileHeaderSize = 14;
    static constexpr std::size_t kBmpInfoSize = 40 + 256 * 4;
    // Largest width or height of a cel that the readers accept.
    static constexpr int kMaxDimension = 65536;

    CBitmapImage() = default;

    // Builds a one-cel image of width x height pixels of bitsPerPixel from pixels, whose rows are
    // width x bitsPerPixel / 8 bytes without padding; each row is copied into the padded stride.
    // 8 bits: palette indices, the palette is taken from palette. 16 bits: 5-6-5 words, each stored
    // as 5-5-5 ((p & 0xFFC0) >> 1 | (p & 0x1F)), the palette all zero. Throws CArchiveException
    // (badFormat) for a size or depth it cannot hold or too few pixels; the image is then
    // unchanged.
    void CreateFromBits(const CPalette& palette, std::span<const std::uint8_t> pixels, int width,
                        int height, int bitsPerPixel);

    // Remaps every pixel of every cel to the entry of target nearest to the pixel's colour in the
    // image's own palette (least squared distance, the first entry on ties). The image's own
    // palette is left as it was. Only 8-bit images are remapped.
    void ReducePalette(const CPalette& target);

    // Reads an 8-bit uncompressed BMP that starts at file[0]. false, with the image unchanged,
    // when it does not start with "BM". Info headers of 40 bytes or more (palette after the whole
    // header) and the old 12-byte core header are read; rows stored top-down are turned
    // bottom-up. Throws CArchiveException naming fileName for a damaged or unsupported BMP; the
    // image is then unchanged.
    bool ReadBmp(std::span<const std::uint8_t> file, std::string_view fileName);

    // The first cel as a BMP file: 14-byte file header ("BM", pixel offset 1078), the information
    // block with 256 palette entries, then the rows. Throws CArchiveException (badFormat) for an
    // empty image.
    std::vector<std::uint8_t> WriteBmp() const;

    // Reads a MAT file that starts at file[0], decoding colour indices with palette. A texture
    // material gives one cel per texture that has pixels; a colour material a 256 x 256 image of
    // the palette index of its last record. A texture's further mip levels (each half as wide and
    // high as the one before, at least 1) are kept with its cel when the count fits the size (no
    // level below 1 x 1) and every level lies in the file; otherwise the cel keeps none. Throws
    // CArchiveException naming fileName for a damaged or unsupported file; the image is then
    // unchanged.
    void ReadMat(std::span<const std::uint8_t> file, const CPalette& palette,
                 std::string_view fileName);

    // The image as a whole MAT file: a texture material of 8 bits per pixel, one texture of one
    // mip level per cel. Throws CArchiveException (badFormat) for an empty or 16-bit image.
    std::vector<std::uint8_t> WriteMat() const;

    // Replaces the cel data by celCount cels of this image's size and depth, laid out as GetBits()
    // lays them out (celCount x GetCelBytes() bytes). false, with the image unchanged, for an empty
    // image, a count below 1 or bits of another length. The file's mip levels of the old cels go.
    bool ReplaceCels(std::vector<std::uint8_t> bits, int celCount);

    bool IsEmpty() const { return !m_info.has_value(); }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }  // of one cel
    int GetStride() const { return m_stride; }  // the width raised to a multiple of 4
    int GetCelCount() const { return m_celCount; }
    int GetBitsPerPixel() const { return m_info ? m_info->bmiHeader.biBitCount : 0; }
    // Null for an empty image.
    const BITMAPINFO* GetInfo() const { return m_info ? &*m_info : nullptr; }
    const std::vector<std::uint8_t>& GetBits() const { return m_bits; }
    // Bytes of one padded row, and of one cel.
    std::size_t GetRowBytes() const;
    std::size_t GetCelBytes() const;
    // Byte x of stored row y of cel, without the padding: the pixel of an 8-bit image.
    std::uint8_t GetPixel(int cel, int x, int y) const;
    // The rows of cel without their padding, row 0 first.
    std::vector<std::uint8_t> GetCelPixels(int cel) const;
    // The mip levels the material file holds for cel after its full-size one, the largest first:
    // each level's rows without padding, row 0 first, at the image's depth; level k (from 1) is
    // max(1, width >> k) x max(1, height >> k) pixels. Empty when the file held none for it.
    const std::vector<std::vector<std::uint8_t>>& GetCelMipLevels(int cel) const;

    friend bool operator==(const CBitmapImage&, const CBitmapImage&) = default;

private:
    std::optional<BITMAPINFO> m_info;
    std::vector<std::uint8_t> m_bits;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    int m_celCount = 1;
    // Per cel, its mip levels from the material file (see GetCelMipLevels); empty when none has.
    std::vector<std::vector<std::vector<std::uint8_t>>> m_celMipLevels;
};
