// A texture with its mip chain on the OpenGL device: a floor of a fine black-and-white checker
// seen at a grazing angle stays calm in the distance, where the full-size texels alone flicker
// from pixel to pixel, and looks the same near the camera.

#include "GlTestContext.h"

#include "engine/Texture.h"
#include "engine/TextureCache.h"
#include "math/Matrix.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 192;
constexpr int kTexels = 64;

// Luminance 0..255 of a pixel.
double Luma(std::uint32_t argb)
{
    return 0.299 * ((argb >> 16) & 0xFF) + 0.587 * ((argb >> 8) & 0xFF) + 0.114 * (argb & 0xFF);
}

struct CBandStats {
    double m_variance = 0.0;
    int m_alternations =
        0;  // neighbours across a row that differ by more than a quarter of the range
};

// Rows first..last (inclusive) of pixels, the middle half of each row.
CBandStats Band(const std::vector<std::uint32_t>& pixels, int first, int last)
{
    double sum = 0.0;
    double squares = 0.0;
    int count = 0;
    CBandStats stats;
    for (int y = first; y <= last; ++y) {
        for (int x = kWidth / 4; x < kWidth * 3 / 4; ++x) {
            const double l = Luma(pixels[static_cast<std::size_t>(y * kWidth + x)]);
            sum += l;
            squares += l * l;
            ++count;
            if (std::abs(l - Luma(pixels[static_cast<std::size_t>(y * kWidth + x + 1)])) > 64.0)
                ++stats.m_alternations;
        }
    }
    const double mean = sum / count;
    stats.m_variance = squares / count - mean * mean;
    return stats;
}

// A 64 x 64 checker of single black and white texels.
std::unique_ptr<CBitmapImage> Checker()
{
    CPalette palette{};
    palette[3] = palette[4] = palette[5] = 255;  // entry 1 white, entry 0 black
    std::vector<std::uint8_t> pixels(kTexels * kTexels);
    for (int y = 0; y < kTexels; ++y)
        for (int x = 0; x < kTexels; ++x)
            pixels[static_cast<std::size_t>(y * kTexels + x)] =
                static_cast<std::uint8_t>((x + y) % 2);
    auto image = std::make_unique<CBitmapImage>();
    image->CreateFromBits(palette, pixels, kTexels, kTexels, 8);
    return image;
}

class GlMipFloor : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_gl.m_device, nullptr) << m_gl.m_error;
        ASSERT_TRUE(m_gl.m_device->SetRenderSize(kWidth, kHeight));
    }

    // The floor y = 0 from the camera at height 1 looking along +z, the texture repeating every
    // 2 units; the horizon lies across the middle of the target.
    std::vector<std::uint32_t> DrawFloor(TextureId texture, TextureFilter filter,
                                         const std::string& png)
    {
        CGlRenderDevice& device = *m_gl.m_device;
        device.BeginFrame();
        device.SetRenderState(RenderState::Cull, static_cast<std::uint32_t>(CullMode::None));
        device.SetRenderState(RenderState::Filter, static_cast<std::uint32_t>(filter));
        device.SetProjectionTransform(MatrixProjection(1.0471976f, 0.75f, 0.1f, 2000.0f));
        device.SetViewTransform(MatrixTranslation(CVector3{0.0f, -1.0f, 0.0f}));
        device.SetWorldTransform(MatrixIdentity());
        device.Clear(0xFF0000FF);
        const float x = 400.0f;
        const float z0 = 0.5f;
        const float z1 = 1500.0f;
        const auto vertex = [](float vx, float vz) {
            return MakeLitVertex(CVector3{vx, 0.0f, vz}, 0xFFFFFFFF, 0xFFFFFFFF, vx / 2.0f,
                                 vz / 2.0f);
        };
        const std::array<D3DLVERTEX, 4> floor = {vertex(-x, z1), vertex(x, z1), vertex(x, z0),
                                                 vertex(-x, z0)};
        device.DrawPrimitive(PrimitiveType::TriangleFan, floor, texture);
        device.EndFrame();
        m_gl.ReadBack();
        QImage image(kWidth, kHeight, QImage::Format_ARGB32);
        for (int y = 0; y < kHeight; ++y)
            for (int px = 0; px < kWidth; ++px)
                image.setPixel(px, y, m_gl.Pixel(px, y));
        image.save(QDir(QStringLiteral(QZ_TEST_OUTPUT_DIR)).filePath(QString::fromStdString(png)));
        return m_gl.m_pixels;
    }

    CGlTestContext m_gl;
};

TEST_F(GlMipFloor, DistantFloorStaysCalmWithMipLevels)
{
    CGlRenderDevice& device = *m_gl.m_device;
    // The texture as the texture cache makes it: the chain made from the checker and uploaded.
    CTextureCache cache(&device);
    CTexture mipped("checker.mat", "dflt.cmp");
    mipped.m_image = Checker();
    mipped.m_width = mipped.m_height = kTexels;
    cache.CreateTextureSurface(mipped);
    ASSERT_NE(mipped.m_surface, kNoTexture);
    ASSERT_EQ(mipped.CelMipChain(0).size(), 7u);  // 64 down to 1
    // The same texels without levels below the full-size one.
    const TextureId flat = device.CreateTexture(kTexels, kTexels, TextureFormat::Rgb565);
    const std::vector<std::uint16_t> texels = mipped.CelTexels(0);
    ASSERT_TRUE(device.UploadTexture(flat, std::as_bytes(std::span(texels))));

    // Far: the rows just below the horizon (2 to 40 units away and beyond); near: the bottom rows.
    const int farFirst = kHeight / 2 + 3;
    const int farLast = kHeight / 2 + 20;
    const int nearFirst = kHeight - 24;
    const int nearLast = kHeight - 1;
    for (const TextureFilter filter : {TextureFilter::Point, TextureFilter::Linear}) {
        const std::string name = filter == TextureFilter::Point ? "point" : "linear";
        SCOPED_TRACE(name);
        const auto without = DrawFloor(flat, filter, "mip_floor_" + name + "_without.png");
        const auto with = DrawFloor(mipped.m_surface, filter, "mip_floor_" + name + "_with.png");
        // Above the horizon the clear colour shows in both.
        EXPECT_EQ(with[static_cast<std::size_t>(10 * kWidth + 10)], 0xFF0000FFu);
        EXPECT_EQ(without[static_cast<std::size_t>(10 * kWidth + 10)], 0xFF0000FFu);

        const CBandStats farWithout = Band(without, farFirst, farLast);
        const CBandStats farWith = Band(with, farFirst, farLast);
        EXPECT_GT(farWithout.m_variance, 2000.0);  // moire: black and white pixels mixed
        EXPECT_LT(farWith.m_variance, farWithout.m_variance / 8.0);
        EXPECT_GT(farWithout.m_alternations, 300);
        EXPECT_LT(farWith.m_alternations, farWithout.m_alternations / 8);
        // The mean stays the checker's grey: the levels are averages, not a darker or lighter one.
        const double grey =
            Luma(with[static_cast<std::size_t>((farFirst + 4) * kWidth + kWidth / 2)]);
        EXPECT_NEAR(grey, 128.0, 24.0);

        const CBandStats nearWithout = Band(without, nearFirst, nearLast);
        const CBandStats nearWith = Band(with, nearFirst, nearLast);
        EXPECT_GT(nearWithout.m_variance, 2000.0);  // the checker itself
        EXPECT_NEAR(nearWith.m_variance, nearWithout.m_variance, nearWithout.m_variance * 0.2);
    }
    device.ReleaseTexture(flat);
}

}  // namespace
