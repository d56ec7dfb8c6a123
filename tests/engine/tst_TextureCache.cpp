// The texture cache: where materials and colour maps are found, the fallbacks, caching, the cel
// order of animated materials and the upload to the device.

#include "SyntheticGame.h"
#include "engine/DecodeMaterial.h"
#include "engine/TextureCache.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "resources/MemoryGameArchive.h"
#include "support/RecordingRenderDevice.h"

#include "ImageBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using imagebytes::Mat;
using imagebytes::MatLayout;
using imagebytes::Palette;
using imagebytes::Texel565;

// Which index of the game an archive file is listed in.
enum class Index {
    Materials,
    Materials2,
    ColorMaps
};

// A game archive in memory with hand-made indexes, and the level's own files.
class CTestGame {
public:
    CTestGame() { m_resources.m_archive = &m_archive; }

    void Add(Index index, const std::string& path, const Bytes& data)
    {
        m_archive.Add(path, data);
        m_indexed.emplace_back(index, path);
    }
    void AddLevelFile(const std::string& name, const Bytes& data)
    {
        int position = 0;
        m_levelFiles.Find(name, position);
        m_levelFiles.m_entries.insert(m_levelFiles.m_entries.begin() + position,
                                      std::make_unique<CTreeObject>(name, data, 0));
    }
    // Moves an indexed entry's offset past the end of the archive.
    void Corrupt(const std::string& name) { m_corrupt = name; }

    // The sources with indexes made from the archive as it is now.
    CAssetSources Sources(bool withGame = true)
    {
        for (CTree* tree :
             {&m_resources.m_treeMaterials, &m_resources.m_tree3do, &m_resources.m_treeColorMaps})
            tree->m_entries.clear();
        for (const auto& [index, path] : m_indexed) {
            const CGameArchiveEntry* entry = m_archive.FindByPath(path);
            CTree& tree = index == Index::Materials    ? m_resources.m_treeMaterials
                          : index == Index::Materials2 ? m_resources.m_tree3do
                                                       : m_resources.m_treeColorMaps;
            auto object =
                std::make_unique<CTreeObject>(path, static_cast<std::int32_t>(entry->m_offset),
                                              static_cast<std::int32_t>(entry->m_size));
            if (object->m_name == m_corrupt)
                object->m_offset = 0x7FFFFF00;
            int position = 0;
            tree.Find(object->m_name, position);
            tree.m_entries.insert(tree.m_entries.begin() + position, std::move(object));
        }
        return CAssetSources{withGame ? &m_resources : nullptr, &m_levelFiles};
    }

    CTree m_levelFiles;

private:
    CMemoryGameArchive m_archive;
    CGameResources m_resources;
    std::vector<std::pair<Index, std::string>> m_indexed;
    std::string m_corrupt;
};

MatLayout Uniform(int width, int height, int cels, int firstIndex)
{
    MatLayout layout;
    layout.width = width;
    layout.height = height;
    layout.cels = cels;
    layout.pixel = [firstIndex](int, int, int c) {
        return static_cast<std::uint8_t>(firstIndex + c);
    };
    return layout;
}

// The game of most tests: dflt.mat 16 x 16 (index 1), brick.mat 8 x 4 (index 2), lava.mat three
// cels of 4 x 2 (indices 10, 11, 12); dflt.cmp with Palette(0), warm.cmp with Palette(1).
void AddStandardGame(CTestGame& game)
{
    game.Add(Index::Materials, "mat\\dflt.mat", Mat(Uniform(16, 16, 1, 1)));
    game.Add(Index::Materials, "mat\\brick.mat", Mat(Uniform(8, 4, 1, 2)));
    game.Add(Index::Materials, "mat\\lava.mat", Mat(Uniform(4, 2, 3, 10)));
    game.Add(Index::ColorMaps, "misc\\cmp\\dflt.cmp", imagebytes::Cmp(Palette(0)));
    game.Add(Index::ColorMaps, "misc\\cmp\\warm.cmp", imagebytes::Cmp(Palette(1)));
}

// The colour map of a texture comes from the game's index, else the level's own files, else
// "dflt.cmp" of the game, else the grey ramp. A colour map that is too short counts as missing.
TEST(TextureCache, ColourMapLookupOrder)
{
    struct Case {
        const char* what;
        bool gameHas, gameShort, levelHas, levelShort, defaultHas, withGame;
        CPalette expected;
    };
    const CPalette game = Palette(1);
    const CPalette level = Palette(2);
    const CPalette fallback = Palette(0);
    const CPalette grey = CColorMap::GreyRamp();
    const Case cases[] = {
        {"in the game", true, false, true, false, true, true, game},
        {"only the level's own", false, false, true, false, true, true, level},
        {"nowhere: dflt.cmp", false, false, false, false, true, true, fallback},
        {"no dflt.cmp either: grey ramp", false, false, false, false, false, true, grey},
        {"game's too short: the level's", true, true, true, false, true, true, level},
        {"level's too short: dflt.cmp", false, false, true, true, true, true, fallback},
        {"no game: the level's", true, false, true, false, true, false, level},
        {"no game, not in the level: grey ramp", true, false, false, false, true, false, grey},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CTestGame test;
        if (c.gameHas)
            test.Add(Index::ColorMaps, "misc\\cmp\\warm.cmp",
                     imagebytes::Cmp(game, c.gameShort ? 17215 : 17216 + 100));
        if (c.defaultHas)
            test.Add(Index::ColorMaps, "misc\\cmp\\dflt.cmp", imagebytes::Cmp(fallback));
        if (c.levelHas)
            test.AddLevelFile("warm.cmp", imagebytes::Cmp(level, c.levelShort ? 800 : 17216));
        EXPECT_EQ(FindColorMap(test.Sources(c.withGame), "WARM.cmp").GetPalette(), c.expected);

        // The texture shows the palette: index 2 of brick.mat through it.
        test.AddLevelFile("brick.mat", Mat(Uniform(8, 4, 1, 2)));
        CRecordingRenderDevice device;
        CTextureCache cache(&device);
        const CTexture* texture =
            cache.GetTexture(test.Sources(c.withGame), "brick.mat", "warm.cmp");
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(device.Texel565(texture->m_surface, 3, 1), Texel565(c.expected, 2));
    }
}

// The material comes from the game's material index, else its second index, else the level's
// own files, else "dflt.mat"; a material that does not decode counts as missing; with nothing to
// decode there is no texture.
TEST(TextureCache, MaterialLookupOrder)
{
    struct Case {
        const char* what;
        bool inFirst, inSecond, inLevel, damagedFirst, outsideArchive, hasDefault;
        int expectedWidth;  // 0: no texture
    };
    const Case cases[] = {
        {"material index", true, true, true, false, false, true, 8},
        {"second index", false, true, true, false, false, true, 4},
        {"level's own", false, false, true, false, false, true, 2},
        {"nowhere: dflt.mat", false, false, false, false, false, true, 16},
        {"damaged: the next place", true, true, false, true, false, true, 4},
        {"entry outside the archive: the next place", true, false, true, false, true, true, 2},
        {"nothing to decode", false, false, false, false, false, false, 0},
        {"damaged and no dflt.mat", true, false, false, true, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CTestGame test;
        test.Add(Index::ColorMaps, "misc\\cmp\\dflt.cmp", imagebytes::Cmp(Palette(0)));
        if (c.hasDefault)
            test.Add(Index::Materials, "mat\\dflt.mat", Mat(Uniform(16, 16, 1, 1)));
        if (c.inFirst) {
            Bytes file = Mat(Uniform(8, 8, 1, 2));
            if (c.damagedFirst)
                file.resize(100);
            test.Add(Index::Materials, "mat\\stone.mat", file);
        }
        if (c.inSecond)
            test.Add(Index::Materials2, "3do\\mat\\stone.mat", Mat(Uniform(4, 4, 1, 3)));
        if (c.inLevel)
            test.AddLevelFile("stone.mat", Mat(Uniform(2, 2, 1, 4)));
        if (c.outsideArchive)
            test.Corrupt("stone.mat");

        CRecordingRenderDevice device;
        CTextureCache cache(&device);
        const CAssetSources sources = test.Sources();
        const CTexture* texture = cache.GetTexture(sources, "Stone.MAT", "dflt.cmp");
        if (c.expectedWidth == 0) {
            EXPECT_EQ(texture, nullptr);
            EXPECT_EQ(DecodeMaterial(sources, "stone.mat", "dflt.cmp"), nullptr);
            EXPECT_TRUE(cache.GetTextures().empty());
            EXPECT_TRUE(device.m_calls.empty());
            continue;
        }
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->m_width, c.expectedWidth);
        EXPECT_EQ(texture->m_material, "stone.mat");
        EXPECT_EQ(texture->m_colorMap, "dflt.cmp");
        EXPECT_EQ(device.m_misuseCount, 0);
    }
}

TEST(TextureCache, OneTexturePerMaterialAndColourMap)
{
    CTestGame test;
    AddStandardGame(test);
    const CAssetSources sources = test.Sources();
    CRecordingRenderDevice device;
    {
        CTextureCache cache(&device);
        CTexture* brick = cache.GetTexture(sources, "brick.mat", "dflt.cmp");
        ASSERT_NE(brick, nullptr);
        // Capitals find the texture made for the lower-case names.
        EXPECT_EQ(cache.GetTexture(sources, "BRICK.MAT", "Dflt.Cmp"), brick);
        // Another colour map makes another texture.
        CTexture* warm = cache.GetTexture(sources, "brick.mat", "warm.cmp");
        ASSERT_NE(warm, nullptr);
        EXPECT_NE(warm, brick);
        // An empty material name gives nothing and adds nothing.
        EXPECT_EQ(cache.GetTexture(sources, "", "dflt.cmp"), nullptr);
        // A material found nowhere is dflt.mat under its own name.
        CTexture* missing = cache.GetTexture(sources, "missing.mat", "warm.cmp");
        ASSERT_NE(missing, nullptr);
        EXPECT_EQ(missing->m_width, 16);
        cache.GetTexture(sources, "lava.mat", "dflt.cmp");
        cache.GetTexture(sources, "abc.mat", "warm.cmp");
        cache.GetTexture(sources, "abc.mat", "dflt.cmp");

        std::vector<std::pair<std::string, std::string>> order;
        for (const auto& t : cache.GetTextures())
            order.emplace_back(t->m_material, t->m_colorMap);
        const std::vector<std::pair<std::string, std::string>> expected = {
            {"abc.mat", "dflt.cmp"},   {"abc.mat", "warm.cmp"},  {"brick.mat", "dflt.cmp"},
            {"brick.mat", "warm.cmp"}, {"lava.mat", "dflt.cmp"}, {"missing.mat", "warm.cmp"}};
        EXPECT_EQ(order, expected);
        EXPECT_EQ(device.LiveTextureCount(), 6);
        // The pointers stay valid while the cache grows.
        EXPECT_EQ(brick->m_material, "brick.mat");
        EXPECT_EQ(cache.GetTexture(sources, "brick.mat", "warm.cmp"), warm);
    }
    // The cache releases every device texture once.
    EXPECT_EQ(device.LiveTextureCount(), 0);
    EXPECT_EQ(device.m_misuseCount, 0);
}

// Creation shows the last cel; every upload moves on, after the last cel to the restart cel.
TEST(TextureCache, AnimatedCelOrder)
{
    CTestGame test;
    AddStandardGame(test);
    CRecordingRenderDevice device;
    CTextureCache cache(&device);
    CTexture* lava = cache.GetTexture(test.Sources(), "lava.mat", "warm.cmp");
    ASSERT_NE(lava, nullptr);
    ASSERT_EQ(lava->m_image->GetCelCount(), 3);
    EXPECT_EQ(lava->m_width, 4);
    EXPECT_EQ(lava->m_height, 2);
    const auto* record = device.FindTexture(lava->m_surface);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_width, 4);
    EXPECT_EQ(record->m_height, 2);
    EXPECT_EQ(record->m_format, TextureFormat::Rgb565);

    std::vector<int> cels = {lava->m_currentCel};
    std::vector<std::uint16_t> texels = {device.Texel565(lava->m_surface, 3, 1)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lava->UploadNextCel(), 0);
        cels.push_back(lava->m_currentCel);
        texels.push_back(device.Texel565(lava->m_surface, 3, 1));
    }
    EXPECT_EQ(cels, (std::vector<int>{2, 0, 1, 2, 0}));
    const CPalette warm = Palette(1);
    EXPECT_EQ(texels, (std::vector<std::uint16_t>{Texel565(warm, 12), Texel565(warm, 10),
                                                  Texel565(warm, 11), Texel565(warm, 12),
                                                  Texel565(warm, 10)}));
    EXPECT_EQ(record->m_uploadCount, 5);

    // A one-cel texture shows cel 0 and stays there.
    CTexture* brick = cache.GetTexture(test.Sources(), "brick.mat", "warm.cmp");
    ASSERT_NE(brick, nullptr);
    EXPECT_EQ(brick->m_currentCel, 0);
    EXPECT_EQ(brick->UploadNextCel(), 0);
    EXPECT_EQ(brick->m_currentCel, 0);

    // A restart cel other than 0, and cels out of range, which walk mode's scripts may set.
    struct Case {
        int current, restart, next;
    };
    for (const Case c : {Case{2, 1, 1}, Case{10, 1, 1}, Case{-7, 2, 2}, Case{2, 7, 0},
                         Case{2, -1, 0}, Case{0, 1, 1}}) {
        lava->m_currentCel = c.current;
        lava->m_restartCel = c.restart;
        EXPECT_EQ(lava->UploadNextCel(), 0);
        EXPECT_EQ(lava->m_currentCel, c.next) << c.current << " restart " << c.restart;
    }
    EXPECT_EQ(device.m_misuseCount, 0);
}

// The device receives the cel row 0 first, width x height texels, whatever the width.
TEST(TextureCache, UploadedTexelsFollowTheRows)
{
    for (const int width : {1, 3, 5, 6, 8}) {
        SCOPED_TRACE(width);
        CTestGame test;
        AddStandardGame(test);
        MatLayout layout;
        layout.width = width;
        layout.height = 3;
        test.AddLevelFile("odd.mat", Mat(layout));
        CRecordingRenderDevice device;
        CTextureCache cache(&device);
        const CTexture* texture = cache.GetTexture(test.Sources(), "odd.mat", "dflt.cmp");
        ASSERT_NE(texture, nullptr);
        const auto* record = device.FindTexture(texture->m_surface);
        ASSERT_NE(record, nullptr);
        ASSERT_EQ(record->m_texels.size(), static_cast<std::size_t>(width * 3 * 2));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(device.Texel565(texture->m_surface, x, y),
                          Texel565(Palette(0), imagebytes::DefaultPixel(x, y, 0)))
                    << x << "," << y;
    }
}

TEST(TextureCache, SixteenBitMaterialUploadsAsFiveSixFive)
{
    CTestGame test;
    AddStandardGame(test);
    MatLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.bitsPerPixel = 16;
    layout.pixel = [](int x, int, int) { return static_cast<std::uint8_t>(x == 0 ? 0xFF : 0x00); };
    test.AddLevelFile("deep.mat", Mat(layout));
    CRecordingRenderDevice device;
    CTextureCache cache(&device);
    const CTexture* texture = cache.GetTexture(test.Sources(), "deep.mat", "dflt.cmp");
    ASSERT_NE(texture, nullptr);
    // 0xFFFF survives the trip through 5-5-5 as white; 0x0000 stays black.
    EXPECT_EQ(device.Texel565(texture->m_surface, 0, 0), 0xFFFF);
    EXPECT_EQ(device.Texel565(texture->m_surface, 1, 0), 0x0000);
}

// Without a device, or when the device refuses, textures are still decoded and measured; the
// upload reports the failure and the cel still moves on.
TEST(TextureCache, DeviceMissingOrFailing)
{
    struct Case {
        const char* what;
        bool device, failCreate, failUpload;
    };
    for (const Case c :
         {Case{"no device", false, false, false}, Case{"creation fails", true, true, false},
          Case{"upload fails", true, false, true}}) {
        SCOPED_TRACE(c.what);
        CTestGame test;
        AddStandardGame(test);
        CRecordingRenderDevice device;
        device.m_failCreateTexture = c.failCreate;
        device.m_failUploadTexture = c.failUpload;
        CTextureCache cache(c.device ? &device : nullptr);
        CTexture* lava = cache.GetTexture(test.Sources(), "lava.mat", "dflt.cmp");
        ASSERT_NE(lava, nullptr);
        EXPECT_EQ(lava->m_width, 4);
        EXPECT_EQ(lava->m_height, 2);
        EXPECT_EQ(lava->m_currentCel, 2);
        EXPECT_NE(lava->UploadNextCel(), 0);
        EXPECT_EQ(lava->m_currentCel, 0);
        EXPECT_EQ(device.m_misuseCount, 0);
    }
}

TEST(TextureCache, NewSurfaceReleasesTheOldOne)
{
    CTestGame test;
    AddStandardGame(test);
    CRecordingRenderDevice device;
    CTextureCache cache(&device);
    CTexture* lava = cache.GetTexture(test.Sources(), "lava.mat", "dflt.cmp");
    ASSERT_NE(lava, nullptr);
    const TextureId first = lava->m_surface;
    lava->UploadNextCel();
    cache.CreateTextureSurface(*lava);
    EXPECT_NE(lava->m_surface, first);
    EXPECT_TRUE(device.FindTexture(first)->m_released);
    EXPECT_EQ(lava->m_currentCel, 2);
    EXPECT_EQ(device.LiveTextureCount(), 1);
    EXPECT_EQ(device.m_misuseCount, 0);
}

TEST(TextureCache, ReloadSectorTexturesFetchesTheSectorsMaterials)
{
    CTestGame test;
    AddStandardGame(test);
    CQzlSections level;
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("brick.mat"));
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("LAVA.MAT"));
    level.m_colormaps = {"dflt.cmp", "warm.cmp"};
    for (const int material : {0, -1, 1, 57, 0}) {
        level.m_surfaces.push_back(std::make_unique<CQzlSurface>());
        level.m_surfaces.back()->m_material = material;
    }
    auto sector = std::make_unique<CQzlSector>();
    sector->m_colormap = 1;
    sector->m_surfaces = {0, 1, 2, 3, 4, 999, -3};
    level.m_sectors.push_back(std::move(sector));
    auto other = std::make_unique<CQzlSector>();
    other->m_colormap = 12;  // names no colour map: dflt.cmp's palette under an empty name
    other->m_surfaces = {0};
    level.m_sectors.push_back(std::move(other));

    CRecordingRenderDevice device;
    CTextureCache cache(&device);
    // Without the game's archive nothing happens; so for a sector out of range.
    cache.ReloadSectorTextures(test.Sources(false), level, 0);
    cache.ReloadSectorTextures(test.Sources(), level, 2);
    cache.ReloadSectorTextures(test.Sources(), level, -1);
    EXPECT_TRUE(cache.GetTextures().empty());

    cache.ReloadSectorTextures(test.Sources(), level, 0);
    cache.ReloadSectorTextures(test.Sources(), level, 1);
    std::vector<std::pair<std::string, std::string>> order;
    for (const auto& t : cache.GetTextures())
        order.emplace_back(t->m_material, t->m_colorMap);
    EXPECT_EQ(order, (std::vector<std::pair<std::string, std::string>>{
                         {"brick.mat", ""}, {"brick.mat", "warm.cmp"}, {"lava.mat", "warm.cmp"}}));
}

// The synthetic game through the product's own indexes.
TEST(TextureCache, SyntheticGameMaterials)
{
    const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(0);
    const CTree noFiles;
    const CAssetSources sources{&game->m_resources, &noFiles};
    CRecordingRenderDevice device;
    CTextureCache cache(&device);
    struct Case {
        const char* material;
        int width, height, cels;
    };
    for (const Case c : {Case{"LAVA.MAT", 32, 32, 4}, Case{"brick.mat", 64, 32, 1},
                         Case{"red.mat", 256, 256, 1}, Case{"nosuch.mat", 64, 64, 1}}) {
        SCOPED_TRACE(c.material);
        const CTexture* texture = cache.GetTexture(sources, c.material, "warm.cmp");
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->m_width, c.width);
        EXPECT_EQ(texture->m_height, c.height);
        EXPECT_EQ(texture->m_image->GetCelCount(), c.cels);
    }
    EXPECT_EQ(FindColorMap(sources, "warm.cmp").GetPalette(), [] {
        CPalette p{};
        const std::vector<std::uint8_t> v = SyntheticPalette(1);
        std::copy(v.begin(), v.end(), p.begin());
        return p;
    }());
    EXPECT_EQ(device.m_misuseCount, 0);
}

}  // namespace
