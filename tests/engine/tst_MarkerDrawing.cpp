// Drawing of the point markers: which markers a frame draws (distance to the focus point, the
// frustum test), the draw calls they make on the device and the colours they carry.

#include "engine/MarkerDrawing.h"

#include "engine/C3dView.h"
#include "engine/MarkerBuilders.h"
#include "engine/PointMarkers.h"
#include "framework/Settings.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/RecordingRenderDevice.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

const CBoxInFrustum kAll = [](const CBoundingBox&) { return true; };

struct CMarkerFixture : public ::testing::Test {
    CMarkerFixture()
    {
        f.m_view.m_device = &device;
        f.m_view.m_camera.m_focusPoint = {0.5f, 0.5f, 0.5f};
    }

    // One grid marker at each point.
    void PickNodes(std::vector<CVector3> nodes)
    {
        f.m_view.m_selection.m_pickedNodes = std::move(nodes);
        BuildAllVertexMarkers(f.m_view);
    }

    CFixtureEngine f{MakeBoxRoom()};
    CRecordingRenderDevice device;
};

TEST_F(CMarkerFixture, EachMarkerIsOneUntexturedTriangleListInWorldSpace)
{
    const int floor = BoxSurface(f.m_level, 0, kBoxFloor);
    f.m_level.m_surfaces[static_cast<std::size_t>(floor)]->m_vertices[2].m_marked = 1;
    f.m_settings.m_colorSelect = 0x123456;
    f.m_view.m_selection.m_surface = floor;
    BuildSectorVertexMarkers(f.m_view);
    ASSERT_EQ(f.m_view.m_markers.size(), 4u);
    // A preview model leaves its own transform in force.
    device.SetWorldTransform(MatrixTranslation({5, 6, 7}));
    device.m_calls.clear();

    EXPECT_EQ(DrawPointMarkers(f.m_view, kAll), 4);

    const std::vector<std::string> calls{"SetWorldTransform", "DrawPrimitive", "DrawPrimitive",
                                         "DrawPrimitive", "DrawPrimitive"};
    EXPECT_EQ(device.m_calls, calls);
    ASSERT_EQ(device.m_draws.size(), 4u);
    std::multiset<std::uint32_t> colors;
    for (std::size_t m = 0; m < 4; ++m) {
        const auto& draw = device.m_draws[m];
        const C3doMesh& marker = *f.m_view.m_markers[m];
        EXPECT_EQ(draw.m_type, PrimitiveType::TriangleList);
        EXPECT_EQ(draw.m_texture, kNoTexture);
        EXPECT_EQ(draw.m_world, MatrixIdentity());
        ASSERT_EQ(draw.m_vertices.size(), kCubeIndices.size());
        for (std::size_t i = 0; i < kCubeIndices.size(); ++i)
            EXPECT_EQ(draw.m_vertices[i], marker.m_markerVertices[kCubeIndices[i]]);
        colors.insert(draw.m_vertices.front().color);
    }
    // "ColorSelect" 0x123456 for the marked corner; the box room shares every corner with two
    // walls, so the others take "ColorLink" 0xFF0000 (0xFF0000FF as ARGB).
    const std::multiset<std::uint32_t> expected{0xFF563412u, 0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu};
    EXPECT_EQ(colors, expected);
}

TEST_F(CMarkerFixture, GridMarkersTakeTheGridColour)
{
    f.m_settings.m_colorGrid = 0x00ABCDEF;
    PickNodes({{0, 0, 0}, {1, 0, 0}});
    EXPECT_EQ(DrawPointMarkers(f.m_view, kAll), 2);
    for (const auto& draw : device.m_draws) {
        for (const D3DLVERTEX& v : draw.m_vertices)
            EXPECT_EQ(v.color, 0xFFEFCDABu);
    }
}

TEST_F(CMarkerFixture, OnlyMarkersWithinGridDistanceOfTheFocusPoint)
{
    // Cubes of half-size 1: the marker at x = 5 starts at x = 4, 4 from the focus point.
    f.m_settings.m_vertexScaling = 1.0f;
    f.m_view.m_camera.m_focusPoint = {0, 0, 0};
    struct CCase {
        float gridDistance;
        int drawn;
    };
    const CCase cases[] = {{10.0f, 2}, {4.01f, 2}, {4.0f, 1}, {0.5f, 1}, {0.0f, 0}, {-4.01f, 2}};
    for (const CCase& c : cases) {
        PickNodes({{0, 0, 0}, {5, 0, 0}});
        f.m_settings.m_gridDistance = c.gridDistance;
        EXPECT_EQ(DrawPointMarkers(f.m_view, kAll), c.drawn) << c.gridDistance;
    }
}

TEST_F(CMarkerFixture, FrustumTestSeesEachBoxAndBoxesAreKept)
{
    PickNodes({{0, 0, 0}, {1, 1, 1}});
    std::vector<CBoundingBox> asked;
    const CBoxInFrustum onlyOrigin = [&](const CBoundingBox& box) {
        asked.push_back(box);
        return box.min.x < 0.5f;
    };
    EXPECT_EQ(DrawPointMarkers(f.m_view, onlyOrigin), 1);
    ASSERT_EQ(asked.size(), 2u);
    const float h = f.m_settings.m_vertexScaling;
    EXPECT_EQ(asked[0], (CBoundingBox{{-h, -h, -h}, {h, h, h}}));
    EXPECT_EQ(asked[1], (CBoundingBox{{1 - h, 1 - h, 1 - h}, {1 + h, 1 + h, 1 + h}}));
    ASSERT_EQ(device.m_draws.size(), 1u);
    EXPECT_EQ(device.m_draws[0].m_vertices[0].x, -h);

    // The box is computed once and kept until the markers are rebuilt.
    EXPECT_EQ(f.m_view.m_markers[0]->m_boxValid, 1);
    f.m_view.m_markers[0]->m_markerVertices[0].x = -50.0f;
    asked.clear();
    DrawPointMarkers(f.m_view, onlyOrigin);
    EXPECT_EQ(asked[0].min.x, -h);
}

TEST_F(CMarkerFixture, NothingWithoutDeviceOrWithBrokenIndices)
{
    PickNodes({{0, 0, 0}, {1, 0, 0}});
    f.m_view.m_device = nullptr;
    EXPECT_EQ(DrawPointMarkers(f.m_view, kAll), 0);

    f.m_view.m_device = &device;
    f.m_view.m_markers[0]->m_markerIndices.back() = 8;  // one past the eight cube vertices
    EXPECT_EQ(DrawPointMarkers(f.m_view, kAll), 1);
    ASSERT_EQ(device.m_draws.size(), 1u);
    EXPECT_EQ(device.m_draws[0].m_vertices[0], f.m_view.m_markers[1]->m_markerVertices[0]);

    f.m_view.m_markers.clear();
    device.m_calls.clear();
    EXPECT_EQ(DrawPointMarkers(f.m_view, kAll), 0);
    EXPECT_TRUE(device.m_calls.empty());
}

}  // namespace
