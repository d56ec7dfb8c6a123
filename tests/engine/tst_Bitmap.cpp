// The bitmap image: building from raw pixels, the 16-bit conversion, palette reduction and the BMP
// reader and writer.

#include "engine/BitmapImage.h"
#include "framework/Exceptions.h"

#include "ImageBytes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using imagebytes::Palette;

std::vector<std::uint8_t> Pixels(int width, int height)
{
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(imagebytes::DefaultPixel(x, y, 0));
    return pixels;
}

CBitmapImage Image(int width, int height, int seed = 0)
{
    CBitmapImage image;
    image.CreateFromBits(Palette(seed), Pixels(width, height), width, height, 8);
    return image;
}

std::uint32_t U32At(const Bytes& b, std::size_t at)
{
    std::uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

// Rows of any width land in rows padded to a multiple of 4, pixel for pixel, the padding zero.
TEST(BitmapImage, CreateFromBitsCopiesRowsIntoThePaddedStride)
{
    struct Case {
        int width, height, stride;
    };
    for (const Case c : {Case{1, 1, 4}, Case{3, 5, 4}, Case{4, 2, 4}, Case{5, 3, 8}, Case{6, 7, 8},
                         Case{7, 2, 8}, Case{64, 64, 64}, Case{65, 2, 68}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const CBitmapImage image = Image(c.width, c.height);
        EXPECT_EQ(image.GetWidth(), c.width);
        EXPECT_EQ(image.GetHeight(), c.height);
        EXPECT_EQ(image.GetStride(), c.stride);
        EXPECT_EQ(image.GetCelCount(), 1);
        ASSERT_EQ(image.GetBits().size(), static_cast<std::size_t>(c.stride * c.height));
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(image.GetPixel(0, x, y), imagebytes::DefaultPixel(x, y, 0))
                    << x << "," << y;
            for (int x = c.width; x < c.stride; ++x)
                ASSERT_EQ(image.GetBits()[static_cast<std::size_t>(y * c.stride + x)], 0);
        }
        EXPECT_EQ(image.GetCelPixels(0), Pixels(c.width, c.height));

        const BITMAPINFO& info = *image.GetInfo();
        EXPECT_EQ(info.bmiHeader.biSize, 40u);
        EXPECT_EQ(info.bmiHeader.biWidth, c.width);
        EXPECT_EQ(info.bmiHeader.biHeight, c.height);
        EXPECT_EQ(info.bmiHeader.biPlanes, 1);
        EXPECT_EQ(info.bmiHeader.biBitCount, 8);
        EXPECT_EQ(info.bmiColors[2].rgbRed, Palette(0)[6]);
        EXPECT_EQ(info.bmiColors[2].rgbGreen, Palette(0)[7]);
        EXPECT_EQ(info.bmiColors[2].rgbBlue, Palette(0)[8]);
        EXPECT_EQ(info.bmiColors[2].rgbReserved, 0);
    }
}

// 16-bit pixels arrive as 5-6-5 and are held as 5-5-5; the palette is zeroed.
TEST(BitmapImage, SixteenBitPixelsBecomeFiveFiveFive)
{
    struct Case {
        std::uint16_t in, out;
    };
    for (const Case c :
         {Case{0xFFFF, 0x7FFF}, Case{0x07E0, 0x03E0}, Case{0xF800, 0x7C00}, Case{0x001F, 0x001F},
          Case{0x0020, 0x0000}, Case{0x0040, 0x0020}, Case{0x0000, 0x0000}}) {
        SCOPED_TRACE(testing::Message() << std::hex << c.in);
        // Three pixels: a width that is no multiple of 4, so the rows are padded.
        const std::vector<std::uint8_t> pixels = {static_cast<std::uint8_t>(c.in & 0xFF),
                                                  static_cast<std::uint8_t>(c.in >> 8),
                                                  0x1F,
                                                  0x00,
                                                  static_cast<std::uint8_t>(c.in & 0xFF),
                                                  static_cast<std::uint8_t>(c.in >> 8)};
        CBitmapImage image;
        image.CreateFromBits(Palette(3), pixels, 3, 1, 16);
        EXPECT_EQ(image.GetBitsPerPixel(), 16);
        ASSERT_EQ(image.GetRowBytes(), 8u);
        const auto& bits = image.GetBits();
        EXPECT_EQ(bits[0] | (bits[1] << 8), c.out);
        EXPECT_EQ(bits[2] | (bits[3] << 8), 0x001F);
        EXPECT_EQ(bits[4] | (bits[5] << 8), c.out);
        EXPECT_EQ(image.GetInfo()->bmiColors[5], RGBQUAD{});
    }
}

TEST(BitmapImage, CreateFromBitsRefusesWhatItCannotHold)
{
    struct Case {
        const char* what;
        std::size_t pixelBytes;
        int width, height, bpp;
    };
    const CBitmapImage before = Image(4, 4);
    for (const Case c :
         {Case{"too few pixels", 15, 4, 4, 8}, Case{"too few 16-bit", 31, 4, 4, 16},
          Case{"24 bits", 48, 4, 4, 24}, Case{"4 bits", 16, 4, 4, 4}, Case{"width 0", 16, 0, 4, 8},
          Case{"height 0", 16, 4, 0, 8}, Case{"negative", 16, -4, -4, 8}}) {
        SCOPED_TRACE(c.what);
        CBitmapImage image = before;
        const std::vector<std::uint8_t> pixels(c.pixelBytes, 1);
        EXPECT_THROW(image.CreateFromBits(Palette(0), pixels, c.width, c.height, c.bpp),
                     CArchiveException);
        EXPECT_EQ(image, before);
    }
}

TEST(BitmapImage, ReducePaletteMapsToTheNearestTargetEntry)
{
    // The image's own palette is the identity grey ramp; pixels 0..255 of a 16 x 16 image.
    CPalette grey{};
    for (int i = 0; i < 256; ++i)
        grey[static_cast<std::size_t>(3 * i)] = grey[static_cast<std::size_t>(3 * i) + 1] =
            grey[static_cast<std::size_t>(3 * i) + 2] = static_cast<std::uint8_t>(i);
    std::vector<std::uint8_t> pixels(256);
    for (int i = 0; i < 256; ++i)
        pixels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);

    // A target equal to the own palette changes nothing.
    CBitmapImage same;
    same.CreateFromBits(grey, pixels, 16, 16, 8);
    const CBitmapImage before = same;
    same.ReducePalette(grey);
    EXPECT_EQ(same, before);

    // A target of four greys (0, 85, 170, 255 at entries 10..13, the rest white at 255) maps each
    // grey to the nearest; 255 exists at entry 13 and at every later white entry: the first wins.
    CPalette four{};
    four.fill(255);
    const std::uint8_t levels[4] = {0, 85, 170, 255};
    for (int k = 0; k < 4; ++k)
        for (int j = 0; j < 3; ++j)
            four[static_cast<std::size_t>(3 * (10 + k) + j)] = levels[k];
    // Entries 0..9 are white too; make them red so they never win.
    for (int i = 0; i < 10; ++i) {
        four[static_cast<std::size_t>(3 * i)] = 255;
        four[static_cast<std::size_t>(3 * i) + 1] = 0;
        four[static_cast<std::size_t>(3 * i) + 2] = 0;
    }
    CBitmapImage image;
    image.CreateFromBits(grey, pixels, 16, 16, 8);
    image.ReducePalette(four);
    struct Case {
        int pixel, expected;
    };
    for (const Case c : {Case{0, 10}, Case{42, 10}, Case{43, 11}, Case{127, 11}, Case{128, 12},
                         Case{212, 12}, Case{213, 13}, Case{255, 13}})
        EXPECT_EQ(image.GetPixel(0, c.pixel % 16, c.pixel / 16), c.expected) << c.pixel;
    // The own palette stays.
    EXPECT_EQ(image.GetInfo()->bmiColors[200].rgbRed, 200);
}

TEST(BitmapImage, BmpRoundTrip)
{
    for (const auto& [width, height] :
         std::vector<std::pair<int, int>>{{1, 1}, {3, 2}, {4, 4}, {5, 7}, {64, 32}, {33, 1}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        const CBitmapImage image = Image(width, height, 9);
        const Bytes bmp = image.WriteBmp();
        const std::size_t stride = static_cast<std::size_t>((width + 3) & ~3);
        ASSERT_EQ(bmp.size(), 1078 + stride * static_cast<std::size_t>(height));
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        EXPECT_EQ(U32At(bmp, 2), bmp.size());
        EXPECT_EQ(U32At(bmp, 6), 0u);
        EXPECT_EQ(U32At(bmp, 10), 1078u);
        EXPECT_EQ(U32At(bmp, 14), 40u);

        CBitmapImage read;
        ASSERT_TRUE(read.ReadBmp(bmp, "round.bmp"));
        EXPECT_EQ(read, image);
    }
}

TEST(BitmapImage, WriteBmpWritesTheFirstCelAndRefusesAnEmptyImage)
{
    // A two-cel image from a material.
    imagebytes::MatLayout layout;
    layout.width = 6;
    layout.height = 3;
    layout.cels = 2;
    CBitmapImage image;
    image.ReadMat(imagebytes::Mat(layout), Palette(1), "two.mat");
    const Bytes bmp = image.WriteBmp();
    EXPECT_EQ(bmp.size(), 1078u + 8u * 3u);
    CBitmapImage read;
    ASSERT_TRUE(read.ReadBmp(bmp, "first.bmp"));
    EXPECT_EQ(read.GetCelCount(), 1);
    EXPECT_EQ(read.GetCelPixels(0), image.GetCelPixels(0));

    EXPECT_THROW(CBitmapImage{}.WriteBmp(), CArchiveException);
}

// A BMP built by hand: header of the given size, palette entries of entryBytes, rows of stride.
struct BmpLayout {
    std::uint32_t headerSize = 40;
    std::int32_t width = 3;
    std::int32_t height = 2;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::int64_t pixelOffset = -1;  // -1: right after the palette
};

Bytes Bmp(const BmpLayout& s)
{
    const std::size_t entryBytes = s.headerSize == 12 ? 3 : 4;
    const std::size_t colors = s.colorsUsed ? s.colorsUsed : 256;
    const std::size_t paletteEnd = 14 + s.headerSize + colors * entryBytes;
    const std::size_t offset =
        s.pixelOffset < 0 ? paletteEnd : static_cast<std::size_t>(s.pixelOffset);
    ByteBuilder out;
    out.Text("BM").U32(0).U16(0).U16(0).U32(static_cast<std::uint32_t>(offset)).U32(s.headerSize);
    if (s.headerSize == 12) {
        out.U16(static_cast<std::uint16_t>(s.width))
            .U16(static_cast<std::uint16_t>(s.height))
            .U16(1)
            .U16(s.bitCount);
    } else {
        out.I32(s.width)
            .I32(s.height)
            .U16(1)
            .U16(s.bitCount)
            .U32(s.compression)
            .U32(0)
            .I32(2835)
            .I32(2835)
            .U32(s.colorsUsed)
            .U32(0);
        if (s.headerSize > 40)
            out.Zeros(s.headerSize - 40);
    }
    for (std::size_t i = 0; i < colors; ++i) {
        out.U8(static_cast<std::uint8_t>(i))
            .U8(static_cast<std::uint8_t>(i + 1))
            .U8(static_cast<std::uint8_t>(i + 2));
        if (entryBytes == 4)
            out.U8(0);
    }
    // An offset far past the palette is only claimed, not filled.
    while (out.b.size() < offset && offset < paletteEnd + 4096)
        out.U8(0xAB);
    const int rows = s.height < 0 ? -s.height : s.height;
    const int stride = (s.width + 3) & ~3;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < stride; ++x)
            out.U8(x < s.width ? static_cast<std::uint8_t>(10 * y + x) : 0x5A);  // padding not 0
    return out.b;
}

TEST(BitmapImage, ReadBmpHeaderVariants)
{
    struct Case {
        const char* what;
        BmpLayout layout;
        bool flipped;
    };
    BmpLayout core;
    core.headerSize = 12;
    BmpLayout v5;
    v5.headerSize = 124;
    BmpLayout topDown;
    topDown.height = -2;
    BmpLayout sixteen;
    sixteen.colorsUsed = 16;
    BmpLayout gap;
    gap.pixelOffset = 14 + 40 + 1024 + 30;
    for (const Case& c :
         {Case{"info header", BmpLayout{}, false}, Case{"core header", core, false},
          Case{"version 5 header", v5, false}, Case{"top-down rows", topDown, true},
          Case{"16 colours used", sixteen, false}, Case{"gap before the pixels", gap, false}}) {
        SCOPED_TRACE(c.what);
        CBitmapImage image;
        ASSERT_TRUE(image.ReadBmp(Bmp(c.layout), c.what));
        EXPECT_EQ(image.GetWidth(), 3);
        EXPECT_EQ(image.GetHeight(), 2);
        EXPECT_EQ(image.GetStride(), 4);
        EXPECT_EQ(image.GetInfo()->bmiHeader.biSize, 40u);
        EXPECT_EQ(image.GetInfo()->bmiHeader.biHeight, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(image.GetPixel(0, x, c.flipped ? 1 - y : y), 10 * y + x);
        // The padding is held as zeros, so the image survives a write and a read.
        EXPECT_EQ(image.GetBits()[3], 0);
        EXPECT_EQ(image.GetBits()[7], 0);
        CBitmapImage again;
        ASSERT_TRUE(again.ReadBmp(image.WriteBmp(), "again.bmp"));
        EXPECT_EQ(again, image);
        // Entry 5: blue 5, green 6, red 7.
        const RGBQUAD& e = image.GetInfo()->bmiColors[5];
        EXPECT_EQ(e.rgbBlue, 5);
        EXPECT_EQ(e.rgbGreen, 6);
        EXPECT_EQ(e.rgbRed, 7);
        // Entries past the colours used are black.
        if (c.layout.colorsUsed == 16) {
            EXPECT_EQ(image.GetInfo()->bmiColors[16], RGBQUAD{});
        }
    }
}

TEST(BitmapImage, ReadBmpOfSomethingElseReturnsFalse)
{
    const CBitmapImage before = Image(2, 2);
    for (const Bytes& file : {Bytes{}, Bytes{'B'}, Bytes{'M', 'B', 0, 0}, Bytes{'P', 'K', 3, 4}}) {
        CBitmapImage image = before;
        EXPECT_FALSE(image.ReadBmp(file, "other.bmp"));
        EXPECT_EQ(image, before);
    }
}

// Damaged files raise an error naming the file and leave the image as it was.
TEST(BitmapImage, ReadBmpRefusesHostileFiles)
{
    struct Case {
        const char* what;
        BmpLayout layout;
    };
    auto with = [](auto change) {
        BmpLayout s;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"header size 20", with([](BmpLayout& s) { s.headerSize = 20; })},
        {"24 bits", with([](BmpLayout& s) { s.bitCount = 24; })},
        {"4 bits", with([](BmpLayout& s) { s.bitCount = 4; })},
        {"run-length compressed", with([](BmpLayout& s) { s.compression = 1; })},
        {"width 0", with([](BmpLayout& s) { s.width = 0; })},
        {"height 0", with([](BmpLayout& s) { s.height = 0; })},
        {"negative width", with([](BmpLayout& s) { s.width = -3; })},
        {"300 colours", with([](BmpLayout& s) { s.colorsUsed = 300; })},
        {"pixels past the end", with([](BmpLayout& s) { s.pixelOffset = 1 << 30; })},
    };
    const CBitmapImage before = Image(2, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CBitmapImage image = before;
        try {
            image.ReadBmp(Bmp(c.layout), "hostile.bmp");
            ADD_FAILURE() << "no error";
        } catch (const CArchiveException& e) {
            EXPECT_NE(std::string(e.what()).find("hostile.bmp"), std::string::npos) << e.what();
        }
        EXPECT_EQ(image, before);
    }

    // Sizes larger than the file: a claimed 60000 x 60000 picture in a few bytes, a header size
    // of 2^31, a huge width with height 1.
    Bytes huge = Bmp(BmpLayout{});
    std::memcpy(huge.data() + 18, "\x60\xEA\x00\x00\x60\xEA\x00\x00", 8);
    Bytes header = Bmp(BmpLayout{});
    std::memcpy(header.data() + 14, "\x00\x00\x00\x80", 4);
    Bytes wide = Bmp(BmpLayout{});
    std::memcpy(wide.data() + 18, "\xFF\xFF\xFF\x7F\x01\x00\x00\x00", 8);
    for (const Bytes& file : {huge, header, wide}) {
        CBitmapImage image = before;
        EXPECT_THROW(image.ReadBmp(file, "claims.bmp"), CArchiveException);
        EXPECT_EQ(image, before);
    }

    // Every truncation of a good file.
    const Bytes good = Image(5, 3).WriteBmp();
    for (std::size_t n = 2; n < good.size(); ++n) {
        CBitmapImage image = before;
        EXPECT_THROW(image.ReadBmp(std::span(good).first(n), "cut.bmp"), CArchiveException) << n;
        EXPECT_EQ(image, before);
    }
}

}  // namespace
