// Where a surface swept away from its sector meets the surface facing it: straight and tilted
// sweeps, portals passed on the way, and the sweeps that find no single surface.

#include "tools/ExtrudeEndPolygon.h"

#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Room 0 from (0, 0, 0) to (1, 1, 1) and a tall, wide room 1 from (2, -5, -5) to (3, 6, 6).
CQzlSections MakeRoomBeforeAWideWall()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {2, -5, -5}, {3, 6, 6});
    FinishFixture(level);
    return level;
}

TEST(CalcExtrudeEndPolygon, EachCornerMeetsTheWallWhereItsTiltedSweepDoes)
{
    struct {
        const char* name;
        float upDown;
        float leftRight;
        CVector3 offset;  // from each corner to its point on the wall x = 2
    } const cases[] = {
        {"straight", 0, 0, {1, 0, 0}},
        {"up/down 45 degrees, along d", 45, 0, {1, 1, 0}},
        {"left/right 45 degrees, against n x d", 0, 45, {1, 0, 1}},
        {"both", 45, -45, {1, 1, -1}},
    };
    const CQzlSections level = MakeRoomBeforeAWideWall();
    const int wall = BoxSurface(level, 0, kBoxXHigh);
    const CQzlSurface& f = *level.m_surfaces[static_cast<std::size_t>(wall)];
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CVector3> points;
        int sector = -2;
        int surface = -2;
        ASSERT_TRUE(CalcExtrudeEndPolygon(level, wall, {0, 1, 0}, c.upDown, c.leftRight, points,
                                          sector, surface, true));
        EXPECT_EQ(sector, 1);
        EXPECT_EQ(surface, BoxSurface(level, 1, kBoxXLow));
        ASSERT_EQ(points.size(), f.m_vertices.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            const CVector3 v = WorldPosition(level, f.m_vertices[i].m_worldVertex);
            EXPECT_NEAR(VectorLength(points[i] - (v + c.offset)), 0.0f, 1e-4f) << "corner " << i;
        }
    }
}

TEST(CalcExtrudeEndPolygon, FindsNoSingleSurface)
{
    struct {
        const char* name;
        std::vector<std::pair<CVector3, CVector3>> rooms;  // beyond room 0's wall x = 1
    } const cases[] = {
        {"a wall beyond the sweep", {{{101.5f, 0, 0}, {102, 1, 1}}}},
        {"a wall that covers half the surface", {{{2, 0, 0}, {3, 1, 0.5f}}}},
        {"two walls, half each", {{{2, 0, 0}, {3, 1, 0.5f}}, {{2, 0, 0.5f}, {3, 1, 1}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        for (const auto& [lo, hi] : c.rooms)
            AddBoxSector(level, lo, hi);
        FinishFixture(level);
        std::vector<CVector3> points;
        int sector = -2;
        int surface = -2;
        EXPECT_FALSE(CalcExtrudeEndPolygon(level, BoxSurface(level, 0, kBoxXHigh), {0, 1, 0}, 0, 0,
                                           points, sector, surface, true));
        EXPECT_LT(points.size(), 4u);
    }
}

TEST(CalcExtrudeEndPolygon, PassesASurfaceThatShowsNothing)
{
    // Room 2 stands in the gap, its wall x = 1.2 facing room 0; room 1's wall x = 2 lies behind.
    // With no material on room 2's wall the sweep goes on to room 1.
    for (const bool shows : {true, false}) {
        SCOPED_TRACE(shows ? "room 2's wall has a material" : "room 2's wall shows nothing");
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        AddBoxSector(level, {2, 0, 0}, {3, 1, 1});
        AddBoxSector(level, {1.2f, -1, -1}, {1.5f, 2, 2});
        if (!shows)
            level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 2, kBoxXLow))]->m_material =
                -1;
        FinishFixture(level);
        std::vector<CVector3> points;
        int sector = -1;
        int surface = -1;
        ASSERT_TRUE(CalcExtrudeEndPolygon(level, BoxSurface(level, 0, kBoxXHigh), {0, 1, 0}, 0, 0,
                                          points, sector, surface, true));
        EXPECT_EQ(sector, shows ? 2 : 1);
        EXPECT_EQ(surface, BoxSurface(level, shows ? 2 : 1, kBoxXLow));
        for (const CVector3& p : points)
            EXPECT_NEAR(p.x, shows ? 1.2f : 2.0f, 1e-4f);
    }
}

}  // namespace
