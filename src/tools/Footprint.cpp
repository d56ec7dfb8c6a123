#include "tools/Footprint.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/MarkerBuilders.h"
#include "engine/RenderData.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/QzlSections.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>

namespace {

CVector3 Unit(const CVector3& v)
{
    const float length = VectorLength(v);
    return length > 0.0f ? v / length : CVector3{};
}

// Where the outline edge from inside to outside crosses the surface's outline: of the surface
// edges that the edge's line meets within the surface edge and within the outline edge, the
// crossing nearest to the inside end. None when rounding puts every crossing off the segment.
std::optional<CVector3> Crossing(std::span<const CVector3> surface, const CVector3& normal,
                                 const CVector3& inside, const CVector3& outside)
{
    const CVector3 along = outside - inside;
    const float lengthSquared = LengthSquared(along);
    if (lengthSquared <= 0.0f)
        return std::nullopt;
    const CVector3 m = FootprintEdgeNormal(normal, inside, outside);
    constexpr float kSlack = 1e-4f;
    std::optional<CVector3> best;
    float bestS = 0.0f;
    const std::size_t n = surface.size();
    for (std::size_t k = 0; k < n; ++k) {
        const CVector3& v0 = surface[k];
        const CVector3& v1 = surface[(k + 1) % n];
        const float divisor = Dot(v1 - v0, m);
        if (divisor == 0.0f)
            continue;
        const float t = -Dot(v0 - inside, m) / divisor;
        if (t < 0.0f || t > 1.0f)
            continue;
        const CVector3 x = v0 + (v1 - v0) * t;
        const float s = Dot(x - inside, along) / lengthSquared;
        if (s < -kSlack || s > 1.0f + kSlack)
            continue;
        if (!best || s < bestS) {
            best = x;
            bestS = s;
        }
    }
    return best;
}

}  // namespace

std::vector<CVector3> ClipFootprint(std::span<const CVector3> corners,
                                    std::span<const CVector3> surface, const CVector3& normal,
                                    const CVector3& axis)
{
    std::vector<CVector3> kept;
    const std::size_t n = corners.size();
    for (std::size_t i = 0; i < n; ++i) {
        const CVector3& a = corners[i];
        const CVector3& b = corners[(i + 1) % n];
        int edgeA = -1;
        int edgeB = -1;
        const bool inA = PointPolygonDistance(surface, normal, a, edgeA);
        const bool inB = PointPolygonDistance(surface, normal, b, edgeB);
        if (inA)
            kept.push_back(a);
        if (inA != inB) {
            const std::optional<CVector3> x =
                inA ? Crossing(surface, normal, a, b) : Crossing(surface, normal, b, a);
            if (x)
                kept.push_back(*x);
        }
    }
    std::size_t start = 0;
    for (std::size_t j = 0; j < kept.size(); ++j) {
        const CVector3 direction = Unit(kept[(j + 1) % kept.size()] - kept[j]);
        if (VectorLength(direction - axis) < 0.1f) {
            start = j;
            break;
        }
    }
    std::vector<CVector3> result;
    result.reserve(kept.size());
    for (std::size_t j = 0; j < kept.size(); ++j)
        result.push_back(kept[(start + j) % kept.size()]);
    return result;
}

CVector3 FootprintEdgeNormal(const CVector3& normal, const CVector3& a, const CVector3& b)
{
    return Unit(VectorCross(normal, b - a));
}

bool FootprintHasOverlap(std::span<const CVector3> footprint)
{
    for (std::size_t i = 0; i < footprint.size(); ++i)
        for (std::size_t j = i + 1; j < footprint.size(); ++j)
            if (footprint[i] == footprint[j])
                return true;
    return false;
}

std::vector<CVector3> RectangleCorners(const CVector3& base, float width, float depth,
                                       const CVector3& depthAxis, const CVector3& widthAxis)
{
    const CVector3 w = widthAxis * (width / 2.0f);
    const CVector3 d = depthAxis * (depth / 2.0f);
    return {base - w - d, base - w + d, base + w + d, base + w - d};
}

std::vector<CVector3> CylinderOutline(const CVector3& centre, int sides, float radius,
                                      const CVector3& depthAxis, const CVector3& widthAxis)
{
    std::vector<CVector3> outline;
    if (sides <= 0)
        return outline;
    const double step = 6.2831854820251465 / sides;
    const double r = static_cast<double>(radius) / std::cos(step / 2.0);
    for (int i = 0; i < sides; ++i) {
        const double a = step / 2.0 + i * step;
        outline.push_back(centre + widthAxis * static_cast<float>(r * std::cos(a)) +
                          depthAxis * static_cast<float>(r * std::sin(a)));
    }
    return outline;
}

int SpinSides(int sides, int delta)
{
    const int next = sides - delta;
    if (next < 3)
        return 24;
    if (next > 24)
        return 3;
    return next;
}

float SpinRadius(float radius, int delta)
{
    const float next = radius - static_cast<float>(delta) * 0.01f;
    if (next < 0.1f)
        return 100.0f;
    if (next > 100.0f)
        return 0.1f;
    return next;
}

CFootprintAxes FootprintAxes(const C3dView& view, const CVector3& base, const CVector3& second)
{
    const CQzlSections& level = view.GetLevel();
    CFootprintAxes axes;
    if (InRange(level.m_surfaces, view.m_selection.m_surface))
        axes.m_normal = At(level.m_surfaces, view.m_selection.m_surface)->m_normal;
    axes.m_depthAxis = Unit(second - base);
    axes.m_widthAxis = VectorCross(axes.m_normal, axes.m_depthAxis);
    return axes;
}

void LayOutFootprint(C3dView& view, std::vector<CVector3> corners, bool snap,
                     const CFootprintAxes& axes)
{
    const CQzlSections& level = view.GetLevel();
    const int surface = view.m_selection.m_surface;
    if (!InRange(level.m_surfaces, surface))
        return;
    if (snap)
        for (CVector3& corner : corners)
            SnapPoint(view, corner, corner.x, corner.y, corner.z);
    std::vector<CVector3> outline;
    GetSurfaceCornerPolygon(level, surface, outline);
    view.m_selection.m_pickedNodes =
        ClipFootprint(corners, outline, At(level.m_surfaces, surface)->m_normal, axes.m_depthAxis);
    BuildAllVertexMarkers(view);
    view.GetHost().RequestFrame(true);
}

void RestorePickedNodes(C3dView& view, std::vector<CVector3> nodes)
{
    view.m_selection.m_pickedNodes = std::move(nodes);
    BuildAllVertexMarkers(view);
    view.GetHost().RequestFrame(true);
}

std::optional<std::string_view> FootprintProblem(const C3dView& view, std::size_t fewest,
                                                 std::string_view outside)
{
    const std::vector<CVector3>& nodes = view.m_selection.m_pickedNodes;
    if (FootprintHasOverlap(nodes))
        return kFootprintOverlap;
    if (nodes.size() < fewest)
        return outside;
    return std::nullopt;
}
