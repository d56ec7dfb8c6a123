#include "engine/ViewCommands.h"

#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/EngineHost.h"
#include "engine/FrameRender.h"
#include "engine/RenderData.h"
#include "engine/SelectionTests.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "framework/Settings.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

// The selection tests: an index counts as current only when it names a record of the level.
bool HasSector(const C3dView* engine)
{
    return engine != nullptr && InRange(engine->GetLevel().m_sectors, engine->m_selection.m_sector);
}

bool HasSurface(const C3dView* engine)
{
    return engine != nullptr &&
           InRange(engine->GetLevel().m_surfaces, engine->m_selection.m_surface);
}

bool HasThing(const C3dView* engine)
{
    return engine != nullptr && InRange(engine->GetLevel().m_things, engine->m_selection.m_thing);
}

// A current vertex is a corner of the surface of the current vertex.
bool HasVertex(const C3dView* engine)
{
    if (engine == nullptr)
        return false;
    const CQzlSections& level = engine->GetLevel();
    if (!InRange(level.m_surfaces, engine->m_selection.m_vertexSurface))
        return false;
    const CQzlSurface& surface =
        *level.m_surfaces[static_cast<std::size_t>(engine->m_selection.m_vertexSurface)];
    return InRange(surface.m_vertices, engine->m_selection.m_vertex);
}

int Check(bool on)
{
    return on ? 1 : 0;
}

std::int32_t Toggled(std::int32_t flag)
{
    return flag != 0 ? 0 : 1;
}

// The view commands only change how the level is shown.
void RebuildCurrentSector(C3dView& engine)
{
    RebuildSector(engine, engine.m_selection.m_sector, ERebuildCause::View);
}

void UpdateViews(CEngineHost& host)
{
    host.UpdateAllViews(0);
}

// A frame drawn at once, with the camera-placed flag set while it is drawn so that walk mode
// leaves the player physics out of it.
void ForcedFrame(C3dView& engine)
{
    engine.m_camera.m_jump = 1;
    RenderFrame(engine, 1);
    engine.m_camera.m_jump = 0;
}

}  // namespace

// ---- Shared enable rules ----

bool TwoNodeSurfaceRule(const C3dView* engine)
{
    return HasSurface(engine) && engine->m_selection.m_pickedNodes.size() == 2;
}

bool AdjoinedSurfaceRule(const C3dView* engine)
{
    return HasSurface(engine) && SurfaceHasAdjoin(*engine);
}

bool PlainSurfaceRule(const C3dView* engine)
{
    return HasSurface(engine) && !SurfaceHasAdjoin(*engine);
}

bool CurrentSurfaceHasSharedVertex(const C3dView& engine)
{
    if (!HasSurface(&engine))
        return false;
    const CQzlSections& level = engine.GetLevel();
    const CQzlSurface& surface =
        *level.m_surfaces[static_cast<std::size_t>(engine.m_selection.m_surface)];
    return std::any_of(
        surface.m_vertices.begin(), surface.m_vertices.end(), [&level](const CQzlVertex& corner) {
            return InRange(level.m_useCounts, corner.m_worldVertex) &&
                   level.m_useCounts[static_cast<std::size_t>(corner.m_worldVertex)] > 1;
        });
}

// ---- Edit modes ----

CCommandState OnUpdateSectorMode(const CDocumentState& doc, const CSettings&, const C3dView* engine)
{
    return {HasSector(engine), Check(doc.m_sectorMode != 0)};
}

bool OnSectorMode(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    if (!OnUpdateSectorMode(doc, settings, engine).enabled)
        return false;
    CWaitCursorScope wait(host);
    doc.m_sectorMode = Toggled(doc.m_sectorMode);
    doc.m_editMode = doc.m_sectorMode != 0 ? 1 : 0;
    doc.m_gridOn = 0;
    engine->m_selection.m_surface = -1;
    engine->m_selection.m_vertex = -1;
    engine->m_selection.m_vertexSurface = -1;
    if (doc.m_sectorMode != 0 && settings.m_grid < kSectorModeGrid)
        settings.m_grid = kSectorModeGrid;
    RebuildCurrentSector(*engine);
    UpdateViews(host);
    return true;
}

CCommandState OnUpdateLight(const CDocumentState& doc, const CSettings&, const C3dView*)
{
    return {true, Check(doc.m_lightMode != 0)};
}

bool OnLight(CDocumentState& doc, CSettings&, C3dView* engine, CEngineHost& host)
{
    CWaitCursorScope wait(host);
    doc.m_lightMode = Toggled(doc.m_lightMode);
    if (doc.m_lightMode != 0)
        doc.m_editMode = 0;
    if (engine != nullptr)
        RefreshAllSectors(*engine);
    return true;
}

CCommandState OnUpdateSurfaceMode(const CDocumentState& doc, const CSettings&,
                                  const C3dView* engine)
{
    return {HasSurface(engine) && !CurrentSurfaceHasSharedVertex(*engine),
            Check(doc.m_editMode == 2)};
}

bool OnSurfaceMode(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    if (!OnUpdateSurfaceMode(doc, settings, engine).enabled)
        return false;
    CWaitCursorScope wait(host);
    host.SwitchPropertyView(PropertyView::kSurface);
    doc.m_editMode = 2;
    UpdateViews(host);
    return true;
}

CCommandState OnUpdateTexturing(const CDocumentState& doc, const CSettings&, const C3dView* engine)
{
    return {HasSurface(engine), Check(doc.m_editMode == 4)};
}

bool OnTexturing(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    if (!OnUpdateTexturing(doc, settings, engine).enabled)
        return false;
    CWaitCursorScope wait(host);
    doc.m_editMode = 4;
    engine->m_selection.m_vertex = -1;
    engine->m_selection.m_vertexSurface = -1;
    UpdateViews(host);
    return true;
}

CCommandState OnUpdateVertexMode(const CDocumentState& doc, const CSettings&, const C3dView* engine)
{
    return {HasVertex(engine) && !VertexIsShared(*engine), Check(doc.m_editMode == 6)};
}

bool OnVertexMode(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    if (!OnUpdateVertexMode(doc, settings, engine).enabled)
        return false;
    CWaitCursorScope wait(host);
    host.SwitchPropertyView(PropertyView::kVertex);
    doc.m_editMode = 6;
    UpdateViews(host);
    return true;
}

CCommandState OnUpdateObjectMode(const CDocumentState& doc, const CSettings&, const C3dView* engine)
{
    return {HasThing(engine), Check(doc.m_editMode == 7)};
}

bool OnObjectMode(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    if (!OnUpdateObjectMode(doc, settings, engine).enabled)
        return false;
    CWaitCursorScope wait(host);
    host.SwitchPropertyView(PropertyView::kThings);
    doc.m_editMode = 7;
    UpdateViews(host);
    return true;
}

// ---- Render modes ----

CCommandState OnUpdateRenderMode(int mode, const CDocumentState& doc, const CSettings&,
                                 const C3dView*)
{
    return {true, Check(doc.m_renderMode == mode)};
}

bool OnRenderMode(int mode, CDocumentState& doc, CSettings&, C3dView* engine, CEngineHost& host)
{
    if (mode < 0 || mode > 4)
        return false;
    CWaitCursorScope wait(host);
    doc.m_renderMode = mode;
    if (doc.m_gridOn == 0) {
        doc.m_editMode = 0;
        if (engine != nullptr)
            engine->m_selection.m_surface = -1;
    }
    UpdateViews(host);
    return true;
}

// ---- Grid ----

CCommandState OnUpdateGridOn(const CDocumentState& doc, const CSettings&, const C3dView* engine)
{
    return {HasSector(engine) && (doc.m_sectorMode != 0 || HasSurface(engine)),
            Check(doc.m_gridOn != 0)};
}

bool OnGridOn(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    if (!OnUpdateGridOn(doc, settings, engine).enabled)
        return false;
    CWaitCursorScope wait(host);
    doc.m_gridOn = Toggled(doc.m_gridOn);
    if (doc.m_gridOn != 0)
        host.SwitchPropertyView(PropertyView::kVertex);
    else
        doc.m_editMode = 0;
    engine->m_selection.m_vertex = -1;
    engine->m_selection.m_vertexSurface = -1;
    RebuildCurrentSector(*engine);
    UpdateViews(host);
    return true;
}

CCommandState OnUpdateGridSurfaceOnly(const CDocumentState& doc, const CSettings&,
                                      const C3dView* engine)
{
    return {HasSector(engine) && doc.m_sectorMode != 0, Check(doc.m_gridSurfaceOnly != 0)};
}

bool OnGridSurfaceOnly(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    if (!OnUpdateGridSurfaceOnly(doc, settings, engine).enabled)
        return false;
    CWaitCursorScope wait(host);
    doc.m_gridSurfaceOnly = Toggled(doc.m_gridSurfaceOnly);
    if (doc.m_gridSurfaceOnly != 0)
        doc.m_gridEdgesOnly = 0;
    RebuildCurrentSector(*engine);
    UpdateViews(host);
    return true;
}

CCommandState OnUpdateGridEdgesOnly(const CDocumentState& doc, const CSettings&,
                                    const C3dView* engine)
{
    return {engine != nullptr && doc.m_gridOn != 0, Check(doc.m_gridEdgesOnly != 0)};
}

bool OnGridEdgesOnly(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    if (!OnUpdateGridEdgesOnly(doc, settings, engine).enabled)
        return false;
    CWaitCursorScope wait(host);
    doc.m_gridEdgesOnly = Toggled(doc.m_gridEdgesOnly);
    if (doc.m_gridEdgesOnly != 0)
        doc.m_gridSurfaceOnly = 0;
    RebuildCurrentSector(*engine);
    UpdateViews(host);
    return true;
}

CCommandState OnUpdateGridSmaller(const CDocumentState& doc, const CSettings& settings,
                                  const C3dView* engine)
{
    return {engine != nullptr && doc.m_gridOn != 0 && settings.m_grid > kGridSmallest, -1};
}

bool OnGridSmaller(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    if (!OnUpdateGridSmaller(doc, settings, engine).enabled)
        return false;
    settings.m_grid -= kGridStep;
    if (settings.m_grid < kGridSmallest)
        settings.m_grid = kGridSmallest;
    RebuildCurrentSector(*engine);
    UpdateViews(host);
    return true;
}

CCommandState OnUpdateGridLarger(const CDocumentState& doc, const CSettings& settings,
                                 const C3dView* engine)
{
    return {engine != nullptr && doc.m_gridOn != 0 && settings.m_grid < kGridLargest, -1};
}

bool OnGridLarger(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    if (!OnUpdateGridLarger(doc, settings, engine).enabled)
        return false;
    settings.m_grid += kGridStep;
    RebuildCurrentSector(*engine);
    UpdateViews(host);
    return true;
}

CCommandState OnUpdateNodesLarger(const CDocumentState&, const CSettings& settings,
                                  const C3dView* engine)
{
    return {HasSector(engine) && settings.m_vertexScaling < kNodeLargest, -1};
}

bool OnNodesLarger(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost&)
{
    if (!OnUpdateNodesLarger(doc, settings, engine).enabled)
        return false;
    settings.m_vertexScaling += kNodeStep;
    RebuildCurrentSector(*engine);
    return true;
}

CCommandState OnUpdateNodesSmaller(const CDocumentState&, const CSettings& settings,
                                   const C3dView* engine)
{
    return {HasSector(engine) && settings.m_vertexScaling > kNodeStep, -1};
}

bool OnNodesSmaller(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost&)
{
    if (!OnUpdateNodesSmaller(doc, settings, engine).enabled)
        return false;
    settings.m_vertexScaling -= kNodeStep;
    RebuildCurrentSector(*engine);
    return true;
}

// ---- Switches ----

CCommandState OnUpdateCollision(const CDocumentState&, const CSettings& settings, const C3dView*)
{
    return {true, Check(settings.m_collision != 0)};
}

bool OnCollision(CDocumentState&, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    CWaitCursorScope wait(host);
    settings.m_collision = Toggled(settings.m_collision);
    if (settings.m_collision != 0)
        settings.m_lock = 0;
    if (engine != nullptr)
        ForcedFrame(*engine);
    return true;
}

CCommandState OnUpdateLockSector(const CDocumentState&, const CSettings& settings, const C3dView*)
{
    return {true, Check(settings.m_lock != 0)};
}

bool OnLockSector(CDocumentState&, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    CWaitCursorScope wait(host);
    settings.m_lock = Toggled(settings.m_lock);
    if (settings.m_lock != 0)
        settings.m_collision = 0;
    if (engine != nullptr)
        ForcedFrame(*engine);
    return true;
}

CCommandState OnUpdateAdjoinRendering(const CDocumentState&, const CSettings& settings,
                                      const C3dView*)
{
    return {settings.m_adjoin != 1, Check(settings.m_adjoin == 2)};
}

bool OnAdjoinRendering(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    if (!OnUpdateAdjoinRendering(doc, settings, engine).enabled)
        return false;
    CWaitCursorScope wait(host);
    if (settings.m_adjoin == 0)
        settings.m_adjoin = 2;
    else if (settings.m_adjoin == 2)
        settings.m_adjoin = 0;
    if (HasSector(engine)) {
        RebuildCurrentSector(*engine);
        UpdateViews(host);
    }
    return true;
}

CCommandState OnUpdateObjectRendering(const CDocumentState&, const CSettings& settings,
                                      const C3dView*)
{
    return {true, Check(settings.m_threeDoDistance > 0.0f)};
}

bool OnObjectRendering(CDocumentState&, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    CWaitCursorScope wait(host);
    if (settings.m_threeDoDistance == 0.0f)
        settings.m_threeDoDistance = settings.m_horizonDistance;
    else
        settings.m_threeDoDistance = 0.0f;
    if (engine != nullptr)
        ForcedFrame(*engine);
    return true;
}

CCommandState OnUpdateEnlargeView(const CDocumentState& doc, const CSettings&,
                                  const C3dView* engine)
{
    return {engine != nullptr, Check(doc.m_enlargeView != 0)};
}

bool OnEnlargeView(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost&)
{
    if (!OnUpdateEnlargeView(doc, settings, engine).enabled)
        return false;
    doc.m_enlargeView = Toggled(doc.m_enlargeView);
    // The projection is made again at the render size: its field of view follows the switch.
    SetUpViewAndProjection(*engine, engine->m_viewport.m_renderWidth,
                           engine->m_viewport.m_renderHeight);
    ForcedFrame(*engine);
    return true;
}

// ---- All commands by id ----

namespace {

template <int Mode>
bool RunRenderMode(CDocumentState& doc, CSettings& settings, C3dView* engine, CEngineHost& host)
{
    return OnRenderMode(Mode, doc, settings, engine, host);
}

template <int Mode>
CCommandState UpdateRenderMode(const CDocumentState& doc, const CSettings& settings,
                               const C3dView* engine)
{
    return OnUpdateRenderMode(Mode, doc, settings, engine);
}

constexpr std::array<CViewCommand, 23> kCommands = {{
    {Cmd::kSectorMode, OnSectorMode, OnUpdateSectorMode},
    {Cmd::kLight, OnLight, OnUpdateLight},
    {Cmd::kSurfaceMode, OnSurfaceMode, OnUpdateSurfaceMode},
    {Cmd::kTexturing, OnTexturing, OnUpdateTexturing},
    {Cmd::kVertexMode, OnVertexMode, OnUpdateVertexMode},
    {Cmd::kObjectMode, OnObjectMode, OnUpdateObjectMode},
    {Cmd::kAllSectorsRendered, RunRenderMode<0>, UpdateRenderMode<0>},
    {Cmd::kSectorRenderedWireframes, RunRenderMode<1>, UpdateRenderMode<1>},
    {Cmd::kAllSectorsWireframes, RunRenderMode<2>, UpdateRenderMode<2>},
    {Cmd::kSectorRendered, RunRenderMode<3>, UpdateRenderMode<3>},
    {Cmd::kSectorWireframe, RunRenderMode<4>, UpdateRenderMode<4>},
    {Cmd::kGridOn, OnGridOn, OnUpdateGridOn},
    {Cmd::kGridSurfaceOnly, OnGridSurfaceOnly, OnUpdateGridSurfaceOnly},
    {Cmd::kGridEdgesOnly, OnGridEdgesOnly, OnUpdateGridEdgesOnly},
    {Cmd::kGridSmaller, OnGridSmaller, OnUpdateGridSmaller},
    {Cmd::kGridLarger, OnGridLarger, OnUpdateGridLarger},
    {Cmd::kNodesLarger, OnNodesLarger, OnUpdateNodesLarger},
    {Cmd::kNodesSmaller, OnNodesSmaller, OnUpdateNodesSmaller},
    {Cmd::kCollision, OnCollision, OnUpdateCollision},
    {Cmd::kLockSector, OnLockSector, OnUpdateLockSector},
    {Cmd::kAdjoinRendering, OnAdjoinRendering, OnUpdateAdjoinRendering},
    {Cmd::kObjectRendering, OnObjectRendering, OnUpdateObjectRendering},
    {Cmd::kEnlargeView, OnEnlargeView, OnUpdateEnlargeView},
}};

}  // namespace

std::span<const CViewCommand> ViewCommandTable()
{
    return kCommands;
}

const CViewCommand* FindViewCommand(int id)
{
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [id](const CViewCommand& command) { return command.id == id; });
    return it != kCommands.end() ? &*it : nullptr;
}
