#include "geometry/Predicates.h"

#include "engine/3doFace.h"
#include "engine/Texture.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A level holding one surface with the given corners (no sector), its plane computed.
CQzlSections OneSurface(const std::vector<CVector3>& corners)
{
    CQzlSections level = MakeEmptyLevel();
    auto surface = std::make_unique<CQzlSurface>();
    for (const CVector3& p : corners) {
        CQzlVertex v;
        v.m_worldVertex = level.AddVertexXYZ(p.x, p.y, p.z);
        surface->m_vertices.push_back(v);
    }
    level.m_surfaces.push_back(std::move(surface));
    CalcSurfacePlane(level, 0);
    return level;
}

const std::vector<CVector3> kSquare{{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}};

void ExpectVector(const CVector3& actual, const CVector3& expected, float eps = 1e-6f)
{
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
    EXPECT_NEAR(actual.z, expected.z, eps);
}

TEST(Predicates, SurfacePlaneFromWindingWithTruncatedNormal)
{
    struct Case {
        const char* name;
        std::vector<CVector3> corners;
        CVector3 normal;
        float d;
    };
    const Case cases[] = {
        {"square", kSquare, {0, 0, 1}, 0.0f},
        {"square reversed", {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}}, {0, 0, -1}, 0.0f},
        {"square at z 2", {{0, 0, 2}, {0, 1, 2}, {1, 1, 2}, {1, 0, 2}}, {0, 0, 1}, 2.0f},
        // Unit normal (0.70710678, 0, 0.70710678): truncated toward zero, not rounded.
        {"diagonal",
         {{0, 0, 1}, {0, 1, 1}, {1, 1, 0}, {1, 0, 0}},
         {0.707106f, 0, 0.707106f},
         0.707106f},
        {"diagonal reversed",
         {{1, 0, 0}, {1, 1, 0}, {0, 1, 1}, {0, 0, 1}},
         {-0.707106f, 0, -0.707106f},
         -0.707106f},
        // No area: zero normal and zero plane.
        {"collinear", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {0, 0, 0}, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CQzlSections level = OneSurface(c.corners);
        const CQzlSurface& s = *level.m_surfaces[0];
        EXPECT_EQ(s.m_normal, c.normal);
        EXPECT_EQ(s.m_plane[0], -c.normal.x);
        EXPECT_EQ(s.m_plane[1], -c.normal.y);
        EXPECT_EQ(s.m_plane[2], -c.normal.z);
        EXPECT_NEAR(s.m_plane[3], c.d, 1e-6f);
    }

    // A plane without a normal neither projects nor is crossed.
    const CQzlSections flat = OneSurface({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    CVector3 out;
    float value = 0.0f;
    EXPECT_FALSE(ProjectPointOnSurfacePlane(flat, 0, {1, 1, 1}, out, value));
    EXPECT_FALSE(IntersectSegmentSurfacePlane(flat, 0, {0, 0, 1}, {0, 0, -1}, out, value));
}

TEST(Predicates, PointOnLineParam)
{
    struct Case {
        CVector3 a, b, p;
        bool on;
        float t;
    };
    const Case cases[] = {
        {{0, 0, 0}, {2, 0, 0}, {1, 0, 0}, true, 0.5f},
        {{0, 0, 0}, {2, 0, 0}, {3, 0, 0}, true, 1.5f},      // the line, not the segment
        {{0, 0, 0}, {2, 0, 0}, {1, 0.1f, 0}, false, 0.0f},  // off a flat axis
        {{0, 0, 0}, {1, 1, 0}, {0.5f, 0.5f, 0}, true, 0.5f},
        {{0, 0, 0}, {1, 1, 0}, {0.5f, 0.6f, 0}, false, 0.0f},  // parameters disagree
        {{0, 0, 0}, {0, 0, 4}, {0, 0, 1}, true, 0.25f},        // t from z alone
        {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, true, 0.0f},         // a = b: only a itself
        {{1, 1, 1}, {1, 1, 1}, {1, 1, 2}, false, 0.0f},
    };
    for (const Case& c : cases) {
        float t = -7.0f;
        EXPECT_EQ(PointOnLineParam(c.a, c.b, c.p, t, kTolerance), c.on);
        if (c.on) {
            EXPECT_FLOAT_EQ(t, c.t);
        }
    }
}

TEST(Predicates, EdgesOverlapInItsThreeForms)
{
    const CVector3 a0{0, 0, 0};
    const CVector3 a1{1, 0, 0};
    struct Case {
        const char* name;
        CVector3 b0, b1;
        bool loose, within;
    };
    const Case cases[] = {
        {"same way inside", {0.25f, 0, 0}, {0.75f, 0, 0}, true, true},
        {"whole edge", {0, 0, 0}, {1, 0, 0}, true, true},
        {"reversed", {0.75f, 0, 0}, {0.25f, 0, 0}, false, false},
        {"half outside", {0.5f, 0, 0}, {1.5f, 0, 0}, true, false},
        {"off the line", {0.25f, 0.1f, 0}, {0.75f, 0.1f, 0}, false, false},
        {"a point", {0.5f, 0, 0}, {0.5f, 0, 0}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        float t0 = 0.0f;
        float t1 = 0.0f;
        EXPECT_EQ(EdgesOverlap(a0, a1, c.b0, c.b1, t0, t1, false), c.loose);
        EXPECT_EQ(EdgesOverlap(a0, a1, c.b0, c.b1, t0, t1, true), c.within);
    }
    float t0 = 0.0f;
    float t1 = 0.0f;
    ASSERT_TRUE(EdgesOverlap(a0, a1, {0.25f, 0, 0}, {0.75f, 0, 0}, t0, t1, true));
    EXPECT_FLOAT_EQ(t0, 0.25f);
    EXPECT_FLOAT_EQ(t1, 0.75f);
}

TEST(Predicates, DistancesToLinesAndSegments)
{
    CVector3 foot;
    // The line is not clamped.
    EXPECT_FLOAT_EQ(ClosestPointOnLine({0, 0, 0}, {1, 0, 0}, {2, 1, 0}, &foot), 1.0f);
    ExpectVector(foot, {2, 0, 0});
    // Two equal points: the line is that point.
    EXPECT_FLOAT_EQ(ClosestPointOnLine({1, 1, 1}, {1, 1, 1}, {1, 4, 5}, &foot), 5.0f);
    EXPECT_EQ(foot, CVector3(1, 1, 1));

    struct Case {
        CVector3 p;
        float distance;
        CVector3 foot;
    };
    const Case cases[] = {
        {{0.5f, 2, 0}, 2.0f, {0.5f, 0, 0}},  // beside the segment
        {{-3, 4, 0}, 5.0f, {-3, 0, 0}},      // before a: distance to a, foot on the line
        {{4, 4, 0}, 5.0f, {4, 0, 0}},        // beyond b: distance to b, foot on the line
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(PointLineDistance({0, 0, 0}, {1, 0, 0}, c.p, &foot), c.distance);
        ExpectVector(foot, c.foot);
    }
    EXPECT_FLOAT_EQ(PointLineDistance({1, 1, 1}, {1, 1, 1}, {1, 1, 3}, &foot), 2.0f);
    EXPECT_EQ(foot, CVector3(1, 1, 1));
}

TEST(Predicates, PointSurfaceDistance)
{
    const CQzlSections level = OneSurface(kSquare);
    struct Case {
        CVector3 p;
        bool near;
        int edge;
    };
    // Edge 2 runs from (1, 1, 0) to (1, 0, 0).
    const Case cases[] = {
        {{0.5f, 0.5f, 0}, true, 0},  // inside: the first of four equal edges
        {{0.9f, 0.5f, 0}, true, 2},    {{1.0005f, 0.5f, 0}, true, 2},  // within 0.001 of an edge
        {{1.01f, 0.5f, 0}, false, 2},  // 0.01 outside: named but refused
        {{0.5f, -0.01f, 0}, false, 3},
    };
    for (const Case& c : cases) {
        int edge = -7;
        EXPECT_EQ(PointSurfaceDistance(level, 0, c.p, edge), c.near);
        EXPECT_EQ(edge, c.edge);
    }
    int edge = 5;
    EXPECT_FALSE(PointSurfaceDistance(level, 1, {0, 0, 0}, edge));
    EXPECT_EQ(edge, -1);
}

TEST(Predicates, PointInSectorWithTolerances)
{
    CQzlSections level = MakeBoxRoom();
    struct Case {
        const char* name;
        CVector3 p;
        bool atZero, atMinus, atQuarter;
    };
    const Case cases[] = {
        {"centre", {0.5f, 0.5f, 0.5f}, true, true, true},
        {"on the floor", {0.5f, 0, 0.5f}, true, true, false},
        {"0.1 above the floor", {0.5f, 0.1f, 0.5f}, true, true, false},
        {"outside the box", {0.5f, 2, 0.5f}, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PointInSector(level, 0, c.p, 0.0f), c.atZero);
        EXPECT_EQ(PointInSector(level, 0, c.p, -0.01f), c.atMinus);
        EXPECT_EQ(PointInSector(level, 0, c.p, 0.25f), c.atQuarter);
    }
    // Only the faces decide once the box is wider: -0.01 lets a point 0.005 below the floor in.
    level.m_sectors[0]->m_boundBox.min.y = -1.0f;
    EXPECT_FALSE(PointInSector(level, 0, {0.5f, -0.005f, 0.5f}, 0.0f));
    EXPECT_TRUE(PointInSector(level, 0, {0.5f, -0.005f, 0.5f}, -0.01f));
    EXPECT_FALSE(PointInSector(level, 0, {0.5f, -0.02f, 0.5f}, -0.01f));
    EXPECT_FALSE(PointInSector(level, 1, {0.5f, 0.5f, 0.5f}, 0.0f));
}

TEST(Predicates, ProjectionOntoPlanes)
{
    CVector3 out;
    float distance = -1.0f;
    EXPECT_TRUE(ProjectPointOnPlane(0, 0, 1, 0, {1, 2, 3}, out, distance));
    EXPECT_EQ(out, CVector3(1, 2, 0));
    EXPECT_FLOAT_EQ(distance, 3.0f);
    EXPECT_FALSE(ProjectPointOnPlane(0, 0, 1, 0, {1, 2, 0}, out, distance));
    EXPECT_EQ(out, CVector3(1, 2, 0));
    EXPECT_EQ(distance, 0.0f);

    // The square's plane z = 0 through the surface.
    const CQzlSections level = OneSurface(kSquare);
    EXPECT_TRUE(ProjectPointOnSurfacePlane(level, 0, {0.5f, 0.5f, -2}, out, distance));
    ExpectVector(out, {0.5f, 0.5f, 0});
    EXPECT_FLOAT_EQ(distance, 2.0f);
}

TEST(Predicates, SegmentAgainstPlane)
{
    struct Case {
        const char* name;
        CVector3 p0, p1;
        bool crosses;
        float t;
    };
    const Case cases[] = {
        {"through", {0, 0, 1}, {0, 0, -1}, true, 0.5f},
        {"starts on the plane", {0, 0, 0}, {0, 0, -1}, false, 0.0f},
        {"ends on the plane", {0, 0, 1}, {0, 0, 0}, true, 1.0f},
        {"stops short", {0, 0, 1}, {0, 0, 0.5f}, false, 0.0f},
        {"points away", {0, 0, 1}, {0, 0, 2}, false, 0.0f},
        {"parallel", {0, 0, 1}, {1, 0, 1}, false, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVector3 out{9, 9, 9};
        float t = 9.0f;
        EXPECT_EQ(IntersectSegmentPlane(0, 0, 1, 0, c.p0, c.p1, out, t), c.crosses);
        if (c.crosses) {
            EXPECT_FLOAT_EQ(t, c.t);
            ExpectVector(out, c.p0 + (c.p1 - c.p0) * c.t);
        }
    }
}

TEST(Predicates, PolygonSidesInBothSenses)
{
    const CQzlSections level = OneSurface(kSquare);  // normal +z
    std::vector<CVector3> corners = kSquare;
    C3doFace face;
    for (const CVector3& p : kSquare)
        face.m_vertices.push_back(MakeLitVertex(p + CVector3(5, 0, 0), 0, 0, 0, 0));
    const D3DMATRIX back = MatrixTranslation({-5, 0, 0});

    struct Case {
        const char* name;
        CVector3 p, q;
        bool surface, polygon;
    };
    const Case cases[] = {
        // Against the normal, as a ray from inside the sector meets its wall.
        {"towards the front", {0.5f, 0.5f, 1}, {0.5f, 0.5f, -1}, true, false},
        {"towards the back", {0.5f, 0.5f, -1}, {0.5f, 0.5f, 1}, false, true},
        {"beside", {2, 0.5f, 1}, {2, 0.5f, -1}, false, false},
        {"grazing an edge", {0, 0.5f, 1}, {0, 0.5f, -1}, true, false},
        {"through a corner", {0, 0, 1}, {0, 0, -1}, true, false},
        {"point in the plane", {0.5f, 0.5f, 0}, {0.5f, 0.5f, 1}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PointInSurface(level, 0, c.p, c.q), c.surface);
        EXPECT_EQ(PointInPolygon(corners, c.p, c.q), c.polygon);
        EXPECT_EQ(MeshFaceContains(face.m_vertices, c.p, c.q, back), c.polygon);
    }
}

TEST(Predicates, SegmentAgainstBox)
{
    const CBoundingBox box{{0, 0, 0}, {1, 1, 1}};
    struct Case {
        const char* name;
        CVector3 p0, p1;
        bool hits;
    };
    const Case cases[] = {
        {"wholly inside", {0.2f, 0.2f, 0.2f}, {0.8f, 0.8f, 0.8f}, true},
        {"a point strictly inside", {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, true},
        {"a point on a face", {0.5f, 0.5f, 0}, {0.5f, 0.5f, 0}, false},
        {"touches a face at one point", {0.5f, 0.5f, -1}, {0.5f, 0.5f, 0}, true},
        {"through", {-1, 0.5f, 0.5f}, {2, 0.5f, 0.5f}, true},
        {"beside", {1.5f, -1, 0.5f}, {1.5f, 2, 0.5f}, false},
        {"short of the box", {-2, 0.5f, 0.5f}, {-1, 0.5f, 0.5f}, false},
        {"along an edge", {0, 0, -1}, {0, 0, 2}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SegmentHitsBox(box, c.p0, c.p1), c.hits);
    }
}

TEST(Predicates, SegmentAgainstSector)
{
    CQzlSections level = MakeBoxRoom();
    const CVector3 centre{0.5f, 0.5f, 0.5f};
    CVector3 hit;
    int surface = 77;

    // Leaving through the floor.
    ASSERT_TRUE(
        IntersectSegmentSector(level, 0, centre, {0.5f, -1, 0.5f}, hit, surface, true, true));
    EXPECT_EQ(surface, BoxSurface(level, 0, kBoxFloor));
    ExpectVector(hit, {0.5f, 0, 0.5f});

    // Out through the edge between the floor and the wall z = 0: both at the same distance, the
    // first in the sector's list wins, whichever that is.
    const CVector3 edgeward{0.5f, -1, -1};
    ASSERT_TRUE(IntersectSegmentSector(level, 0, centre, edgeward, hit, surface, true, true));
    EXPECT_EQ(surface, BoxSurface(level, 0, kBoxFloor));
    auto& list = level.m_sectors[0]->m_surfaces;
    std::swap(list[kBoxFloor], list[kBoxZLow]);
    ASSERT_TRUE(IntersectSegmentSector(level, 0, centre, edgeward, hit, surface, true, true));
    EXPECT_EQ(surface, list[kBoxFloor]);
    std::swap(list[kBoxFloor], list[kBoxZLow]);

    // Without allSurfaces only textured surfaces count.
    surface = 77;
    EXPECT_FALSE(
        IntersectSegmentSector(level, 0, centre, {0.5f, -1, 0.5f}, hit, surface, true, false));
    EXPECT_EQ(surface, -1);
    CTexture texture("dflt.mat", "dflt.cmp");
    level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxFloor))]->m_texture =
        &texture;
    EXPECT_TRUE(
        IntersectSegmentSector(level, 0, centre, {0.5f, -1, 0.5f}, hit, surface, true, false));
    EXPECT_EQ(surface, BoxSurface(level, 0, kBoxFloor));

    // Missing the sector's box leaves the outputs as they were.
    hit = {9, 9, 9};
    surface = 77;
    EXPECT_FALSE(IntersectSegmentSector(level, 0, {5, 5, 5}, {6, 6, 6}, hit, surface, true, true));
    EXPECT_EQ(surface, 77);
    EXPECT_EQ(hit, CVector3(9, 9, 9));
}

}  // namespace
