#pragma once
// Find Item: makes a sector, a surface or a thing current by its number and puts the camera in
// front of it, then shows the level from there at once.

class C3dView;

// What Find Item looks for.
enum class EFindItem {
    None,     // nothing chosen: the view is only drawn again
    Sector,   // the camera is reset onto the sector's centre (ResetCameraTarget)
    Surface,  // 0.5 in front of the middle of its corners, looking at it
    Thing,    // 0.5 behind the thing along z, looking along +z
};

// Makes item index of kind current (the rest of the selection is cleared, as a pick does) and
// places the camera: a surface's sector becomes the first sector that lists it (none lists it:
// the current sector stays), a thing's sector the thing's own. The view direction and the up axis
// (0, 1, 0), made square to it ((0, 0, 1) when it points straight up or down), become the camera
// axes. Then, with the camera-placed flag set, a frame is drawn at once and every view of the
// document is updated. An index the level does not have chooses nothing.
void FindItem(C3dView& view, EFindItem kind, int index);
