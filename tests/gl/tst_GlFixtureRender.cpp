// Two joined rooms drawn through the engine's frame routine on the OpenGL device, in each of the
// five render modes, and a screenshot of a drawn fixture level.
//
// The camera stands outside the first room at (-1, 0.5, 0.5) looking along +x: the room's near
// wall (x = 0) turns its back to the camera and is culled, the middle of the picture looks
// through the first room's portal (x = 1) onto the second room's far wall (x = 2), which carries
// a red texture lit at half grey (in the screenshot, the game's bricks). The second room's side
// of the portal faces away too.

#include "GlTestContext.h"

#include "SyntheticGame.h"
#include "engine/Camera.h"
#include "engine/FrameRender.h"
#include "engine/RenderData.h"
#include "engine/Texture.h"
#include "engine/TextureCache.h"
#include "engine/gl/GlDisplayModes.h"
#include "level/TextureFit.h"
#include "support/FixtureLevels.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <utility>

namespace {

constexpr std::uint32_t kBackground = 0x00204060;  // "ColorBackground" 0x00BBGGRR
constexpr std::uint32_t kBackgroundPixel = 0x00604020;
constexpr std::uint32_t kWireframe = 0x0000FF00;  // green, the same in both orders
constexpr std::uint32_t kLitGrey = 0xFF808080;

int Channel(std::uint32_t argb, int shift)
{
    return static_cast<int>((argb >> shift) & 0xFFu);
}

// The colour channels (alpha aside) within tolerance.
bool NearRgb(std::uint32_t actual, std::uint32_t expected, int tolerance = 3)
{
    for (const int shift : {16, 8, 0})
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
            return false;
    return true;
}

std::uint32_t AddRgb(std::uint32_t a, std::uint32_t b)
{
    std::uint32_t out = 0;
    for (const int shift : {16, 8, 0})
        out |= static_cast<std::uint32_t>(std::min(255, Channel(a, shift) + Channel(b, shift)))
               << shift;
    return out;
}

class GlFixtureRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_gl.m_device, nullptr) << m_gl.m_error;
        C3dView& view = m_engine.m_view;
        CSettings& settings = m_engine.m_settings;
        settings.m_colorBackground = kBackground;
        settings.m_colorWireframe = kWireframe;
        settings.m_adjoin = 2;
        settings.m_adjoinTransparent = 1;
        RebuildAll(view, false);

        // A window of 200 x 150 with "StretchMode" 1: the frame is drawn at 320 x 240.
        // The device attached after construction, as the engine does when it gets one.
        view.m_device = m_gl.m_device.get();
        view.m_skip = 0;
        ListDisplayModes(view);
        settings.m_stretchMode = 1;
        ChooseRenderSize(view, 200, 150);
        ASSERT_EQ(view.m_viewport.m_renderWidth, 320);
        ASSERT_EQ(view.m_viewport.m_renderHeight, 240);
        ASSERT_TRUE(m_gl.m_device->SetRenderSize(view.m_viewport.m_renderWidth,
                                                 view.m_viewport.m_renderHeight));
        ASSERT_TRUE(SetUpViewAndProjection(view, 200, 150));
        SetCameraAxes(view, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
        SetCameraPosition(view, -1.0f, 0.5f, 0.5f);

        // The far wall: a red texture under half-grey light.
        m_texture = std::make_unique<CTexture>("red.mat", "dflt.cmp");
        m_texture->m_device = m_gl.m_device.get();
        m_texture->m_surface = m_gl.m_device->CreateTexture(4, 4, TextureFormat::Rgb565);
        std::vector<std::uint16_t> red(16, 0xF800);
        ASSERT_TRUE(
            m_gl.m_device->UploadTexture(m_texture->m_surface, std::as_bytes(std::span(red))));
        CQzlSurface& wall =
            *m_engine.m_level
                 .m_surfaces[static_cast<std::size_t>(BoxSurface(m_engine.m_level, 1, kBoxXHigh))];
        wall.m_texture = m_texture.get();
        for (D3DLVERTEX& v : wall.m_renderVertices)
            v.color = v.specular = kLitGrey;
    }

    void TearDown() override { m_texture.reset(); }

    void Render(int renderMode)
    {
        m_engine.m_document.m_renderMode = renderMode;
        RenderFrame(m_engine.m_view, 1);
        m_gl.ReadBack();
    }

    int CountPixels(std::uint32_t rgb)
    {
        int count = 0;
        for (const std::uint32_t pixel : m_gl.m_pixels)
            count += (pixel & 0xFFFFFFu) == rgb ? 1 : 0;
        return count;
    }

    CGlTestContext m_gl;
    CFixtureEngine m_engine{MakeTwoJoinedRooms()};
    std::unique_ptr<CTexture> m_texture;
};

TEST_F(GlFixtureRender, EachRenderModeThroughTheFrameRoutine)
{
    const std::uint32_t wall = 0x800000;  // red texel x half-grey light
    const std::uint32_t portal = TransparentAdjoinColor(0xFFFFFF) & 0xFFFFFFu;
    struct Case {
        int m_mode;
        bool m_current;          // sector 0 is the current sector
        std::uint32_t m_middle;  // the middle pixel, colour channels
        std::uint32_t m_wire;    // the wireframe's colour as it shows; 0 for no wireframe
    };
    // The portal adds its darkened colour (blend factors One, One) to what lies behind it.
    const Case cases[] = {
        // All solid: the far wall through the portal.
        {0, false, AddRgb(wall, portal), 0},
        // The current room solid, the far room's outline seen through the portal.
        {1, true, AddRgb(kBackgroundPixel, portal), AddRgb(kWireframe, portal)},
        // All wireframe.
        {2, false, kBackgroundPixel, kWireframe},
        // The current room alone.
        {3, true, AddRgb(kBackgroundPixel, portal), 0},
        // The current room's outline alone.
        {4, true, kBackgroundPixel, kWireframe},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_mode);
        m_engine.m_view.m_selection.m_sector = c.m_current ? 0 : -1;
        Render(c.m_mode);
        ASSERT_EQ(m_gl.m_width, 320);
        const std::uint32_t middle = m_gl.Pixel(160, 120);
        EXPECT_TRUE(NearRgb(middle, c.m_middle))
            << std::hex << middle << " expected " << c.m_middle;
        // The corners of the picture show the background, alpha 0.
        EXPECT_EQ(m_gl.Pixel(0, 0), kBackgroundPixel);
        if (c.m_wire != 0)
            EXPECT_GT(CountPixels(c.m_wire), 0);
        else
            EXPECT_EQ(CountPixels(kWireframe) + CountPixels(AddRgb(kWireframe, portal)), 0);
    }
}

TEST_F(GlFixtureRender, OpaquePortalHidesTheFartherWall)
{
    // "AdjoinTransparent" off: the portal is drawn in "ColorAdjoin" with the first room, before
    // the far wall of the second room; the depth test keeps the nearer portal in front.
    m_engine.m_settings.m_adjoinTransparent = 0;
    m_engine.m_settings.m_colorAdjoin = 0x00FF0000;  // blue
    Render(0);
    EXPECT_EQ(m_gl.Pixel(160, 120) & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(CountPixels(0x800000), 0);
}

TEST_F(GlFixtureRender, BackFacesAreCulledByTheDevice)
{
    // The frame routine skips back faces itself; handed to the device directly, the near wall of
    // the first room (it faces away from the camera) must still leave the background, while the
    // far wall of the second room shows in its light.
    C3dView& view = m_engine.m_view;
    CGlRenderDevice& device = *m_gl.m_device;
    const CQzlSurface& nearWall =
        *m_engine.m_level
             .m_surfaces[static_cast<std::size_t>(BoxSurface(m_engine.m_level, 0, kBoxXLow))];
    const CQzlSurface& farWall =
        *m_engine.m_level
             .m_surfaces[static_cast<std::size_t>(BoxSurface(m_engine.m_level, 1, kBoxXHigh))];
    device.BeginFrame();
    device.Clear(0);
    device.SetViewTransform(view.m_camera.m_viewMatrix);
    device.SetProjectionTransform(view.m_camera.m_projectionMatrix);
    device.DrawPrimitive(PrimitiveType::TriangleFan, nearWall.m_renderVertices, kNoTexture);
    device.EndFrame();
    m_gl.ReadBack();
    EXPECT_EQ(m_gl.Pixel(160, 120), 0u);
    device.BeginFrame();
    device.DrawPrimitive(PrimitiveType::TriangleFan, farWall.m_renderVertices, kNoTexture);
    device.EndFrame();
    m_gl.ReadBack();
    EXPECT_EQ(m_gl.Pixel(160, 120), kLitGrey);
}

TEST_F(GlFixtureRender, ScreenshotOfTheTwoRoomsWithATexturedWall)
{
    // The far wall wears the synthetic game's bricks, laid on by the editor's texture fitting
    // (320 texels a unit) and drawn through the texture cache on this device.
    const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(0);
    C3dView& view = m_engine.m_view;
    CQzlSections& level = m_engine.m_level;
    m_engine.m_game = std::move(game->m_resources);
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("brick.mat"));
    const int wall = BoxSurface(level, 1, kBoxXHigh);
    level.m_surfaces[static_cast<std::size_t>(wall)]->m_material =
        static_cast<std::int32_t>(level.m_materials.size() - 1);
    ComputeTextureCoords(level, wall, 0, 0.0f, 320.0f, 320.0f, 0.0f, 0.0f, 0);
    view.m_textureCache = std::make_unique<CTextureCache>(m_gl.m_device.get());
    RebuildAll(view, false);
    ASSERT_NE(level.m_surfaces[static_cast<std::size_t>(wall)]->m_texture, nullptr);
    m_engine.m_view.m_selection.m_sector = 0;
    Render(0);
    QImage image(m_gl.m_width, m_gl.m_height, QImage::Format_RGB32);
    for (int y = 0; y < m_gl.m_height; ++y)
        std::memcpy(image.scanLine(y),
                    m_gl.m_pixels.data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(m_gl.m_width),
                    static_cast<std::size_t>(m_gl.m_width) * sizeof(std::uint32_t));
    const std::string path = std::string(QZ_TEST_OUTPUT_DIR) + "/qz_gl_two_rooms.png";
    std::filesystem::remove(path);
    ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    const QImage back(QString::fromStdString(path));
    ASSERT_EQ(back.width(), 320);
    EXPECT_EQ(back.pixel(0, 0) & 0xFFFFFFu, kBackgroundPixel);
    // Bricks and mortar through the portal, not one flat colour.
    std::set<QRgb> colors;
    for (int y = 100; y < 140; ++y)
        for (int x = 140; x < 180; ++x)
            colors.insert(back.pixel(x, y) & 0xFFFFFFu);
    EXPECT_GE(colors.size(), 3u);
}

}  // namespace
