// The OpenGL render device: clear, textures modulated by vertex colour, blending, culling by
// winding, depth, wireframe, kept vertex buffers, read-back, scaling into a window's framebuffer,
// and the message when no OpenGL 3.3 context can be had.

#include "GlTestContext.h"

#include "engine/gl/GlDisplayModes.h"
#include "math/Matrix.h"

#include <QImage>
#include <QOpenGLFramebufferObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

// Channel shift 16 red, 8 green, 0 blue, 24 alpha.
int Channel(std::uint32_t argb, int shift)
{
    return static_cast<int>((argb >> shift) & 0xFFu);
}

// Each channel of actual within tolerance of expected.
::testing::AssertionResult Near(std::uint32_t actual, std::uint32_t expected, int tolerance = 2)
{
    for (const int shift : {24, 16, 8, 0})
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
            return ::testing::AssertionFailure()
                   << std::hex << "0x" << actual << " is not near 0x" << expected;
    return ::testing::AssertionSuccess();
}

D3DLVERTEX Vertex(float x, float y, float z, std::uint32_t color, float u = 0.0f, float v = 0.0f)
{
    return MakeLitVertex(CVector3{x, y, z}, color, color, u, v);
}

// A quad from (x0, y0) to (x1, y1) in clip space at depth z, wound clockwise on screen (top
// left, top right, bottom right, bottom left), u and v 0..1 from the top left.
std::array<D3DLVERTEX, 4> Quad(float x0, float y0, float x1, float y1, float z, std::uint32_t color)
{
    return {Vertex(x0, y1, z, color, 0.0f, 0.0f), Vertex(x1, y1, z, color, 1.0f, 0.0f),
            Vertex(x1, y0, z, color, 1.0f, 1.0f), Vertex(x0, y0, z, color, 0.0f, 1.0f)};
}

class GlRenderDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_gl.m_device, nullptr) << m_gl.m_error;
        ASSERT_TRUE(m_gl.m_device->SetRenderSize(kWidth, kHeight));
        Device().BeginFrame();
    }

    CGlRenderDevice& Device() { return *m_gl.m_device; }

    void Draw(std::span<const D3DLVERTEX> vertices, TextureId texture = kNoTexture,
              PrimitiveType type = PrimitiveType::TriangleFan)
    {
        Device().DrawPrimitive(type, vertices, texture);
    }

    void Finish()
    {
        Device().EndFrame();
        m_gl.ReadBack();
    }

    CGlTestContext m_gl;
};

TEST_F(GlRenderDevice, ClearFillsTheTargetAndReadsBackTopRowFirst)
{
    for (const std::uint32_t color : {0x00C0C0C0u, 0xFF102030u, 0x80FF0000u}) {
        Device().Clear(color);
        Finish();
        ASSERT_EQ(m_gl.m_width, kWidth);
        ASSERT_EQ(m_gl.m_height, kHeight);
        EXPECT_EQ(m_gl.Pixel(0, 0), color);
        EXPECT_EQ(m_gl.Pixel(kWidth - 1, kHeight - 1), color);
    }
    // A quad over the top half only: row 0 is the top.
    Device().Clear(0xFF000000);
    const auto top = Quad(-1.0f, 0.0f, 1.0f, 1.0f, 0.5f, 0xFFFFFFFF);
    Draw(top);
    Finish();
    EXPECT_EQ(m_gl.Pixel(10, 2), 0xFFFFFFFFu);
    EXPECT_EQ(m_gl.Pixel(10, kHeight - 3), 0xFF000000u);
}

TEST_F(GlRenderDevice, TextureIsModulatedByTheVertexColour)
{
    // 2 x 2 texels, top row first: red, green / blue, white; drawn with point filtering over the
    // whole target and a vertex colour of half grey (0x80).
    struct Case {
        TextureFormat m_format;
        std::array<std::uint32_t, 4> m_texels;
    };
    const Case cases[] = {
        {TextureFormat::Rgb565, {0xF800, 0x07E0, 0x001F, 0xFFFF}},
        {TextureFormat::Argb8888, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}},
    };
    const std::uint32_t expected[4] = {0xFF800000, 0xFF008000, 0xFF000080, 0xFF808080};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.m_format));
        const TextureId texture = Device().CreateTexture(2, 2, c.m_format);
        ASSERT_NE(texture, kNoTexture);
        std::vector<std::byte> bytes(4 * TexelBytes(c.m_format));
        for (std::size_t i = 0; i < 4; ++i) {
            if (c.m_format == TextureFormat::Rgb565) {
                const auto texel = static_cast<std::uint16_t>(c.m_texels[i]);
                std::memcpy(bytes.data() + i * 2, &texel, 2);
            } else {
                std::memcpy(bytes.data() + i * 4, &c.m_texels[i], 4);
            }
        }
        ASSERT_TRUE(Device().UploadTexture(texture, bytes));
        Device().Clear(0xFF000000);
        Draw(Quad(-1.0f, -1.0f, 1.0f, 1.0f, 0.5f, 0xFF808080), texture);
        Finish();
        EXPECT_TRUE(Near(m_gl.Pixel(8, 8), expected[0]));
        EXPECT_TRUE(Near(m_gl.Pixel(kWidth - 8, 8), expected[1]));
        EXPECT_TRUE(Near(m_gl.Pixel(8, kHeight - 8), expected[2]));
        EXPECT_TRUE(Near(m_gl.Pixel(kWidth - 8, kHeight - 8), expected[3]));
        Device().ReleaseTexture(texture);
        Device().BeginFrame();
    }
}

TEST_F(GlRenderDevice, TexturesRefuseBadUploadsAndWrap)
{
    EXPECT_EQ(Device().CreateTexture(0, 4, TextureFormat::Rgb565), kNoTexture);
    EXPECT_EQ(Device().CreateTexture(4, -1, TextureFormat::Argb8888), kNoTexture);
    const TextureId texture = Device().CreateTexture(1, 2, TextureFormat::Rgb565);
    ASSERT_NE(texture, kNoTexture);
    std::vector<std::byte> bytes(3);
    EXPECT_FALSE(Device().UploadTexture(texture, bytes));  // one byte short of two texels
    bytes.resize(4);
    EXPECT_FALSE(Device().UploadTexture(texture + 1000, bytes));  // unknown texture
    // Top texel white, bottom black; v from 0 to 2 repeats them twice down the target.
    const std::uint16_t texels[2] = {0xFFFF, 0x0000};
    std::memcpy(bytes.data(), texels, 4);
    ASSERT_TRUE(Device().UploadTexture(texture, bytes));
    auto quad = Quad(-1.0f, -1.0f, 1.0f, 1.0f, 0.5f, 0xFFFFFFFF);
    quad[2].tv = quad[3].tv = 2.0f;
    Device().Clear(0xFF000000);
    Draw(quad, texture);
    Finish();
    EXPECT_EQ(m_gl.Pixel(5, kHeight / 8), 0xFFFFFFFFu);
    EXPECT_EQ(m_gl.Pixel(5, kHeight * 3 / 8), 0xFF000000u);
    EXPECT_EQ(m_gl.Pixel(5, kHeight * 5 / 8), 0xFFFFFFFFu);
    EXPECT_EQ(m_gl.Pixel(5, kHeight * 7 / 8), 0xFF000000u);
    Device().ReleaseTexture(texture);
    Device().ReleaseTexture(texture);  // a second release is ignored
    Device().ReleaseTexture(kNoTexture);
    EXPECT_FALSE(Device().UploadTexture(texture, bytes));
}

// A texture's mip levels uploaded again (the next cel of an animated texture) replace the earlier
// ones: the minified picture shows the new chain, not the first.
TEST_F(GlRenderDevice, MipLevelsUploadedAgainReplaceTheEarlierOnes)
{
    constexpr int kSide = 512;  // drawn on 64 x 48 pixels: sampled from a level of 64 or less
    const TextureId texture = Device().CreateTexture(kSide, kSide, TextureFormat::Rgb565);
    ASSERT_NE(texture, kNoTexture);
    const auto upload = [&](std::uint16_t below) {
        std::vector<std::vector<std::uint16_t>> chain;
        for (int side = kSide; side >= 1; side /= 2)
            chain.emplace_back(static_cast<std::size_t>(side) * static_cast<std::size_t>(side),
                               chain.empty() ? std::uint16_t{0xFFFF} : below);
        std::vector<std::span<const std::byte>> levels;
        for (const auto& level : chain)
            levels.push_back(std::as_bytes(std::span(level)));
        return Device().UploadTextureLevels(texture, levels);
    };
    for (const auto& [below, expected] : {std::pair{std::uint16_t{0xF800}, 0xFFFF0000u},
                                          std::pair{std::uint16_t{0x07E0}, 0xFF00FF00u}}) {
        ASSERT_TRUE(upload(below));
        Device().Clear(0xFF000000);
        Draw(Quad(-1.0f, -1.0f, 1.0f, 1.0f, 0.5f, 0xFFFFFFFF), texture);
        Finish();
        EXPECT_EQ(m_gl.Pixel(kWidth / 2, kHeight / 2), expected);
    }
    Device().ReleaseTexture(texture);
}

TEST_F(GlRenderDevice, TranslucentQuadBlendsAtAlpha7F)
{
    // Background 0x40 grey; a translucent surface of 0.3 of full light (76 = 0x4C) at alpha 0x7F.
    struct Case {
        BlendFactor m_src;
        BlendFactor m_dest;
        std::uint32_t m_expected;
    };
    const Case cases[] = {
        // The set-up factors add the darkened colour to what is behind it.
        {BlendFactor::One, BlendFactor::One, 0xBF8C8C8C},
        // Classic alpha: 0x4C x 127/255 + 0x40 x 128/255 = 70 (0x46).
        {BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha, 0x5F464646},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.m_src));
        Device().BeginFrame();
        Device().Clear(0x40404040);
        Device().SetRenderState(RenderState::AlphaBlend, 1);
        Device().SetRenderState(RenderState::SrcBlend, static_cast<std::uint32_t>(c.m_src));
        Device().SetRenderState(RenderState::DestBlend, static_cast<std::uint32_t>(c.m_dest));
        Draw(Quad(-1.0f, -1.0f, 0.0f, 1.0f, 0.5f, 0x7F4C4C4C));
        Finish();
        // Alpha is blended like the colours; only the colours matter on screen.
        EXPECT_TRUE(Near(m_gl.Pixel(5, 5) | 0xFF000000u, c.m_expected | 0xFF000000u));
        EXPECT_EQ(m_gl.Pixel(kWidth - 5, 5), 0x40404040u);  // untouched half
        Device().SetRenderState(RenderState::AlphaBlend, 0);
    }
    // Blending off: the quad replaces the background.
    Device().BeginFrame();
    Device().Clear(0x40404040);
    Draw(Quad(-1.0f, -1.0f, 0.0f, 1.0f, 0.5f, 0x7F4C4C4C));
    Finish();
    EXPECT_EQ(m_gl.Pixel(5, 5), 0x7F4C4C4Cu);
}

TEST_F(GlRenderDevice, FacesWindingCounterClockwiseOnScreenAreCulled)
{
    // Left triangle wound clockwise on screen, right one counter-clockwise.
    const std::array<D3DLVERTEX, 3> clockwise = {Vertex(-0.9f, -0.9f, 0.5f, 0xFFFF0000),
                                                 Vertex(-0.5f, 0.9f, 0.5f, 0xFFFF0000),
                                                 Vertex(-0.1f, -0.9f, 0.5f, 0xFFFF0000)};
    const std::array<D3DLVERTEX, 3> counter = {Vertex(0.1f, -0.9f, 0.5f, 0xFF00FF00),
                                               Vertex(0.5f, 0.9f, 0.5f, 0xFF00FF00),
                                               Vertex(0.9f, -0.9f, 0.5f, 0xFF00FF00)};
    const std::array<D3DLVERTEX, 3> counterWound = {counter[0], counter[2], counter[1]};
    struct Case {
        CullMode m_mode;
        bool m_leftDrawn;
        bool m_rightDrawn;
    };
    const Case cases[] = {
        {CullMode::CounterClockwise, true, false},
        {CullMode::Clockwise, false, true},
        {CullMode::None, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.m_mode));
        Device().BeginFrame();
        Device().SetRenderState(RenderState::Cull, static_cast<std::uint32_t>(c.m_mode));
        Device().Clear(0xFF000000);
        Draw(clockwise, kNoTexture, PrimitiveType::TriangleList);
        Draw(counterWound, kNoTexture, PrimitiveType::TriangleList);
        Finish();
        const int y = kHeight * 2 / 3;
        EXPECT_EQ(m_gl.Pixel(kWidth / 4, y), c.m_leftDrawn ? 0xFFFF0000u : 0xFF000000u);
        EXPECT_EQ(m_gl.Pixel(kWidth * 3 / 4, y), c.m_rightDrawn ? 0xFF00FF00u : 0xFF000000u);
    }
}

TEST_F(GlRenderDevice, NearerQuadHidesFartherThroughTheProjection)
{
    // The engine's own projection (depth 0..1) and a camera looking along +z from the origin:
    // a red quad at distance 5 drawn after a green one at distance 2 stays hidden where they
    // overlap; the camera-space z must survive the mapping to OpenGL's depth range.
    const D3DMATRIX projection = MatrixProjection(1.0471976f, 0.75f, 0.05f, 10.0f);
    auto worldQuad = [](float x0, float x1, float z, std::uint32_t color) {
        return std::array<D3DLVERTEX, 4>{Vertex(x0, 1.0f, z, color), Vertex(x1, 1.0f, z, color),
                                         Vertex(x1, -1.0f, z, color), Vertex(x0, -1.0f, z, color)};
    };
    const auto nearQuad = worldQuad(-5.0f, 0.0f, 2.0f, 0xFF00FF00);
    const auto farQuad = worldQuad(-10.0f, 10.0f, 5.0f, 0xFFFF0000);
    const auto beyond = worldQuad(-10.0f, 10.0f, 11.0f, 0xFF0000FF);  // past the far plane
    for (const bool depthTest : {true, false}) {
        Device().BeginFrame();
        Device().SetRenderState(RenderState::DepthTest, depthTest ? 1 : 0);
        Device().SetProjectionTransform(projection);
        Device().SetViewTransform(MatrixIdentity());
        Device().SetWorldTransform(MatrixIdentity());
        Device().Clear(0xFF000000);
        Draw(nearQuad);
        Draw(farQuad);
        Draw(beyond);
        Finish();
        const int y = kHeight / 2;
        EXPECT_EQ(m_gl.Pixel(kWidth / 4, y), depthTest ? 0xFF00FF00u : 0xFFFF0000u);
        EXPECT_EQ(m_gl.Pixel(kWidth * 3 / 4, y), 0xFFFF0000u);
    }
    // The world transform moves the near quad right (translation in the fourth row).
    Device().BeginFrame();
    Device().SetRenderState(RenderState::DepthTest, 1);
    Device().SetProjectionTransform(projection);
    Device().Clear(0xFF000000);
    Device().SetWorldTransform(MatrixTranslation(CVector3{5.0f, 0.0f, 0.0f}));
    Draw(nearQuad);
    Device().SetWorldTransform(MatrixIdentity());
    Draw(farQuad);
    Finish();
    EXPECT_EQ(m_gl.Pixel(kWidth / 4, kHeight / 2), 0xFFFF0000u);
    EXPECT_EQ(m_gl.Pixel(kWidth * 3 / 4, kHeight / 2), 0xFF00FF00u);
}

TEST_F(GlRenderDevice, WireframeLinesShowTheirColourOnly)
{
    // A line strip round a rectangle (first vertex repeated), then a quad in wireframe fill.
    const std::uint32_t wire = 0xFF808080;
    const std::array<D3DLVERTEX, 5> outline = {
        Vertex(-0.5f, 0.5f, 0.5f, wire), Vertex(0.5f, 0.5f, 0.5f, wire),
        Vertex(0.5f, -0.5f, 0.5f, wire), Vertex(-0.5f, -0.5f, 0.5f, wire),
        Vertex(-0.5f, 0.5f, 0.5f, wire)};
    for (const bool fillMode : {false, true}) {
        SCOPED_TRACE(fillMode);
        Device().BeginFrame();
        Device().Clear(0xFF000000);
        if (fillMode) {
            Device().SetRenderState(RenderState::Fill,
                                    static_cast<std::uint32_t>(FillMode::Wireframe));
            Draw(Quad(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f, wire));
            Device().SetRenderState(RenderState::Fill, static_cast<std::uint32_t>(FillMode::Solid));
        } else {
            Draw(outline, kNoTexture, PrimitiveType::LineStrip);
        }
        Finish();
        int onLine = 0;
        for (int y = 0; y < kHeight; ++y)
            onLine += m_gl.Pixel(kWidth / 2, y) == wire ? 1 : 0;
        EXPECT_GE(onLine, 2);  // the top and bottom edges cross the middle column
        EXPECT_LE(onLine, 4);
        // Inside stays empty (off the diagonal that a wireframe quad shows).
        EXPECT_EQ(m_gl.Pixel(kWidth * 5 / 8, kHeight * 3 / 8), 0xFF000000u);
        EXPECT_EQ(m_gl.Pixel(2, 2), 0xFF000000u);
    }
}

TEST_F(GlRenderDevice, TextureFilterPointOrLinear)
{
    // Black and white texels side by side; the middle of the target falls between them.
    const TextureId texture = Device().CreateTexture(2, 1, TextureFormat::Argb8888);
    const std::uint32_t texels[2] = {0xFF000000, 0xFFFFFFFF};
    ASSERT_TRUE(Device().UploadTexture(texture, std::as_bytes(std::span(texels))));
    auto quad = Quad(-1.0f, -1.0f, 1.0f, 1.0f, 0.5f, 0xFFFFFFFF);
    for (const TextureFilter filter : {TextureFilter::Point, TextureFilter::Linear}) {
        Device().BeginFrame();
        Device().SetRenderState(RenderState::Filter, static_cast<std::uint32_t>(filter));
        Device().Clear(0);
        Draw(quad, texture);
        Finish();
        const int middle = Channel(m_gl.Pixel(kWidth / 2, kHeight / 2), 16);
        if (filter == TextureFilter::Point)
            EXPECT_TRUE(middle == 0 || middle == 255) << middle;
        else
            EXPECT_NEAR(middle, 128, 12);
    }
}

TEST_F(GlRenderDevice, VertexBuffersDrawTheirRangesLikeStreamedVertices)
{
    // Two quads back to back in one buffer: red on the left half, green on the right; a blue
    // quad streamed over the middle after them.
    const auto left = Quad(-1.0f, -1.0f, 0.0f, 1.0f, 0.5f, 0xFFFF0000);
    const auto right = Quad(0.0f, -1.0f, 1.0f, 1.0f, 0.5f, 0xFF00FF00);
    const auto middle = Quad(-0.25f, -0.25f, 0.25f, 0.25f, 0.25f, 0xFF0000FF);
    std::vector<D3DLVERTEX> both(left.begin(), left.end());
    both.insert(both.end(), right.begin(), right.end());
    const BufferId buffer = Device().CreateVertexBuffer();
    ASSERT_NE(buffer, kNoBuffer);
    ASSERT_TRUE(Device().UploadVertexBuffer(buffer, both));

    Device().Clear(0xFF000000);
    Draw(left);
    Draw(right);
    Draw(middle);
    Finish();
    const std::vector<std::uint32_t> streamed = m_gl.m_pixels;
    EXPECT_EQ(m_gl.Pixel(4, 4), 0xFFFF0000u);
    EXPECT_EQ(m_gl.Pixel(kWidth - 4, 4), 0xFF00FF00u);
    EXPECT_EQ(m_gl.Pixel(kWidth / 2, kHeight / 2), 0xFF0000FFu);

    Device().BeginFrame();
    Device().Clear(0xFF000000);
    Device().DrawVertexBuffer(buffer, PrimitiveType::TriangleFan, 0, 4, kNoTexture);
    Device().DrawVertexBuffer(buffer, PrimitiveType::TriangleFan, 4, 4, kNoTexture);
    Draw(middle);
    Finish();
    EXPECT_EQ(m_gl.m_pixels, streamed);

    // Ranges outside the upload, and too few vertices for a fan, draw nothing.
    Device().BeginFrame();
    Device().Clear(0xFF000000);
    Device().DrawVertexBuffer(buffer, PrimitiveType::TriangleFan, 6, 4, kNoTexture);
    Device().DrawVertexBuffer(buffer, PrimitiveType::TriangleFan, SIZE_MAX, 4, kNoTexture);
    Device().DrawVertexBuffer(buffer, PrimitiveType::TriangleFan, 4, SIZE_MAX, kNoTexture);
    Device().DrawVertexBuffer(buffer, PrimitiveType::TriangleFan, 0, 2, kNoTexture);
    Finish();
    EXPECT_EQ(std::count(m_gl.m_pixels.begin(), m_gl.m_pixels.end(), 0xFF000000u),
              kWidth * kHeight);

    // A new upload replaces the whole content: the second quad is gone.
    const auto whole = Quad(-1.0f, -1.0f, 1.0f, 1.0f, 0.5f, 0xFF0000FF);
    ASSERT_TRUE(Device().UploadVertexBuffer(buffer, whole));
    Device().BeginFrame();
    Device().Clear(0xFF000000);
    Device().DrawVertexBuffer(buffer, PrimitiveType::TriangleFan, 4, 4, kNoTexture);
    Finish();
    EXPECT_EQ(m_gl.Pixel(kWidth - 4, 4), 0xFF000000u);
    Device().BeginFrame();
    Device().DrawVertexBuffer(buffer, PrimitiveType::TriangleFan, 0, 4, kNoTexture);
    Finish();
    EXPECT_EQ(m_gl.Pixel(kWidth - 4, 4), 0xFF0000FFu);

    // A released buffer draws and takes nothing; releasing it again is harmless.
    Device().ReleaseVertexBuffer(buffer);
    Device().ReleaseVertexBuffer(buffer);
    Device().ReleaseVertexBuffer(kNoBuffer);
    EXPECT_FALSE(Device().UploadVertexBuffer(buffer, whole));
    Device().BeginFrame();
    Device().Clear(0xFF000000);
    Device().DrawVertexBuffer(buffer, PrimitiveType::TriangleFan, 0, 4, kNoTexture);
    Finish();
    EXPECT_EQ(m_gl.Pixel(kWidth / 2, kHeight / 2), 0xFF000000u);
}

TEST_F(GlRenderDevice, GroupedRangesOfBuffersThatGrewShrankAndWereReleased)
{
    // Buffers share the device's stores: one that outgrows its room moves, one emptied gives its
    // room back, a released one's room goes to the next. None may draw another's vertices, and a
    // group draws exactly what its ranges draw one by one, skipping the ranges a single draw
    // refuses.
    const auto red = Quad(-1.0f, -1.0f, 0.0f, 1.0f, 0.5f, 0xFFFF0000);
    const auto green = Quad(0.0f, -1.0f, 1.0f, 1.0f, 0.5f, 0xFF00FF00);
    const auto blue = Quad(-0.25f, -0.25f, 0.25f, 0.25f, 0.25f, 0xFF0000FF);
    const auto yellow = Quad(-1.0f, 0.5f, -0.5f, 1.0f, 0.25f, 0xFFFFFF00);
    const auto white = Quad(0.5f, -1.0f, 1.0f, -0.5f, 0.25f, 0xFFFFFFFF);
    const BufferId a = Device().CreateVertexBuffer();
    const BufferId b = Device().CreateVertexBuffer();
    const BufferId c = Device().CreateVertexBuffer();
    ASSERT_TRUE(Device().UploadVertexBuffer(a, red));
    ASSERT_TRUE(Device().UploadVertexBuffer(b, green));
    ASSERT_TRUE(Device().UploadVertexBuffer(c, blue));
    std::vector<D3DLVERTEX> grown(red.begin(), red.end());
    grown.insert(grown.end(), yellow.begin(), yellow.end());
    ASSERT_TRUE(Device().UploadVertexBuffer(a, grown));
    ASSERT_TRUE(Device().UploadVertexBuffer(c, std::span<const D3DLVERTEX>{}));
    ASSERT_TRUE(Device().UploadVertexBuffer(c, blue));
    Device().ReleaseVertexBuffer(b);
    const BufferId d = Device().CreateVertexBuffer();
    ASSERT_NE(d, b);
    ASSERT_TRUE(Device().UploadVertexBuffer(d, white));

    const std::vector<CBufferRange> ranges = {{a, 0, 4}, {a, 4, 4},         {b, 0, 4},
                                              {c, 0, 4}, {d, 0, 4},         {a, 6, 4},
                                              {c, 0, 2}, {kNoBuffer, 0, 4}, {d, SIZE_MAX, 4}};
    Device().Clear(0xFF000000);
    for (const CBufferRange& range : ranges)
        Device().DrawVertexBuffer(range.m_buffer, PrimitiveType::TriangleFan, range.m_first,
                                  range.m_count, kNoTexture);
    Finish();
    const std::vector<std::uint32_t> oneByOne = m_gl.m_pixels;
    EXPECT_EQ(m_gl.Pixel(4, 4), 0xFFFFFF00u);
    EXPECT_EQ(m_gl.Pixel(4, kHeight / 2), 0xFFFF0000u);
    EXPECT_EQ(m_gl.Pixel(kWidth - 4, 4), 0xFF000000u);  // b is gone
    EXPECT_EQ(m_gl.Pixel(kWidth - 4, kHeight - 4), 0xFFFFFFFFu);
    EXPECT_EQ(m_gl.Pixel(kWidth / 2, kHeight / 2), 0xFF0000FFu);

    Device().BeginFrame();
    Device().Clear(0xFF000000);
    Device().DrawVertexBufferRanges(PrimitiveType::TriangleFan, ranges, kNoTexture);
    Finish();
    EXPECT_EQ(m_gl.m_pixels, oneByOne);

    // A group of nothing but refused ranges draws nothing.
    Device().BeginFrame();
    Device().Clear(0xFF000000);
    Device().DrawVertexBufferRanges(PrimitiveType::TriangleFan, std::span(ranges).subspan(5),
                                    kNoTexture);
    Finish();
    EXPECT_EQ(std::count(m_gl.m_pixels.begin(), m_gl.m_pixels.end(), 0xFF000000u),
              kWidth * kHeight);
}

TEST_F(GlRenderDevice, RenderSizeAndScalingIntoTheWindow)
{
    EXPECT_FALSE(Device().SetRenderSize(0, 10));
    EXPECT_FALSE(Device().SetRenderSize(10, -1));
    EXPECT_EQ(Device().RenderWidth(), kWidth);  // a refused size keeps the old target
    ASSERT_TRUE(Device().SetRenderSize(32, 24));
    Device().BeginFrame();
    Device().Clear(0xFF0000FF);
    Draw(Quad(-1.0f, -1.0f, 0.0f, 1.0f, 0.5f, 0xFFFF0000));  // left half red
    Finish();
    EXPECT_EQ(m_gl.m_width, 32);
    EXPECT_EQ(m_gl.m_height, 24);

    // Scaled into a larger "window" framebuffer: left half red, right half blue.
    QOpenGLFramebufferObject window(100, 60);
    Device().PresentTo(window.handle(), 100, 60);
    const QImage image = window.toImage();
    ASSERT_EQ(image.width(), 100);
    EXPECT_EQ(image.pixel(10, 30) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(image.pixel(90, 30) & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(image.pixel(90, 2) & 0xFFFFFFu, 0x0000FFu);

    // The view clears with alpha 0; the window shows the frame opaque.
    Device().BeginFrame();
    Device().Clear(0x000000FF);
    Finish();
    Device().PresentTo(window.handle(), 100, 60);
    EXPECT_EQ(window.toImage().pixel(50, 30), 0xFF0000FFu);
}

TEST(GlRenderDeviceCreate, WithoutAUsableContextTheMessageSaysWhy)
{
    CGlTestContext gl;  // makes the application object
    QOpenGLContext notCreated;
    std::string error;
    EXPECT_EQ(CGlRenderDevice::Create(notCreated, error), nullptr);
    EXPECT_EQ(error.rfind("OpenGL 3.3 is not available: ", 0), 0u) << error;

    // A context that is not current cannot be set up either.
    QOpenGLContext other;
    other.setFormat(CGlTestContext::Format());
    ASSERT_TRUE(other.create());
    EXPECT_EQ(CGlRenderDevice::Create(other, error), nullptr);
    EXPECT_EQ(error.rfind("OpenGL 3.3 is not available: ", 0), 0u) << error;
    gl.m_context.makeCurrent(&gl.m_surface);
}

TEST(GlRenderDeviceCreate, OlderContextIsRefused)
{
    CGlTestContext gl;
    QOpenGLContext old;
    QSurfaceFormat format;
    format.setVersion(2, 1);
    old.setFormat(format);
    if (!old.create() || !old.makeCurrent(&gl.m_surface))
        GTEST_SKIP() << "no OpenGL 2.1 context";
    std::string error;
    auto device = CGlRenderDevice::Create(old, error);
    if (old.format().version() >= qMakePair(3, 3)) {
        EXPECT_NE(device, nullptr);  // drivers may hand out a newer compatible context
    } else {
        EXPECT_EQ(device, nullptr);
        EXPECT_EQ(error.rfind("OpenGL 3.3 is not available: the driver offers OpenGL 2.", 0), 0u)
            << error;
    }
    device.reset();
    old.doneCurrent();
}

}  // namespace
