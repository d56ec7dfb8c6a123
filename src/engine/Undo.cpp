#include "engine/Undo.h"

#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "framework/Settings.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "level/VertexUses.h"

#include <cstddef>
#include <iterator>
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

// The snapshot shares the blocks that the newest snapshot of reference (if any) holds unchanged.
std::unique_ptr<CUndoSnapshot> TakeSnapshot(const C3dView& view, const SnapshotList& reference)
{
    auto snapshot = std::make_unique<CUndoSnapshot>();
    snapshot->StoreLevel(view.GetLevel(), reference.empty() ? nullptr : reference.back().get());
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

// Restores the level, then the selection and the camera of snapshot. levelNow, when given, is the
// snapshot just taken of the level (beside snapshot): what the two share stays in place. When the
// snapshot does not read back the exception leaves everything as it was.
void ApplySnapshot(C3dView& view, const CUndoSnapshot& snapshot,
                   const CUndoSnapshot* levelNow = nullptr)
{
    CQzlSections& level = view.GetLevel();
    snapshot.LoadLevel(level, levelNow);
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

// Appends snapshot, then drops the oldest beyond depth; those dropped go to pushedOut, oldest
// first, when it is given.
void Append(SnapshotList& list, std::unique_ptr<CUndoSnapshot> snapshot, std::size_t depth,
            SnapshotList* pushedOut = nullptr)
{
    list.push_back(std::move(snapshot));
    if (list.size() <= depth)
        return;
    const auto end = list.begin() + static_cast<std::ptrdiff_t>(list.size() - depth);
    if (pushedOut != nullptr)
        pushedOut->assign(std::make_move_iterator(list.begin()), std::make_move_iterator(end));
    list.erase(list.begin(), end);
}

// Shows a restored level: the Surface view, every sector rebuilt, every view updated.
void ShowRestoredLevel(C3dView& view)
{
    CEngineHost& host = view.GetHost();
    host.SwitchPropertyView(PropertyView::kSurface);
    RebuildAll(view, false, ERebuildAll::Restore);
    host.UpdateAllViews(0);
}

}  // namespace

void SaveUndoState(C3dView& view)
{
    CUndoStep(view).Commit();
}

CUndoStep::CUndoStep(C3dView& view) : m_view(view)
{
    const std::size_t depth = Depth(view);
    if (depth == 0)
        return;
    CQzlSections& level = view.GetLevel();
    // The newest undo step is the state the edit starts from: all it leaves alone is shared.
    std::unique_ptr<CUndoSnapshot> snapshot = TakeSnapshot(view, level.m_undoList);
    // Nothing below throws: the lists change only once the snapshot is made.
    Append(level.m_undoList, std::move(snapshot), depth, &m_pushedOut);
    m_redo = std::move(level.m_redoList);
    level.m_redoList.clear();
    m_open = true;
}

CUndoStep::~CUndoStep()
{
    if (!m_open)
        return;
    // Dropped: the lists as they were. The snapshot taken is the newest undo entry.
    CQzlSections& level = m_view.GetLevel();
    if (!level.m_undoList.empty())
        level.m_undoList.pop_back();
    level.m_undoList.insert(level.m_undoList.begin(), std::make_move_iterator(m_pushedOut.begin()),
                            std::make_move_iterator(m_pushedOut.end()));
    level.m_redoList = std::move(m_redo);
}

void CUndoStep::Commit()
{
    // The edit changed the document, with or without undo ("UndoRedo" 0 keeps no snapshot).
    m_view.GetHost().SetModifiedFlag(true);
    if (!m_open)
        return;
    m_open = false;
    m_pushedOut.clear();
    m_redo.clear();
}

bool RunUndoable(C3dView& view, const std::function<bool()>& operation)
{
    CUndoStep step(view);
    if (!operation())
        return false;
    step.Commit();
    return true;
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
    std::unique_ptr<CUndoSnapshot> current = TakeSnapshot(view, level.m_undoList);
    ApplySnapshot(view, *level.m_undoList.back(), current.get());
    level.m_undoList.pop_back();
    Append(level.m_redoList, std::move(current), depth);
    return true;
}

bool Redo(C3dView& view)
{
    const std::size_t depth = Depth(view);
    CQzlSections& level = view.GetLevel();
    if (depth == 0 || level.m_redoList.empty())
        return false;
    std::unique_ptr<CUndoSnapshot> current = TakeSnapshot(view, level.m_redoList);
    ApplySnapshot(view, *level.m_redoList.back(), current.get());
    level.m_redoList.pop_back();
    Append(level.m_undoList, std::move(current), depth);
    return true;
}

bool UndoCommand(C3dView& view)
{
    if (!Undo(view))
        return false;
    ShowRestoredLevel(view);
    return true;
}

bool RedoCommand(C3dView& view)
{
    if (!Redo(view))
        return false;
    ShowRestoredLevel(view);
    return true;
}

bool CanUndo(const C3dView& view)
{
    return Depth(view) > 0 && !view.GetLevel().m_undoList.empty();
}

bool CanRedo(const C3dView& view)
{
    return Depth(view) > 0 && !view.GetLevel().m_redoList.empty();
}
