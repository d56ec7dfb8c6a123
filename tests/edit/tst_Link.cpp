// Link and Unlink of surfaces and vertices, Copy to twin and the Link and Unlink commands: the
// adjoin pairs made and removed, the corners welded, the looks given, the sectors rebuilt; every
// operation undone and redone exactly, the level oracle after each.

#include "LinkDeleteSupport.h"

#include "edit/Link.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Rules = std::set<EOracleRule>;

const CQzlSurface& SurfaceOf(const CQzlSections& level, int surface)
{
    return *level.m_surfaces[static_cast<std::size_t>(surface)];
}

// The world vertices of a surface's corners, sorted.
std::vector<std::int32_t> CornerVertices(const CQzlSections& level, int surface)
{
    std::vector<std::int32_t> vertices;
    for (const CQzlVertex& corner : SurfaceOf(level, surface).m_vertices)
        vertices.push_back(corner.m_worldVertex);
    std::sort(vertices.begin(), vertices.end());
    return vertices;
}

// Two boxes side by side along x, not joined: (0, 0, 0) to (1, 1, 1) and the same one gap
// further on. With a gap below 0.0001 they share the corners of the faces that touch.
CQzlSections TwoBoxes(float gap)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {1 + gap, 0, 0}, {2 + gap, 1, 1});
    FinishFixture(level);
    return level;
}

CQzlSections BoxesHalfAThousandthApart()
{
    return TwoBoxes(0.0005f);
}

CQzlSections BoxesTouching()
{
    return TwoBoxes(0.0f);
}

// A box on top of another, not joined.
CQzlSections BoxOnBox()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {0, 1, 0}, {1, 2, 1});
    FinishFixture(level);
    return level;
}

// Box 0 (0..1), and half a thousandth beyond it along x box 1, joined to box 2 behind it in z:
// box 1's corners on z = 1 are box 2's as well.
CQzlSections BoxBesideAJoinedPair()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {1.0005f, 0, 0}, {2.0005f, 1, 1});
    AddBoxSector(level, {1.0005f, 0, 1}, {2.0005f, 1, 2});
    JoinSurfaces(level, BoxSurface(level, 1, kBoxZHigh), BoxSurface(level, 2, kBoxZLow));
    FinishFixture(level);
    return level;
}

// Box 0 whose wall x = 1 has one more corner, in the middle of its bottom edge, and box 1 half a
// thousandth beyond it with a plain wall.
CQzlSections BoxWithAStraightCornerBesideABox()
{
    CQzlSections level = MakeEmptyLevel();
    const int s = AddEmptySector(level);
    const CVector3 in{0.5f, 0.5f, 0.5f};
    AddFacingSurface(level, s, in, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}});
    AddFacingSurface(level, s, in, {{0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}});
    AddFacingSurface(level, s, in, {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}});
    AddFacingSurface(level, s, in, {{1, 0, 0}, {1, 0, 0.5f}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}});
    AddFacingSurface(level, s, in, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    AddFacingSurface(level, s, in, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}});
    AddBoxSector(level, {1.0005f, 0, 0}, {2.0005f, 1, 1});
    FinishFixture(level);
    return level;
}

// A small box (0..1) against the middle of a large one's wall x = 1.
CQzlSections SmallBoxOnALargeWall()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {1, -1, -1}, {3, 2, 2});
    FinishFixture(level);
    return level;
}

// Two joined rooms, and a third box where the first one is: its wall x = 1 lies on the second
// room's portal.
CQzlSections ThirdBoxOnAPortal()
{
    CQzlSections level = MakeTwoJoinedRooms();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    FinishFixture(level);
    return level;
}

// Two joined rooms, and a third box where the second one is: the first room's portal also faces
// the third box's free wall x = 1.
CQzlSections SecondRoomTwice()
{
    CQzlSections level = MakeTwoJoinedRooms();
    AddBoxSector(level, {1, 0, 0}, {2, 1, 1});
    FinishFixture(level);
    return level;
}

// The box (0..1) beside a prism whose face x = 1 is the box's wall with one more corner below
// it, at (1, -0.5, 0.5): a pentagon that holds the wall and is larger.
CQzlSections BoxBesideAPentagon()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    const int s = AddEmptySector(level);
    const CVector3 in{1.5f, 0.3f, 0.5f};
    const std::vector<CVector3> near{{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}, {1, -0.5f, 0.5f}};
    std::vector<CVector3> far;
    for (const CVector3& p : near)
        far.push_back({2, p.y, p.z});
    AddFacingSurface(level, s, in, near);
    AddFacingSurface(level, s, in, far);
    for (std::size_t i = 0; i < near.size(); ++i) {
        const std::size_t j = (i + 1) % near.size();
        AddFacingSurface(level, s, in, {near[i], near[j], far[j], far[i]});
    }
    FinishFixture(level);
    return level;
}

// ---- Link surface ----

struct LinkCase {
    const char* name;
    CQzlSections (*make)();
    int sector;
    EBoxSide side;
    int twinSector;
    int twinAxis;  // the twin lies in the plane twinAxis = twinValue
    float twinValue;
    std::size_t vertices;  // world vertices afterwards
    std::size_t surfaces;
};

TEST(LinkSurface, IdenticalFacesLinkAndShareTheirCorners)
{
    const LinkCase cases[] = {
        // The neighbour's corners are welded onto the wall's and leave the level.
        {"faces half a thousandth apart", BoxesHalfAThousandthApart, 0, kBoxXHigh, 1, 0, 1.0005f,
         12, 12},
        {"from the other side", BoxesHalfAThousandthApart, 1, kBoxXLow, 0, 0, 1.0f, 12, 12},
        {"faces on the same corners", BoxesTouching, 0, kBoxXHigh, 1, 0, 1.0f, 12, 12},
        {"a ceiling and the floor above", BoxOnBox, 0, kBoxCeiling, 1, 1, 1.0f, 12, 12},
        // The welded corners of box 1 on z = 1 are box 2's too: box 2 is rebuilt as well.
        {"a neighbour sharing corners with a third box", BoxBesideAJoinedPair, 0, kBoxXHigh, 1, 0,
         1.0005f, 16, 18},
        // Only the corners where the outline turns are compared.
        {"a wall with a corner on a straight edge", BoxWithAStraightCornerBesideABox, 0, kBoxXHigh,
         1, 0, 1.0005f, 13, 12},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine f(c.make());
        CQzlSections& level = f.m_level;
        C3dView& view = f.m_view;
        const int surface = BoxSurface(level, c.sector, c.side);
        const int twin = SurfaceInPlane(level, c.twinSector, c.twinAxis, c.twinValue);
        ASSERT_GE(twin, 0);
        ASSERT_TRUE(LevelIsSound(level));
        const std::size_t adjoins = level.m_adjoins.size();
        const CQzlSurface before(SurfaceOf(level, surface), false, false);
        view.m_selection.m_sector = c.sector;
        view.m_selection.m_surface = surface;

        ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
            if (!LinkSurface(view))
                return false;
            EXPECT_TRUE(RenderDataFollowsCorners(level));
            return true;
        }));
        ASSERT_EQ(level.m_adjoins.size(), adjoins + 2);
        const auto a = static_cast<std::int32_t>(adjoins);
        const CQzlSurface& s = SurfaceOf(level, surface);
        const CQzlSurface& t = SurfaceOf(level, twin);
        EXPECT_EQ(s.m_adjoin, a + 1);
        EXPECT_EQ(t.m_adjoin, a);
        EXPECT_EQ(level.m_adjoins[static_cast<std::size_t>(a)]->m_mirror, a + 1);
        EXPECT_EQ(level.m_adjoins[static_cast<std::size_t>(a)]->m_flags, 7u);
        EXPECT_EQ(level.m_adjoins[static_cast<std::size_t>(a + 1)]->m_mirror, a);
        for (const CQzlSurface* portal : {&s, &t}) {
            EXPECT_EQ(portal->m_material, -1);
            EXPECT_EQ(portal->m_surfaceFlags, 0u);
            EXPECT_EQ(portal->m_faceFlags, 0u);
            EXPECT_EQ(portal->m_geo, 0);
        }
        // Light, texture mode and extra light stay.
        EXPECT_EQ(s.m_light, before.m_light);
        EXPECT_EQ(s.m_tex, before.m_tex);
        // The twin's corners are the wall's corners where the outline turns.
        std::vector<std::int32_t> turning;
        std::vector<int> corners;
        GetSurfaceCorners(level, surface, corners);
        for (const int k : corners)
            turning.push_back(s.m_vertices[static_cast<std::size_t>(k)].m_worldVertex);
        std::sort(turning.begin(), turning.end());
        EXPECT_EQ(CornerVertices(level, twin), turning);
        EXPECT_EQ(level.m_worldVertices.size(), c.vertices);
        EXPECT_EQ(level.m_surfaces.size(), c.surfaces);
        // Each adjoin's distance is measured from its own sector's centre.
        for (const int portal : {surface, twin}) {
            const int sector = portal == surface ? c.sector : c.twinSector;
            CVector3 foot;
            float distance = 0;
            ProjectPointOnSurfacePlane(level, portal,
                                       level.m_sectors[static_cast<std::size_t>(sector)]->m_center,
                                       foot, distance);
            EXPECT_NEAR(
                level.m_adjoins[static_cast<std::size_t>(SurfaceOf(level, portal).m_adjoin)]
                    ->m_dist,
                distance, 1e-5f);
            EXPECT_NEAR(distance, 0.5f, 0.001f);
        }
        // The wall stays current, and no corner becomes the current vertex.
        EXPECT_EQ(view.m_selection.m_sector, c.sector);
        EXPECT_EQ(view.m_selection.m_surface, surface);
        EXPECT_EQ(view.m_selection.m_vertex, -1);
        EXPECT_TRUE(LevelIsSound(level));
    }
}

// A corner the user marked elsewhere does not draw the twin's corners to it.
TEST(LinkSurface, WeldsOntoTheMatchedCornersWhateverElseIsMarked)
{
    CFixtureEngine f(BoxesHalfAThousandthApart());
    CQzlSections& level = f.m_level;
    C3dView& view = f.m_view;
    const int floor = BoxSurface(level, 0, kBoxFloor);
    level.m_surfaces[static_cast<std::size_t>(floor)]->m_vertices[0].m_marked = 1;
    view.m_selection.m_sector = 1;
    view.m_selection.m_surface = BoxSurface(level, 1, kBoxXLow);

    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] { return LinkSurface(view); }));
    EXPECT_EQ(CornerVertices(level, BoxSurface(level, 0, kBoxXHigh)),
              CornerVertices(level, BoxSurface(level, 1, kBoxXLow)));
    EXPECT_EQ(level.m_worldVertices.size(), 12u);
    EXPECT_TRUE(LevelIsSound(level));
}

TEST(LinkSurface, ASmallFaceCutsTheLargeOneToItsOutline)
{
    CFixtureEngine f(SmallBoxOnALargeWall());
    CQzlSections& level = f.m_level;
    C3dView& view = f.m_view;
    const int small = BoxSurface(level, 0, kBoxXHigh);
    const std::size_t surfaces = level.m_surfaces.size();
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = small;

    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] { return LinkSurface(view); }));
    const CQzlSurface& s = SurfaceOf(level, small);
    ASSERT_GE(s.m_adjoin, 0);
    const int piece = level.m_adjoins[static_cast<std::size_t>(s.m_adjoin)]->m_otherSurface;
    ASSERT_GE(piece, 0);
    std::vector<int> corners;
    GetSurfaceCorners(level, piece, corners);
    EXPECT_EQ(corners.size(), 4u);
    EXPECT_EQ(CornerVertices(level, piece), CornerVertices(level, small));
    EXPECT_EQ(SurfaceOf(level, piece).m_adjoin,
              level.m_adjoins[static_cast<std::size_t>(s.m_adjoin)]->m_mirror);
    // The rest of the large wall stays solid.
    EXPECT_GT(level.m_surfaces.size(), surfaces);
    for (std::size_t rest = surfaces; rest < level.m_surfaces.size(); ++rest) {
        if (static_cast<int>(rest) != piece) {
            EXPECT_EQ(level.m_surfaces[rest]->m_adjoin, -1);
        }
    }
    EXPECT_EQ(view.m_selection.m_sector, 0);
    EXPECT_EQ(view.m_selection.m_surface, small);
    EXPECT_TRUE(LevelIsSound(level));
}

// The face whose outline is larger than the wall's (one more corner) is not taken as it is: it is
// cut to the wall's outline first.
TEST(LinkSurface, ATwinMustHaveAsManyCorners)
{
    CFixtureEngine f(BoxBesideAPentagon());
    CQzlSections& level = f.m_level;
    C3dView& view = f.m_view;
    ASSERT_TRUE(LevelIsSound(level));
    const int wall = BoxSurface(level, 0, kBoxXHigh);
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = wall;

    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] { return LinkSurface(view); }));
    const CQzlSurface& s = SurfaceOf(level, wall);
    ASSERT_GE(s.m_adjoin, 0);
    const int twin = level.m_adjoins[static_cast<std::size_t>(s.m_adjoin)]->m_otherSurface;
    EXPECT_EQ(SurfaceOf(level, twin).m_vertices.size(), 4u);
    EXPECT_EQ(CornerVertices(level, twin), CornerVertices(level, wall));
    EXPECT_TRUE(LevelIsSound(level));
}

struct NoLinkCase {
    const char* name;
    CQzlSections (*make)();
    int sector;
    int surface;  // -1: the x = 1 face of the sector
};

TEST(LinkSurface, MakesNoAdjoinWithoutAFreeTwin)
{
    const NoLinkCase cases[] = {
        {"no face touches it", MakeBoxRoom, 0, -1},
        // The only face on it is a portal of the first room already.
        {"the twin is adjoined", ThirdBoxOnAPortal, 2, -1},
        // The wall is adjoined itself: a second pair would leave the first without an owner.
        {"the face is adjoined", SecondRoomTwice, 0, -1},
        // Its corners do not all lie on the small face.
        {"from the large face to the small one", SmallBoxOnALargeWall, 1, 8},
    };
    for (const NoLinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine f(c.make());
        CQzlSections& level = f.m_level;
        C3dView& view = f.m_view;
        ASSERT_TRUE(LevelIsSound(level));
        RebuildAll(view, false, ERebuildAll::Restore);
        view.m_selection.m_sector = c.sector;
        view.m_selection.m_surface =
            c.surface >= 0 ? c.surface : SurfaceInPlane(level, c.sector, 0, 1.0f);
        ASSERT_GE(view.m_selection.m_surface, 0);
        const auto bytes = WriteLevelBytes(level);

        EXPECT_FALSE(RunUndoable(view, [&] { return LinkSurface(view); }));
        EXPECT_EQ(WriteLevelBytes(level), bytes);
        EXPECT_TRUE(level.m_undoList.empty());
        EXPECT_TRUE(f.m_host.Messages().empty());
        EXPECT_TRUE(LevelIsSound(level));
    }
}

// ---- Unlink surface ----

struct UnlinkCase {
    const char* name;
    CQzlSections (*make)();
    int sector;
    EBoxSide side;
    int twinSector;
    EBoxSide twinSide;
    std::uint32_t flags;  // surface flags of both afterwards
};

TEST(UnlinkSurface, BothSidesGetTheSolidLook)
{
    const UnlinkCase cases[] = {
        {"a wall", MakeTwoJoinedRooms, 0, kBoxXHigh, 1, kBoxXLow, 4},
        {"from the other side", MakeTwoJoinedRooms, 1, kBoxXLow, 0, kBoxXHigh, 4},
        // Floors and ceilings carry the floor flag.
        {"a ceiling", MakeRoomAboveRoom, 0, kBoxCeiling, 1, kBoxFloor, 5},
        {"the middle of the corridor", MakeLCorridor, 1, kBoxZHigh, 2, kBoxZLow, 4},
    };
    for (const UnlinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine f(c.make());
        CQzlSections& level = f.m_level;
        C3dView& view = f.m_view;
        const int surface = BoxSurface(level, c.sector, c.side);
        const int twin = BoxSurface(level, c.twinSector, c.twinSide);
        const std::size_t adjoins = level.m_adjoins.size();
        view.m_selection.m_sector = c.sector;
        view.m_selection.m_surface = surface;
        std::vector<std::uint64_t> stamps;

        ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
            for (const auto& sector : level.m_sectors)
                stamps.push_back(sector->m_renderVersion);
            if (!UnlinkSurface(view, true))
                return false;
            EXPECT_NE(level.m_sectors[static_cast<std::size_t>(c.sector)]->m_renderVersion,
                      stamps[static_cast<std::size_t>(c.sector)]);
            EXPECT_NE(level.m_sectors[static_cast<std::size_t>(c.twinSector)]->m_renderVersion,
                      stamps[static_cast<std::size_t>(c.twinSector)]);
            return true;
        }));
        EXPECT_EQ(level.m_adjoins.size(), adjoins - 2);
        EXPECT_TRUE(HasSolidLook(SurfaceOf(level, surface), c.flags));
        EXPECT_TRUE(HasSolidLook(SurfaceOf(level, twin), c.flags));
        EXPECT_EQ(view.m_selection.m_surface, surface);
        EXPECT_TRUE(LevelIsSound(level));
    }
}

TEST(UnlinkSurface, TheEnginesLookAndALevelWithoutMaterials)
{
    // The look the engine holds: its material.
    {
        CQzlSections level = MakeTwoJoinedRooms();
        level.m_materials.push_back(std::make_unique<CQzlMaterial>("stone.mat"));
        CFixtureEngine f(std::move(level));
        f.m_view.m_unlink = {1, 64.0f, 32.0f, 2.0f, 3.0f};
        f.m_view.m_selection.m_sector = 0;
        f.m_view.m_selection.m_surface = BoxSurface(f.m_level, 0, kBoxXHigh);
        ASSERT_TRUE(UnlinkSurface(f.m_view, false));
        for (const int surface :
             {BoxSurface(f.m_level, 0, kBoxXHigh), BoxSurface(f.m_level, 1, kBoxXLow)}) {
            const CQzlSurface& s = SurfaceOf(f.m_level, surface);
            EXPECT_EQ(s.m_material, 1);
            EXPECT_EQ(s.m_textureWidth, 64.0f);
            EXPECT_EQ(s.m_textureHeight, 32.0f);
            EXPECT_EQ(s.m_xTile, 2.0f);
            EXPECT_EQ(s.m_yTile, 3.0f);
        }
        EXPECT_TRUE(LevelIsSound(f.m_level));
    }
    // No material at all: the default one is added rather than naming a material not there.
    {
        CQzlSections level = MakeTwoJoinedRooms();
        for (const auto& surface : level.m_surfaces)
            surface->m_material = -1;
        level.m_materials.clear();
        CFixtureEngine f(std::move(level));
        f.m_view.m_selection.m_sector = 1;
        f.m_view.m_selection.m_surface = BoxSurface(f.m_level, 1, kBoxXLow);
        ASSERT_TRUE(
            UndoGivesBackExactBytes(f.m_view, [&] { return UnlinkSurface(f.m_view, true); }));
        ASSERT_EQ(f.m_level.m_materials.size(), 1u);
        EXPECT_EQ(f.m_level.m_materials[0]->m_name, "dflt.mat");
        EXPECT_EQ(SurfaceOf(f.m_level, BoxSurface(f.m_level, 0, kBoxXHigh)).m_material, 0);
        EXPECT_EQ(SurfaceOf(f.m_level, BoxSurface(f.m_level, 1, kBoxXLow)).m_material, 0);
        EXPECT_TRUE(LevelIsSound(f.m_level));
    }
}

TEST(UnlinkSurface, ASurfaceWithoutAdjoinIsLeftAlone)
{
    CFixtureEngine f(MakeTwoJoinedRooms());
    f.m_view.m_selection.m_sector = 0;
    f.m_view.m_selection.m_surface = BoxSurface(f.m_level, 0, kBoxFloor);
    const auto bytes = WriteLevelBytes(f.m_level);
    EXPECT_FALSE(UnlinkSurface(f.m_view, true));
    EXPECT_EQ(WriteLevelBytes(f.m_level), bytes);
}

// ---- Link and unlink vertex ----

TEST(LinkVertex, UnlinkGivesTheCornerItsOwnVertexAndLinkWeldsItBack)
{
    CFixtureEngine f(MakeBoxRoom());
    CQzlSections& level = f.m_level;
    C3dView& view = f.m_view;
    const int floor = BoxSurface(level, 0, kBoxFloor);
    const int wall = BoxSurface(level, 0, kBoxXLow);
    const CVector3 origin{0, 0, 0};
    view.m_selection.m_sector = 0;
    view.m_selection.m_vertexSurface = floor;
    view.m_selection.m_vertex = CornerAt(level, floor, origin);
    const int corner = view.m_selection.m_vertex;
    const std::int32_t shared =
        SurfaceOf(level, floor).m_vertices[static_cast<std::size_t>(corner)].m_worldVertex;

    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] { return UnlinkVertex(view, true); }));
    ASSERT_EQ(level.m_worldVertices.size(), 9u);
    EXPECT_EQ(SurfaceOf(level, floor).m_vertices[static_cast<std::size_t>(corner)].m_worldVertex,
              8);
    EXPECT_EQ(level.m_useCounts[static_cast<std::size_t>(shared)], 2);
    EXPECT_EQ(level.m_useCounts[8], 1);
    EXPECT_EQ(WorldPosition(level, 8), origin);
    EXPECT_EQ(view.m_selection.m_vertex, -1);
    EXPECT_TRUE(LevelIsSound(level));

    // Not shared any more: Unlink leaves it alone.
    view.m_selection.m_vertex = corner;
    EXPECT_FALSE(UnlinkVertex(view, true));
    EXPECT_EQ(level.m_worldVertices.size(), 9u);

    // Without a marked corner Link does nothing; with the wall's corner marked it welds.
    EXPECT_FALSE(LinkVertex(view, true));
    level.m_surfaces[static_cast<std::size_t>(wall)]
        ->m_vertices[static_cast<std::size_t>(CornerAt(level, wall, origin))]
        .m_marked = 1;
    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
        if (!LinkVertex(view, true))
            return false;
        for (const auto& surface : level.m_surfaces)
            for (const CQzlVertex& c : surface->m_vertices)
                EXPECT_EQ(c.m_marked, 0);
        return true;
    }));
    EXPECT_EQ(level.m_worldVertices.size(), 8u);
    EXPECT_EQ(SurfaceOf(level, floor).m_vertices[static_cast<std::size_t>(corner)].m_worldVertex,
              shared);
    EXPECT_EQ(level.m_useCounts[static_cast<std::size_t>(shared)], 3);
    EXPECT_TRUE(LevelIsSound(level));
}

// ---- Copy to twin ----

TEST(CopySurfaceToTwin, TheTwinTakesTheLook)
{
    CFixtureEngine f(MakeTwoJoinedRooms());
    CQzlSections& level = f.m_level;
    C3dView& view = f.m_view;
    const int surface = BoxSurface(level, 0, kBoxXHigh);
    const int twin = BoxSurface(level, 1, kBoxXLow);
    CQzlSurface& s = *level.m_surfaces[static_cast<std::size_t>(surface)];
    s.m_surfaceFlags = 0x10;
    s.m_faceFlags = 2;
    s.m_geo = 1;
    s.m_light = 2;
    s.m_tex = 0;
    s.m_extraLight = 0.25f;
    level.m_adjoins[static_cast<std::size_t>(s.m_adjoin)]->m_flags = 3;
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = surface;

    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] { return CopySurfaceToTwin(view); }));
    const CQzlSurface& t = SurfaceOf(level, twin);
    EXPECT_EQ(t.m_surfaceFlags, 0x10u);
    EXPECT_EQ(t.m_faceFlags, 2u);
    EXPECT_EQ(t.m_geo, 1);
    EXPECT_EQ(t.m_light, 2);
    EXPECT_EQ(t.m_tex, 0);
    EXPECT_EQ(t.m_extraLight, 0.25f);
    EXPECT_EQ(t.m_material, -1);
    EXPECT_EQ(level.m_adjoins[static_cast<std::size_t>(t.m_adjoin)]->m_flags, 3u);
    EXPECT_TRUE(LevelIsSound(level));

    view.m_selection.m_surface = BoxSurface(level, 0, kBoxFloor);
    EXPECT_FALSE(CopySurfaceToTwin(view));
}

// ---- The Link and Unlink commands ----

TEST(LinkCommands, EnableRules)
{
    struct Case {
        const char* name;
        int sector;
        EBoxSide side;  // of sector 0
        bool vertex;    // corner (1, 0, 0) of that surface current
        bool link, unlink;
    };
    const Case cases[] = {
        {"no sector", -1, kBoxXHigh, false, false, false},
        {"a portal", 0, kBoxXHigh, false, false, true},
        {"a wall", 0, kBoxFloor, false, true, false},
        // The corner is shared by both rooms.
        {"a shared vertex", 0, kBoxFloor, true, true, true},
    };
    CFixtureEngine f(MakeTwoJoinedRooms());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int surface = BoxSurface(f.m_level, 0, c.side);
        f.m_view.m_selection.m_sector = c.sector;
        f.m_view.m_selection.m_surface = surface;
        f.m_view.m_selection.m_vertexSurface = c.vertex ? surface : -1;
        f.m_view.m_selection.m_vertex = c.vertex ? CornerAt(f.m_level, surface, {1, 0, 0}) : -1;
        EXPECT_EQ(CanLink(f.m_view), c.link);
        EXPECT_EQ(CanUnlink(f.m_view), c.unlink);
    }

    // A corner of a single box is shared by its three surfaces; after Unlink it is its own, and
    // Unlink is off for it.
    CFixtureEngine box(MakeBoxRoom());
    box.m_view.m_selection.m_sector = 0;
    box.m_view.m_selection.m_vertexSurface = 0;
    box.m_view.m_selection.m_vertex = 0;
    EXPECT_TRUE(CanUnlink(box.m_view));
    EXPECT_TRUE(RunUnlinkCommand(box.m_view));
    box.m_view.m_selection.m_vertex = 0;
    EXPECT_FALSE(CanUnlink(box.m_view));
    EXPECT_FALSE(RunUnlinkCommand(box.m_view));
    EXPECT_EQ(box.m_level.m_undoList.size(), 1u);
}

TEST(LinkCommands, EachTakesAnUndoStepOnlyWhenItLinks)
{
    CFixtureEngine f(BoxesHalfAThousandthApart());
    C3dView& view = f.m_view;
    RebuildAll(view, false);
    view.m_selection.m_sector = 0;

    // Nothing faces the floor.
    view.m_selection.m_surface = BoxSurface(f.m_level, 0, kBoxFloor);
    EXPECT_FALSE(RunLinkCommand(view));
    EXPECT_TRUE(f.m_level.m_undoList.empty());

    view.m_selection.m_surface = BoxSurface(f.m_level, 0, kBoxXHigh);
    EXPECT_TRUE(RunLinkCommand(view));
    EXPECT_EQ(f.m_level.m_undoList.size(), 1u);
    EXPECT_EQ(f.m_level.m_adjoins.size(), 2u);

    // Unlink right after it takes the pair away again (no corner was left current).
    EXPECT_EQ(view.m_selection.m_vertex, -1);
    EXPECT_TRUE(RunUnlinkCommand(view));
    EXPECT_EQ(f.m_level.m_undoList.size(), 2u);
    EXPECT_TRUE(f.m_level.m_adjoins.empty());
    EXPECT_TRUE(LevelIsSound(f.m_level));
}

}  // namespace
