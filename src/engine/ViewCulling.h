#pragma once
// What the frame routine may skip: boxes and surfaces tested against the view volume, the walk
// through the portals of the current sector that finds the sectors seen from it, and the texture
// scroll of an animated surface.
//
// The view volume is the engine's view-projection matrix (C3dView::m_viewProjectionMatrix, set by
// the frame routine at the start of every frame). A point is taken to clip coordinates as the row
// [x y z 1] times that matrix, without division by w, and counts as beyond a plane when
// x' < -w' (left), x' > w' (right), y' < -w' (bottom), y' > w' (top), z' < 0 (near), z' > w'
// (far). An object is culled only when all of its points lie beyond the same plane, so an object
// that straddles planes while lying wholly outside still passes.

#include "math/BoundingBox.h"
#include "math/Matrix.h"
#include "math/Vector3.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class C3dView;
class CQzlSurface;

// Margin of the surface tests: a corner must lie more than this beyond a plane to count as
// beyond it.
inline constexpr float kSurfaceMargin = 0.1f;

// Within this distance behind a portal's plane the camera still looks through it.
inline constexpr float kPortalBehindTolerance = 0.01f;

// (x, y, z, 1) times m, without division by w.
[[nodiscard]] std::array<float, 4> TransformPoint4(const CVector3& p, const D3DMATRIX& m);

// Where a box lies against the view volume: all eight corners beyond one plane (Outside), none
// beyond any plane (Inside: so is everything within the box), or neither.
enum class EInView {
    Outside,
    Partly,
    Inside,
};
[[nodiscard]] EInView BoxInView(const C3dView& view, const CBoundingBox& box);

// False when all eight corners of the box lie beyond one plane of the view volume.
[[nodiscard]] bool BoxInFrustum(const C3dView& view, const CBoundingBox& box);

// False when all corners of the surface lie more than kSurfaceMargin beyond one plane of the view
// volume; a surface without corners is false. Corners whose world vertex is out of range are
// passed over (a surface left with none of its corners is false).
[[nodiscard]] bool SurfaceInFrustum(const C3dView& view, const CQzlSurface& surface);
// The same, appending the world position of every corner it tests to polygon, in corner order.
[[nodiscard]] bool SurfaceInFrustum(const C3dView& view, const CQzlSurface& surface,
                                    std::vector<CVector3>& polygon);

// Binary search in a list of sector indices sorted ascending: true with the found position, or
// false with the position where value would be inserted (0 for an empty list).
bool FindSectorId(std::span<const std::int32_t> sorted, std::int32_t value, int& index);

// The portal walk from sector: adds sector to visited (kept sorted, without duplicates), then, for
// each of its adjoined surfaces that the camera faces (or lies at most kPortalBehindTolerance
// behind) and that is in view, clips the surface against clip as seen from the camera and walks
// on into the sector behind it with what remains as the new clip polygon. A sector on the current
// chain of portals is not entered again; one reached through several chains is listed once. An
// empty clip lets the first ring of portals through whole. Returns the size of visited.
int FindVisibleSectors(C3dView& view, std::span<const CVector3> clip,
                       std::vector<std::int32_t>& visited, int sector);

// The sectors whose surfaces may reach the screen when the camera stands inside the level's
// closed rooms. Every ray from the camera starts in a sector that holds the camera and runs
// through convex, closed sectors until it meets a surface drawn as an opaque fan this frame
// (opaqueDrawn, by surface); on the way it only crosses portals whose other side matches. Those
// sectors are marked in enclosed (by sector) and true is returned; nothing else can be seen
// there, as the opaque walls lie nearer on every ray. False, with enclosed unspecified, whenever
// this cannot be shown: the camera outside every sector or near a wall (the near plane would open
// it), a room that is not closed or not convex, a sector on the way that was not drawn
// (sectorDrawn), another sector's box reaching into one of them, too many sectors on the way, a
// view transform that is not a camera's.
[[nodiscard]] bool FindEnclosure(const C3dView& view, std::span<const char> opaqueDrawn,
                                 std::span<const char> sectorDrawn, std::vector<char>& enclosed);

// Moves the texture of an animated surface by one step: u += du, v += dv on every lit vertex of
// its render mesh, without wrapping.
void ScrollSurfaceTexture(CQzlSurface& surface, float du, float dv);
