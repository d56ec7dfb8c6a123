#pragma once
// The camera of a 3D view and the part of device set-up that every render device shares.
//
// The camera is the engine's view matrix itself (row vectors, translation in the fourth row): its
// first column (rows 0 to 2) is the right axis, its second column the up axis, its third column
// the forward axis. The engine keeps the camera position and the two axes beside it
// (C3dView::m_cameraPosition, m_forwardAxis, m_upAxis).
//
// Nothing here hands a transform to a device: a render device reads the engine's world, view and
// projection matrices when it draws.
//
// Alt held (read through the engine's KeyState when an operation runs) turns free movement into
// orbiting: the view matrix's translation row is then the truth, the camera position follows it.

#include "math/Vector3.h"

#include <cstdint>
#include <vector>

class C3dView;
class RenderDevice;

// Near plane of the projection.
inline constexpr float kNearPlane = 0.05f;

// ---- Camera ----

// The eye point: the fourth row of the inverse of the view matrix.
[[nodiscard]] CVector3 GetCameraPosition(const C3dView& view);

// Alt not held: the camera position becomes (x, y, z) and the view matrix's translation row is
// rebuilt from it. Alt held: the arguments are ignored; the camera position is read back from the
// view matrix, which stays as it is.
void SetCameraPosition(C3dView& view, float x, float y, float z);

// Alt not held: the camera position moves by distance along the stored forward axis and the
// translation row is rebuilt from it. Alt held: the orbit distance (view matrix [3][2]) shrinks by
// distance and the camera position is read back from the view matrix.
void MoveCamera(C3dView& view, float distance);

// The view matrix's third column becomes forward, its second up and its first up x forward.
// The translation row and the stored axes and position are left as they are.
void SetCameraAxes(C3dView& view, float fx, float fy, float fz, float ux, float uy, float uz);

// The view matrix's third column (forward) and second column (up).
void GetCameraAxes(const C3dView& view, CVector3& forward, CVector3& up);

// Turns the camera about the world axis (a, b, c) by factor: R = MatrixRotateXYZ(c*factor,
// b*factor, a*factor) applied before the view matrix. The new right axis is kept level (its y
// set to 0, normalised) and up = forward x right. Refused, leaving everything unchanged, when the
// forward axis would tilt beyond |y| = 0.95, the up axis would point downwards, or the right axis
// has no horizontal part. Otherwise the three columns are replaced and the stored axes follow.
// Alt not held: the camera turns about its own position (the translation row is rebuilt from
// the stored camera position). Alt held: the translation row is kept, so the view orbits.
void RotateCamera(C3dView& view, float a, float b, float c, float factor);

// ---- Device set-up shared by every render device ----

// Field of view of the projection: pi/3, or pi/8 while the document's enlarged-view flag is set.
[[nodiscard]] float FieldOfView(const C3dView& view);

// Empties the display-mode list and puts "None" (render at window size) in entry 0.
void ResetDisplayModes(C3dView& view);
// Appends "%ldx%ld" (width, height) to the display-mode list unless the mode has a colour depth
// of 32, 24, 16 or 8 bits that differs from the desktop's. Returns whether it was appended.
bool AddDisplayMode(C3dView& view, long width, long height, int bitsPerPixel, int desktopBits);

// Sets the render size (the back buffer's) for a device made for a window of width x height: in
// a document view whose "StretchMode" names an entry of the display-mode list after "None", the
// size written in that entry; otherwise the window's.
void ChooseRenderSize(C3dView& view, int width, int height);

// Indices of the device list in the order device creation tries them: the "Device" setting first
// (entry 0 when it names no entry), then every other entry in list order. Empty without devices.
// The caller stores each index it tries in "Device".
[[nodiscard]] std::vector<int> DeviceAttemptOrder(std::int32_t device, int deviceCount);

// After a device was made for a window of width x height: near plane kNearPlane, far plane
// "Horizon Distance", world and view matrices identity, projection matrix MatrixProjection with
// FieldOfView and aspect (height x 0.8) / width, the frustum data (+-half of the projection's x and
// y scale); then the camera is put back (its axes as they were before, and its stored position).
// Returns false, changing nothing, for a size that is not positive.
bool SetUpViewAndProjection(C3dView& view, int width, int height);

// The render states of device set-up that follow the settings: texture filtering is point
// sampling while "Texture Mapping" is non-zero ("Nearest" in the options) and linear when it is 0
// ("Linear"). Nothing happens without a device. Device set-up runs it after every creation of
// the device, and so after a change of the options.
void SetUpRenderStates(C3dView& view);

// Gives the engine device to draw with: every render object made so far is deleted, the texture
// cache starts anew on device and the skip flag is cleared. The caller rebuilds what the engine
// shows. device must outlive the engine or be detached first.
void AttachDevice(C3dView& view, RenderDevice& device);

// The engine's device goes (its context is about to be destroyed): every render object is deleted
// while the device still exists, and the engine draws nothing (skip flag set, render size 0)
// until a device is attached again. Level, selection and camera stay.
void DetachDevice(C3dView& view);

// The view window was resized to cx x cy. True when the device must be made again for that size
// (the caller then runs its device creation): only in a document view with a device attached
// (skip flag clear) and both sizes positive. With "StretchMode" 0 the render size becomes
// (cx, cy). Preview engines keep their size.
bool Resize(C3dView& view, int cx, int cy);
