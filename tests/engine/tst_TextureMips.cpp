// Mip chains of textures: the box filter, chains made down to 1 x 1, and a material's own
// levels taking the place of made ones.

#include "SyntheticGame.h"
#include "engine/TextureCache.h"
#include "engine/TextureMips.h"
#include "level/GameResources.h"
#include "support/RecordingRenderDevice.h"

#include "ImageBytes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr std::uint16_t Rgb(unsigned r, unsigned g, unsigned b)
{
    return static_cast<std::uint16_t>((r << 11) | (g << 5) | b);
}

TEST(TextureMips, BoxFilterOfAKnown4By4)
{
    // Four 2x2 blocks: a black-and-white checker, one flat colour, a red ramp, rounding up.
    const CTexelLevel level{4,
                            4,
                            {
                                Rgb(0, 0, 0),
                                Rgb(31, 63, 31),
                                Rgb(10, 20, 30),
                                Rgb(10, 20, 30),
                                Rgb(31, 63, 31),
                                Rgb(0, 0, 0),
                                Rgb(10, 20, 30),
                                Rgb(10, 20, 30),
                                Rgb(0, 0, 0),
                                Rgb(1, 0, 0),
                                Rgb(0, 1, 0),
                                Rgb(0, 0, 1),
                                Rgb(2, 0, 0),
                                Rgb(3, 0, 0),
                                Rgb(0, 1, 1),
                                Rgb(0, 0, 1),
                            }};
    const CTexelLevel half = HalveTexels(level);
    EXPECT_EQ(half, (CTexelLevel{2,
                                 2,
                                 {Rgb(16, 32, 16), Rgb(10, 20, 30),  // 15.5, 31.5, 15.5 round up
                                  Rgb(2, 0, 0), Rgb(0, 1, 1)}}));    // 1.5 -> 2; 0.5 -> 1
    const CTexelLevel quarter = HalveTexels(half);
    EXPECT_EQ(quarter, (CTexelLevel{1, 1, {Rgb(7, 13, 12)}}));  // 28/4, 53/4, 47/4
    EXPECT_TRUE(HalveTexels(CTexelLevel{}).m_texels.empty());
    EXPECT_TRUE(HalveTexels(CTexelLevel{2, 2, {1, 2, 3}}).m_texels.empty());  // texels missing
}

TEST(TextureMips, ChainsEndAt1By1)
{
    struct Case {
        int width, height;
        std::vector<std::pair<int, int>> sizes;
    };
    const Case cases[] = {
        {8, 2, {{8, 2}, {4, 1}, {2, 1}, {1, 1}}},
        {5, 3, {{5, 3}, {2, 1}, {1, 1}}},
        {1, 4, {{1, 4}, {1, 2}, {1, 1}}},
        {1, 1, {{1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        CTexelLevel level{c.width, c.height, {}};
        level.m_texels.assign(static_cast<std::size_t>(c.width * c.height), Rgb(4, 8, 12));
        const std::vector<CTexelLevel> chain = CompleteMipChain({level});
        std::vector<std::pair<int, int>> sizes;
        for (const CTexelLevel& l : chain) {
            sizes.emplace_back(l.m_width, l.m_height);
            // A flat texture stays flat at every level, the 1-texel-wide ones too.
            for (const std::uint16_t t : l.m_texels)
                EXPECT_EQ(t, Rgb(4, 8, 12));
        }
        EXPECT_EQ(sizes, c.sizes);
    }
    EXPECT_TRUE(CompleteMipChain({}).empty());
}

// The synthetic game's mip floor brings levels 1 to 3 of its own (32 x 32 down to 4 x 4); the
// chain takes them through the colour map and makes 2 x 2 and 1 x 1 from the 4 x 4 one.
TEST(TextureMips, MaterialLevelsComeFirst)
{
    const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(0);
    const CTree noFiles;
    const CAssetSources sources{&game->m_resources, &noFiles};
    CRecordingRenderDevice device;
    CTextureCache cache(&device);
    const CTexture* texture = cache.GetTexture(sources, "mipfloor.mat", "dflt.cmp");
    ASSERT_NE(texture, nullptr);
    const std::vector<CTexelLevel> chain = texture->CelMipChain(0);
    ASSERT_EQ(chain.size(), 6u);
    CPalette palette{};
    const std::vector<std::uint8_t> cube = SyntheticPalette(0);
    std::copy(cube.begin(), cube.end(), palette.begin());
    EXPECT_NE(chain[0].m_texels[0], chain[0].m_texels[1]);  // the checker
    for (int level = 1; level < 6; ++level) {
        SCOPED_TRACE(level);
        const int side = 32 >> level;
        EXPECT_EQ(chain[static_cast<std::size_t>(level)].m_width, side);
        EXPECT_EQ(chain[static_cast<std::size_t>(level)].m_height, side);
        // Flat levels: the file's own colour, and the made ones keep the last of those.
        const std::uint16_t expected =
            imagebytes::Texel565(palette, MipLevelIndex(std::min(level, 3)));
        for (const std::uint16_t t : chain[static_cast<std::size_t>(level)].m_texels)
            ASSERT_EQ(t, expected);
    }
    EXPECT_EQ(texture->CelMipChain(1), std::vector<CTexelLevel>{});
    EXPECT_EQ(device.m_misuseCount, 0);
}

}  // namespace
