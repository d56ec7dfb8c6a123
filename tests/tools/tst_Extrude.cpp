// Extrude Surface: the records each type adds, the far corners of chosen depths, indents and
// angles, the turned end surface, the textures the side surfaces continue, Connect to Opposite
// Surface with its cut, its touching shortcut and its refusals, and every refusal leaving the
// level as it was. After every extrusion the level oracle holds and undo and redo give back the
// exact bytes.

#include "tools/Extrude.h"

#include "engine/RenderData.h"
#include "geometry/Predicates.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

CQzlSurface& SurfaceOf(CQzlSections& level, int surface)
{
    return *level.m_surfaces[static_cast<std::size_t>(surface)];
}

CVector3 CornerPosition(const CQzlSections& level, const CQzlVertex& corner)
{
    return WorldPosition(level, corner.m_worldVertex);
}

struct CCounts {
    std::size_t worldVertices;
    std::size_t surfaces;
    std::size_t sectors;
    std::size_t adjoins;
};

CCounts Counts(const CQzlSections& level)
{
    return {level.m_worldVertices.size(), level.m_surfaces.size(), level.m_sectors.size(),
            level.m_adjoins.size()};
}

// Box sectors from each lo to hi, in order.
CQzlSections MakeRooms(const std::vector<std::pair<CVector3, CVector3>>& boxes)
{
    CQzlSections level = MakeEmptyLevel();
    for (const auto& [lo, hi] : boxes)
        AddBoxSector(level, lo, hi);
    FinishFixture(level);
    return level;
}

// A prism on the triangle (0, 0, 0), (1, 0, 0), (0, 0, 1) from y = 0 to y = 1: floor, ceiling and
// three walls.
CQzlSections MakePrism()
{
    CQzlSections level = MakeEmptyLevel();
    const int sector = AddEmptySector(level);
    const CVector3 inside{0.3f, 0.5f, 0.3f};
    AddFacingSurface(level, sector, inside, {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}});
    AddFacingSurface(level, sector, inside, {{0, 1, 0}, {1, 1, 0}, {0, 1, 1}});
    AddFacingSurface(level, sector, inside, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    AddFacingSurface(level, sector, inside, {{1, 0, 0}, {0, 0, 1}, {0, 1, 1}, {1, 1, 0}});
    AddFacingSurface(level, sector, inside, {{0, 0, 1}, {0, 0, 0}, {0, 1, 0}, {0, 1, 1}});
    FinishFixture(level);
    return level;
}

// Runs the extrusion of sector's surface as the command does, with the undo check (the grid
// nodes picked as the step starts: the rebuild before it empties them); the oracle must hold
// afterwards.
void ExtrudeChecked(CFixtureEngine& engine, int sector, int surface, const CExtrudeParams& params,
                    const std::vector<CVector3>& nodes = {})
{
    C3dView& view = engine.m_view;
    view.m_selection.m_sector = sector;
    view.m_selection.m_surface = surface;
    engine.m_host.Clear();
    EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] {
        view.m_selection.m_pickedNodes = nodes;
        return ExtrudeSurface(view, params);
    }));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
    EXPECT_TRUE(engine.m_host.Messages().empty());
}

// Grid nodes along +z across the floor of a box from (0, 0, 0) to (2, 2, 2).
const std::vector<CVector3> kNodesAlongZ{{1, 0, 0}, {1, 0, 2}};
// Grid nodes up room 0's wall x = 1.
const std::vector<CVector3> kNodesUpTheWall{{1, 0, 0.5f}, {1, 1, 0.5f}};

// Runs an extrusion that must be refused with message: the level's bytes and the selection stay.
void ExpectRefused(CFixtureEngine& engine, int sector, int surface, const CExtrudeParams& params,
                   std::string_view message)
{
    C3dView& view = engine.m_view;
    RebuildAll(view, false, ERebuildAll::Restore);
    view.m_selection.m_sector = sector;
    view.m_selection.m_surface = surface;
    const std::vector<std::uint8_t> before = WriteLevelBytes(engine.m_level);
    engine.m_host.Clear();
    EXPECT_FALSE(ExtrudeSurface(view, params));
    EXPECT_EQ(engine.m_host.Messages(), std::vector<std::string>{std::string(message)});
    EXPECT_EQ(WriteLevelBytes(engine.m_level), before);
    EXPECT_EQ(view.m_selection.m_sector, sector);
    EXPECT_EQ(view.m_selection.m_surface, surface);
}

CExtrudeParams Params(EExtrudeType type, float depth = 1.0f)
{
    CExtrudeParams params;
    params.m_type = type;
    params.m_depth = depth;
    return params;
}

TEST(ExtrudeSurface, NewSectorAddsKVerticesKPlus2SurfacesASectorAndTwoAdjoins)
{
    struct {
        const char* name;
        CQzlSections (*make)();
        EBoxSide side;
        std::size_t corners;
    } const cases[] = {
        {"box floor", MakeBoxRoom, kBoxFloor, 4},
        {"box wall", MakeBoxRoom, kBoxXHigh, 4},
        {"prism floor", MakePrism, kBoxFloor, 3},
        {"prism slanted wall", MakePrism, kBoxXHigh, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(c.make());
        CQzlSections& level = engine.m_level;
        const int surface = BoxSurface(level, 0, c.side);
        const std::uint32_t flags = SurfaceOf(level, surface).m_surfaceFlags;
        const CCounts before = Counts(level);
        ExtrudeChecked(engine, 0, surface, Params(EExtrudeType::NewSector, 0.5f));
        const CCounts after = Counts(level);
        EXPECT_EQ(after.worldVertices, before.worldVertices + c.corners);
        EXPECT_EQ(after.surfaces, before.surfaces + c.corners + 2);
        EXPECT_EQ(after.sectors, before.sectors + 1);
        EXPECT_EQ(after.adjoins, before.adjoins + 2);

        // The new sector and its end surface are current; F became a portal to it.
        const C3dView& view = engine.m_view;
        EXPECT_EQ(view.m_selection.m_sector, 1);
        EXPECT_EQ(view.m_selection.m_vertex, -1);
        const CQzlSurface& f = SurfaceOf(level, surface);
        EXPECT_EQ(f.m_material, -1);
        EXPECT_EQ(f.m_surfaceFlags & ~1u, 0u);
        EXPECT_EQ(f.m_faceFlags, 0u);
        EXPECT_EQ(f.m_geo, 0);
        const CQzlSurface& t = SurfaceOf(level, view.m_selection.m_surface);
        EXPECT_EQ(t.m_material, 0);
        EXPECT_EQ(t.m_surfaceFlags, flags);
        ASSERT_EQ(t.m_vertices.size(), c.corners);
        for (std::size_t i = 0; i < c.corners; ++i) {
            const CVector3 moved =
                CornerPosition(level, t.m_vertices[i]) - CornerPosition(level, f.m_vertices[i]);
            EXPECT_NEAR(VectorLength(moved + f.m_normal * 0.5f), 0.0f, 1e-4f) << "corner " << i;
        }
        // Each side of the portal sees the other.
        const auto& visible = level.m_sectors[0]->m_visible;
        EXPECT_NE(std::find(visible.begin(), visible.end(), 1), visible.end());
    }
}

TEST(ExtrudeSurface, HiddenKeepsTheSurfacesLookAndKeepWithSectorGrowsTheSector)
{
    {
        SCOPED_TRACE("New Sector (Hidden)");
        CFixtureEngine engine(MakeBoxRoom());
        CQzlSections& level = engine.m_level;
        const int floor = BoxSurface(level, 0, kBoxFloor);
        SurfaceOf(level, floor).m_faceFlags = 4;
        const CQzlSurface before(SurfaceOf(level, floor), false, false);
        ExtrudeChecked(engine, 0, floor, Params(EExtrudeType::NewSectorHidden));
        // Undo and redo gave the level new records.
        const CQzlSurface& f = SurfaceOf(level, floor);
        EXPECT_EQ(f.m_material, before.m_material);
        EXPECT_EQ(f.m_surfaceFlags, before.m_surfaceFlags);
        EXPECT_EQ(f.m_faceFlags, before.m_faceFlags);
        EXPECT_EQ(f.m_geo, before.m_geo);
        EXPECT_GE(f.m_adjoin, 0);
        EXPECT_EQ(level.m_sectors.size(), 2u);
    }
    {
        SCOPED_TRACE("Keep with Sector");
        CFixtureEngine engine(MakeBoxRoom());
        CQzlSections& level = engine.m_level;
        const int floor = BoxSurface(level, 0, kBoxFloor);
        std::vector<std::int32_t> oldVertices;
        for (const CQzlVertex& corner : SurfaceOf(level, floor).m_vertices)
            oldVertices.push_back(corner.m_worldVertex);
        RebuildAll(engine.m_view, false, ERebuildAll::Restore);
        const std::vector<std::int32_t> oldUses = level.m_useCounts;
        const CCounts before = Counts(level);
        ExtrudeChecked(engine, 0, floor, Params(EExtrudeType::KeepWithSector, 0.5f));
        const CCounts after = Counts(level);
        EXPECT_EQ(after.surfaces, before.surfaces + 4);
        EXPECT_EQ(after.sectors, before.sectors);
        EXPECT_EQ(after.adjoins, before.adjoins);
        EXPECT_EQ(level.m_sectors[0]->m_surfaces.size(), 10u);
        EXPECT_EQ(engine.m_view.m_selection.m_surface, floor);
        // Each old corner: one use fewer (the floor moved away), two more (two sides).
        for (const std::int32_t w : oldVertices)
            EXPECT_EQ(level.m_useCounts[static_cast<std::size_t>(w)],
                      oldUses[static_cast<std::size_t>(w)] + 1);
        for (const CQzlVertex& corner : SurfaceOf(level, floor).m_vertices) {
            EXPECT_EQ(level.m_useCounts[static_cast<std::size_t>(corner.m_worldVertex)], 3);
            EXPECT_FLOAT_EQ(CornerPosition(level, corner).y, -0.5f);
        }
    }
}

TEST(ExtrudeSurface, ChosenVerticesTiltTheEndSurfaceThroughTheirFarPoints)
{
    // The box floor's corners 0, 1 and 2 take depths 1, 1 and 2: corner 3 lands on their plane.
    CFixtureEngine engine(MakeBoxRoom());
    CQzlSections& level = engine.m_level;
    const int floor = BoxSurface(level, 0, kBoxFloor);
    CExtrudeParams params = Params(EExtrudeType::NewSector, 1.0f);
    params.m_vertex1 = 0;
    params.m_vertex2 = 1;
    params.m_vertex3 = 2;
    params.m_depth2 = 1.0f;
    params.m_depth3 = 2.0f;
    ExtrudeChecked(engine, 0, floor, params);
    const CQzlSurface& f = SurfaceOf(level, floor);
    const CQzlSurface& t = SurfaceOf(level, engine.m_view.m_selection.m_surface);
    const float expected[] = {1.0f, 1.0f, 2.0f, 2.0f};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(CornerPosition(level, f.m_vertices[i]).y -
                        CornerPosition(level, t.m_vertices[i]).y,
                    expected[i], 1e-4f)
            << "corner " << i;
}

TEST(ExtrudeSurface, UndefinedChoicesAreRefusedBeforeAnyChange)
{
    struct {
        const char* name;
        int vertices[3];
        float depths[3];
        std::string_view message;
    } const cases[] = {
        {"a vertex named twice", {0, 0, 2}, {1, 1, 1}, kExtrudeVerticesText},
        {"a vertex the surface does not have", {0, 1, 4}, {1, 1, 1}, kExtrudeVerticesText},
        {"a plane behind the fourth corner", {0, 1, 2}, {0.5f, 2.0f, 0.5f}, kExtrudePlaneText},
        {"a zero second depth", {0, 1, 2}, {1, 0, 1}, kExtrudePlaneText},
        {"a negative third depth", {0, 1, 2}, {1, 1, -1}, kExtrudePlaneText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(MakeBoxRoom());
        CExtrudeParams params = Params(EExtrudeType::NewSector, c.depths[0]);
        params.m_vertex1 = c.vertices[0];
        params.m_vertex2 = c.vertices[1];
        params.m_vertex3 = c.vertices[2];
        params.m_depth2 = c.depths[1];
        params.m_depth3 = c.depths[2];
        ExpectRefused(engine, 0, BoxSurface(engine.m_level, 0, kBoxFloor), params, c.message);
    }
    {
        SCOPED_TRACE("an adjoined surface, whatever the type");
        for (const EExtrudeType type :
             {EExtrudeType::NewSector, EExtrudeType::KeepWithSector, EExtrudeType::ConnectOpposite,
              EExtrudeType::NewSectorHidden}) {
            CFixtureEngine engine(MakeTwoJoinedRooms());
            ExpectRefused(engine, 0, BoxSurface(engine.m_level, 0, kBoxXHigh), Params(type),
                          kExtrudeAdjoinedText);
        }
    }
}

TEST(ExtrudeSurface, IndentsAnglesAndTheTurnedEndSurface)
{
    // The 2 x 2 floor of a box from (0, 0, 0) to (2, 2, 2), its centroid at (1, 0, 1).
    struct {
        const char* name;
        float indent;
        float upDown;
        float leftRight;
        bool across;
        bool along;
        int shape;
        // Where the far corner of the floor's corner at (2, 0, 2) lands.
        CVector3 far;
    } const cases[] = {
        {"radial indent", 0.5f, 0, 0, true, true, 0,
         CVector3{2, -1, 2} + CVector3{-1, 0, -1} * (0.5f / std::sqrt(2.0f))},
        {"indent across the nodes", 0.5f, 0, 0, true, false, 0, {1.5f, -1, 2}},
        {"indent along the nodes", 0.5f, 0, 0, false, true, 0, {2, -1, 1.5f}},
        {"up/down 45 degrees", 0, 45, 0, false, false, 0, {2, -1, 3}},
        {"left/right 45 degrees", 0, 0, 45, false, false, 0, {1, -1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(MakeRooms({{{0, 0, 0}, {2, 2, 2}}}));
        CQzlSections& level = engine.m_level;
        CExtrudeParams params = Params(EExtrudeType::NewSector, 1.0f);
        params.m_indent = c.indent;
        params.m_upDownAngle = c.upDown;
        params.m_leftRightAngle = c.leftRight;
        params.m_indentAcross = c.across;
        params.m_indentAlong = c.along;
        params.m_shape = c.shape;
        const int floor = BoxSurface(level, 0, kBoxFloor);
        ExtrudeChecked(engine, 0, floor, params, kNodesAlongZ);
        const CQzlSurface& f = SurfaceOf(level, floor);
        const CQzlSurface& t = SurfaceOf(level, engine.m_view.m_selection.m_surface);
        bool found = false;
        for (std::size_t i = 0; i < 4; ++i)
            if (CornerPosition(level, f.m_vertices[i]) == CVector3{2, 0, 2}) {
                const CVector3 far = CornerPosition(level, t.m_vertices[i]);
                EXPECT_NEAR(VectorLength(far - c.far), 0.0f, 1e-4f)
                    << far.x << ", " << far.y << ", " << far.z;
                found = true;
            }
        EXPECT_TRUE(found);
    }
}

TEST(ExtrudeSurface, RotatedEndSurfaceKeepsEachSideEdgeAsFarFromTheMiddleOfTheLongestAsItStarts)
{
    // Tilted 45 degrees along the nodes, the floor's far corners lean along +z; turned, the end
    // surface stands square to the sweep through the midpoint M of the side edge that reaches
    // farthest from the centroid.
    CFixtureEngine tilted(MakeRooms({{{0, 0, 0}, {2, 2, 2}}}));
    CQzlSections& tl = tilted.m_level;
    const int floor = BoxSurface(tl, 0, kBoxFloor);
    CExtrudeParams params = Params(EExtrudeType::NewSector, 1.0f);
    params.m_upDownAngle = 45.0f;
    params.m_shape = 1;
    ExtrudeChecked(tilted, 0, floor, params, kNodesAlongZ);
    const CQzlSurface& f = SurfaceOf(tl, floor);
    const CQzlSurface& t = SurfaceOf(tl, tilted.m_view.m_selection.m_surface);
    // The far corners of the z = 2 edge lie at (x, -1, 3) before the turn: they are the
    // farthest; M is the midpoint of such an edge. Every far corner is as far from M as its
    // start, and the one that gave M stays.
    CVector3 m;
    bool haveM = false;
    for (std::size_t i = 0; i < 4 && !haveM; ++i) {
        const CVector3 v = CornerPosition(tl, f.m_vertices[i]);
        if (v.z == 2.0f) {
            const CVector3 w = CornerPosition(tl, t.m_vertices[i]);
            EXPECT_NEAR(VectorLength(w - CVector3{v.x, -1, 3}), 0.0f, 1e-4f);
            m = (w + v) * 0.5f;
            haveM = true;
        }
    }
    ASSERT_TRUE(haveM);
    for (std::size_t i = 0; i < 4; ++i) {
        const CVector3 v = CornerPosition(tl, f.m_vertices[i]);
        const CVector3 w = CornerPosition(tl, t.m_vertices[i]);
        EXPECT_NEAR(VectorLength(w - m), VectorLength(v - m), 1e-4f) << "corner " << i;
    }
}

// A box whose wall x = 0 stands in two pieces (z from 0 to 0.5 and from 0.5 to 1), neither
// running along the whole floor edge, and beside it, touching its wall x = 1 but not joined, a
// second box. The walls have materials: x = 0 "a" and "b", x = 1 "c", z = 0 "d", z = 1 "e"; the
// second box's floor "f". So the floor's edge x = 0 has no neighbour and its edge x = 1 two (the
// wall x = 1, then the second box's floor).
CQzlSections MakeBoxWithSplitWall()
{
    CQzlSections level = MakeEmptyLevel();
    const int sector = AddEmptySector(level);
    const CVector3 inside{0.5f, 0.5f, 0.5f};
    const auto add = [&](const std::vector<CVector3>& corners, const char* material) {
        const int s = AddFacingSurface(level, sector, inside, corners);
        SurfaceOf(level, s).m_material = material != nullptr ? level.FindMaterial(material) : 0;
        return s;
    };
    add({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, nullptr);
    add({{0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}}, nullptr);
    add({{0, 0, 0}, {0, 1, 0}, {0, 1, 0.5f}, {0, 0, 0.5f}}, "a.mat");
    add({{0, 0, 0.5f}, {0, 1, 0.5f}, {0, 1, 1}, {0, 0, 1}}, "b.mat");
    add({{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}, "c.mat");
    add({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, "d.mat");
    add({{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, "e.mat");
    const int beside = AddBoxSector(level, {1, 0, 0}, {2, 1, 1});
    SurfaceOf(level, BoxSurface(level, beside, kBoxFloor)).m_material = level.FindMaterial("f.mat");
    FinishFixture(level);
    return level;
}

TEST(ExtrudeSurface, EachSideSurfaceContinuesTheWallAlongItsOwnEdge)
{
    // Sides along edges with no or two neighbours: each side takes the first wall of its own
    // edge, or keeps the floor's look, never the wall of another edge.
    CFixtureEngine engine(MakeBoxWithSplitWall());
    CQzlSections& level = engine.m_level;
    ExtrudeChecked(engine, 0, 0, Params(EExtrudeType::NewSector, 0.5f));
    const auto materialName = [&](int material) {
        return material >= 0 ? level.m_materials[static_cast<std::size_t>(material)]->m_name
                             : std::string("none");
    };
    const CQzlSector& created = *level.m_sectors[2];
    int sides = 0;
    for (const std::int32_t s : created.m_surfaces) {
        const CQzlSurface& side = SurfaceOf(level, s);
        if (std::fabs(side.m_normal.y) > 0.5f)
            continue;
        ++sides;
        // Where the side stands tells the wall it continues.
        CVector3 middle;
        for (const CQzlVertex& corner : side.m_vertices)
            middle = middle + CornerPosition(level, corner) * 0.25f;
        const std::string expected = middle.x == 0.0f   ? "dflt.mat"
                                     : middle.x == 1.0f ? "c.mat"
                                     : middle.z == 0.0f ? "d.mat"
                                                        : "e.mat";
        EXPECT_EQ(materialName(side.m_material), expected)
            << "side at " << middle.x << ", " << middle.z;
    }
    EXPECT_EQ(sides, 4);
}

// ---- Connect to Opposite Surface ----

// A fixture engine on level with every sector built, as the editor shows it.
struct CBuiltFixture {
    explicit CBuiltFixture(CQzlSections level)
        : engine(std::make_unique<CFixtureEngine>(std::move(level)))
    {
        RebuildAll(engine->m_view, false, ERebuildAll::Restore);
    }
    CFixtureEngine* operator->() { return engine.get(); }

    std::unique_ptr<CFixtureEngine> engine;
};

// Room 0 from (0, 0, 0) to (1, 1, 1) and, the gap beyond its wall x = 1, room 1 from
// (1 + gap, lo.y, lo.z) to (2 + gap, hi.y, hi.z).
CBuiltFixture MakeFacingRooms(float gap, const CVector3& lo, const CVector3& hi)
{
    return CBuiltFixture(
        MakeRooms({{{0, 0, 0}, {1, 1, 1}}, {{1 + gap, lo.y, lo.z}, {2 + gap, hi.y, hi.z}}}));
}

TEST(ExtrudeSurface, ConnectToOppositeSurfaceBridgesTheGap)
{
    struct {
        const char* name;
        CVector3 lo;
        CVector3 hi;
        std::size_t piecesCut;  // surfaces the cut adds to room 1
    } const cases[] = {
        {"a wall of the same size", {0, 0, 0}, {0, 1, 1}, 0},
        {"a larger wall, cut to the outline", {0, -1, -1}, {0, 2, 2}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = MakeFacingRooms(1.0f, c.lo, c.hi);
        CQzlSections& level = engine->m_level;
        const C3dView& view = engine->m_view;
        const CCounts before = Counts(level);
        ExtrudeChecked(*engine.engine, 0, BoxSurface(level, 0, kBoxXHigh),
                       Params(EExtrudeType::ConnectOpposite), kNodesUpTheWall);
        const CCounts after = Counts(level);
        EXPECT_EQ(after.sectors, before.sectors + 1);
        EXPECT_EQ(after.surfaces, before.surfaces + 6 + c.piecesCut);
        EXPECT_EQ(after.adjoins, before.adjoins + 4);
        // The end surface lies on room 1's wall and is joined to the piece of it.
        const CQzlSurface& t = SurfaceOf(level, view.m_selection.m_surface);
        EXPECT_GE(t.m_adjoin, 0);
        for (const CQzlVertex& corner : t.m_vertices)
            EXPECT_FLOAT_EQ(CornerPosition(level, corner).x, 2.0f);
        EXPECT_EQ(level.m_sectors[2]->m_surfaces.size(), 6u);
    }
}

TEST(ExtrudeSurface, ConnectToAnOppositeSurfaceAlreadyTouchingLinksTheTwo)
{
    auto engine = MakeFacingRooms(0.0f, {0, 0, 0}, {0, 1, 1});
    CQzlSections& level = engine->m_level;
    const int wall = BoxSurface(level, 0, kBoxXHigh);
    const CCounts before = Counts(level);
    ExtrudeChecked(*engine.engine, 0, wall, Params(EExtrudeType::ConnectOpposite), kNodesUpTheWall);
    const CCounts after = Counts(level);
    EXPECT_EQ(after.sectors, before.sectors);
    EXPECT_EQ(after.surfaces, before.surfaces);
    EXPECT_EQ(after.worldVertices, before.worldVertices);
    EXPECT_EQ(after.adjoins, before.adjoins + 2);
    EXPECT_GE(SurfaceOf(level, wall).m_adjoin, 0);
    EXPECT_GE(SurfaceOf(level, BoxSurface(level, 1, kBoxXLow)).m_adjoin, 0);
}

TEST(ExtrudeSurface, ConnectToAPieceWithACornerOnItsEdge)
{
    // Room 1's wall x = 2 reaches beyond room 0's wall on every side but the floor, where it has
    // a corner at z = 0.5: the piece cut to the outline keeps that corner on its edge and is
    // linked all the same.
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    const int room = AddEmptySector(level);
    const CVector3 inside{2.5f, 1, 0.5f};
    AddFacingSurface(level, room, inside,
                     {{2, 0, -1}, {2, 0, 0.5f}, {2, 0, 2}, {2, 2, 2}, {2, 2, -1}});
    AddFacingSurface(level, room, inside, {{3, 0, -1}, {3, 0, 2}, {3, 2, 2}, {3, 2, -1}});
    AddFacingSurface(level, room, inside, {{2, 0, -1}, {3, 0, -1}, {3, 0, 2}, {2, 0, 2}});
    AddFacingSurface(level, room, inside, {{2, 2, -1}, {3, 2, -1}, {3, 2, 2}, {2, 2, 2}});
    AddFacingSurface(level, room, inside, {{2, 0, -1}, {3, 0, -1}, {3, 2, -1}, {2, 2, -1}});
    AddFacingSurface(level, room, inside, {{2, 0, 2}, {3, 0, 2}, {3, 2, 2}, {2, 2, 2}});
    FinishFixture(level);
    CFixtureEngine engine(std::move(level));
    ExtrudeChecked(engine, 0, BoxSurface(engine.m_level, 0, kBoxXHigh),
                   Params(EExtrudeType::ConnectOpposite), kNodesUpTheWall);
    EXPECT_EQ(engine.m_level.m_sectors.size(), 3u);
    EXPECT_GE(SurfaceOf(engine.m_level, engine.m_view.m_selection.m_surface).m_adjoin, 0);
}

TEST(ExtrudeSurface, ConnectToOppositeSurfaceRefusesWithoutOneOppositeSurface)
{
    struct {
        const char* name;
        CBuiltFixture (*make)();
        bool pickNodes;
    } const cases[] = {
        {"nothing across", [] { return CBuiltFixture(MakeBoxRoom()); }, true},
        {"two walls across",
         [] {
             return CBuiltFixture(MakeRooms(
                 {{{0, 0, 0}, {1, 1, 1}}, {{2, 0, 0}, {3, 1, 0.5f}}, {{2, 0, 0.5f}, {3, 1, 1}}}));
         },
         true},
        {"a wall beyond the sweep",
         [] {
             return MakeFacingRooms(120.0f, {0, 0, 0}, {0, 1, 1});
         },
         true},
        {"a textured portal across",
         [] {
             // Room 2 stands in the gap, its near wall without a texture; room 1's wall x = 2
             // is joined to room 2 and keeps its material.
             CQzlSections level = MakeEmptyLevel();
             AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
             AddBoxSector(level, {2, 0, 0}, {3, 1, 1});
             AddBoxSector(level, {1.5f, 0, 0}, {2, 1, 1});
             JoinSurfaces(level, BoxSurface(level, 1, kBoxXLow), BoxSurface(level, 2, kBoxXHigh));
             SurfaceOf(level, BoxSurface(level, 1, kBoxXLow)).m_material = 0;
             SurfaceOf(level, BoxSurface(level, 2, kBoxXLow)).m_material = -1;
             FinishFixture(level);
             return CBuiltFixture(std::move(level));
         },
         true},
        {"no grid nodes",
         [] {
             return MakeFacingRooms(1.0f, {0, 0, 0}, {0, 1, 1});
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = c.make();
        C3dView& view = engine->m_view;
        if (c.pickNodes)
            view.m_selection.m_pickedNodes = kNodesUpTheWall;
        CExtrudeParams params = Params(EExtrudeType::ConnectOpposite);
        const int wall = BoxSurface(engine->m_level, 0, kBoxXHigh);
        view.m_selection.m_sector = 0;
        view.m_selection.m_surface = wall;
        const std::vector<std::uint8_t> before = WriteLevelBytes(engine->m_level);
        engine->m_host.Clear();
        EXPECT_FALSE(ExtrudeSurface(view, params));
        EXPECT_EQ(engine->m_host.Messages(),
                  std::vector<std::string>{std::string(kExtrudeNoOppositeText)});
        EXPECT_EQ(WriteLevelBytes(engine->m_level), before);
        EXPECT_EQ(view.m_selection.m_surface, wall);
    }
}

TEST(ExtrudeSurface, TheCommandLeavesNoUndoStepWhenRefused)
{
    CFixtureEngine engine(MakeTwoJoinedRooms());
    C3dView& view = engine.m_view;
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = BoxSurface(engine.m_level, 0, kBoxXHigh);
    EXPECT_TRUE(CanExtrudeSurface(view));
    EXPECT_FALSE(RunExtrudeSurfaceCommand(view, Params(EExtrudeType::NewSector)));
    EXPECT_TRUE(engine.m_level.m_undoList.empty());
    view.m_selection.m_surface = BoxSurface(engine.m_level, 0, kBoxFloor);
    EXPECT_TRUE(RunExtrudeSurfaceCommand(view, Params(EExtrudeType::NewSector)));
    EXPECT_EQ(engine.m_level.m_undoList.size(), 1u);
    view.m_selection.m_surface = -1;
    EXPECT_FALSE(CanExtrudeSurface(view));
}

}  // namespace
