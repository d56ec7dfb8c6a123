// Editing the cels of an animated material and keeping it among the level's own files.

#include "engine/MaterialCels.h"
#include "framework/Exceptions.h"
#include "resources/Tree.h"
#include "resources/TreeObject.h"

#include "ImageBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using imagebytes::Mat;
using imagebytes::MatLayout;
using imagebytes::Palette;

// An 8-bit image of cels whose every pixel of cel c holds marks[c]; the width (6) is not a
// multiple of 4, so the cels carry row padding.
CBitmapImage Cels(const std::vector<std::uint8_t>& marks, int width = 6, int height = 3)
{
    MatLayout layout;
    layout.width = width;
    layout.height = height;
    layout.cels = static_cast<int>(marks.size());
    layout.pixel = [&marks](int, int, int c) { return marks[static_cast<std::size_t>(c)]; };
    CBitmapImage image;
    image.ReadMat(Mat(layout), Palette(0), "cels.mat");
    return image;
}

// The mark of every cel (its first pixel), checking that each cel is uniform.
std::vector<std::uint8_t> Marks(const CBitmapImage& image)
{
    std::vector<std::uint8_t> marks;
    for (int c = 0; c < image.GetCelCount(); ++c) {
        const std::vector<std::uint8_t> pixels = image.GetCelPixels(c);
        EXPECT_EQ(pixels.size(), static_cast<std::size_t>(image.GetWidth() * image.GetHeight()));
        for (const std::uint8_t p : pixels)
            EXPECT_EQ(p, pixels.front()) << "cel " << c;
        marks.push_back(pixels.front());
    }
    return marks;
}

std::unique_ptr<CTreeObject> File(const std::string& name, std::size_t size)
{
    auto file = std::make_unique<CTreeObject>(name, std::vector<std::uint8_t>(size, 0x11), 0);
    file->m_path = "mat\\" + name;
    return file;
}

TEST(MaterialCels, AppendDeleteAndSwap)
{
    CBitmapImage image = Cels({10, 20, 30});
    ASSERT_TRUE(AppendCels(image, Cels({40, 50})));
    EXPECT_EQ(Marks(image), (std::vector<std::uint8_t>{10, 20, 30, 40, 50}));

    // Deleting the second of three leaves the first and the third.
    CBitmapImage three = Cels({1, 2, 3});
    ASSERT_TRUE(DeleteCel(three, 1));
    EXPECT_EQ(Marks(three), (std::vector<std::uint8_t>{1, 3}));
    ASSERT_TRUE(DeleteCel(three, 1));
    EXPECT_EQ(Marks(three), (std::vector<std::uint8_t>{1}));

    CBitmapImage swapped = Cels({1, 2, 3});
    ASSERT_TRUE(SwapCels(swapped, 0, 1));
    ASSERT_TRUE(SwapCels(swapped, 1, 2));
    EXPECT_EQ(Marks(swapped), (std::vector<std::uint8_t>{2, 3, 1}));
}

TEST(MaterialCels, RefusedEditsLeaveTheImage)
{
    const CBitmapImage original = Cels({1, 2});
    struct Case {
        const char* what;
        std::function<bool(CBitmapImage&)> edit;
    };
    const Case cases[] = {
        {"append of another width", [](CBitmapImage& i) { return AppendCels(i, Cels({9}, 8, 3)); }},
        {"append of another height",
         [](CBitmapImage& i) { return AppendCels(i, Cels({9}, 6, 4)); }},
        {"append of an empty image", [](CBitmapImage& i) { return AppendCels(i, CBitmapImage{}); }},
        {"delete out of range", [](CBitmapImage& i) { return DeleteCel(i, 2); }},
        {"delete below 0", [](CBitmapImage& i) { return DeleteCel(i, -1); }},
        {"swap out of range", [](CBitmapImage& i) { return SwapCels(i, 1, 2); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CBitmapImage image = original;
        EXPECT_FALSE(c.edit(image));
        EXPECT_EQ(image, original);
    }
    // The last cel stays.
    CBitmapImage one = Cels({7});
    EXPECT_FALSE(DeleteCel(one, 0));
    EXPECT_EQ(Marks(one), (std::vector<std::uint8_t>{7}));
}

TEST(MaterialCels, EditedCelsSurviveTheMaterialFile)
{
    CBitmapImage image = Cels({10, 20, 30});
    ASSERT_TRUE(AppendCels(image, Cels({40})));
    ASSERT_TRUE(SwapCels(image, 0, 3));
    ASSERT_TRUE(DeleteCel(image, 1));
    const std::vector<std::uint8_t> bytes = image.WriteMat();
    CBitmapImage back;
    back.ReadMat(bytes, Palette(0), "back.mat");
    EXPECT_EQ(back.GetCelCount(), 3);
    EXPECT_EQ(Marks(back), (std::vector<std::uint8_t>{40, 30, 10}));
    EXPECT_EQ(back.GetBits(), image.GetBits());
    EXPECT_EQ(back.WriteMat(), bytes);

    // Every cut of the file short of its end is refused with the file's name.
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{75}, std::size_t{76 + 40}, bytes.size() - 1}) {
        SCOPED_TRACE(size);
        CBitmapImage kept = image;
        try {
            kept.ReadMat(std::span(bytes).first(size), Palette(0), "short.mat");
            ADD_FAILURE() << "a truncated material was read";
        } catch (const CArchiveException& e) {
            EXPECT_NE(std::string(e.what()).find("short.mat"), std::string::npos) << e.what();
        }
        EXPECT_EQ(kept, image);
    }
}

TEST(MaterialCels, AddedFilesAreNamedAndDecoded)
{
    const CPalette palette = Palette(0);
    // A BMP whose name holds two dots is cut before the first; its pixels keep their colours.
    CBitmapImage picture;
    const std::vector<std::uint8_t> pixels = {5, 6, 7, 8, 9, 10, 11, 12};
    picture.CreateFromBits(palette, pixels, 4, 2, 8);
    const CAddedCels bmp = ReadAddedCels(picture.WriteBmp(), "/home/u/Art/Wall.Old.BMP", palette);
    EXPECT_EQ(bmp.m_name, "wall.mat");
    EXPECT_EQ(bmp.m_image.GetCelPixels(0), picture.GetCelPixels(0));

    const CBitmapImage two = Cels({3, 4});
    const CAddedCels mat = ReadAddedCels(two.WriteMat(), "C:\\Games\\Anim\\Fire.MAT", palette);
    EXPECT_EQ(mat.m_name, "fire.mat");
    EXPECT_EQ(Marks(mat.m_image), (std::vector<std::uint8_t>{3, 4}));

    const std::vector<std::uint8_t> junk(100, 0x42);
    EXPECT_THROW(ReadAddedCels(junk, "junk.bmp", palette), CArchiveException);
    EXPECT_THROW(ReadAddedCels(std::span(junk).first(10), "junk.mat", palette), CArchiveException);
}

TEST(MaterialCels, LevelFilesTakeTheMaterial)
{
    CTree files;
    files.m_entries.push_back(File("a.cog", 100));
    files.m_entries.push_back(File("fire.mat", 7));
    files.m_entries.push_back(File("z.wav", 50));

    const CBitmapImage image = Cels({1, 2});
    const std::vector<std::uint8_t> bytes = image.WriteMat();
    ASSERT_TRUE(StoreMaterialFile(files, "FIRE.MAT", image));
    EXPECT_FALSE(StoreMaterialFile(files, "none.mat", image));
    ASSERT_EQ(files.m_entries.size(), 3U);
    EXPECT_EQ(*files.m_entries[1]->m_data, bytes);
    EXPECT_EQ(files.m_entries[1]->m_size, static_cast<std::int32_t>(bytes.size()));
    EXPECT_EQ(files.m_entries[2]->m_offset, 100 + static_cast<std::int32_t>(bytes.size()));

    // A new file goes to its sorted place under "mat\"; one of the same name is replaced.
    AddMaterialFile(files, "b.mat", image);
    AddMaterialFile(files, "fire.mat", Cels({9}));
    ASSERT_EQ(files.m_entries.size(), 4U);
    const char* names[] = {"a.cog", "b.mat", "fire.mat", "z.wav"};
    std::int32_t offset = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(files.m_entries[i]->m_name, names[i]);
        EXPECT_EQ(files.m_entries[i]->m_offset, offset);
        offset += files.m_entries[i]->m_size;
    }
    EXPECT_EQ(files.m_entries[1]->m_path, "mat\\b.mat");
    EXPECT_EQ(*files.m_entries[2]->m_data, Cels({9}).WriteMat());
}

}  // namespace
