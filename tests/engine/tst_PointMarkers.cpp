// Point markers: the sorted marker array, its binary search, and the duplicate, proximity and
// size rules of adding a marker.

#include "engine/PointMarkers.h"
#include "framework/Settings.h"
#include "math/LitVertex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Point {
    float x, y, z;
    std::int32_t vertex;  // -1 for a grid point
};

constexpr std::uint32_t kColor = 0xFF00FF00u;

CPointMarkerArray AddAll(const std::vector<Point>& points, const CSettings& settings = {},
                         bool enlarged = false)
{
    CPointMarkerArray markers;
    for (const Point& p : points)
        AddPointMarker(markers, p.x, p.y, p.z, kColor, p.vertex, settings, enlarged);
    return markers;
}

std::vector<CVector3> PointsOf(const CPointMarkerArray& markers)
{
    std::vector<CVector3> points;
    for (const auto& m : markers)
        points.push_back(m->m_markerPoint);
    return points;
}

TEST(PointMarkers, DuplicateAndProximityRules)
{
    // "Grid" 0.1 (the default): grid points closer than 0.05 to a sort neighbour are refused.
    struct Case {
        const char* what;
        std::vector<Point> points;
        std::size_t markers;
    };
    const Case cases[] = {
        {"the same point twice", {{1, 2, 3, -1}, {1, 2, 3, -1}}, 1},
        {"the same point as a vertex marker after a grid point", {{1, 2, 3, -1}, {1, 2, 3, 4}}, 1},
        {"two points that round to the same 1/10000",
         {{1.00001f, 2, 3, 0}, {0.99996f, 2, 3, 1}},
         1},
        {"points 1/10000 apart", {{1.0f, 2, 3, 0}, {1.0001f, 2, 3, 1}}, 2},
        {"a vertex marker within half a grid step of its neighbour",
         {{1, 2, 3, -1}, {1.01f, 2, 3, 0}},
         2},
        {"a grid point within half a grid step of its neighbour",
         {{1, 2, 3, 0}, {1.01f, 2, 3, -1}},
         1},
        {"a grid point within half a grid step of the marker after it",
         {{1, 2, 3, 0}, {0.99f, 2, 3, -1}},
         1},
        {"a grid point half a grid step or more away", {{1, 2, 3, -1}, {1.06f, 2, 3, -1}}, 2},
        // (0, 0, 0) and (0.001, 0, 0) are close, but (0.0005, 9, 9) lies between them in x-major
        // order: only the sort neighbours are tested.
        {"a close point that is not a sort neighbour",
         {{0, 0, 0, -1}, {0.0005f, 9, 9, 0}, {0.001f, 0, 0, -1}},
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(AddAll(c.points).size(), c.markers);
    }
}

TEST(PointMarkers, TheArrayIsSortedXThenYThenZ)
{
    const CPointMarkerArray markers = AddAll(
        {{1, 0, 0, 0}, {0, 1, 0, 1}, {0, 0, 1, 2}, {0, 1, -1, 3}, {-1, 9, 9, 4}, {0, 0, 0, 5}});
    const std::vector<CVector3> expected = {{-1, 9, 9}, {0, 0, 0}, {0, 0, 1},
                                            {0, 1, -1}, {0, 1, 0}, {1, 0, 0}};
    EXPECT_EQ(PointsOf(markers), expected);
    EXPECT_EQ(markers[0]->m_markerVertex, 4);
    EXPECT_EQ(markers[5]->m_markerVertex, 0);

    struct Case {
        CVector3 p;
        int found;
        int index;
    };
    const Case cases[] = {
        {{-2, 0, 0}, 0, 0}, {{-1, 9, 9}, 1, 0}, {{0, 0, 0.5f}, 0, 2},
        {{0, 1, 0}, 1, 4},  {{0, 1, 1}, 0, 5},  {{5, 5, 5}, 0, 6},
    };
    for (const Case& c : cases) {
        int index = -1;
        EXPECT_EQ(FindPointMarker(markers, c.p.x, c.p.y, c.p.z, index), c.found);
        EXPECT_EQ(index, c.index);
    }

    // An empty array: not found, insertion at 0.
    int index = -1;
    EXPECT_EQ(FindPointMarker({}, 1, 2, 3, index), 0);
    EXPECT_EQ(index, 0);
}

TEST(PointMarkers, TheCubeAroundTheRoundedPoint)
{
    struct Case {
        const char* what;
        float scaling;
        bool enlarged;
        float span;
    };
    const Case cases[] = {{"VertexScaling 0.01", 0.01f, false, 0.02f},
                          {"enlarged view", 0.01f, true, 0.005f},
                          {"VertexScaling 0.5", 0.5f, false, 1.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSettings settings;
        settings.m_vertexScaling = c.scaling;
        const CPointMarkerArray markers =
            AddAll({{1.00004f, 2, -3.00006f, 7}}, settings, c.enlarged);
        ASSERT_EQ(markers.size(), 1u);
        const C3doMesh& m = *markers[0];
        EXPECT_TRUE(m.m_faces.empty());
        EXPECT_EQ(m.m_markerVertex, 7);
        EXPECT_FLOAT_EQ(m.m_markerPoint.x, 1.0f);
        EXPECT_FLOAT_EQ(m.m_markerPoint.z, -3.0001f);
        ASSERT_EQ(m.m_markerVertices.size(), 8u);
        EXPECT_EQ(m.m_markerIndices,
                  std::vector<std::uint16_t>(kCubeIndices.begin(), kCubeIndices.end()));
        for (std::size_t k = 0; k < 8; ++k) {
            const D3DLVERTEX& v = m.m_markerVertices[k];
            const D3DLVERTEX& corner = CubeCorners()[k];
            EXPECT_FLOAT_EQ(v.x, m.m_markerPoint.x + corner.x * c.span / 2);
            EXPECT_FLOAT_EQ(v.y, m.m_markerPoint.y + corner.y * c.span / 2);
            EXPECT_FLOAT_EQ(v.z, m.m_markerPoint.z + corner.z * c.span / 2);
            EXPECT_EQ(v.color, kColor);
            EXPECT_EQ(v.specular, 0u);
            EXPECT_EQ(v.tu, 0.0f);
        }
    }
}

TEST(PointMarkers, TheGridSettingSetsTheProximity)
{
    CSettings settings;
    settings.m_grid = 1.0f;
    EXPECT_EQ(AddAll({{0, 0, 0, -1}, {0.4f, 0, 0, -1}}, settings).size(), 1u);
    EXPECT_EQ(AddAll({{0, 0, 0, -1}, {0.6f, 0, 0, -1}}, settings).size(), 2u);
}

}  // namespace
