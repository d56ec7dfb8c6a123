#include "tools/ExtrudeEndPolygon.h"

#include "engine/GridPoints.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <cmath>
#include <cstddef>
#include <numbers>

namespace {

// The step from a corner towards the centroid that keeps the sweep off the surface's edges.
constexpr float kNudge = 0.001f;

float TanDegrees(float degrees)
{
    return std::tan(degrees * std::numbers::pi_v<float> / 180.0f);
}

// Whether the sweep stops at a surface: one that shows a texture or has a material to show. A
// portal without either lets it pass on to the sectors beyond.
bool Draws(const CQzlSurface& surface)
{
    return surface.m_texture != nullptr || surface.m_material >= 0;
}

}  // namespace

bool CalcExtrudeEndPolygon(const CQzlSections& level, int surface, const CVector3& d, float upDown,
                           float leftRight, std::vector<CVector3>& points, int& sector,
                           int& hitSurface, bool againstNormal)
{
    sector = -1;
    hitSurface = -1;
    points.clear();
    if (!InRange(level.m_surfaces, surface))
        return false;
    const CQzlSurface& f = *At(level.m_surfaces, surface);
    for (const CQzlVertex& corner : f.m_vertices)
        if (!InRange(level.m_worldVertices, corner.m_worldVertex))
            return false;
    const CVector3 n = f.m_normal;
    const CVector3 c = VectorCross(n, d);
    const CVector3 centroid = SurfaceCentroid(level, surface);
    const float upDownStep = TanDegrees(upDown) * kEndPolygonSweep;
    const float leftRightStep = TanDegrees(leftRight) * kEndPolygonSweep;

    for (std::size_t i = 0; i < f.m_vertices.size(); ++i) {
        const CVector3 v = WorldPosition(level, f.m_vertices[i].m_worldVertex);
        CVector3 e = againstNormal ? v - n * kEndPolygonSweep : v + n * kEndPolygonSweep;
        e = e + d * upDownStep;
        e = e - c * leftRightStep;
        const CVector3 inward = centroid - v;
        const float length = VectorLength(inward);
        const CVector3 nudge = length > 0.0f ? inward * (kNudge / length) : CVector3{};
        const CVector3 p0 = againstNormal ? e + nudge : v + nudge;
        const CVector3 p1 = againstNormal ? v + nudge : e + nudge;

        float best = kFarDistance;
        int bestSector = -1;
        int bestSurface = -1;
        CVector3 bestPoint;
        for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
            CVector3 hit;
            int crossed = -1;
            if (!IntersectSegmentSector(level, static_cast<int>(s), p0, p1, hit, crossed, true,
                                        true) ||
                !Draws(*At(level.m_surfaces, crossed)))
                continue;
            const CVector3 point = hit - nudge;
            const float distance = VectorLength(point - v);
            if (distance < best && crossed != surface) {
                best = distance;
                bestSector = static_cast<int>(s);
                bestSurface = crossed;
                bestPoint = point;
            }
        }
        if (bestSector < 0)
            return false;
        if (i == 0) {
            sector = bestSector;
            hitSurface = bestSurface;
        } else if (bestSector != sector || bestSurface != hitSurface) {
            return false;
        }
        points.push_back(bestPoint);
    }
    return true;
}
