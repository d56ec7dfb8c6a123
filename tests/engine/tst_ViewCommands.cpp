// The document's view, mode, grid and toggle commands on two joined rooms: each command's
// transitions and update rule, the grid and node size limits, the Sector Mode grid rule, the
// pane switches and view updates that reach the host, the camera-placed flag around forced
// frames, a document without an engine, and the Create menu's shared enable rules.

#include "engine/ViewCommands.h"

#include "engine/Camera.h"
#include "engine/RenderData.h"
#include "level/VertexUses.h"
#include "support/FixtureLevels.h"
#include "support/RecordingRenderDevice.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;

// The document's host: records the pane switches and view updates beside the other calls.
class CCommandHost : public CRecordingEngineHost {
public:
    void SwitchPropertyView(int id) override { m_panes.push_back(id); }
    void UpdateAllViews(long hint) override { m_updates.push_back(hint); }

    std::vector<int> m_panes;
    std::vector<long> m_updates;
};

// A device that notes the camera-placed flag at the start of each frame.
class CFlagDevice : public CRecordingRenderDevice {
public:
    void BeginFrame() override
    {
        m_cameraJumpSeen.push_back(m_view->m_camera.m_jump);
        CRecordingRenderDevice::BeginFrame();
    }

    const C3dView* m_view = nullptr;
    std::vector<int> m_cameraJumpSeen;
};

auto DocFields(const CDocumentState& d)
{
    return std::make_tuple(d.m_editMode, d.m_renderMode, d.m_gridOn, d.m_sectorMode, d.m_lightMode,
                           d.m_enlargeView, d.m_gridSurfaceOnly, d.m_gridEdgesOnly);
}

auto SettingFields(const CSettings& s)
{
    return std::make_tuple(s.m_grid, s.m_vertexScaling, s.m_collision, s.m_lock, s.m_adjoin,
                           s.m_threeDoDistance);
}

// Two joined rooms, built, drawn on a flag device at 100 x 100; sector 0 and its wall z = 0
// current.
class ViewCommandsTest : public ::testing::Test {
public:
    ViewCommandsTest() : m_engine(MakeTwoJoinedRooms())
    {
        C3dView& v = View();
        RebuildAll(v, false);
        m_device.m_view = &v;
        v.m_device = &m_device;
        v.m_skip = 0;
        v.m_viewport.m_renderWidth = 100;
        v.m_viewport.m_renderHeight = 100;
        SetUpViewAndProjection(v, 100, 100);
        v.m_selection.m_sector = 0;
        v.m_selection.m_surface = BoxSurface(m_engine.m_level, 0, kBoxZLow);
        m_engine.m_host.Clear();
    }

    C3dView& View() { return m_engine.m_view; }
    CDocumentState& Doc() { return m_engine.m_document; }
    CSettings& Settings() { return m_engine.m_settings; }

    bool Run(int id, bool withEngine = true)
    {
        const CViewCommand* command = FindViewCommand(id);
        EXPECT_NE(command, nullptr) << id;
        return command != nullptr &&
               command->run(Doc(), Settings(), withEngine ? &View() : nullptr, m_host);
    }

    CCommandState Update(int id, bool withEngine = true)
    {
        const CViewCommand* command = FindViewCommand(id);
        EXPECT_NE(command, nullptr) << id;
        return command != nullptr
                   ? command->update(Doc(), Settings(), withEngine ? &View() : nullptr)
                   : CCommandState{false, -2};
    }

    // Rebuilds of a sector (each asks the engine's own host for a frame) and forced frames.
    std::size_t Rebuilds() const { return m_engine.m_host.Count(ECall::RequestFrame); }
    // Times the document was marked modified.
    std::size_t Modified() const { return m_engine.m_host.Count(ECall::SetModifiedFlag); }
    std::size_t Frames() const { return m_device.m_cameraJumpSeen.size(); }

    // Makes every corner of surface the only user of its world vertex.
    void Unshare(int surface)
    {
        CQzlSections& level = m_engine.m_level;
        for (const CQzlVertex& corner :
             level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices)
            level.m_useCounts[static_cast<std::size_t>(corner.m_worldVertex)] = 1;
    }

    // A thing in sector 0, without a model.
    void AddThing()
    {
        auto thing = std::make_unique<CQzlThing>();
        thing->m_sector = 0;
        m_engine.m_level.m_things.push_back(std::move(thing));
    }

    // Declared first: the engine must go before the device it draws on.
    CFlagDevice m_device;
    CFixtureEngine m_engine;
    CCommandHost m_host;
};

// ---- Update rules ----

struct CUpdateCase {
    const char* name;
    int id;
    std::function<void(ViewCommandsTest&)> setUp;
    CCommandState expected;
};

TEST_F(ViewCommandsTest, UpdateRules)
{
    const auto none = [](ViewCommandsTest&) {};
    const auto noSector = [](ViewCommandsTest& t) {
        t.View().m_selection.m_sector = -1;
        t.View().m_selection.m_surface = -1;
    };
    const auto noSurface = [](ViewCommandsTest& t) { t.View().m_selection.m_surface = -1; };
    const auto gridOn = [](ViewCommandsTest& t) { t.Doc().m_gridOn = 1; };
    const std::vector<CUpdateCase> cases = {
        {"sector mode, sector current", Cmd::kSectorMode, none, {true, 0}},
        {"sector mode on",
         Cmd::kSectorMode,
         [](ViewCommandsTest& t) { t.Doc().m_sectorMode = 1; },
         {true, 1}},
        {"sector mode, no sector", Cmd::kSectorMode, noSector, {false, 0}},
        {"sector mode, sector out of range",
         Cmd::kSectorMode,
         [](ViewCommandsTest& t) { t.View().m_selection.m_sector = 7; },
         {false, 0}},
        {"light on", Cmd::kLight, none, {true, 1}},
        {"light off, nothing current",
         Cmd::kLight,
         [&](ViewCommandsTest& t) {
             noSector(t);
             t.Doc().m_lightMode = 0;
         },
         {true, 0}},
        {"surface mode, corners shared", Cmd::kSurfaceMode, none, {false, 0}},
        {"surface mode, corners not shared",
         Cmd::kSurfaceMode,
         [](ViewCommandsTest& t) { t.Unshare(t.View().m_selection.m_surface); },
         {true, 0}},
        {"surface mode checked",
         Cmd::kSurfaceMode,
         [](ViewCommandsTest& t) {
             t.Unshare(t.View().m_selection.m_surface);
             t.Doc().m_editMode = 2;
         },
         {true, 1}},
        {"surface mode, no surface", Cmd::kSurfaceMode, noSurface, {false, 0}},
        {"texturing", Cmd::kTexturing, none, {true, 0}},
        {"texturing checked",
         Cmd::kTexturing,
         [](ViewCommandsTest& t) { t.Doc().m_editMode = 4; },
         {true, 1}},
        {"texturing, no surface", Cmd::kTexturing, noSurface, {false, 0}},
        {"vertex, none current", Cmd::kVertexMode, none, {false, 0}},
        {"vertex, shared",
         Cmd::kVertexMode,
         [](ViewCommandsTest& t) {
             t.View().m_selection.m_vertexSurface = t.View().m_selection.m_surface;
             t.View().m_selection.m_vertex = 1;
         },
         {false, 0}},
        {"vertex, not shared",
         Cmd::kVertexMode,
         [](ViewCommandsTest& t) {
             t.Unshare(t.View().m_selection.m_surface);
             t.View().m_selection.m_vertexSurface = t.View().m_selection.m_surface;
             t.View().m_selection.m_vertex = 1;
             t.Doc().m_editMode = 6;
         },
         {true, 1}},
        {"vertex, corner out of range",
         Cmd::kVertexMode,
         [](ViewCommandsTest& t) {
             t.Unshare(t.View().m_selection.m_surface);
             t.View().m_selection.m_vertexSurface = t.View().m_selection.m_surface;
             t.View().m_selection.m_vertex = 4;
         },
         {false, 0}},
        {"object, no thing", Cmd::kObjectMode, none, {false, 0}},
        {"object, thing current",
         Cmd::kObjectMode,
         [](ViewCommandsTest& t) {
             t.AddThing();
             t.View().m_selection.m_thing = 0;
             t.Doc().m_editMode = 7;
         },
         {true, 1}},
        {"render mode 0 of mode 1", Cmd::kAllSectorsRendered, none, {true, 0}},
        {"render mode 1 of mode 1", Cmd::kSectorRenderedWireframes, none, {true, 1}},
        {"render mode 4 of mode 4",
         Cmd::kSectorWireframe,
         [](ViewCommandsTest& t) { t.Doc().m_renderMode = 4; },
         {true, 1}},
        {"grid, surface current", Cmd::kGridOn, none, {true, 0}},
        {"grid, sector only", Cmd::kGridOn, noSurface, {false, 0}},
        {"grid, sector only in sector mode",
         Cmd::kGridOn,
         [&](ViewCommandsTest& t) {
             noSurface(t);
             t.Doc().m_sectorMode = 1;
             t.Doc().m_gridOn = 1;
         },
         {true, 1}},
        {"grid, no sector", Cmd::kGridOn, noSector, {false, 0}},
        {"surface only, not in sector mode", Cmd::kGridSurfaceOnly, none, {false, 1}},
        {"surface only in sector mode",
         Cmd::kGridSurfaceOnly,
         [](ViewCommandsTest& t) { t.Doc().m_sectorMode = 1; },
         {true, 1}},
        {"edges only, grid off", Cmd::kGridEdgesOnly, none, {false, 0}},
        {"edges only, grid on", Cmd::kGridEdgesOnly, gridOn, {true, 0}},
        {"smaller, grid off", Cmd::kGridSmaller, none, {false, -1}},
        {"smaller at 0.1", Cmd::kGridSmaller, gridOn, {true, -1}},
        {"smaller at 0.02",
         Cmd::kGridSmaller,
         [&](ViewCommandsTest& t) {
             gridOn(t);
             t.Settings().m_grid = 0.02f;
         },
         {false, -1}},
        {"larger at 0.1", Cmd::kGridLarger, gridOn, {true, -1}},
        {"larger, grid off", Cmd::kGridLarger, none, {false, -1}},
        {"larger at 2.0",
         Cmd::kGridLarger,
         [&](ViewCommandsTest& t) {
             gridOn(t);
             t.Settings().m_grid = 2.0f;
         },
         {false, -1}},
        {"nodes larger at 0.01", Cmd::kNodesLarger, none, {true, -1}},
        {"nodes larger at 0.1",
         Cmd::kNodesLarger,
         [](ViewCommandsTest& t) { t.Settings().m_vertexScaling = 0.1f; },
         {false, -1}},
        {"nodes larger, no sector", Cmd::kNodesLarger, noSector, {false, -1}},
        {"nodes smaller at 0.01", Cmd::kNodesSmaller, none, {true, -1}},
        {"nodes smaller at 0.005",
         Cmd::kNodesSmaller,
         [](ViewCommandsTest& t) { t.Settings().m_vertexScaling = 0.005f; },
         {false, -1}},
        {"nodes smaller, no sector", Cmd::kNodesSmaller, noSector, {false, -1}},
        {"collision off", Cmd::kCollision, none, {true, 0}},
        {"collision 5",
         Cmd::kCollision,
         [](ViewCommandsTest& t) { t.Settings().m_collision = 5; },
         {true, 1}},
        {"lock on",
         Cmd::kLockSector,
         [](ViewCommandsTest& t) { t.Settings().m_lock = 1; },
         {true, 1}},
        {"adjoin 0", Cmd::kAdjoinRendering, none, {true, 0}},
        {"adjoin 1",
         Cmd::kAdjoinRendering,
         [](ViewCommandsTest& t) { t.Settings().m_adjoin = 1; },
         {false, 0}},
        {"adjoin 2",
         Cmd::kAdjoinRendering,
         [](ViewCommandsTest& t) { t.Settings().m_adjoin = 2; },
         {true, 1}},
        {"object rendering at 1.0", Cmd::kObjectRendering, none, {true, 1}},
        {"object rendering at 0",
         Cmd::kObjectRendering,
         [](ViewCommandsTest& t) { t.Settings().m_threeDoDistance = 0.0f; },
         {true, 0}},
        {"enlarge view on",
         Cmd::kEnlargeView,
         [](ViewCommandsTest& t) { t.Doc().m_enlargeView = 1; },
         {true, 1}},
    };
    for (const CUpdateCase& c : cases) {
        ViewCommandsTest& t = *this;
        const CDocumentState savedDoc = Doc();
        const CSettings savedSettings = Settings();
        View().m_selection.m_sector = 0;
        View().m_selection.m_surface = BoxSurface(m_engine.m_level, 0, kBoxZLow);
        View().m_selection.m_thing = -1;
        View().m_selection.m_vertex = -1;
        View().m_selection.m_vertexSurface = -1;
        CountVertexUses(m_engine.m_level);
        c.setUp(t);
        const CCommandState state = Update(c.id);
        EXPECT_EQ(state.enabled, c.expected.enabled) << c.name;
        EXPECT_EQ(state.check, c.expected.check) << c.name;
        Doc() = savedDoc;
        Settings() = savedSettings;
        m_engine.m_level.m_things.clear();
    }
}

// ---- Edit modes ----

TEST_F(ViewCommandsTest, ModeCommandsSwitchPaneAndUpdateViews)
{
    struct CCase {
        int id;
        int editMode;
        std::vector<int> panes;
        bool clearsVertex;
    };
    const std::vector<CCase> cases = {
        {Cmd::kSurfaceMode, 2, {PropertyView::kSurface}, false},
        {Cmd::kTexturing, 4, {}, true},
        {Cmd::kVertexMode, 6, {PropertyView::kVertex}, false},
        {Cmd::kObjectMode, 7, {PropertyView::kThings}, false},
    };
    const int surface = View().m_selection.m_surface;
    Unshare(surface);
    AddThing();
    for (const CCase& c : cases) {
        View().m_selection.m_thing = 0;
        View().m_selection.m_vertexSurface = surface;
        View().m_selection.m_vertex = 2;
        m_host = CCommandHost();
        ASSERT_TRUE(Run(c.id)) << c.id;
        EXPECT_EQ(Doc().m_editMode, c.editMode) << c.id;
        EXPECT_EQ(m_host.m_panes, c.panes) << c.id;
        EXPECT_EQ(m_host.m_updates, std::vector<long>{0}) << c.id;
        EXPECT_EQ(m_host.Count(ECall::BeginWaitCursor), 1u) << c.id;
        EXPECT_EQ(m_host.Count(ECall::EndWaitCursor), 1u) << c.id;
        EXPECT_EQ(View().m_selection.m_vertex, c.clearsVertex ? -1 : 2) << c.id;
        EXPECT_EQ(View().m_selection.m_vertexSurface, c.clearsVertex ? -1 : surface) << c.id;
        EXPECT_EQ(View().m_selection.m_surface, surface) << c.id;
    }
    // Set, not toggled: a second "Sur&face" keeps mode 2.
    ASSERT_TRUE(Run(Cmd::kSurfaceMode));
    ASSERT_TRUE(Run(Cmd::kSurfaceMode));
    EXPECT_EQ(Doc().m_editMode, 2);
}

TEST_F(ViewCommandsTest, DisabledModeCommandDoesNothing)
{
    // Every corner of a box wall is shared with the walls beside it.
    Doc().m_editMode = 4;
    EXPECT_FALSE(Run(Cmd::kSurfaceMode));
    EXPECT_EQ(Doc().m_editMode, 4);
    EXPECT_TRUE(m_host.m_panes.empty());
    EXPECT_TRUE(m_host.m_updates.empty());
    EXPECT_TRUE(m_host.m_calls.empty());
}

TEST_F(ViewCommandsTest, SectorModeSwitchesGridOffAndClearsSelection)
{
    struct CCase {
        float grid;
        float expected;
    };
    // Turned on, a grid below 0.1 is raised to 0.1; a larger one stays.
    for (const CCase c :
         {CCase{0.05f, 0.1f}, CCase{0.02f, 0.1f}, CCase{0.1f, 0.1f}, CCase{0.5f, 0.5f}}) {
        Doc() = CDocumentState();
        Doc().m_gridOn = 1;
        Doc().m_editMode = 6;
        Settings().m_grid = c.grid;
        View().m_selection.m_surface = 2;
        View().m_selection.m_vertexSurface = 2;
        View().m_selection.m_vertex = 0;
        m_host = CCommandHost();
        const std::size_t rebuilds = Rebuilds();
        ASSERT_TRUE(Run(Cmd::kSectorMode));
        EXPECT_EQ(Doc().m_sectorMode, 1);
        EXPECT_EQ(Doc().m_editMode, 1);
        EXPECT_EQ(Doc().m_gridOn, 0);
        EXPECT_EQ(Settings().m_grid, c.expected) << c.grid;
        EXPECT_EQ(View().m_selection.m_sector, 0);
        EXPECT_EQ(View().m_selection.m_surface, -1);
        EXPECT_EQ(View().m_selection.m_vertex, -1);
        EXPECT_EQ(View().m_selection.m_vertexSurface, -1);
        EXPECT_EQ(Rebuilds(), rebuilds + 1);
        EXPECT_EQ(m_host.m_updates, std::vector<long>{0});
    }
    // Turned off: edit mode 0, the grid size is left alone.
    Settings().m_grid = 0.04f;
    ASSERT_TRUE(Run(Cmd::kSectorMode));
    EXPECT_EQ(Doc().m_sectorMode, 0);
    EXPECT_EQ(Doc().m_editMode, 0);
    EXPECT_EQ(Settings().m_grid, 0.04f);
}

TEST_F(ViewCommandsTest, LightSetsEditModeOnlyWhenTurnedOn)
{
    Doc().m_lightMode = 0;
    Doc().m_editMode = 2;
    ASSERT_TRUE(Run(Cmd::kLight));
    EXPECT_EQ(Doc().m_lightMode, 1);
    EXPECT_EQ(Doc().m_editMode, 0);
    // Every sector recoloured, then one frame with the camera-placed flag set.
    EXPECT_EQ(m_engine.m_host.Count(ECall::RequestFrame), 1u);

    Doc().m_editMode = 7;
    ASSERT_TRUE(Run(Cmd::kLight));
    EXPECT_EQ(Doc().m_lightMode, 0);
    EXPECT_EQ(Doc().m_editMode, 7);
    EXPECT_TRUE(m_host.m_updates.empty());
}

TEST_F(ViewCommandsTest, RenderModeCommands)
{
    const int ids[] = {Cmd::kAllSectorsRendered, Cmd::kSectorRenderedWireframes,
                       Cmd::kAllSectorsWireframes, Cmd::kSectorRendered, Cmd::kSectorWireframe};
    for (int mode = 0; mode < 5; ++mode) {
        for (const int gridOn : {0, 1}) {
            Doc().m_gridOn = gridOn;
            Doc().m_editMode = 6;
            View().m_selection.m_surface = 3;
            m_host = CCommandHost();
            ASSERT_TRUE(Run(ids[mode]));
            EXPECT_EQ(Doc().m_renderMode, mode);
            // With the grid off the click selects nothing until a mode is chosen again.
            EXPECT_EQ(Doc().m_editMode, gridOn != 0 ? 6 : 0) << mode;
            EXPECT_EQ(View().m_selection.m_surface, gridOn != 0 ? 3 : -1) << mode;
            EXPECT_EQ(m_host.m_updates, std::vector<long>{0});
            for (int other = 0; other < 5; ++other)
                EXPECT_EQ(Update(ids[other]).check, other == mode ? 1 : 0);
        }
    }
}

// ---- Grid ----

TEST_F(ViewCommandsTest, GridOnAndOff)
{
    Doc().m_editMode = 6;
    View().m_selection.m_vertexSurface = View().m_selection.m_surface;
    View().m_selection.m_vertex = 1;
    ASSERT_TRUE(Run(Cmd::kGridOn));
    EXPECT_EQ(Doc().m_gridOn, 1);
    EXPECT_EQ(Doc().m_editMode, 6);
    EXPECT_EQ(m_host.m_panes, std::vector<int>{PropertyView::kVertex});
    EXPECT_EQ(View().m_selection.m_vertex, -1);
    EXPECT_EQ(View().m_selection.m_vertexSurface, -1);
    EXPECT_EQ(Rebuilds(), 1u);
    // The grid's nodes were placed on the current surface.
    EXPECT_FALSE(View().m_markers.empty());

    m_host = CCommandHost();
    ASSERT_TRUE(Run(Cmd::kGridOn));
    EXPECT_EQ(Doc().m_gridOn, 0);
    EXPECT_EQ(Doc().m_editMode, 0);
    EXPECT_TRUE(m_host.m_panes.empty());
    EXPECT_EQ(m_host.m_updates, std::vector<long>{0});
}

TEST_F(ViewCommandsTest, RebuildingCommandsLeaveTheDocumentUnmodified)
{
    // Each of these rebuilds the current sector to show it anew; none changes the level.
    Doc().m_gridOn = 1;
    Settings().m_grid = 0.1f;
    for (const int id :
         {Cmd::kGridSmaller, Cmd::kGridLarger, Cmd::kGridEdgesOnly, Cmd::kGridOn, Cmd::kGridOn,
          Cmd::kNodesLarger, Cmd::kNodesSmaller, Cmd::kAdjoinRendering, Cmd::kSectorMode,
          Cmd::kGridSurfaceOnly, Cmd::kSectorMode, Cmd::kAllSectorsRendered}) {
        ASSERT_TRUE(Run(id)) << id;
    }
    EXPECT_EQ(Rebuilds(), 11u);
    EXPECT_EQ(Modified(), 0u);

    // A rebuild that rounds a world vertex of the sector changes what the level stores.
    CQzlSections& level = m_engine.m_level;
    const int corner = level.m_surfaces[0]->m_vertices[0].m_worldVertex;
    level.m_worldVertices[static_cast<std::size_t>(corner)].x += 0.0000012f;
    ASSERT_TRUE(Run(Cmd::kNodesLarger));
    EXPECT_EQ(Modified(), 1u);
}

TEST_F(ViewCommandsTest, SurfaceOnlyAndEdgesOnlyExcludeEachOther)
{
    Doc().m_sectorMode = 1;
    Doc().m_gridOn = 1;
    Doc().m_gridSurfaceOnly = 1;
    ASSERT_TRUE(Run(Cmd::kGridEdgesOnly));
    EXPECT_EQ(Doc().m_gridEdgesOnly, 1);
    EXPECT_EQ(Doc().m_gridSurfaceOnly, 0);
    ASSERT_TRUE(Run(Cmd::kGridSurfaceOnly));
    EXPECT_EQ(Doc().m_gridSurfaceOnly, 1);
    EXPECT_EQ(Doc().m_gridEdgesOnly, 0);
    // Turned off, the other switch is left as it is.
    ASSERT_TRUE(Run(Cmd::kGridSurfaceOnly));
    EXPECT_EQ(Doc().m_gridSurfaceOnly, 0);
    EXPECT_EQ(Doc().m_gridEdgesOnly, 0);
    EXPECT_EQ(Rebuilds(), 3u);
    EXPECT_EQ(m_host.m_updates.size(), 3u);
}

TEST_F(ViewCommandsTest, GridSmallerStopsAtTheSmallestGrid)
{
    Doc().m_gridOn = 1;
    Settings().m_grid = 0.03f;
    ASSERT_TRUE(Update(Cmd::kGridSmaller).enabled);
    ASSERT_TRUE(Run(Cmd::kGridSmaller));
    EXPECT_EQ(Settings().m_grid, 0.02f);
    EXPECT_EQ(Rebuilds(), 1u);
    EXPECT_EQ(m_host.m_updates, std::vector<long>{0});
    EXPECT_FALSE(Update(Cmd::kGridSmaller).enabled);
    EXPECT_FALSE(Run(Cmd::kGridSmaller));
    EXPECT_EQ(Settings().m_grid, 0.02f);

    Settings().m_grid = 0.1f;
    ASSERT_TRUE(Run(Cmd::kGridSmaller));
    EXPECT_FLOAT_EQ(Settings().m_grid, 0.08f);
    // Sent with the grid off it does nothing.
    Doc().m_gridOn = 0;
    EXPECT_FALSE(Run(Cmd::kGridSmaller));
    EXPECT_FLOAT_EQ(Settings().m_grid, 0.08f);
}

TEST_F(ViewCommandsTest, GridLargerStopsAtTwo)
{
    Doc().m_gridOn = 1;
    Settings().m_grid = 1.99f;
    ASSERT_TRUE(Update(Cmd::kGridLarger).enabled);
    ASSERT_TRUE(Run(Cmd::kGridLarger));
    EXPECT_FLOAT_EQ(Settings().m_grid, 2.01f);
    EXPECT_EQ(Rebuilds(), 1u);
    EXPECT_EQ(m_host.m_updates, std::vector<long>{0});
    EXPECT_FALSE(Update(Cmd::kGridLarger).enabled);
    EXPECT_FALSE(Run(Cmd::kGridLarger));
    EXPECT_FLOAT_EQ(Settings().m_grid, 2.01f);
}

TEST_F(ViewCommandsTest, NodeSizeLimits)
{
    Settings().m_vertexScaling = 0.006f;
    ASSERT_TRUE(Run(Cmd::kNodesSmaller));
    EXPECT_NEAR(Settings().m_vertexScaling, 0.001f, 1e-6f);
    EXPECT_FALSE(Update(Cmd::kNodesSmaller).enabled);
    EXPECT_FALSE(Run(Cmd::kNodesSmaller));
    EXPECT_NEAR(Settings().m_vertexScaling, 0.001f, 1e-6f);

    Settings().m_vertexScaling = 0.095f;
    ASSERT_TRUE(Run(Cmd::kNodesLarger));
    EXPECT_NEAR(Settings().m_vertexScaling, 0.1f, 1e-6f);
    // Rebuilt, but the views are not told.
    EXPECT_EQ(Rebuilds(), 2u);
    EXPECT_TRUE(m_host.m_updates.empty());
}

// ---- Switches ----

TEST_F(ViewCommandsTest, CollisionAndLockExcludeEachOther)
{
    struct CCase {
        int id;
        int collision;
        int lock;
        int collisionAfter;
        int lockAfter;
    };
    const std::vector<CCase> cases = {
        {Cmd::kCollision, 0, 1, 1, 0},
        {Cmd::kCollision, 1, 0, 0, 0},
        {Cmd::kLockSector, 1, 0, 0, 1},
        {Cmd::kLockSector, 0, 1, 0, 0},
    };
    for (const CCase& c : cases) {
        Settings().m_collision = c.collision;
        Settings().m_lock = c.lock;
        const std::size_t frames = Frames();
        ASSERT_TRUE(Run(c.id));
        EXPECT_EQ(Settings().m_collision, c.collisionAfter) << c.id;
        EXPECT_EQ(Settings().m_lock, c.lockAfter) << c.id;
        EXPECT_EQ(Frames(), frames + 1) << c.id;
    }
}

TEST_F(ViewCommandsTest, AdjoinRenderingSwapsZeroAndTwo)
{
    struct CCase {
        int before;
        bool sectorCurrent;
        bool ran;
        int after;
        std::size_t rebuilds;
    };
    const std::vector<CCase> cases = {
        {0, true, true, 2, 1}, {2, true, true, 0, 1},  {1, true, false, 1, 0},
        {3, true, true, 3, 1}, {0, false, true, 2, 0},
    };
    for (const CCase& c : cases) {
        Settings().m_adjoin = c.before;
        View().m_selection.m_sector = c.sectorCurrent ? 0 : -1;
        m_host = CCommandHost();
        const std::size_t rebuilds = Rebuilds();
        EXPECT_EQ(Run(Cmd::kAdjoinRendering), c.ran) << c.before;
        EXPECT_EQ(Settings().m_adjoin, c.after) << c.before;
        EXPECT_EQ(Rebuilds() - rebuilds, c.rebuilds) << c.before;
        EXPECT_EQ(m_host.m_updates.size(), c.rebuilds) << c.before;
    }
}

TEST_F(ViewCommandsTest, ObjectRenderingTakesTheHorizonDistance)
{
    Settings().m_horizonDistance = 37.5f;
    Settings().m_threeDoDistance = 0.0f;
    ASSERT_TRUE(Run(Cmd::kObjectRendering));
    EXPECT_EQ(Settings().m_threeDoDistance, 37.5f);
    ASSERT_TRUE(Run(Cmd::kObjectRendering));
    EXPECT_EQ(Settings().m_threeDoDistance, 0.0f);
    Settings().m_horizonDistance = 12.0f;
    ASSERT_TRUE(Run(Cmd::kObjectRendering));
    EXPECT_EQ(Settings().m_threeDoDistance, 12.0f);
    EXPECT_EQ(Frames(), 3u);
}

TEST_F(ViewCommandsTest, EnlargeViewNarrowsTheProjection)
{
    const float wide = View().m_camera.m_projectionMatrix.m[1][1];
    ASSERT_TRUE(Run(Cmd::kEnlargeView));
    EXPECT_EQ(Doc().m_enlargeView, 1);
    // cot(pi/16) against cot(pi/6): the view is nearly three times as narrow.
    EXPECT_NEAR(View().m_camera.m_projectionMatrix.m[1][1] / wide, 2.9025f, 1e-3f);
    ASSERT_TRUE(Run(Cmd::kEnlargeView));
    EXPECT_EQ(Doc().m_enlargeView, 0);
    EXPECT_FLOAT_EQ(View().m_camera.m_projectionMatrix.m[1][1], wide);
    EXPECT_EQ(Frames(), 2u);
}

TEST_F(ViewCommandsTest, ForcedFramesCarryTheCameraPlacedFlag)
{
    for (const int id :
         {Cmd::kCollision, Cmd::kLockSector, Cmd::kObjectRendering, Cmd::kEnlargeView}) {
        m_device.m_cameraJumpSeen.clear();
        ASSERT_TRUE(Run(id));
        EXPECT_EQ(m_device.m_cameraJumpSeen, std::vector<int>{1}) << id;
        EXPECT_EQ(View().m_camera.m_jump, 0) << id;
    }
}

TEST_F(ViewCommandsTest, WaitCursorCallsComeInPairs)
{
    Doc().m_gridOn = 1;
    for (const CViewCommand& command : ViewCommandTable()) {
        m_host = CCommandHost();
        command.run(Doc(), Settings(), &View(), m_host);
        EXPECT_EQ(m_host.Count(ECall::BeginWaitCursor), m_host.Count(ECall::EndWaitCursor))
            << command.id;
        View().m_selection.m_sector = 0;
        View().m_selection.m_surface = BoxSurface(m_engine.m_level, 0, kBoxZLow);
    }
}

// ---- A document without an engine ----

TEST_F(ViewCommandsTest, WithoutAnEngine)
{
    // Commands on the 3D view or the selection are disabled and do nothing, even with the switches
    // that would enable them set.
    Doc().m_gridOn = 1;
    Doc().m_sectorMode = 1;
    Settings().m_grid = 0.5f;
    for (const int id :
         {Cmd::kSectorMode, Cmd::kSurfaceMode, Cmd::kTexturing, Cmd::kVertexMode, Cmd::kObjectMode,
          Cmd::kGridOn, Cmd::kGridSurfaceOnly, Cmd::kGridEdgesOnly, Cmd::kGridSmaller,
          Cmd::kGridLarger, Cmd::kNodesLarger, Cmd::kNodesSmaller, Cmd::kEnlargeView}) {
        m_host = CCommandHost();
        const auto doc = DocFields(Doc());
        const auto settings = SettingFields(Settings());
        EXPECT_FALSE(Update(id, false).enabled) << id;
        EXPECT_FALSE(Run(id, false)) << id;
        EXPECT_EQ(DocFields(Doc()), doc) << id;
        EXPECT_EQ(SettingFields(Settings()), settings) << id;
        EXPECT_TRUE(m_host.m_calls.empty()) << id;
        EXPECT_TRUE(m_host.m_panes.empty()) << id;
        EXPECT_TRUE(m_host.m_updates.empty()) << id;
    }

    // The switches that are plain settings still work; nothing is drawn.
    Settings().m_collision = 0;
    Settings().m_lock = 1;
    Settings().m_adjoin = 0;
    Settings().m_threeDoDistance = 0.0f;
    Doc().m_lightMode = 0;
    Doc().m_gridOn = 0;
    Doc().m_editMode = 2;
    for (const int id : {Cmd::kCollision, Cmd::kAdjoinRendering, Cmd::kObjectRendering, Cmd::kLight,
                         Cmd::kAllSectorsWireframes})
        EXPECT_TRUE(Update(id, false).enabled) << id;
    m_host = CCommandHost();
    EXPECT_TRUE(Run(Cmd::kCollision, false));
    EXPECT_TRUE(Run(Cmd::kAdjoinRendering, false));
    EXPECT_TRUE(Run(Cmd::kObjectRendering, false));
    EXPECT_TRUE(Run(Cmd::kLight, false));
    EXPECT_TRUE(Run(Cmd::kAllSectorsWireframes, false));
    EXPECT_EQ(Settings().m_collision, 1);
    EXPECT_EQ(Settings().m_lock, 0);
    EXPECT_EQ(Settings().m_adjoin, 2);
    EXPECT_EQ(Settings().m_threeDoDistance, Settings().m_horizonDistance);
    EXPECT_EQ(Doc().m_lightMode, 1);
    EXPECT_EQ(Doc().m_renderMode, 2);
    EXPECT_EQ(Doc().m_editMode, 0);
    EXPECT_EQ(m_host.m_updates, std::vector<long>{0});
    EXPECT_EQ(Frames(), 0u);
    EXPECT_EQ(Rebuilds(), 0u);
    EXPECT_EQ(m_engine.m_host.Count(ECall::RequestFrame), 0u);
}

TEST(ViewCommandTable, EveryIdOnce)
{
    const auto table = ViewCommandTable();
    EXPECT_EQ(table.size(), 23u);
    for (const CViewCommand& command : table) {
        EXPECT_EQ(FindViewCommand(command.id), &command);
        EXPECT_NE(command.run, nullptr);
        EXPECT_NE(command.update, nullptr);
    }
    EXPECT_EQ(FindViewCommand(57643), nullptr);
}

// ---- Shared enable rules ----

TEST_F(ViewCommandsTest, SharedEnableRules)
{
    struct CCase {
        std::size_t nodes;
        EBoxSide side;  // of sector 0; kBoxXHigh is joined to sector 1
        bool surfaceCurrent;
        bool twoNode;
        bool adjoined;
        bool plain;
    };
    const std::vector<CCase> cases = {
        {2, kBoxZLow, true, true, false, true},  {2, kBoxXHigh, true, true, true, false},
        {1, kBoxZLow, true, false, false, true}, {3, kBoxXHigh, true, false, true, false},
        {0, kBoxZLow, true, false, false, true}, {2, kBoxZLow, false, false, false, false},
    };
    for (const CCase& c : cases) {
        View().m_selection.m_pickedNodes.assign(c.nodes, CVector3{});
        View().m_selection.m_surface =
            c.surfaceCurrent ? BoxSurface(m_engine.m_level, 0, c.side) : -1;
        EXPECT_EQ(TwoNodeSurfaceRule(&View()), c.twoNode) << c.nodes << " " << c.side;
        EXPECT_EQ(AdjoinedSurfaceRule(&View()), c.adjoined) << c.nodes << " " << c.side;
        EXPECT_EQ(PlainSurfaceRule(&View()), c.plain) << c.nodes << " " << c.side;
    }
    View().m_selection.m_surface = 999;
    View().m_selection.m_pickedNodes.assign(2, CVector3{});
    EXPECT_FALSE(TwoNodeSurfaceRule(&View()));
    EXPECT_FALSE(PlainSurfaceRule(&View()));
    EXPECT_FALSE(TwoNodeSurfaceRule(nullptr));
    EXPECT_FALSE(AdjoinedSurfaceRule(nullptr));
    EXPECT_FALSE(PlainSurfaceRule(nullptr));
}

}  // namespace
