// The frame routine hands the surfaces it draws from the sector buffers to the device grouped by
// texture: one call for each texture in view, however many surfaces and sectors carry it, before
// the translucent pass.

#include "engine/FrameRender.h"

#include "FrameTestSupport.h"
#include "engine/Texture.h"
#include "support/FixtureLevels.h"
#include "support/RecordingRenderDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// Notes each grouped draw and then draws its ranges one by one, as the recording device notes them.
class CBatchRecordingDevice : public CRecordingRenderDevice {
public:
    struct CBatch {
        TextureId m_texture = kNoTexture;
        std::size_t m_ranges = 0;
    };

    void DrawVertexBufferRanges(PrimitiveType type, std::span<const CBufferRange> ranges,
                                TextureId texture) override
    {
        m_calls.push_back("DrawVertexBufferRanges");
        m_batches.push_back({texture, ranges.size()});
        RenderDevice::DrawVertexBufferRanges(type, ranges, texture);
    }

    std::vector<CBatch> m_batches;
};

struct CBatchCase {
    const char* m_name;
    int m_textures;     // surfaces carry textures[surface % m_textures]; 0: none
    CVector3 m_camera;  // looking along +x
    bool m_transparentPortals;
};

class FrameBatching : public ::testing::TestWithParam<CBatchCase> {
protected:
    CBatchRecordingDevice m_device;
    std::vector<std::unique_ptr<CTexture>> m_textures;
    CFixtureEngine m_engine{MakeLCorridor()};
};

TEST_P(FrameBatching, OneDrawForEachTextureInView)
{
    const CBatchCase& c = GetParam();
    C3dView& view = m_engine.m_view;
    ReadyToDraw(view, m_device);
    m_engine.m_settings.m_collision = 0;
    m_engine.m_settings.m_adjoin = 2;
    m_engine.m_settings.m_adjoinTransparent = c.m_transparentPortals ? 1 : 0;
    for (int t = 0; t < c.m_textures; ++t) {
        m_textures.push_back(std::make_unique<CTexture>("t" + std::to_string(t) + ".mat", "a.cmp"));
        m_textures.back()->m_device = &m_device;
        m_textures.back()->m_surface = m_device.CreateTexture(2, 2, TextureFormat::Rgb565);
    }
    for (std::size_t s = 0; s < m_engine.m_level.m_surfaces.size(); ++s)
        m_engine.m_level.m_surfaces[s]->m_texture =
            c.m_textures > 0 ? m_textures[s % m_textures.size()].get() : nullptr;
    SetCameraPosition(view, c.m_camera.x, c.m_camera.y, c.m_camera.z);

    // The first frame uploads the buffers; the second draws from them as every later one does.
    for (int frame = 0; frame < 2; ++frame) {
        m_device.m_draws.clear();
        m_device.m_calls.clear();
        m_device.m_batches.clear();
        RenderFrame(view, 1);
    }

    std::set<TextureId> inView;
    std::size_t fromBuffers = 0;
    for (const auto& draw : m_device.m_draws) {
        if (draw.m_buffer == kNoBuffer)
            continue;
        inView.insert(draw.m_texture);
        ++fromBuffers;
    }
    ASSERT_GT(fromBuffers, inView.size()) << "the view must show more surfaces than textures";
    EXPECT_EQ(m_device.m_batches.size(), inView.size());
    std::set<TextureId> batched;
    std::size_t ranges = 0;
    for (const auto& batch : m_device.m_batches) {
        EXPECT_TRUE(batched.insert(batch.m_texture).second) << "texture drawn twice";
        ranges += batch.m_ranges;
    }
    EXPECT_EQ(ranges, fromBuffers);
    EXPECT_EQ(batched, inView);
    EXPECT_EQ(m_device.m_misuseCount, 0);

    // The grouped draws come before the translucent portals, the last streamed draws.
    const auto& calls = m_device.m_calls;
    const auto lastBatch = std::find(calls.rbegin(), calls.rend(), "DrawVertexBufferRanges");
    const auto lastStreamed = std::find(calls.rbegin(), calls.rend(), "DrawPrimitive");
    ASSERT_NE(lastBatch, calls.rend());
    if (c.m_transparentPortals) {
        ASSERT_NE(lastStreamed, calls.rend());
        EXPECT_GT(lastBatch - calls.rbegin(), lastStreamed - calls.rbegin());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Views, FrameBatching,
    ::testing::Values(CBatchCase{"ThreeTexturesFromTheFirstRoom", 3, {0.02f, 0.5f, 0.5f}, true},
                      CBatchCase{"TwoTexturesFromOutside", 2, {-2.0f, 0.5f, 0.5f}, true},
                      CBatchCase{"OneTextureOpaquePortals", 1, {0.02f, 0.5f, 0.5f}, false},
                      CBatchCase{"UntexturedSurfaces", 0, {0.02f, 0.5f, 0.5f}, true}),
    [](const ::testing::TestParamInfo<CBatchCase>& param) { return param.param.m_name; });

}  // namespace
