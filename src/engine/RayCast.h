#pragma once
// The ray cast of picking, walk mode and bookmark recall: the nearest sector surface, thing-model
// face or point-marker triangle met by the segment from origin to origin + 100 * direction.

#include "math/BoundingBox.h"
#include "math/Matrix.h"
#include "math/Vector3.h"

class C3dView;

// How adjoined surfaces (portals) are treated while the "Adjoin" setting is 0 (with any other
// value of the setting every portal is hit):
inline constexpr int kRayPassAdjoins = 0;    // every portal is passed through
inline constexpr int kRayHitAdjoins = 1;     // no portal is passed through (also other values)
inline constexpr int kRayPassInvisible = 2;  // only invisible portals are passed through

// True when anything was hit. hitPoint and hitNormal are written at each nearer hit; the four
// indices start at -1. A surface hit names its sector and surface; a model hit names its thing and
// the thing's sector; a marker hit names the marker and leaves the sector and surface of an
// earlier surface hit. Only surfaces and faces that face the ray are met; of equally near hits
// the first met stays (sectors in level order, then things, then markers).
//
// Render modes 3 and 4 of the document look only at the current sector. Things are left out with
// skipThings or while the "3DO Distance" setting is 0. The cached boxes of models, meshes and
// markers are computed when not yet valid.
bool CastRay(C3dView& view, const CVector3& origin, const CVector3& direction, CVector3& hitPoint,
             CVector3& hitNormal, int& sector, int& surface, int& thing, int& marker,
             bool skipMarkers, bool skipThings, int adjoinMode);

// Squared distance from p to the box (0 for a point strictly inside it).
[[nodiscard]] float PointBoxDistance(const CBoundingBox& box, const CVector3& p);

// v times the upper-left 3x3 of m (no translation).
[[nodiscard]] CVector3 RotateVector(const CVector3& v, const D3DMATRIX& m);
