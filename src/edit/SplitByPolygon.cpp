#include "edit/SplitByPolygon.h"

#include "edit/SplitSurface.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/FrameRender.h"
#include "engine/MarkerBuilders.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <vector>

namespace {

constexpr float kTwoPi = 6.2831855f;
// A side runs along the direction of the first side when their unit directions differ by less.
constexpr float kAlongFirstSide = 0.1f;
// How far beyond the ends of a side its crossing with an edge may lie (as a fraction of the side).
constexpr float kSideSlack = 0.0001f;

CVector3 CornerPosition(const CQzlSections& level, const CQzlSurface& surface, std::size_t i)
{
    return WorldPosition(level, surface.m_vertices[i].m_worldVertex);
}

// Where the side a-b, one end inside the surface and the other outside, crosses the surface's
// outline: on the edge with the smaller of the two ends' nearest-edge indices when that crossing
// lies on the side, else on the other nearest edge, else on the first edge that gives one. The
// nearer edge of the end inside can lie across the surface from where the side leaves it; its
// crossing with the side's line is then no point of the side.
std::optional<CVector3> SideCrossing(const CQzlSections& level, const CQzlSurface& surface,
                                     const CVector3& a, const CVector3& b, int edgeA, int edgeB)
{
    const CVector3 side = b - a;
    CVector3 m = VectorCross(surface.m_normal, side);
    const float length = VectorLength(m);
    const float sideSquared = LengthSquared(side);
    if (!(length > 0.0f) || !(sideSquared > 0.0f))
        return std::nullopt;
    m = m / length;
    const int count = static_cast<int>(surface.m_vertices.size());
    std::vector<int> edges{std::min(edgeA, edgeB), std::max(edgeA, edgeB)};
    for (int e = 0; e < count; ++e)
        edges.push_back(e);
    for (const int e : edges) {
        if (e < 0 || e >= count)
            continue;
        const CVector3 c = CornerPosition(level, surface, static_cast<std::size_t>(e));
        const CVector3 d =
            CornerPosition(level, surface, static_cast<std::size_t>((e + 1) % count));
        const float num = Dot(c - a, m);
        const float den = Dot(d - c, m);
        if (den == 0.0f)
            continue;
        const float t = -num / den;
        if (!(t >= 0.0f && t <= 1.0f))
            continue;
        const CVector3 crossing = c + (d - c) * t;
        const float along = Dot(crossing - a, side) / sideSquared;
        if (along >= -kSideSlack && along <= 1.0f + kSideSlack)
            return crossing;
    }
    return std::nullopt;
}

}  // namespace

int StepPolygonSides(int sides, int delta)
{
    const int next = sides - delta;
    if (next < CSplitPolygonValues::kFewestSides)
        return CSplitPolygonValues::kMostSides;
    if (next > CSplitPolygonValues::kMostSides)
        return CSplitPolygonValues::kFewestSides;
    return next;
}

float StepPolygonRadius(float radius, int delta)
{
    const float next = radius - static_cast<float>(delta) * 0.01f;
    if (!(next >= CSplitPolygonValues::kSmallestRadius))
        return CSplitPolygonValues::kLargestRadius;
    if (next > CSplitPolygonValues::kLargestRadius)
        return CSplitPolygonValues::kSmallestRadius;
    return next;
}

std::optional<std::vector<CVector3>> ComputeSplitPolygon(const C3dView& view, const CVector3& a,
                                                         const CVector3& b,
                                                         const CSplitPolygonValues& values)
{
    const CQzlSections& level = view.GetLevel();
    const int surface = view.m_selection.m_surface;
    const float distance = VectorLength(b - a);
    if (!InRange(level.m_surfaces, surface) || !(distance > 0.0f) || values.m_sides < 1)
        return std::nullopt;
    const CQzlSurface& s = *At(level.m_surfaces, surface);
    const CVector3 u = (b - a) / distance;
    const CVector3 w = VectorCross(s.m_normal, u);
    const float step = kTwoPi / static_cast<float>(values.m_sides);
    const float r = values.m_radius / std::cos(step / 2.0f);

    std::vector<CVector3> polygon;
    for (int k = 0; k < values.m_sides; ++k) {
        const float angle = (static_cast<float>(k) + 0.5f) * step;
        CVector3 p = a + w * (r * std::cos(angle)) + u * (r * std::sin(angle));
        if (values.m_snap)
            SnapPoint(view, p, p.x, p.y, p.z);
        polygon.push_back(p);
    }

    // Clipped to the surface.
    std::vector<CVector3> clipped;
    const std::size_t n = polygon.size();
    for (std::size_t k = 0; k < n; ++k) {
        const CVector3& p = polygon[k];
        const CVector3& q = polygon[(k + 1) % n];
        int edgeP = -1;
        int edgeQ = -1;
        const bool pInside = PointSurfaceDistance(level, surface, p, edgeP);
        const bool qInside = PointSurfaceDistance(level, surface, q, edgeQ);
        if (pInside)
            clipped.push_back(p);
        if (pInside != qInside) {
            if (const std::optional<CVector3> crossing = SideCrossing(level, s, p, q, edgeP, edgeQ))
                clipped.push_back(*crossing);
        }
    }

    // Starting at the first side that runs along u.
    std::size_t start = 0;
    const std::size_t m = clipped.size();
    for (std::size_t i = 0; i < m; ++i) {
        const CVector3 side = clipped[(i + 1) % m] - clipped[i];
        const float length = VectorLength(side);
        if (length > 0.0f && VectorLength(side / length - u) < kAlongFirstSide) {
            start = i;
            break;
        }
    }
    std::vector<CVector3> corners;
    for (std::size_t i = 0; i < m; ++i)
        corners.push_back(clipped[(start + i) % m]);
    return corners;
}

void ShowSplitPolygon(C3dView& view, const std::vector<CVector3>& corners)
{
    view.m_selection.m_pickedNodes = corners;
    BuildAllVertexMarkers(view);
    RenderFrame(view, 1);
}

const char* SplitPolygonRefusal(const std::vector<CVector3>& corners)
{
    for (std::size_t i = 0; i < corners.size(); ++i)
        for (std::size_t j = i + 1; j < corners.size(); ++j)
            if (corners[i].x == corners[j].x && corners[i].y == corners[j].y &&
                corners[i].z == corners[j].z)
                return "The snap to grid options causes grid nodes\nto overlap. Please select a "
                       "smaller grid size.";
    if (corners.size() < 3)
        return "The specified radius causes too many grid nodes to be\noutside the current "
               "surface. Please select a smaller radius.";
    return nullptr;
}

bool CanSplitByPolygon(const C3dView& view)
{
    return view.m_selection.m_pickedNodes.size() == 2 && view.m_selection.m_surface >= 0;
}

bool SplitByPolygon(C3dView& view)
{
    if (!InRange(view.GetLevel().m_surfaces, view.m_selection.m_surface) ||
        SplitPolygonRefusal(view.m_selection.m_pickedNodes) != nullptr || !SplitSurface(view, true))
        return false;
    view.GetDocument().m_gridOn = 0;
    RebuildSector(view, view.m_selection.m_sector);
    view.GetHost().UpdateAllViews(0);
    return true;
}

bool RunSplitByPolygon(C3dView& view)
{
    return RunUndoable(view, [&view] { return SplitByPolygon(view); });
}
