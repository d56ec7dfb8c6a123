#include "edit/SelectionDelete.h"

#include "edit/Link.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/Questions.h"
#include "engine/RenderData.h"
#include "engine/SelectionTests.h"
#include "engine/ThingModels.h"
#include "engine/Undo.h"
#include "engine/Visibility.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "level/DeleteRenumber.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr const char* kTooFewCorners =
    "Cannot delete Vertex.\n\nSurfaces must have at least 3 vertices.";
constexpr const char* kLastSector = "Cannot delete Sector.\n\nThere must be at least 1 sector.";

// The sectors whose surface lists hold one of surfaces, in index order.
std::vector<int> SectorsListing(const CQzlSections& level, const std::vector<int>& surfaces)
{
    std::vector<int> sectors;
    for (std::size_t i = 0; i < level.m_sectors.size(); ++i) {
        for (const std::int32_t f : level.m_sectors[i]->m_surfaces) {
            if (std::find(surfaces.begin(), surfaces.end(), f) != surfaces.end()) {
                sectors.push_back(static_cast<int>(i));
                break;
            }
        }
    }
    return sectors;
}

}  // namespace

std::optional<EDeleteTarget> CurrentDeleteTarget(const C3dView& view)
{
    const CSelection& selection = view.m_selection;
    if (selection.m_vertex >= 0)
        return EDeleteTarget::Vertex;
    if (selection.m_surface >= 0)
        return EDeleteTarget::Surface;
    if (selection.m_thing >= 0)
        return EDeleteTarget::Thing;
    if (selection.m_sector >= 0)
        return EDeleteTarget::Sector;
    return std::nullopt;
}

const char* DeleteQuestion(EDeleteTarget target)
{
    switch (target) {
    case EDeleteTarget::Vertex:
        return "Do you want to delete the current vertex?";
    case EDeleteTarget::Surface:
        return "Do you want to delete the current surface?";
    case EDeleteTarget::Thing:
        return "Do you want to delete the current object?";
    case EDeleteTarget::Sector:
        return "Do you want to delete the current sector?";
    }
    return "";
}

bool DeleteSelectedVertex(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    const CQzlVertex* corner = CurrentCorner(view);
    if (corner == nullptr || !InRange(level.m_worldVertices, corner->m_worldVertex))
        return false;
    const std::int32_t vertex = corner->m_worldVertex;
    CWaitCursorScope wait(view.GetHost());

    // Every surface on the vertex loses its corners there, and each must keep three.
    std::vector<int> losing;
    for (std::size_t f = 0; f < level.m_surfaces.size(); ++f) {
        const std::vector<CQzlVertex>& corners = level.m_surfaces[f]->m_vertices;
        const auto uses = std::count_if(corners.begin(), corners.end(), [vertex](const auto& c) {
            return c.m_worldVertex == vertex;
        });
        if (uses == 0)
            continue;
        if (corners.size() - static_cast<std::size_t>(uses) < 3) {
            view.GetHost().ShowMessage(kTooFewCorners);
            return false;
        }
        losing.push_back(static_cast<int>(f));
    }

    // The start vertex stays on its corner record; when that corner goes it stays at its
    // position, and past the last corner it goes back to the first.
    for (const int f : losing) {
        CQzlSurface& surface = *At(level.m_surfaces, f);
        std::int32_t start = surface.m_startVertex;
        std::int32_t kept = 0;
        for (std::int32_t i = 0; i < std::ssize(surface.m_vertices); ++i) {
            if (At(surface.m_vertices, i).m_worldVertex != vertex)
                ++kept;
            else if (i < surface.m_startVertex)
                --start;
        }
        surface.m_startVertex = start >= 0 && start < kept ? start : 0;
    }
    const std::vector<int> sectors = SectorsListing(level, losing);
    RemoveVertexRefs(level, vertex, true);

    view.m_selection.m_vertex = -1;
    RebuildSectors(view, sectors);
    return true;
}

bool DeleteSelectedSurface(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const int surface = selection.m_surface;
    if (!InRange(level.m_surfaces, surface))
        return false;
    const std::vector<int> sectors = SectorsListing(level, {surface});

    const bool adjoined = SurfaceHasAdjoin(view);
    if (adjoined)
        UnlinkSurface(view, true);
    DeleteSurface(level, view.GetGame(), surface);
    if (adjoined)
        ProcessSectors(view);

    // A vertex cannot stay current without its surface.
    selection.m_vertexSurface = -1;
    selection.m_vertex = -1;
    selection.m_surface = -1;
    RebuildSectors(view, sectors);
    return true;
}

bool DeleteSelectedThing(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    const int thing = view.m_selection.m_thing;
    if (!InRange(level.m_things, thing))
        return false;
    ReleaseThingModel(view, thing);
    DeleteThing(level, view.GetGame(), thing);
    view.m_selection.m_thing = -1;
    view.GetHost().RequestFrame(true);
    view.GetHost().SetModifiedFlag(true);
    return true;
}

bool DeleteSelectedSector(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const int sector = selection.m_sector;
    if (!InRange(level.m_sectors, sector))
        return false;
    CWaitCursorScope wait(view.GetHost());
    if (level.m_sectors.size() < 2) {
        view.GetHost().ShowMessage(kLastSector);
        return false;
    }
    CDocumentState& document = view.GetDocument();
    document.m_gridOn = 0;
    document.m_editMode = 0;

    // Its surfaces, each adjoined one unlinked first; the sectors of the former twins are
    // rebuilt at the end.
    std::vector<int> twinSectors;
    std::vector<std::int32_t>& list = At(level.m_sectors, sector)->m_surfaces;
    while (!list.empty()) {
        const std::int32_t surface = list.front();
        if (!InRange(level.m_surfaces, surface)) {
            list.erase(list.begin());
            continue;
        }
        selection.m_surface = surface;
        if (SurfaceHasAdjoin(view)) {
            const CTwin twin = FindTwin(level, surface);
            if (twin.m_sector >= 0 && twin.m_sector != sector)
                twinSectors.push_back(twin.m_sector);
            UnlinkSurface(view, false);
        }
        DeleteSurface(level, view.GetGame(), surface);
    }
    selection.m_surface = -1;
    selection.m_vertexSurface = -1;

    DeleteSectorThings(view, sector);
    DeleteSector(level, view.GetGame(), sector);
    level.LinkAdjoins();

    selection.m_vertex = -1;
    selection.m_sector = -1;
    for (std::size_t s = static_cast<std::size_t>(sector); s < level.m_sectors.size(); ++s) {
        level.m_sectors[s]->m_number = static_cast<std::int32_t>(s);
        RebuildSector(view, static_cast<int>(s));
    }
    // Twins in the sectors before it; those behind it were rebuilt above.
    std::sort(twinSectors.begin(), twinSectors.end());
    twinSectors.erase(std::unique(twinSectors.begin(), twinSectors.end()), twinSectors.end());
    for (const int twinSector : twinSectors)
        if (twinSector < sector)
            RebuildSector(view, twinSector);
    ProcessSectors(view);
    return true;
}

void DeleteSectorThings(C3dView& view, int sector)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    for (std::size_t t = level.m_things.size(); t-- > 0;) {
        const int index = static_cast<int>(t);
        std::int32_t& thingSector = level.m_things[t]->m_sector;
        if (thingSector == sector) {
            ReleaseThingModel(view, index);
            DeleteThing(level, view.GetGame(), index);
            if (selection.m_thing == index)
                selection.m_thing = -1;
            else if (selection.m_thing > index)
                --selection.m_thing;
        } else if (thingSector > sector) {
            --thingSector;
        }
    }
}

bool DeleteSelected(C3dView& view, EDeleteTarget target)
{
    switch (target) {
    case EDeleteTarget::Vertex:
        return DeleteSelectedVertex(view);
    case EDeleteTarget::Surface:
        return DeleteSelectedSurface(view);
    case EDeleteTarget::Thing:
        return DeleteSelectedThing(view);
    case EDeleteTarget::Sector:
        return DeleteSelectedSector(view);
    }
    return false;
}

bool CanDelete(const C3dView& view)
{
    const CSelection& selection = view.m_selection;
    return selection.m_sector >= 0 || selection.m_surface >= 0 || selection.m_thing >= 0;
}

bool RunDeleteCommand(C3dView& view, EDeleteTarget target)
{
    if (!Confirm(view, DeleteQuestion(target)))
        return false;
    return RunUndoable(view, [&view, target] { return DeleteSelected(view, target); });
}

bool RunDeleteCommand(C3dView& view)
{
    const std::optional<EDeleteTarget> target = CurrentDeleteTarget(view);
    if (!CanDelete(view) || !target)
        return false;
    return RunDeleteCommand(view, *target);
}
