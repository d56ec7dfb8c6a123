// Grid-point markers: the volume grid of a sector, the axis grid of a surface (also through its
// centroid), the grid along an edge, the even division of edges, the surface centroid, and the
// refusal of layouts too fine to lay out.

#include "engine/GridPoints.h"

#include "engine/C3dView.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/RecordingEngineHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

// A sector of one surface with the given corners; planes and boxes are computed.
int AddPolygon(CQzlSections& level, const std::vector<CVector3>& corners)
{
    auto surface = std::make_unique<CQzlSurface>();
    for (const CVector3& p : corners) {
        CQzlVertex v;
        v.m_worldVertex = level.AddVertexXYZ(p.x, p.y, p.z);
        surface->m_vertices.push_back(v);
    }
    auto sector = std::make_unique<CQzlSector>();
    sector->m_surfaces.push_back(static_cast<std::int32_t>(level.m_surfaces.size()));
    level.m_surfaces.push_back(std::move(surface));
    level.m_sectors.push_back(std::move(sector));
    UpdateSectorBounds(level);
    return static_cast<int>(level.m_surfaces.size()) - 1;
}

std::vector<CVector3> MarkerPoints(const C3dView& view)
{
    std::vector<CVector3> points;
    for (const auto& m : view.m_markers)
        points.push_back(m->m_markerPoint);
    return points;
}

bool HasMarkerNear(const C3dView& view, const CVector3& p, float tolerance = 2e-4f)
{
    return std::any_of(view.m_markers.begin(), view.m_markers.end(), [&](const auto& m) {
        return VectorLength(m->m_markerPoint - p) <= tolerance;
    });
}

CVector3 Cross(const CVector3& a, const CVector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

bool NearInteger(float v)
{
    return std::fabs(v - std::round(v)) < 1e-3f;
}

TEST(GridPoints, SurfaceCentroidWeighsByAreaAndAveragesWithoutArea)
{
    CQzlSections level = MakeBoxRoom();
    const int floor = BoxSurface(level, 0, kBoxFloor);
    const int trapezoid = AddPolygon(level, {{0, 0, 0}, {4, 0, 0}, {1, 0, 1}, {0, 0, 1}});
    const int line = AddPolygon(level, {{0, 5, 0}, {1, 5, 0}, {2, 5, 0}});
    const int point = AddPolygon(level, {{3, 3, 3}, {3, 3, 3}, {3, 3, 3}});

    const struct {
        int surface;
        CVector3 centroid;
    } cases[] = {
        {floor, {0.5f, 0.0f, 0.5f}},
        {trapezoid, {1.4f, 0.0f, 0.4f}},  // the corner average would be (1.25, 0, 0.5)
        {line, {1.0f, 5.0f, 0.0f}},       // no area: the corner average
        {point, {3.0f, 3.0f, 3.0f}},
        {-1, {0, 0, 0}},
        {99, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        const CVector3 got = SurfaceCentroid(level, c.surface);
        EXPECT_NEAR(got.x, c.centroid.x, 1e-5f) << c.surface;
        EXPECT_NEAR(got.y, c.centroid.y, 1e-5f) << c.surface;
        EXPECT_NEAR(got.z, c.centroid.z, 1e-5f) << c.surface;
    }
}

TEST(GridPoints, EdgeDivisionSplitsEveryEdgeEvenly)
{
    CQzlSections level = MakeEmptyLevel();
    const int square = AddPolygon(level, {{0, 0, 0}, {2, 0, 0}, {2, 0, 2}, {0, 0, 2}});
    CFixtureEngine f(std::move(level));
    f.m_settings.m_grid = 1.0f;
    f.m_document.m_gridEdgesOnly = 1;

    EXPECT_TRUE(AddSurfaceGridMarkers(f.m_view, square));
    // An edge of length 2 with grid 1: n = 3, four markers at 0, 1/3, 2/3 and 1 of the edge.
    for (const float x : {0.0f, 2.0f / 3.0f, 4.0f / 3.0f, 2.0f})
        EXPECT_TRUE(HasMarkerNear(f.m_view, {x, 0, 0})) << x;
    // Four edges share their ends: 4 corners and 2 inner markers per edge.
    EXPECT_EQ(f.m_view.m_markers.size(), 12u);
    for (const auto& m : f.m_view.m_markers) {
        EXPECT_EQ(m->m_markerVertex, -1);
        EXPECT_EQ(m->m_markerVertices.front().color, 0xFFFF8000u);  // "ColorGrid" 0x0080FF
    }
}

TEST(GridPoints, AxisGridLiesInEachSidesPlane)
{
    const struct {
        EBoxSide side;
        int axis;  // the axis the side is flat on
        float value;
    } cases[] = {
        {kBoxFloor, 1, 0.0f}, {kBoxCeiling, 1, 1.0f}, {kBoxXLow, 0, 0.0f},
        {kBoxXHigh, 0, 1.0f}, {kBoxZLow, 2, 0.0f},    {kBoxZHigh, 2, 1.0f},
    };
    for (const auto& c : cases) {
        CFixtureEngine f(MakeBoxRoom());
        f.m_settings.m_grid = 0.5f;
        const int surface = BoxSurface(f.m_level, 0, c.side);
        EXPECT_TRUE(AddSurfaceGridMarkers(f.m_view, surface));
        // The box widened by g/2 gives -0.25, 0.25, 0.75 on each running axis; two are inside.
        ASSERT_EQ(f.m_view.m_markers.size(), 4u) << c.side;
        for (const CVector3& p : MarkerPoints(f.m_view)) {
            const float coords[3] = {p.x, p.y, p.z};
            for (int axis = 0; axis < 3; ++axis) {
                if (axis == c.axis)
                    EXPECT_NEAR(coords[axis], c.value, 1e-4f) << c.side;
                else
                    EXPECT_TRUE(coords[axis] == 0.25f || coords[axis] == 0.75f) << c.side;
            }
        }
    }
}

TEST(GridPoints, AlignmentMinusTwoShiftsTheGridThroughTheCentroid)
{
    CQzlSections level = MakeBoxRoom();
    const int triangle = AddPolygon(level, {{0, 2, 0}, {1, 2, 0}, {0, 2, 1}});
    CFixtureEngine f(std::move(level));
    f.m_settings.m_alignment = -2;

    f.m_settings.m_grid = 0.5f;
    const int floor = BoxSurface(f.m_level, 0, kBoxFloor);
    EXPECT_TRUE(AddSurfaceGridMarkers(f.m_view, floor));
    // The four inner points are equally near the centre; the first, (0.25, 0.25), moves onto it.
    EXPECT_EQ(f.m_view.m_markers.size(), 4u);
    for (const CVector3& p : {CVector3(0.5f, 0, 0.5f), CVector3(1.0f, 0, 0.5f),
                              CVector3(0.5f, 0, 1.0f), CVector3(1.0f, 0, 1.0f)})
        EXPECT_TRUE(HasMarkerNear(f.m_view, p)) << p.x << " " << p.z;

    f.m_view.m_markers.clear();
    f.m_settings.m_grid = 0.25f;
    EXPECT_TRUE(AddSurfaceGridMarkers(f.m_view, triangle));
    const CVector3 centroid = SurfaceCentroid(f.m_level, triangle);
    EXPECT_TRUE(HasMarkerNear(f.m_view, centroid)) << centroid.x << " " << centroid.z;

    // Without the shift the grid stays on the axes' multiples.
    f.m_view.m_markers.clear();
    f.m_settings.m_alignment = -1;
    EXPECT_TRUE(AddSurfaceGridMarkers(f.m_view, triangle));
    EXPECT_FALSE(HasMarkerNear(f.m_view, centroid));
    EXPECT_TRUE(HasMarkerNear(f.m_view, {0.125f, 2.0f, 0.125f}));
}

TEST(GridPoints, EdgeGridFollowsTheChosenEdgeOrTheLast)
{
    CQzlSections level = MakeEmptyLevel();
    const std::vector<CVector3> corners{{0, 0, 0}, {2, 0, 0}, {2, 0, 2}, {1, 0, 2}};
    const int quad = AddPolygon(level, corners);
    CFixtureEngine f(std::move(level));
    f.m_settings.m_grid = 0.5f;
    const auto layout = [&f, quad](int alignment) {
        f.m_view.m_markers.clear();
        f.m_settings.m_alignment = alignment;
        EXPECT_TRUE(AddSurfaceGridMarkers(f.m_view, quad));
        return MarkerPoints(f.m_view);
    };

    const std::vector<CVector3> edge3 = layout(3);
    EXPECT_EQ(layout(5), edge3);  // beyond the last edge: the last edge
    EXPECT_NE(layout(0), edge3);

    // Every marker of edge 3 (from corner 3 to corner 0) sits on whole grid steps along and
    // across that edge, inside the quad; some lie off the edge's line.
    const CVector3 a = corners[3];
    const CVector3 u = (corners[0] - a) / VectorLength(corners[0] - a);
    const CVector3 w = Cross(u, f.m_level.m_surfaces[static_cast<std::size_t>(quad)]->m_normal);
    int offLine = 0;
    ASSERT_FALSE(edge3.empty());
    for (const CVector3& p : edge3) {
        const float s = Dot(p - a, u) / 0.5f;
        const float t = Dot(p - a, w) / 0.5f;
        EXPECT_TRUE(NearInteger(s)) << s;
        EXPECT_TRUE(NearInteger(t)) << t;
        EXPECT_GT(t, -1e-3f);
        if (t > 0.5f)
            ++offLine;
        int edge = 0;
        EXPECT_TRUE(PointSurfaceDistance(f.m_level, quad, p, edge));
    }
    EXPECT_GT(offLine, 0);
}

TEST(GridPoints, VolumeGridFillsTheSectorAndRestoresItsBox)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0.005f, 0, 0}, {1, 1, 1});
    FinishFixture(level);
    CFixtureEngine f(std::move(level));
    f.m_settings.m_grid = 0.5f;
    f.m_document.m_gridSurfaceOnly = 0;
    f.m_document.m_gridEdgesOnly = 0;
    f.m_view.m_selection.m_sector = 0;
    AddPointMarker(f.m_view.m_markers, 9, 9, 9, 0, -1, f.m_settings, false);
    const CBoundingBox box = f.m_level.m_sectors[0]->m_boundBox;

    EXPECT_TRUE(BuildGridPoints(f.m_view));
    // 0, 0.5 and 1 on each axis; x = 0 lies 0.005 outside the sector's face, within the test's
    // 0.01, and outside its own box, which the pass widens to the grid.
    EXPECT_EQ(f.m_view.m_markers.size(), 27u);
    EXPECT_FALSE(HasMarkerNear(f.m_view, {9, 9, 9}));
    EXPECT_TRUE(HasMarkerNear(f.m_view, {0, 0, 0}));
    EXPECT_EQ(f.m_level.m_sectors[0]->m_boundBox, box);
}

TEST(GridPoints, SurfaceModesPlaceTheGridOnEverySurfaceOfTheSector)
{
    const struct {
        int edgesOnly;
        std::size_t markers;
    } cases[] = {
        {0, 24u},  // four axis-grid points on each of the six sides
        {1, 32u},  // the 8 corners and two inner points on each of the 12 edges
    };
    for (const auto& c : cases) {
        CFixtureEngine f(MakeBoxRoom());
        f.m_settings.m_grid = 0.5f;
        f.m_document.m_gridSurfaceOnly = 1;
        f.m_document.m_gridEdgesOnly = c.edgesOnly;
        f.m_view.m_selection.m_sector = 0;
        EXPECT_TRUE(BuildGridPoints(f.m_view));
        EXPECT_EQ(f.m_view.m_markers.size(), c.markers) << c.edgesOnly;
    }
}

TEST(GridPoints, LayoutsTooFineAreRefused)
{
    const struct {
        const char* what;
        int surfaceOnly;
        int edgesOnly;
        int alignment;
        CVector3 hi;
    } cases[] = {
        {"volume", 0, 0, -1, {100, 100, 100}},
        {"axis", 1, 0, -1, {2000, 1, 2000}},
        {"edge grid", 1, 0, 0, {2000, 1, 2000}},
        {"edge division", 0, 1, -1, {1e6f, 1, 1}},
    };
    for (const auto& c : cases) {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, c.hi);
        FinishFixture(level);
        CFixtureEngine f(std::move(level));
        f.m_settings.m_grid = 0.1f;
        f.m_settings.m_alignment = c.alignment;
        f.m_document.m_gridSurfaceOnly = c.surfaceOnly;
        f.m_document.m_gridEdgesOnly = c.edgesOnly;
        f.m_view.m_selection.m_sector = 0;
        const CBoundingBox box = f.m_level.m_sectors[0]->m_boundBox;

        EXPECT_FALSE(BuildGridPoints(f.m_view)) << c.what;
        EXPECT_TRUE(f.m_view.m_markers.empty()) << c.what;
        EXPECT_EQ(f.m_level.m_sectors[0]->m_boundBox, box) << c.what;
        const auto& calls = f.m_host.m_calls;
        ASSERT_FALSE(calls.empty()) << c.what;
        EXPECT_EQ(calls.back().kind, CRecordingEngineHost::ECall::SetStatusText);
        EXPECT_EQ(calls.back().text, kGridTooFineText);
    }
}

TEST(GridPoints, NothingToLayOutGivesNoMarkers)
{
    CFixtureEngine f(MakeBoxRoom());
    AddPointMarker(f.m_view.m_markers, 9, 9, 9, 0, -1, f.m_settings, false);
    EXPECT_TRUE(BuildGridPoints(f.m_view));  // no current sector
    EXPECT_TRUE(f.m_view.m_markers.empty());
    EXPECT_TRUE(AddSurfaceGridMarkers(f.m_view, -1));
    EXPECT_TRUE(AddSurfaceGridMarkers(f.m_view, 6));
    EXPECT_TRUE(f.m_view.m_markers.empty());
    EXPECT_TRUE(f.m_host.m_calls.empty());
}

}  // namespace
