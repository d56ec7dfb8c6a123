// A camera inside closed rooms hands the device only the buffered surfaces of the rooms it can see
// into: the frame's pixels stay those of the same frame drawn surface by surface with nothing left
// out (a device that keeps no buffers), seen from inside, from a portal's plane, from outside the
// level, next to a wall, with a room reaching into the camera's, with a room of the walk beyond the
// horizon, and through a hole in the camera's room; and a field of closed rooms seen from outside,
// where the sectors lie wholly or partly in view and each texture's draw holds many surfaces.

#include "GlTestContext.h"

#include "engine/Camera.h"
#include "engine/ForwardingRenderDevice.h"
#include "engine/FrameRender.h"
#include "engine/RenderData.h"
#include "engine/Texture.h"
#include "support/FixtureLevels.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// Hands every call to the OpenGL device and counts the vertices drawn, streamed or from buffers;
// without buffers every surface is streamed and none is left out.
class CCountingDevice : public CForwardingRenderDevice {
public:
    CCountingDevice(RenderDevice& target, bool keepsBuffers)
        : CForwardingRenderDevice(target), m_keepsBuffers(keepsBuffers)
    {}
    BufferId CreateVertexBuffer() override
    {
        return m_keepsBuffers ? m_target.CreateVertexBuffer() : kNoBuffer;
    }
    void DrawPrimitive(PrimitiveType type, std::span<const D3DLVERTEX> vertices,
                       TextureId texture) override
    {
        m_vertices += vertices.size();
        m_target.DrawPrimitive(type, vertices, texture);
    }
    void DrawVertexBufferRanges(PrimitiveType type, std::span<const CBufferRange> ranges,
                                TextureId texture) override
    {
        for (const CBufferRange& range : ranges)
            m_vertices += range.m_count;
        m_target.DrawVertexBufferRanges(type, ranges, texture);
    }

    bool m_keepsBuffers;
    std::size_t m_vertices = 0;
};

constexpr std::uint32_t kBackground = 0x00204060;
constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr std::uint32_t kTexels[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF};

struct CCase {
    const char* name;
    CVector3 position;
    CVector3 forward;
    float horizon = 200.0f;
    bool overlapping = false;  // a small room inside the first one
    bool leavesOut = false;    // the buffered draws of the rooms out of sight are left out
    bool hole = false;         // the first room without its floor
    CVector3 up{0.0f, 1.0f, 0.0f};
    bool field = false;  // the field of rooms instead of the corridor
};

// kFieldSide x kFieldSide closed box rooms side by side on the floor plane, 1 x 1 x 1 each with a
// gap of 0.25 between them.
constexpr int kFieldSide = 12;
CQzlSections MakeFieldOfRooms()
{
    CQzlSections level = MakeEmptyLevel();
    for (int i = 0; i < kFieldSide; ++i)
        for (int k = 0; k < kFieldSide; ++k) {
            const CVector3 lo{1.25f * static_cast<float>(i), 0.0f, 1.25f * static_cast<float>(k)};
            AddBoxSector(level, lo, {lo.x + 1.0f, 1.0f, lo.z + 1.0f});
        }
    FinishFixture(level);
    return level;
}

// The L corridor (rooms 0, 1, 2 joined through open portals) and four closed rooms: room 3 beyond
// room 1's wall x = 2, room 4 beyond room 0's wall z = 0, room 5 beyond room 2's wall z = 2,
// room 6 below room 0.
CQzlSections MakeCorridorAndRooms(bool overlapping, bool hole)
{
    CQzlSections level = MakeLCorridor();
    if (hole)
        level.m_sectors[0]->m_surfaces.erase(level.m_sectors[0]->m_surfaces.begin() + kBoxFloor);
    AddBoxSector(level, {0.0f, -1.5f, 0.0f}, {1.0f, -0.5f, 1.0f});
    AddBoxSector(level, {2.0f, 0.0f, 0.0f}, {3.0f, 1.0f, 1.0f});
    AddBoxSector(level, {0.0f, 0.0f, -1.5f}, {1.0f, 1.0f, -0.5f});
    AddBoxSector(level, {1.0f, 0.0f, 2.5f}, {2.0f, 1.0f, 3.5f});
    if (overlapping)
        AddBoxSector(level, {0.7f, 0.2f, 0.3f}, {0.9f, 0.4f, 0.5f});
    FinishFixture(level);
    return level;
}

TEST(GlEnclosedFrame, SamePixelsAsEverySurfaceDrawn)
{
    CGlTestContext gl;
    ASSERT_NE(gl.m_device, nullptr) << gl.m_error;
    const CCase cases[] = {
        {"inside, looking through the portals", {0.3f, 0.5f, 0.5f}, {1, 0, 0}, 200.0f, false, true},
        {"inside, looking at a closed wall", {0.5f, 0.5f, 0.5f}, {0, 0, -1}, 200.0f, false, true},
        {"on the plane of a portal", {1.0f, 0.5f, 0.5f}, {0, 0, 1}, 200.0f, false, true},
        {"outside the level", {-3.0f, 1.5f, 0.5f}, {1, 0, 0}, 200.0f, false, false},
        {"next to a wall", {0.5f, 0.5f, 0.0005f}, {1, 0, 0}, 200.0f, false, false},
        {"a room reaching into the camera's", {0.3f, 0.5f, 0.5f}, {1, 0, 0}, 200.0f, true, false},
        // Room 2's centre (1.5, 0.5, 1.5) lies 1.53 from the focus point: beyond the horizon it
        // is not drawn, and the rays through its portal are not shown to meet a wall.
        {"a room of the walk at the horizon", {0.3f, 0.5f, 0.5f}, {1, 0, 0}, 1.5f, false, false},
        {.name = "looking at the floor",
         .position = {0.5f, 0.5f, 0.5f},
         .forward = {0, -1, 0},
         .leavesOut = true,
         .up = {1, 0, 0}},
        {.name = "looking through a hole in the floor",
         .position = {0.5f, 0.5f, 0.5f},
         .forward = {0, -1, 0},
         .hole = true,
         .up = {1, 0, 0}},
        // Above the field looking down at it: the floors show through the ceilings, which face
        // away; the rooms at the edges of the picture lie partly in view.
        {.name = "above a field of rooms",
         .position = {7.5f, 6.0f, 2.0f},
         .forward = {0.0f, -0.8f, 0.6f},
         .up = {0.0f, 0.6f, 0.8f},
         .field = true},
        {.name = "beside a field of rooms, low",
         .position = {-2.0f, 2.0f, -2.0f},
         .forward = {0.7071f, -0.0f, 0.7071f},
         .field = true},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine{c.field ? MakeFieldOfRooms()
                                      : MakeCorridorAndRooms(c.overlapping, c.hole)};
        C3dView& view = engine.m_view;
        CQzlSections& level = engine.m_level;
        engine.m_settings.m_colorBackground = kBackground;
        engine.m_settings.m_collision = 0;
        engine.m_settings.m_horizonDistance = c.horizon;
        engine.m_document.m_renderMode = 0;
        RebuildAll(view, false);

        std::vector<std::unique_ptr<CTexture>> textures;
        for (const std::uint32_t texel : kTexels) {
            textures.push_back(std::make_unique<CTexture>("c.mat", "dflt.cmp"));
            textures.back()->m_device = gl.m_device.get();
            textures.back()->m_surface = gl.m_device->CreateTexture(2, 2, TextureFormat::Argb8888);
            const std::vector<std::uint32_t> texels = {texel, texel, 0xFF808080, texel};
            ASSERT_TRUE(gl.m_device->UploadTexture(textures.back()->m_surface,
                                                   std::as_bytes(std::span(texels))));
        }
        for (std::size_t s = 0; s < level.m_surfaces.size(); ++s)
            level.m_surfaces[s]->m_texture = textures[s % textures.size()].get();

        view.m_skip = 0;
        view.m_viewport.m_renderWidth = kWidth;
        view.m_viewport.m_renderHeight = kHeight;
        ASSERT_TRUE(gl.m_device->SetRenderSize(kWidth, kHeight));
        ASSERT_TRUE(SetUpViewAndProjection(view, kWidth, kHeight));
        SetCameraAxes(view, c.forward.x, c.forward.y, c.forward.z, c.up.x, c.up.y, c.up.z);
        SetCameraPosition(view, c.position.x, c.position.y, c.position.z);

        // The second frame of each device: the first uploads the buffers.
        const auto draw = [&](CCountingDevice& device) {
            view.m_device = &device;
            RenderFrame(view, 1);
            device.m_vertices = 0;
            RenderFrame(view, 1);
            gl.ReadBack();
            return gl.m_pixels;
        };
        CCountingDevice streaming(*gl.m_device, false);
        const std::vector<std::uint32_t> everything = draw(streaming);
        CCountingDevice buffering(*gl.m_device, true);
        const std::vector<std::uint32_t> buffered = draw(buffering);
        view.m_device = gl.m_device.get();
        view.ClearRenderObjects();

        ASSERT_EQ(everything.size(), buffered.size());
        std::size_t differing = 0;
        for (std::size_t i = 0; i < everything.size(); ++i)
            differing += everything[i] != buffered[i] ? 1 : 0;
        EXPECT_EQ(differing, 0u);

        // The frame shows the rooms' textures, not just the background.
        const std::size_t shown = static_cast<std::size_t>(
            std::count_if(everything.begin(), everything.end(), [](std::uint32_t pixel) {
                return (pixel & 0xFFFFFFu) != ClearColorFromSetting(kBackground);
            }));
        EXPECT_GT(shown, everything.size() / 10);

        if (c.leavesOut)
            EXPECT_LT(buffering.m_vertices, streaming.m_vertices);
        else
            EXPECT_EQ(buffering.m_vertices, streaming.m_vertices);

        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(image.scanLine(y), buffered.data() + static_cast<std::size_t>(y) * kWidth,
                        kWidth * sizeof(std::uint32_t));
        const std::string path = std::string(QZ_TEST_OUTPUT_DIR) + "/qz_gl_enclosed_frame_" +
                                 std::to_string(&c - cases) + ".png";
        std::filesystem::remove(path);
        ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    }
}

}  // namespace
