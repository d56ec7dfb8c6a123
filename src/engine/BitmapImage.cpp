#include "engine/BitmapImage.h"

#include "framework/CFormat.h"
#include "framework/Exceptions.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <utility>

namespace {

std::string Described(std::string_view fileName, const char* kind)
{
    return fileName.empty() ? std::string(kind) : std::string(fileName);
}

[[noreturn]] void Fail(CArchiveException::Cause cause, std::string_view fileName, const char* kind,
                       const std::string& what)
{
    throw CArchiveException(cause, Described(fileName, kind) + ": " + what);
}

// Little-endian reading from a byte span; running past its end throws end-of-file naming the
// file.
class CByteReader {
public:
    CByteReader(std::span<const std::uint8_t> data, std::string_view fileName, const char* kind)
        : m_data(data), m_fileName(fileName), m_kind(kind)
    {}

    std::size_t Position() const { return m_pos; }
    std::size_t Remaining() const { return m_data.size() - m_pos; }

    // Moves to pos, which the caller has checked to lie within the data.
    void Seek(std::size_t pos) { m_pos = std::min(pos, m_data.size()); }

    std::span<const std::uint8_t> Take(std::size_t size)
    {
        if (size > Remaining())
            EndOfFile(size);
        const std::span<const std::uint8_t> bytes = m_data.subspan(m_pos, size);
        m_pos += size;
        return bytes;
    }

    void Skip(std::size_t size) { Take(size); }

    std::uint16_t U16()
    {
        const auto b = Take(2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }

    std::uint32_t U32()
    {
        const auto b = Take(4);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }

    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

private:
    [[noreturn]] void EndOfFile(std::size_t wanted) const
    {
        Fail(CArchiveException::endOfFile, m_fileName, m_kind,
             FormatC("the file ends early (%zu bytes wanted at offset %zu, %zu there)", wanted,
                     m_pos, Remaining()));
    }

    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    std::string_view m_fileName;
    const char* m_kind;
};

class CByteWriter {
public:
    explicit CByteWriter(std::size_t reserve) { m_out.reserve(reserve); }

    void U8(std::uint8_t v) { m_out.push_back(v); }
    void U16(std::uint16_t v)
    {
        U8(static_cast<std::uint8_t>(v & 0xFF));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v)
    {
        U16(static_cast<std::uint16_t>(v & 0xFFFF));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F32(float v)
    {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    void Bytes(std::span<const std::uint8_t> bytes)
    {
        m_out.insert(m_out.end(), bytes.begin(), bytes.end());
    }
    void Zeros(std::size_t n) { m_out.insert(m_out.end(), n, 0); }

    std::vector<std::uint8_t> Take() { return std::move(m_out); }

private:
    std::vector<std::uint8_t> m_out;
};

std::size_t RowBytesFor(int stride, int bitsPerPixel)
{
    return static_cast<std::size_t>(stride) * static_cast<std::size_t>(bitsPerPixel / 8);
}

int StrideFor(int width)
{
    return (width + 3) & ~3;
}

// 5-6-5 to 5-5-5: red and green move down one bit, the lowest green bit is dropped.
std::uint16_t Convert565To555(std::uint16_t p)
{
    return static_cast<std::uint16_t>(((p & 0xFFC0) >> 1) | (p & 0x1F));
}

}  // namespace

std::size_t CBitmapImage::GetRowBytes() const
{
    return IsEmpty() ? 0 : RowBytesFor(m_stride, GetBitsPerPixel());
}

std::size_t CBitmapImage::GetCelBytes() const
{
    return GetRowBytes() * static_cast<std::size_t>(m_height);
}

std::uint8_t CBitmapImage::GetPixel(int cel, int x, int y) const
{
    const std::size_t at = static_cast<std::size_t>(cel) * GetCelBytes() +
                           static_cast<std::size_t>(y) * GetRowBytes() +
                           static_cast<std::size_t>(x);
    return at < m_bits.size() && cel >= 0 && x >= 0 && y >= 0 ? m_bits[at] : 0;
}

std::vector<std::uint8_t> CBitmapImage::GetCelPixels(int cel) const
{
    std::vector<std::uint8_t> pixels;
    if (IsEmpty() || cel < 0 || cel >= m_celCount)
        return pixels;
    const std::size_t rowBytes = GetRowBytes();
    const std::size_t used =
        static_cast<std::size_t>(m_width) * static_cast<std::size_t>(GetBitsPerPixel() / 8);
    pixels.reserve(used * static_cast<std::size_t>(m_height));
    const std::uint8_t* row = m_bits.data() + static_cast<std::size_t>(cel) * GetCelBytes();
    for (int y = 0; y < m_height; ++y, row += rowBytes)
        pixels.insert(pixels.end(), row, row + used);
    return pixels;
}

bool CBitmapImage::ReplaceCels(std::vector<std::uint8_t> bits, int celCount)
{
    if (IsEmpty() || celCount < 1 ||
        static_cast<std::size_t>(celCount) >
            bits.size() / std::max<std::size_t>(GetCelBytes(), 1) ||
        bits.size() != static_cast<std::size_t>(celCount) * GetCelBytes())
        return false;
    m_bits = std::move(bits);
    m_celCount = celCount;
    m_celMipLevels.clear();
    return true;
}

const std::vector<std::vector<std::uint8_t>>& CBitmapImage::GetCelMipLevels(int cel) const
{
    static const std::vector<std::vector<std::uint8_t>> kNone;
    if (cel < 0 || static_cast<std::size_t>(cel) >= m_celMipLevels.size())
        return kNone;
    return m_celMipLevels[static_cast<std::size_t>(cel)];
}

void CBitmapImage::CreateFromBits(const CPalette& palette, std::span<const std::uint8_t> pixels,
                                  int width, int height, int bitsPerPixel)
{
    if (bitsPerPixel != 8 && bitsPerPixel != 16)
        Fail(CArchiveException::badFormat, {}, "image",
             FormatC("%d bits per pixel cannot be held (8 or 16)", bitsPerPixel));
    if (width < 1 || height < 1 || width > kMaxDimension)
        Fail(CArchiveException::badFormat, {}, "image",
             FormatC("an image of %d x %d pixels cannot be held", width, height));
    const std::size_t bytesPerPixel = static_cast<std::size_t>(bitsPerPixel / 8);
    const std::size_t usedRow = static_cast<std::size_t>(width) * bytesPerPixel;
    if (pixels.size() / usedRow < static_cast<std::size_t>(height))
        Fail(CArchiveException::badFormat, {}, "image",
             FormatC("%zu bytes are too few for %d x %d pixels", pixels.size(), width, height));

    const int stride = StrideFor(width);
    const std::size_t rowBytes = RowBytesFor(stride, bitsPerPixel);
    std::vector<std::uint8_t> bits(rowBytes * static_cast<std::size_t>(height), 0);
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        const std::uint8_t* from = pixels.data() + y * usedRow;
        std::uint8_t* to = bits.data() + y * rowBytes;
        if (bitsPerPixel == 8) {
            std::memcpy(to, from, usedRow);
            continue;
        }
        for (std::size_t x = 0; x < usedRow; x += 2) {
            const auto p = static_cast<std::uint16_t>(from[x] | (from[x + 1] << 8));
            const std::uint16_t q = Convert565To555(p);
            to[x] = static_cast<std::uint8_t>(q & 0xFF);
            to[x + 1] = static_cast<std::uint8_t>(q >> 8);
        }
    }

    BITMAPINFO info;
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<std::uint16_t>(bitsPerPixel);
    if (bitsPerPixel == 8) {
        for (std::size_t i = 0; i < 256; ++i) {
            info.bmiColors[i].rgbRed = palette[3 * i];
            info.bmiColors[i].rgbGreen = palette[3 * i + 1];
            info.bmiColors[i].rgbBlue = palette[3 * i + 2];
            info.bmiColors[i].rgbReserved = 0;
        }
    }

    m_info = info;
    m_bits = std::move(bits);
    m_width = width;
    m_height = height;
    m_stride = stride;
    m_celCount = 1;
    m_celMipLevels.clear();
}

void CBitmapImage::ReducePalette(const CPalette& target)
{
    if (IsEmpty() || GetBitsPerPixel() != 8)
        return;
    std::array<int, 256> mapped;
    mapped.fill(-1);
    const auto mapIndex = [&](std::uint8_t c) {
        if (mapped[c] < 0) {
            const RGBQUAD& own = m_info->bmiColors[c];
            long best = -1;
            int bestIndex = 0;
            for (int t = 0; t < 256; ++t) {
                const std::size_t at = static_cast<std::size_t>(t) * 3;
                const long dr = static_cast<long>(target[at]) - own.rgbRed;
                const long dg = static_cast<long>(target[at + 1]) - own.rgbGreen;
                const long db = static_cast<long>(target[at + 2]) - own.rgbBlue;
                const long d = dr * dr + dg * dg + db * db;
                if (best < 0 || d < best) {
                    best = d;
                    bestIndex = t;
                }
            }
            mapped[c] = bestIndex;
        }
        return static_cast<std::uint8_t>(mapped[c]);
    };
    const std::size_t rowBytes = GetRowBytes();
    const std::size_t rows =
        static_cast<std::size_t>(m_height) * static_cast<std::size_t>(m_celCount);
    for (std::size_t y = 0; y < rows; ++y) {
        std::uint8_t* row = m_bits.data() + y * rowBytes;
        for (std::size_t x = 0; x < static_cast<std::size_t>(m_width); ++x)
            row[x] = mapIndex(row[x]);
    }
    // The mip levels hold indices of the same palette.
    for (auto& cel : m_celMipLevels)
        for (auto& level : cel)
            for (std::uint8_t& c : level)
                c = mapIndex(c);
}

bool CBitmapImage::ReadBmp(std::span<const std::uint8_t> file, std::string_view fileName)
{
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
        return false;
    const char* kind = "BMP file";
    CByteReader in(file, fileName, kind);
    in.Skip(2);
    in.U32();  // the file size; the bytes really there count
    in.U16();
    in.U16();
    const std::uint32_t pixelOffset = in.U32();

    const std::uint32_t headerSize = in.U32();
    BITMAPINFOHEADER header;
    std::size_t paletteEntryBytes = 4;
    std::size_t paletteAt = 0;
    if (headerSize == 12) {
        // The old core header: 16-bit width and height, planes, bit count.
        header.biWidth = in.U16();
        header.biHeight = in.U16();
        header.biPlanes = in.U16();
        header.biBitCount = in.U16();
        paletteEntryBytes = 3;
        paletteAt = kBmpFileHeaderSize + 12;
    } else if (headerSize >= 40) {
        header.biWidth = in.I32();
        header.biHeight = in.I32();
        header.biPlanes = in.U16();
        header.biBitCount = in.U16();
        header.biCompression = in.U32();
        header.biSizeImage = in.U32();
        header.biXPelsPerMeter = in.I32();
        header.biYPelsPerMeter = in.I32();
        header.biClrUsed = in.U32();
        header.biClrImportant = in.U32();
        // Later header versions extend this one; the palette follows the whole header.
        paletteAt = kBmpFileHeaderSize + static_cast<std::size_t>(headerSize);
    } else {
        Fail(CArchiveException::badFormat, fileName, kind,
             FormatC("unknown information header of %u bytes", headerSize));
    }
    header.biSize = 40;

    if (header.biBitCount != 8)
        Fail(CArchiveException::badFormat, fileName, kind,
             FormatC("a BMP of %u bits per pixel; only 8-bit images can be read",
                     static_cast<unsigned>(header.biBitCount)));
    if (header.biCompression != 0)
        Fail(CArchiveException::badFormat, fileName, kind, "a compressed BMP cannot be read");
    const bool topDown = header.biHeight < 0;
    const std::int64_t height =
        topDown ? -static_cast<std::int64_t>(header.biHeight) : header.biHeight;
    if (header.biWidth < 1 || header.biWidth > kMaxDimension || height < 1 ||
        height > kMaxDimension)
        Fail(CArchiveException::badFormat, fileName, kind,
             FormatC("a size of %d x %d pixels is out of range", header.biWidth, header.biHeight));
    const std::uint32_t colorCount = header.biClrUsed != 0 ? header.biClrUsed : 256;
    if (colorCount > 256)
        Fail(CArchiveException::badFormat, fileName, kind,
             FormatC("%u palette colours are more than 256", colorCount));

    BITMAPINFO info;
    info.bmiHeader = header;
    info.bmiHeader.biHeight = static_cast<std::int32_t>(height);
    if (paletteAt > file.size())
        Fail(CArchiveException::endOfFile, fileName, kind,
             "the palette lies past the end of the file");
    in.Seek(paletteAt);
    for (std::uint32_t i = 0; i < colorCount; ++i) {
        const auto entry = in.Take(paletteEntryBytes);
        RGBQUAD& color = info.bmiColors[i];
        color.rgbBlue = entry[0];
        color.rgbGreen = entry[1];
        color.rgbRed = entry[2];
        color.rgbReserved = paletteEntryBytes == 4 ? entry[3] : 0;
    }

    const int width = header.biWidth;
    const int stride = StrideFor(width);
    const std::size_t rowBytes = static_cast<std::size_t>(stride);
    const std::size_t rows = static_cast<std::size_t>(height);
    if (pixelOffset > file.size())
        Fail(CArchiveException::endOfFile, fileName, kind,
             "the pixels lie past the end of the file");
    in.Seek(pixelOffset);
    const auto pixels = in.Take(rowBytes * rows);
    std::vector<std::uint8_t> bits(pixels.begin(), pixels.end());
    // The padding of each row carries no pixels; it is held as zeros like every other image's.
    for (std::size_t y = 0; y < rows; ++y)
        std::fill(bits.begin() +
                      static_cast<std::ptrdiff_t>(y * rowBytes + static_cast<std::size_t>(width)),
                  bits.begin() + static_cast<std::ptrdiff_t>((y + 1) * rowBytes), std::uint8_t{0});
    if (topDown)
        for (std::size_t y = 0; y < rows / 2; ++y)
            std::swap_ranges(bits.begin() + static_cast<std::ptrdiff_t>(y * rowBytes),
                             bits.begin() + static_cast<std::ptrdiff_t>((y + 1) * rowBytes),
                             bits.begin() + static_cast<std::ptrdiff_t>((rows - 1 - y) * rowBytes));

    m_info = info;
    m_bits = std::move(bits);
    m_width = width;
    m_height = static_cast<int>(height);
    m_stride = stride;
    m_celCount = 1;
    m_celMipLevels.clear();
    return true;
}

std::vector<std::uint8_t> CBitmapImage::WriteBmp() const
{
    if (IsEmpty())
        Fail(CArchiveException::badFormat, {}, "image", "an empty image cannot be written");
    const BITMAPINFOHEADER& header = m_info->bmiHeader;
    // Rows of a BMP are padded to 4 bytes; for 8 bits that is the stride.
    const std::size_t usedRow =
        static_cast<std::size_t>(m_width) * static_cast<std::size_t>(GetBitsPerPixel() / 8);
    const std::size_t fileRow = (usedRow + 3) & ~std::size_t{3};
    const std::size_t pixelBytes = fileRow * static_cast<std::size_t>(m_height);
    const std::size_t offset = kBmpFileHeaderSize + kBmpInfoSize;

    CByteWriter out(offset + pixelBytes);
    out.U8('B');
    out.U8('M');
    out.U32(static_cast<std::uint32_t>(offset + pixelBytes));
    out.U16(0);
    out.U16(0);
    out.U32(static_cast<std::uint32_t>(offset));
    out.U32(header.biSize);
    out.I32(header.biWidth);
    out.I32(header.biHeight);
    out.U16(header.biPlanes);
    out.U16(header.biBitCount);
    out.U32(header.biCompression);
    out.U32(header.biSizeImage);
    out.I32(header.biXPelsPerMeter);
    out.I32(header.biYPelsPerMeter);
    out.U32(header.biClrUsed);
    out.U32(header.biClrImportant);
    for (const RGBQUAD& color : m_info->bmiColors) {
        out.U8(color.rgbBlue);
        out.U8(color.rgbGreen);
        out.U8(color.rgbRed);
        out.U8(color.rgbReserved);
    }
    const std::size_t rowBytes = GetRowBytes();
    for (std::size_t y = 0; y < static_cast<std::size_t>(m_height); ++y) {
        out.Bytes(std::span(m_bits).subspan(y * rowBytes, usedRow));
        out.Zeros(fileRow - usedRow);
    }
    return out.Take();
}

namespace {

// Bytes of mip level (from 1) of a texture of width x height pixels.
std::size_t MipLevelBytes(std::uint32_t width, std::uint32_t height, std::int32_t level,
                          std::size_t bytesPerPixel)
{
    const std::uint32_t w = level < 32 ? std::max<std::uint32_t>(width >> level, 1) : 1;
    const std::uint32_t h = level < 32 ? std::max<std::uint32_t>(height >> level, 1) : 1;
    return std::size_t{w} * h * bytesPerPixel;
}

// Levels from width x height down to 1 x 1, both included.
std::int32_t MipChainLength(std::uint32_t width, std::uint32_t height)
{
    std::int32_t length = 1;
    for (std::uint32_t side = std::max(width, height); side > 1; side >>= 1)
        ++length;
    return length;
}

}  // namespace

void CBitmapImage::ReadMat(std::span<const std::uint8_t> file, const CPalette& palette,
                           std::string_view fileName)
{
    const char* kind = "MAT file";
    CByteReader in(file, fileName, kind);
    if (file.size() < kMatHeaderSize)
        Fail(CArchiveException::endOfFile, fileName, kind,
             FormatC("%zu bytes are too few for a material header", file.size()));
    in.Skip(8);  // "MAT " and the version; the game does not check them either
    const std::uint32_t type = in.U32();
    const std::uint32_t recordCount = in.U32();
    in.U32();  // texture count
    in.U32();
    const std::uint32_t bitsPerPixel = in.U32();
    in.Skip(kMatHeaderSize - 28);

    CBitmapImage image;
    if (type == 0) {
        // A colour material: one palette index for the whole picture, from the last record.
        if (recordCount == 0)
            Fail(CArchiveException::badFormat, fileName, kind, "a colour material without records");
        if (recordCount > in.Remaining() / kMatColorRecordSize)
            Fail(CArchiveException::endOfFile, fileName, kind,
                 FormatC("%u colour records do not fit in the file", recordCount));
        const auto records = in.Take(static_cast<std::size_t>(recordCount) * kMatColorRecordSize);
        const std::uint8_t index = records[records.size() - kMatColorRecordSize + 4];
        const std::vector<std::uint8_t> pixels(256 * 256, index);
        image.CreateFromBits(palette, pixels, 256, 256, 8);
        *this = std::move(image);
        return;
    }

    if (bitsPerPixel != 8 && bitsPerPixel != 16)
        Fail(CArchiveException::badFormat, fileName, kind,
             FormatC("%u bits per pixel cannot be read (8 or 16)", bitsPerPixel));
    // Each record stands for a 40-byte record and a 24-byte texture header at least.
    if (recordCount > in.Remaining() / (kMatRecordSize + kMatTextureHeaderSize))
        Fail(CArchiveException::badFormat, fileName, kind,
             FormatC("%u textures do not fit in the file", recordCount));
    in.Skip(static_cast<std::size_t>(recordCount) * kMatRecordSize);

    const std::size_t bytesPerPixel = bitsPerPixel / 8;
    std::vector<std::uint8_t> pixels;
    std::uint32_t celWidth = 0;
    std::uint32_t celHeight = 0;
    int celCount = 0;
    std::vector<std::vector<std::vector<std::uint8_t>>> mipLevels;
    for (std::uint32_t r = 0; r < recordCount; ++r) {
        const std::uint32_t width = in.U32();
        const std::uint32_t height = in.U32();
        in.Skip(12);
        const std::int32_t mipCount = in.I32();
        if (mipCount <= 0)
            continue;  // a header without pixels
        if (width == 0 || height == 0 || width > static_cast<std::uint32_t>(kMaxDimension) ||
            height > static_cast<std::uint32_t>(kMaxDimension))
            Fail(CArchiveException::badFormat, fileName, kind,
                 FormatC("texture %u has the size %u x %u", r, width, height));
        if (celCount > 0 && (width != celWidth || height != celHeight))
            Fail(CArchiveException::badFormat, fileName, kind,
                 FormatC("texture %u is %u x %u, the first one %u x %u", r, width, height, celWidth,
                         celHeight));
        const auto cel = in.Take(std::size_t{width} * height * bytesPerPixel);
        pixels.insert(pixels.end(), cel.begin(), cel.end());
        // Further mip levels, each half as wide and high (at least 1). Each takes at least one
        // byte, so the count stops at the file's end.
        std::size_t mipBytes = 0;
        for (std::int32_t level = 1; level < mipCount && mipBytes <= in.Remaining(); ++level)
            mipBytes += MipLevelBytes(width, height, level, bytesPerPixel);
        std::vector<std::vector<std::uint8_t>> levels;
        if (mipBytes > in.Remaining()) {
            // Only the levels are cut short when nothing follows them; the full-size cel stands.
            if (r + 1 < recordCount)
                Fail(CArchiveException::endOfFile, fileName, kind,
                     FormatC("the mip levels of texture %u run past the end of the file", r));
            in.Skip(in.Remaining());
        } else if (mipCount <= MipChainLength(width, height)) {
            for (std::int32_t level = 1; level < mipCount; ++level) {
                const auto bytes = in.Take(MipLevelBytes(width, height, level, bytesPerPixel));
                std::vector<std::uint8_t>& kept = levels.emplace_back(bytes.begin(), bytes.end());
                // Held at the image's depth: 16-bit texels as 5-5-5, as CreateFromBits keeps
                // level 0.
                if (bytesPerPixel == 2)
                    for (std::size_t x = 0; x + 1 < kept.size(); x += 2) {
                        const std::uint16_t q = Convert565To555(
                            static_cast<std::uint16_t>(kept[x] | (kept[x + 1] << 8)));
                        kept[x] = static_cast<std::uint8_t>(q & 0xFF);
                        kept[x + 1] = static_cast<std::uint8_t>(q >> 8);
                    }
            }
        } else {
            // More levels than halvings down to 1 x 1: laid out as stated, but not a chain.
            in.Skip(mipBytes);
        }
        mipLevels.push_back(std::move(levels));
        celWidth = width;
        celHeight = height;
        ++celCount;
    }
    if (celCount == 0)
        Fail(CArchiveException::badFormat, fileName, kind, "the material holds no texture");
    if (std::size_t{celHeight} * static_cast<std::size_t>(celCount) > INT_MAX)
        Fail(CArchiveException::badFormat, fileName, kind,
             FormatC("%d cels of %u rows are too many", celCount, celHeight));

    image.CreateFromBits(palette, pixels, static_cast<int>(celWidth),
                         static_cast<int>(celHeight) * celCount, static_cast<int>(bitsPerPixel));
    if (celCount > 1) {
        image.m_height = static_cast<int>(celHeight);
        image.m_info->bmiHeader.biHeight = static_cast<std::int32_t>(celHeight);
        image.m_celCount = celCount;
    }
    if (std::any_of(mipLevels.begin(), mipLevels.end(), [](const auto& l) { return !l.empty(); }))
        image.m_celMipLevels = std::move(mipLevels);
    *this = std::move(image);
}

std::vector<std::uint8_t> CBitmapImage::WriteMat() const
{
    if (IsEmpty())
        Fail(CArchiveException::badFormat, {}, "image", "an empty image cannot be written");
    if (GetBitsPerPixel() != 8)
        Fail(CArchiveException::badFormat, {}, "image",
             "only 8-bit images can be written as a material");
    const auto cels = static_cast<std::uint32_t>(m_celCount);
    const std::size_t celPixels =
        static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height);
    CByteWriter out(kMatHeaderSize + cels * (kMatRecordSize + kMatTextureHeaderSize + celPixels));

    out.U8('M');
    out.U8('A');
    out.U8('T');
    out.U8(' ');
    out.U32(0x32);
    out.U32(2);  // a texture material
    out.U32(cels);
    out.U32(cels);
    out.U32(0);
    out.U32(8);
    out.Zeros(kMatHeaderSize - 28);

    for (std::uint32_t c = 0; c < cels; ++c) {
        out.U32(8);
        out.U32(0);
        for (int i = 0; i < 4; ++i)
            out.F32(1.0f);
        out.U32(0);
        out.U32(0);
        out.U32(0xBFF78482);
        out.U32(c);
    }
    const std::size_t rowBytes = GetRowBytes();
    const std::size_t celBytes = GetCelBytes();
    for (std::uint32_t c = 0; c < cels; ++c) {
        // The cel's mip levels from its file go back with it.
        const std::vector<std::vector<std::uint8_t>>& levels = GetCelMipLevels(static_cast<int>(c));
        out.I32(m_width);
        out.I32(m_height);
        out.U32(0);
        out.U32(0);
        out.U32(0);
        out.U32(static_cast<std::uint32_t>(1 + levels.size()));
        // Rows without the padding of the stride.
        for (std::size_t y = 0; y < static_cast<std::size_t>(m_height); ++y)
            out.Bytes(std::span(m_bits).subspan(c * celBytes + y * rowBytes,
                                                static_cast<std::size_t>(m_width)));
        for (const std::vector<std::uint8_t>& level : levels)
            out.Bytes(level);
    }
    return out.Take();
}
