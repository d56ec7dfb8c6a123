#pragma once
// The clip step of the portal walk: what of a portal polygon an eye can see through the polygon
// it looks through already.

#include "math/Vector3.h"

#include <span>
#include <vector>

// Fills out with the part of portal that is visible from eye through clip, and returns true when
// that part is not empty. An empty clip means nothing has been clipped yet: the whole portal is
// visible. Both polygons are convex and flat; clip is the part of an earlier portal (as this
// function left it), portal a surface's corners in either winding.
//
// The part is cut from the portal by the planes through the eye and each edge of clip, with the
// tolerance 1e-5 on the inner side. Nothing is visible (false, out empty) when the portal has
// fewer than three corners, when the eye lies in the plane of clip or clip has no area seen from
// the eye, when what remains is narrower than the tolerance (a sliver of a polygon, a segment or
// a point), or when the eye lies in the plane of what remains (it is seen edge-on).
bool ClipPortal(std::span<const CVector3> clip, std::span<const CVector3> portal,
                const CVector3& eye, std::vector<CVector3>& out);

// The same in two steps, for clipping every portal of a sector against one view: the planes of
// the view through clip from eye are made once (MakeClipView), then each portal is clipped
// against them.
struct CClipView {
    bool m_clipped = false;     // false: nothing clipped yet, every portal is wholly in view
    bool m_seesThrough = true;  // false: nothing at all can be seen through the clip polygon
    CVector3 m_eye;
    std::vector<CDVector3> m_normals;  // unit normals of the planes, toward the inside of the view
};
void MakeClipView(std::span<const CVector3> clip, const CVector3& eye, CClipView& view);
bool ClipPortal(const CClipView& view, std::span<const CVector3> portal,
                std::vector<CVector3>& out);
