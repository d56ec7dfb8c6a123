#include "geometry/SectorBounds.h"

#include "geometry/CollideBox.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <cstddef>

namespace {

template <typename List>
auto* At(List& list, int index)
{
    using Pointer = decltype(list[0].get());
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return Pointer{};
    return list[static_cast<std::size_t>(index)].get();
}

// Whether corner i of the surface lies straight between its neighbours. A corner next to a
// zero-length edge has no direction there and counts as a real corner.
bool OnStraightEdge(const CQzlSections& level, const CQzlSurface& surface, std::size_t i)
{
    const std::size_t n = surface.m_vertices.size();
    const CVector3 prev = WorldPosition(level, surface.m_vertices[(i + n - 1) % n].m_worldVertex);
    const CVector3 here = WorldPosition(level, surface.m_vertices[i].m_worldVertex);
    const CVector3 next = WorldPosition(level, surface.m_vertices[(i + 1) % n].m_worldVertex);
    if (LengthSquared(here - prev) == 0.0f || LengthSquared(next - here) == 0.0f)
        return false;
    return DotProduct(NormalizeVector(here - prev), NormalizeVector(next - here)) >= 0.999;
}

constexpr CBoundingBox EmptyBox()
{
    return {{kFarDistance, kFarDistance, kFarDistance},
            {-kFarDistance, -kFarDistance, -kFarDistance}};
}

}  // namespace

bool FindCollinearVertex(const CQzlSections& level, int worldVertex)
{
    for (const auto& sector : level.m_sectors) {
        for (const std::int32_t f : sector->m_surfaces) {
            const CQzlSurface* surface = At(level.m_surfaces, f);
            if (surface == nullptr)
                continue;
            for (std::size_t i = 0; i < surface->m_vertices.size(); ++i) {
                if (surface->m_vertices[i].m_worldVertex == worldVertex &&
                    !OnStraightEdge(level, *surface, i))
                    return false;
            }
        }
    }
    return true;
}

void GetSurfaceCorners(const CQzlSections& level, int surface, std::vector<int>& corners)
{
    corners.clear();
    const CQzlSurface* s = At(level.m_surfaces, surface);
    if (s == nullptr)
        return;
    for (std::size_t i = 0; i < s->m_vertices.size(); ++i) {
        if (!OnStraightEdge(level, *s, i))
            corners.push_back(static_cast<int>(i));
    }
}

void GetSurfaceCornerPolygon(const CQzlSections& level, int surface, std::vector<CVector3>& polygon)
{
    polygon.clear();
    std::vector<int> corners;
    GetSurfaceCorners(level, surface, corners);
    const CQzlSurface* s = At(level.m_surfaces, surface);
    for (const int i : corners)
        polygon.push_back(
            WorldPosition(level, s->m_vertices[static_cast<std::size_t>(i)].m_worldVertex));
}

void UpdateSectorBounds(CQzlSections& level, bool withCollideBoxes)
{
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        CQzlSector* sector = level.m_sectors[s].get();
        CBoundingBox box = EmptyBox();
        for (const std::int32_t f : sector->m_surfaces) {
            CQzlSurface* surface = At(level.m_surfaces, f);
            if (surface == nullptr)
                continue;
            CalcSurfacePlane(level, *surface);
            CBoundingBox surfaceBox = EmptyBox();
            for (const CQzlVertex& corner : surface->m_vertices) {
                const CVector3 p = WorldPosition(level, corner.m_worldVertex);
                surfaceBox.min = VectorMin(surfaceBox.min, p);
                surfaceBox.max = VectorMax(surfaceBox.max, p);
            }
            surface->m_box = surfaceBox;
            box.min = VectorMin(box.min, surfaceBox.min);
            box.max = VectorMax(box.max, surfaceBox.max);
        }
        sector->m_boundBox = box;
        sector->m_center = (box.min + box.max) * 0.5f;
        sector->m_radius = BoxRadius(box);
        // The collide box grows from the centre just computed, inside the planes just computed.
        if (withCollideBoxes)
            sector->m_collideBox = ComputeCollideBox(level, static_cast<int>(s));
    }
}
