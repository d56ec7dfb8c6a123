// A damaged level drawn through the frame routine on the OpenGL device: a floor whose material is
// beyond the list, a room whose colour map is beyond the list and a portal whose mirror is none.
// The picture shows both rooms as the undamaged level does, the bad material as an untextured
// surface.

#include "GlTestContext.h"

#include "SyntheticGame.h"
#include "engine/Camera.h"
#include "engine/FrameRender.h"
#include "engine/RenderData.h"
#include "engine/TextureCache.h"
#include "engine/gl/GlDisplayModes.h"
#include "framework/DocumentState.h"
#include "level/TextureFit.h"
#include "support/DamagedLevels.h"
#include "support/FixtureLevels.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>

namespace {

constexpr std::uint32_t kBackground = 0x00204060;  // "ColorBackground" 0x00BBGGRR
constexpr std::uint32_t kBackgroundPixel = 0x00604020;

// The undamaged level with the damage of each named entry.
CQzlSections DamagedWith(std::initializer_list<std::string_view> names)
{
    CQzlSections level = MakeUndamagedLevel();
    for (const std::string_view name : names)
        for (const CDamagedLevel& d : DamagedLevels())
            if (name == d.m_name)
                d.m_damage(level);
    return level;
}

// The picture of the level drawn from outside room 0 at (-1, 0.5, 0.5) looking along +x, the far
// wall of room 1 in the synthetic game's bricks; saved as name in the test output folder.
QImage DrawFromOutside(CGlTestContext& gl, CQzlSections level, const char* name)
{
    CFixtureEngine engine(std::move(level));
    const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(0);
    engine.m_game = std::move(game->m_resources);
    C3dView& view = engine.m_view;
    CQzlSections& l = engine.m_level;
    engine.m_settings.m_colorBackground = kBackground;
    l.m_materials.push_back(std::make_unique<CQzlMaterial>("brick.mat"));
    const int wall = BoxSurface(l, 1, kBoxXHigh);
    l.m_surfaces[static_cast<std::size_t>(wall)]->m_material =
        static_cast<std::int32_t>(l.m_materials.size() - 1);
    ComputeTextureCoords(l, wall, 0, 0.0f, 320.0f, 320.0f, 0.0f, 0.0f, 0);
    view.m_textureCache = std::make_unique<CTextureCache>(gl.m_device.get());
    RebuildAll(view, false);
    view.m_device = gl.m_device.get();
    view.m_skip = 0;
    ListDisplayModes(view);
    ChooseRenderSize(view, 320, 240);
    EXPECT_TRUE(
        gl.m_device->SetRenderSize(view.m_viewport.m_renderWidth, view.m_viewport.m_renderHeight));
    EXPECT_TRUE(SetUpViewAndProjection(view, 320, 240));
    SetCameraAxes(view, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    SetCameraPosition(view, -1.0f, 0.5f, 0.5f);
    view.m_selection.m_sector = 0;
    engine.m_document.m_renderMode = 0;  // every sector solid
    RenderFrame(view, 1);
    gl.ReadBack();
    QImage image(gl.m_width, gl.m_height, QImage::Format_RGB32);
    for (int y = 0; y < gl.m_height; ++y)
        std::memcpy(image.scanLine(y),
                    gl.m_pixels.data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(gl.m_width),
                    static_cast<std::size_t>(gl.m_width) * sizeof(std::uint32_t));
    const std::string path = std::string(QZ_TEST_OUTPUT_DIR) + "/" + name;
    std::filesystem::remove(path);
    EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    view.m_textureCache.reset();
    return QImage(QString::fromStdString(path));
}

// The share of the pixels of a rectangle that show the background.
double BackgroundShare(const QImage& image, int x0, int y0, int x1, int y1)
{
    int background = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            background += (image.pixel(x, y) & 0xFFFFFFu) == kBackgroundPixel ? 1 : 0;
    return static_cast<double>(background) / ((x1 - x0) * (y1 - y0));
}

TEST(GlDamagedLevel, BadMaterialColorMapAndMirrorAreDrawnAsNone)
{
    CGlTestContext gl;
    ASSERT_NE(gl.m_device, nullptr) << gl.m_error;
    const QImage sound = DrawFromOutside(gl, MakeUndamagedLevel(), "qz_gl_undamaged_rooms.png");
    const QImage damaged =
        DrawFromOutside(gl, DamagedWith({"mirror-none", "material-beyond", "colormap-beyond"}),
                        "qz_gl_damaged_rooms.png");
    ASSERT_EQ(damaged.width(), 320);
    ASSERT_EQ(damaged.height(), 240);
    // The corner outside the rooms is background.
    EXPECT_EQ(damaged.pixel(0, 0) & 0xFFFFFFu, kBackgroundPixel);
    // Room 0's walls fill the middle of the picture, and the far wall's bricks show through the
    // portal: several colours, no background.
    std::set<QRgb> colors;
    for (int y = 100; y < 140; ++y)
        for (int x = 140; x < 180; ++x)
            colors.insert(damaged.pixel(x, y) & 0xFFFFFFu);
    EXPECT_GE(colors.size(), 3u);
    EXPECT_EQ(BackgroundShare(damaged, 120, 60, 200, 180), 0.0);
    // The picture covers as much as the undamaged level's does.
    EXPECT_NEAR(BackgroundShare(damaged, 0, 0, 320, 240), BackgroundShare(sound, 0, 0, 320, 240),
                0.01);
}

}  // namespace
