// Bitmaps to materials and back: a BMP becomes a MAT in a colour map's palette (each colour the
// nearest palette entry), a MAT the BMP of its first cel; a file cut short at any of its parts
// is refused with a message naming it.

#include "engine/BitmapImage.h"
#include "engine/MaterialConversion.h"
#include "framework/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Entry i is (i, 255 - i, i / 2).
CPalette Ramp()
{
    CPalette palette{};
    for (int i = 0; i < 256; ++i) {
        palette[static_cast<std::size_t>(i) * 3] = static_cast<std::uint8_t>(i);
        palette[static_cast<std::size_t>(i) * 3 + 1] = static_cast<std::uint8_t>(255 - i);
        palette[static_cast<std::size_t>(i) * 3 + 2] = static_cast<std::uint8_t>(i / 2);
    }
    return palette;
}

// A 5 x 3 picture whose own palette is Ramp() reversed, pixel (x, y) = 10 x + y.
Bytes SourceBmp()
{
    const CPalette ramp = Ramp();
    CPalette reversed{};
    for (std::size_t i = 0; i < 256; ++i)
        for (std::size_t c = 0; c < 3; ++c)
            reversed[i * 3 + c] = ramp[(255 - i) * 3 + c];
    Bytes pixels;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            pixels.push_back(static_cast<std::uint8_t>(10 * x + y));
    CBitmapImage image;
    image.CreateFromBits(reversed, pixels, 5, 3, 8);
    return image.WriteBmp();
}

}  // namespace

TEST(MaterialConversion, BitmapBecomesAMaterialInTheColourMapsPaletteAndBack)
{
    const Bytes mat = ConvertBmpToMat(SourceBmp(), Ramp(), "b.bmp");
    CBitmapImage material;
    material.ReadMat(mat, Ramp(), "b.mat");
    ASSERT_EQ(material.GetWidth(), 5);
    ASSERT_EQ(material.GetHeight(), 3);
    // Colour index c of the reversed palette is entry 255 - c of the ramp.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(material.GetPixel(0, x, y), 255 - (10 * x + y)) << x << "," << y;

    const Bytes bmp = ConvertMatToBmp(mat, Ramp(), "b.mat");
    CBitmapImage back;
    ASSERT_TRUE(back.ReadBmp(bmp, "b.bmp"));
    EXPECT_EQ(back.GetCelPixels(0), material.GetCelPixels(0));
    EXPECT_EQ(back.GetInfo()->bmiColors[7].rgbRed, 7);
    EXPECT_EQ(back.GetInfo()->bmiColors[7].rgbGreen, 248);
}

TEST(MaterialConversion, CutShortOrForeignInputIsRefusedNamingTheFile)
{
    const Bytes bmp = SourceBmp();
    const Bytes mat = ConvertBmpToMat(bmp, Ramp(), "b.bmp");
    struct Case {
        bool bitmap;
        std::size_t keep;
    };
    const Case cases[] = {
        {true, 2},  {true, 14},  {true, 54},  {true, 1078}, {true, bmp.size() - 1},
        {false, 0}, {false, 40}, {false, 76}, {false, 116}, {false, mat.size() - 1},
    };
    for (const Case& c : cases) {
        const Bytes& whole = c.bitmap ? bmp : mat;
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(c.keep));
        try {
            if (c.bitmap)
                ConvertBmpToMat(cut, Ramp(), "cut.bmp");
            else
                ConvertMatToBmp(cut, Ramp(), "cut.mat");
            ADD_FAILURE() << (c.bitmap ? "bmp " : "mat ") << c.keep << " bytes accepted";
        } catch (const CArchiveException& e) {
            EXPECT_NE(std::string(e.what()).find(c.bitmap ? "cut.bmp" : "cut.mat"),
                      std::string::npos)
                << e.what();
        }
    }
    EXPECT_THROW(ConvertBmpToMat(mat, Ramp(), "not.bmp"), CArchiveException);
}
