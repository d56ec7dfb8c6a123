// Show of the Errors window: each kind of report line puts the selection and the camera where it
// says, changes nothing stored (no undo step, not modified), and a line naming an element the
// level no longer has changes nothing at all.

#include "engine/Camera.h"
#include "engine/RenderData.h"
#include "episode/ErrorShow.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;

void ExpectNear(const CVector3& got, const CVector3& want, const std::string& what)
{
    EXPECT_NEAR(got.x, want.x, 1e-5f) << what;
    EXPECT_NEAR(got.y, want.y, 1e-5f) << what;
    EXPECT_NEAR(got.z, want.z, 1e-5f) << what;
}

// The two joined rooms with a crate in sector 0, built as the editor shows them; sector 1's wall
// z = 0 is the surface the lines name.
class ErrorShowTest : public ::testing::Test {
protected:
    ErrorShowTest() : m_engine(MakeLevel())
    {
        RebuildAll(m_engine.m_view, false, ERebuildAll::Restore);
        m_wall = BoxSurface(m_engine.m_level, 1, kBoxZLow);
        m_engine.m_host.Clear();
    }

    static CQzlSections MakeLevel()
    {
        CQzlSections level = MakeTwoJoinedRooms();
        AddCrate(level, 0, {0.25f, 0.5f, 0.75f});
        FinishFixture(level);
        return level;
    }

    CVector3 Corner(int surface, int corner) const
    {
        const CQzlSections& level = m_engine.m_level;
        const int w = level.m_surfaces[static_cast<std::size_t>(surface)]
                          ->m_vertices[static_cast<std::size_t>(corner)]
                          .m_worldVertex;
        const CWorldVertex& v = level.m_worldVertices[static_cast<std::size_t>(w)];
        return {v.x, v.y, v.z};
    }

    CFixtureEngine m_engine;
    int m_wall = -1;
};

TEST_F(ErrorShowTest, EachKindOfLinePlacesSelectionAndCamera)
{
    C3dView& view = m_engine.m_view;
    const CSelection none;
    struct CCase {
        const char* name;
        CErrorEntry entry;
        EErrorShow kind;
        struct {
            int sector, surface, thing, vertex, vertexSurface;
        } selection;
        CVector3 position;
        CVector3 forward;
    };
    const CVector3 wallCorner = Corner(m_wall, 2);
    const CCase cases[] = {
        {"sector",
         {1, -1, -1, -1},
         EErrorShow::Sector,
         {1, -1, -1, -1, -1},
         {1.5f, 0.5f, 0.5f},
         {0, 0, 1}},
        {"surface",
         {1, m_wall, -1, -1},
         EErrorShow::Surface,
         {1, m_wall, -1, -1, -1},
         {1.5f, 0.5f, 0.5f},
         {0, 0, -1}},
        {"vertex",
         {1, m_wall, 2, -1},
         EErrorShow::Vertex,
         {1, m_wall, -1, 2, m_wall},
         wallCorner + CVector3(0, 0, 0.5f),
         {0, 0, -1}},
        {"thing in a sector",
         {0, -1, -1, 0},
         EErrorShow::SectorThing,
         {0, -1, 0, -1, -1},
         {0.25f, 0.5f, 0.25f},
         {0, 0, 1}},
        // The current sector stays as it was (1 here).
        {"thing",
         {-1, -1, -1, 0},
         EErrorShow::Thing,
         {1, -1, 0, -1, -1},
         {0.25f, 0.5f, 0.25f},
         {0, 0, 1}},
    };
    const std::vector<std::uint8_t> stored = SnapshotBytes(m_engine.m_level);
    for (const CCase& c : cases) {
        view.m_selection = none;
        view.m_selection.m_sector = 1;
        m_engine.m_host.Clear();
        EXPECT_EQ(ShowErrorEntry(view, c.entry), c.kind) << c.name;
        const CSelection& got = view.m_selection;
        EXPECT_EQ(got.m_sector, c.selection.sector) << c.name;
        EXPECT_EQ(got.m_surface, c.selection.surface) << c.name;
        EXPECT_EQ(got.m_thing, c.selection.thing) << c.name;
        EXPECT_EQ(got.m_vertex, c.selection.vertex) << c.name;
        EXPECT_EQ(got.m_vertexSurface, c.selection.vertexSurface) << c.name;
        ExpectNear(GetCameraPosition(view), c.position, c.name);
        CVector3 forward;
        CVector3 up;
        GetCameraAxes(view, forward, up);
        ExpectNear(forward, c.forward, c.name);
        ExpectNear(up, {0, 1, 0}, c.name);
        // Drawn and shown at once, with nothing stored changed.
        EXPECT_EQ(m_engine.m_host.Count(ECall::UpdateAllViews), 1U) << c.name;
        EXPECT_EQ(m_engine.m_host.Count(ECall::SetModifiedFlag), 0U) << c.name;
        EXPECT_EQ(view.m_camera.m_jump, 0) << c.name;
        EXPECT_EQ(SnapshotBytes(m_engine.m_level), stored) << c.name;
        EXPECT_TRUE(m_engine.m_level.m_undoList.empty()) << c.name;
    }
    // The vertex line marked its corner for display.
    view.m_selection = none;
    ShowErrorEntry(view, {1, m_wall, 2, -1});
    EXPECT_EQ(m_engine.m_level.m_surfaces[static_cast<std::size_t>(m_wall)]->m_vertices[2].m_marked,
              1);
}

// A mark left from one vertex line would make the next vertex move take that corner along: the
// next line drops it, as a pick does.
TEST_F(ErrorShowTest, NextLineDropsTheMarkOfTheVertexShownBefore)
{
    C3dView& view = m_engine.m_view;
    const int floor = BoxSurface(m_engine.m_level, 0, kBoxFloor);
    ShowErrorEntry(view, {1, m_wall, 2, -1});
    ShowErrorEntry(view, {0, floor, 1, -1});
    const auto marks = [&](int surface) {
        int count = 0;
        for (const CQzlVertex& corner :
             m_engine.m_level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices)
            count += corner.m_marked;
        return count;
    };
    EXPECT_EQ(marks(m_wall), 0);
    EXPECT_EQ(marks(floor), 1);
    ShowErrorEntry(view, {0, -1, -1, -1});
    EXPECT_EQ(marks(floor), 0);
}

// Lines that name nothing (material and cog lines, other combinations) and lines naming what the
// level no longer has, after an edit: selection, camera and level stay exactly as they were.
TEST_F(ErrorShowTest, LinesNamingNothingOrWhatIsGoneChangeNothing)
{
    C3dView& view = m_engine.m_view;
    // A corner that names no world vertex.
    m_engine.m_level.m_surfaces[static_cast<std::size_t>(m_wall)]->m_vertices[3].m_worldVertex =
        9999;
    const int surfaces = static_cast<int>(m_engine.m_level.m_surfaces.size());
    const struct {
        const char* name;
        CErrorEntry entry;
    } cases[] = {
        {"material or cog line", {-1, -1, -1, -1}},
        {"vertex without surface", {0, -1, 2, -1}},
        {"thing with a surface", {0, m_wall, -1, 0}},
        {"surface without sector", {-1, m_wall, -1, -1}},
        {"negative entries", {-2, -1, -1, -1}},
        {"sector gone", {2, -1, -1, -1}},
        {"surface gone", {1, surfaces, -1, -1}},
        {"surface's sector gone", {5, m_wall, -1, -1}},
        {"corner gone", {1, m_wall, 4, -1}},
        {"corner without world vertex", {1, m_wall, 3, -1}},
        {"thing gone", {-1, -1, -1, 1}},
        {"thing's sector gone", {7, -1, -1, 0}},
    };
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = BoxSurface(m_engine.m_level, 0, kBoxFloor);
    view.m_selection.m_vertex = 1;
    view.m_selection.m_vertexSurface = view.m_selection.m_surface;
    m_engine.m_level.m_surfaces[static_cast<std::size_t>(view.m_selection.m_surface)]
        ->m_vertices[1]
        .m_marked = 1;
    const CSelection before = view.m_selection;
    const CVector3 position = GetCameraPosition(view);
    const std::vector<std::uint8_t> stored = SnapshotBytes(m_engine.m_level);
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceErrorEntry(view, c.entry), EErrorShow::None) << c.name;
        EXPECT_EQ(view.m_selection.m_sector, before.m_sector) << c.name;
        EXPECT_EQ(view.m_selection.m_surface, before.m_surface) << c.name;
        EXPECT_EQ(view.m_selection.m_thing, before.m_thing) << c.name;
        EXPECT_EQ(view.m_selection.m_vertex, before.m_vertex) << c.name;
        EXPECT_EQ(view.m_selection.m_vertexSurface, before.m_vertexSurface) << c.name;
        ExpectNear(GetCameraPosition(view), position, c.name);
        EXPECT_EQ(SnapshotBytes(m_engine.m_level), stored) << c.name;
        EXPECT_EQ(m_engine.m_level.m_surfaces[static_cast<std::size_t>(before.m_surface)]
                      ->m_vertices[1]
                      .m_marked,
                  1)
            << c.name;
    }
}

}  // namespace
