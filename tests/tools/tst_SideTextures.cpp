// The surfaces along a surface's edges, kept edge by edge, and the fitting of a new sector's
// faces to them: end faces from a surface of their own direction, side faces from the wall they
// continue, and in a second pass from a side face already fitted.

#include "tools/SideTextures.h"

#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

CQzlSurface& SurfaceOf(CQzlSections& level, int surface)
{
    return *level.m_surfaces[static_cast<std::size_t>(surface)];
}

// Room 0 from (0, 0, 0) to (1, 1, 1) and, behind its wall z = 0, room 1 from (0, 0, -1) to
// (1, 1, 0), joined through that wall, as an expansion out of room 0's wall z = 0 leaves them.
// Room 0's floor, ceiling, wall x = 0 and wall x = 1 have materials 1 to 4; room 1 keeps 0.
struct CGrownRoom {
    CGrownRoom() : engine(Make()) {}

    static CQzlSections Make()
    {
        CQzlSections level = MakeEmptyLevel();
        const int room = AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        const int grown = AddBoxSector(level, {0, 0, -1}, {1, 1, 0});
        const EBoxSide sides[] = {kBoxFloor, kBoxCeiling, kBoxXLow, kBoxXHigh};
        for (int k = 0; k < 4; ++k) {
            const int material = level.FindMaterial("wall" + std::to_string(k + 1) + ".mat");
            SurfaceOf(level, BoxSurface(level, room, sides[k])).m_material = material;
        }
        JoinSurfaces(level, BoxSurface(level, room, kBoxZLow), BoxSurface(level, grown, kBoxZHigh));
        FinishFixture(level);
        return level;
    }

    int Material(int sector, EBoxSide side)
    {
        return SurfaceOf(engine.m_level, BoxSurface(engine.m_level, sector, side)).m_material;
    }

    int Room(EBoxSide side) const { return BoxSurface(engine.m_level, 0, side); }

    CFixtureEngine engine;
};

// The corners' u and v of every surface, in order.
std::vector<float> AllTextureCoords(const CQzlSections& level)
{
    std::vector<float> coords;
    for (const auto& surface : level.m_surfaces)
        for (const CQzlVertex& corner : surface->m_vertices) {
            coords.push_back(corner.m_u);
            coords.push_back(corner.m_v);
        }
    return coords;
}

TEST(FindEdgeNeighbours, KeepsEachEdgesNeighboursInItsOwnEntry)
{
    // The box room's floor: its wall x = 0 is taken out of the sector's list, so that edge has no
    // neighbour; a second surface stands along the edge x = 1 beside the wall x = 1.
    CQzlSections level = MakeBoxRoom();
    const int floor = BoxSurface(level, 0, kBoxFloor);
    const int xHigh = BoxSurface(level, 0, kBoxXHigh);
    const int zLow = BoxSurface(level, 0, kBoxZLow);
    const int zHigh = BoxSurface(level, 0, kBoxZHigh);
    std::vector<std::int32_t>& list = level.m_sectors[0]->m_surfaces;
    list.erase(list.begin() + kBoxXLow);
    const int strip = AddFacingSurface(level, 0, {0.5f, 0.5f, 0.5f},
                                       {{1, 0, 0}, {1, 0.5f, 0}, {1, 0.5f, 1}, {1, 0, 1}});
    FinishFixture(level);

    const CEdgeNeighbours neighbours = FindEdgeNeighbours(level, floor);
    const CQzlSurface& f = SurfaceOf(level, floor);
    ASSERT_EQ(neighbours.size(), f.m_vertices.size());
    for (std::size_t i = 0; i < neighbours.size(); ++i) {
        const CVector3 a = WorldPosition(level, f.m_vertices[i].m_worldVertex);
        const CVector3 b =
            WorldPosition(level, f.m_vertices[(i + 1) % f.m_vertices.size()].m_worldVertex);
        const CVector3 middle = (a + b) * 0.5f;
        std::vector<int> expected;
        if (middle.x == 0.0f)
            expected = {};
        else if (middle.x == 1.0f)
            expected = {xHigh, strip};
        else if (middle.z == 0.0f)
            expected = {zLow};
        else
            expected = {zHigh};
        EXPECT_EQ(neighbours[i], expected) << "edge " << i;
    }
    EXPECT_EQ(FlattenNeighbours(neighbours).size(), 4u);
    EXPECT_TRUE(FindEdgeNeighbours(level, 99).empty());
}

TEST(FindSurfaceOnSegment, NeedsAnEdgeSharedOverALength)
{
    CGrownRoom room;
    const CQzlSections& level = room.engine.m_level;
    const int wall = room.Room(kBoxXLow);
    const CQzlSurface& w = SurfaceOf(room.engine.m_level, wall);
    // The wall's edge on the floor, as the search walks it: corner i back to corner i - 1.
    const std::size_t n = w.m_vertices.size();
    CVector3 c;
    CVector3 d;
    for (std::size_t i = 0; i < n; ++i) {
        c = WorldPosition(level, w.m_vertices[i].m_worldVertex);
        d = WorldPosition(level, w.m_vertices[(i + n - 1) % n].m_worldVertex);
        if (c.y == 0.0f && d.y == 0.0f)
            break;
    }
    const std::vector<int> list{wall};
    const CVector3 step = d - c;
    struct {
        const char* name;
        CVector3 p;
        CVector3 q;
        int found;
    } const cases[] = {
        {"the edge itself", c, d, wall},
        {"the other way", d, c, -1},
        {"half of it", c + step * 0.5f, d + step * 0.5f, wall},
        {"on its line just past its end", d, d + step, -1},
        {"on its line far off", c + step * 3.0f, d + step * 3.0f, -1},
        {"a piece inside it", c + step * 0.25f, c + step * 0.75f, wall},
    };
    for (const auto& k : cases)
        EXPECT_EQ(FindSurfaceOnSegment(level, list, k.p, k.q), k.found) << k.name;
}

TEST(FitSideTextures, SideFacesContinueTheWallsTheyGrowOutOf)
{
    CGrownRoom room;
    const std::vector<int> list =
        FlattenNeighbours(FindEdgeNeighbours(room.engine.m_level, room.Room(kBoxZLow)));
    ASSERT_EQ(list.size(), 4u);
    const CQzlSurface& back =
        SurfaceOf(room.engine.m_level, BoxSurface(room.engine.m_level, 1, kBoxZLow));
    FitSideTextures(room.engine.m_view, 1, list, back.m_normal);

    EXPECT_EQ(room.Material(1, kBoxFloor), 1);
    EXPECT_EQ(room.Material(1, kBoxCeiling), 2);
    EXPECT_EQ(room.Material(1, kBoxXLow), 3);
    EXPECT_EQ(room.Material(1, kBoxXHigh), 4);
    // No surface of the list faces along z: both end faces keep their look.
    EXPECT_EQ(room.Material(1, kBoxZLow), 0);
    EXPECT_EQ(room.Material(1, kBoxZHigh), -1);

    // The new floor's corners on the shared edge take the room floor's u and v there.
    CQzlSections& level = room.engine.m_level;
    const CQzlSurface& from = SurfaceOf(level, room.Room(kBoxFloor));
    const CQzlSurface& to = SurfaceOf(level, BoxSurface(level, 1, kBoxFloor));
    int shared = 0;
    for (const CQzlVertex& c : to.m_vertices)
        for (const CQzlVertex& d : from.m_vertices)
            if (c.m_worldVertex == d.m_worldVertex) {
                EXPECT_NEAR(std::fmod(c.m_u - d.m_u + 7680.0f, 768.0f), 0.0f, 0.01f);
                EXPECT_NEAR(std::fmod(c.m_v - d.m_v + 7680.0f, 768.0f), 0.0f, 0.01f);
                ++shared;
            }
    EXPECT_EQ(shared, 2);
}

TEST(FitSideTextures, EndFacesFollowASurfaceOfTheirDirection)
{
    // With the sweep taken along x the room's walls x = 0 and x = 1 face the two ends.
    CGrownRoom room;
    const std::vector<int> list =
        FlattenNeighbours(FindEdgeNeighbours(room.engine.m_level, room.Room(kBoxZLow)));
    FitSideTextures(room.engine.m_view, 1, list, {1, 0, 0});
    EXPECT_EQ(room.Material(1, kBoxXLow), 3);
    EXPECT_EQ(room.Material(1, kBoxXHigh), 4);
    EXPECT_EQ(room.Material(1, kBoxFloor), 1);
    EXPECT_EQ(room.Material(1, kBoxCeiling), 2);
}

TEST(FitSideTextures, ASideFaceBesideOnlyAnEndFacingSurfaceIsFittedInTheSecondPass)
{
    // The list holds the room's ceiling and the wall the room grew through, which faces the
    // ends. The new walls x = 0 and x = 1 touch only that wall: the second pass fits them to the
    // new ceiling. The new floor touches nothing fitted before it and keeps its look.
    CGrownRoom room;
    const std::vector<int> list{room.Room(kBoxCeiling), room.Room(kBoxZLow)};
    const CVector3 v = SurfaceOf(room.engine.m_level, room.Room(kBoxZLow)).m_normal;
    FitSideTextures(room.engine.m_view, 1, list, v);
    EXPECT_EQ(room.Material(1, kBoxCeiling), 2);
    EXPECT_EQ(room.Material(1, kBoxXLow), 2);
    EXPECT_EQ(room.Material(1, kBoxXHigh), 2);
    EXPECT_EQ(room.Material(1, kBoxFloor), 0);
}

TEST(FitSideTextures, AnEmptyListFitsNothing)
{
    CGrownRoom room;
    const std::vector<float> before = AllTextureCoords(room.engine.m_level);
    FitSideTextures(room.engine.m_view, 1, {}, {0, 0, 1});
    EXPECT_EQ(AllTextureCoords(room.engine.m_level), before);
    for (const EBoxSide side : {kBoxFloor, kBoxCeiling, kBoxXLow, kBoxXHigh, kBoxZLow})
        EXPECT_EQ(room.Material(1, side), 0);
    FitSideTextures(room.engine.m_view, 7, std::vector<int>{room.Room(kBoxFloor)}, {0, 0, 1});
    EXPECT_EQ(AllTextureCoords(room.engine.m_level), before);
}

}  // namespace
