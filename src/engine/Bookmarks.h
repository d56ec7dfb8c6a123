#pragma once
// Camera bookmarks: ten numbered slots (Ctrl+digit stores, the digit recalls) kept in the level's
// bookmark list, so they are saved with the level and survive undo and redo. Each entry holds the
// camera position, then the forward axis in extra[0..2] and the up axis in extra[3..5].

class C3dView;

// Writes the engine's camera position, forward axis and up axis into entry slot of the level's
// bookmark list, growing the list with all-zero entries to slot + 1 entries when it is shorter.
// A negative slot does nothing.
void StoreCameraBookmark(C3dView& view, int slot);

// Moves the camera to entry slot: the stored position and axes become the engine's, the view
// matrix follows (SetCameraAxes, SetCameraPosition), the current sector becomes the sector met
// by a ray cast straight down from the camera (kept when the ray meets none), the current
// surface is cleared, both focus points become the camera position and one forced frame is
// asked for with the camera-jump flag set around it; the wait cursor is shown meanwhile.
// Nothing happens for a slot outside the list, or for an entry that cannot make a view (a zero
// axis, as in the zero-filled slots that storing a later slot leaves, or a value that is not a
// finite number).
void RecallCameraBookmark(C3dView& view, int slot);
