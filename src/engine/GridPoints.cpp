#include "engine/GridPoints.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/PointMarkers.h"
#include "engine/RenderData.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "math/Rounding.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Number of steps i >= 0 with from + i * step < to, as a double (0 when there are none, not a
// number when the bounds are not).
double StepCount(float from, float to, float step)
{
    const double span = static_cast<double>(to) - static_cast<double>(from);
    if (std::isnan(span))
        return span;
    return span > 0.0 ? std::ceil(span / static_cast<double>(step)) : 0.0;
}

// True when a layout of that many probes may run; false for a count that is not a number.
bool ProbesAllowed(double probes)
{
    return probes <= kMaxGridProbes;
}

bool UsableGrid(float g)
{
    return std::isfinite(g) && g > 0.0f;
}

void Refuse(C3dView& view)
{
    view.GetHost().SetStatusText(kGridTooFineText);
}

void AddGridMarker(C3dView& view, const CVector3& p)
{
    AddPointMarker(view.m_markers, p.x, p.y, p.z, ColorToVertex(view.GetSettings().m_colorGrid), -1,
                   view.GetSettings(), view.GetDocument().m_enlargeView != 0);
}

bool InSurface(const CQzlSections& level, int surface, const CVector3& p)
{
    int edge = 0;
    return PointSurfaceDistance(level, surface, p, edge);
}

// The positions of the surface's corners; corners naming no world vertex are passed over.
std::vector<CVector3> Corners(const CQzlSections& level, const CQzlSurface& surface)
{
    std::vector<CVector3> corners;
    corners.reserve(surface.m_vertices.size());
    for (const CQzlVertex& v : surface.m_vertices) {
        if (v.m_worldVertex >= 0 &&
            static_cast<std::size_t>(v.m_worldVertex) < level.m_worldVertices.size())
            corners.push_back(WorldPosition(level, v.m_worldVertex));
    }
    return corners;
}

bool EdgeDivision(C3dView& view, const std::vector<CVector3>& corners, float g)
{
    const std::size_t count = corners.size();
    std::vector<double> divisions(count, 0.0);
    double probes = 0.0;
    for (std::size_t k = 0; k < count; ++k) {
        const CVector3 d = corners[(k + 1) % count] - corners[k];
        const auto grid = static_cast<double>(g);
        divisions[k] = std::floor((static_cast<double>(VectorLength(d)) + grid) / grid);
        probes += divisions[k] + 1.0;
    }
    if (!ProbesAllowed(probes)) {
        Refuse(view);
        return false;
    }
    for (std::size_t k = 0; k < count; ++k) {
        const CVector3& a = corners[k];
        const CVector3 d = corners[(k + 1) % count] - a;
        const auto n = static_cast<int>(divisions[k]);
        for (int i = 0; i <= n; ++i)
            AddGridMarker(view, a + d * (static_cast<float>(i) / static_cast<float>(n)));
    }
    return true;
}

bool AxisGrid(C3dView& view, int surfaceIndex, float g, bool throughCentroid)
{
    const CQzlSections& level = view.GetLevel();
    const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(surfaceIndex)];
    const float a = surface.m_plane[0];
    const float b = surface.m_plane[1];
    const float c = surface.m_plane[2];
    const float d = surface.m_plane[3];
    const float fa = std::fabs(a);
    const float fb = std::fabs(b);
    const float fc = std::fabs(c);
    // 2 = z, 1 = y, 0 = x.
    const int dominant = fc >= fa && fc >= fb ? 2 : (fb >= fa && fb >= fc ? 1 : 0);
    const float divisor = dominant == 2 ? c : (dominant == 1 ? b : a);
    if (!(std::fabs(divisor) > 0.0f))
        return true;  // no plane to lay a grid in

    const CVector3 half(g / 2.0f, g / 2.0f, g / 2.0f);
    const CVector3 lo = surface.m_box.min - half;
    const CVector3 hi = surface.m_box.max + half;
    // The two coordinates that run, in x, y, z order.
    const auto coordinate = [](const CVector3& v, int axis) {
        return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
    };
    const int first = dominant == 0 ? 1 : 0;
    const int second = dominant == 2 ? 1 : 2;
    const float lo1 = coordinate(lo, first);
    const float hi1 = coordinate(hi, first);
    const float lo2 = coordinate(lo, second);
    const float hi2 = coordinate(hi, second);
    const double probes = StepCount(lo1, hi1, g) * StepCount(lo2, hi2, g);
    if (!ProbesAllowed(probes)) {
        Refuse(view);
        return false;
    }

    std::vector<CVector3> inside;
    for (int i = 0;; ++i) {
        const float u = lo1 + static_cast<float>(i) * g;
        if (!(u < hi1))
            break;
        for (int j = 0;; ++j) {
            const float v = lo2 + static_cast<float>(j) * g;
            if (!(v < hi2))
                break;
            CVector3 p;
            switch (dominant) {
            case 2:
                p = {u, v, -(a * u + b * v + d) / c};
                break;
            case 1:
                p = {u, -(a * u + c * v + d) / b, v};
                break;
            default:
                p = {-(b * u + c * v + d) / a, u, v};
                break;
            }
            if (InSurface(level, surfaceIndex, p))
                inside.push_back(p);
        }
    }

    CVector3 offset;
    if (throughCentroid) {
        const CVector3 centroid = SurfaceCentroid(level, surfaceIndex);
        float best = kFarDistance;
        for (const CVector3& p : inside) {
            const float q2 = LengthSquared(p - centroid);
            if (q2 < best) {
                best = q2;
                offset = p - centroid;
            }
        }
    }
    for (const CVector3& p : inside)
        AddGridMarker(view, p - offset);
    return true;
}

bool EdgeGrid(C3dView& view, int surfaceIndex, const std::vector<CVector3>& corners, float g,
              int alignment)
{
    const CQzlSections& level = view.GetLevel();
    const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(surfaceIndex)];
    const int count = static_cast<int>(corners.size());
    const int e = alignment < count - 1 ? alignment : count - 1;
    const CVector3 a = corners[static_cast<std::size_t>(e)];
    const CVector3 b = corners[static_cast<std::size_t>((e + 1) % count)];
    const float length = VectorLength(b - a);
    if (!(length > 0.0f) || !std::isfinite(length))
        return true;  // a zero-length edge gives no direction
    const CVector3 u = (b - a) / length;
    const CVector3 w = VectorCross(u, surface.m_normal);
    if (!(LengthSquared(w) > 0.0f))
        return true;  // no plane to lay a grid in

    float across = 0.0f;
    float ahead = 0.0f;
    float behind = 0.0f;
    const CVector3 side = a + w;
    for (const CVector3& p : corners) {
        const float off = ClosestPointOnLine(a, b, p);
        if (off > across)
            across = off;
        const float along = ClosestPointOnLine(a, side, p);
        float& extent = Dot(p - a, u) >= 0.0f ? ahead : behind;
        if (along > extent)
            extent = along;
    }
    across = RoundToStep(across, 1.0f / g) + g / 2.0f;
    ahead = RoundToStep(ahead, 1.0f / g) + g / 2.0f;
    behind = RoundToStep(behind, 1.0f / g);

    const float sFrom = -behind / g;
    const float sTo = ahead / g;
    const float tTo = across / g;
    const double probes = StepCount(sFrom, sTo, 1.0f) * StepCount(0.0f, tTo, 1.0f);
    if (!ProbesAllowed(probes)) {
        Refuse(view);
        return false;
    }
    for (int i = 0;; ++i) {
        const float s = sFrom + static_cast<float>(i);
        if (!(s < sTo))
            break;
        for (int j = 0;; ++j) {
            const auto t = static_cast<float>(j);
            if (!(t < tTo))
                break;
            const CVector3 p = a + u * (s * g) + w * (t * g);
            if (InSurface(level, surfaceIndex, p))
                AddGridMarker(view, p);
        }
    }
    return true;
}

bool VolumeGrid(C3dView& view, int sectorIndex, float g)
{
    CQzlSections& level = view.GetLevel();
    CQzlSector& sector = *level.m_sectors[static_cast<std::size_t>(sectorIndex)];
    CVector3 lo;
    CVector3 hi;
    SnapPoint(view, lo, sector.m_boundBox.min.x, sector.m_boundBox.min.y, sector.m_boundBox.min.z);
    SnapPoint(view, hi, sector.m_boundBox.max.x, sector.m_boundBox.max.y, sector.m_boundBox.max.z);
    hi = hi + CVector3(g / 2.0f, g / 2.0f, g / 2.0f);
    const double probes =
        StepCount(lo.x, hi.x, g) * StepCount(lo.y, hi.y, g) * StepCount(lo.z, hi.z, g);
    if (!ProbesAllowed(probes)) {
        Refuse(view);
        return false;
    }

    // The snapped grid may start a little outside the sector's box; the box is widened to the
    // grid for the containment tests and given back afterwards.
    struct CBoxRestore {
        CQzlSector& m_sector;
        CBoundingBox m_box;
        ~CBoxRestore() { m_sector.m_boundBox = m_box; }
    } restore{sector, sector.m_boundBox};
    sector.m_boundBox = {lo, hi};

    for (int i = 0;; ++i) {
        const float x = lo.x + static_cast<float>(i) * g;
        if (!(x < hi.x))
            break;
        for (int j = 0;; ++j) {
            const float y = lo.y + static_cast<float>(j) * g;
            if (!(y < hi.y))
                break;
            for (int k = 0;; ++k) {
                const float z = lo.z + static_cast<float>(k) * g;
                if (!(z < hi.z))
                    break;
                const CVector3 p(x, y, z);
                if (PointInSector(level, sectorIndex, p, -0.01f))
                    AddGridMarker(view, p);
            }
        }
    }
    return true;
}

}  // namespace

bool BuildGridPoints(C3dView& view)
{
    view.m_markers.clear();
    const CQzlSections& level = view.GetLevel();
    const int sector = view.m_selection.m_sector;
    if (sector < 0 || static_cast<std::size_t>(sector) >= level.m_sectors.size())
        return true;
    const float g = view.GetSettings().m_grid;
    if (!UsableGrid(g))
        return true;

    const CDocumentState& document = view.GetDocument();
    if (document.m_gridSurfaceOnly == 0 && document.m_gridEdgesOnly == 0)
        return VolumeGrid(view, sector, g);

    for (const std::int32_t s : level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces) {
        if (!AddSurfaceGridMarkers(view, s)) {
            view.m_markers.clear();
            return false;
        }
    }
    return true;
}

bool AddSurfaceGridMarkers(C3dView& view, int surface)
{
    const CQzlSections& level = view.GetLevel();
    if (surface < 0 || static_cast<std::size_t>(surface) >= level.m_surfaces.size())
        return true;
    const float g = view.GetSettings().m_grid;
    if (!UsableGrid(g))
        return true;
    const CQzlSurface& s = *level.m_surfaces[static_cast<std::size_t>(surface)];
    const std::vector<CVector3> corners = Corners(level, s);
    if (corners.size() < 2)
        return true;

    if (view.GetDocument().m_gridEdgesOnly != 0)
        return EdgeDivision(view, corners, g);
    if (corners.size() < 3)
        return true;
    const int alignment = view.GetSettings().m_alignment;
    if (alignment < 0)
        return AxisGrid(view, surface, g, alignment == -2);
    return EdgeGrid(view, surface, corners, g, alignment);
}

CVector3 SurfaceCentroid(const CQzlSections& level, int surface)
{
    if (surface < 0 || static_cast<std::size_t>(surface) >= level.m_surfaces.size())
        return {};
    const std::vector<CVector3> p =
        Corners(level, *level.m_surfaces[static_cast<std::size_t>(surface)]);
    if (p.empty())
        return {};

    CVector3 sum;
    float total = 0.0f;
    for (std::size_t i = 1; i + 1 < p.size(); ++i) {
        const float weight = VectorLength(VectorCross(p[i] - p[0], p[i + 1] - p[0]));
        sum = sum + (p[0] + p[i] + p[i + 1]) * weight;
        total += weight;
    }
    if (total > 0.0f)
        return sum / (3.0f * total);

    CVector3 average;
    for (const CVector3& corner : p)
        average = average + corner;
    return average / static_cast<float>(p.size());
}
