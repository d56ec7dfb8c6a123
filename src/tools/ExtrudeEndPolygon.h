#pragma once
// Where a surface swept away from its sector first meets another surface of the level: the
// outline that Connect to Opposite Surface bridges to, and the points the elevator builder takes
// on the floor or ceiling facing it.

#include "math/Vector3.h"

#include <vector>

class CQzlSections;

// Length of the sweep from each corner.
inline constexpr float kEndPolygonSweep = 100.0f;

// Sweeps each corner V(i) of surface F, in corner order, to E = V(i) + 100 n (againstNormal false)
// or V(i) - 100 n (againstNormal true, the way an extrusion goes), n being F's normal; E is then
// moved by tan(upDown) x 100 along d and by -tan(leftRight) x 100 along n x d (angles in
// degrees, d a unit direction in F's plane). The segment, nudged 0.001 from the corner towards
// F's centroid, runs from V(i) to E (from E to V(i) when againstNormal). In every sector in order
// the surface the segment leaves it through (IntersectSegmentSector with check-inside) is a hit
// when it has a texture or a material, so that the sweep passes portals but stops at a wall also
// while no texture is loaded; the hit nearest V(i) that is not F wins, the earlier sector on ties.
// The point of the winning hit, with the nudge taken off, is appended to points.
// True when every corner hits, all on one surface of one sector: sector and surface name it.
// False when a corner hits nothing or another surface than the first corner's; points then holds
// the points found before, sector and surface the first corner's hit (-1 when it had none).
bool CalcExtrudeEndPolygon(const CQzlSections& level, int surface, const CVector3& d, float upDown,
                           float leftRight, std::vector<CVector3>& points, int& sector,
                           int& hitSurface, bool againstNormal);
