#pragma once
// The ray cast of picking, walk mode and bookmark recall: the nearest sector surface, thing-model
// face or point-marker triangle met by the segment from origin to origin + 100 * direction.

#include "geometry/Predicates.h"
#include "math/BoundingBox.h"
#include "math/Matrix.h"
#include "math/Vector3.h"

class C3dView;

// How adjoined surfaces (portals) are treated while the "Adjoin" setting is 0 (with any other
// value of the setting every portal is hit):
inline constexpr int kRayPassAdjoins = 0;    // every portal is passed through
inline constexpr int kRayHitAdjoins = 1;     // no portal is passed through (also other values)
inline constexpr int kRayPassInvisible = 2;  // only invisible portals are passed through

// One cast: the segment from m_origin to m_origin + 100 * m_direction, and what it looks at.
struct CRayCast {
    CVector3 m_origin;
    CVector3 m_direction;
    bool m_skipMarkers = false;
    bool m_skipThings = false;
    int m_adjoinMode = kRayHitAdjoins;
};

// The nearest hit of a cast. A surface hit names its sector and surface; a model hit names its
// thing and the thing's sector; a marker hit names the marker and leaves the sector and surface of
// an earlier surface hit. Indices are -1 where nothing of their kind was hit.
struct CRayHit {
    bool m_found = false;
    CVector3 m_point;
    CVector3 m_normal;
    float m_distanceSquared = kFarDistance;  // from the origin to m_point
    int m_sector = -1;
    int m_surface = -1;
    int m_thing = -1;
    int m_marker = -1;
};

// The nearest sector surface, thing-model face or point-marker triangle the cast meets. Only
// surfaces and faces that face the ray are met; of equally near hits the first met stays (sectors
// in level order, then things, then markers).
//
// Render modes 3 and 4 of the document look only at the current sector. Things are left out with
// m_skipThings or while the "3DO Distance" setting is 0. The cached boxes of models, meshes and
// markers are computed when not yet valid.
[[nodiscard]] CRayHit CastRay(C3dView& view, const CRayCast& ray);

// The three searches of CastRay, in its order. Each replaces the values of hit only with a nearer
// hit of its kind, and skips whatever lies farther than hit already is.
void CastRaySectors(const C3dView& view, const CRayCast& ray, CRayHit& hit);
void CastRayThings(const C3dView& view, const CRayCast& ray, CRayHit& hit);
void CastRayMarkers(const C3dView& view, const CRayCast& ray, CRayHit& hit);

// Squared distance from p to the box (0 for a point strictly inside it).
[[nodiscard]] float PointBoxDistance(const CBoundingBox& box, const CVector3& p);

// v times the upper-left 3x3 of m (no translation).
[[nodiscard]] CVector3 RotateVector(const CVector3& v, const D3DMATRIX& m);
