#pragma once
// The visibility pass: for every sector the sorted set of sectors that may be seen from it, which
// the frame routine draws from. Two methods, chosen by the "RenderMethod" setting:
//
// - Neighbour walk (any value but 2): from each adjoin of the sector, a walk through adjoins to
//   the depth "Removal Level". A neighbour that holds a door or an elevator (a thing whose
//   template name contains "door" or "elev", in any letter case) joins the set, but the walk does
//   not pass beyond it; nor does it follow an adjoin of a neighbour that faces back against the
//   adjoin it started from (normals' dot product -0.99 or less).
// - Portal walk (2): from each corner and from the centroid of each adjoin of the sector, a walk
//   that clips the view through each portal it passes (ClipPortal) and stops where nothing remains
//   visible, at a sector already on its path, or after 1000 steps from one eye point.
//
// A sector's set always holds the sector itself; a sector without adjoins sees only itself.

#include <functional>

class C3dView;

// Number of steps the portal walk takes from one eye point at most.
inline constexpr int kPortalWalkBudget = 1000;

// Recomputes every sector's visible set: refreshes the adjoin links first, then walks from the
// sectors, spread over the machine's cores. On the calling thread only, once per sector as the
// sectors are done: stepProgress, when given (the caller's progress bar, of the range 0 to the
// number of sectors), then "Sector %d processed..." in the status bar, numbered 0, 1, 2, ...
void ProcessSectors(C3dView& view, const std::function<void()>& stepProgress = {});
