#pragma once
// Split Sector: one convex sector becomes two, divided by the plane through three picked grid
// nodes. Every surface the plane crosses is cut in two (an adjoined one's twin with it, so that
// portals stay one to one), the pieces on the negative side go to a new sector, and two caps in
// the plane, one facing each half, close both halves and are joined by a new adjoin pair. The
// plane cutter of Carve (edit/Carve.h) and the builders split through it as well.

#include "math/Vector3.h"

class C3dView;
class CQzlSections;

// Splits the current sector by the plane through the picked grid nodes P0, P1 and P2, with the
// normal n = (P1 - P0) x (P2 - P1) normalised. A corner within 0.0001 of the plane lies on it;
// the current sector keeps what lies on the positive side ((X - P0) . n > 0) and on the plane,
// and a new sector (the level's new last one, a copy of the sector's fields) takes what lies on
// the negative side and on the plane:
// - a surface with corners on both sides gets a corner where each edge crosses the plane (its
//   world vertex reused within 0.0001; u and v interpolated, the intensities those of the edge's
//   start); it keeps its index with its corners on the positive side and on the plane, and a
//   copy of its fields, appended, takes those on the negative side and on the plane. An adjoined
//   surface's twin is cut at the same points and the two negative pieces are joined by a new
//   adjoin pair (flags 7), the old pair staying with the positive pieces;
// - a surface without a corner on the positive side moves whole to the new sector (same index);
// - the caps hold every point of the sector on the plane in order, with no material, the fields
//   of a new surface, texture coordinates fitted from corner 0 at scale 320, and the texture
//   fields of the last surface cut; the one facing -n closes the new sector, the one facing n the
//   current one. Use counts follow the corners exactly.
// The document's grid goes off and its edit mode to 0; every sector's bounds are recomputed; the
// current sector, the sectors of the twins cut and the new sector are rebuilt (which empties the
// picked grid nodes); the visibility pass runs and every thing goes to the last sector that
// contains it. The current sector and surface stay; the current vertex is -1.
//
// Refused (false, the level as it was), with these messages when showMessages is set:
// - "Cannot split sector. You must select 3 grid nodes not on the same surface." when all three
//   nodes lie within 0.0001 of the plane of one surface of the sector;
// - "Cannot split sector. You must select 3 grid nodes not on a line." when they are collinear;
// - "Cannot split sector. You must select 3 grid nodes whose plane crosses the sector." when no
//   corner of the sector lies on one side of the plane (it would leave a piece without volume);
// - "Cannot split sector. The plane does not cut the twin of an adjoined surface." when a cut
//   surface's twin lies in the same sector or does not reach both sides of the plane.
// Silently: no current sector, or fewer than 3 picked grid nodes.
bool SplitSector(C3dView& view, bool showMessages);

// Whether the Split command may split the current sector: the grid and the split-sector switch
// are on and exactly 3 grid nodes are picked.
bool CanSplitSector(const C3dView& view);

// Whether the plane through p0, p1 and p2 cuts sector into two pieces as SplitSector would: the
// three points are not collinear and some corner of the sector lies more than 0.0001 on each
// side of it. False for a sector out of range.
bool PlaneCrossesSector(const CQzlSections& level, int sector, const CVector3& p0,
                        const CVector3& p1, const CVector3& p2);
