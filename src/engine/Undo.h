#pragma once
// Whole-level undo and redo of the engine: every edit is preceded by a snapshot of the level's
// records with the selection and the camera (CUndoSnapshot); Undo and Redo swap whole snapshots.
// The undo and redo lists live in the level, oldest first, each holding at most "UndoRedo"
// snapshots; with "UndoRedo" 0 (or below) nothing here does anything.
//
// After Undo, Redo or RestoreState have restored a snapshot the level's use counts are current,
// the clipboard surface and thing are empty (their indices may not fit the restored level) and
// the document is marked modified; the caller rebuilds all render data and updates the views
// (UndoCommand and RedoCommand do all of it).

#include <functional>
#include <memory>
#include <vector>

class C3dView;
class CUndoSnapshot;

// Takes a snapshot of the level, the selection and the camera onto the undo list, dropping the
// oldest beyond "UndoRedo", and empties the redo list: a new edit starts a new history. Marks the
// document modified. Every edit that cannot be refused calls this before it changes anything.
void SaveUndoState(C3dView& view);

// The undo step of an edit that may be refused: the constructor takes the snapshot as
// SaveUndoState does, Commit keeps it, and a step that is not committed (the edit was refused,
// or it threw) is dropped again by the destructor: the undo list, the redo list and the modified
// flag are then exactly as they were before the constructor. The edit itself refuses before it
// changes the level.
//
//     CUndoStep step(view);
//     if (!Operation(view, ...))
//         return;  // refused: the step goes
//     step.Commit();
class CUndoStep {
public:
    explicit CUndoStep(C3dView& view);
    ~CUndoStep();
    CUndoStep(const CUndoStep&) = delete;
    CUndoStep& operator=(const CUndoStep&) = delete;

    // The edit went through: the snapshot stays on the undo list, the redo list is gone and the
    // document is marked modified (also with undo switched off).
    void Commit();

private:
    C3dView& m_view;
    bool m_open = false;
    // What taking the snapshot pushed aside, given back when the step is dropped: the oldest
    // undo snapshots beyond "UndoRedo" and the redo list.
    std::vector<std::unique_ptr<CUndoSnapshot>> m_pushedOut;
    std::vector<std::unique_ptr<CUndoSnapshot>> m_redo;
};

// Runs operation (false: refused) inside an undo step; its result.
bool RunUndoable(C3dView& view, const std::function<bool()>& operation);

// Replaces the level, the selection and the camera by the newest undo snapshot and removes it
// from the list. False when there is none (or "UndoRedo" is 0).
bool RestoreState(C3dView& view);

// The current state goes onto the redo list, then the newest undo snapshot is restored. False,
// with nothing changed, when the undo list is empty.
bool Undo(C3dView& view);

// The current state goes onto the undo list (so that a following Undo returns to it), then the
// newest redo snapshot is restored and removed. False, with nothing changed, when the redo list
// is empty.
bool Redo(C3dView& view);

// The Undo and Redo commands of the document: Undo or Redo, then everything the restored level
// needs to be shown: the Surface view in the property pane, all render data rebuilt (the camera
// stays where the snapshot put it) and every view updated. False, with nothing done, when there
// is nothing to restore. The application runs them inside the 3D view's device scope.
bool UndoCommand(C3dView& view);
bool RedoCommand(C3dView& view);

// Whether the commands have something to restore: the undo list, or the redo list, is not empty.
[[nodiscard]] bool CanUndo(const C3dView& view);
[[nodiscard]] bool CanRedo(const C3dView& view);
