#include "geometry/CollideBox.h"

#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// Tolerance of the closure test: an edge is shared when both ends of another surface's edge lie
// on its line within this.
constexpr float kEdgeTolerance = 0.01f;
// Each ray starts this far behind its corner.
constexpr float kRayBackOff = 0.1f;
// Coordinates closer to 0 than this become 0.
constexpr float kSnapZero = 0.0001f;
// Search: first step of the x limits, and the step below which it ends.
constexpr float kFirstStep = 10.0f;
constexpr float kLastStep = 0.001f;
// Bound on the trials of one search, far above what any sector needs (each improvement must grow
// the volume, each failure halves the step), so that no input keeps it running.
constexpr int kMaxTrials = 100000;

// The faces of the growing box in the order they are pushed out: outward direction and the four
// corners that move with the face. Corner 0 is the minimum, corner 6 the maximum.
struct CBoxFace {
    CVector3 direction;
    std::array<int, 4> corners;
};
constexpr std::array<CBoxFace, 6> kFaces = {{
    {{-1.0f, 0.0f, 0.0f}, {0, 1, 2, 3}},
    {{1.0f, 0.0f, 0.0f}, {7, 6, 5, 4}},
    {{0.0f, 0.0f, -1.0f}, {4, 5, 1, 0}},
    {{0.0f, 0.0f, 1.0f}, {3, 2, 6, 7}},
    {{0.0f, -1.0f, 0.0f}, {0, 3, 7, 4}},
    {{0.0f, 1.0f, 0.0f}, {2, 1, 5, 6}},
}};

float SnapZero(float v)
{
    return std::fabs(v) < kSnapZero ? 0.0f : v;
}

// True when every surface of the sector and every world vertex of their corners exists.
bool ReferencesExist(const CQzlSections& level, const CQzlSector& sector)
{
    for (std::int32_t s : sector.m_surfaces) {
        if (s < 0 || static_cast<std::size_t>(s) >= level.m_surfaces.size() ||
            !level.m_surfaces[static_cast<std::size_t>(s)]) {
            return false;
        }
        for (const CQzlVertex& corner : level.m_surfaces[static_cast<std::size_t>(s)]->m_vertices) {
            if (corner.m_worldVertex < 0 ||
                static_cast<std::size_t>(corner.m_worldVertex) >= level.m_worldVertices.size()) {
                return false;
            }
        }
    }
    return true;
}

// The corner positions of each surface of the sector, in sector order.
std::vector<std::vector<CVector3>> SurfacePolygons(const CQzlSections& level,
                                                   const CQzlSector& sector)
{
    std::vector<std::vector<CVector3>> polygons;
    polygons.reserve(sector.m_surfaces.size());
    for (std::int32_t s : sector.m_surfaces) {
        std::vector<CVector3> points;
        for (const CQzlVertex& corner : level.m_surfaces[static_cast<std::size_t>(s)]->m_vertices) {
            points.push_back(WorldPosition(level, corner.m_worldVertex));
        }
        polygons.push_back(std::move(points));
    }
    return polygons;
}

// True when every edge of every surface lies on the line of an edge of another surface.
bool IsClosed(const std::vector<std::vector<CVector3>>& polygons)
{
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const std::vector<CVector3>& own = polygons[i];
        for (std::size_t k = 0; k < own.size(); ++k) {
            const CVector3& a = own[k];
            const CVector3& b = own[(k + 1) % own.size()];
            bool shared = false;
            for (std::size_t j = 0; j < polygons.size() && !shared; ++j) {
                if (j == i) {
                    continue;
                }
                const std::vector<CVector3>& other = polygons[j];
                for (std::size_t e = 0; e < other.size() && !shared; ++e) {
                    float t = 0.0f;
                    shared =
                        PointOnLineParam(a, b, other[e], t, kEdgeTolerance) &&
                        PointOnLineParam(a, b, other[(e + 1) % other.size()], t, kEdgeTolerance);
                }
            }
            if (!shared) {
                return false;
            }
        }
    }
    return true;
}

// One trial: grows the box from the centre with the x limits lo and hi. False when a corner's ray
// meets no surface.
bool GrowBox(const CQzlSections& level, const CQzlSector& sector, float lo, float hi,
             CBoundingBox& box)
{
    std::array<CVector3, 8> corners;
    corners.fill(sector.m_center);
    for (std::size_t f = 0; f < kFaces.size(); ++f) {
        const CBoxFace& face = kFaces[f];
        float faceDistance = 0.0f;
        for (std::size_t k = 0; k < face.corners.size(); ++k) {
            const CVector3 c = corners[static_cast<std::size_t>(face.corners[k])];
            const CVector3 p0 = c - face.direction * kRayBackOff;
            const CVector3 p1 = c + face.direction * kFarDistance;
            bool hit = false;
            float nearest = 0.0f;
            for (std::int32_t s : sector.m_surfaces) {
                const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(s)];
                CVector3 point;
                float t = 0.0f;
                if (!IntersectSegmentSurfacePlane(level, s, p0, p1, point, t) ||
                    !(Dot(face.direction, surface.m_normal) < 0.0f)) {
                    continue;
                }
                const float distance = VectorLength(point - c);
                if (!hit || distance < nearest) {
                    nearest = distance;
                    hit = true;
                }
            }
            if (!hit) {
                return false;
            }
            if (k == 0 || nearest < faceDistance) {
                faceDistance = nearest;
            }
        }
        for (int index : face.corners) {
            CVector3& c = corners[static_cast<std::size_t>(index)];
            c = c + face.direction * faceDistance;
            if (f == 0 && c.x < lo) {
                c.x = lo;
            }
            if (f == 1 && c.x > hi) {
                c.x = hi;
            }
            c = {SnapZero(c.x), SnapZero(c.y), SnapZero(c.z)};
        }
    }
    box = {corners[0], corners[6]};
    return true;
}

}  // namespace

CBoundingBox ComputeCollideBox(CQzlSections& level, int sectorIndex)
{
    if (sectorIndex < 0 || static_cast<std::size_t>(sectorIndex) >= level.m_sectors.size() ||
        !level.m_sectors[static_cast<std::size_t>(sectorIndex)]) {
        return {};
    }
    CQzlSector& sector = *level.m_sectors[static_cast<std::size_t>(sectorIndex)];
    const auto noBox = [&sector](const CBoundingBox& fallback) {
        sector.m_flags &= ~kSectorHasCollideBox;
        return fallback;
    };

    if (sector.m_surfaces.size() < 6 || !ReferencesExist(level, sector) ||
        !IsClosed(SurfacePolygons(level, sector))) {
        return noBox(sector.m_boundBox);
    }

    float step = kFirstStep;
    CBoundingBox best = sector.m_boundBox;
    CBoundingBox previous = sector.m_boundBox;
    float bestVolume = 0.0f;
    float lo = -kFarDistance;
    float hi = kFarDistance;
    int cur = 0;
    int next = 0;
    for (int trial = 0; trial < kMaxTrials; ++trial) {
        CBoundingBox box;
        if (!GrowBox(level, sector, lo, hi, box)) {
            return noBox(previous);
        }
        previous = box;
        const float volume = BoxVolume(box);
        if (volume > bestVolume) {
            best = box;
            bestVolume = volume;
            next = cur;
        }
        if (next == 3) {
            if (step < kLastStep) {
                return best;
            }
            step /= 2.0f;
            next = cur;
        } else {
            cur = next;
        }
        switch (cur) {
        case 0:
            next = 1;
            lo = best.min.x + step;
            hi = best.max.x;
            break;
        case 1:
            next = 2;
            lo = best.min.x;
            hi = best.max.x - step;
            break;
        default:
            next = 3;
            lo = best.min.x + step;
            hi = best.max.x - step;
            break;
        }
    }
    return best;
}
