#include "edit/SurfaceCorners.h"

#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

CVector3 CornerPosition(const CQzlSections& level, const CQzlSurface& surface, std::size_t i)
{
    return WorldPosition(level, surface.m_vertices[i].m_worldVertex);
}

// Where a corner at p goes into the corner list: into the first edge whose line it lies on
// without lying beyond its end, or that has it on its outer side; at the end without one.
std::size_t InsertPosition(const CQzlSections& level, const CQzlSurface& surface, const CVector3& p)
{
    const std::size_t n = surface.m_vertices.size();
    const CVector3 outward = NegateVector(surface.m_normal);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const CVector3 a = CornerPosition(level, surface, i);
        const CVector3 b = CornerPosition(level, surface, i + 1);
        const CVector3 w = VectorCross(b - a, p - b);
        if (VectorLength(w) >= 0.0001f) {
            if (Dot(w, outward) < 0.0f)
                return i + 1;
        } else if (Dot(b - a, p - b) <= 0.0f) {
            return Dot(a - b, p - a) <= 0.0f ? i + 1 : i;
        }
    }
    return n;
}

}  // namespace

bool InsertSurfaceVertex(CQzlSections& level, CQzlSurface& surface, CQzlVertex corner)
{
    if (corner.m_worldVertex < 0 ||
        static_cast<std::size_t>(corner.m_worldVertex) >= level.m_worldVertices.size())
        return false;
    const CVector3 p = WorldPosition(level, corner.m_worldVertex);
    for (CQzlVertex& existing : surface.m_vertices) {
        if (VectorLength(WorldPosition(level, existing.m_worldVertex) - p) < 0.0001f) {
            existing.m_marked = corner.m_marked;
            const auto w = static_cast<std::size_t>(corner.m_worldVertex);
            if (w < level.m_useCounts.size() && level.m_useCounts[w] > 0)
                --level.m_useCounts[w];
            return false;
        }
    }

    const std::size_t position = InsertPosition(level, surface, p);
    std::vector<CQzlVertex>& corners = surface.m_vertices;
    corners.insert(corners.begin() + static_cast<std::ptrdiff_t>(position), std::move(corner));

    // The winding: the next two corners must turn the same way around the new one as the normal.
    const std::size_t n = corners.size();
    if (n > 2) {
        const std::size_t next = (position + 1) % n;
        const CVector3 q1 = CornerPosition(level, surface, next);
        const CVector3 q2 = CornerPosition(level, surface, (position + 2) % n);
        const CVector3 w = VectorCross(q2 - q1, p - q1);
        if (Dot(w, NegateVector(surface.m_normal)) < -0.0001f)
            std::reverse(corners.begin() + static_cast<std::ptrdiff_t>(next), corners.end());
    }
    return true;
}

bool InsertVertexCopy(CQzlSections& level, CQzlSurface& surface, const CQzlVertex& corner)
{
    // The copy counts from the start; InsertSurfaceVertex takes the count back when the copy
    // meets a corner at its position.
    const auto w = static_cast<std::size_t>(corner.m_worldVertex);
    if (w < level.m_useCounts.size())
        ++level.m_useCounts[w];
    return InsertSurfaceVertex(level, surface, CQzlVertex(corner));
}
