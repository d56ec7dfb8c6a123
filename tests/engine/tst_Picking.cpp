// Mouse input of the 3D view: what a click picks (corners, grid nodes, surfaces, things) and which
// pane and update hint follow, the "Lock" rule, the last two picked points, the left drags of each
// edit mode with their steps, the right drag, the drag anchors of each engine, the pans and the
// camera reset, and views without a size.

#include "engine/Picking.h"

#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/PointMarkers.h"
#include "engine/RenderData.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;

// The settings' default colours as the markers carry them, 0xFFRRGGBB.
constexpr std::uint32_t kGrid = 0xFFFF8000u;    // "ColorGrid" 0x0080FF
constexpr std::uint32_t kSelect = 0xFFFF0000u;  // "ColorSelect" 0x0000FF

void ExpectNear(const CVector3& actual, const CVector3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// Places the camera at position looking along +z with +y up.
void PlaceCamera(C3dView& v, const CVector3& position)
{
    SetCameraAxes(v, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f);
    v.m_camera.m_forwardAxis = {0, 0, 1};
    v.m_camera.m_upAxis = {0, 1, 0};
    SetCameraPosition(v, position.x, position.y, position.z);
}

// An engine over a fixture level with a 100 x 100 view and render target, the camera in sector 0
// at (0.5, 0.5, 0.1) looking along +z (the middle pixel sees the wall z = 1), nothing selected.
class CPickFixture : public CFixtureEngine {
public:
    explicit CPickFixture(CQzlSections level = MakeBoxRoom()) : CFixtureEngine(std::move(level))
    {
        RebuildAll(m_view, false);
        m_view.m_viewport.m_renderWidth = 100;
        m_view.m_viewport.m_renderHeight = 100;
        m_view.m_viewport.m_viewRect = {0, 0, 100, 100};
        SetUpViewAndProjection(m_view, 100, 100);
        PlaceCamera(m_view, {0.5f, 0.5f, 0.1f});
        m_host.Clear();
    }

    CQzlSurface& Surface(int i) { return *m_level.m_surfaces[static_cast<std::size_t>(i)]; }
    CWorldVertex& World(int i) { return m_level.m_worldVertices[static_cast<std::size_t>(i)]; }
    CVector3 Corner(int surface, int k)
    {
        const CWorldVertex& w =
            World(Surface(surface).m_vertices[static_cast<std::size_t>(k)].m_worldVertex);
        return {w.x, w.y, w.z};
    }
    // The index of the marker of corner k.
    int CornerMarker(int k) const
    {
        for (std::size_t i = 0; i < m_view.m_markers.size(); ++i)
            if (m_view.m_markers[i]->m_markerVertex == k)
                return static_cast<int>(i);
        return -1;
    }
    int MarkerAt(const CVector3& p) const
    {
        int index = 0;
        return FindPointMarker(m_view.m_markers, p.x, p.y, p.z, index) ? index : -1;
    }
    std::uint32_t MarkerColor(int i) const
    {
        return m_view.m_markers[static_cast<std::size_t>(i)]->m_markerVertices.front().color;
    }
    std::vector<int> Panes() const { return m_host.Numbers(ECall::SwitchPropertyView); }
    std::vector<int> Hints() const { return m_host.Numbers(ECall::UpdateAllViews); }
};

// A ghost thing (a cube of half-edge 0.01) at p in sector.
void AddGhostThing(CPickFixture& f, int sector, const CVector3& p,
                   std::vector<std::unique_ptr<C3doModel>>& models)
{
    auto thing = std::make_unique<CQzlThing>();
    thing->m_sector = sector;
    thing->m_position = p;
    models.push_back(std::make_unique<C3doModel>("ghost", "dflt.cmp"));
    models.back()->BuildGhost(0x00FFFFFF);
    models.back()->m_placement = MatrixTranslation(p);
    models.back()->m_position = p;
    thing->m_model = models.back().get();
    f.m_level.m_things.push_back(std::move(thing));
}

// ---- Helpers ----

TEST(Picking, TransformVector4UsesAllFourColumns)
{
    D3DMATRIX m = MatrixTranslation({1, 2, 3});
    m.m[0][3] = 2.0f;  // w picks up 2x
    CVector4 out;
    CVector4& result = TransformVector4(out, {1, 1, 1, 1}, m);
    EXPECT_EQ(&result, &out);
    EXPECT_EQ(out, (CVector4{2, 3, 4, 3}));
}

TEST(Picking, MousePointsScaleToTheRenderSize)
{
    struct CCase {
        const char* name;
        int stretch;
        std::int32_t mode;
        CFrameRect rect;
        int renderWidth, renderHeight;
        int x, y, outX, outY;
    };
    const CCase cases[] = {
        {"stretch on", 1, C3dView::kDocumentView, {0, 0, 200, 50}, 100, 100, 30, 20, 15, 40},
        {"multiply first", 1, C3dView::kDocumentView, {0, 0, 3, 3}, 2, 2, 2, 2, 1, 1},
        {"offset rectangle", 1, C3dView::kDocumentView, {10, 10, 60, 60}, 100, 100, 5, 5, 10, 10},
        {"stretch off", 0, C3dView::kDocumentView, {0, 0, 200, 50}, 100, 100, 30, 20, 30, 20},
        {"preview", 1, C3dView::kPreview, {0, 0, 200, 50}, 100, 100, 30, 20, 30, 20},
        {"empty view", 1, C3dView::kDocumentView, {0, 0, 0, 0}, 100, 100, 30, 20, 30, 20},
        {"no height", 1, C3dView::kDocumentView, {0, 0, 50, 0}, 100, 100, 30, 20, 60, 20},
        {"no back buffer", 1, C3dView::kDocumentView, {0, 0, 200, 50}, 0, 0, 30, 20, 0, 0},
    };
    for (const CCase& c : cases) {
        CFixtureEngine f(MakeBoxRoom());
        f.m_settings.m_stretchMode = c.stretch;
        f.m_view.m_mode = c.mode;
        f.m_view.m_viewport.m_viewRect = c.rect;
        f.m_view.m_viewport.m_renderWidth = c.renderWidth;
        f.m_view.m_viewport.m_renderHeight = c.renderHeight;
        int x = c.x;
        int y = c.y;
        ScaleMousePoint(f.m_view, x, y);
        EXPECT_EQ(x, c.outX) << c.name;
        EXPECT_EQ(y, c.outY) << c.name;
    }
}

// ---- Pick ----

TEST(Picking, ClickOnAWallSelectsItsSectorAndSurface)
{
    CPickFixture f;
    C3dView& v = f.m_view;
    v.m_selection.m_thing = 0;
    v.m_selection.m_vertex = 2;

    PickAtPoint(v, 50, 50);

    const int wall = BoxSurface(f.m_level, 0, kBoxZHigh);
    EXPECT_EQ(v.m_selection.m_sector, 0);
    EXPECT_EQ(v.m_selection.m_surface, wall);
    EXPECT_EQ(v.m_selection.m_vertexSurface, wall);
    EXPECT_EQ(v.m_selection.m_vertex, -1);
    EXPECT_EQ(v.m_selection.m_thing, -1);
    EXPECT_EQ(f.Panes(), std::vector<int>{PropertyView::kSurface});
    EXPECT_EQ(f.Hints(), std::vector<int>{0});
    // The sector is rebuilt: a frame and the wall's corner markers. A pick only looks at the
    // level: the document stays unmodified.
    EXPECT_EQ(f.m_host.Count(ECall::RequestFrame), 1u);
    EXPECT_EQ(f.m_host.Count(ECall::SetModifiedFlag), 0u);
    EXPECT_EQ(v.m_markers.size(), 4u);
    EXPECT_TRUE(v.m_selection.m_lastPickPoints.empty());

    // Picking the wall again rebuilds the sector again, still without a change to the level.
    PickAtPoint(v, 50, 50);
    EXPECT_EQ(f.m_host.Count(ECall::SetModifiedFlag), 0u);
    // A pick whose rebuild rounds a world vertex (six decimals, moved by some edit that did not
    // rebuild) changes the level: then the document is marked modified.
    const int moved =
        f.m_level.m_surfaces[static_cast<std::size_t>(wall)]->m_vertices[0].m_worldVertex;
    f.m_level.m_worldVertices[static_cast<std::size_t>(moved)].y += 0.0000031f;
    PickAtPoint(v, 50, 50);
    EXPECT_EQ(f.m_host.Numbers(ECall::SetModifiedFlag), std::vector<int>{1});

    // The middle of the stretched window is the middle of the render target too: the pixel
    // (100, 50) of a 200 x 100 view picks the same wall. With the Sector Mode switch on the sector
    // alone is selected.
    v.m_viewport.m_viewRect = {0, 0, 200, 100};
    f.m_document.m_sectorMode = 1;
    PickAtPoint(v, 100, 50);
    EXPECT_EQ(v.m_selection.m_sector, 0);
    EXPECT_EQ(v.m_selection.m_surface, -1);
    EXPECT_EQ(v.m_selection.m_vertexSurface, -1);
}

TEST(Picking, ClickOnAThingSelectsIt)
{
    CPickFixture f(MakeTwoJoinedRooms());
    C3dView& v = f.m_view;
    std::vector<std::unique_ptr<C3doModel>> models;
    AddGhostThing(f, 0, {0.5f, 0.5f, 0.6f}, models);
    v.m_selection.m_sector = 1;
    v.m_selection.m_surface = 3;
    v.m_selection.m_vertexSurface = 3;
    v.m_selection.m_vertex = 1;
    AddPointMarker(v.m_markers, 0.2f, 0.2f, 0.9f, kGrid, -1, f.m_settings, false);

    PickAtPoint(v, 50, 50);

    EXPECT_EQ(v.m_selection.m_thing, 0);
    EXPECT_EQ(v.m_selection.m_sector, 0);
    EXPECT_EQ(v.m_selection.m_surface, -1);
    EXPECT_EQ(v.m_selection.m_vertexSurface, -1);
    EXPECT_EQ(v.m_selection.m_vertex, -1);
    EXPECT_TRUE(v.m_markers.empty());
    EXPECT_EQ(f.Panes(), std::vector<int>{PropertyView::kThings});
    EXPECT_EQ(f.Hints(), std::vector<int>{0});
    EXPECT_EQ(f.m_host.Count(ECall::RequestFrame), 0u);
}

TEST(Picking, NothingIsPickedWhenBlockedOrMissed)
{
    struct CCase {
        const char* name;
        int walk, editMode, objectFrames, renderWidth, renderHeight;
        bool lookAway;
    };
    const CCase cases[] = {
        {"walk mode", 1, 0, 0, 100, 100, false},
        {"surface edit mode", 0, 2, 0, 100, 100, false},
        {"Object Frames open", 0, 0, 1, 100, 100, false},
        {"no render width", 0, 0, 0, 0, 100, false},
        {"no render height", 0, 0, 0, 100, 0, false},
        {"ray meets nothing", 0, 0, 0, 100, 100, true},
    };
    for (const CCase& c : cases) {
        CPickFixture f;
        C3dView& v = f.m_view;
        v.m_walk.m_on = c.walk;
        f.m_document.m_editMode = c.editMode;
        f.m_document.m_objectFramesOpen = c.objectFrames;
        v.m_viewport.m_renderWidth = c.renderWidth;
        v.m_viewport.m_renderHeight = c.renderHeight;
        if (c.lookAway)
            PlaceCamera(v, {0.5f, 0.5f, 5.0f});  // outside, facing away from the room
        v.m_viewport.m_viewRect = {0, 0, 0, 0};
        v.m_selection.m_sector = 0;
        v.m_selection.m_surface = 1;
        v.m_selection.m_vertexSurface = 1;
        f.Surface(1).m_vertices[0].m_marked = 1;

        PickAtPoint(v, 50, 50);

        EXPECT_EQ(v.m_selection.m_surface, 1) << c.name;
        EXPECT_EQ(f.Surface(1).m_vertices[0].m_marked, 1) << c.name;
        EXPECT_TRUE(f.m_host.m_calls.empty()) << c.name;
    }
}

TEST(Picking, CornerMarkerMarksTheCornerAndShowsTheVertexView)
{
    for (const bool sectorMode : {false, true}) {
        CPickFixture f;
        C3dView& v = f.m_view;
        PickAtPoint(v, 50, 50);  // the wall z = 1 and its corner markers
        const int wall = v.m_selection.m_surface;
        ASSERT_GE(wall, 0);
        f.m_document.m_sectorMode = sectorMode ? 1 : 0;
        f.Surface(wall).m_vertices[0].m_marked = 1;
        f.m_host.Clear();

        ApplyPickHit(v, {0, wall, -1, f.CornerMarker(2)}, false);

        EXPECT_EQ(v.m_selection.m_vertex, 2);
        EXPECT_EQ(v.m_selection.m_surface, wall);
        EXPECT_EQ(f.Surface(wall).m_vertices[0].m_marked, 0) << "plain click clears old marks";
        EXPECT_EQ(f.Surface(wall).m_vertices[2].m_marked, 1);
        ASSERT_EQ(v.m_selection.m_lastPickPoints.size(), 1u);
        EXPECT_EQ(v.m_selection.m_lastPickPoints[0], f.Corner(wall, 2));
        EXPECT_EQ(f.Panes(), std::vector<int>{PropertyView::kVertex});
        EXPECT_EQ(f.Hints(), std::vector<int>{sectorMode ? 1 : wall + 2});
        // The sector is rebuilt: its corner markers show the mark.
        EXPECT_EQ(f.m_host.Count(ECall::RequestFrame), 1u);
        if (!sectorMode) {
            EXPECT_EQ(f.MarkerColor(f.CornerMarker(2)), kSelect);
        }

        // With Ctrl the earlier mark stays.
        if (!sectorMode) {
            ApplyPickHit(v, {0, wall, -1, f.CornerMarker(1)}, true);
            EXPECT_EQ(v.m_selection.m_vertex, 1);
            EXPECT_EQ(f.Surface(wall).m_vertices[1].m_marked, 1);
            EXPECT_EQ(f.Surface(wall).m_vertices[2].m_marked, 1);
        }
    }
}

TEST(Picking, LastPickedPointsKeepTheNewestTwo)
{
    CPickFixture f;
    C3dView& v = f.m_view;
    PickAtPoint(v, 50, 50);
    const int wall = v.m_selection.m_surface;
    for (const int k : {0, 1, 2})
        ApplyPickHit(v, {0, wall, -1, f.CornerMarker(k)}, false);
    EXPECT_EQ(v.m_selection.m_lastPickPoints,
              (std::vector<CVector3>{f.Corner(wall, 1), f.Corner(wall, 2)}));

    // Grid nodes count as picked points too; a surface pick adds none.
    v.m_markers.clear();
    AddPointMarker(v.m_markers, 0.5f, 0.5f, 0.5f, kGrid, -1, f.m_settings, false);
    ApplyPickHit(v, {0, wall, -1, 0}, false);
    EXPECT_EQ(v.m_selection.m_lastPickPoints,
              (std::vector<CVector3>{f.Corner(wall, 2), CVector3(0.5f, 0.5f, 0.5f)}));
    PickAtPoint(v, 50, 50);
    EXPECT_EQ(v.m_selection.m_lastPickPoints.size(), 2u);
}

TEST(Picking, CtrlClickedGridNodesStayPicked)
{
    CPickFixture f;
    C3dView& v = f.m_view;
    v.m_selection.m_sector = 0;
    v.m_selection.m_surface = 4;
    const CVector3 nodes[3] = {{0.2f, 0.0f, 0.2f}, {0.4f, 0.0f, 0.2f}, {0.6f, 0.0f, 0.2f}};
    for (const CVector3& p : nodes)
        AddPointMarker(v.m_markers, p.x, p.y, p.z, kGrid, -1, f.m_settings, false);

    for (const CVector3& p : nodes)
        ApplyPickHit(v, {0, 0, -1, f.MarkerAt(p)}, true);

    EXPECT_EQ(v.m_selection.m_pickedNodes, (std::vector<CVector3>{nodes[0], nodes[1], nodes[2]}));
    for (const CVector3& p : nodes)
        EXPECT_EQ(f.MarkerColor(f.MarkerAt(p)), kSelect);
    EXPECT_EQ(f.Panes(), (std::vector<int>{PropertyView::kVertex, PropertyView::kVertex,
                                           PropertyView::kVertex}));
    EXPECT_EQ(f.Hints(), (std::vector<int>{6, 6, 6}));
    // No rebuild: that would drop the picked nodes.
    EXPECT_EQ(f.m_host.Count(ECall::RequestFrame), 0u);

    // A plain click starts again with its node; the others are grid coloured again. In Sector
    // Mode the hint is 1.
    f.m_document.m_sectorMode = 1;
    ApplyPickHit(v, {0, 0, -1, f.MarkerAt(nodes[1])}, false);
    EXPECT_EQ(v.m_selection.m_pickedNodes, std::vector<CVector3>{nodes[1]});
    EXPECT_EQ(f.MarkerColor(f.MarkerAt(nodes[0])), kGrid);
    EXPECT_EQ(f.MarkerColor(f.MarkerAt(nodes[1])), kSelect);
    EXPECT_EQ(f.MarkerColor(f.MarkerAt(nodes[2])), kGrid);
    EXPECT_EQ(f.Hints().back(), 1);
}

TEST(Picking, LockKeepsTheSelectionOutsideTheVisibleSet)
{
    struct CCase {
        const char* name;
        int lock;
        int currentSector;
        std::vector<std::int32_t> visible;  // of sector 0
        bool thing;
        bool changes;
    };
    const CCase cases[] = {
        {"lock off", 0, 0, {0}, false, true},
        {"visible", 1, 0, {0, 1}, false, true},
        {"not visible", 1, 0, {0}, false, false},
        {"no current sector", 1, -1, {0, 1}, false, false},
        {"thing visible", 1, 0, {0, 1}, true, true},
        {"thing not visible", 1, 0, {0}, true, false},
    };
    for (const CCase& c : cases) {
        CPickFixture f(MakeTwoJoinedRooms());
        C3dView& v = f.m_view;
        std::vector<std::unique_ptr<C3doModel>> models;
        AddGhostThing(f, 1, {1.5f, 0.5f, 0.5f}, models);
        f.m_settings.m_lock = c.lock;
        f.m_level.m_sectors[0]->m_visible = c.visible;
        v.m_selection.m_sector = c.currentSector;
        v.m_selection.m_surface = 2;
        v.m_selection.m_vertexSurface = 2;
        AddPointMarker(v.m_markers, 0.5f, 0.5f, 0.5f, kGrid, -1, f.m_settings, false);
        const int far = BoxSurface(f.m_level, 1, kBoxXHigh);

        ApplyPickHit(v, {1, c.thing ? -1 : far, c.thing ? 0 : -1, -1}, false);

        if (c.changes) {
            EXPECT_EQ(v.m_selection.m_sector, 1) << c.name;
            EXPECT_EQ(v.m_selection.m_surface, c.thing ? -1 : far) << c.name;
            EXPECT_EQ(v.m_selection.m_thing, c.thing ? 0 : -1) << c.name;
        } else {
            EXPECT_EQ(v.m_selection.m_sector, c.currentSector) << c.name;
            EXPECT_EQ(v.m_selection.m_surface, 2) << c.name;
            EXPECT_EQ(v.m_selection.m_thing, -1) << c.name;
        }
        // Locked or not the markers go, the pane switches and the views update.
        if (c.thing) {
            EXPECT_TRUE(v.m_markers.empty()) << c.name;
        }
        EXPECT_EQ(f.Panes(),
                  std::vector<int>{c.thing ? PropertyView::kThings : PropertyView::kSurface})
            << c.name;
        EXPECT_EQ(f.Hints(), std::vector<int>{0}) << c.name;
    }
}

// ---- Drags ----

// The fixture ready for a left drag of the floor of sector 0 in edit mode.
struct CDragFixture : CPickFixture {
    explicit CDragFixture(int editMode)
    {
        m_floor = BoxSurface(m_level, 0, kBoxFloor);
        m_view.m_selection.m_sector = 0;
        m_view.m_selection.m_surface = m_floor;
        m_view.m_selection.m_vertexSurface = m_floor;
        m_document.m_editMode = editMode;
    }
    int m_floor = -1;
};

TEST(Picking, TextureDragStepsByTheModifierKeys)
{
    struct CCase {
        const char* name;
        bool shift, ctrl;
        float step;
    };
    const CCase cases[] = {
        {"plain", false, false, 0.2f},
        {"Ctrl", false, true, 0.1f},
        {"Shift", true, false, 0.4f},
        {"Shift wins", true, true, 0.4f},
    };
    for (const CCase& c : cases) {
        CDragFixture f(4);
        C3dView& v = f.m_view;
        f.m_keys.m_shift = c.shift;
        f.m_keys.m_ctrl = c.ctrl;
        std::vector<CQzlVertex> before = f.Surface(f.m_floor).m_vertices;

        HandleMouseMove(v, kMouseLeft, 40, 40);  // anchors the drag
        EXPECT_EQ(v.m_drag.m_leftX, 40) << c.name;
        HandleMouseMove(v, kMouseLeft, 30, 45);  // dx = 10, dy = -5

        for (std::size_t k = 0; k < before.size(); ++k) {
            const CQzlVertex& corner = f.Surface(f.m_floor).m_vertices[k];
            EXPECT_NEAR(corner.m_u, before[k].m_u - 10.0f * c.step, 1e-4f) << c.name;
            EXPECT_NEAR(corner.m_v, before[k].m_v + 5.0f * c.step, 1e-4f) << c.name;
            // Kept on thousandths.
            EXPECT_NEAR(corner.m_u * 1000.0f, std::round(corner.m_u * 1000.0f), 1e-2f);
        }
        EXPECT_EQ(v.m_drag.m_leftX, 30) << c.name;
        EXPECT_EQ(v.m_drag.m_leftY, 45) << c.name;
        EXPECT_GE(f.m_host.Count(ECall::RequestFrame), 2u) << c.name;
    }
}

TEST(Picking, SurfaceDragCountsOnlyTheDirection)
{
    // Looking along +z: moving left (dx > 0) slides the floor along -x, moving up (dy > 0) along
    // +z; 30 pixels go as far as 1.
    struct CCase {
        int toX, toY;
        float dx, dz;
    };
    const CCase cases[] = {
        {39, 40, -0.02f, 0.0f}, {10, 40, -0.02f, 0.0f}, {70, 40, 0.02f, 0.0f},
        {40, 10, 0.0f, 0.02f},  {40, 41, 0.0f, -0.02f}, {10, 10, -0.02f, 0.02f},
    };
    for (const CCase& c : cases) {
        CDragFixture f(2);
        C3dView& v = f.m_view;
        const CVector3 p0 = f.Corner(f.m_floor, 0);
        HandleMouseMove(v, kMouseLeft, 40, 40);
        HandleMouseMove(v, kMouseLeft, c.toX, c.toY);
        ExpectNear(f.Corner(f.m_floor, 0), {p0.x + c.dx, p0.y, p0.z + c.dz});
        EXPECT_EQ(f.m_host.Numbers(ECall::SetModifiedFlag).back(), 1);
    }
}

TEST(Picking, ThingDragMovesTheThingAndItsModel)
{
    CDragFixture f(7);
    C3dView& v = f.m_view;
    std::vector<std::unique_ptr<C3doModel>> models;
    AddGhostThing(f, 0, {0.5f, 0.5f, 0.5f}, models);
    v.m_selection.m_thing = 0;
    f.m_keys.m_shift = true;  // no step of its own
    models[0]->m_boundsValid = 1;

    HandleMouseMove(v, kMouseLeft, 40, 40);
    HandleMouseMove(v, kMouseLeft, 20, 30);  // dx > 0, dy > 0

    const CQzlThing& thing = *f.m_level.m_things[0];
    ExpectNear(thing.m_position, {0.49f, 0.5f, 0.51f});
    EXPECT_EQ(models[0]->m_position, thing.m_position);
    EXPECT_EQ(models[0]->m_placement.m[3][0], thing.m_position.x);
    EXPECT_EQ(models[0]->m_placement.m[3][2], thing.m_position.z);
    EXPECT_EQ(models[0]->m_boundsValid, 0);
    EXPECT_EQ(f.m_host.Numbers(ECall::SetModifiedFlag), (std::vector<int>{1, 1}));
}

TEST(Picking, VertexDragMovesAlongAndAcrossItsEdgeOnHundredths)
{
    CDragFixture f(6);
    C3dView& v = f.m_view;
    v.m_selection.m_vertex = 0;
    const CVector3 p = f.Corner(f.m_floor, 0);
    const CVector3 q = f.Corner(f.m_floor, 1);
    const CVector3 e = (q - p) / VectorLength(q - p);
    const CVector3 n = f.Surface(f.m_floor).m_normal;
    const CVector3 across{e.y * n.z - e.z * n.y, e.z * n.x - e.x * n.z, e.x * n.y - e.y * n.x};

    HandleMouseMove(v, kMouseLeft, 40, 40);
    HandleMouseMove(v, kMouseLeft, 37, 38);  // dx = 3, dy = 2: no Shift/Ctrl step

    const CVector3 expected = p + (e * -3.0f + across * 2.0f) * 0.01f;
    const CVector3 moved = f.Corner(f.m_floor, 0);
    ExpectNear(moved,
               {std::round(expected.x * 100.0f) / 100.0f, std::round(expected.y * 100.0f) / 100.0f,
                std::round(expected.z * 100.0f) / 100.0f});
    EXPECT_NE(moved, p);

    // A corner on a zero-length edge has no direction: it stays where it is, no NaN.
    CQzlSurface& floor = f.Surface(f.m_floor);
    floor.m_vertices[1].m_worldVertex = floor.m_vertices[0].m_worldVertex;
    HandleMouseMove(v, kMouseLeft, 20, 20);
    EXPECT_EQ(f.Corner(f.m_floor, 0), moved);
}

TEST(Picking, LeftDragWithoutItsElementOnlyDropsTheAnchor)
{
    struct CCase {
        const char* name;
        int editMode;
        int buttons;
    };
    const CCase cases[] = {
        {"texturing without surface", 4, kMouseLeft},
        {"surface without surface", 2, kMouseLeft},
        {"object without thing", 7, kMouseLeft},
        {"vertex without vertex", 6, kMouseLeft},
        {"no drag mode", 1, kMouseLeft},
        {"button released", 4, 0},
    };
    for (const CCase& c : cases) {
        CDragFixture f(c.editMode);
        C3dView& v = f.m_view;
        if (c.buttons != 0) {
            v.m_selection.m_surface = -1;
            v.m_selection.m_vertexSurface = -1;
        }
        const std::vector<CQzlVertex> before = f.Surface(f.m_floor).m_vertices;
        v.m_drag.m_leftX = 5;
        v.m_drag.m_leftY = 5;
        HandleMouseMove(v, c.buttons, 40, 40);
        EXPECT_EQ(v.m_drag.m_leftX, -1) << c.name;
        EXPECT_EQ(v.m_drag.m_leftY, -1) << c.name;
        EXPECT_EQ(f.Surface(f.m_floor).m_vertices[0].m_u, before[0].m_u) << c.name;
        EXPECT_TRUE(f.m_host.m_calls.empty()) << c.name;
    }
}

TEST(Picking, RightDragTurnsMovesAndDropsTheSelection)
{
    struct CCase {
        const char* name;
        int gridOn;
        int objectFrames;
        bool deselects;
    };
    const CCase cases[] = {
        {"grid off", 0, 0, true},
        {"grid on", 1, 0, false},
        {"Object Frames open", 0, 1, false},
    };
    for (const CCase& c : cases) {
        CPickFixture f;
        C3dView& v = f.m_view;
        PickAtPoint(v, 50, 50);
        const int wall = v.m_selection.m_surface;
        ApplyPickHit(v, {0, wall, -1, f.CornerMarker(1)}, false);
        v.m_selection.m_thing = 0;
        f.m_document.m_gridOn = c.gridOn;
        f.m_document.m_objectFramesOpen = c.objectFrames;
        f.m_host.Clear();

        // The reference: what the camera does for dx = 10, dy = 10 at step 0.2.
        CPickFixture reference;
        RotateCamera(reference.m_view, 0.0f, 1.0f, 0.0f, -0.2f * 10.0f * 0.05f);
        MoveCamera(reference.m_view, 10.0f * 0.2f * 0.1f);

        HandleMouseMove(v, kMouseRight, 60, 60);
        EXPECT_EQ(v.m_drag.m_rightX, 60) << c.name;
        HandleMouseMove(v, kMouseRight, 50, 50);

        ExpectNear(v.m_camera.m_position, reference.m_view.m_camera.m_position);
        ExpectNear(v.m_camera.m_forwardAxis, reference.m_view.m_camera.m_forwardAxis);
        EXPECT_EQ(v.m_drag.m_rightX, 50) << c.name;
        EXPECT_EQ(v.m_drag.m_rightY, 50) << c.name;
        EXPECT_EQ(f.m_host.Numbers(ECall::RequestFrame), (std::vector<int>{1, 1})) << c.name;
        EXPECT_EQ(v.m_selection.m_sector, 0) << c.name;
        if (c.deselects) {
            EXPECT_EQ(v.m_selection.m_surface, -1) << c.name;
            EXPECT_EQ(v.m_selection.m_vertexSurface, -1) << c.name;
            EXPECT_EQ(v.m_selection.m_vertex, -1) << c.name;
            EXPECT_EQ(v.m_selection.m_thing, -1) << c.name;
            EXPECT_TRUE(v.m_markers.empty()) << c.name;
            EXPECT_EQ(f.Surface(wall).m_vertices[1].m_marked, 0) << c.name;
        } else {
            EXPECT_EQ(v.m_selection.m_surface, wall) << c.name;
            EXPECT_EQ(v.m_selection.m_vertex, 1) << c.name;
            EXPECT_EQ(v.m_selection.m_thing, 0) << c.name;
            EXPECT_EQ(f.Surface(wall).m_vertices[1].m_marked, 1) << c.name;
        }

        // Releasing the button drops the anchor.
        HandleMouseMove(v, 0, 50, 50);
        EXPECT_EQ(v.m_drag.m_rightX, -1) << c.name;
        EXPECT_EQ(v.m_drag.m_rightY, -1) << c.name;
    }
}

TEST(Picking, EveryViewHasItsOwnDragAnchors)
{
    CPickFixture a;
    CPickFixture b;
    HandleMouseMove(a.m_view, kMouseRight, 90, 90);
    const CVector3 before = b.m_view.m_camera.m_position;
    const CVector3 forward = b.m_view.m_camera.m_forwardAxis;

    // The first event of a drag in the second view starts there: nothing turns or moves.
    HandleMouseMove(b.m_view, kMouseRight, 10, 10);
    EXPECT_EQ(b.m_view.m_camera.m_position, before);
    EXPECT_EQ(b.m_view.m_camera.m_forwardAxis, forward);
    EXPECT_EQ(a.m_view.m_drag.m_rightX, 90);
    EXPECT_EQ(b.m_view.m_drag.m_rightX, 10);
}

TEST(Picking, MovesInAViewWithoutSizeDoNotDivideByZero)
{
    CDragFixture f(4);
    C3dView& v = f.m_view;
    v.m_viewport.m_viewRect = {0, 0, 0, 0};
    v.m_viewport.m_renderWidth = 0;
    v.m_viewport.m_renderHeight = 0;
    HandleMouseMove(v, kMouseLeft, 10, 10);
    HandleMouseMove(v, kMouseLeft, 5, 5);
    EXPECT_EQ(v.m_drag.m_leftX, 5);
    HandleMouseMove(v, kMouseRight, 10, 10);
    HandleMouseMove(v, kMouseRight, 5, 5);
    EXPECT_EQ(v.m_drag.m_rightX, 5);
    EXPECT_TRUE(std::isfinite(v.m_camera.m_position.x));
    PickAtPoint(v, 5, 5);  // no pixels: nothing
}

// ---- Pans and the camera reset ----

TEST(Picking, PansStepByScrollCode)
{
    struct CCase {
        const char* name;
        int code;
        int position;
        int enlarge;
        float step;     // camera offset in units of 0.01
        int lastAfter;  // last scroll position, starting from 10
    };
    const CCase cases[] = {
        {"line left/up (L, U)", 0, 0, 0, -1.0f, 9}, {"line right/down (R, D)", 1, 0, 0, 1.0f, 11},
        {"page left", 2, 0, 0, -5.0f, 5},           {"page right", 3, 0, 0, 5.0f, 15},
        {"thumb track", 5, 30, 0, 20.0f, 30},       {"thumb position code", 4, 30, 0, 0.0f, 10},
        {"end scroll", 8, 30, 0, 0.0f, 10},         {"enlarged view", 3, 0, 1, 1.0f, 15},
        {"enlarged thumb", 5, 0, 1, -2.0f, 0},
    };
    for (const CCase& c : cases) {
        for (const bool horizontal : {true, false}) {
            CPickFixture f;
            C3dView& v = f.m_view;
            f.m_document.m_enlargeView = c.enlarge;
            v.m_drag.m_scrollH = 10;
            v.m_drag.m_scrollV = 10;
            const CVector3 start = v.m_camera.m_position;
            if (horizontal)
                PanCameraHorizontal(v, c.code, c.position);
            else
                PanCameraVertical(v, c.code, c.position);
            // Looking along +z the horizontal pan moves along x, the vertical one along -y (up
            // is +y, and the camera moves by minus the step).
            const CVector3 expected = horizontal
                                          ? CVector3(start.x + 0.01f * c.step, start.y, start.z)
                                          : CVector3(start.x, start.y - 0.01f * c.step, start.z);
            ExpectNear(v.m_camera.m_position, expected);
            ExpectNear(GetCameraPosition(v), expected);
            EXPECT_EQ(horizontal ? v.m_drag.m_scrollH : v.m_drag.m_scrollV, c.lastAfter) << c.name;
            EXPECT_EQ(horizontal ? v.m_drag.m_scrollV : v.m_drag.m_scrollH, 10) << c.name;
            EXPECT_EQ(f.m_host.Numbers(ECall::RequestFrame), std::vector<int>{1}) << c.name;
        }
    }
}

struct CResetEngine {
    CResetEngine() { host.m_view = &view; }
    CQzlSections level = MakeTwoJoinedRooms();
    CSettings settings;
    CDocumentState document;
    CGameResources game;
    CFrameWatchHost host;
    CScriptedKeyState keys;
    CScriptedClock clock;
    CScriptedRandom random;
    C3dView view{level, settings, document, game, host, keys, clock, random};
};

TEST(Picking, MiddleResetsTheCameraToTheSector)
{
    for (const int sector : {1, -1}) {
        CResetEngine e;
        C3dView& v = e.view;
        RebuildAll(v, false);
        SetCameraAxes(v, 1, 0, 0, 0, 1, 0);
        v.m_camera.m_forwardAxis = {1, 0, 0};
        SetCameraPosition(v, 0.2f, 0.3f, 0.4f);
        v.m_selection.m_sector = sector;
        v.m_drag.m_scrollH = 4;
        v.m_drag.m_scrollV = -3;
        v.m_camera.m_focusPoint = {7, 8, 9};
        e.host.m_calls.clear();

        ResetCameraTarget(v);

        // Sector 1's centre, or the middle of the level box (0..2, 0..1, 0..1).
        const CVector3 target =
            sector == 1 ? e.level.m_sectors[1]->m_center : CVector3(1.0f, 0.5f, 0.5f);
        ExpectNear(v.m_camera.m_position, target);
        ExpectNear(GetCameraPosition(v), target);
        CVector3 forward;
        CVector3 up;
        GetCameraAxes(v, forward, up);
        EXPECT_EQ(forward, CVector3(0, 0, 1));
        EXPECT_EQ(up, CVector3(0, 1, 0));
        EXPECT_EQ(v.m_camera.m_forwardAxis, CVector3(0, 0, 1));
        EXPECT_EQ(v.m_drag.m_scrollH, 0);
        EXPECT_EQ(v.m_drag.m_scrollV, 0);
        EXPECT_EQ(v.m_camera.m_savedPosition, v.m_camera.m_position);
        EXPECT_EQ(v.m_camera.m_savedForwardAxis, CVector3(0, 0, 1));
        EXPECT_EQ(v.m_camera.m_focusPoint2, CVector3(7, 8, 9));
        EXPECT_EQ(e.host.m_jumpAtFrame, std::vector<int>{1});
        EXPECT_EQ(v.m_camera.m_jump, 0);
    }
}

}  // namespace
