// The frame drawn with the device's grouped draws (one call per texture) against the same frame
// drawn one call per surface, on two joined rooms with three textures, a translucent portal and a
// sky ceiling: the pixels are the same.

#include "GlTestContext.h"

#include "engine/Camera.h"
#include "engine/ForwardingRenderDevice.h"
#include "engine/FrameRender.h"
#include "engine/RenderData.h"
#include "engine/Texture.h"
#include "support/FixtureLevels.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// Hands every call to the OpenGL device but the grouped draw, which it makes one DrawVertexBuffer
// per range, as a device without grouping does.
class COneByOneDevice : public CForwardingRenderDevice {
public:
    using CForwardingRenderDevice::CForwardingRenderDevice;
    void DrawVertexBuffer(BufferId buffer, PrimitiveType type, std::size_t first, std::size_t count,
                          TextureId texture) override
    {
        ++m_singleDraws;
        m_target.DrawVertexBuffer(buffer, type, first, count, texture);
    }
    void DrawVertexBufferRanges(PrimitiveType type, std::span<const CBufferRange> ranges,
                                TextureId texture) override
    {
        RenderDevice::DrawVertexBufferRanges(type, ranges, texture);
    }

    int m_singleDraws = 0;
};

constexpr std::uint32_t kLitGrey = 0xFF808080;
constexpr std::uint16_t kTexels565[] = {0xF800, 0x07E0, 0x001F};  // red, green, blue

TEST(GlBatchedFrame, SamePixelsAsOneDrawPerSurface)
{
    CGlTestContext gl;
    ASSERT_NE(gl.m_device, nullptr) << gl.m_error;
    CFixtureEngine engine{MakeTwoJoinedRooms()};
    C3dView& view = engine.m_view;
    CQzlSections& level = engine.m_level;
    engine.m_settings.m_colorBackground = 0x00204060;
    engine.m_settings.m_adjoin = 2;
    engine.m_settings.m_adjoinTransparent = 1;
    engine.m_settings.m_collision = 0;
    engine.m_document.m_renderMode = 0;
    RebuildAll(view, false);

    std::vector<std::unique_ptr<CTexture>> textures;
    for (const std::uint16_t texel : kTexels565) {
        textures.push_back(std::make_unique<CTexture>("c.mat", "dflt.cmp"));
        textures.back()->m_device = gl.m_device.get();
        textures.back()->m_surface = gl.m_device->CreateTexture(4, 4, TextureFormat::Rgb565);
        const std::vector<std::uint16_t> texels(16, texel);
        ASSERT_TRUE(gl.m_device->UploadTexture(textures.back()->m_surface,
                                               std::as_bytes(std::span(texels))));
    }
    for (std::size_t s = 0; s < level.m_surfaces.size(); ++s) {
        CQzlSurface& surface = *level.m_surfaces[s];
        surface.m_texture = textures[s % textures.size()].get();
        for (D3DLVERTEX& v : surface.m_renderVertices)
            v.color = v.specular = kLitGrey;
    }
    // The second room's ceiling is sky (streamed, outside the groups).
    level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 1, kBoxCeiling))]->m_surfaceFlags |=
        0x200;

    view.m_skip = 0;
    view.m_viewport.m_renderWidth = 320;
    view.m_viewport.m_renderHeight = 240;
    ASSERT_TRUE(gl.m_device->SetRenderSize(320, 240));
    ASSERT_TRUE(SetUpViewAndProjection(view, 320, 240));
    SetCameraAxes(view, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    SetCameraPosition(view, 0.05f, 0.5f, 0.4f);

    const auto draw = [&](RenderDevice& device) {
        view.m_device = &device;
        RenderFrame(view, 1);  // uploads the buffers
        RenderFrame(view, 1);
        gl.ReadBack();
        return gl.m_pixels;
    };
    const std::vector<std::uint32_t> grouped = draw(*gl.m_device);
    COneByOneDevice oneByOne(*gl.m_device);
    const std::vector<std::uint32_t> single = draw(oneByOne);
    view.m_device = gl.m_device.get();
    view.ClearRenderObjects();
    ASSERT_GT(oneByOne.m_singleDraws, 2 * 3) << "more surfaces than textures were drawn";

    ASSERT_EQ(grouped.size(), single.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < grouped.size(); ++i)
        differing += grouped[i] != single[i] ? 1 : 0;
    EXPECT_EQ(differing, 0u);

    // The picture shows the three textures at half light, and the portal's tint over the second
    // room's walls.
    std::set<std::uint32_t> colours;
    for (const std::uint32_t pixel : grouped)
        colours.insert(pixel & 0xFFFFFFu);
    for (const std::uint32_t lit : {0x800000u, 0x008000u, 0x000080u})
        EXPECT_TRUE(colours.contains(lit)) << std::hex << lit;
    EXPECT_GT(colours.size(), 4u);

    QImage image(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < 240; ++y)
        std::memcpy(image.scanLine(y), grouped.data() + static_cast<std::size_t>(y) * 320,
                    320 * sizeof(std::uint32_t));
    const std::string path = std::string(QZ_TEST_OUTPUT_DIR) + "/qz_gl_grouped_frame.png";
    std::filesystem::remove(path);
    ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG"));
}

}  // namespace
