#pragma once
// Cut Surface to Polygon: a surface is cut by straight two-node splits (SplitSurface,
// edit/SplitSurface.h) until one piece has the outline of a convex polygon lying in its plane.
// The pieces cut away stay in the sector as surfaces of their own; an adjoined surface's twin is
// cut with it. Split by Polygon, Link and the builders use it.

#include "math/Vector3.h"

#include <span>
#include <vector>

class C3dView;

// One polygon edge to cut along, in cutting order.
struct CPolygonCut {
    CVector3 m_from;
    CVector3 m_to;
};

// The polygon's edges Q(i) to Q(i+1) (closing edge included) in cutting order, judged with the
// direction d and the second in-plane axis p = normal x d (E = Q(i+1) - Q(i), lengths not
// normalised): first the edges along d (|E . p| < 0.1), then those across it (|E . d| < 0.1), then
// the diagonal ones (|E . (d + p)| < 0.1 or |E . (d - p)| < 0.1), then the rest; each group in the
// reverse of the polygon's order. An edge that is along and across at once counts as along.
std::vector<CPolygonCut> OrderPolygonCuts(std::span<const CVector3> polygon, const CVector3& d,
                                          const CVector3& normal);

// Cuts surface of sector to polygon (three or more points of a convex outline in the surface's
// plane, in order) with d a unit direction in the plane (the direction of the polygon's first
// edge, as Split Surface passes it):
// 1. When the surface's plane has a strictly largest normal component, four cuts trim it to the
//    polygon's bounding rectangle in the two other axes.
// 2. Then every polygon edge (OrderPolygonCuts) that is not yet an edge of the piece (both ends
//    within 0.001 of one of its edges) is cut.
// After each cut the piece holding the polygon's centre (a surface of the sector with the
// surface's normal, within 0.001, that the short segment through the centre along the normal
// passes) becomes the current surface. Cuts that cut nothing change nothing. On return the
// current surface is that piece; the current sector, the grid switch and the split-sector switch
// are as they were before the call; nothing is rebuilt. The picked grid nodes hold what the last
// cut left there.
// Refused (false, nothing changed): fewer than 3 points, or a sector or surface out of range.
bool CutSurfaceToPolygon(C3dView& view, int sector, int surface,
                         const std::vector<CVector3>& polygon, CVector3 d);
