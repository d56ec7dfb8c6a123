#include "tools/Pyramid.h"

#include "edit/Carve.h"
#include "edit/Link.h"
#include "edit/SplitSurface.h"
#include "edit/SurfaceLook.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/GridPoints.h"
#include "engine/RenderData.h"
#include "engine/Visibility.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "geometry/FloorFlag.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/DeleteRenumber.h"
#include "level/QzlSections.h"
#include "math/Rounding.h"
#include "tools/LevelRollback.h"
#include "tools/NewSector.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Corners of the wedge's outline are matched against the footprint within this distance, the
// top corners of a wall against the top triangles and the apex against the sloping faces within
// kCornerMatch.
constexpr float kFootprintMatch = 0.05f;
constexpr float kCornerMatch = 0.001f;

CVector3 CornerAt(const CQzlSections& level, const CQzlSurface& surface, std::size_t corner)
{
    return WorldPosition(level, surface.m_vertices[corner].m_worldVertex);
}

bool Near(const CVector3& a, const CVector3& b, float tolerance)
{
    return VectorLength(a - b) < tolerance;
}

// Where a new point is kept: on the grid of 0.00001 that rebuilding the render data rounds every
// world vertex to, so that the planes worked out here stay those of the stored corners.
CVector3 Stored(const CVector3& p)
{
    constexpr float kStep = 100000.0f;
    return {RoundToStep(p.x, kStep), RoundToStep(p.y, kStep), RoundToStep(p.z, kStep)};
}

// One corner of a fan triangle or a slicing surface.
struct CNewCorner {
    CVector3 m_position;
    float m_u = 0.0f;
    float m_v = 0.0f;
};

// A new corner record at position (its world vertex added or reused) with u and v; intensities
// 1.0.
CQzlVertex MakeCorner(CQzlSections& level, const CNewCorner& wanted)
{
    CQzlVertex corner;
    const CVector3 p = Stored(wanted.m_position);
    CWorldVertex vertex;
    vertex.x = p.x;
    vertex.y = p.y;
    vertex.z = p.z;
    corner.m_worldVertex = level.AddVertex(vertex);
    corner.m_u = wanted.m_u;
    corner.m_v = wanted.m_v;
    return corner;
}

// The surfaces of one wedge before it becomes a sector: its base triangle (the sloping face to
// be), the wall on its footprint edge and the top triangle above, plus the outlines of its two
// slicing surfaces.
struct CWedgeParts {
    std::int32_t m_base = -1;
    std::int32_t m_wall = -1;
    std::int32_t m_top = -1;
    std::vector<CVector3> m_e;  // (centre, top centre, top corner above v(i+1), v(i+1))
    std::vector<CVector3> m_f;  // (v(i), top corner above v(i), top centre, centre)
};

// Finds the parts of the wedge on the footprint edge a-b among the prism's surfaces: the wall
// runs b-a along its bottom and its two corners after that edge are the top corners; the base
// triangle runs a-b; the top triangle runs from the top corner above b to the one above a.
// Empty parts when one of the three is missing.
CWedgeParts FindWedge(const CQzlSections& level, const CQzlSector& prism, const CVector3& va,
                      const CVector3& vb, const CVector3& centre, const CVector3& topCentre)
{
    CWedgeParts parts;
    CVector3 ta;
    CVector3 tb;
    CVector3 wallA;
    CVector3 wallB;
    for (const std::int32_t index : prism.m_surfaces) {
        const CQzlSurface& surface = *At(level.m_surfaces, index);
        const std::size_t n = surface.m_vertices.size();
        for (std::size_t k = 0; k < n; ++k) {
            const CVector3 a = CornerAt(level, surface, k);
            const CVector3 b = CornerAt(level, surface, (k + 1) % n);
            if (parts.m_wall < 0 && n >= 4 && Near(b, va, kFootprintMatch) &&
                Near(a, vb, kFootprintMatch)) {
                parts.m_wall = index;
                wallA = a;
                wallB = b;
                ta = CornerAt(level, surface, (k + 2) % n);
                tb = CornerAt(level, surface, (k + 3) % n);
            } else if (parts.m_base < 0 && Near(a, va, kFootprintMatch) &&
                       Near(b, vb, kFootprintMatch)) {
                parts.m_base = index;
            }
        }
    }
    if (parts.m_wall < 0 || parts.m_base < 0)
        return {};
    for (const std::int32_t index : prism.m_surfaces) {
        const CQzlSurface& surface = *At(level.m_surfaces, index);
        const std::size_t n = surface.m_vertices.size();
        for (std::size_t k = 0; k < n && parts.m_top < 0; ++k)
            if (Near(CornerAt(level, surface, (k + 1) % n), ta, kCornerMatch) &&
                Near(CornerAt(level, surface, k), tb, kCornerMatch))
                parts.m_top = index;
        if (parts.m_top >= 0)
            break;
    }
    if (parts.m_top < 0)
        return {};
    parts.m_e = {centre, topCentre, tb, wallA};
    parts.m_f = {wallB, ta, topCentre, centre};
    return parts;
}

// A slicing surface of a wedge: the base surface's look with no adjoin (the link gives it one),
// its corners outline in reverse order. Appended to the level's surface list; its index.
std::int32_t AddSlicingSurface(CQzlSections& level, const CQzlSurface& base,
                               const std::vector<CVector3>& outline)
{
    auto surface = std::make_unique<CQzlSurface>(base, false, false);
    surface->m_adjoin = -1;
    for (auto p = outline.rbegin(); p != outline.rend(); ++p)
        surface->m_vertices.push_back(MakeCorner(level, {*p}));
    level.m_surfaces.push_back(std::move(surface));
    return static_cast<std::int32_t>(level.m_surfaces.size()) - 1;
}

// The apex: the centre lifted by the shape's lean and height, kept as a world vertex keeps it.
CVector3 Apex(const CRaisedShape& shape, const CVector3& centre)
{
    return Stored(centre + ShapeLean(shape) + shape.m_normal * shape.m_height);
}

}  // namespace

bool CreatePyramid(C3dView& view, const CRaisedShape& shape)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    CDocumentState& document = view.GetDocument();
    if (!InRange(level.m_sectors, selection.m_sector) ||
        !InRange(level.m_surfaces, selection.m_surface) || selection.m_pickedNodes.size() < 3)
        return false;
    CLevelRollback rollback(view);

    // The surface cut to the base polygon; the piece inside becomes current.
    document.m_gridOn = 1;
    document.m_sectorMode = 0;
    if (!SplitSurface(view, true)) {
        rollback.Restore();
        return false;
    }

    // The apex is tested where BuildPyramid will put it: above the centroid of the piece. Any
    // surface of the sector in the way, portal or not, would leave the apex outside the prism.
    const CVector3 centre = SurfaceCentroid(level, selection.m_surface);
    const CVector3 lift = shape.m_normal * 0.002f;
    CVector3 hit;
    int crossed = -1;
    if (IntersectSegmentSector(level, selection.m_sector, centre + lift, Apex(shape, centre) + lift,
                               hit, crossed, true, true)) {
        rollback.Restore();
        view.GetHost().ShowMessage(kPyramidTooHigh);
        return false;
    }

    if (!BuildPyramid(view, shape, {})) {
        rollback.Restore();
        return false;
    }
    ProcessSectors(view);
    return true;
}

bool BuildPyramid(C3dView& view, const CRaisedShape& shape, const CPyramidOptions& options)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    CWorkLists& work = view.m_work;
    const int start = selection.m_sector;
    const int base = selection.m_surface;
    if (!InRange(level.m_sectors, start) || !InRange(level.m_surfaces, base))
        return false;
    CLevelRollback rollback(view);
    const auto refuse = [&](bool message) {
        rollback.Restore();
        if (message)
            view.GetHost().ShowMessage(kPyramidNoWedges);
        return false;
    };
    const CVector3& n = shape.m_normal;
    const CVector3 centre = SurfaceCentroid(level, base);
    const CVector3 apex = Apex(shape, centre);

    // The footprint: the base's outline, also the outline the walls are cut along.
    GetSurfaceCornerPolygon(level, base, selection.m_pickedNodes);
    const std::vector<CVector3> footprint = selection.m_pickedNodes;
    const std::size_t sectorsBefore = level.m_sectors.size();
    if (footprint.size() < 3)
        return refuse(true);
    if (options.m_cutWalls &&
        !CutSectorsByPlane(view, false, n, shape.m_depthAxis, shape.m_widthAxis, shape.m_upDown,
                           shape.m_leftRight, shape.m_look, false))
        return refuse(false);
    view.GetDocument().m_gridOn = 0;

    // The prism stands on the base; its opposite surface faces most against the normal.
    const int prism = selection.m_sector;
    if (!InRange(level.m_sectors, prism))
        return refuse(true);
    const std::vector<std::int32_t>& prismSurfaces = At(level.m_sectors, prism)->m_surfaces;
    if (std::find(prismSurfaces.begin(), prismSurfaces.end(), base) == prismSurfaces.end())
        return refuse(true);
    int opposite = -1;
    float most = 0.0f;
    for (const std::int32_t index : prismSurfaces) {
        const float facing = Dot(At(level.m_surfaces, index)->m_normal, n);
        if (facing < most) {
            most = facing;
            opposite = index;
        }
    }
    if (opposite < 0)
        return refuse(true);

    // Both ends become fans: the base around its centroid, the opposite surface around its own.
    selection.m_sector = prism;
    selection.m_surface = base;
    FanTriangulateSurface(view, centre, true);
    const std::optional<std::int32_t> centreVertex =
        work.m_newSurfaces.empty() ? std::nullopt
                                   : std::optional(At(level.m_surfaces, work.m_newSurfaces.front())
                                                       ->m_vertices.front()
                                                       .m_worldVertex);
    const CVector3 topCentre = SurfaceCentroid(level, opposite);
    selection.m_sector = prism;
    selection.m_surface = opposite;
    FanTriangulateSurface(view, topCentre, true);

    // One wedge per footprint edge. Every edge must find its parts: a wedge left out would leave
    // its surfaces in no sector, and the last one would leave the whole prism overlapping the
    // others.
    work.m_newSectors.clear();
    work.m_newSurfaces.clear();
    std::vector<CWedgeParts> wedges;
    for (std::size_t i = 0; i < footprint.size(); ++i) {
        CWedgeParts parts = FindWedge(level, *At(level.m_sectors, prism), footprint[i],
                                      footprint[(i + 1) % footprint.size()], centre, topCentre);
        if (parts.m_base < 0)
            return refuse(true);
        wedges.push_back(std::move(parts));
    }
    std::vector<std::pair<std::int32_t, std::int32_t>> slices;  // wedge sector, its E surface
    for (std::size_t i = 0; i < wedges.size(); ++i) {
        const CWedgeParts& parts = wedges[i];
        const CQzlSurface& look = *At(level.m_surfaces, parts.m_base);
        const std::int32_t e = AddSlicingSurface(level, look, parts.m_e);
        const std::int32_t f = AddSlicingSurface(level, look, parts.m_f);
        std::vector<std::int32_t> surfaces{parts.m_base, parts.m_wall, parts.m_top, e, f};
        std::int32_t sector = prism;
        if (i + 1 == wedges.size()) {
            At(level.m_sectors, prism)->m_surfaces = std::move(surfaces);
        } else {
            auto wedge = NewSectorLike(*At(level.m_sectors, prism));
            sector = static_cast<std::int32_t>(level.m_sectors.size());
            wedge->m_number = sector;
            wedge->m_surfaces = std::move(surfaces);
            level.m_sectors.push_back(std::move(wedge));
        }
        slices.emplace_back(sector, e);
        work.m_newSectors.push_back(sector);
        work.m_newSurfaces.push_back(parts.m_base);
    }
    UpdateSectorBounds(level);

    // Neighbouring wedges share their slicing surfaces; one left unjoined would wall off the
    // space above the slopes.
    const std::vector<std::int32_t> madeSectors = work.m_newSectors;
    const std::vector<std::int32_t> madeSurfaces = work.m_newSurfaces;
    for (const auto& [sector, e] : slices) {
        selection.m_sector = sector;
        selection.m_surface = e;
        if (!LinkSurface(view))
            return refuse(true);
    }

    // The centre of the base fan goes up to the apex; the slopes' planes follow it.
    if (centreVertex && InRange(level.m_worldVertices, *centreVertex)) {
        CWorldVertex& vertex = At(level.m_worldVertices, *centreVertex);
        vertex.x = apex.x;
        vertex.y = apex.y;
        vertex.z = apex.z;
        work.m_raisedVertices.push_back(*centreVertex);
        const float length = VectorLength(topCentre - apex);
        work.m_raiseDirections.push_back(length > 0.0f ? (topCentre - apex) / length : CVector3{});
        UpdateSectorBounds(level);
    }

    // Each slope takes the look of the solid surface that meets its outer edge, then the shape's
    // material and tiling.
    for (std::size_t w = 0; w < madeSurfaces.size(); ++w) {
        const std::int32_t slope = madeSurfaces[w];
        CQzlSurface& face = *At(level.m_surfaces, slope);
        UpdateFloorFlag(face);
        const std::size_t count = face.m_vertices.size();
        std::size_t top = count;
        for (std::size_t k = 0; k < count && top == count; ++k)
            if (Near(CornerAt(level, face, k), apex, kCornerMatch))
                top = k;
        if (top == count)
            continue;
        const CVector3 p = CornerAt(level, face, (top + 1) % count);
        const CVector3 q = CornerAt(level, face, (top + 2) % count);
        for (std::size_t u = 0; u < level.m_surfaces.size(); ++u) {
            const CQzlSurface& outer = *level.m_surfaces[u];
            if (static_cast<std::int32_t>(u) == slope || outer.m_adjoin >= 0)
                continue;
            const std::size_t m = outer.m_vertices.size();
            bool meets = false;
            for (std::size_t k = 0; k < m && !meets; ++k) {
                float t0 = 0.0f;
                float t1 = 0.0f;
                meets = EdgesOverlap(CornerAt(level, outer, (k + 1) % m), CornerAt(level, outer, k),
                                     p, q, t0, t1, true);
            }
            if (!meets)
                continue;
            if (options.m_copyLook) {
                CopySurfaceAttributes(view, madeSectors[w], face, outer);
                // The flags copied from a floor do not make a steep slope walkable.
                UpdateFloorFlag(face);
            }
            face.m_material =
                InRange(level.m_materials, shape.m_look.m_material) ? shape.m_look.m_material : -1;
            face.m_xTile = shape.m_look.m_xTile;
            face.m_yTile = shape.m_look.m_yTile;
        }
    }

    if (options.m_finish) {
        view.GetHost().UpdateAllViews(0);
        RebuildSector(view, start);
        for (std::size_t s = sectorsBefore; s < level.m_sectors.size(); ++s)
            RebuildSector(view, static_cast<int>(s));
    }
    // The rebuilds let go of the picked nodes: they hold the base's outline again.
    selection.m_pickedNodes = footprint;
    return true;
}

void FanTriangulateSurface(C3dView& view, const CVector3& centre, bool rebuild)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    CWorkLists& work = view.m_work;
    const int sector = selection.m_sector;
    const int surface = selection.m_surface;
    if (!InRange(level.m_sectors, sector) || !InRange(level.m_surfaces, surface))
        return;

    // The twin goes first, around the same centre, once the pair of adjoins between them is gone.
    level.LinkAdjoins();
    const std::int32_t adjoin = At(level.m_surfaces, surface)->m_adjoin;
    const bool adjoined = InRange(level.m_adjoins, adjoin);
    if (adjoined) {
        const CQzlAdjoin& across = *At(level.m_adjoins, adjoin);
        const int twinSector = across.m_otherSector;
        const int twinSurface = across.m_otherSurface;
        DeleteAdjoin(level, adjoin);
        if (InRange(level.m_sectors, twinSector) && InRange(level.m_surfaces, twinSurface)) {
            selection.m_sector = twinSector;
            selection.m_surface = twinSurface;
            FanTriangulateSurface(view, centre, false);
        }
        selection.m_sector = sector;
        selection.m_surface = surface;
    }
    work.m_newSectors = {sector};
    work.m_newSurfaces = {surface};

    // The corners come off the surface; the centre takes their mean u and v.
    CQzlSurface& record = *At(level.m_surfaces, surface);
    std::vector<CNewCorner> corners;
    CNewCorner middle{centre};
    for (const CQzlVertex& corner : record.m_vertices) {
        corners.push_back({WorldPosition(level, corner.m_worldVertex), corner.m_u, corner.m_v});
        middle.m_u += corner.m_u;
        middle.m_v += corner.m_v;
        if (InRange(level.m_useCounts, corner.m_worldVertex))
            --At(level.m_useCounts, corner.m_worldVertex);
    }
    record.m_vertices.clear();
    if (corners.empty())
        return;
    middle.m_u /= static_cast<float>(corners.size());
    middle.m_v /= static_cast<float>(corners.size());

    // Triangle i: the centre, corner i and the next corner. The first keeps the surface's record.
    for (std::size_t i = 0; i < corners.size(); ++i) {
        std::vector<CQzlVertex> triangle{MakeCorner(level, middle), MakeCorner(level, corners[i]),
                                         MakeCorner(level, corners[(i + 1) % corners.size()])};
        if (i == 0) {
            At(level.m_surfaces, surface)->m_vertices = std::move(triangle);
            continue;
        }
        auto made = std::make_unique<CQzlSurface>(*At(level.m_surfaces, surface), false, false);
        made->m_vertices = std::move(triangle);
        level.m_surfaces.push_back(std::move(made));
        const auto index = static_cast<std::int32_t>(level.m_surfaces.size()) - 1;
        At(level.m_sectors, sector)->m_surfaces.push_back(index);
        work.m_newSectors.push_back(sector);
        work.m_newSurfaces.push_back(index);
    }
    for (const std::int32_t made : work.m_newSurfaces)
        CalcSurfacePlane(level, made);

    // The twin's triangles lie on the same fan: each triangle finds its partner.
    if (adjoined) {
        const std::vector<std::int32_t> sectors = work.m_newSectors;
        const std::vector<std::int32_t> surfaces = work.m_newSurfaces;
        for (std::size_t i = 0; i < surfaces.size(); ++i) {
            selection.m_sector = sectors[i];
            selection.m_surface = surfaces[i];
            LinkSurface(view);
        }
        work.m_newSectors = sectors;
        work.m_newSurfaces = surfaces;
        selection.m_sector = sector;
        selection.m_surface = surface;
    }
    if (rebuild)
        RebuildSector(view, sector);
}
