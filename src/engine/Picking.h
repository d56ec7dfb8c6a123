#pragma once
// Mouse and scroll input of a 3D view: the pick under a left click, the drags of the left and
// right buttons, the pans of the L, R, U and D keys and of the scroll bars, and the camera reset
// of View Move "&Middle".
//
// Mouse points are client pixels of the view window. While the "StretchMode" setting is on (and
// the engine is not a dialog preview) they are scaled to the render size first (ScaleMousePoint).
// Modifier keys are read through the engine's KeyState when an operation runs. Pane switches,
// view updates and frames go through the engine's host.

#include "engine/CommandIds.h"
#include "math/Matrix.h"

#include <cstdint>

class C3dView;

// The mouse buttons HandleMouseMove is given, as a bit set.
inline constexpr int kMouseLeft = 1;
inline constexpr int kMouseRight = 2;

// Pan codes of the scroll bars (and of the L, R, U, D keys: 0 and 1).
inline constexpr int kPanLineLeft = 0;   // also line up
inline constexpr int kPanLineRight = 1;  // also line down
inline constexpr int kPanPageLeft = 2;
inline constexpr int kPanPageRight = 3;
inline constexpr int kPanThumbTrack = 5;

// A homogeneous point (x, y, z, w).
struct CVector4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    friend constexpr bool operator==(const CVector4&, const CVector4&) = default;
};

// out = the row vector v times m (all four columns); returns out.
CVector4& TransformVector4(CVector4& out, const CVector4& v, const D3DMATRIX& m);

// While the engine is not a preview and "StretchMode" is on: x becomes x x render width / view
// width and y becomes y x render height / view height (integer arithmetic, multiply first; the
// view size is that of the engine's view rectangle). A view rectangle without width (or height)
// leaves x (or y) as it is.
void ScaleMousePoint(const C3dView& view, int& x, int& y);

// What a pick ray met: the indices CastRay reports (-1 none).
struct CPickHit {
    int sector = -1;
    int surface = -1;
    int thing = -1;
    int marker = -1;
};

// The left click at (x, y): nothing while walk mode is on, in edit mode 2 or while the Object
// Frames window is open, nor for a view without a render size. Otherwise the ray through the
// point (near plane to far plane of the inverse of world x view x projection) is cast in picking
// mode (markers and things included, invisible portals passed) and a hit is applied with
// ApplyPickHit, Ctrl read before the cast.
void PickAtPoint(C3dView& view, int x, int y);

// The selection change of a pick that met hit, ctrl telling whether Ctrl was held:
// - without Ctrl the marks of the corners of the current vertex's surface are cleared first;
// - a corner marker makes its corner the current vertex and marks it, adds its point to the last
//   picked points, shows the vertex view, updates the views with hint surface + 2 (1 with the
//   Sector Mode switch on) and rebuilds the current sector;
// - a grid-node marker is coloured "ColorSelect" and its node added to the picked grid nodes
//   (without Ctrl the others go back to "ColorGrid" and the list starts anew) and to the last
//   picked points; vertex view, hint current surface + 2 (or 1);
// - a surface or thing deletes every marker and, unless "Lock" keeps the selection (no current
//   sector, or the hit sector outside the current sector's visible set), selects the hit sector
//   with its surface (none with the Sector Mode switch on) or its thing; the surface view (and a
//   rebuild of the current sector) or the things view, hint 0, locked or not.
// A hit of nothing changes nothing.
void ApplyPickHit(C3dView& view, const CPickHit& hit, bool ctrl);

// A mouse move with buttons (kMouseLeft | kMouseRight) held at (x, y). Step s = 0.4 with Shift,
// else 0.1 with Ctrl, else 0.2. dx and dy are anchor minus point; the first event of a drag sets
// the anchor to the point, every event moves it to the point.
// - Right button: turn about +y by -s x dx x 0.05 and move by s x dy x 0.1; with the grid off and
//   no Object Frames window the selection below the sector and the markers are dropped; a forced
//   frame. Without the right button its anchor is dropped.
// - Left button, by edit mode: 4 shifts the current surface's texture (u -= s dx, v -= s dy,
//   rounded to 0.001); 2 slides the current surface horizontally by s/10 along the camera's
//   ground axes (only the signs of dx and dy count); 7 slides the current thing by 0.01 likewise;
//   6 moves the current vertex by 0.01 x (-dx along its edge + dy across it in the surface's
//   plane), rounded to 0.01. Without the mode's element, or in another mode, or without the left
//   button, its anchor is dropped.
void HandleMouseMove(C3dView& view, int buttons, int x, int y);

// View Move "&Middle": the camera goes to the current sector's centre (the middle of the level
// box without one) looking along +z with +y up; the scroll positions become 0, the previous camera
// state takes the current one, and a forced frame is drawn with the camera-placed flag set.
void ResetCameraTarget(C3dView& view);

// Pans by scroll code (0: -1, 1: +1, 2: -5, 3: +5, 5: position - last position, other: 0); the
// last position of the bar moves by the step truncated to an integer; with Enlarge View on the
// step is a fifth. Horizontal: the camera moves by -0.01 x step x (-look.z, 0, look.x). Vertical:
// by -0.01 x step x the up axis. Then a forced frame.
void PanCameraHorizontal(C3dView& view, int code, int position);
void PanCameraVertical(C3dView& view, int code, int position);
