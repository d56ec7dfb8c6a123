#include "level/VertexUses.h"

#include "level/QzlSections.h"

bool CountVertexUses(CQzlSections& level)
{
    bool allValid = true;
    const std::size_t count = level.m_worldVertices.size();
    level.m_useCounts.assign(count, 0);
    for (const auto& surface : level.m_surfaces) {
        if (!surface)
            continue;
        for (const CQzlVertex& corner : surface->m_vertices) {
            const std::int32_t w = corner.m_worldVertex;
            if (w >= 0 && static_cast<std::size_t>(w) < count)
                ++level.m_useCounts[static_cast<std::size_t>(w)];
            else
                allValid = false;
        }
    }
    return allValid;
}
