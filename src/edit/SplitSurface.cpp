#include "edit/SplitSurface.h"

#include "edit/CutToPolygon.h"
#include "engine/C3dView.h"
#include "engine/GridPoints.h"
#include "engine/RenderData.h"
#include "framework/DocumentState.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/QzlSections.h"
#include "math/Rounding.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

template <typename List>
bool InRange(std::int32_t index, const List& list)
{
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

CVector3 CornerPosition(const CQzlSections& level, const CQzlSurface& surface, std::size_t i)
{
    return WorldPosition(level, surface.m_vertices[i].m_worldVertex);
}

// Sets a re-entry flag for its lifetime.
class CFlagScope {
public:
    explicit CFlagScope(std::int32_t& flag) : m_flag(flag) { m_flag = 1; }
    ~CFlagScope() { m_flag = 0; }
    CFlagScope(const CFlagScope&) = delete;
    CFlagScope& operator=(const CFlagScope&) = delete;

private:
    std::int32_t& m_flag;
};

// What a split changes: the split surface's corners, the lists a split appends to and the use
// counts. A split that cannot be finished gives them back, so that a refusal leaves the level as it
// was (the marks of the surface's corners cleared).
class CSplitRollback {
public:
    CSplitRollback(const CQzlSections& level, std::int32_t surface)
        : m_surface(surface), m_surfaces(level.m_surfaces.size()),
          m_worldVertices(level.m_worldVertices.size()), m_adjoins(level.m_adjoins.size()),
          m_useCounts(level.m_useCounts)
    {
        for (const CQzlVertex& corner :
             level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices) {
            m_corners.push_back(corner);
            m_corners.back().m_spareIndex = corner.m_spareIndex;
        }
        for (const auto& sector : level.m_sectors)
            m_sectorSurfaces.push_back(sector->m_surfaces.size());
    }

    void Restore(CQzlSections& level) const
    {
        level.m_surfaces.resize(m_surfaces);
        level.m_worldVertices.resize(m_worldVertices);
        level.m_adjoins.resize(m_adjoins);
        level.m_useCounts = m_useCounts;
        for (std::size_t s = 0; s < m_sectorSurfaces.size() && s < level.m_sectors.size(); ++s)
            level.m_sectors[s]->m_surfaces.resize(m_sectorSurfaces[s]);
        std::vector<CQzlVertex>& corners =
            level.m_surfaces[static_cast<std::size_t>(m_surface)]->m_vertices;
        corners.clear();
        for (const CQzlVertex& corner : m_corners) {
            corners.push_back(corner);
            corners.back().m_spareIndex = corner.m_spareIndex;
        }
        level.LinkAdjoins();
    }

private:
    std::int32_t m_surface;
    std::vector<CQzlVertex> m_corners;
    std::size_t m_surfaces;
    std::size_t m_worldVertices;
    std::size_t m_adjoins;
    std::vector<std::int32_t> m_useCounts;
    std::vector<std::size_t> m_sectorSurfaces;
};

bool RunsAlongEdge(const CVector3& p0, const CVector3& p1, const CVector3& a, const CVector3& b)
{
    float t0 = 0.0f;
    float t1 = 0.0f;
    return EdgesOverlap(p0, p1, a, b, t0, t1, true) || EdgesOverlap(p1, p0, a, b, t0, t1, true) ||
           EdgesOverlap(a, b, p0, p1, t0, t1, true) || EdgesOverlap(b, a, p0, p1, t0, t1, true);
}

// The corner inserted where the line crosses edge a-b (corners ca and cb) at t, on world vertex w.
CQzlVertex CrossingCorner(const CQzlVertex& ca, const CQzlVertex& cb, float t, std::int32_t w)
{
    CQzlVertex corner;
    corner.m_worldVertex = w;
    corner.m_textureVertex = ca.m_textureVertex;
    corner.m_u = ca.m_u + t * (cb.m_u - ca.m_u);
    corner.m_v = ca.m_v + t * (cb.m_v - ca.m_v);
    RoundToThousandth(corner.m_u, corner.m_v);
    for (int k = 0; k < 4; ++k)
        corner.m_intensity[k] = ca.m_intensity[k] + t * (cb.m_intensity[k] - ca.m_intensity[k]);
    corner.m_spareIndex = -1;
    corner.m_marked = 1;
    return corner;
}

// Marks the corners of the surface where the line through p0 and p1 (in the surface's plane)
// crosses its edges, inserting a corner where it crosses inside an edge. False, with nothing
// changed, when the line runs along an edge over one of the two or has no direction across the
// surface.
bool MarkCrossings(CQzlSections& level, CQzlSurface& surface, const CVector3& p0,
                   const CVector3& p1)
{
    std::vector<CQzlVertex>& corners = surface.m_vertices;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        if (RunsAlongEdge(p0, p1, CornerPosition(level, surface, i),
                          CornerPosition(level, surface, (i + 1) % corners.size())))
            return false;
    }
    // The normal of the cutting plane: it holds the line and stands upright on the surface.
    CVector3 n = VectorCross(surface.m_normal, p1 - p0);
    const float length = VectorLength(n);
    if (!(length > 0.0f))
        return false;
    n = n / length;

    // The count grows as corners go in; an inserted corner's edge to the next is not examined.
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const std::size_t j = (i + 1) % corners.size();
        const CVector3 a = CornerPosition(level, surface, i);
        const CVector3 b = CornerPosition(level, surface, j);
        const float sA = Dot(a - p0, n);
        const float dAB = Dot(b - a, n);
        if (dAB == 0.0f)
            continue;
        const float t = -sA / dAB;
        if (!(t >= -0.00001f && t <= 1.00001f))
            continue;
        if (std::fabs(t) < 0.0001f) {
            corners[i].m_marked = 1;
            continue;
        }
        if (std::fabs(t - 1.0f) < 0.0001f) {
            corners[j].m_marked = 1;
            continue;
        }
        const CVector3 x = a + (b - a) * t;
        CWorldVertex w = level.m_worldVertices[static_cast<std::size_t>(corners[i].m_worldVertex)];
        w.x = x.x;
        w.y = x.y;
        w.z = x.z;
        const std::int32_t index = level.AddVertex(w);
        // A crossing within 0.0001 of an end of a short edge is that corner: a second corner on
        // the same world vertex would make an edge of length 0.
        if (index == corners[i].m_worldVertex || index == corners[j].m_worldVertex) {
            --level.m_useCounts[static_cast<std::size_t>(index)];
            corners[index == corners[i].m_worldVertex ? i : j].m_marked = 1;
            continue;
        }
        CQzlVertex corner = CrossingCorner(corners[i], corners[j], t, index);
        corners.insert(corners.begin() + static_cast<std::ptrdiff_t>(i + 1), std::move(corner));
        ++i;
    }
    return true;
}

// Cuts the surface at its first two marked corners: it keeps the corners from the second on,
// wrapping round to the first, and a new surface of the sector, a copy of its fields, takes the
// corners from the first to the second; the two world vertices at the cut serve both. Every
// marked corner's world vertex goes into splitList, in corner order, and every mark is cleared.
// False when fewer than two corners are marked or a piece would have fewer than 3 corners.
bool SplitOffSurfacePart(CQzlSections& level, std::int32_t sector, std::int32_t surface,
                         std::vector<std::int32_t>& splitList)
{
    CQzlSurface& f = *level.m_surfaces[static_cast<std::size_t>(surface)];
    std::vector<CQzlVertex>& corners = f.m_vertices;
    const std::size_t n = corners.size();
    std::size_t first = n;
    std::size_t second = n;
    for (std::size_t i = 0; i < n; ++i) {
        if (corners[i].m_marked == 0)
            continue;
        if (first == n)
            first = i;
        else if (second == n)
            second = i;
        splitList.push_back(corners[i].m_worldVertex);
        corners[i].m_marked = 0;
    }
    if (second == n || second - first + 1 < 3 || n - second + first + 1 < 3)
        return false;

    auto piece = std::make_unique<CQzlSurface>(f, false, false);
    for (std::size_t i = first; i <= second; ++i)
        piece->m_vertices.push_back(corners[i]);
    for (const std::size_t end : {first, second}) {
        const auto w = static_cast<std::size_t>(corners[end].m_worldVertex);
        if (w < level.m_useCounts.size())
            ++level.m_useCounts[w];
    }
    corners.erase(corners.begin() + static_cast<std::ptrdiff_t>(first + 1),
                  corners.begin() + static_cast<std::ptrdiff_t>(second));

    level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces.push_back(
        static_cast<std::int32_t>(level.m_surfaces.size()));
    level.m_surfaces.push_back(std::move(piece));
    return true;
}

// Rebuilds the current sector and, when the surface has an adjoin, the sector on its other side.
void RebuildSplitSectors(C3dView& view, std::int32_t surface)
{
    const CQzlSections& level = view.GetLevel();
    const std::int32_t adjoin = level.m_surfaces[static_cast<std::size_t>(surface)]->m_adjoin;
    if (InRange(adjoin, level.m_adjoins))
        RebuildSector(view, level.m_adjoins[static_cast<std::size_t>(adjoin)]->m_otherSector);
    RebuildSector(view, view.m_selection.m_sector);
}

// Splits the twin of the surface (split already, with piece the new piece) along the split points
// and pairs the four pieces: each piece of the surface with the twin's piece over it. False, with
// the twin as it was, when the twin cannot be split so.
bool SplitTwin(C3dView& view, std::int32_t surface, std::int32_t piece,
               const std::vector<std::int32_t>& splitList)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const CQzlAdjoin& adjoin = *level.m_adjoins[static_cast<std::size_t>(
        level.m_surfaces[static_cast<std::size_t>(surface)]->m_adjoin)];
    const std::int32_t twinSector = adjoin.m_otherSector;
    const std::int32_t twin = adjoin.m_otherSurface;
    if (!InRange(twinSector, level.m_sectors) || !InRange(twin, level.m_surfaces) ||
        twin == surface || twin == piece)
        return false;

    const std::int32_t sector = selection.m_sector;
    const std::vector<CVector3> nodes = selection.m_pickedNodes;
    selection.m_pickedNodes.clear();
    for (const std::int32_t w : splitList)
        selection.m_pickedNodes.push_back(WorldPosition(level, w));
    selection.m_sector = twinSector;
    selection.m_surface = twin;
    const CSplitRollback rollback(level, twin);
    bool split = false;
    {
        CFlagScope flag(view.m_split.m_twin);
        split = SplitSurface(view, false);
    }
    selection.m_sector = sector;
    selection.m_surface = surface;
    if (!split) {
        selection.m_pickedNodes = nodes;
        return false;
    }

    // The pieces are paired by where the twin's pieces lie on the surface's own.
    const auto twinPiece = static_cast<std::int32_t>(level.m_surfaces.size() - 1);
    int edge = 0;
    const bool twinOverSurface =
        PointSurfaceDistance(level, surface, SurfaceCentroid(level, twin), edge);
    if (!twinOverSurface &&
        !PointSurfaceDistance(level, surface, SurfaceCentroid(level, twinPiece), edge)) {
        rollback.Restore(level);
        selection.m_pickedNodes = nodes;
        return false;
    }
    const auto m = static_cast<std::int32_t>(level.m_adjoins.size());
    for (const std::int32_t mirror : {m + 1, m}) {
        auto record = std::make_unique<CQzlAdjoin>();
        record->m_mirror = mirror;
        level.m_adjoins.push_back(std::move(record));
    }
    CQzlSurface& f2 = *level.m_surfaces[static_cast<std::size_t>(piece)];
    CQzlSurface& t = *level.m_surfaces[static_cast<std::size_t>(twin)];
    CQzlSurface& t2 = *level.m_surfaces[static_cast<std::size_t>(twinPiece)];
    if (twinOverSurface) {
        // The surface and its twin keep their pair; the new pieces take the new one.
        f2.m_adjoin = m;
        t2.m_adjoin = m + 1;
    } else {
        // The surface stays paired with the twin's new piece, the twin with the surface's.
        t2.m_adjoin = t.m_adjoin;
        t.m_adjoin = m + 1;
        f2.m_adjoin = m;
    }
    level.LinkAdjoins();
    return true;
}

}  // namespace

bool SplitSurface(C3dView& view, bool rebuild)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const std::int32_t sector = selection.m_sector;
    const std::int32_t surface = selection.m_surface;
    if (!InRange(sector, level.m_sectors) || !InRange(surface, level.m_surfaces))
        return false;
    const CDocumentState& document = view.GetDocument();
    // The twin of an adjoined surface is split along the surface's split points whatever the
    // switches say: the points are the line.
    const bool twinSplit = view.m_split.m_twin != 0;

    if (!twinSplit && document.m_gridOn != 0 && document.m_sectorMode == 0 &&
        selection.m_pickedNodes.size() > 2 && view.m_split.m_polygon == 0) {
        {
            CFlagScope flag(view.m_split.m_polygon);
            const std::vector<CVector3> polygon = selection.m_pickedNodes;
            CVector3 d = polygon[1] - polygon[0];
            const float length = VectorLength(d);
            if (length > 0.0f)
                d = d / length;
            CutSurfaceToPolygon(view, sector, surface, polygon, d);
        }
        if (rebuild)
            RebuildSplitSectors(view, surface);
        return true;
    }

    CQzlSurface& f = *level.m_surfaces[static_cast<std::size_t>(surface)];
    const bool line = twinSplit || document.m_gridOn != 0;
    if (line) {
        if (selection.m_pickedNodes.size() < 2)
            return false;
        // Only the line decides where a twin is split.
        if (twinSplit)
            for (CQzlVertex& corner : f.m_vertices)
                corner.m_marked = 0;
    }
    const CSplitRollback rollback(level, surface);
    if (line && !MarkCrossings(level, f, selection.m_pickedNodes[0], selection.m_pickedNodes[1]))
        return false;
    std::vector<std::int32_t> splitList;
    if (!SplitOffSurfacePart(level, sector, surface, splitList)) {
        rollback.Restore(level);
        return false;
    }
    level.LinkAdjoins();
    const auto piece = static_cast<std::int32_t>(level.m_surfaces.size() - 1);
    if (!twinSplit && InRange(f.m_adjoin, level.m_adjoins) &&
        !SplitTwin(view, surface, piece, splitList)) {
        rollback.Restore(level);
        return false;
    }

    selection.m_vertex = -1;
    selection.m_vertexSurface = -1;
    // The split that split the twin recomputes the bounds once both are cut.
    if (!twinSplit)
        UpdateSectorBounds(level, false);
    if (rebuild)
        RebuildSplitSectors(view, surface);
    return true;
}

bool CanSplitSurface(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    if (!InRange(selection.m_surface, level.m_surfaces))
        return false;
    const CDocumentState& document = view.GetDocument();
    if (document.m_gridOn != 0)
        return selection.m_pickedNodes.size() >= 2 && document.m_sectorMode == 0;

    const CQzlSurface& f = *level.m_surfaces[static_cast<std::size_t>(selection.m_surface)];
    const std::size_t n = f.m_vertices.size();
    std::vector<std::size_t> marked;
    for (std::size_t i = 0; i < n; ++i)
        if (f.m_vertices[i].m_marked != 0)
            marked.push_back(i);
    if (marked.size() != 2)
        return false;
    // Twice the area vectors of the piece between the marks and of the whole polygon.
    const std::size_t m1 = marked[0];
    const std::size_t m2 = marked[1];
    CVector3 piece = VectorCross(CornerPosition(level, f, m2), CornerPosition(level, f, m1));
    for (std::size_t i = m1; i < m2; ++i)
        piece = piece + VectorCross(CornerPosition(level, f, i), CornerPosition(level, f, i + 1));
    CVector3 whole;
    for (std::size_t i = 0; i < n; ++i)
        whole =
            whole + VectorCross(CornerPosition(level, f, i), CornerPosition(level, f, (i + 1) % n));
    return Dot(piece, f.m_normal) != 0.0f && Dot(whole, f.m_normal) != 0.0f;
}
