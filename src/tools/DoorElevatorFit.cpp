#include "tools/DoorElevatorFit.h"

#include "engine/GridPoints.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"

std::array<CVector3, 4> DoorOutline(const CVector3& g0, const CVector3& n, const CVector3& d,
                                    float width, float height)
{
    const CVector3 half = VectorCross(n, d) * (width / 2.0f);
    const CVector3 rise = d * height;
    return {g0 - half, g0 - half + rise, g0 + half + rise, g0 + half};
}

std::array<CVector3, 4> ElevatorFootprint(const CVector3& g0, const CVector3& n, const CVector3& d,
                                          float width, float depth)
{
    const CVector3 half = VectorCross(n, d) * (width / 2.0f);
    const CVector3 along = d * (depth / 2.0f);
    return {g0 - half - along, g0 - half + along, g0 + half + along, g0 + half - along};
}

bool OutlineFitsSurface(const CQzlSections& level, int surface,
                        const std::array<CVector3, 4>& outline)
{
    if (!InRange(level.m_surfaces, surface))
        return false;
    for (const CVector3& corner : outline) {
        int edge = -1;
        if (!PointSurfaceDistance(level, surface, corner, edge))
            return false;
    }
    return true;
}

bool HasUniqueOppositeSurface(const CQzlSections& level, int surface,
                              const std::array<CVector3, 4>& outline)
{
    if (!InRange(level.m_surfaces, surface))
        return false;
    const CVector3 n = At(level.m_surfaces, surface)->m_normal;
    const CVector3 centre = SurfaceCentroid(level, surface);
    int opposite = -1;
    // Every corner must find the surface, however many corners the current surface has. A corner
    // looks as far as the first surface behind it, as the joining extrusion does: rooms further
    // back do not make the one behind the door less unique.
    for (const CVector3& corner : outline) {
        const CVector3 toCentre = centre - corner;
        const float length = VectorLength(toCentre);
        const CVector3 p = length > 0.0f ? corner + toCentre * (0.001f / length) : corner;
        const CVector3 q = p - n * 5000.0f;
        int nearest = -1;
        float nearestDistance = 0.0f;
        for (int sector = 0; sector < static_cast<int>(level.m_sectors.size()); ++sector) {
            CVector3 hit;
            int hitSurface = -1;
            // The surface the segments start from is not the one they look for.
            if (!IntersectSegmentSector(level, sector, p, q, hit, hitSurface, true, true) ||
                hitSurface < 0 || hitSurface == surface)
                continue;
            const float distance = VectorLength(hit - p);
            if (nearest < 0 || distance < nearestDistance) {
                nearest = hitSurface;
                nearestDistance = distance;
            }
        }
        if (nearest < 0 || (opposite >= 0 && nearest != opposite))
            return false;
        opposite = nearest;
    }
    return opposite >= 0;
}
