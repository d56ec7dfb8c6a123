// Deleting the current vertex, surface, thing or sector, and the Delete command: what goes, what
// the selection becomes, which sectors are rebuilt; every delete undone and redone exactly, the
// level oracle after each.

#include "LinkDeleteSupport.h"

#include "edit/SelectionDelete.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "geometry/Predicates.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;
using Rules = std::set<EOracleRule>;

constexpr const char* kTooFewCorners =
    "Cannot delete Vertex.\n\nSurfaces must have at least 3 vertices.";
constexpr const char* kLastSector = "Cannot delete Sector.\n\nThere must be at least 1 sector.";

std::size_t CornerCount(const CQzlSections& level, int surface)
{
    return level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices.size();
}

// The number of visibility passes the host saw (each shows "Sector 0 processed...").
std::size_t VisibilityPasses(const CRecordingEngineHost& host)
{
    return static_cast<std::size_t>(
        std::count_if(host.m_calls.begin(), host.m_calls.end(), [](const auto& call) {
            return call.kind == ECall::SetStatusText && call.text == "Sector 0 processed...";
        }));
}

// Selects corner p of surface (in sector) as the current vertex.
void SelectCorner(C3dView& view, int sector, int surface, const CVector3& p)
{
    view.m_selection.m_sector = sector;
    view.m_selection.m_surface = surface;
    view.m_selection.m_vertexSurface = surface;
    view.m_selection.m_vertex = CornerAt(view.GetLevel(), surface, p);
}

// ---- Delete vertex ----

struct VertexCase {
    const char* name;
    CQzlSections (*make)();
    int sector;
    EBoxSide side;  // the surface of the vertex, by its place in the sector's list
    CVector3 corner;
    std::size_t vertices;  // world vertices afterwards
    // Surfaces (sector, side) with their corner counts afterwards.
    std::vector<std::pair<std::pair<int, EBoxSide>, std::size_t>> corners;
    Rules broken;  // what the oracle finds afterwards
};

TEST(DeleteSelectedVertex, EverySurfaceOnTheVertexLosesItsCorner)
{
    const VertexCase cases[] = {
        // On a straight edge the shape stays as it was.
        {"a corner on an edge shared by the floor and a wall",
         MakeBoxWithEdgeMidpoint,
         0,
         kBoxFloor,
         {0.5f, 0, 0},
         8,
         {{{0, kBoxFloor}, 4}, {{0, kBoxZLow}, 4}, {{0, kBoxXLow}, 4}},
         {}},
        // A real corner: the floor and both walls at it become triangles and leave a hole.
        {"a corner of the box",
         MakeBoxRoom,
         0,
         kBoxFloor,
         {0, 0, 0},
         7,
         {{{0, kBoxFloor}, 3}, {{0, kBoxXLow}, 3}, {{0, kBoxZLow}, 3}, {{0, kBoxXHigh}, 4}},
         {EOracleRule::Closed, EOracleRule::Checker}},
        // Shared by both rooms: the neighbour's floor, wall and portal lose it too, and the
        // neighbour is rebuilt.
        {"a corner the two rooms share",
         MakeTwoJoinedRooms,
         0,
         kBoxFloor,
         {1, 0, 0},
         11,
         {{{0, kBoxFloor}, 3},
          {{0, kBoxXHigh}, 3},
          {{1, kBoxFloor}, 3},
          {{1, kBoxXLow}, 3},
          {{1, kBoxZLow}, 3}},
         {EOracleRule::Closed, EOracleRule::Checker}},
    };
    for (const VertexCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine f(c.make());
        C3dView& view = f.m_view;
        const int surface = BoxSurface(f.m_level, c.sector, c.side);
        SelectCorner(view, c.sector, surface, c.corner);
        ASSERT_GE(view.m_selection.m_vertex, 0);

        EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] {
            if (!DeleteSelectedVertex(view))
                return false;
            // Right after the delete, before the undo check rebuilds everything.
            EXPECT_TRUE(RenderDataFollowsCorners(f.m_level));
            return true;
        }));
        EXPECT_EQ(f.m_level.m_worldVertices.size(), c.vertices);
        for (const auto& [where, count] : c.corners)
            EXPECT_EQ(CornerCount(f.m_level, BoxSurface(f.m_level, where.first, where.second)),
                      count)
                << "sector " << where.first << ", side " << where.second;
        EXPECT_EQ(BrokenRules(f.m_level), c.broken) << LevelIsSound(f.m_level).message();
        // The vertex goes, its surface stays recorded.
        EXPECT_EQ(view.m_selection.m_vertex, -1);
        EXPECT_EQ(view.m_selection.m_vertexSurface, surface);
        EXPECT_TRUE(f.m_host.Messages().empty());
    }
}

struct RefusalCase {
    const char* name;
    CQzlSections (*make)();
    CVector3 corner;  // a corner of surface 0
};

TEST(DeleteSelectedVertex, RefusesWhenASurfaceWouldKeepFewerThanThreeCorners)
{
    const RefusalCase cases[] = {
        {"the vertex's own surface is a triangle", MakeTetrahedron, {0, 0, 0}},
        // The square floor would keep three corners, but the triangles at its corner only two.
        {"a triangle shares the vertex of a square", MakePyramid, {1, 0, 0}},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine f(c.make());
        C3dView& view = f.m_view;
        RebuildAll(view, false);
        SelectCorner(view, 0, 0, c.corner);
        const int vertex = view.m_selection.m_vertex;
        ASSERT_GE(vertex, 0);
        const std::size_t vertices = f.m_level.m_worldVertices.size();
        f.m_host.Clear();

        EXPECT_FALSE(RunUndoable(view, [&] { return DeleteSelectedVertex(view); }));
        EXPECT_EQ(f.m_host.Messages(), std::vector<std::string>{kTooFewCorners});
        EXPECT_EQ(f.m_level.m_worldVertices.size(), vertices);
        EXPECT_EQ(view.m_selection.m_vertex, vertex);
        EXPECT_TRUE(f.m_level.m_undoList.empty());
        EXPECT_TRUE(LevelIsSound(f.m_level));
    }
}

TEST(DeleteSelectedVertex, StartVerticesStayOnTheirCorners)
{
    CFixtureEngine f(MakeBoxWithEdgeMidpoint());
    CQzlSections& level = f.m_level;
    const int floor = BoxSurface(level, 0, kBoxFloor);
    const int wall = BoxSurface(level, 0, kBoxZLow);
    const CVector3 middle{0.5f, 0, 0};
    // The wall, which shares the corner, starts behind it on its last corner; the floor on it.
    const int wallStart = 4;
    const int floorStart = CornerAt(level, floor, middle);
    ASSERT_GT(wallStart, CornerAt(level, wall, middle));
    level.m_surfaces[static_cast<std::size_t>(floor)]->m_startVertex = floorStart;
    level.m_surfaces[static_cast<std::size_t>(wall)]->m_startVertex = wallStart;
    const auto startPosition = [&level](int surface) {
        const CQzlSurface& s = *level.m_surfaces[static_cast<std::size_t>(surface)];
        return WorldPosition(level,
                             s.m_vertices[static_cast<std::size_t>(s.m_startVertex)].m_worldVertex);
    };
    const CVector3 wallCorner = startPosition(wall);

    SelectCorner(f.m_view, 0, floor, middle);
    ASSERT_TRUE(UndoGivesBackExactBytes(f.m_view, [&] { return DeleteSelectedVertex(f.m_view); }));
    ASSERT_EQ(level.m_surfaces[static_cast<std::size_t>(wall)]->m_startVertex, wallStart - 1);
    EXPECT_EQ(startPosition(wall), wallCorner);
    // The floor's start corner went: it starts on the corner that took its place (the first one
    // when it was the last).
    EXPECT_EQ(level.m_surfaces[static_cast<std::size_t>(floor)]->m_startVertex, floorStart % 4);
    EXPECT_TRUE(LevelIsSound(level));
}

// ---- Delete surface ----

TEST(DeleteSelectedSurface, APlainWallGoesAloneWithoutTheVisibilityPass)
{
    CFixtureEngine f(MakeTwoJoinedRooms());
    C3dView& view = f.m_view;
    const int wall = BoxSurface(f.m_level, 1, kBoxXHigh);
    view.m_selection.m_sector = 1;
    view.m_selection.m_surface = wall;

    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
        const std::uint64_t otherStamp = f.m_level.m_sectors[0]->m_renderVersion;
        f.m_host.Clear();
        if (!DeleteSelectedSurface(view))
            return false;
        EXPECT_EQ(VisibilityPasses(f.m_host), 0u);
        EXPECT_EQ(f.m_level.m_sectors[0]->m_renderVersion, otherStamp);  // only its own sector
        EXPECT_TRUE(RenderDataFollowsCorners(f.m_level));
        return true;
    }));
    EXPECT_EQ(f.m_level.m_surfaces.size(), 11u);
    EXPECT_EQ(f.m_level.m_adjoins.size(), 2u);
    EXPECT_EQ(f.m_level.m_worldVertices.size(), 12u);  // its corners are the walls' as well
    EXPECT_EQ(view.m_selection.m_surface, -1);
    EXPECT_EQ(view.m_selection.m_sector, 1);
    // The room is open there: its edges there join no other surface.
    EXPECT_EQ(BrokenRules(f.m_level), (Rules{EOracleRule::Closed, EOracleRule::Checker}));
}

TEST(DeleteSelectedSurface, AnAdjoinedWallLeavesItsTwinASolidWall)
{
    CFixtureEngine f(MakeTwoJoinedRooms());
    C3dView& view = f.m_view;
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = BoxSurface(f.m_level, 0, kBoxXHigh);
    view.m_selection.m_vertexSurface = view.m_selection.m_surface;

    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
        const std::uint64_t twinStamp = f.m_level.m_sectors[1]->m_renderVersion;
        f.m_host.Clear();
        if (!DeleteSelectedSurface(view))
            return false;
        EXPECT_EQ(VisibilityPasses(f.m_host), 1u);
        EXPECT_NE(f.m_level.m_sectors[1]->m_renderVersion, twinStamp);
        return true;
    }));
    EXPECT_TRUE(f.m_level.m_adjoins.empty());
    EXPECT_EQ(f.m_level.m_surfaces.size(), 11u);
    const int twin = SurfaceInPlane(f.m_level, 1, 0, 1.0f);
    ASSERT_GE(twin, 0);
    EXPECT_TRUE(HasSolidLook(*f.m_level.m_surfaces[static_cast<std::size_t>(twin)], 4));
    EXPECT_EQ(view.m_selection.m_surface, -1);
    EXPECT_EQ(view.m_selection.m_vertexSurface, -1);
    // Room 0 is open where the wall was; room 1 is whole.
    const std::vector<COracleProblem> problems = CheckLevelOracle(f.m_level);
    ASSERT_FALSE(problems.empty());
    for (const COracleProblem& problem : problems) {
        const bool closed = problem.rule == EOracleRule::Closed;
        EXPECT_TRUE(closed || problem.rule == EOracleRule::Checker) << problem.text;
        EXPECT_NE(problem.text.find(closed ? "sector 0" : "In Sector 0,"), std::string::npos)
            << problem.text;
    }
}

// A caller that names no current sector: the sector that listed the surface is rebuilt.
TEST(DeleteSelectedSurface, TheSectorOfTheSurfaceIsRebuilt)
{
    CFixtureEngine f(MakeTwoJoinedRooms());
    C3dView& view = f.m_view;
    view.m_selection.m_surface = BoxSurface(f.m_level, 1, kBoxCeiling);
    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
        const std::uint64_t stamp = f.m_level.m_sectors[1]->m_renderVersion;
        if (!DeleteSelectedSurface(view))
            return false;
        EXPECT_NE(f.m_level.m_sectors[1]->m_renderVersion, stamp);
        return true;
    }));
    EXPECT_EQ(f.m_level.m_sectors[1]->m_surfaces.size(), 5u);
}

// ---- Delete thing ----

TEST(DeleteSelectedThing, TheThingGoesWithItsModel)
{
    CQzlSections level = MakeLCorridor();
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    AddCrate(level, 1, {1.5f, 0.5f, 0.5f});
    AddCrate(level, 2, {1.5f, 0.5f, 1.5f});
    CFixtureEngine f(std::move(level));
    C3dView& view = f.m_view;
    view.m_selection.m_thing = 1;

    ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
        const std::size_t models = view.m_thingModels.size();
        f.m_host.Clear();
        if (!DeleteSelectedThing(view))
            return false;
        EXPECT_EQ(view.m_thingModels.size(), models - 1);
        for (const auto& thing : f.m_level.m_things)
            EXPECT_TRUE(std::any_of(view.m_thingModels.begin(), view.m_thingModels.end(),
                                    [&thing](const auto& m) { return m.get() == thing->m_model; }));
        EXPECT_EQ(f.m_host.Numbers(ECall::RequestFrame), std::vector<int>{1});
        EXPECT_EQ(f.m_host.Numbers(ECall::SetModifiedFlag), std::vector<int>{1});
        return true;
    }));
    ASSERT_EQ(f.m_level.m_things.size(), 2u);
    EXPECT_EQ(f.m_level.m_things[1]->m_sector, 2);
    EXPECT_EQ(view.m_selection.m_thing, -1);
    EXPECT_TRUE(LevelIsSound(f.m_level));
}

// ---- Delete sector ----

// The L corridor with a crate in every sector.
CQzlSections CorridorWithCrates()
{
    CQzlSections level = MakeLCorridor();
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    AddCrate(level, 1, {1.5f, 0.5f, 0.5f});
    AddCrate(level, 2, {1.5f, 0.5f, 1.5f});
    return level;
}

struct SectorCase {
    const char* name;
    CQzlSections (*make)();
    int sector;
    int thing;                      // current before
    int thingAfter;                 // current after
    std::vector<int> thingSectors;  // the sectors of the remaining things
    std::size_t surfaces, vertices, adjoins;
    std::vector<std::size_t> rebuilt;  // sectors (new indices) rebuilt: former twins and movers
};

TEST(DeleteSelectedSector, TheSectorGoesWithItsSurfacesAndThings)
{
    const SectorCase cases[] = {
        // Both neighbours lose their portals; the thing of sector 2 follows it to 1.
        {"the middle of the corridor", CorridorWithCrates, 1, 2, 1, {0, 1}, 12, 14, 0, {0, 1}},
        // The current thing stands in it and goes.
        {"its first sector", CorridorWithCrates, 0, 0, -1, {0, 1}, 12, 12, 2, {0, 1}},
        {"its last sector", CorridorWithCrates, 2, 0, 0, {0, 1}, 12, 12, 2, {1}},
        // Two sectors: one may go.
        {"one of two rooms", MakeTwoJoinedRooms, 1, -1, -1, {}, 6, 8, 0, {0}},
    };
    for (const SectorCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine f(c.make());
        C3dView& view = f.m_view;
        CQzlSections& level = f.m_level;
        view.m_selection.m_sector = c.sector;
        view.m_selection.m_thing = c.thing;
        f.m_document.m_gridOn = 1;
        f.m_document.m_editMode = 2;
        const std::size_t sectors = level.m_sectors.size();

        ASSERT_TRUE(UndoGivesBackExactBytes(view, [&] {
            std::vector<std::uint64_t> stamps;
            for (const auto& sector : level.m_sectors)
                stamps.push_back(sector->m_renderVersion);
            f.m_host.Clear();
            if (!DeleteSelectedSector(view))
                return false;
            std::vector<std::size_t> rebuilt;
            for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
                const std::size_t before = s < static_cast<std::size_t>(c.sector) ? s : s + 1;
                if (level.m_sectors[s]->m_renderVersion != stamps[before])
                    rebuilt.push_back(s);
            }
            EXPECT_EQ(rebuilt, c.rebuilt);
            EXPECT_EQ(view.m_thingModels.size(), level.m_things.size());
            EXPECT_EQ(VisibilityPasses(f.m_host), 1u);
            EXPECT_EQ(f.m_host.Count(ECall::BeginWaitCursor), 1u);
            EXPECT_EQ(f.m_host.Count(ECall::EndWaitCursor), 1u);
            return true;
        }));
        EXPECT_EQ(level.m_sectors.size(), sectors - 1);
        EXPECT_EQ(level.m_surfaces.size(), c.surfaces);
        EXPECT_EQ(level.m_worldVertices.size(), c.vertices);
        EXPECT_EQ(level.m_adjoins.size(), c.adjoins);
        std::vector<int> thingSectors;
        for (const auto& thing : level.m_things)
            thingSectors.push_back(thing->m_sector);
        EXPECT_EQ(thingSectors, c.thingSectors);
        for (std::size_t s = 0; s < level.m_sectors.size(); ++s)
            EXPECT_EQ(level.m_sectors[s]->m_number, static_cast<std::int32_t>(s));
        // No portal is left without its other side.
        for (const auto& surface : level.m_surfaces) {
            if (surface->m_adjoin < 0) {
                EXPECT_EQ(surface->m_geo, 4);
            }
        }
        EXPECT_EQ(view.m_selection.m_sector, -1);
        EXPECT_EQ(view.m_selection.m_surface, -1);
        EXPECT_EQ(view.m_selection.m_vertex, -1);
        EXPECT_EQ(view.m_selection.m_thing, c.thingAfter);
        EXPECT_EQ(f.m_document.m_gridOn, 0);
        EXPECT_EQ(f.m_document.m_editMode, 0);
        EXPECT_TRUE(LevelIsSound(level));
    }
}

TEST(DeleteSelectedSector, TheLastSectorStays)
{
    CFixtureEngine f(MakeBoxRoom());
    C3dView& view = f.m_view;
    view.m_selection.m_sector = 0;
    f.m_document.m_gridOn = 1;
    f.m_document.m_editMode = 1;
    RebuildAll(view, false);
    f.m_host.Clear();

    EXPECT_FALSE(RunUndoable(view, [&] { return DeleteSelectedSector(view); }));
    EXPECT_EQ(f.m_host.Messages(), std::vector<std::string>{kLastSector});
    EXPECT_EQ(f.m_level.m_sectors.size(), 1u);
    EXPECT_EQ(view.m_selection.m_sector, 0);
    EXPECT_EQ(f.m_document.m_gridOn, 1);
    EXPECT_EQ(f.m_document.m_editMode, 1);
    EXPECT_TRUE(f.m_level.m_undoList.empty());
}

// ---- The Delete command ----

TEST(DeleteCommand, EnabledWithASectorASurfaceOrAThing)
{
    struct Case {
        int sector, surface, thing, vertex;
        bool enabled;
    };
    const Case cases[] = {
        {-1, -1, -1, -1, false}, {0, -1, -1, -1, true},  {-1, 2, -1, -1, true},
        {-1, -1, 0, -1, true},   {-1, -1, -1, 1, false},
    };
    CQzlSections level = MakeBoxRoom();
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    CFixtureEngine f(std::move(level));
    for (const Case& c : cases) {
        f.m_view.m_selection.m_sector = c.sector;
        f.m_view.m_selection.m_surface = c.surface;
        f.m_view.m_selection.m_thing = c.thing;
        f.m_view.m_selection.m_vertex = c.vertex;
        EXPECT_EQ(CanDelete(f.m_view), c.enabled)
            << c.sector << " " << c.surface << " " << c.thing << " " << c.vertex;
    }
}

struct CommandCase {
    const char* name;
    int vertex;  // the current vertex: a corner of the floor, or -1
    int surface;
    int thing;
    const char* question;
    std::size_t corners, surfaces, things;  // of the level afterwards
};

TEST(DeleteCommand, AsksAndDeletesTheFirstOfVertexSurfaceThingAndSector)
{
    // The box with the middle corner on its floor edge and a crate; the floor is surface 0.
    const CommandCase cases[] = {
        {"vertex", 1, 0, 0, "Do you want to delete the current vertex?", 4, 6, 1},
        {"surface", -1, 3, 0, "Do you want to delete the current surface?", 5, 5, 1},
        {"thing", -1, -1, 0, "Do you want to delete the current object?", 5, 6, 0},
    };
    for (const CommandCase& c : cases) {
        for (const bool yes : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (yes ? ", Yes" : ", No"));
            CQzlSections level = MakeBoxWithEdgeMidpoint();
            AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
            CFixtureEngine f(std::move(level));
            C3dView& view = f.m_view;
            RebuildAll(view, false);
            view.m_selection.m_sector = 0;
            view.m_selection.m_surface = c.surface;
            view.m_selection.m_thing = c.thing;
            view.m_selection.m_vertexSurface = c.vertex >= 0 ? 0 : -1;
            view.m_selection.m_vertex = c.vertex >= 0 ? CornerAt(f.m_level, 0, {0.5f, 0, 0}) : -1;
            f.m_host.Clear();
            f.m_host.ScriptAnswers({yes});

            EXPECT_EQ(RunDeleteCommand(view), yes);
            EXPECT_EQ(f.m_host.Questions(), std::vector<std::string>{c.question});
            EXPECT_EQ(f.m_level.m_undoList.size(), yes ? 1u : 0u);
            EXPECT_EQ(CornerCount(f.m_level, 0), yes ? c.corners : 5u);
            EXPECT_EQ(f.m_level.m_surfaces.size(), yes ? c.surfaces : 6u);
            EXPECT_EQ(f.m_level.m_things.size(), yes ? c.things : 1u);
        }
    }
}

TEST(DeleteCommand, TheSectorLastAndWithoutAQuestionWhenWarningIsOff)
{
    CFixtureEngine f(MakeTwoJoinedRooms());
    C3dView& view = f.m_view;
    f.m_settings.m_warning = 0;
    view.m_selection.m_sector = 1;
    EXPECT_EQ(CurrentDeleteTarget(view), EDeleteTarget::Sector);
    EXPECT_TRUE(RunDeleteCommand(view));
    EXPECT_TRUE(f.m_host.Questions().empty());
    EXPECT_EQ(f.m_level.m_sectors.size(), 1u);
    EXPECT_EQ(f.m_level.m_undoList.size(), 1u);

    // The last sector: the refusal leaves no undo step.
    f.m_settings.m_warning = 1;
    view.m_selection.m_sector = 0;
    EXPECT_FALSE(RunDeleteCommand(view));
    EXPECT_EQ(f.m_host.Questions().back(), "Do you want to delete the current sector?");
    EXPECT_EQ(f.m_host.Messages(), std::vector<std::string>{kLastSector});
    EXPECT_EQ(f.m_level.m_undoList.size(), 1u);
}

// Cut deletes what its Copy took: the thing, even with a vertex current.
TEST(DeleteCommand, ATargetGivenByTheCallerIsDeletedWhateverElseIsCurrent)
{
    CQzlSections level = MakeBoxWithEdgeMidpoint();
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    CFixtureEngine f(std::move(level));
    C3dView& view = f.m_view;
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = 0;
    view.m_selection.m_thing = 0;
    view.m_selection.m_vertexSurface = 0;
    view.m_selection.m_vertex = 1;
    EXPECT_EQ(CurrentDeleteTarget(view), EDeleteTarget::Vertex);

    EXPECT_TRUE(RunDeleteCommand(view, EDeleteTarget::Thing));
    EXPECT_EQ(f.m_host.Questions(),
              std::vector<std::string>{"Do you want to delete the current object?"});
    EXPECT_TRUE(f.m_level.m_things.empty());
    EXPECT_EQ(CornerCount(f.m_level, 0), 5u);
    EXPECT_EQ(view.m_selection.m_vertex, 1);
}

}  // namespace
