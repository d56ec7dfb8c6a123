// Split Surface on the fixture levels: the line through two grid nodes or between two marked
// corners, the pieces it leaves, the crossings it counts, the splits it refuses, and the twin of
// an adjoined surface split with it into two pairs. After every split the level oracle holds and
// undo gives back the stored bytes.

#include "edit/SplitCommand.h"
#include "edit/SplitSurface.h"
#include "engine/C3dView.h"
#include "engine/Undo.h"
#include "geometry/Predicates.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/PointLists.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using ECall = CRecordingEngineHost::ECall;

std::unique_ptr<CFixtureEngine> EngineOn(CQzlSections level, std::int32_t sector,
                                         std::int32_t surface, bool gridOn = true)
{
    auto engine = std::make_unique<CFixtureEngine>(std::move(level));
    engine->m_view.m_selection.m_sector = sector;
    engine->m_view.m_selection.m_surface = surface;
    engine->m_document.m_gridOn = gridOn ? 1 : 0;
    return engine;
}

void Mark(CQzlSections& level, std::int32_t surface, const std::vector<std::size_t>& corners)
{
    for (const std::size_t k : corners)
        level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices[k].m_marked = 1;
}

// A split as the editor's command runs it (inside an undo step, the sectors rebuilt), with the
// grid nodes picked, or the corners marked, first.
::testing::AssertionResult SplitWithUndo(CFixtureEngine& engine, const Points& nodes,
                                         const std::vector<std::size_t>& marks = {})
{
    C3dView& view = engine.m_view;
    return UndoGivesBackExactBytes(view, [&] {
        view.m_selection.m_pickedNodes = nodes;
        Mark(engine.m_level, view.m_selection.m_surface, marks);
        return SplitSurface(view, true);
    });
}

// A refused split: false, and the stored bytes, use counts and undo list as they were.
void ExpectRefused(CFixtureEngine& engine, const Points& nodes,
                   const std::vector<std::size_t>& marks = {})
{
    CQzlSections& level = engine.m_level;
    const Bytes before = WriteLevelBytes(level);
    const std::vector<std::int32_t> uses = level.m_useCounts;
    engine.m_view.m_selection.m_pickedNodes = nodes;
    if (engine.m_view.m_selection.m_surface >= 0)
        Mark(level, engine.m_view.m_selection.m_surface, marks);
    EXPECT_FALSE(RunUndoable(engine.m_view, [&] { return SplitSurface(engine.m_view, true); }));
    EXPECT_EQ(WriteLevelBytes(level), before);
    EXPECT_EQ(level.m_useCounts, uses);
    EXPECT_TRUE(level.m_undoList.empty());
    EXPECT_EQ(engine.m_view.m_split.m_polygon, 0);
    EXPECT_EQ(engine.m_view.m_split.m_twin, 0);
}

// The unit box's floor: corners (0,0,0), (1,0,0), (1,0,1), (0,0,1), normal up.
const Points kFloor{{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}};

struct LineCase {
    const char* name;
    Points nodes;
    Points kept;      // the surface's corners afterwards
    Points piece;     // the new last surface's corners
    int newVertices;  // world vertices added
};

TEST(SplitSurface, LinesThroughTheFloor)
{
    const LineCase cases[] = {
        // Two new corners; the surface keeps the corners from the second new one on, wrapping
        // round to the first, the new piece those from the first to the second.
        {"midpoints of two opposite edges",
         {{0.5f, 0, 0}, {0.5f, 0, 1}},
         {{0, 0, 0}, {0.5f, 0, 0}, {0.5f, 0, 1}, {0, 0, 1}},
         {{0.5f, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0.5f, 0, 1}},
         2},
        {"the same line the other way",
         {{0.5f, 0, 1}, {0.5f, 0, 0}},
         {{0, 0, 0}, {0.5f, 0, 0}, {0.5f, 0, 1}, {0, 0, 1}},
         {{0.5f, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0.5f, 0, 1}},
         2},
        // Both ends are corners; no corner is added.
        {"diagonal from corner 1 to corner 3",
         {{1, 0, 0}, {0, 0, 1}},
         {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}},
         {{1, 0, 0}, {1, 0, 1}, {0, 0, 1}},
         0},
        // The closing edge (corner 3 to corner 0) meets the line at its end, corner 0.
        {"diagonal through corner 0",
         {{0, 0, 0}, {1, 0, 1}},
         {{0, 0, 0}, {1, 0, 1}, {0, 0, 1}},
         {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}},
         0},
        // Nodes beyond the surface: the line counts, not the segment.
        {"nodes outside the surface",
         {{0.25f, 0, -2}, {0.25f, 0, 3}},
         {{0, 0, 0}, {0.25f, 0, 0}, {0.25f, 0, 1}, {0, 0, 1}},
         {{0.25f, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0.25f, 0, 1}},
         2},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeBoxRoom();
        const int floor = BoxSurface(level, 0, kBoxFloor);
        ASSERT_TRUE(SamePoints(Corners(level, floor), kFloor));
        auto engine = EngineOn(std::move(level), 0, floor);
        const CQzlSections& after = engine->m_level;
        const std::size_t surfaces = after.m_surfaces.size();
        const std::size_t vertices = after.m_worldVertices.size();
        const std::vector<std::int32_t> uses = after.m_useCounts;

        ASSERT_TRUE(SplitWithUndo(*engine, c.nodes));
        EXPECT_TRUE(LevelIsSound(after));
        ASSERT_EQ(after.m_surfaces.size(), surfaces + 1);
        const auto piece = static_cast<std::int32_t>(surfaces);
        EXPECT_TRUE(SamePoints(Corners(after, floor), c.kept));
        EXPECT_TRUE(SamePoints(Corners(after, piece), c.piece));
        EXPECT_EQ(after.m_sectors[0]->m_surfaces.back(), piece);
        EXPECT_EQ(after.m_worldVertices.size(), vertices + static_cast<std::size_t>(c.newVertices));
        if (c.newVertices == 0) {
            // The two corners at the cut serve both pieces.
            for (std::size_t w = 0; w < vertices; ++w) {
                const CVector3 p = WorldPosition(after, static_cast<int>(w));
                const bool atCut =
                    VectorLength(p - c.nodes[0]) < 1e-6f || VectorLength(p - c.nodes[1]) < 1e-6f;
                EXPECT_EQ(after.m_useCounts[w], uses[w] + (atCut ? 1 : 0)) << "world vertex " << w;
            }
        }
        // The piece copies the surface's fields; nothing stays marked, no vertex is current.
        const CQzlSurface& f = *after.m_surfaces[static_cast<std::size_t>(floor)];
        const CQzlSurface& g = *after.m_surfaces[static_cast<std::size_t>(piece)];
        EXPECT_EQ(g.m_material, f.m_material);
        EXPECT_EQ(g.m_geo, f.m_geo);
        EXPECT_EQ(g.m_adjoin, -1);
        for (const CQzlSurface* s : {&f, &g})
            for (const CQzlVertex& corner : s->m_vertices)
                EXPECT_EQ(corner.m_marked, 0);
        EXPECT_EQ(engine->m_view.m_selection.m_vertex, -1);
        EXPECT_EQ(engine->m_view.m_selection.m_surface, floor);
    }
}

TEST(SplitSurface, NewCornersRoundUAndVButNotTheIntensities)
{
    CQzlSections level = MakeBoxRoom();
    const int floor = BoxSurface(level, 0, kBoxFloor);
    std::vector<CQzlVertex>& corners =
        level.m_surfaces[static_cast<std::size_t>(floor)]->m_vertices;
    corners[0].m_u = 0.0f;
    corners[1].m_u = 0.3333f;
    corners[0].m_v = 2.0f;
    corners[1].m_v = 2.0021f;
    corners[0].m_intensity[2] = 0.1f;
    corners[1].m_intensity[2] = 0.1469f;
    auto engine = EngineOn(std::move(level), 0, floor);

    // The line crosses the edge from corner 0 to corner 1 in its middle.
    ASSERT_TRUE(SplitWithUndo(*engine, {{0.5f, 0, 0}, {0.5f, 0, 1}}));
    EXPECT_TRUE(LevelIsSound(engine->m_level));
    const CQzlVertex& x =
        engine->m_level.m_surfaces[static_cast<std::size_t>(floor)]->m_vertices[1];
    ASSERT_TRUE(SamePoints({WorldPosition(engine->m_level, x.m_worldVertex)}, {{0.5f, 0, 0}}));
    EXPECT_FLOAT_EQ(x.m_u, 0.167f);  // 0.16665
    EXPECT_FLOAT_EQ(x.m_v, 2.001f);  // 2.00105
    EXPECT_FLOAT_EQ(x.m_intensity[2], 0.1f + 0.5f * (0.1469f - 0.1f));
    EXPECT_FLOAT_EQ(x.m_intensity[0], 1.0f);
}

// A floor 100 long: the line passes just beyond corner 1 = (100, 0, 0) on the line of the edge
// from corner 0, at t = 1 + delta / 100 along it, then crosses the short edge x = 100 at
// z = delta and the far edge z = 1.
TEST(SplitSurface, ACrossingJustBeyondAnEdgeCountsUpToTOf1Point00001)
{
    struct Case {
        float delta;
        bool split;
    };
    for (const Case c : {Case{0.0005f, false}, Case{0.002f, true}}) {
        SCOPED_TRACE("t = 1 + " + std::to_string(c.delta / 100.0f));
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {100, 1, 1});
        FinishFixture(level);
        const int floor = BoxSurface(level, 0, kBoxFloor);
        ASSERT_TRUE(
            SamePoints(Corners(level, floor), {{0, 0, 0}, {100, 0, 0}, {100, 0, 1}, {0, 0, 1}}));
        auto engine = EngineOn(std::move(level), 0, floor);
        const Points nodes{{100 + c.delta, 0, 0}, {99 + c.delta, 0, 1}};
        if (!c.split) {
            // t = 1.000005 marks corner 1, next to the corner inserted at z = delta: a piece of
            // two corners, refused, and the corners inserted on the way are taken out again.
            ExpectRefused(*engine, nodes);
            continue;
        }
        // t = 1.00002 is no crossing: the cut runs from z = delta on x = 100 to the far edge.
        ASSERT_TRUE(SplitWithUndo(*engine, nodes));
        EXPECT_TRUE(LevelIsSound(engine->m_level));
        EXPECT_TRUE(SamePoints(
            Corners(engine->m_level, floor),
            {{0, 0, 0}, {100, 0, 0}, {100, 0, c.delta}, {99 + c.delta, 0, 1}, {0, 0, 1}}));
        EXPECT_TRUE(SamePoints(Corners(engine->m_level, 6),
                               {{100, 0, c.delta}, {100, 0, 1}, {99 + c.delta, 0, 1}}));
    }
}

// A floor 0.4 wide: the line crosses the edge from (0,0,0) to (0.4,0,0) 0.00005 from its start,
// at t = 0.000125 along it; that point is corner 0 (its world vertex is reused), which is then
// the split point: no second corner on the same world vertex, no edge of length 0.
TEST(SplitSurface, ACrossingWithinAWorldVertexOfACornerIsThatCorner)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {0.4f, 1, 1});
    FinishFixture(level);
    const int floor = BoxSurface(level, 0, kBoxFloor);
    auto engine = EngineOn(std::move(level), 0, floor);
    ASSERT_TRUE(SplitWithUndo(*engine, {{0.00005f, 0, 0}, {0.2f, 0, 1}}));
    EXPECT_TRUE(LevelIsSound(engine->m_level));
    EXPECT_TRUE(SamePoints(Corners(engine->m_level, floor), {{0, 0, 0}, {0.2f, 0, 1}, {0, 0, 1}}));
    EXPECT_TRUE(SamePoints(Corners(engine->m_level, 6),
                           {{0, 0, 0}, {0.4f, 0, 0}, {0.4f, 0, 1}, {0.2f, 0, 1}}));
}

struct RefusalCase {
    const char* name;
    bool gridOn;
    Points nodes;
    std::vector<std::size_t> marks;
};

TEST(SplitSurface, RefusalsLeaveTheLevelAsItWas)
{
    const RefusalCase cases[] = {
        {"along the edge z = 0, holding it", true, {{-1, 0, 0}, {2, 0, 0}}, {}},
        {"along the edge z = 0, inside it", true, {{0.25f, 0, 0}, {0.75f, 0, 0}}, {}},
        {"along the edge z = 0, inside it, the other way",
         true,
         {{0.75f, 0, 0}, {0.25f, 0, 0}},
         {}},
        {"touching corner (1,0,0) only", true, {{1, 0, 0}, {2, 0, 1}}, {}},
        {"missing the surface", true, {{2, 0, 0}, {2, 0, 1}}, {}},
        {"both nodes at one point", true, {{0.5f, 0, 0.5f}, {0.5f, 0, 0.5f}}, {}},
        {"one grid node", true, {{0.5f, 0, 0}}, {}},
        {"no grid node", true, {}, {}},
        {"grid off, one marked corner", false, {}, {1}},
        {"grid off, two neighbouring corners", false, {}, {1, 2}},
        {"grid off, nothing marked", false, {{0.5f, 0, 0}, {0.5f, 0, 1}}, {}},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeBoxRoom();
        const int floor = BoxSurface(level, 0, kBoxFloor);
        auto engine = EngineOn(std::move(level), 0, floor, c.gridOn);
        ExpectRefused(*engine, c.nodes, c.marks);
        for (const CQzlVertex& corner :
             engine->m_level.m_surfaces[static_cast<std::size_t>(floor)]->m_vertices)
            EXPECT_EQ(corner.m_marked, 0);
    }
    // No current surface, or one out of range.
    for (const std::int32_t surface : {-1, 6}) {
        auto engine = EngineOn(MakeBoxRoom(), 0, surface);
        ExpectRefused(*engine, {{0.5f, 0, 0}, {0.5f, 0, 1}});
    }
}

TEST(SplitSurface, ThreeNodesInSplitSectorModeTakeTheLineThroughTheFirstTwo)
{
    CQzlSections level = MakeBoxRoom();
    const int floor = BoxSurface(level, 0, kBoxFloor);
    auto engine = EngineOn(std::move(level), 0, floor);
    engine->m_document.m_sectorMode = 1;
    ASSERT_TRUE(SplitWithUndo(*engine, {{0.5f, 0, 0}, {0.5f, 0, 1}, {0.9f, 0, 0.5f}}));
    EXPECT_TRUE(LevelIsSound(engine->m_level));
    EXPECT_EQ(engine->m_level.m_surfaces.size(), 7u);
    EXPECT_TRUE(SamePoints(Corners(engine->m_level, floor),
                           {{0, 0, 0}, {0.5f, 0, 0}, {0.5f, 0, 1}, {0, 0, 1}}));
}

// The surface on the other side of an adjoin.
std::int32_t Owner(const CQzlSections& level, std::int32_t adjoin)
{
    for (std::size_t s = 0; s < level.m_surfaces.size(); ++s)
        if (level.m_surfaces[s]->m_adjoin == adjoin)
            return static_cast<std::int32_t>(s);
    return -1;
}

// Each piece's adjoin leads to a piece of the other side with the same outline.
void ExpectPairedPieces(const CQzlSections& level, const std::vector<std::int32_t>& pieces)
{
    for (const std::int32_t s : pieces) {
        const std::int32_t adjoin = level.m_surfaces[static_cast<std::size_t>(s)]->m_adjoin;
        ASSERT_GE(adjoin, 0) << "surface " << s;
        const std::int32_t twin =
            Owner(level, level.m_adjoins[static_cast<std::size_t>(adjoin)]->m_mirror);
        ASSERT_GE(twin, 0) << "surface " << s;
        EXPECT_TRUE(SameOutline(Corners(level, s), Corners(level, twin)))
            << "surface " << s << ": " << Text(Corners(level, s)) << "\ntwin " << twin << ": "
            << Text(Corners(level, twin));
    }
}

struct AdjoinedCase {
    const char* name;
    bool gridOn;
    Points nodes;
    std::vector<std::size_t> marks;
    bool twinKeepsItsPair;  // the twin's own piece lies over the surface's own piece
};

// Sector 0's wall x = 1, joined to sector 1's wall x = 1 (adjoins 0 and 1); its corners are
// (1,0,0), (1,1,0), (1,1,1), (1,0,1), the twin's the same the other way round.
TEST(SplitSurface, AnAdjoinedSplitGivesTwoPairs)
{
    const AdjoinedCase cases[] = {
        {"across, at y = 0.5", true, {{1, 0.5f, 0}, {1, 0.5f, 1}}, {}, true},
        {"upright, at z = 0.5", true, {{1, 0, 0.5f}, {1, 1, 0.5f}}, {}, false},
        // With the grid off the twin is split along the marked corners too.
        {"grid off, diagonal corners marked", false, {}, {0, 2}, true},
    };
    for (const AdjoinedCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeTwoJoinedRooms();
        const int wall = BoxSurface(level, 0, kBoxXHigh);
        const int twin = BoxSurface(level, 1, kBoxXLow);
        ASSERT_TRUE(SamePoints(Corners(level, wall), {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}));
        auto engine = EngineOn(std::move(level), 0, wall, c.gridOn);
        const CQzlSections& after = engine->m_level;
        bool rebuiltBoth = false;
        ASSERT_TRUE(UndoGivesBackExactBytes(engine->m_view, [&] {
            engine->m_view.m_selection.m_pickedNodes = c.nodes;
            Mark(engine->m_level, wall, c.marks);
            if (!SplitSurface(engine->m_view, true))
                return false;
            // Both sectors were rebuilt: every piece has its render vertices.
            rebuiltBoth = true;
            for (const std::int32_t s : {wall, twin, 12, 13})
                rebuiltBoth =
                    rebuiltBoth &&
                    after.m_surfaces[static_cast<std::size_t>(s)]->m_renderVertices.size() ==
                        after.m_surfaces[static_cast<std::size_t>(s)]->m_vertices.size();
            return true;
        }));
        EXPECT_TRUE(rebuiltBoth);
        EXPECT_TRUE(LevelIsSound(after));
        ASSERT_EQ(after.m_surfaces.size(), 14u);
        ASSERT_EQ(after.m_adjoins.size(), 4u);
        // The surface's piece in sector 0, the twin's in sector 1.
        EXPECT_EQ(after.m_sectors[0]->m_surfaces.back(), 12);
        EXPECT_EQ(after.m_sectors[1]->m_surfaces.back(), 13);
        ExpectPairedPieces(after, {wall, 12});
        EXPECT_EQ(after.m_surfaces[static_cast<std::size_t>(wall)]->m_adjoin, 0);
        EXPECT_EQ(after.m_surfaces[static_cast<std::size_t>(twin)]->m_adjoin,
                  c.twinKeepsItsPair ? 1 : 3);
        // The new pair keeps the default flags.
        EXPECT_EQ(after.m_adjoins[2]->m_flags, 7u);
        EXPECT_EQ(after.m_adjoins[3]->m_flags, 7u);
        // The current sector and surface are the first surface's again.
        EXPECT_EQ(engine->m_view.m_selection.m_sector, 0);
        EXPECT_EQ(engine->m_view.m_selection.m_surface, wall);
    }
}

// When the twin does not split into pieces lying over the surface's own, the split is refused:
// two pieces owning one adjoin would be left otherwise.
TEST(SplitSurface, ATwinThatDoesNotSplitAlongRefusesTheSplit)
{
    struct Case {
        const char* name;
        CVector3 lo, hi;  // sector 1, joined through its wall x = 1 to sector 0's
    };
    const Case cases[] = {
        {"a twin the line misses", {1, 0, 0}, {2, 1, 0.4f}},
        {"a twin whose pieces lie over neither piece", {1, 0, -2}, {2, 1, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
        AddBoxSector(level, c.lo, c.hi);
        JoinSurfaces(level, BoxSurface(level, 0, kBoxXHigh), BoxSurface(level, 1, kBoxXLow));
        FinishFixture(level);
        ASSERT_TRUE(LevelIsSound(level));
        const int wall = BoxSurface(level, 0, kBoxXHigh);
        auto engine = EngineOn(std::move(level), 0, wall);
        ExpectRefused(*engine, {{1, 0, 0.5f}, {1, 1, 0.5f}});
        EXPECT_TRUE(LevelIsSound(engine->m_level));
        EXPECT_EQ(engine->m_view.m_selection.m_sector, 0);
        EXPECT_EQ(engine->m_view.m_selection.m_surface, wall);
    }
}

struct EnableCase {
    const char* name;
    std::int32_t surface;
    bool gridOn;
    bool sectorMode;
    int nodes;
    std::vector<std::size_t> marks;
    bool enabled;
};

TEST(SplitSurface, CanSplitSurfaceAndTheSplitCommandsRule)
{
    const EnableCase cases[] = {
        {"grid on, two nodes", 0, true, false, 2, {}, true},
        {"grid on, three nodes", 0, true, false, 3, {}, true},
        {"grid on, one node", 0, true, false, 1, {}, false},
        {"grid on, split-sector mode", 0, true, true, 2, {}, false},
        {"grid off, opposite corners marked", 0, false, false, 0, {0, 2}, true},
        {"grid off, neighbouring corners marked", 0, false, false, 0, {1, 2}, false},
        {"grid off, one corner marked", 0, false, false, 0, {1}, false},
        {"grid off, three corners marked", 0, false, false, 0, {0, 1, 2}, false},
        {"no current surface", -1, true, false, 2, {}, false},
    };
    for (const EnableCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = EngineOn(MakeBoxRoom(), 0, c.surface, c.gridOn);
        engine->m_document.m_sectorMode = c.sectorMode ? 1 : 0;
        engine->m_view.m_selection.m_pickedNodes.assign(static_cast<std::size_t>(c.nodes),
                                                        CVector3{});
        if (c.surface >= 0)
            Mark(engine->m_level, c.surface, c.marks);
        EXPECT_EQ(CanSplitSurface(engine->m_view), c.enabled);
        EXPECT_EQ(CanRunSplitCommand(engine->m_view), c.enabled);
    }
}

TEST(SplitSurface, TheSplitCommandAsksThenSplitsInOneUndoStep)
{
    struct Case {
        const char* name;
        bool warning;
        bool answer;
        bool split;
    };
    const Case cases[] = {
        {"Yes", true, true, true},
        {"No", true, false, false},
        {"Warning off: no question", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeBoxRoom();
        const int floor = BoxSurface(level, 0, kBoxFloor);
        auto engine = EngineOn(std::move(level), 0, floor);
        engine->m_settings.m_warning = c.warning ? 1 : 0;
        engine->m_host.ScriptAnswers({c.answer});
        engine->m_view.m_selection.m_pickedNodes = {{0.5f, 0, 0}, {0.5f, 0, 1}};
        const Bytes before = WriteLevelBytes(engine->m_level);

        EXPECT_EQ(RunSplitCommand(engine->m_view), c.split);
        EXPECT_EQ(engine->m_host.Questions(),
                  c.warning ? std::vector<std::string>{"Do you want to split the current surface?"}
                            : std::vector<std::string>{});
        EXPECT_EQ(engine->m_level.m_surfaces.size(), c.split ? 7u : 6u);
        EXPECT_EQ(engine->m_level.m_undoList.size(), c.split ? 1u : 0u);
        EXPECT_TRUE(LevelIsSound(engine->m_level));
        if (c.split) {
            ASSERT_TRUE(UndoCommand(engine->m_view));
            EXPECT_EQ(WriteLevelBytes(engine->m_level), before);
        }
    }
    // Disabled: nothing is asked, nothing is done.
    auto engine = EngineOn(MakeBoxRoom(), 0, 0);
    engine->m_view.m_selection.m_pickedNodes = {{0.5f, 0, 0}};
    EXPECT_FALSE(RunSplitCommand(engine->m_view));
    EXPECT_EQ(engine->m_host.Count(ECall::AskYesNo), 0u);
}

}  // namespace
