#pragma once
// Whole-level undo and redo of the engine: every edit is preceded by a snapshot of the level's
// records with the selection and the camera (CUndoSnapshot); Undo and Redo swap whole snapshots.
// The undo and redo lists live in the level, oldest first, each holding at most "UndoRedo"
// snapshots; with "UndoRedo" 0 (or below) nothing here does anything.
//
// After Undo, Redo or RestoreState have restored a snapshot the level's use counts are current,
// the clipboard surface and thing are empty (their indices may not fit the restored level) and
// the document is marked modified; the caller rebuilds all render data and updates the views.

class C3dView;

// Takes a snapshot of the level, the selection and the camera onto the undo list, dropping the
// oldest beyond "UndoRedo", and empties the redo list: a new edit starts a new history. Marks the
// document modified. Every edit calls this before it changes anything.
void SaveUndoState(C3dView& view);

// Replaces the level, the selection and the camera by the newest undo snapshot and removes it
// from the list. False when there is none (or "UndoRedo" is 0).
bool RestoreState(C3dView& view);

// The Undo command: the current state goes onto the redo list, then the newest undo snapshot is
// restored. False, with nothing changed, when the undo list is empty.
bool Undo(C3dView& view);

// The Redo command: the current state goes onto the undo list (so that a following Undo returns
// to it), then the newest redo snapshot is restored and removed. False, with nothing changed, when
// the redo list is empty.
bool Redo(C3dView& view);
