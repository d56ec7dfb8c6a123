#include "episode/ErrorShow.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/FindItem.h"
#include "engine/FrameRender.h"
#include "engine/Picking.h"
#include "engine/RenderData.h"
#include "framework/Indices.h"
#include "level/QzlSections.h"
#include "math/Vector3.h"

namespace {

constexpr float kStandOff = 0.5f;

// The surface at index, null when the level has none there.
CQzlSurface* SurfaceAt(CQzlSections& level, int index)
{
    return InRange(level.m_surfaces, index) ? At(level.m_surfaces, index).get() : nullptr;
}

// Drops the selection but the current sector, and the marks of the corners of the surface whose
// vertex was current, as a pick does.
void ClearSelection(C3dView& view)
{
    CSelection& selection = view.m_selection;
    if (CQzlSurface* marked = SurfaceAt(view.GetLevel(), selection.m_vertexSurface))
        for (CQzlVertex& corner : marked->m_vertices)
            corner.m_marked = 0;
    selection.m_surface = -1;
    selection.m_thing = -1;
    selection.m_vertex = -1;
    selection.m_vertexSurface = -1;
}

void LookAtThing(C3dView& view, const CQzlThing& thing)
{
    const CVector3 along(0.0f, 0.0f, 1.0f);
    LookAlong(view, thing.m_position - along * kStandOff, along);
}

}  // namespace

EErrorShow ErrorShowCase(const CErrorEntry& e)
{
    if (e.m_sector >= 0) {
        if (e.m_surface >= 0 && e.m_thing == -1)
            return e.m_vertex == -1  ? EErrorShow::Surface
                   : e.m_vertex >= 0 ? EErrorShow::Vertex
                                     : EErrorShow::None;
        if (e.m_surface == -1 && e.m_vertex == -1)
            return e.m_thing == -1  ? EErrorShow::Sector
                   : e.m_thing >= 0 ? EErrorShow::SectorThing
                                    : EErrorShow::None;
        return EErrorShow::None;
    }
    if (e.m_sector == -1 && e.m_surface == -1 && e.m_vertex == -1 && e.m_thing >= 0)
        return EErrorShow::Thing;
    return EErrorShow::None;
}

EErrorShow PlaceErrorEntry(C3dView& view, const CErrorEntry& entry)
{
    CQzlSections& level = view.GetLevel();
    const EErrorShow kind = ErrorShowCase(entry);
    const bool sector =
        InRange(level.m_sectors, entry.m_sector) && At(level.m_sectors, entry.m_sector);
    CQzlSurface* surface = SurfaceAt(level, entry.m_surface);
    const bool thing = InRange(level.m_things, entry.m_thing) && At(level.m_things, entry.m_thing);
    CSelection& selection = view.m_selection;

    switch (kind) {
    case EErrorShow::Sector:
        if (!sector)
            return EErrorShow::None;
        ClearSelection(view);
        selection.m_sector = entry.m_sector;
        ResetCameraTarget(view);
        return kind;
    case EErrorShow::Surface:
        if (!sector || surface == nullptr)
            return EErrorShow::None;
        ClearSelection(view);
        selection.m_sector = entry.m_sector;
        selection.m_surface = entry.m_surface;
        LookAlong(view, CornerMean(level, *surface) + surface->m_normal * kStandOff,
                  NegateVector(surface->m_normal));
        return kind;
    case EErrorShow::Vertex: {
        if (!sector || surface == nullptr || !InRange(surface->m_vertices, entry.m_vertex))
            return EErrorShow::None;
        CQzlVertex& corner = At(surface->m_vertices, entry.m_vertex);
        if (!InRange(level.m_worldVertices, corner.m_worldVertex))
            return EErrorShow::None;
        ClearSelection(view);
        selection.m_sector = entry.m_sector;
        selection.m_surface = entry.m_surface;
        selection.m_vertex = entry.m_vertex;
        selection.m_vertexSurface = entry.m_surface;
        corner.m_marked = 1;
        const CWorldVertex& w = At(level.m_worldVertices, corner.m_worldVertex);
        LookAlong(view, CVector3(w.x, w.y, w.z) + surface->m_normal * kStandOff,
                  NegateVector(surface->m_normal));
        RebuildSector(view, entry.m_sector, ERebuildCause::View);
        return kind;
    }
    case EErrorShow::SectorThing:
        if (!sector || !thing)
            return EErrorShow::None;
        ClearSelection(view);
        selection.m_sector = entry.m_sector;
        selection.m_thing = entry.m_thing;
        LookAtThing(view, *At(level.m_things, entry.m_thing));
        RebuildSector(view, entry.m_sector, ERebuildCause::View);
        return kind;
    case EErrorShow::Thing:
        if (!thing)
            return EErrorShow::None;
        ClearSelection(view);
        selection.m_thing = entry.m_thing;
        LookAtThing(view, *At(level.m_things, entry.m_thing));
        return kind;
    case EErrorShow::None:
        break;
    }
    return EErrorShow::None;
}

EErrorShow ShowErrorEntry(C3dView& view, const CErrorEntry& entry)
{
    const EErrorShow shown = PlaceErrorEntry(view, entry);
    view.m_camera.m_jump = 1;
    RenderFrame(view, 1);
    view.GetHost().UpdateAllViews(0);
    view.m_camera.m_jump = 0;
    return shown;
}
