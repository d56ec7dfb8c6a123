#include "geometry/FloorFlag.h"

#include "level/QzlSurface.h"

#include <cmath>

void UpdateFloorFlag(CQzlSurface& surface)
{
    constexpr double kFloorSlope = 0.707107;
    if (std::fabs(static_cast<double>(surface.m_normal.y)) > kFloorSlope)
        surface.m_surfaceFlags |= kFloorFlag;
    else
        surface.m_surfaceFlags &= ~kFloorFlag;
}
