#include "engine/RayCast.h"

#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "framework/Settings.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <array>
#include <cstddef>

namespace {

CVector3 ToVector(const CDVector3& v)
{
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

CVector3 Position(const D3DLVERTEX& v)
{
    return {v.x, v.y, v.z};
}

constexpr CBoundingBox EmptyBox()
{
    return {{kFarDistance, kFarDistance, kFarDistance},
            {-kFarDistance, -kFarDistance, -kFarDistance}};
}

void Grow(CBoundingBox& box, const CVector3& p)
{
    box.min = VectorMin(box.min, p);
    box.max = VectorMax(box.max, p);
}

// The box of every face corner and marker vertex of the mesh, once.
void EnsureMeshBox(C3doMesh& mesh)
{
    if (mesh.m_boxValid != 0)
        return;
    CBoundingBox box = EmptyBox();
    for (const C3doFace& face : mesh.m_faces) {
        for (const D3DLVERTEX& v : face.m_vertices)
            Grow(box, Position(v));
    }
    for (const D3DLVERTEX& v : mesh.m_markerVertices)
        Grow(box, Position(v));
    mesh.m_box = box;
    mesh.m_boxValid = 1;
}

// Whether the cast passes through this surface instead of meeting it.
// An adjoin the level does not hold is none: the surface is solid.
bool PassesThrough(const CQzlSections& level, const CQzlSurface& surface, int adjoinMode,
                   int adjoinSetting)
{
    if (adjoinSetting != 0 || !InRange(level.m_adjoins, surface.m_adjoin))
        return false;
    if (adjoinMode == kRayPassAdjoins)
        return true;
    if (adjoinMode == kRayPassInvisible)
        return (surface.m_faceFlags & 2u) == 0 && !(surface.m_material != -1 && surface.m_geo != 0);
    return false;
}

}  // namespace

float PointBoxDistance(const CBoundingBox& box, const CVector3& p)
{
    // Each coordinate strictly inside the box's range stays; each other one is tried at both faces
    // of its axis, and the nearer one counts.
    const auto axis = [](float v, float lo, float hi) {
        if (v > lo && v < hi)
            return 0.0f;
        const float a = v - lo;
        const float b = v - hi;
        const float a2 = a * a;
        const float b2 = b * b;
        return a2 < b2 ? a2 : b2;
    };
    return axis(p.x, box.min.x, box.max.x) + axis(p.y, box.min.y, box.max.y) +
           axis(p.z, box.min.z, box.max.z);
}

CVector3 RotateVector(const CVector3& v, const D3DMATRIX& m)
{
    return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0],
            v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
            v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]};
}

namespace {

// Records a hit at squared distance q2 when it is nearer than the hit so far.
bool Nearer(CRayHit& hit, const CVector3& point, const CVector3& origin, float& q2)
{
    q2 = LengthSquared(point - origin);
    return q2 < hit.m_distanceSquared;
}

bool Gate(const CRayCast& ray, const CVector3& end, const CRayHit& hit, const CBoundingBox& box)
{
    return SegmentHitsBox(box, ray.m_origin, end) &&
           PointBoxDistance(box, ray.m_origin) <= hit.m_distanceSquared;
}

CVector3 SegmentEnd(const CRayCast& ray)
{
    return ray.m_origin + ray.m_direction * 100.0f;
}

}  // namespace

void CastRaySectors(const C3dView& view, const CRayCast& ray, CRayHit& hit)
{
    const CQzlSections& level = view.GetLevel();
    const CSettings& settings = view.GetSettings();
    const CVector3 end = SegmentEnd(ray);
    const int renderMode = view.GetDocument().m_renderMode;
    const bool currentOnly = renderMode == 3 || renderMode == 4;
    const int sectorCount = static_cast<int>(level.m_sectors.size());
    for (int i = 0; i < sectorCount; ++i) {
        if (currentOnly && i != view.m_selection.m_sector)
            continue;
        const CQzlSector& s = *level.m_sectors[static_cast<std::size_t>(i)];
        if (!Gate(ray, end, hit, s.m_boundBox))
            continue;
        for (const std::int32_t f : s.m_surfaces) {
            if (f < 0 || static_cast<std::size_t>(f) >= level.m_surfaces.size())
                continue;
            const CQzlSurface& candidate = *level.m_surfaces[static_cast<std::size_t>(f)];
            if (Dot(ray.m_direction, candidate.m_normal) > 0.0f)
                continue;
            if (PassesThrough(level, candidate, ray.m_adjoinMode, settings.m_adjoin))
                continue;
            if (!Gate(ray, end, hit, candidate.m_box))
                continue;
            CVector3 point;
            float t = 0.0f;
            if (!IntersectSegmentSurfacePlane(level, f, ray.m_origin, end, point, t) ||
                !PointInSurface(level, f, ray.m_origin, end))
                continue;
            float q2 = 0.0f;
            if (Nearer(hit, point, ray.m_origin, q2)) {
                hit.m_distanceSquared = q2;
                hit.m_point = point;
                hit.m_normal = candidate.m_normal;
                hit.m_sector = i;
                hit.m_surface = f;
                hit.m_thing = -1;
                hit.m_found = true;
            }
        }
    }
}

void CastRayThings(const C3dView& view, const CRayCast& ray, CRayHit& hit)
{
    const CQzlSections& level = view.GetLevel();
    const CVector3 end = SegmentEnd(ray);
    const CVector3& direction = ray.m_direction;
    const int thingCount = static_cast<int>(level.m_things.size());
    for (int i = 0; i < thingCount; ++i) {
        const CQzlThing& t = *level.m_things[static_cast<std::size_t>(i)];
        C3doModel* model = t.m_model;
        if (model == nullptr)
            continue;
        if (model->m_boundsValid == 0) {
            CBoundingBox box = EmptyBox();
            model->NodeBounds(0, box, model->m_placement);
            model->m_bounds = {VectorMin(box.min, box.max), VectorMax(box.min, box.max)};
            model->m_boundsValid = 1;
        }
        if (!Gate(ray, end, hit, model->m_bounds))
            continue;
        for (const auto& node : model->m_nodes) {
            C3doMesh* mesh = node->m_mesh;
            if (mesh == nullptr)
                continue;
            EnsureMeshBox(*mesh);
            const D3DMATRIX& m = node->m_transform;
            const CVector3 a = TransformPoint(mesh->m_box.min, m);
            const CVector3 b = TransformPoint(mesh->m_box.max, m);
            if (!Gate(ray, end, hit, {VectorMin(a, b), VectorMax(a, b)}))
                continue;
            for (const C3doFace& face : mesh->m_faces) {
                if (face.m_vertices.empty())
                    continue;
                const CVector3 nf = RotateVector(face.m_normal, m);
                const CVector3 p0 = TransformPoint(Position(face.m_vertices.front()), m);
                if (Dot(direction, nf) > 0.0f)
                    continue;
                CVector3 point;
                float param = 0.0f;
                if (!IntersectSegmentPlane(-nf.x, -nf.y, -nf.z, Dot(nf, p0), ray.m_origin, end,
                                           point, param) ||
                    !MeshFaceContains(face.m_vertices, ray.m_origin, end, m))
                    continue;
                float q2 = 0.0f;
                if (Nearer(hit, point, ray.m_origin, q2)) {
                    hit.m_distanceSquared = q2;
                    hit.m_point = point;
                    const CVector3 n{nf.x, -direction.y, nf.z};
                    const float length = VectorLength(n);
                    hit.m_normal = length > 0.0f ? n / length : n;
                    hit.m_thing = i;
                    hit.m_sector = t.m_sector;
                    hit.m_surface = -1;
                    hit.m_found = true;
                }
            }
        }
    }
}

void CastRayMarkers(const C3dView& view, const CRayCast& ray, CRayHit& hit)
{
    const CVector3 end = SegmentEnd(ray);
    const int markerCount = static_cast<int>(view.m_markers.size());
    for (int i = 0; i < markerCount; ++i) {
        C3doMesh& mesh = *view.m_markers[static_cast<std::size_t>(i)];
        EnsureMeshBox(mesh);
        if (!Gate(ray, end, hit, mesh.m_box))
            continue;
        const std::vector<D3DLVERTEX>& vertices = mesh.m_markerVertices;
        const std::vector<std::uint16_t>& indices = mesh.m_markerIndices;
        for (std::size_t k = 0; k + 2 < indices.size(); k += 3) {
            if (indices[k] >= vertices.size() || indices[k + 1] >= vertices.size() ||
                indices[k + 2] >= vertices.size())
                continue;
            const std::array<CVector3, 3> corners{Position(vertices[indices[k]]),
                                                  Position(vertices[indices[k + 1]]),
                                                  Position(vertices[indices[k + 2]])};
            const CVector3 ea = corners[2] - corners[1];
            const CVector3 eb = corners[1] - corners[0];
            // A triangle with a zero-length edge has no plane.
            if (LengthSquared(ea) == 0.0f || LengthSquared(eb) == 0.0f)
                continue;
            const CVector3 a = ToVector(NormalizeVector(ea));
            const CVector3 b = ToVector(NormalizeVector(eb));
            const CVector3 n{b.y * a.z - b.z * a.y, b.z * a.x - b.x * a.z, b.x * a.y - b.y * a.x};
            if (Dot(ray.m_direction, n) > 0.0f)
                continue;
            CVector3 point;
            float param = 0.0f;
            if (!IntersectSegmentPlane(-n.x, -n.y, -n.z, Dot(n, corners[0]), ray.m_origin, end,
                                       point, param) ||
                !PointInPolygon(corners, ray.m_origin, end))
                continue;
            float q2 = 0.0f;
            if (Nearer(hit, point, ray.m_origin, q2)) {
                hit.m_distanceSquared = q2;
                hit.m_point = point;
                hit.m_normal = n;
                hit.m_marker = i;
                hit.m_found = true;
            }
        }
    }
}

CRayHit CastRay(C3dView& view, const CRayCast& ray)
{
    CRayHit hit;
    CastRaySectors(view, ray, hit);
    if (!ray.m_skipThings && view.GetSettings().m_threeDoDistance != 0.0f)
        CastRayThings(view, ray, hit);
    if (!ray.m_skipMarkers)
        CastRayMarkers(view, ray, hit);
    return hit;
}
