#include "engine/SelectionTests.h"

#include "engine/C3dView.h"
#include "level/QzlSections.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace {

template <typename List>
auto* At(List& list, int index)
{
    using Pointer = decltype(list[0].get());
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return Pointer{};
    return list[static_cast<std::size_t>(index)].get();
}

}  // namespace

bool SurfaceHasAdjoin(const C3dView& view)
{
    const CQzlSurface* surface = At(view.GetLevel().m_surfaces, view.m_selection.m_surface);
    return surface != nullptr && surface->m_adjoin >= 0;
}

bool SectorHasAdjoin(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    const CQzlSector* sector = At(level.m_sectors, view.m_selection.m_sector);
    if (sector == nullptr)
        return false;
    for (const std::int32_t f : sector->m_surfaces) {
        const CQzlSurface* surface = At(level.m_surfaces, f);
        if (surface != nullptr && surface->m_adjoin >= 0)
            return true;
    }
    return false;
}

const CQzlVertex* CurrentCorner(const C3dView& view)
{
    const CQzlSurface* surface = At(view.GetLevel().m_surfaces, view.m_selection.m_vertexSurface);
    const int corner = view.m_selection.m_vertex;
    if (surface == nullptr || corner < 0 ||
        static_cast<std::size_t>(corner) >= surface->m_vertices.size())
        return nullptr;
    return &surface->m_vertices[static_cast<std::size_t>(corner)];
}

CQzlVertex* CurrentCorner(C3dView& view)
{
    return const_cast<CQzlVertex*>(CurrentCorner(std::as_const(view)));
}

bool VertexIsShared(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    const CQzlVertex* corner = CurrentCorner(view);
    if (corner == nullptr)
        return false;
    const std::int32_t w = corner->m_worldVertex;
    if (w < 0 || static_cast<std::size_t>(w) >= level.m_useCounts.size())
        return false;
    return level.m_useCounts[static_cast<std::size_t>(w)] > 1;
}
