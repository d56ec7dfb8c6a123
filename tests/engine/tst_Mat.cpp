// The material reader and writer of the bitmap image.

#include "engine/BitmapImage.h"
#include "framework/Exceptions.h"

#include "ImageBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace {

using imagebytes::Mat;
using imagebytes::MatLayout;
using imagebytes::Palette;

std::uint32_t U32At(const Bytes& b, std::size_t at)
{
    std::uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

void PutU32(Bytes& b, std::size_t at, std::uint32_t v)
{
    std::memcpy(b.data() + at, &v, 4);
}

CBitmapImage ReadMat(const Bytes& file, const CPalette& palette = Palette(0))
{
    CBitmapImage image;
    image.ReadMat(file, palette, "test.mat");
    return image;
}

TEST(Mat, TwoCelsOf64By64)
{
    MatLayout layout;
    layout.width = 64;
    layout.height = 64;
    layout.cels = 2;
    const CBitmapImage image = ReadMat(Mat(layout));
    EXPECT_EQ(image.GetWidth(), 64);
    EXPECT_EQ(image.GetHeight(), 64);
    EXPECT_EQ(image.GetCelCount(), 2);
    EXPECT_EQ(image.GetInfo()->bmiHeader.biHeight, 64);
    ASSERT_EQ(image.GetBits().size(), 8192u);
    // Cel 0 first, each in file order.
    EXPECT_EQ(image.GetBits()[0], imagebytes::DefaultPixel(0, 0, 0));
    EXPECT_EQ(image.GetBits()[64 * 3 + 5], imagebytes::DefaultPixel(5, 3, 0));
    EXPECT_EQ(image.GetBits()[4096 + 64 * 3 + 5], imagebytes::DefaultPixel(5, 3, 1));
}

TEST(Mat, ColourMaterialFillsWithTheIndexOfItsLastRecord)
{
    struct Case {
        std::vector<std::uint8_t> indices;
        std::uint8_t expected;
    };
    for (const Case& c : {Case{{17}, 17}, Case{{3, 9, 17}, 17}, Case{{17, 0}, 0}}) {
        Bytes file = imagebytes::ColorMat(c.indices);
        // The header's bit depth does not matter for a colour material.
        PutU32(file, 24, 16);
        const CBitmapImage image = ReadMat(file, Palette(2));
        EXPECT_EQ(image.GetWidth(), 256);
        EXPECT_EQ(image.GetHeight(), 256);
        EXPECT_EQ(image.GetCelCount(), 1);
        EXPECT_EQ(image.GetBitsPerPixel(), 8);
        ASSERT_EQ(image.GetBits().size(), 65536u);
        EXPECT_EQ(image.GetBits(), std::vector<std::uint8_t>(65536, c.expected));
        EXPECT_EQ(image.GetInfo()->bmiColors[17].rgbRed, Palette(2)[51]);
    }
}

TEST(Mat, WriteMatLayout)
{
    CBitmapImage image;
    std::vector<std::uint8_t> pixels(32 * 16);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 7);
    image.CreateFromBits(Palette(0), pixels, 32, 16, 8);
    const Bytes mat = image.WriteMat();
    ASSERT_EQ(mat.size(), 652u);  // 76 + 40 + 24 + 512
    EXPECT_EQ(std::string(mat.begin(), mat.begin() + 4), "MAT ");
    const std::pair<std::size_t, std::uint32_t> fields[] = {{4, 0x32},
                                                            {8, 2},
                                                            {12, 1},
                                                            {16, 1},
                                                            {20, 0},
                                                            {24, 8},
                                                            // the record
                                                            {76, 8},
                                                            {80, 0},
                                                            {84, 0x3F800000},
                                                            {96, 0x3F800000},
                                                            {100, 0},
                                                            {104, 0},
                                                            {108, 0xBFF78482},
                                                            {112, 0},
                                                            // the texture header
                                                            {116, 32},
                                                            {120, 16},
                                                            {124, 0},
                                                            {128, 0},
                                                            {132, 0},
                                                            {136, 1}};
    for (const auto& [at, value] : fields)
        EXPECT_EQ(U32At(mat, at), value) << "offset " << at;
    for (std::size_t i = 28; i < 76; ++i)
        EXPECT_EQ(mat[i], 0) << i;
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), mat.begin() + 140));
}

// ReadMat(WriteMat(x)) == x, including widths that are no multiple of 4, several cels and the
// file's own mip levels.
TEST(Mat, RoundTrip)
{
    struct Case {
        int width, height, cels, mipCount = 1;
    };
    for (const Case c : {Case{32, 16, 1}, Case{1, 1, 1}, Case{5, 3, 1}, Case{7, 9, 3},
                         Case{64, 64, 2}, Case{6, 2, 4}, Case{8, 4, 2, 3}, Case{5, 3, 1, 2}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " x " << c.cels
                                        << ", levels " << c.mipCount);
        MatLayout layout;
        layout.width = c.width;
        layout.height = c.height;
        layout.cels = c.cels;
        layout.mipCount = c.mipCount;
        const CBitmapImage image = ReadMat(Mat(layout), Palette(4));
        const Bytes written = image.WriteMat();
        EXPECT_EQ(written, Mat(layout));
        EXPECT_EQ(ReadMat(written, Palette(4)), image);
    }
}

// Widths that are no multiple of 4: each row lands at its padded place, no shear.
TEST(Mat, OddWidthsDecodeWithoutShearing)
{
    for (const int width : {1, 2, 3, 5, 6, 7, 9, 31}) {
        SCOPED_TRACE(width);
        MatLayout layout;
        layout.width = width;
        layout.height = 5;
        layout.cels = 2;
        const CBitmapImage image = ReadMat(Mat(layout));
        EXPECT_EQ(image.GetStride(), (width + 3) & ~3);
        for (int c = 0; c < 2; ++c)
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < width; ++x)
                    ASSERT_EQ(image.GetPixel(c, x, y), imagebytes::DefaultPixel(x, y, c))
                        << c << ": " << x << "," << y;
    }
}

TEST(Mat, FurtherMipLevelsAndEmptyTexturesAreSkipped)
{
    MatLayout layout;
    layout.width = 8;
    layout.height = 4;
    layout.cels = 3;
    layout.mipCount = 4;  // 8x4, 4x2, 2x1, 1x1
    const CBitmapImage image = ReadMat(Mat(layout));
    EXPECT_EQ(image.GetCelCount(), 3);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(image.GetPixel(c, 7, 3), imagebytes::DefaultPixel(7, 3, c));

    // A texture header with mip count 0 carries no pixels and makes no cel.
    ByteBuilder out;
    imagebytes::MatHeader(out, 2, 2, 8);
    out.Zeros(80);
    out.I32(2).I32(2).U32(0).U32(0).U32(0).I32(0);
    out.I32(2).I32(2).U32(0).U32(0).U32(0).I32(1).U8(1).U8(2).U8(3).U8(4);
    const CBitmapImage one = ReadMat(out.b);
    EXPECT_EQ(one.GetCelCount(), 1);
    EXPECT_EQ(one.GetCelPixels(0), (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

// The mip levels after each cel are kept when they form a chain that lies in the file; a count
// that does not fit the size or the file costs the levels only, and the cels read as before.
TEST(Mat, MipLevels)
{
    // The levels' bytes as the file has them (16-bit texels are turned 5-5-5: SixteenBitTexture).
    const auto levelSizes = [](const CBitmapImage& image, int cel) {
        std::vector<std::size_t> sizes;
        for (const auto& level : image.GetCelMipLevels(cel)) {
            sizes.push_back(level.size());
            if (image.GetBitsPerPixel() == 8) {
                for (const std::uint8_t b : level)
                    EXPECT_EQ(b, 0xEE);
            }
        }
        return sizes;
    };
    struct Case {
        const char* what;
        int width, height, cels, bitsPerPixel, mipCount;
        std::size_t cut;                 // bytes taken off the file's end
        std::vector<std::size_t> sizes;  // of every cel's levels
    };
    const Case cases[] = {
        {"down to 1 x 1", 8, 4, 3, 8, 4, 0, {8, 2, 1}},
        {"part of the chain", 8, 8, 2, 8, 2, 0, {16}},
        {"odd sizes round down", 5, 3, 1, 8, 3, 0, {2, 1}},
        {"16 bits", 4, 4, 1, 16, 3, 0, {8, 2}},
        {"one level more than the size has", 8, 4, 2, 8, 5, 0, {}},
        {"none", 8, 8, 2, 8, 1, 0, {}},
        {"the last cel's levels cut short", 8, 4, 2, 8, 3, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MatLayout layout;
        layout.width = c.width;
        layout.height = c.height;
        layout.cels = c.cels;
        layout.bitsPerPixel = c.bitsPerPixel;
        layout.mipCount = c.mipCount;
        Bytes file = Mat(layout);
        file.resize(file.size() - c.cut);
        const CBitmapImage image = ReadMat(file);
        ASSERT_EQ(image.GetCelCount(), c.cels);
        for (int cel = 0; cel < c.cels; ++cel) {
            if (c.bitsPerPixel == 8) {  // each cel found where the levels before it end
                EXPECT_EQ(image.GetPixel(cel, 1, 1), imagebytes::DefaultPixel(1, 1, cel));
            }
            // With a cut file the first cels keep theirs; the cut one has none.
            const bool cutHere = c.cut > 0 && cel == c.cels - 1;
            if (c.cut > 0 && !cutHere)
                EXPECT_FALSE(image.GetCelMipLevels(cel).empty()) << cel;
            else
                EXPECT_EQ(levelSizes(image, cel), c.sizes) << cel;
        }
        EXPECT_TRUE(image.GetCelMipLevels(c.cels).empty());
    }

    // A mip count past the end of the file: the one cel stands without levels; before another
    // cel it hides that cel's header, which is an error.
    MatLayout one;
    Bytes file = Mat(one);
    PutU32(file, 136, 0x7FFFFFFF);
    const CBitmapImage image = ReadMat(file);
    EXPECT_EQ(image.GetCelCount(), 1);
    EXPECT_TRUE(image.GetCelMipLevels(0).empty());
    one.cels = 2;
    file = Mat(one);
    PutU32(file, 76 + 2 * 40 + 20, 0x7FFFFFFF);  // the first mip count
    try {
        ReadMat(file);
        ADD_FAILURE() << "no error";
    } catch (const CArchiveException& e) {
        EXPECT_NE(std::string(e.what()).find("mip levels of texture 0"), std::string::npos)
            << e.what();
    }

    // Cels edited afterwards lose the file's levels: they no longer belong to them.
    MatLayout two;
    two.cels = 2;
    two.mipCount = 2;
    CBitmapImage edited = ReadMat(Mat(two));
    ASSERT_FALSE(edited.GetCelMipLevels(1).empty());
    ASSERT_TRUE(edited.ReplaceCels(edited.GetBits(), 2));
    EXPECT_TRUE(edited.GetCelMipLevels(1).empty());
}

TEST(Mat, SixteenBitTexture)
{
    MatLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.bitsPerPixel = 16;
    layout.pixel = [](int x, int, int) { return static_cast<std::uint8_t>(x == 0 ? 0xFF : 0x00); };
    const CBitmapImage image = ReadMat(Mat(layout));
    EXPECT_EQ(image.GetBitsPerPixel(), 16);
    EXPECT_EQ(image.GetWidth(), 3);
    ASSERT_EQ(image.GetRowBytes(), 8u);
    const auto& bits = image.GetBits();
    EXPECT_EQ(bits[0] | (bits[1] << 8), 0x7FFF);  // 0xFFFF
    EXPECT_EQ(bits[2] | (bits[3] << 8), 0x0000);
    EXPECT_EQ(bits[8] | (bits[9] << 8), 0x7FFF);  // the second row
    // A 16-bit image is not written as a material.
    EXPECT_THROW(image.WriteMat(), CArchiveException);

    // The file's own mip levels are held as level 0 is, 5-6-5 turned 5-5-5: a level of the same
    // texels as level 0 reads as the same words.
    layout.width = 2;
    layout.pixel = [](int, int, int) { return std::uint8_t{0xEE}; };
    layout.mipCount = 2;
    const CBitmapImage mipped = ReadMat(Mat(layout));
    ASSERT_EQ(mipped.GetCelMipLevels(0).size(), 1u);
    const std::vector<std::uint8_t>& level = mipped.GetCelMipLevels(0)[0];
    ASSERT_EQ(level.size(), 2u);  // 1 x 1
    EXPECT_EQ(level[0] | (level[1] << 8), mipped.GetBits()[0] | (mipped.GetBits()[1] << 8));
    EXPECT_NE(level[0] | (level[1] << 8), 0xEEEE);
}

// An image read again, or brought to another palette, keeps no levels of what it was, and its
// levels follow the palette.
TEST(Mat, MipLevelsFollowTheImage)
{
    MatLayout layout;
    layout.mipCount = 2;
    CBitmapImage image = ReadMat(Mat(layout));
    ASSERT_FALSE(image.GetCelMipLevels(0).empty());
    // Every colour of the target palette is black but index 9: every index goes to 0 or 9.
    CPalette target{};
    target[9 * 3] = 255;
    target[9 * 3 + 1] = 255;
    target[9 * 3 + 2] = 255;
    image.ReducePalette(target);
    for (const std::uint8_t c : image.GetCelMipLevels(0)[0])
        EXPECT_TRUE(c == 0 || c == 9) << int{c};
    image.CreateFromBits(target, std::vector<std::uint8_t>(16, 1), 4, 4, 8);
    EXPECT_TRUE(image.GetCelMipLevels(0).empty());
}

// Damaged and hostile materials raise an error naming the file, never allocate what they claim,
// never hang, and leave the image as it was.
TEST(Mat, HostileFiles)
{
    const Bytes good = Mat(MatLayout{});  // 8 x 8, one cel
    auto changed = [&](std::size_t at, std::uint32_t value) {
        Bytes b = good;
        PutU32(b, at, value);
        return b;
    };
    // Offsets: 12 record count, 24 bits per pixel, 116 width, 120 height, 136 mip count.
    struct Case {
        const char* what;
        Bytes file;
    };
    ByteBuilder differing;
    imagebytes::MatHeader(differing, 2, 2, 8);
    differing.Zeros(80);
    differing.I32(2).I32(2).Zeros(12).I32(1).U32(0x01010101);
    differing.I32(3).I32(2).Zeros(12).I32(1).Zeros(6);
    ByteBuilder noPixels;
    imagebytes::MatHeader(noPixels, 2, 1, 8);
    noPixels.Zeros(40).I32(4).I32(4).Zeros(12).I32(0);
    ByteBuilder sizeZero;
    imagebytes::MatHeader(sizeZero, 2, 0x7FFFFFFF, 8);
    sizeZero.Zeros(64 * 4);
    const Case cases[] = {
        {"empty", Bytes{}},
        {"header cut", Bytes(good.begin(), good.begin() + 75)},
        {"record count 2^31", changed(12, 0x80000000)},
        {"record count 2^32 - 1", changed(12, 0xFFFFFFFF)},
        {"record count one too many", changed(12, 2)},
        {"textures of size 0, count 2^31 - 1", sizeZero.b},
        {"24 bits per pixel", changed(24, 24)},
        {"0 bits per pixel", changed(24, 0)},
        {"width 0", changed(116, 0)},
        {"height 0", changed(120, 0)},
        {"width 2^31", changed(116, 0x80000000)},
        {"height 2^32 - 1", changed(120, 0xFFFFFFFF)},
        {"width larger than the file", changed(116, 60000)},
        {"cels of different sizes", differing.b},
        {"no texture with pixels", noPixels.b},
        {"colour material without records", imagebytes::ColorMat({})},
        {"colour records past the end",
         [] {
             Bytes b = imagebytes::ColorMat({1, 2});
             PutU32(b, 12, 0x40000000);
             return b;
         }()},
    };
    MatLayout keep;
    keep.width = 3;
    const CBitmapImage before = ReadMat(Mat(keep));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CBitmapImage image = before;
        try {
            image.ReadMat(c.file, Palette(0), "hostile.mat");
            ADD_FAILURE() << "no error";
        } catch (const CArchiveException& e) {
            EXPECT_NE(std::string(e.what()).find("hostile.mat"), std::string::npos) << e.what();
        }
        EXPECT_EQ(image, before);
    }

    // Every truncation of good files: one cel, several cels with mip levels, a colour material.
    // Only the last cel's mip levels may be cut (see MipLevels), so they are left whole here.
    MatLayout mips;
    mips.width = 5;
    mips.height = 3;
    mips.cels = 2;
    mips.mipCount = 2;
    const Bytes withMips = Mat(mips);
    for (const Bytes& file :
         {good, Bytes(withMips.begin(), withMips.end() - 2), imagebytes::ColorMat({4, 5})}) {
        for (std::size_t n = 0; n < file.size(); ++n) {
            CBitmapImage image = before;
            EXPECT_THROW(image.ReadMat(std::span(file).first(n), Palette(0), "cut.mat"),
                         CArchiveException)
                << n;
            EXPECT_EQ(image, before);
        }
    }
}

TEST(Mat, WriteMatOfAnEmptyImageIsRefused)
{
    EXPECT_THROW(CBitmapImage{}.WriteMat(), CArchiveException);
}

}  // namespace
