// Culling of the frame routine: boxes and surfaces against the view volume with their margins,
// the binary search of sector lists and the portal walk.

#include "engine/ViewCulling.h"

#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace {

using Set = std::vector<std::int32_t>;

// A view-projection matrix with x' = x, y' = y, w' = z (a 90-degree view along +z from the
// origin), z' = z - 0.05 scaled by the far plane 10: the right plane is x = z, the near plane
// z = 0.05.
D3DMATRIX SimpleViewProjection()
{
    const float q = 10.0f / (10.0f - 0.05f);
    D3DMATRIX m = MatrixZero();
    m.m[0][0] = 1.0f;
    m.m[1][1] = 1.0f;
    m.m[2][2] = q;
    m.m[2][3] = 1.0f;
    m.m[3][2] = -q * 0.05f;
    return m;
}

// A matrix under which every point lies inside the view volume (x' = y' = 0, z' = 0.5, w' = 1).
D3DMATRIX SeeEverything()
{
    D3DMATRIX m = MatrixZero();
    m.m[3][2] = 0.5f;
    m.m[3][3] = 1.0f;
    return m;
}

TEST(ViewCulling, BoxAgainstTheViewVolume)
{
    CFixtureEngine f(MakeBoxRoom());
    f.m_view.m_camera.m_viewProjectionMatrix = SimpleViewProjection();
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    struct CCase {
        const char* name;
        CBoundingBox box;
        EInView where;
    };
    const CCase cases[] = {
        {"ahead", {{-1, -1, 4}, {1, 1, 5}}, EInView::Inside},
        {"ahead, touching the right plane", {{-1, -1, 4}, {4, 1, 5}}, EInView::Inside},
        {"ahead, across the right plane", {{-1, -1, 4}, {6, 1, 5}}, EInView::Partly},
        {"wholly behind the camera", {{-1, -1, -3}, {1, 1, -1}}, EInView::Outside},
        {"one corner inside", {{0, 0, 5}, {20, 20, 25}}, EInView::Partly},
        {"beyond the right plane", {{30, -1, 4}, {40, 1, 5}}, EInView::Outside},
        {"beyond the far plane", {{-1, -1, 11}, {1, 1, 12}}, EInView::Outside},
        {"across the far plane", {{-1, -1, 9}, {1, 1, 11}}, EInView::Partly},
        {"beyond the left plane", {{-40, -1, 4}, {-30, 1, 5}}, EInView::Outside},
        {"around the camera", {{-1, -1, -1}, {1, 1, 1}}, EInView::Partly},
        // Not a number beside the view: the box is not known to hold its surfaces.
        {"ahead, a corner not a number", {{-1, -1, 4}, {1, kNaN, 5}}, EInView::Partly},
    };
    for (const CCase& c : cases) {
        EXPECT_EQ(BoxInView(f.m_view, c.box), c.where) << c.name;
        EXPECT_EQ(BoxInFrustum(f.m_view, c.box), c.where != EInView::Outside) << c.name;
    }
}

// A level whose only surface is a square in the plane z = 5 from x = x0 to x1.
CQzlSections SquareAt(float x0, float x1)
{
    CQzlSections level = MakeEmptyLevel();
    const float corners[4][2] = {{x0, -1.0f}, {x1, -1.0f}, {x1, 1.0f}, {x0, 1.0f}};
    auto surface = std::make_unique<CQzlSurface>();
    for (const auto& c : corners) {
        level.m_worldVertices.push_back({c[0], c[1], 5.0f, {}});
        CQzlVertex corner;
        corner.m_worldVertex = static_cast<std::int32_t>(level.m_worldVertices.size() - 1);
        surface->m_vertices.push_back(corner);
    }
    level.m_surfaces.push_back(std::move(surface));
    return level;
}

TEST(ViewCulling, SurfaceMarginAndCollectedCorners)
{
    // The right plane lies at x = 5 for z = 5; the surface test forgives 0.1 of clip distance.
    struct CCase {
        const char* name;
        float x0;
        bool visible;
    };
    const CCase cases[] = {
        {"inside", 4.0f, true},
        {"0.05 beyond the right plane", 5.05f, true},
        {"0.2 beyond the right plane", 5.2f, false},
    };
    for (const CCase& c : cases) {
        CFixtureEngine f(SquareAt(c.x0, c.x0 + 1.0f));
        f.m_view.m_camera.m_viewProjectionMatrix = SimpleViewProjection();
        const CQzlSurface& s = *f.m_level.m_surfaces[0];
        EXPECT_EQ(SurfaceInFrustum(f.m_view, s), c.visible) << c.name;
        std::vector<CVector3> polygon{{9, 9, 9}};
        EXPECT_EQ(SurfaceInFrustum(f.m_view, s, polygon), c.visible) << c.name;
        ASSERT_EQ(polygon.size(), 5u) << c.name;
        EXPECT_EQ(polygon[1], CVector3(c.x0, -1.0f, 5.0f));
        EXPECT_EQ(polygon[4], CVector3(c.x0, 1.0f, 5.0f));
    }

    // No corners, or only corners whose world vertex does not exist: nothing to see.
    CFixtureEngine f(SquareAt(0.0f, 1.0f));
    f.m_view.m_camera.m_viewProjectionMatrix = SimpleViewProjection();
    CQzlSurface& s = *f.m_level.m_surfaces[0];
    for (CQzlVertex& corner : s.m_vertices)
        corner.m_worldVertex = 99;
    EXPECT_FALSE(SurfaceInFrustum(f.m_view, s));
    s.m_vertices.clear();
    EXPECT_FALSE(SurfaceInFrustum(f.m_view, s));
}

TEST(ViewCulling, FindSectorIdGivesPositionOrInsertionPoint)
{
    struct CCase {
        Set list;
        std::int32_t value;
        bool found;
        int index;
    };
    const CCase cases[] = {
        {{}, 5, false, 0},        {{1, 3, 5}, 1, true, 0},  {{1, 3, 5}, 5, true, 2},
        {{1, 3, 5}, 4, false, 2}, {{1, 3, 5}, 0, false, 0}, {{1, 3, 5}, 9, false, 3},
    };
    for (const CCase& c : cases) {
        int index = -7;
        EXPECT_EQ(FindSectorId(c.list, c.value, index), c.found) << c.value;
        EXPECT_EQ(index, c.index) << c.value;
    }
}

TEST(ViewCulling, PortalWalkFollowsAdjoinsTheCameraFaces)
{
    // The L corridor: sector 0 joins 1 through x = 1, sector 1 joins 2 through z = 1.
    struct CCase {
        const char* name;
        CVector3 camera;
        Set visible;
    };
    const CCase cases[] = {
        {"from the middle of sector 0", {0.5f, 0.5f, 0.5f}, {0, 1, 2}},
        // The camera in the plane of the far portal sees it edge-on: it is clipped to a sliver
        // and everything behind it is hidden.
        {"eye in the plane of the second portal", {0.5f, 0.5f, 1.0f}, {0, 1}},
        // On the first portal, or just behind it, the camera still looks through it, though no
        // longer on through the second one.
        {"camera on the first portal", {1.0f, 0.5f, 0.5f}, {0, 1}},
        {"camera 0.01 behind the first portal", {1.01f, 0.5f, 0.2f}, {0, 1}},
        {"camera 0.05 behind the first portal", {1.05f, 0.5f, 0.5f}, {0}},
    };
    for (const CCase& c : cases) {
        CFixtureEngine f(MakeLCorridor());
        f.m_view.m_camera.m_viewProjectionMatrix = SeeEverything();
        f.m_view.m_camera.m_position = c.camera;
        Set visited;
        EXPECT_EQ(FindVisibleSectors(f.m_view, {}, visited, 0), static_cast<int>(c.visible.size()))
            << c.name;
        EXPECT_EQ(visited, c.visible) << c.name;
        // The walk leaves no sector marked.
        for (const auto& sector : f.m_level.m_sectors)
            EXPECT_EQ(sector->m_runtime[2], 0) << c.name;
    }
}

TEST(ViewCulling, PortalWalkOfTwoRoomsInALoopEnds)
{
    CFixtureEngine f(MakeTwoJoinedRooms());
    f.m_view.m_camera.m_viewProjectionMatrix = SeeEverything();
    // On the portal the camera faces both sides of it.
    f.m_view.m_camera.m_position = {1.0f, 0.5f, 0.5f};
    Set visited{1};
    EXPECT_EQ(FindVisibleSectors(f.m_view, {}, visited, 0), 2);
    EXPECT_EQ(visited, (Set{0, 1}));
}

TEST(ViewCulling, PortalOutsideTheViewIsNotEntered)
{
    CFixtureEngine f(MakeTwoJoinedRooms());
    // Looking along +z from the middle of sector 0: the portal x = 1 lies right of the view.
    f.m_view.m_camera.m_viewProjectionMatrix =
        MatrixMultiply(MatrixTranslation({-0.5f, -0.5f, -0.5f}), SimpleViewProjection());
    f.m_view.m_camera.m_position = {0.5f, 0.5f, 0.5f};
    Set visited;
    FindVisibleSectors(f.m_view, {}, visited, 0);
    EXPECT_EQ(visited, (Set{0, 1}));  // x = 1 spans z 0..1: its far corners are still in view

    f.m_view.m_camera.m_viewProjectionMatrix =
        MatrixMultiply(MatrixTranslation({-0.5f, -0.5f, -3.0f}), SimpleViewProjection());
    visited.clear();
    FindVisibleSectors(f.m_view, {}, visited, 0);
    EXPECT_EQ(visited, (Set{0}));  // the whole room lies behind this view
}

}  // namespace
