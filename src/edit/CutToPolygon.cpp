#include "edit/CutToPolygon.h"

#include "edit/SplitSurface.h"
#include "engine/C3dView.h"
#include "framework/DocumentState.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// The groups of the cutting order, first cut first.
enum class EEdgeKind {
    Along,
    Across,
    Diagonal,
    Other
};

EEdgeKind Classify(const CVector3& e, const CVector3& d, const CVector3& p)
{
    if (std::fabs(Dot(e, p)) < 0.1f)
        return EEdgeKind::Along;
    if (std::fabs(Dot(e, d)) < 0.1f)
        return EEdgeKind::Across;
    if (std::fabs(Dot(e, d + p)) < 0.1f || std::fabs(Dot(e, d - p)) < 0.1f)
        return EEdgeKind::Diagonal;
    return EEdgeKind::Other;
}

// Puts back, when it goes out of scope, the switches and the current sector a cut borrows.
class CBorrowedState {
public:
    explicit CBorrowedState(C3dView& view)
        : m_view(view), m_gridOn(view.GetDocument().m_gridOn),
          m_sectorMode(view.GetDocument().m_sectorMode), m_sector(view.m_selection.m_sector)
    {}
    ~CBorrowedState()
    {
        m_view.GetDocument().m_gridOn = m_gridOn;
        m_view.GetDocument().m_sectorMode = m_sectorMode;
        m_view.m_selection.m_sector = m_sector;
    }
    CBorrowedState(const CBorrowedState&) = delete;
    CBorrowedState& operator=(const CBorrowedState&) = delete;

private:
    C3dView& m_view;
    std::int32_t m_gridOn;
    std::int32_t m_sectorMode;
    std::int32_t m_sector;
};

// The corners of the polygon's bounding rectangle on the plane a, b, c, d, in the two axes other
// than its normal's strictly largest one; none when no component is strictly largest.
std::vector<CVector3> BoundingRectangle(const float plane[4], const CVector3& lo,
                                        const CVector3& hi)
{
    const float a = plane[0];
    const float b = plane[1];
    const float c = plane[2];
    const float d = plane[3];
    const float ax = std::fabs(a);
    const float ay = std::fabs(b);
    const float az = std::fabs(c);
    if (ax > ay && ax > az) {
        const auto at = [&](float y, float z) { return CVector3(-(b * y + c * z + d) / a, y, z); };
        return {at(lo.y, lo.z), at(hi.y, lo.z), at(hi.y, hi.z), at(lo.y, hi.z)};
    }
    if (ay > ax && ay > az) {
        const auto at = [&](float x, float z) { return CVector3(x, -(a * x + c * z + d) / b, z); };
        return {at(lo.x, lo.z), at(lo.x, hi.z), at(hi.x, hi.z), at(hi.x, lo.z)};
    }
    if (az > ax && az > ay) {
        const auto at = [&](float x, float y) { return CVector3(x, y, -(a * x + b * y + d) / c); };
        return {at(lo.x, lo.y), at(lo.x, hi.y), at(hi.x, hi.y), at(hi.x, lo.y)};
    }
    return {};
}

// Whether both points lie within 0.001 of one edge of the surface.
bool HasEdge(const CQzlSections& level, const CQzlSurface& surface, const CVector3& q0,
             const CVector3& q1)
{
    const std::size_t n = surface.m_vertices.size();
    for (std::size_t k = 0; k < n; ++k) {
        const CVector3 a = WorldPosition(level, surface.m_vertices[k].m_worldVertex);
        const CVector3 b = WorldPosition(level, surface.m_vertices[(k + 1) % n].m_worldVertex);
        if (PointLineDistance(a, b, q0) < 0.001f && PointLineDistance(a, b, q1) < 0.001f)
            return true;
    }
    return false;
}

}  // namespace

std::vector<CPolygonCut> OrderPolygonCuts(std::span<const CVector3> polygon, const CVector3& d,
                                          const CVector3& normal)
{
    const CVector3 p = VectorCross(normal, d);
    std::vector<CPolygonCut> cuts;
    std::vector<EEdgeKind> kinds;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const CPolygonCut cut{polygon[i], polygon[(i + 1) % n]};
        const EEdgeKind kind = Classify(cut.m_to - cut.m_from, d, p);
        // Before the first edge of the same group or a later one.
        const auto place = std::find_if(kinds.begin(), kinds.end(),
                                        [kind](EEdgeKind other) { return other >= kind; });
        const auto at = place - kinds.begin();
        kinds.insert(place, kind);
        cuts.insert(cuts.begin() + at, cut);
    }
    return cuts;
}

bool CutSurfaceToPolygon(C3dView& view, int sector, int surface,
                         const std::vector<CVector3>& polygon, CVector3 d)
{
    CQzlSections& level = view.GetLevel();
    if (polygon.size() < 3 || sector < 0 ||
        static_cast<std::size_t>(sector) >= level.m_sectors.size() || surface < 0 ||
        static_cast<std::size_t>(surface) >= level.m_surfaces.size())
        return false;

    const CBorrowedState borrowed(view);
    CSelection& selection = view.m_selection;
    view.GetDocument().m_gridOn = 1;
    view.GetDocument().m_sectorMode = 0;
    selection.m_sector = sector;
    selection.m_surface = surface;
    const CQzlSurface& f = *level.m_surfaces[static_cast<std::size_t>(surface)];
    const CVector3 normal = f.m_normal;
    const float plane[4] = {f.m_plane[0], f.m_plane[1], f.m_plane[2], f.m_plane[3]};

    CVector3 lo(1e11f, 1e11f, 1e11f);
    CVector3 hi(-1e11f, -1e11f, -1e11f);
    CVector3 centre;
    for (const CVector3& q : polygon) {
        lo = VectorMin(lo, q);
        hi = VectorMax(hi, q);
        centre = centre + q;
    }
    centre = centre / static_cast<float>(polygon.size());
    const CVector3 above = centre + normal * 0.001f;
    const CVector3 below = centre - normal * 0.001f;

    // The piece that holds the polygon's centre becomes the current surface.
    const auto findPiece = [&] {
        for (const std::int32_t s : level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces) {
            if (s < 0 || static_cast<std::size_t>(s) >= level.m_surfaces.size())
                continue;
            if (VectorLength(level.m_surfaces[static_cast<std::size_t>(s)]->m_normal - normal) <
                    0.001f &&
                PointInSurface(level, s, above, below)) {
                selection.m_surface = s;
                return;
            }
        }
    };
    const auto cut = [&](const CVector3& from, const CVector3& to) {
        selection.m_pickedNodes = {from, to};
        SplitSurface(view, false);
    };

    const std::vector<CVector3> box = BoundingRectangle(plane, lo, hi);
    if (!box.empty()) {
        constexpr std::size_t kPairs[4][2] = {{0, 1}, {3, 2}, {1, 2}, {0, 3}};
        for (const auto& pair : kPairs) {
            cut(box[pair[0]], box[pair[1]]);
            findPiece();
        }
    }

    for (const CPolygonCut& edge : OrderPolygonCuts(polygon, d, normal)) {
        const CQzlSurface& current =
            *level.m_surfaces[static_cast<std::size_t>(selection.m_surface)];
        if (HasEdge(level, current, edge.m_from, edge.m_to))
            continue;
        cut(edge.m_from, edge.m_to);
        selection.m_pickedNodes.clear();
        findPiece();
    }
    return true;
}
