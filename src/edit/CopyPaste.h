#pragma once
// Cut, Copy and Paste on the engine's own clipboard (C3dView::m_clipboard): one surface and one
// thing, private copies that live until the next Copy or Cut replaces them; pasting never uses
// them up. Copy takes the current thing, else the current surface. Paste gives the current
// surface the look of the clipboard surface, or, with no current surface, adds a copy of the
// clipboard thing at the focus point.

#include <functional>

class C3dView;
class CQzlSurface;
class CQzlThing;

// The current surface takes the look of source (CopySurfaceAttributes, edit/SurfaceLook.h) and
// its render vertices are refilled. Refused (false) without a current surface.
bool PasteSurface(C3dView& view, const CQzlSurface& source);

// A new thing copying source's template, name, angles, spare index, flags, velocity, frames and AI
// class (its run-time fields new), at the focus point snapped to the grid, in the current sector.
// It becomes the current thing and is shown (ShowNewThing, edit/NewThing.h: with the ghost when
// its model is found nowhere, as without the game's archive). Refused (false) without a current
// sector.
bool PasteThing(C3dView& view, const CQzlThing& source);

// ---- The commands "Cu&t Ctrl+X", "&Copy Ctrl+C, C" and "&Paste Ctrl+V, V" ----

// Copy and Cut: enabled while a surface or a thing is current.
[[nodiscard]] bool CanCopy(const C3dView& view);
[[nodiscard]] bool CanCut(const C3dView& view);
// Paste: enabled while a surface is current and the clipboard holds a surface, or a sector is
// current and the clipboard holds a thing.
[[nodiscard]] bool CanPaste(const C3dView& view);

// Empties the clipboard, then copies the current thing into it, else the current surface (with
// its corners). No undo step: the level does not change. True when something was copied.
bool RunCopyCommand(C3dView& view);

// The deletes of the selection that Cut runs after its copy (the Delete command's operations):
// of the current surface and of the current thing. Each returns false when it refused.
struct CCutDeletes {
    std::function<bool(C3dView&)> m_surface;
    std::function<bool(C3dView&)> m_thing;
};

// Copy, then the delete of what was copied: the current thing ("Do you want to delete the
// current object?"), else the current surface ("Do you want to delete the current surface?"),
// asked while "Warning" is on, then deleted inside an undo step. A current vertex plays no part:
// Cut never deletes something other than what it copied. True when the delete went through.
bool RunCutCommand(C3dView& view, const CCutDeletes& deletes);
// The Cut command: RunCutCommand with the selection deletes DeleteSelectedSurface and
// DeleteSelectedThing (edit/SelectionDelete.h).
bool RunCutCommand(C3dView& view);

// Inside an undo step: with no current surface and a clipboard thing, PasteThing; else with a
// current surface and a clipboard surface, PasteSurface; else nothing (false, no undo step), as
// with a current surface, a clipboard thing and no clipboard surface, which the command enables.
bool RunPasteCommand(C3dView& view);
