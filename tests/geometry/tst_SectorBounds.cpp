#include "geometry/SectorBounds.h"

#include "engine/SelectionTests.h"
#include "geometry/CollideBox.h"
#include "geometry/Predicates.h"
#include "level/LevelValidator.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

// A level with one sector made of one surface through the given corners (each its own world
// vertex), for the corner-list tests.
CQzlSections OneSurfaceSector(const std::vector<CVector3>& corners)
{
    CQzlSections level = MakeEmptyLevel();
    auto surface = std::make_unique<CQzlSurface>();
    for (const CVector3& p : corners) {
        CQzlVertex v;
        v.m_worldVertex = level.AddVertexXYZ(p.x, p.y, p.z);
        surface->m_vertices.push_back(v);
    }
    level.m_surfaces.push_back(std::move(surface));
    auto sector = std::make_unique<CQzlSector>();
    sector->m_surfaces.push_back(0);
    level.m_sectors.push_back(std::move(sector));
    return level;
}

TEST(SectorBounds, FixtureLevelsAreValid)
{
    struct Case {
        const char* name;
        std::function<CQzlSections()> make;
        std::size_t sectors;
        std::size_t adjoins;
    };
    const Case cases[] = {
        {"box room", MakeBoxRoom, 1, 0},
        {"two joined rooms", MakeTwoJoinedRooms, 2, 2},
        {"L corridor", MakeLCorridor, 3, 4},
        {"room above a room", MakeRoomAboveRoom, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CQzlSections level = c.make();
        CLevelValidation options;
        options.checkUseCounts = true;
        EXPECT_EQ(ValidateLevel(level, options), std::vector<std::string>{});
        EXPECT_EQ(level.m_sectors.size(), c.sectors);
        EXPECT_EQ(level.m_adjoins.size(), c.adjoins);
        // Every normal points into its sector: the sector's centre lies inside every face.
        for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
            EXPECT_TRUE(
                PointInSector(level, static_cast<int>(s), level.m_sectors[s]->m_center, 0.25f));
            for (const std::int32_t f : level.m_sectors[s]->m_surfaces) {
                const std::int32_t a = level.m_surfaces[static_cast<std::size_t>(f)]->m_adjoin;
                if (a < 0)
                    continue;
                const std::int32_t m = level.m_adjoins[static_cast<std::size_t>(a)]->m_mirror;
                // The mirror knows this side.
                EXPECT_EQ(level.m_adjoins[static_cast<std::size_t>(m)]->m_otherSector,
                          static_cast<int>(s));
                EXPECT_EQ(level.m_adjoins[static_cast<std::size_t>(m)]->m_otherSurface, f);
            }
        }
    }
}

TEST(SectorBounds, UnitCubeBoundsAndPlanes)
{
    CQzlSections level = MakeBoxRoom();
    // Spoil what the pass recomputes.
    CQzlSector& sector = *level.m_sectors[0];
    sector.m_boundBox = {};
    sector.m_center = {};
    sector.m_radius = 0.0f;
    const CBoundingBox collide{{0.25f, 0.25f, 0.25f}, {0.5f, 0.5f, 0.5f}};
    sector.m_collideBox = collide;
    for (auto& surface : level.m_surfaces) {
        surface->m_normal = {};
        surface->m_plane[3] = 9.0f;
        surface->m_box = {};
    }

    UpdateSectorBounds(level);

    EXPECT_EQ(sector.m_boundBox, (CBoundingBox{{0, 0, 0}, {1, 1, 1}}));
    EXPECT_EQ(sector.m_center, CVector3(0.5f, 0.5f, 0.5f));
    EXPECT_FLOAT_EQ(sector.m_radius, std::sqrt(3.0f) / 2.0f);
    EXPECT_EQ(sector.m_collideBox, collide);
    const CQzlSurface& floor =
        *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxFloor))];
    EXPECT_EQ(floor.m_normal, CVector3(0, 1, 0));
    EXPECT_EQ(floor.m_plane[3], 0.0f);
    EXPECT_EQ(floor.m_box, (CBoundingBox{{0, 0, 0}, {1, 0, 1}}));
    const CQzlSurface& ceiling =
        *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxCeiling))];
    EXPECT_EQ(ceiling.m_normal, CVector3(0, -1, 0));
    EXPECT_EQ(ceiling.m_plane[3], -1.0f);

    // A sector without surfaces keeps the empty box.
    level.m_sectors.push_back(std::make_unique<CQzlSector>());
    UpdateSectorBounds(level);
    EXPECT_EQ(level.m_sectors[1]->m_boundBox.min.x, kFarDistance);
    EXPECT_EQ(level.m_sectors[1]->m_boundBox.max.x, -kFarDistance);
}

TEST(SectorBounds, WithCollideBoxesEverySectorGetsItsBox)
{
    // Sector 0 a closed room whose ceiling went up from 1 to 3 after its collide box was made;
    // sector 1 a room that lost its floor (5 surfaces: no box can be made).
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {2, 1, 2});
    AddBoxSector(level, {5, 0, 0}, {6, 1, 1});
    FinishFixture(level);
    for (std::size_t w = 0; w < 8; ++w)  // the first box's corners
        if (level.m_worldVertices[w].y == 1.0f)
            level.m_worldVertices[w].y = 3.0f;
    std::erase(level.m_sectors[1]->m_surfaces, BoxSurface(level, 1, kBoxFloor));
    for (auto& sector : level.m_sectors)
        sector->m_flags = kSectorHasCollideBox | 0x4;
    const CBoundingBox stale = level.m_sectors[0]->m_collideBox;
    ASSERT_EQ(stale.max.y, 1.0f);

    // Without the collide boxes they stay as they were.
    UpdateSectorBounds(level);
    EXPECT_EQ(level.m_sectors[0]->m_collideBox, stale);
    EXPECT_EQ(level.m_sectors[1]->m_flags, kSectorHasCollideBox | 0x4);

    UpdateSectorBounds(level, true);
    const CQzlSector& raised = *level.m_sectors[0];
    EXPECT_EQ(raised.m_boundBox, (CBoundingBox{{0, 0, 0}, {2, 3, 2}}));
    EXPECT_NEAR(raised.m_collideBox.max.y, 3.0f, 1e-4f);
    EXPECT_NEAR(raised.m_collideBox.min.x, 0.0f, 1e-4f);
    EXPECT_NEAR(raised.m_collideBox.max.z, 2.0f, 1e-4f);
    EXPECT_EQ(raised.m_flags, kSectorHasCollideBox | 0x4);
    const CQzlSector& open = *level.m_sectors[1];
    EXPECT_EQ(open.m_flags, 0x4u);
    EXPECT_EQ(open.m_collideBox, open.m_boundBox);
}

TEST(SectorBounds, CornersOffStraightEdges)
{
    // A square with an extra corner in the middle of its third edge.
    const CQzlSections level =
        OneSurfaceSector({{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0.5f, 0}, {1, 0, 0}});
    std::vector<int> corners{42};
    GetSurfaceCorners(level, 0, corners);
    EXPECT_EQ(corners, (std::vector<int>{0, 1, 2, 4}));
    std::vector<CVector3> polygon;
    GetSurfaceCornerPolygon(level, 0, polygon);
    EXPECT_EQ(polygon, (std::vector<CVector3>{{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}));

    EXPECT_TRUE(FindCollinearVertex(level, 3));   // the middle corner
    EXPECT_FALSE(FindCollinearVertex(level, 2));  // a real corner
    EXPECT_TRUE(FindCollinearVertex(level, 99));  // used by no corner

    GetSurfaceCorners(level, 5, corners);
    EXPECT_TRUE(corners.empty());
}

TEST(SectorBounds, AdjoinAndSharingTestsOfTheSelection)
{
    CFixtureEngine f(MakeTwoJoinedRooms());
    C3dView& v = f.m_view;
    EXPECT_FALSE(SurfaceHasAdjoin(v));
    EXPECT_FALSE(SectorHasAdjoin(v));
    EXPECT_FALSE(VertexIsShared(v));

    v.m_selection.m_sector = 0;
    v.m_selection.m_surface = BoxSurface(f.m_level, 0, kBoxXHigh);
    EXPECT_TRUE(SurfaceHasAdjoin(v));
    EXPECT_TRUE(SectorHasAdjoin(v));
    v.m_selection.m_surface = BoxSurface(f.m_level, 0, kBoxFloor);
    EXPECT_FALSE(SurfaceHasAdjoin(v));

    // Every corner of a closed box is shared by three surfaces.
    v.m_selection.m_vertexSurface = v.m_selection.m_surface;
    v.m_selection.m_vertex = 0;
    EXPECT_TRUE(VertexIsShared(v));
    v.m_selection.m_vertex = 4;  // beyond the corner list
    EXPECT_FALSE(VertexIsShared(v));

    CFixtureEngine single(OneSurfaceSector({{0, 0, 0}, {0, 1, 0}, {1, 1, 0}}));
    single.m_view.m_selection.m_sector = 0;
    single.m_view.m_selection.m_vertexSurface = 0;
    single.m_view.m_selection.m_vertex = 1;
    EXPECT_FALSE(VertexIsShared(single.m_view));
    EXPECT_FALSE(SectorHasAdjoin(single.m_view));
}

}  // namespace
