#pragma once
// The frame routine of a 3D view: which sectors, surfaces, things and markers one frame draws, in
// which order and in which colours, through the engine's render device.
//
// A frame clears the render target to "ColorBackground", draws the point markers, then (except in
// a dialog preview) the sectors chosen by the document's render mode and the "Collision" and
// "Lock" settings and the things in them, and last the translucent portals and surfaces from the
// farthest to the nearest with blending on. The preview model of a dialog's preview is drawn
// before the markers and turned by one step of its rotation per drawn frame. Unforced frames are
// capped at "FrameRate" per second, measured against the engine's own last-frame tick.
//
// Solid surfaces are drawn from a vertex buffer per sector that the device keeps (the render
// vertices of all its surfaces back to back): a sector is uploaded when first drawn and again only
// after its render stamp changed (RenderData's MarkSectorChanged). The sector pass collects these
// draws and hands them over at its end, one call for all the surfaces of each texture; when the
// camera stands inside closed rooms (FindEnclosure), the surfaces of the sectors outside them are
// left out, as the rooms' opaque walls hide them on every pixel. Wireframes,
// translucent and recoloured portals and sky surfaces stream their vertices each frame, as do all
// surfaces on a device that keeps no buffers.

#include "math/Matrix.h"
#include "math/Vector3.h"

#include <cstdint>
#include <vector>

class C3dView;
class CQzlSurface;

// A rectangle in pixels, right and bottom exclusive.
struct CFrameRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend constexpr bool operator==(const CFrameRect&, const CFrameRect&) = default;
};

// A colour setting 0x00BBGGRR as the clear colour 0x00RRGGBB (alpha 0).
[[nodiscard]] constexpr std::uint32_t ClearColorFromSetting(std::uint32_t bgr)
{
    return ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
}

// The diffuse colour of a translucent portal: alpha 0x7F and a fifth of each channel of the
// "ColorAdjoin" setting (0x00BBGGRR), truncated.
[[nodiscard]] std::uint32_t TransparentAdjoinColor(std::uint32_t colorAdjoin);

// The rotation that turns a onto -b (both of unit length): about the axis a x -b by the angle
// between them; the identity when they are parallel (|a x -b| <= 0.001).
[[nodiscard]] D3DMATRIX MatrixRotationBetween(const CVector3& a, const CVector3& b);

// The texture coordinates of a sky surface in walk mode: each lit vertex of the render mesh is
// taken into the frame of the camera turned so that the surface's normal points down its view
// axis; u = 0.25 x walkClock x du - x'/k and v = 0.25 x walkClock x dv - y'/k, with k its depth
// z' (0.1 x the header's ceiling-sky Z for a "Sky (Ceiling)" surface). A k smaller in size than
// 1e-4 (a vertex in the camera's plane, a ceiling-sky Z of 0) is taken as 1e-4 of the same sign,
// so the coordinates stay finite.
void SkyTextureCoordinates(const C3dView& view, CQzlSurface& surface, float du, float dv);

// True for a sky surface ("Sky (Wall)" or "Sky (Ceiling)"), whose texture coordinates walk mode
// lays out from the camera every frame (its tear-down gives them their stored ones back).
bool IsSkySurface(const CQzlSurface& surface);

// The sectors the frame goes through, in order: all sectors by index; with "Collision" on and a
// current sector, either the sectors found by the portal walk from it (with "RenderMethod" 1 and
// "Lock" off; ascending) or the current sector's visible set.
[[nodiscard]] std::vector<std::int32_t> FrameSectorList(C3dView& view);

// Whether a listed sector is drawn this frame before the box test: its centre lies nearer the
// focus point than "Horizon Distance"; with "Lock" on (and "RenderMethod" not 1, a current sector)
// it must also be in the current sector's visible set or in that of a sector of the walk-mode
// sector list; in render modes 3 and 4 only the current sector is drawn.
[[nodiscard]] bool SectorVisibleThisFrame(const C3dView& view, int sector);

// Whether a thing may be drawn, after the sectors of this frame have their visible flags:
// a thing outside every sector is drawn unless render mode 3 shows a current sector; a thing in a
// sector follows that sector's flag (with "Collision" off or no current sector), the portal walk
// (with "RenderMethod" 1 and "Lock" off) or the current sector's visible set. walked is the
// frame's portal-walk set, sorted.
[[nodiscard]] bool ThingDrawable(const C3dView& view, int thing,
                                 const std::vector<std::int32_t>& walked);

// The part of the render target that the area of a view of viewWidth x viewHeight pixels shows:
// the area's corners scaled by render size / view size (integer arithmetic, multiply first). A
// view without area (a window of width or height 0) gives the whole render target.
[[nodiscard]] CFrameRect SourceRectangle(const CFrameRect& area, int viewWidth, int viewHeight,
                                         int renderWidth, int renderHeight);

// Draws one frame. force 1 draws now whatever the frame cap says. Returns 1 when the frame was
// drawn or skipped for the cap or the skip flag (the idle loop goes on), 0 for an unforced call on
// a document view with walk mode off (nothing animates). An engine without a device, or whose
// render size is not positive, does the frame's bookkeeping and draws nothing.
// In walk mode a frame of a document view runs the mouse navigation and then the walk-mode step. It
// turns the things whose spin flag is set and scrolls the surfaces that have scroll speeds (walk
// mode's set-up gives both), and in walk mode places the sound listener at the camera and advances
// the walk clock.
int RenderFrame(C3dView& view, int force);
