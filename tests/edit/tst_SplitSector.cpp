// Split Sector on the fixture levels: the unit box cut by planes through its middle and through
// its corners, an adjoined wall whose twin is cut with it, things changing sector, the caps and
// their adjoins, corners near the plane, the refusals, and the Split command in sector mode.
// After every split the level oracle holds and undo gives back the stored bytes.

#include "edit/SplitCommand.h"
#include "edit/SplitSector.h"
#include "engine/C3dView.h"
#include "engine/Undo.h"
#include "geometry/Predicates.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Points = std::vector<CVector3>;

const CQzlSurface& SurfaceOf(const CQzlSections& level, std::int32_t surface)
{
    return *level.m_surfaces[static_cast<std::size_t>(surface)];
}

const CQzlSector& SectorOf(const CQzlSections& level, std::int32_t sector)
{
    return *level.m_sectors[static_cast<std::size_t>(sector)];
}

Points Corners(const CQzlSections& level, std::int32_t surface)
{
    Points points;
    for (const CQzlVertex& corner : SurfaceOf(level, surface).m_vertices)
        points.push_back(WorldPosition(level, corner.m_worldVertex));
    return points;
}

// The sector's corner positions, each place once.
Points SectorPoints(const CQzlSections& level, std::int32_t sector)
{
    Points points;
    for (const std::int32_t f : SectorOf(level, sector).m_surfaces)
        for (const CVector3& p : Corners(level, f))
            if (std::none_of(points.begin(), points.end(),
                             [&p](const CVector3& q) { return VectorLength(p - q) < 1e-4f; }))
                points.push_back(p);
    return points;
}

bool Holds(const Points& points, const CVector3& p)
{
    return std::any_of(points.begin(), points.end(),
                       [&p](const CVector3& q) { return VectorLength(p - q) < 1e-4f; });
}

std::unique_ptr<CFixtureEngine> SectorModeEngine(CQzlSections level, std::int32_t sector)
{
    auto engine = std::make_unique<CFixtureEngine>(std::move(level));
    engine->m_view.m_selection.m_sector = sector;
    engine->m_document.m_gridOn = 1;
    engine->m_document.m_sectorMode = 1;
    return engine;
}

// A split with messages inside an undo step, undone and redone, with the nodes picked first.
::testing::AssertionResult SplitWithUndo(CFixtureEngine& engine, const Points& nodes)
{
    C3dView& view = engine.m_view;
    return UndoGivesBackExactBytes(view, [&] {
        view.m_selection.m_pickedNodes = nodes;
        return SplitSector(view, true);
    });
}

// Nodes whose plane is y = 0.5 with n pointing up (+y).
const Points kMiddleUp{{0.2f, 0.5f, 0.2f}, {0.2f, 0.5f, 0.8f}, {0.8f, 0.5f, 0.8f}};

TEST(SplitSector, CubeByAHorizontalPlaneThroughItsMiddle)
{
    CQzlSections level = MakeBoxRoom();
    const int bottom = BoxSurface(level, 0, kBoxFloor);
    const int top = BoxSurface(level, 0, kBoxCeiling);
    const std::vector<std::int32_t> uses = level.m_useCounts;
    auto engine = SectorModeEngine(std::move(level), 0);
    const CQzlSections& after = engine->m_level;

    ASSERT_TRUE(SplitWithUndo(*engine, kMiddleUp));
    EXPECT_TRUE(LevelIsSound(after));
    EXPECT_TRUE(engine->m_host.Messages().empty());
    ASSERT_EQ(after.m_sectors.size(), 2u);
    // Four side pieces, two caps: 6 + 4 + 2 surfaces; one new world vertex per side edge.
    EXPECT_EQ(after.m_surfaces.size(), 12u);
    EXPECT_EQ(after.m_worldVertices.size(), 12u);
    const CQzlSector& old = SectorOf(after, 0);
    const CQzlSector& added = SectorOf(after, 1);
    EXPECT_EQ(old.m_surfaces.size(), 6u);
    EXPECT_EQ(added.m_surfaces.size(), 6u);
    EXPECT_EQ(added.m_number, 1);
    // The bottom moved whole at its index; the top stayed.
    EXPECT_NE(std::find(added.m_surfaces.begin(), added.m_surfaces.end(), bottom),
              added.m_surfaces.end());
    EXPECT_NE(std::find(old.m_surfaces.begin(), old.m_surfaces.end(), top), old.m_surfaces.end());
    EXPECT_EQ(Corners(after, bottom).size(), 4u);
    for (int side = kBoxXLow; side <= kBoxZHigh; ++side) {
        SCOPED_TRACE(side);
        const Points kept = Corners(after, side);
        ASSERT_EQ(kept.size(), 4u);
        for (const CVector3& p : kept)
            EXPECT_GE(p.y, 0.5f - 1e-5f);
    }
    // Every corner of the new sector lies at or below the plane, of the old one at or above.
    for (const CVector3& p : SectorPoints(after, 1))
        EXPECT_LE(p.y, 0.5f + 1e-5f);
    for (const CVector3& p : SectorPoints(after, 0))
        EXPECT_GE(p.y, 0.5f - 1e-5f);
    // The eight box corners kept their world vertices and their uses.
    for (std::size_t w = 0; w < uses.size(); ++w)
        EXPECT_EQ(after.m_useCounts[w], uses[w]) << "world vertex " << w;
    // The split leaves the grid off and edit mode 0 with the sector still current.
    EXPECT_EQ(engine->m_document.m_gridOn, 0);
    EXPECT_EQ(engine->m_document.m_editMode, 0);
    EXPECT_EQ(engine->m_view.m_selection.m_sector, 0);
    EXPECT_TRUE(engine->m_view.m_selection.m_pickedNodes.empty());
}

TEST(SplitSector, CapsCloseBothHalvesAndAreAdjoinedToEachOther)
{
    auto engine = SectorModeEngine(MakeBoxRoom(), 0);
    const CQzlSections& level = engine->m_level;
    ASSERT_TRUE(SplitWithUndo(*engine, kMiddleUp));
    ASSERT_TRUE(LevelIsSound(level));
    // C2 (facing up) closes the old sector, C1 (facing down) the new one; each the last entry.
    const std::int32_t c2 = SectorOf(level, 0).m_surfaces.back();
    const std::int32_t c1 = SectorOf(level, 1).m_surfaces.back();
    const CQzlSurface& capOld = SurfaceOf(level, c2);
    const CQzlSurface& capNew = SurfaceOf(level, c1);
    EXPECT_GT(capOld.m_normal.y, 0.999f);
    EXPECT_LT(capNew.m_normal.y, -0.999f);
    for (const CQzlSurface* cap : {&capOld, &capNew}) {
        EXPECT_EQ(cap->m_vertices.size(), 4u);
        EXPECT_EQ(cap->m_material, -1);
        EXPECT_EQ(cap->m_geo, 0);
        EXPECT_EQ(cap->m_surfaceFlags, 0u);
        EXPECT_EQ(cap->m_faceFlags, 0u);
        // Texture coordinates fitted from corner 0: it lands at (0, 0).
        EXPECT_FLOAT_EQ(cap->m_vertices[0].m_u, 0.0f);
        EXPECT_FLOAT_EQ(cap->m_vertices[0].m_v, 0.0f);
        ASSERT_GE(cap->m_adjoin, 0);
    }
    const CQzlAdjoin& fromOld = *level.m_adjoins[static_cast<std::size_t>(capOld.m_adjoin)];
    const CQzlAdjoin& fromNew = *level.m_adjoins[static_cast<std::size_t>(capNew.m_adjoin)];
    EXPECT_EQ(fromOld.m_otherSector, 1);
    EXPECT_EQ(fromOld.m_otherSurface, c1);
    EXPECT_EQ(fromNew.m_otherSector, 0);
    EXPECT_EQ(fromNew.m_otherSurface, c2);
    EXPECT_EQ(fromOld.m_mirror, capNew.m_adjoin);
    EXPECT_EQ(fromNew.m_mirror, capOld.m_adjoin);
    EXPECT_EQ(fromOld.m_flags, 7u);
    // The two caps name the same world vertices.
    std::set<std::int32_t> a;
    std::set<std::int32_t> b;
    for (const CQzlVertex& corner : capOld.m_vertices)
        a.insert(corner.m_worldVertex);
    for (const CQzlVertex& corner : capNew.m_vertices)
        b.insert(corner.m_worldVertex);
    EXPECT_EQ(a, b);
}

TEST(SplitSector, PlaneThroughExistingCornersAddsNoVertex)
{
    // Through the vertical edges at (0, y, 0) and (1, y, 1): n = (1, 0, -1) / sqrt 2.
    const Points nodes{{0, 0, 0}, {0, 1, 0}, {1, 1, 1}};
    auto engine = SectorModeEngine(MakeBoxRoom(), 0);
    const CQzlSections& level = engine->m_level;
    ASSERT_TRUE(SplitWithUndo(*engine, nodes));
    EXPECT_TRUE(LevelIsSound(level));
    EXPECT_EQ(level.m_worldVertices.size(), 8u);
    ASSERT_EQ(level.m_sectors.size(), 2u);
    // Floor and ceiling are cut along their diagonals into triangles.
    for (const int face : {kBoxFloor, kBoxCeiling})
        EXPECT_EQ(Corners(level, face).size(), 3u) << face;
    const Points cap = Corners(level, SectorOf(level, 0).m_surfaces.back());
    ASSERT_EQ(cap.size(), 4u);
    for (const CVector3& p : Points{{0, 0, 0}, {0, 1, 0}, {1, 1, 1}, {1, 0, 1}})
        EXPECT_TRUE(Holds(cap, p));
}

TEST(SplitSector, AdjoinedWallCutsTheNeighboursTwin)
{
    CQzlSections level = MakeTwoJoinedRooms();
    const int wall = BoxSurface(level, 0, kBoxXHigh);
    const int twin = BoxSurface(level, 1, kBoxXLow);
    auto engine = SectorModeEngine(std::move(level), 0);
    const CQzlSections& after = engine->m_level;
    ASSERT_TRUE(SplitWithUndo(*engine, kMiddleUp));
    ASSERT_TRUE(LevelIsSound(after));
    ASSERT_EQ(after.m_sectors.size(), 3u);
    // The twin is cut at the same points: both keep their upper halves and their old pair.
    for (const int f : {wall, twin}) {
        const Points upper = Corners(after, f);
        ASSERT_EQ(upper.size(), 4u);
        for (const CVector3& p : upper)
            EXPECT_GE(p.y, 0.5f - 1e-5f);
    }
    EXPECT_EQ(SurfaceOf(after, wall).m_adjoin, 0);
    EXPECT_EQ(SurfaceOf(after, twin).m_adjoin, 1);
    // The twin's lower piece is in the neighbour and joined to the wall's lower piece in the
    // new sector.
    const std::int32_t twinPiece = SectorOf(after, 1).m_surfaces.back();
    const CQzlSurface& lower = SurfaceOf(after, twinPiece);
    ASSERT_GE(lower.m_adjoin, 0);
    const CQzlAdjoin& link = *after.m_adjoins[static_cast<std::size_t>(lower.m_adjoin)];
    EXPECT_EQ(link.m_otherSector, 2);
    const Points wallPiece = Corners(after, link.m_otherSurface);
    ASSERT_EQ(wallPiece.size(), 4u);
    for (const CVector3& p : wallPiece) {
        EXPECT_LE(p.y, 0.5f + 1e-5f);
        EXPECT_NEAR(p.x, 1.0f, 1e-5f);
    }
    const std::vector<std::int32_t>& newList = SectorOf(after, 2).m_surfaces;
    EXPECT_NE(std::find(newList.begin(), newList.end(), link.m_otherSurface), newList.end());
    for (const CVector3& p : Corners(after, twinPiece))
        EXPECT_LE(p.y, 0.5f + 1e-5f);
}

TEST(SplitSector, ThingsBelowThePlaneMoveToTheNewSector)
{
    CQzlSections level = MakeBoxRoom();
    const int below = AddCrate(level, 0, {0.5f, 0.25f, 0.5f});
    const int above = AddCrate(level, 0, {0.5f, 0.75f, 0.5f});
    auto engine = SectorModeEngine(std::move(level), 0);
    ASSERT_TRUE(SplitWithUndo(*engine, kMiddleUp));
    EXPECT_TRUE(LevelIsSound(engine->m_level));
    EXPECT_EQ(engine->m_level.m_things[static_cast<std::size_t>(below)]->m_sector, 1);
    EXPECT_EQ(engine->m_level.m_things[static_cast<std::size_t>(above)]->m_sector, 0);
}

TEST(SplitSector, CornersNearThePlaneAreNeverLost)
{
    // A 10-unit box cut by planes that pass a corner far from P0 at 0.00005 (on the plane) and
    // at about 0.0002 (off it): every corner of the box is still a corner of one of the halves.
    struct Case {
        const char* name;
        float offset;  // of the plane from the corner (10, 10, 10) along y
    };
    for (const Case c : {Case{"on the plane", 0.00005f}, Case{"just off the plane", 0.0003f},
                         Case{"just off the plane below", -0.0003f}}) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {10, 10, 10});
        FinishFixture(level);
        const Points before = SectorPoints(level, 0);
        // The plane rises from y = 1 at x = 0 to y = 10 + offset at x = 10 (n points up-left).
        const float y = 10.0f + c.offset;
        const Points nodes{{0, 1, 0}, {0, 1, 10}, {10, y, 10}};
        auto engine = SectorModeEngine(std::move(level), 0);
        ASSERT_TRUE(SplitWithUndo(*engine, nodes));
        EXPECT_TRUE(LevelIsSound(engine->m_level));
        Points halves = SectorPoints(engine->m_level, 0);
        const Points other = SectorPoints(engine->m_level, 1);
        halves.insert(halves.end(), other.begin(), other.end());
        for (const CVector3& p : before)
            EXPECT_TRUE(Holds(halves, p)) << p.x << " " << p.y << " " << p.z;
    }
}

TEST(SplitSector, RefusalsLeaveTheLevelAsItWas)
{
    // The mismatched pair: sector 1 is joined through a wall only half as high as the wall of
    // sector 0 it faces, so a cut at y = 0.25 crosses the wall but misses its twin.
    const Points lowCut{{0.2f, 0.25f, 0.2f}, {0.2f, 0.25f, 0.8f}, {0.8f, 0.25f, 0.8f}};

    struct Case {
        const char* name;
        bool mismatched;
        Points nodes;
        const char* message;  // null: refused silently
    };
    const Case cases[] = {
        {"three nodes on the floor",
         false,
         {{0.2f, 0, 0.2f}, {0.2f, 0, 0.8f}, {0.8f, 0, 0.8f}},
         "Cannot split sector. You must select 3 grid nodes not on the same surface."},
        {"three nodes on a line",
         false,
         {{0.2f, 0.5f, 0.2f}, {0.5f, 0.5f, 0.5f}, {0.8f, 0.5f, 0.8f}},
         "Cannot split sector. You must select 3 grid nodes not on a line."},
        {"a plane above the sector",
         false,
         {{0.2f, 2, 0.2f}, {0.2f, 2, 0.8f}, {0.8f, 2, 0.8f}},
         "Cannot split sector. You must select 3 grid nodes whose plane crosses the sector."},
        {"a plane touching one edge",
         false,
         {{2, 0, 0}, {1, 1, 0}, {1, 1, 1}},
         "Cannot split sector. You must select 3 grid nodes whose plane crosses the sector."},
        {"a twin the plane misses", true, lowCut,
         "Cannot split sector. The plane does not cut the twin of an adjoined surface."},
        {"two nodes only", false, {{0.2f, 0.5f, 0.2f}, {0.2f, 0.5f, 0.8f}}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeBoxRoom();
        if (c.mismatched) {
            level = MakeEmptyLevel();
            AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
            AddBoxSector(level, {1, 0.5f, 0}, {2, 1, 1});
            JoinSurfaces(level, BoxSurface(level, 0, kBoxXHigh), BoxSurface(level, 1, kBoxXLow));
            FinishFixture(level);
        }
        auto engine = SectorModeEngine(std::move(level), 0);
        C3dView& view = engine->m_view;
        const Bytes before = WriteLevelBytes(engine->m_level);
        const std::vector<std::int32_t> uses = engine->m_level.m_useCounts;
        view.m_selection.m_pickedNodes = c.nodes;
        EXPECT_FALSE(RunUndoable(view, [&view] { return SplitSector(view, true); }));
        EXPECT_EQ(WriteLevelBytes(engine->m_level), before);
        EXPECT_EQ(engine->m_level.m_useCounts, uses);
        EXPECT_TRUE(engine->m_level.m_undoList.empty());
        EXPECT_EQ(engine->m_host.Messages(),
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
        // Without messages the same refusal is silent.
        engine->m_host.Clear();
        EXPECT_FALSE(SplitSector(view, false));
        EXPECT_TRUE(engine->m_host.Messages().empty());
        EXPECT_EQ(engine->m_document.m_gridOn, 1);
    }
}

TEST(SplitSector, TheSplitCommandInSectorMode)
{
    struct EnableCase {
        const char* name;
        bool gridOn;
        bool sectorMode;
        std::int32_t sector;
        int nodes;
        bool enabled;
    };
    const EnableCase rules[] = {
        {"three nodes", true, true, 0, 3, true},         {"two nodes", true, true, 0, 2, false},
        {"four nodes", true, true, 0, 4, false},         {"grid off", false, true, 0, 3, false},
        {"no current sector", true, true, -1, 3, false},
    };
    for (const EnableCase& c : rules) {
        SCOPED_TRACE(c.name);
        auto engine = SectorModeEngine(MakeBoxRoom(), c.sector);
        engine->m_document.m_gridOn = c.gridOn ? 1 : 0;
        engine->m_document.m_sectorMode = c.sectorMode ? 1 : 0;
        engine->m_view.m_selection.m_pickedNodes.assign(static_cast<std::size_t>(c.nodes),
                                                        CVector3{});
        EXPECT_EQ(CanSplitSector(engine->m_view), c.gridOn && c.nodes == 3);
        EXPECT_EQ(CanRunSplitCommand(engine->m_view), c.enabled);
    }

    for (const bool answer : {true, false}) {
        SCOPED_TRACE(answer ? "Yes" : "No");
        auto engine = SectorModeEngine(MakeBoxRoom(), 0);
        engine->m_settings.m_warning = 1;
        engine->m_host.ScriptAnswers({answer});
        engine->m_view.m_selection.m_pickedNodes = kMiddleUp;
        const Bytes before = WriteLevelBytes(engine->m_level);
        EXPECT_EQ(RunSplitCommand(engine->m_view), answer);
        EXPECT_EQ(engine->m_host.Questions(),
                  std::vector<std::string>{"Do you want to split the current sector?"});
        EXPECT_EQ(engine->m_level.m_sectors.size(), answer ? 2u : 1u);
        EXPECT_EQ(engine->m_level.m_undoList.size(), answer ? 1u : 0u);
        if (answer) {
            ASSERT_TRUE(UndoCommand(engine->m_view));
            EXPECT_EQ(WriteLevelBytes(engine->m_level), before);
        }
    }
}

}  // namespace
