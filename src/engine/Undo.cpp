#include "engine/Undo.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "framework/Settings.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "level/VertexUses.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace {

using SnapshotList = std::vector<std::unique_ptr<CUndoSnapshot>>;

// "UndoRedo": the number of snapshots each list keeps; 0 or less switches undo off.
std::size_t Depth(const C3dView& view)
{
    const std::int32_t depth = view.GetSettings().m_undoRedo;
    return depth > 0 ? static_cast<std::size_t>(depth) : 0;
}

std::unique_ptr<CUndoSnapshot> TakeSnapshot(const C3dView& view)
{
    auto snapshot = std::make_unique<CUndoSnapshot>();
    snapshot->StoreLevel(view.GetLevel());
    snapshot->m_currentSector = view.m_selection.m_sector;
    snapshot->m_currentSurface = view.m_selection.m_surface;
    snapshot->m_currentThing = view.m_selection.m_thing;
    snapshot->m_currentVertex = view.m_selection.m_vertex;
    snapshot->m_vertexSurface = view.m_selection.m_vertexSurface;
    snapshot->m_cameraPosition = view.m_camera.m_position;
    snapshot->m_cameraAxis1 = view.m_camera.m_forwardAxis;
    snapshot->m_cameraAxis2 = view.m_camera.m_upAxis;
    return snapshot;
}

// Restores the level, then the selection and the camera of snapshot. When the snapshot does not
// read back the exception leaves everything as it was.
void ApplySnapshot(C3dView& view, const CUndoSnapshot& snapshot)
{
    CQzlSections& level = view.GetLevel();
    snapshot.LoadLevel(level);
    CountVertexUses(level);

    view.m_selection.m_sector = snapshot.m_currentSector;
    view.m_selection.m_surface = snapshot.m_currentSurface;
    view.m_selection.m_thing = snapshot.m_currentThing;
    view.m_selection.m_vertex = snapshot.m_currentVertex;
    view.m_selection.m_vertexSurface = snapshot.m_vertexSurface;
    view.m_camera.m_position = snapshot.m_cameraPosition;
    view.m_camera.m_forwardAxis = snapshot.m_cameraAxis1;
    view.m_camera.m_upAxis = snapshot.m_cameraAxis2;

    view.GetHost().SetModifiedFlag(true);
    // Copies taken before the restore may name records the level no longer has.
    view.m_clipboard.m_surface.reset();
    view.m_clipboard.m_thing.reset();
}

void Append(SnapshotList& list, std::unique_ptr<CUndoSnapshot> snapshot, std::size_t depth)
{
    list.push_back(std::move(snapshot));
    if (list.size() > depth)
        list.erase(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(list.size() - depth));
}

}  // namespace

void SaveUndoState(C3dView& view)
{
    const std::size_t depth = Depth(view);
    if (depth == 0)
        return;
    CQzlSections& level = view.GetLevel();
    Append(level.m_undoList, TakeSnapshot(view), depth);
    level.m_redoList.clear();
    view.GetHost().SetModifiedFlag(true);
}

bool RestoreState(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    if (Depth(view) == 0 || level.m_undoList.empty())
        return false;
    ApplySnapshot(view, *level.m_undoList.back());
    level.m_undoList.pop_back();
    return true;
}

bool Undo(C3dView& view)
{
    const std::size_t depth = Depth(view);
    CQzlSections& level = view.GetLevel();
    if (depth == 0 || level.m_undoList.empty())
        return false;
    // The current state is taken before anything changes and goes straight to the redo list, so
    // the snapshot to restore is never pushed out of the undo list by it.
    std::unique_ptr<CUndoSnapshot> current = TakeSnapshot(view);
    RestoreState(view);
    Append(level.m_redoList, std::move(current), depth);
    return true;
}

bool Redo(C3dView& view)
{
    const std::size_t depth = Depth(view);
    CQzlSections& level = view.GetLevel();
    if (depth == 0 || level.m_redoList.empty())
        return false;
    std::unique_ptr<CUndoSnapshot> current = TakeSnapshot(view);
    ApplySnapshot(view, *level.m_redoList.back());
    level.m_redoList.pop_back();
    Append(level.m_undoList, std::move(current), depth);
    return true;
}
