#pragma once
// Find Item: makes a sector, a surface or a thing current by its number and puts the camera in
// front of it, then shows the level from there at once.

#include "math/Vector3.h"

class C3dView;
class CQzlSections;
class CQzlSurface;

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

// The plain mean of the positions of surface's corners (corners naming no world vertex are left
// out; none at all gives the origin).
[[nodiscard]] CVector3 CornerMean(const CQzlSections& level, const CQzlSurface& surface);

// The camera at position looking along direction ((0, 0, 1) when it has no length), with the up
// axis (0, 1, 0) made square to it ((0, 0, 1) when the view points straight up or down).
void LookAlong(C3dView& view, const CVector3& position, const CVector3& direction);
