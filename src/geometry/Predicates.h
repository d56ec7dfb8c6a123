#pragma once
// The geometric tests every editing tool decides on: the plane of a surface, points on lines
// and edges, sides of planes and polygons, segments against planes, boxes and sectors.
//
// Functions that read the level take it first; they keep no state. Surface and sector indices
// out of range give the negative answer. Nearest-hit searches start at kFarDistance and keep the
// earlier candidate on ties.

#include "math/BoundingBox.h"
#include "math/LitVertex.h"
#include "math/Matrix.h"
#include "math/Vector3.h"

#include <span>

class CQzlSections;
class CQzlSurface;

// Tolerance of the geometric tests.
inline constexpr float kTolerance = 1e-5f;
// Start value of nearest-hit searches: nothing found yet.
inline constexpr float kFarDistance = 1e11f;

// Position of world vertex index; the origin for an index the level does not hold.
[[nodiscard]] CVector3 WorldPosition(const CQzlSections& level, int worldVertex);

// Normal (Newell sums in double, normalised, each component truncated toward zero to six
// decimals) and plane (a, b, c = minus the normal, d = mean of normal . corner) of the surface,
// stored in it. A surface without area keeps a zero normal and the plane 0, 0, 0, 0.
void CalcSurfacePlane(const CQzlSections& level, CQzlSurface& surface);
void CalcSurfacePlane(CQzlSections& level, int surface);

// True, with t, when p lies on the line a-b within tolerance. Axes along which a-b is flat
// (|d| < tolerance) require p to be flat there too; the parameters of the other axes must agree
// within tolerance. t comes from x, else y, else z; 0 when no axis gives one.
bool PointOnLineParam(const CVector3& a, const CVector3& b, const CVector3& p, float& t,
                      float tolerance);

// True when edge b0-b1 lies on the line of edge a0-a1 (tolerance kTolerance) and runs the same
// way; with within, both ends must also lie inside a0-a1 (0 <= t <= 1). t0 and t1 are the
// parameters of b0 and b1 on a0-a1.
bool EdgesOverlap(const CVector3& a0, const CVector3& a1, const CVector3& b0, const CVector3& b1,
                  float& t0, float& t1, bool within);

// Distance from p to the (unclamped) line a-b; foot receives the foot of the perpendicular.
// When a and b are the same point the line is that point: the foot is a.
float ClosestPointOnLine(const CVector3& a, const CVector3& b, const CVector3& p,
                         CVector3* foot = nullptr);

// Distance from p to the segment a-b. foot receives the foot of the perpendicular on the line
// a-b (not clamped: before a or beyond b when p lies there); a when a and b are the same point.
float PointLineDistance(const CVector3& a, const CVector3& b, const CVector3& p,
                        CVector3* foot = nullptr);

// True when p lies inside the surface's polygon (seen along its normal) or within 0.001 of one
// of its edges; edge receives the index of the nearest edge (corner edge to corner edge + 1),
// the earlier one on ties, -1 for a surface without corners.
bool PointSurfaceDistance(const CQzlSections& level, int surface, const CVector3& p, int& edge);
// The same test on a polygon of corner positions with the given normal.
bool PointPolygonDistance(std::span<const CVector3> polygon, const CVector3& normal,
                          const CVector3& p, int& edge);

// True when p lies inside the convex sector: inside its bounding box (slack kTolerance) and at
// least tolerance on the inner side of every surface. Tolerance 0: inside or on a face; -0.01: up
// to 0.01 outside a face still counts; 0.25: at least 0.25 inside every face.
bool PointInSector(const CQzlSections& level, int sector, const CVector3& p, float tolerance);

// Projection of p onto the plane a, b, c, d and its distance; false (out = p, distance 0) when p
// is on the plane or the plane has no normal.
bool ProjectPointOnPlane(float a, float b, float c, float d, const CVector3& p, CVector3& out,
                         float& distance);
bool ProjectPointOnSurfacePlane(const CQzlSections& level, int surface, const CVector3& p,
                                CVector3& out, float& distance);

// True, with the crossing point and its parameter t along p0-p1, when the segment crosses the
// plane (t within [-kTolerance, 1 + kTolerance]). A segment that starts on the plane never
// crosses it; one that ends on it does. A segment parallel to the plane does not.
bool IntersectSegmentPlane(float a, float b, float c, float d, const CVector3& p0,
                           const CVector3& p1, CVector3& out, float& t);
bool IntersectSegmentSurfacePlane(const CQzlSections& level, int surface, const CVector3& p0,
                                  const CVector3& p1, CVector3& out, float& t);

// Whether the line from p towards q passes through a polygon, tested edge by edge with
// T = (q - p) . ((p - vi) x (p - vj)); T = 0 (grazing an edge or corner) never rejects.
// PointInSurface: a level surface, rejected when T < 0 on some edge.
bool PointInSurface(const CQzlSections& level, int surface, const CVector3& p, const CVector3& q);
// PointInPolygon: a point array, the opposite sense: rejected when T > 0.
bool PointInPolygon(std::span<const CVector3> points, const CVector3& p, const CVector3& q);
// MeshFaceContains: a model face whose corners are first transformed by m; rejected when T > 0.
bool MeshFaceContains(std::span<const D3DLVERTEX> face, const CVector3& p, const CVector3& q,
                      const D3DMATRIX& m);

// True when the segment p0-p1 meets the box (faces inclusive), or lies strictly inside it.
bool SegmentHitsBox(const CBoundingBox& box, const CVector3& p0, const CVector3& p1);

// True when the segment crosses a surface of the sector, with the crossing point nearest p0 and
// that surface. Surfaces without a texture count only with allSurfaces; with checkInside the
// crossing point must lie inside the surface's polygon. When the segment misses the sector's
// box, hit and surface are left untouched; otherwise surface starts at -1.
bool IntersectSegmentSector(const CQzlSections& level, int sector, const CVector3& p0,
                            const CVector3& p1, CVector3& hit, int& surface, bool checkInside,
                            bool allSurfaces);
