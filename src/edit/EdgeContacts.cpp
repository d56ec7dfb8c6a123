#include "edit/EdgeContacts.h"

#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <cstddef>

namespace {

bool InRange(int index, std::size_t size)
{
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

CVector3 CornerPosition(const CQzlSections& level, const CQzlSurface& surface, std::size_t i)
{
    return WorldPosition(level, surface.m_vertices[i].m_worldVertex);
}

// Both parameters of an overlap strictly inside the edge, with a little slack at the ends.
bool WithinEdge(float t0, float t1)
{
    return t0 > -0.0002f && t0 < 1.0002f && t1 > -0.0002f && t1 < 1.0002f;
}

// Whether edge C-D of other (C = corner j, D = corner j-1) runs back along A-B of surface.
bool EdgeMeets(const CVector3& a, const CVector3& b, const CVector3& c, const CVector3& d,
               const CQzlSurface& surface, const CQzlSurface& other, bool exact)
{
    if (exact) {
        return VectorLength(c - a) < 0.002f && VectorLength(d - b) < 0.002f &&
               VectorLength(other.m_normal - surface.m_normal) < 0.01f;
    }
    float t0 = 0.0f;
    float t1 = 0.0f;
    if (EdgesOverlap(c, d, a, b, t0, t1, false) && WithinEdge(t0, t1))
        return true;
    return EdgesOverlap(a, b, c, d, t0, t1, false) && WithinEdge(t0, t1);
}

}  // namespace

void CollectEdgeContacts(const CQzlSections& level, int sector, int surface,
                         std::vector<std::int32_t>& contacts, bool exact, bool includeAdjoined)
{
    contacts.clear();
    if (!InRange(sector, level.m_sectors.size()) || !InRange(surface, level.m_surfaces.size()))
        return;
    const CQzlSurface& f = *level.m_surfaces[static_cast<std::size_t>(surface)];
    const std::vector<std::int32_t>& list =
        level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces;
    const std::size_t n = f.m_vertices.size();
    for (std::size_t i = 0; i < n; ++i) {
        const CVector3 a = CornerPosition(level, f, i);
        const CVector3 b = CornerPosition(level, f, (i + 1) % n);
        for (const std::int32_t s : list) {
            if (s == surface || !InRange(s, level.m_surfaces.size()))
                continue;
            const CQzlSurface& other = *level.m_surfaces[static_cast<std::size_t>(s)];
            if (!includeAdjoined && other.m_adjoin >= 0)
                continue;
            const std::size_t m = other.m_vertices.size();
            bool found = false;
            for (std::size_t j = m; j-- > 0 && !found;) {
                const CVector3 c = CornerPosition(level, other, j);
                const CVector3 d = CornerPosition(level, other, j == 0 ? m - 1 : j - 1);
                found = EdgeMeets(a, b, c, d, f, other, exact);
            }
            if (found) {
                contacts.push_back(s);
                break;
            }
        }
    }
}
