#include "tools/SideTextures.h"

#include "edit/SurfaceLook.h"
#include "engine/C3dView.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "level/TextureFit.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// Parameters of a neighbour's edge along an edge: strictly inside this range.
constexpr float kNeighbourLow = -0.001f;
constexpr float kNeighbourHigh = 1.001f;

// Part of an edge's length that two edges on one line must share to be found on each other.
constexpr float kSharedLength = 0.001f;

// Scale of the texture coordinates a face takes when it has nothing to continue.
constexpr float kDefaultTextureScale = 320.0f;

CVector3 CornerAt(const CQzlSections& level, const CQzlSurface& surface, std::size_t corner)
{
    return WorldPosition(level, surface.m_vertices[corner].m_worldVertex);
}

bool CornersInRange(const CQzlSections& level, const CQzlSurface& surface)
{
    for (const CQzlVertex& corner : surface.m_vertices)
        if (!InRange(level.m_worldVertices, corner.m_worldVertex))
            return false;
    return true;
}

// Whether one of s's edges, walked backwards (corner j to corner j - 1), lies on the line of a-b
// running the same way (EdgesOverlap without bounds, s's edge first and, only when that fails,
// a-b first), with accept(t0, t1) true of the two parameters of that test.
template <class Accept>
bool HasEdgeAlong(const CQzlSections& level, const CQzlSurface& s, const CVector3& a,
                  const CVector3& b, Accept accept)
{
    const std::size_t m = s.m_vertices.size();
    for (std::size_t j = 0; j < m; ++j) {
        const CVector3 c = CornerAt(level, s, j);
        const CVector3 d = CornerAt(level, s, j == 0 ? m - 1 : j - 1);
        float t0 = 0.0f;
        float t1 = 0.0f;
        if ((EdgesOverlap(c, d, a, b, t0, t1, false) || EdgesOverlap(a, b, c, d, t0, t1, false)) &&
            accept(t0, t1))
            return true;
    }
    return false;
}

bool WithinNeighbourRange(float t0, float t1)
{
    return t0 > kNeighbourLow && t0 < kNeighbourHigh && t1 > kNeighbourLow && t1 < kNeighbourHigh;
}

// Whether a segment whose ends lie at t0 and t1 along another on the same line shares a piece of
// it longer than a point: a surface that merely stands on the line of an edge further along
// shares no edge with it.
bool SharesALength(float t0, float t1)
{
    return std::max(t0, t1) > kSharedLength && std::min(t0, t1) < 1.0f - kSharedLength;
}

bool IsEndNormal(const CVector3& normal, const CVector3& v)
{
    return VectorLength(normal - v) < kSameNormal || VectorLength(normal + v) < kSameNormal;
}

}  // namespace

CEdgeNeighbours FindEdgeNeighbours(const CQzlSections& level, int surface)
{
    CEdgeNeighbours neighbours;
    if (!InRange(level.m_surfaces, surface))
        return neighbours;
    const CQzlSurface& f = *At(level.m_surfaces, surface);
    if (!CornersInRange(level, f))
        return neighbours;
    const std::size_t n = f.m_vertices.size();
    neighbours.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const CVector3 a = CornerAt(level, f, i);
        const CVector3 b = CornerAt(level, f, (i + 1) % n);
        for (const auto& sector : level.m_sectors) {
            for (const std::int32_t s : sector->m_surfaces) {
                if (s == surface || !InRange(level.m_surfaces, s))
                    continue;
                const CQzlSurface& other = *At(level.m_surfaces, s);
                if (other.m_adjoin >= 0 || !CornersInRange(level, other))
                    continue;
                if (HasEdgeAlong(level, other, a, b, WithinNeighbourRange))
                    neighbours[i].push_back(s);
            }
        }
    }
    return neighbours;
}

std::vector<int> FlattenNeighbours(const CEdgeNeighbours& neighbours)
{
    std::vector<int> list;
    for (const std::vector<int>& edge : neighbours)
        list.insert(list.end(), edge.begin(), edge.end());
    return list;
}

int FindSurfaceOnSegment(const CQzlSections& level, std::span<const int> list, const CVector3& p,
                         const CVector3& q)
{
    for (const int s : list) {
        if (!InRange(level.m_surfaces, s))
            continue;
        const CQzlSurface& surface = *At(level.m_surfaces, s);
        if (!CornersInRange(level, surface))
            continue;
        if (HasEdgeAlong(level, surface, p, q, SharesALength))
            return s;
    }
    return -1;
}

int FindSurfaceByNormal(const CQzlSections& level, std::span<const int> list, const CVector3& v)
{
    for (const int s : list)
        if (InRange(level.m_surfaces, s) &&
            VectorLength(At(level.m_surfaces, s)->m_normal - v) < kSameNormal)
            return s;
    return -1;
}

void GiveDefaultTextureCoords(CQzlSections& level, int surface)
{
    ComputeTextureCoords(level, surface, 0, 0.0f, kDefaultTextureScale, kDefaultTextureScale, 0.0f,
                         0.0f, 0);
}

void FitSurfaceTo(C3dView& view, int target, int source)
{
    CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_surfaces, target) || !InRange(level.m_surfaces, source))
        return;
    CQzlSurface& to = *At(level.m_surfaces, target);
    const CQzlSurface& from = *At(level.m_surfaces, source);
    AlignTextureToSurface(view, to, from);
    to.m_material = from.m_material;
}

void FitSideTextures(C3dView& view, int sector, std::span<const int> list, const CVector3& v)
{
    CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_sectors, sector))
        return;
    // The sector's surface list is not changed here; a copy keeps the walk independent of it.
    const std::vector<std::int32_t> surfaces = At(level.m_sectors, sector)->m_surfaces;
    std::vector<int> fitted;

    // Each edge of s (corner i to i + 1) in turn.
    const auto forEachEdge = [&level](int s, const auto& visit) {
        const CQzlSurface& surface = *At(level.m_surfaces, s);
        if (!CornersInRange(level, surface))
            return;
        const std::size_t n = surface.m_vertices.size();
        for (std::size_t i = 0; i < n; ++i)
            visit(CornerAt(level, surface, i), CornerAt(level, surface, (i + 1) % n));
    };

    for (const std::int32_t s : surfaces) {
        if (!InRange(level.m_surfaces, s))
            continue;
        const CVector3 normal = At(level.m_surfaces, s)->m_normal;
        if (IsEndNormal(normal, v)) {
            const int f = FindSurfaceByNormal(level, list, normal);
            if (f >= 0) {
                GiveDefaultTextureCoords(level, s);
                FitSurfaceTo(view, s, f);
            }
            continue;
        }
        forEachEdge(s, [&](const CVector3& a, const CVector3& b) {
            const int f = FindSurfaceOnSegment(level, list, a, b);
            if (f < 0 || IsEndNormal(At(level.m_surfaces, f)->m_normal, v))
                return;
            FitSurfaceTo(view, s, f);
            fitted.push_back(s);
        });
    }

    // The second pass is for the side faces the first could not fit: a face fitted to the wall it
    // continues keeps that look rather than taking the one of the side face beside it.
    const std::vector<int> fittedFirst = fitted;
    for (const std::int32_t s : surfaces) {
        if (!InRange(level.m_surfaces, s) || IsEndNormal(At(level.m_surfaces, s)->m_normal, v) ||
            std::find(fittedFirst.begin(), fittedFirst.end(), s) != fittedFirst.end())
            continue;
        forEachEdge(s, [&](const CVector3& a, const CVector3& b) {
            const int f = FindSurfaceOnSegment(level, fitted, a, b);
            if (f < 0 || f == s)
                return;
            FitSurfaceTo(view, s, f);
            fitted.push_back(s);
        });
    }
}
