#pragma once
// Create Pyramid: a pyramid raised on the picked polygon of the current surface. The surface is
// cut to the polygon, the sector above the piece is sliced into one wedge sector per edge of the
// piece and the piece's centre is lifted to the apex, so that the base becomes a fan of sloping
// triangles. The wedge slicing alone (BuildPyramid) also serves builders that lift the centres
// themselves (height 0), and the fan of triangles alone (FanTriangulateSurface) any builder that
// needs a surface split around a point.

#include "math/Vector3.h"
#include "tools/Column.h"

#include <string_view>

class C3dView;

inline constexpr std::string_view kPyramidTooHigh =
    "Cannot create Pyramid. The specified height exceeds the current sector.";
inline constexpr std::string_view kPyramidNoWedges =
    "Cannot create Pyramid. The sector above the surface cannot be divided into wedges.";

// Builds the pyramid on the current surface of the current sector from the base polygon of the
// picked grid nodes (three or more, lying on the surface), with the shape the Create Pyramid
// dialog hands over (the same as the column builder's; m_base and m_second are not read). The
// apex is the centroid of the base piece plus ShapeLean(shape) plus height along the normal; it
// is tested and placed at that same point. The sloping faces take the look of the outer surfaces
// they meet and the shape's material and tiling. Runs the visibility pass at the end. Refused
// (false, the level and the selection as they were) without a current sector and surface or with
// fewer than 3 picked nodes (silently), when the surface cut refuses (its own message), with
// kPyramidTooHigh when the segment from the base centre to 0.002 past the apex crosses a surface of
// the sector (a portal too), and when BuildPyramid refuses (its message).
bool CreatePyramid(C3dView& view, const CRaisedShape& shape);

// The switches of BuildPyramid.
struct CPyramidOptions {
    bool m_copyLook = true;  // each sloping face first takes the look of the outer surface it meets
    bool m_cutWalls = true;  // cut walls on the surface's edges first, so only the prism is sliced
    bool m_finish = true;    // link the wedges with their final pass; redraw and rebuild at the end
};

// Slices the current sector above the current surface into one wedge sector per edge of the
// surface and lifts the surface's centroid to the apex (centroid + ShapeLean(shape) + height
// along the normal; m_base and m_second are not read). Leaves:
// - view.m_work.m_newSectors / m_newSurfaces: per wedge, its sector and its sloping triangle;
// - view.m_work.m_raisedVertices: the world vertex at the centre of the base's fan, lifted to the
//   apex, appended; view.m_work.m_raiseDirections: the unit vector from the apex towards the
//   centroid of the opposite surface appended with it;
// - each sloping face: the look of the solid surface that meets its outer edge (with
//   m_copyLook), then the shape's material and tiling; its floor flag follows its own normal;
// - the picked grid nodes: the surface's corner polygon; the grid off.
// Every edge needs its wall (the surface running along it backwards, whose two corners after
// that edge are its top corners), its base triangle and the top triangle between those top
// corners: an edge without them would leave its surfaces in no sector (and, as the last edge,
// whose wedge takes the prism's place, the prism overlapping the other wedges). Refused with
// kPyramidNoWedges then (false, the level and the selection as they were), when two neighbouring
// wedges cannot be joined and when the prism has no surface facing against the normal; false
// without a current sector and surface, or when the wall cut refuses (its own message).
bool BuildPyramid(C3dView& view, const CRaisedShape& shape, const CPyramidOptions& options);

// Replaces the current surface by a fan of triangles around centre (the first triangle keeps the
// surface's record, the others copy its look and are appended), its adjoined twin likewise, the
// pairs linked again. view.m_work.m_newSectors / m_newSurfaces hold the current surface's
// triangles with their sector. rebuild: rebuild the current sector's render data at the end (and
// pass it to the linking). Nothing without a current sector and surface.
void FanTriangulateSurface(C3dView& view, const CVector3& centre, bool rebuild);
