#include "edit/Merge.h"

#include "edit/EdgeContacts.h"
#include "edit/Link.h"
#include "edit/SelectionDelete.h"
#include "edit/SurfaceLook.h"
#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/DeleteRenumber.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

namespace {

// End points of a shared edge closer than this are the same point to the merge.
constexpr float kMergeCornerMatch = 0.01f;
// Two unit normals closer than this face the same way.
constexpr float kMergeNormalMatch = 0.01f;
// How far an end point of the shared edge may have moved (rebuilds round the world vertices)
// before the merged surface's corner is looked up again.
constexpr float kEndPointMatch = 0.001f;

CVector3 CornerPosition(const CQzlSections& level, const CQzlSurface& surface, std::size_t i)
{
    return WorldPosition(level, surface.m_vertices[i].m_worldVertex);
}

// The shared edge of two surfaces: s1's corner i to i + 1 lies on s2's corner j back to j - 1.
struct CSharedEdge {
    std::size_t m_i = 0;
    std::size_t m_j = 0;
};

// The first shared edge, s1's corners in order and s2's from the last down; nothing when the two
// do not face the same way or share no edge.
std::optional<CSharedEdge> FindSharedEdge(const CQzlSections& level, const CQzlSurface& s1,
                                          const CQzlSurface& s2)
{
    const std::size_t n1 = s1.m_vertices.size();
    const std::size_t n2 = s2.m_vertices.size();
    if (n1 < 3 || n2 < 3 || !(VectorLength(s1.m_normal - s2.m_normal) < kMergeNormalMatch))
        return std::nullopt;
    for (std::size_t i = 0; i < n1; ++i) {
        const CVector3 a = CornerPosition(level, s1, i);
        const CVector3 b = CornerPosition(level, s1, (i + 1) % n1);
        for (std::size_t j = n2; j-- > 0;) {
            const CVector3 c = CornerPosition(level, s2, j);
            const CVector3 d = CornerPosition(level, s2, j == 0 ? n2 - 1 : j - 1);
            if (VectorLength(a - c) < kMergeCornerMatch && VectorLength(b - d) < kMergeCornerMatch)
                return CSharedEdge{i, j};
        }
    }
    return std::nullopt;
}

bool Lists(const CQzlSections& level, int sector, int surface)
{
    const std::vector<std::int32_t>& list = At(level.m_sectors, sector)->m_surfaces;
    return std::find(list.begin(), list.end(), surface) != list.end();
}

// Moves s2's corners after j up to the one before j - 1 into s1 after corner i, their texture
// moved onto s1's; s2's two corners on the shared edge leave the use counts and s2 is left
// without corners.
void SpliceCorners(C3dView& view, CQzlSurface& s1, CQzlSurface& s2, const CSharedEdge& edge)
{
    CQzlSections& level = view.GetLevel();
    std::vector<CQzlVertex>& from = s2.m_vertices;
    const std::size_t n2 = from.size();
    const float du = s1.m_vertices[edge.m_i].m_u - from[edge.m_j].m_u;
    const float dv = s1.m_vertices[edge.m_i].m_v - from[edge.m_j].m_v;
    const std::size_t before = (edge.m_j + n2 - 1) % n2;

    std::vector<CQzlVertex> moved;
    for (std::size_t k = (edge.m_j + 1) % n2; k != before; k = (k + 1) % n2) {
        CQzlVertex& corner = from[k];
        corner.m_u += du;
        corner.m_v += dv;
        moved.push_back(std::move(corner));
    }
    std::vector<CQzlVertex>& to = s1.m_vertices;
    to.insert(to.begin() + static_cast<std::ptrdiff_t>(edge.m_i + 1),
              std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
    // The texture-fitting start stays on its corner.
    if (s1.m_startVertex > static_cast<std::int32_t>(edge.m_i))
        s1.m_startVertex += static_cast<std::int32_t>(moved.size());
    NormalizeTextureOffsets(view, s1);

    for (const std::size_t k : {edge.m_j, before}) {
        const std::int32_t w = from[k].m_worldVertex;
        if (InRange(level.m_useCounts, w) && At(level.m_useCounts, w) > 0)
            --At(level.m_useCounts, w);
    }
    from.clear();
}

// The position in surface's corner list of its corner at point; -1 when none is there.
int CornerAt(const CQzlSections& level, const CQzlSurface& surface, const CVector3& point)
{
    for (std::size_t i = 0; i < surface.m_vertices.size(); ++i)
        if (VectorLength(CornerPosition(level, surface, i) - point) < kEndPointMatch)
            return static_cast<int>(i);
    return -1;
}

// Removes the end points of the shared edge from every surface that uses them where they lie on
// straight edges everywhere: the one on the higher world vertex first, so that the other keeps
// its number.
void RemoveStraightEndPoints(C3dView& view, int surface, const CVector3 (&ends)[2])
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const auto worldVertexAt = [&](const CVector3& point) {
        const CQzlSurface& s = *At(level.m_surfaces, surface);
        const int corner = CornerAt(level, s, point);
        return corner < 0 ? -1 : At(s.m_vertices, corner).m_worldVertex;
    };
    const bool firstHigher = worldVertexAt(ends[0]) > worldVertexAt(ends[1]);
    for (const int k : {firstHigher ? 0 : 1, firstHigher ? 1 : 0}) {
        const CVector3& end = ends[k];
        const int w = worldVertexAt(end);
        if (w < 0 || !FindCollinearVertex(level, w))
            continue;
        selection.m_vertexSurface = surface;
        selection.m_vertex = CornerAt(level, *At(level.m_surfaces, surface), end);
        DeleteSelectedVertex(view);
        selection.m_vertex = -1;
    }
}

}  // namespace

const char* MergeRefusal(EMergeMode mode)
{
    return mode == EMergeMode::Surfaces
               ? "Cannot merge surfaces, since no shared surface edge exist."
               : "Cannot merge sectors, since no adjoined surface exist.";
}

std::vector<int> MergeCandidates(C3dView& view, EMergeMode mode)
{
    CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    std::vector<int> candidates;
    if (mode == EMergeMode::Surfaces) {
        std::vector<std::int32_t> contacts;
        CollectEdgeContacts(level, selection.m_sector, selection.m_surface, contacts, true, true);
        candidates.assign(contacts.begin(), contacts.end());
        std::stable_sort(candidates.begin(), candidates.end());
        return candidates;
    }
    if (!InRange(level.m_sectors, selection.m_sector))
        return candidates;
    level.LinkAdjoins();
    for (const std::int32_t surface : At(level.m_sectors, selection.m_sector)->m_surfaces) {
        if (!InRange(level.m_surfaces, surface))
            continue;
        const std::int32_t adjoin = At(level.m_surfaces, surface)->m_adjoin;
        if (InRange(level.m_adjoins, adjoin))
            candidates.push_back(At(level.m_adjoins, adjoin)->m_otherSector);
    }
    return candidates;
}

bool MergeSurfaces(C3dView& view, int first, int second)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const int sector = selection.m_sector;
    if (!InRange(level.m_sectors, sector) || first == second || !InRange(level.m_surfaces, first) ||
        !InRange(level.m_surfaces, second) || !Lists(level, sector, first) ||
        !Lists(level, sector, second))
        return false;
    int a = std::min(first, second);
    int b = std::max(first, second);
    CQzlSurface& s1 = *At(level.m_surfaces, a);
    CQzlSurface& s2 = *At(level.m_surfaces, b);
    const bool adjoined = InRange(level.m_adjoins, s1.m_adjoin);
    if (adjoined != InRange(level.m_adjoins, s2.m_adjoin))
        return false;
    const std::optional<CSharedEdge> edge = FindSharedEdge(level, s1, s2);
    if (!edge)
        return false;
    // Adjoined surfaces merge only with twins that can merge alike in their sector.
    CTwin t1;
    CTwin t2;
    if (adjoined) {
        t1 = FindTwin(level, a);
        t2 = FindTwin(level, b);
        if (t1.m_sector < 0 || t1.m_sector != t2.m_sector || t1.m_surface == t2.m_surface ||
            t1.m_surface == a || t1.m_surface == b || t2.m_surface == a || t2.m_surface == b ||
            !FindSharedEdge(level, *At(level.m_surfaces, std::min(t1.m_surface, t2.m_surface)),
                            *At(level.m_surfaces, std::max(t1.m_surface, t2.m_surface))))
            return false;
    }

    const std::size_t n1 = s1.m_vertices.size();
    const CVector3 ends[2] = {CornerPosition(level, s1, edge->m_i),
                              CornerPosition(level, s1, (edge->m_i + 1) % n1)};
    SpliceCorners(view, s1, s2, *edge);

    if (adjoined) {
        selection.m_sector = t2.m_sector;
        selection.m_surface = t2.m_surface;
        UnlinkSurface(view, false);
        selection.m_surface = t1.m_surface;
        UnlinkSurface(view, false);
        MergeSurfaces(view, t1.m_surface, t2.m_surface);
        const int removed = std::max(t1.m_surface, t2.m_surface);
        if (a > removed)
            --a;
        if (b > removed)
            --b;
        selection.m_sector = sector;
    }

    DeleteSurface(level, view.GetGame(), b);
    level.LinkAdjoins();
    selection.m_surface = a;
    selection.m_vertexSurface = a;
    RemoveStraightEndPoints(view, a, ends);
    if (adjoined) {
        selection.m_surface = a;
        LinkSurface(view);
    }
    selection.m_surface = a;
    selection.m_vertexSurface = a;
    selection.m_vertex = -1;
    RebuildSector(view, sector);
    return true;
}

bool MergeSectors(C3dView& view, int first, int second)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    if (first == second || !InRange(level.m_sectors, first) || !InRange(level.m_sectors, second))
        return false;
    const int a = std::min(first, second);
    const int b = std::max(first, second);

    // The surface of B on the mirror of the adjoin of A's surface at position p; -1 for none.
    const auto partner = [&level, a, b](std::size_t p) {
        const std::int32_t s = At(level.m_sectors, a)->m_surfaces[p];
        if (!InRange(level.m_surfaces, s))
            return -1;
        const std::int32_t adjoin = At(level.m_surfaces, s)->m_adjoin;
        if (!InRange(level.m_adjoins, adjoin))
            return -1;
        // A mirror of none (or beyond the list) joins nothing: it must not match B's walls,
        // whose adjoin is none too.
        const std::int32_t mirror = At(level.m_adjoins, adjoin)->m_mirror;
        if (!InRange(level.m_adjoins, mirror))
            return -1;
        const std::vector<std::int32_t>& list = At(level.m_sectors, b)->m_surfaces;
        for (std::size_t q = list.size(); q-- > 0;)
            if (InRange(level.m_surfaces, list[q]) &&
                At(level.m_surfaces, list[q])->m_adjoin == mirror)
                return static_cast<int>(list[q]);
        return -1;
    };
    bool joined = false;
    for (std::size_t p = 0; p < At(level.m_sectors, a)->m_surfaces.size() && !joined; ++p)
        joined = partner(p) >= 0;
    if (!joined)
        return false;

    // The portals between them go.
    for (std::size_t p = At(level.m_sectors, a)->m_surfaces.size(); p-- > 0;) {
        const int t = partner(p);
        if (t < 0)
            continue;
        const int s = At(level.m_sectors, a)->m_surfaces[p];
        selection.m_surface = t;
        UnlinkSurface(view, true);
        DeleteSurface(level, view.GetGame(), std::max(s, t));
        DeleteSurface(level, view.GetGame(), std::min(s, t));
    }

    // B's surfaces and things go to A, then B goes.
    std::vector<std::int32_t>& from = At(level.m_sectors, b)->m_surfaces;
    std::vector<std::int32_t>& to = At(level.m_sectors, a)->m_surfaces;
    to.insert(to.end(), from.begin(), from.end());
    from.clear();
    for (const auto& thing : level.m_things)
        if (thing->m_sector == b)
            thing->m_sector = a;
    selection.m_sector = b;
    selection.m_surface = -1;
    selection.m_vertex = -1;
    selection.m_vertexSurface = -1;
    DeleteSelectedSector(view);

    level.LinkAdjoins();
    selection.m_sector = a;
    RebuildSector(view, a);
    return true;
}

bool CanMergeSurfaces(const C3dView& view)
{
    return view.m_selection.m_sector >= 0 && view.m_selection.m_surface >= 0;
}

bool CanMergeSectors(const C3dView& view)
{
    return view.m_selection.m_sector >= 0;
}

bool RunMergeCommand(C3dView& view, EMergeMode mode, int chosen)
{
    if (mode == EMergeMode::Surfaces) {
        if (!CanMergeSurfaces(view))
            return false;
        return RunUndoable(view, [&view, chosen] {
            return MergeSurfaces(view, view.m_selection.m_surface, chosen);
        });
    }
    if (!CanMergeSectors(view))
        return false;
    return RunUndoable(
        view, [&view, chosen] { return MergeSectors(view, view.m_selection.m_sector, chosen); });
}
