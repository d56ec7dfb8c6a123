#pragma once
// Short ways into a level for the editing tests: a surface by index, a corner's position.

#include "level/QzlSections.h"

#include <cstddef>

inline CQzlSurface& Surface(CQzlSections& level, int index)
{
    return *level.m_surfaces[static_cast<std::size_t>(index)];
}

inline CVector3 Position(const CQzlSections& level, const CQzlVertex& corner)
{
    const CWorldVertex& v = level.m_worldVertices[static_cast<std::size_t>(corner.m_worldVertex)];
    return {v.x, v.y, v.z};
}
