#include "geometry/Predicates.h"

#include "framework/Indices.h"
#include "level/QzlSections.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

float Axis(const CVector3& v, int k)
{
    return k == 0 ? v.x : (k == 1 ? v.y : v.z);
}

const CQzlSurface* SurfaceAt(const CQzlSections& level, int surface)
{
    if (surface < 0 || static_cast<std::size_t>(surface) >= level.m_surfaces.size())
        return nullptr;
    return level.m_surfaces[static_cast<std::size_t>(surface)].get();
}

const CQzlSector* SectorAt(const CQzlSections& level, int sector)
{
    if (sector < 0 || static_cast<std::size_t>(sector) >= level.m_sectors.size())
        return nullptr;
    return level.m_sectors[static_cast<std::size_t>(sector)].get();
}

CVector3 Corner(const CQzlSections& level, const CQzlSurface& surface, std::size_t i)
{
    return WorldPosition(level, surface.m_vertices[i].m_worldVertex);
}

// The edge-side test shared by the three polygon tests: false as soon as an edge rejects.
template <typename Reject>
bool LinePassesPolygon(std::span<const CVector3> corners, const CVector3& p, const CVector3& q,
                       Reject reject)
{
    const CVector3 dir = q - p;
    const std::size_t n = corners.size();
    for (std::size_t i = 0; i < n; ++i) {
        const CVector3& vi = corners[i];
        const CVector3& vj = corners[(i + 1) % n];
        const float t = Dot(dir, VectorCross(p - vi, p - vj));
        if (reject(t))
            return false;
    }
    return true;
}

}  // namespace

CVector3 WorldPosition(const CQzlSections& level, int worldVertex)
{
    if (!InRange(level.m_worldVertices, worldVertex))
        return {};
    const CWorldVertex& w = At(level.m_worldVertices, worldVertex);
    return {w.x, w.y, w.z};
}

void CalcSurfacePlane(const CQzlSections& level, CQzlSurface& surface)
{
    const std::size_t n = surface.m_vertices.size();
    double nx = 0.0;
    double ny = 0.0;
    double nz = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const CVector3 pi = Corner(level, surface, i);
        const CVector3 pj = Corner(level, surface, (i + 1) % n);
        nx += (static_cast<double>(pj.y) - static_cast<double>(pi.y)) *
              (static_cast<double>(pi.z) + static_cast<double>(pj.z));
        ny += (static_cast<double>(pj.z) - static_cast<double>(pi.z)) *
              (static_cast<double>(pi.x) + static_cast<double>(pj.x));
        nz += (static_cast<double>(pj.x) - static_cast<double>(pi.x)) *
              (static_cast<double>(pi.y) + static_cast<double>(pj.y));
    }
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (length > 0.0) {
        nx /= length;
        ny /= length;
        nz /= length;
    }
    const auto truncate6 = [](double v) {
        return static_cast<float>(std::trunc(v * 1000000.0) / 1000000.0);
    };
    surface.m_normal = {truncate6(nx), truncate6(ny), truncate6(nz)};
    surface.m_plane[0] = -surface.m_normal.x;
    surface.m_plane[1] = -surface.m_normal.y;
    surface.m_plane[2] = -surface.m_normal.z;

    float d = 0.0f;
    for (std::size_t i = 0; i < n; ++i)
        d += Dot(surface.m_normal, Corner(level, surface, i));
    // A surface without corners has no plane.
    surface.m_plane[3] = n > 0 ? d / static_cast<float>(n) : 0.0f;
}

void CalcSurfacePlane(CQzlSections& level, int surface)
{
    if (surface < 0 || static_cast<std::size_t>(surface) >= level.m_surfaces.size())
        return;
    CalcSurfacePlane(level, *level.m_surfaces[static_cast<std::size_t>(surface)]);
}

bool PointOnLineParam(const CVector3& a, const CVector3& b, const CVector3& p, float& t,
                      float tolerance)
{
    const CVector3 d = b - a;
    const CVector3 w = p - a;
    bool has[3] = {false, false, false};
    float param[3] = {0.0f, 0.0f, 0.0f};
    for (int k = 0; k < 3; ++k) {
        const float dk = Axis(d, k);
        const float wk = Axis(w, k);
        if (std::fabs(dk) < tolerance) {
            if (std::fabs(wk) > tolerance)
                return false;
        }
        if (std::fabs(dk) > tolerance) {
            has[k] = true;
            param[k] = wk / dk;
        }
    }
    // x with y, x with z, z with y.
    constexpr int pairs[3][2] = {{0, 1}, {0, 2}, {2, 1}};
    for (const auto& pair : pairs) {
        if (has[pair[0]] && has[pair[1]] && std::fabs(param[pair[0]] - param[pair[1]]) > tolerance)
            return false;
    }
    t = has[0] ? param[0] : (has[1] ? param[1] : (has[2] ? param[2] : 0.0f));
    return true;
}

bool EdgesOverlap(const CVector3& a0, const CVector3& a1, const CVector3& b0, const CVector3& b1,
                  float& t0, float& t1, bool within)
{
    if (!PointOnLineParam(a0, a1, b0, t0, kTolerance))
        return false;
    if (!PointOnLineParam(a0, a1, b1, t1, kTolerance))
        return false;
    // A zero-length edge has no direction and overlaps nothing.
    if (LengthSquared(a1 - a0) == 0.0f || LengthSquared(b0 - b1) == 0.0f)
        return false;
    const double dot = DotProduct(NormalizeVector(a1 - a0), NormalizeVector(b0 - b1));
    if (!(dot < 0.0))
        return false;
    if (within && (t0 < 0.0f || t0 > 1.0f || t1 < 0.0f || t1 > 1.0f))
        return false;
    return true;
}

float ClosestPointOnLine(const CVector3& a, const CVector3& b, const CVector3& p, CVector3* foot)
{
    const CVector3 d = b - a;
    const float length = VectorLength(d);
    CVector3 f = a;
    if (length > 0.0f) {
        const CVector3 u = d / length;
        f = a + u * Dot(u, p - a);
    }
    if (foot != nullptr)
        *foot = f;
    return VectorLength(p - f);
}

float PointLineDistance(const CVector3& a, const CVector3& b, const CVector3& p, CVector3* foot)
{
    const CVector3 v = b - a;
    const CVector3 w = p - a;
    const float c1 = Dot(v, w);
    const float c2 = Dot(v, v);
    if (c1 <= 0.0f) {
        if (foot != nullptr)
            *foot = c2 > 0.0f ? a + v * (c1 / c2) : a;
        return VectorLength(w);
    }
    const float t = c1 / c2;
    const CVector3 f = a + v * t;
    if (foot != nullptr)
        *foot = f;
    if (c1 >= c2)
        return VectorLength(p - b);
    return VectorLength(p - f);
}

bool PointSurfaceDistance(const CQzlSections& level, int surface, const CVector3& p, int& edge)
{
    const CQzlSurface* s = SurfaceAt(level, surface);
    if (s == nullptr || s->m_vertices.empty()) {
        edge = -1;
        return false;
    }
    std::vector<CVector3> polygon;
    polygon.reserve(s->m_vertices.size());
    for (std::size_t i = 0; i < s->m_vertices.size(); ++i)
        polygon.push_back(Corner(level, *s, i));
    return PointPolygonDistance(polygon, s->m_normal, p, edge);
}

bool PointPolygonDistance(std::span<const CVector3> polygon, const CVector3& normal,
                          const CVector3& p, int& edge)
{
    edge = -1;
    if (polygon.empty())
        return false;
    float best = kFarDistance;
    bool inside = true;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const CVector3& vi = polygon[i];
        const CVector3& vj = polygon[(i + 1) % n];
        const CVector3 c = VectorCross(vj - vi, p - vi);
        const float length = VectorLength(c);
        // p on the edge's line gives no side.
        if (length > 0.0f && Dot(c / length, normal) > 0.0f)
            inside = false;
        const float distance = PointLineDistance(vi, vj, p);
        if (distance < best) {
            best = distance;
            edge = static_cast<int>(i);
        }
    }
    return inside || best < 0.001f;
}

bool PointInSector(const CQzlSections& level, int sector, const CVector3& p, float tolerance)
{
    const CQzlSector* s = SectorAt(level, sector);
    if (s == nullptr || !PointInBox(s->m_boundBox, p))
        return false;
    for (const std::int32_t f : s->m_surfaces) {
        const CQzlSurface* surface = SurfaceAt(level, f);
        if (surface == nullptr || surface->m_vertices.empty())
            continue;
        const CVector3 v = Corner(level, *surface, 0);
        if (Dot(p - v, surface->m_normal) < tolerance)
            return false;
    }
    return true;
}

bool ProjectPointOnPlane(float a, float b, float c, float d, const CVector3& p, CVector3& out,
                         float& distance)
{
    const float s = a * p.x + b * p.y + c * p.z + d;
    const float m = a * a + b * b + c * c;
    if (std::fabs(s) <= kTolerance || std::fabs(m) <= kTolerance) {
        out = p;
        distance = 0.0f;
        return false;
    }
    out = p - CVector3(a, b, c) * (s / m);
    distance = VectorLength(p - out);
    return true;
}

bool ProjectPointOnSurfacePlane(const CQzlSections& level, int surface, const CVector3& p,
                                CVector3& out, float& distance)
{
    const CQzlSurface* s = SurfaceAt(level, surface);
    if (s == nullptr) {
        out = p;
        distance = 0.0f;
        return false;
    }
    return ProjectPointOnPlane(s->m_plane[0], s->m_plane[1], s->m_plane[2], s->m_plane[3], p, out,
                               distance);
}

bool IntersectSegmentPlane(float a, float b, float c, float d, const CVector3& p0,
                           const CVector3& p1, CVector3& out, float& t)
{
    const CVector3 dir = p1 - p0;
    const float num = a * p0.x + b * p0.y + c * p0.z + d;
    const float den = a * dir.x + b * dir.y + c * dir.z;
    if (std::fabs(num) <= kTolerance || std::fabs(den) <= kTolerance)
        return false;
    t = -num / den;
    if (t < -kTolerance || t > 1.0f + kTolerance)
        return false;
    out = p0 + dir * t;
    return true;
}

bool IntersectSegmentSurfacePlane(const CQzlSections& level, int surface, const CVector3& p0,
                                  const CVector3& p1, CVector3& out, float& t)
{
    const CQzlSurface* s = SurfaceAt(level, surface);
    if (s == nullptr)
        return false;
    return IntersectSegmentPlane(s->m_plane[0], s->m_plane[1], s->m_plane[2], s->m_plane[3], p0, p1,
                                 out, t);
}

bool PointInSurface(const CQzlSections& level, int surface, const CVector3& p, const CVector3& q)
{
    const CQzlSurface* s = SurfaceAt(level, surface);
    if (s == nullptr)
        return false;
    std::vector<CVector3> corners;
    corners.reserve(s->m_vertices.size());
    for (std::size_t i = 0; i < s->m_vertices.size(); ++i)
        corners.push_back(Corner(level, *s, i));
    return LinePassesPolygon(corners, p, q, [](float t) { return t < 0.0f; });
}

bool PointInPolygon(std::span<const CVector3> points, const CVector3& p, const CVector3& q)
{
    return LinePassesPolygon(points, p, q, [](float t) { return t > 0.0f; });
}

bool MeshFaceContains(std::span<const D3DLVERTEX> face, const CVector3& p, const CVector3& q,
                      const D3DMATRIX& m)
{
    std::vector<CVector3> corners;
    corners.reserve(face.size());
    for (const D3DLVERTEX& v : face)
        corners.push_back(TransformPoint({v.x, v.y, v.z}, m));
    return LinePassesPolygon(corners, p, q, [](float t) { return t > 0.0f; });
}

bool SegmentHitsBox(const CBoundingBox& box, const CVector3& p0, const CVector3& p1)
{
    for (int k = 0; k < 3; ++k) {
        const float a = Axis(p0, k);
        const float b = Axis(p1, k);
        if (a == b)
            continue;
        for (const float face : {Axis(box.min, k), Axis(box.max, k)}) {
            const float t = (face - a) / (b - a);
            if (t < 0.0f || t > 1.0f)
                continue;
            bool inside = true;
            for (int other = 0; other < 3; ++other) {
                if (other == k)
                    continue;
                const float c = Axis(p0, other) + t * (Axis(p1, other) - Axis(p0, other));
                if (c < Axis(box.min, other) || c > Axis(box.max, other))
                    inside = false;
            }
            if (inside)
                return true;
        }
    }
    const auto strictlyInside = [&box](const CVector3& p) {
        for (int k = 0; k < 3; ++k) {
            if (!(Axis(p, k) > Axis(box.min, k) && Axis(p, k) < Axis(box.max, k)))
                return false;
        }
        return true;
    };
    return strictlyInside(p0) && strictlyInside(p1);
}

bool IntersectSegmentSector(const CQzlSections& level, int sector, const CVector3& p0,
                            const CVector3& p1, CVector3& hit, int& surface, bool checkInside,
                            bool allSurfaces)
{
    const CQzlSector* s = SectorAt(level, sector);
    if (s == nullptr || !SegmentHitsBox(s->m_boundBox, p0, p1))
        return false;
    surface = -1;
    float best = kFarDistance;
    bool found = false;
    for (const std::int32_t f : s->m_surfaces) {
        const CQzlSurface* candidate = SurfaceAt(level, f);
        if (candidate == nullptr)
            continue;
        if (!allSurfaces && candidate->m_texture == nullptr)
            continue;
        if (!SegmentHitsBox(candidate->m_box, p0, p1))
            continue;
        CVector3 point;
        float t = 0.0f;
        if (!IntersectSegmentSurfacePlane(level, f, p0, p1, point, t))
            continue;
        if (checkInside && !PointInSurface(level, f, p0, p1))
            continue;
        const float q2 = LengthSquared(point - p0);
        if (q2 < best) {
            best = q2;
            hit = point;
            surface = f;
            found = true;
        }
    }
    return found;
}
