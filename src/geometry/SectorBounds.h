#pragma once
// Small shared passes of the link, split, merge and delete operations: the corners of a surface
// that are not on a straight edge, and the recomputation of every sector's bounds.

#include "math/Vector3.h"

#include <vector>

class CQzlSections;

// A corner is on a straight edge when the directions from its predecessor to it and from it to
// its successor agree: unit(p(i) - p(i-1)) . unit(p(i+1) - p(i)) >= 0.999.

// True when every corner of every surface of every sector that uses worldVertex lies on a
// straight edge; also when no corner uses it.
bool FindCollinearVertex(const CQzlSections& level, int worldVertex);
// Indices, in order, of the surface's corners that are not on a straight edge.
void GetSurfaceCorners(const CQzlSections& level, int surface, std::vector<int>& corners);
// Positions of those corners, in order.
void GetSurfaceCornerPolygon(const CQzlSections& level, int surface,
                             std::vector<CVector3>& polygon);

// Recomputes, for every sector, the plane and box of each of its surfaces, its bounding box
// (grown from the empty box over its surfaces' boxes), its centre (the middle of the box) and its
// radius (BoxRadius). withCollideBoxes also recomputes each sector's collide box
// (ComputeCollideBox, which clears the sector's collide-box flag where no box can be made);
// otherwise the collide boxes are left as they are.
void UpdateSectorBounds(CQzlSections& level, bool withCollideBoxes = false);
