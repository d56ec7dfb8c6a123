#include "edit/Link.h"

#include "edit/CutToPolygon.h"
#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "engine/SelectionTests.h"
#include "engine/Undo.h"
#include "framework/Indices.h"
#include "geometry/FloorFlag.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/DeleteRenumber.h"
#include "level/QzlSections.h"
#include "level/VertexUses.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace {

CVector3 CornerPosition(const CQzlSections& level, const CQzlSurface& surface, int corner)
{
    return WorldPosition(level, At(surface.m_vertices, corner).m_worldVertex);
}

bool SamePoint(const CVector3& a, const CVector3& b)
{
    return VectorLength(a - b) < kLinkTolerance;
}

// Offset of the surface's plane along its normal (the plane's d): normal . first corner.
float PlaneOffset(const CQzlSections& level, const CQzlSurface& surface)
{
    return surface.m_vertices.empty() ? 0.0f
                                      : Dot(surface.m_normal, CornerPosition(level, surface, 0));
}

// Moves every corner of every sector's surfaces on world vertex from onto world vertex to,
// clearing every corner mark on the way; from leaves the level when nothing uses it any more.
// The sectors holding a moved corner, in index order.
std::vector<int> WeldWorldVertex(CQzlSections& level, std::int32_t from, std::int32_t to)
{
    if (level.m_useCounts.size() != level.m_worldVertices.size())
        CountVertexUses(level);
    std::vector<int> sectors;
    for (std::size_t i = 0; i < level.m_sectors.size(); ++i) {
        bool moved = false;
        for (const std::int32_t f : level.m_sectors[i]->m_surfaces) {
            if (!InRange(level.m_surfaces, f))
                continue;
            for (CQzlVertex& corner : At(level.m_surfaces, f)->m_vertices) {
                corner.m_marked = 0;
                if (corner.m_worldVertex != from)
                    continue;
                corner.m_worldVertex = to;
                --At(level.m_useCounts, from);
                ++At(level.m_useCounts, to);
                moved = true;
            }
        }
        if (moved)
            sectors.push_back(static_cast<int>(i));
    }
    if (At(level.m_useCounts, from) <= 0)
        RemoveVertexRefs(level, from, false);
    return sectors;
}

// Whether surface t is the exact twin of s: unadjoined, with as many corners off straight edges
// as s (cs), matching them one by one while t's are walked backwards from the first that meets
// s's first. The matched corners of t in walking order; empty when t is no twin.
std::vector<int> MatchOutline(const CQzlSections& level, const std::vector<int>& cs,
                              const CQzlSurface& s, int t)
{
    const CQzlSurface& twin = *At(level.m_surfaces, t);
    if (twin.m_adjoin >= 0)
        return {};
    std::vector<int> ct;
    GetSurfaceCorners(level, t, ct);
    const std::size_t n = ct.size();
    if (n == 0 || n != cs.size())
        return {};
    const CVector3 first = CornerPosition(level, s, cs[0]);
    std::size_t k = 0;
    while (k < n && !SamePoint(CornerPosition(level, twin, ct[k]), first))
        ++k;
    if (k == n)
        return {};
    std::vector<int> walk;
    for (std::size_t q = 0; q < n; ++q) {
        const int corner = ct[(k + n - q) % n];
        if (!SamePoint(CornerPosition(level, twin, corner), CornerPosition(level, s, cs[q])))
            return {};
        walk.push_back(corner);
    }
    return walk;
}

// Whether t lies in s's plane facing s (normals opposite, planes coincide) without an adjoin.
bool FacesInPlane(const CQzlSections& level, const CQzlSurface& s, const CQzlSurface& t)
{
    const float e = PlaneOffset(level, s) + PlaneOffset(level, t);
    return VectorLength(s.m_normal + t.m_normal) < kLinkTolerance &&
           VectorLength(CVector3{e, e, e}) < kLinkTolerance && t.m_adjoin < 0;
}

// Whether every corner of s lies on surface t.
bool HoldsEveryCorner(const CQzlSections& level, const CQzlSurface& s, int t)
{
    return std::all_of(s.m_vertices.begin(), s.m_vertices.end(), [&](const CQzlVertex& corner) {
        int edge = -1;
        return PointSurfaceDistance(level, t, WorldPosition(level, corner.m_worldVertex), edge);
    });
}

}  // namespace

void GiveSolidLook(C3dView& view, CQzlSurface& surface)
{
    CQzlSections& level = view.GetLevel();
    surface.m_surfaceFlags = 4;
    surface.m_faceFlags = 4;
    UpdateFloorFlag(surface);
    surface.m_geo = 4;
    surface.m_light = 3;
    surface.m_tex = 1;
    const CUnlinkDefaults& look = view.m_unlink;
    if (InRange(level.m_materials, look.m_material)) {
        surface.m_material = look.m_material;
        surface.m_textureWidth = look.m_textureWidth;
        surface.m_textureHeight = look.m_textureHeight;
        surface.m_xTile = look.m_xTile;
        surface.m_yTile = look.m_yTile;
    } else {
        // A level without materials gets the default one rather than an index it does not have.
        surface.m_material = level.m_materials.empty() ? level.FindDefaultMaterial() : 0;
    }
}

CTwin FindTwin(const CQzlSections& level, int surface)
{
    if (!InRange(level.m_surfaces, surface))
        return {};
    const std::int32_t adjoin = At(level.m_surfaces, surface)->m_adjoin;
    if (!InRange(level.m_adjoins, adjoin))
        return {};
    const std::int32_t mirror = At(level.m_adjoins, adjoin)->m_mirror;
    if (mirror < 0)
        return {};
    for (std::size_t i = 0; i < level.m_sectors.size(); ++i) {
        for (const std::int32_t f : level.m_sectors[i]->m_surfaces) {
            if (f != surface && InRange(level.m_surfaces, f) &&
                At(level.m_surfaces, f)->m_adjoin == mirror)
                return {static_cast<int>(i), f};
        }
    }
    return {};
}

bool LinkSurface(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    const int sector = selection.m_sector;
    const int surface = selection.m_surface;
    if (!InRange(level.m_sectors, sector) || !InRange(level.m_surfaces, surface) ||
        At(level.m_surfaces, surface)->m_adjoin >= 0)
        return false;
    const CQzlSurface& s = *At(level.m_surfaces, surface);
    std::vector<int> cs;
    GetSurfaceCorners(level, surface, cs);

    CTwin twin;
    std::vector<int> walk;
    std::vector<CTwin> candidates;
    for (std::size_t j = 0; j < level.m_sectors.size() && twin.m_surface < 0; ++j) {
        if (static_cast<int>(j) == sector)
            continue;
        for (const std::int32_t t : level.m_sectors[j]->m_surfaces) {
            if (!InRange(level.m_surfaces, t) || t == surface)
                continue;
            if (FacesInPlane(level, s, *At(level.m_surfaces, t)))
                candidates.push_back({static_cast<int>(j), t});
            walk = MatchOutline(level, cs, s, t);
            if (!walk.empty()) {
                twin = {static_cast<int>(j), t};
                break;
            }
        }
    }

    // Without an exact twin, the first surface facing S in its plane that holds all of S is cut
    // to S's outline; the piece is the twin.
    for (std::size_t i = 0; i < candidates.size() && twin.m_surface < 0; ++i) {
        const CTwin& candidate = candidates[i];
        if (s.m_vertices.size() < 3 || !HoldsEveryCorner(level, s, candidate.m_surface))
            continue;
        std::vector<CVector3> outline;
        for (const CQzlVertex& corner : s.m_vertices)
            outline.push_back(WorldPosition(level, corner.m_worldVertex));
        const CDVector3 d = NormalizeVector(outline[1] - outline[0]);
        if (!CutSurfaceToPolygon(
                view, candidate.m_sector, candidate.m_surface, outline,
                {static_cast<float>(d.x), static_cast<float>(d.y), static_cast<float>(d.z)}))
            continue;
        twin = {candidate.m_sector, view.m_selection.m_surface};
        view.m_selection.m_surface = surface;
        walk = MatchOutline(level, cs, s, twin.m_surface);
    }

    // T's matched corners onto S's world vertices, pair by pair.
    std::vector<int> welded;
    for (std::size_t q = 0; q < walk.size(); ++q) {
        const std::int32_t to = At(s.m_vertices, cs[q]).m_worldVertex;
        const std::int32_t from =
            At(At(level.m_surfaces, twin.m_surface)->m_vertices, walk[q]).m_worldVertex;
        if (from == to)
            continue;
        for (const int moved : WeldWorldVertex(level, from, to))
            if (std::find(welded.begin(), welded.end(), moved) == welded.end())
                welded.push_back(moved);
    }

    if (twin.m_surface < 0) {
        RebuildSector(view, sector, ERebuildCause::View);
        return false;
    }

    // The pair: the first adjoin is T's, the second S's.
    const auto a = static_cast<std::int32_t>(level.m_adjoins.size());
    const std::int32_t b = a + 1;
    level.m_adjoins.push_back(std::make_unique<CQzlAdjoin>());
    level.m_adjoins.push_back(std::make_unique<CQzlAdjoin>());
    At(level.m_adjoins, a)->m_mirror = b;
    At(level.m_adjoins, b)->m_mirror = a;
    CQzlSurface& mine = *At(level.m_surfaces, surface);
    CQzlSurface& theirs = *At(level.m_surfaces, twin.m_surface);
    mine.m_adjoin = b;
    theirs.m_adjoin = a;
    for (CQzlSurface* portal : {&mine, &theirs}) {
        portal->m_material = -1;
        portal->m_surfaceFlags = 0;
        portal->m_faceFlags = 0;
        portal->m_geo = 0;
    }
    At(level.m_adjoins, a)->m_otherSector = sector;
    At(level.m_adjoins, a)->m_otherSurface = surface;
    At(level.m_adjoins, b)->m_otherSector = twin.m_sector;
    At(level.m_adjoins, b)->m_otherSurface = twin.m_surface;

    // The rebuilds measure each adjoin's distance.
    if (std::find(welded.begin(), welded.end(), twin.m_sector) == welded.end())
        welded.push_back(twin.m_sector);
    RebuildSectors(view, welded);
    return true;
}

bool UnlinkSurface(C3dView& view, bool rebuild)
{
    CQzlSections& level = view.GetLevel();
    const int surface = view.m_selection.m_surface;
    if (!InRange(level.m_surfaces, surface))
        return false;
    const std::int32_t adjoin = At(level.m_surfaces, surface)->m_adjoin;
    if (!InRange(level.m_adjoins, adjoin))
        return false;
    const CTwin twin = FindTwin(level, surface);
    GiveSolidLook(view, *At(level.m_surfaces, surface));
    if (twin.m_surface >= 0)
        GiveSolidLook(view, *At(level.m_surfaces, twin.m_surface));
    DeleteAdjoin(level, adjoin);
    if (rebuild) {
        if (twin.m_sector >= 0)
            RebuildSector(view, twin.m_sector);
        RebuildSector(view, view.m_selection.m_sector);
    }
    return true;
}

bool LinkVertex(C3dView& view, bool rebuild)
{
    CQzlSections& level = view.GetLevel();
    const CQzlVertex* corner = CurrentCorner(view);
    if (corner == nullptr || !InRange(level.m_worldVertices, corner->m_worldVertex))
        return false;
    const std::int32_t from = corner->m_worldVertex;

    std::int32_t to = -1;
    for (const auto& sector : level.m_sectors) {
        for (const std::int32_t f : sector->m_surfaces) {
            if (!InRange(level.m_surfaces, f))
                continue;
            for (const CQzlVertex& c : At(level.m_surfaces, f)->m_vertices) {
                if (c.m_marked != 0 && c.m_worldVertex != from &&
                    InRange(level.m_worldVertices, c.m_worldVertex)) {
                    to = c.m_worldVertex;
                    break;
                }
            }
            if (to >= 0)
                break;
        }
        if (to >= 0)
            break;
    }
    if (to < 0)
        return false;

    const std::vector<int> sectors = WeldWorldVertex(level, from, to);
    if (rebuild)
        RebuildSectors(view, sectors);
    return true;
}

bool UnlinkVertex(C3dView& view, bool rebuild)
{
    if (!VertexIsShared(view))
        return false;
    CQzlSections& level = view.GetLevel();
    CQzlVertex& corner = *CurrentCorner(view);
    const std::int32_t shared = corner.m_worldVertex;
    const CWorldVertex copy = At(level.m_worldVertices, shared);
    --At(level.m_useCounts, shared);
    level.m_worldVertices.push_back(copy);
    level.m_useCounts.push_back(1);
    corner.m_worldVertex = static_cast<std::int32_t>(level.m_worldVertices.size()) - 1;
    view.m_selection.m_vertex = -1;
    if (rebuild)
        RebuildSector(view, view.m_selection.m_sector);
    return true;
}

bool CopySurfaceToTwin(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    const int surface = view.m_selection.m_surface;
    const CTwin twin = FindTwin(level, surface);
    if (twin.m_surface < 0)
        return false;
    const CQzlSurface& from = *At(level.m_surfaces, surface);
    CQzlSurface& to = *At(level.m_surfaces, twin.m_surface);
    to.m_surfaceFlags = from.m_surfaceFlags;
    to.m_faceFlags = from.m_faceFlags;
    to.m_geo = from.m_geo;
    to.m_light = from.m_light;
    to.m_tex = from.m_tex;
    to.m_extraLight = from.m_extraLight;
    to.m_material = from.m_material;
    if (InRange(level.m_adjoins, to.m_adjoin))
        At(level.m_adjoins, to.m_adjoin)->m_flags = At(level.m_adjoins, from.m_adjoin)->m_flags;
    RebuildSector(view, twin.m_sector);
    return true;
}

bool CanLink(const C3dView& view)
{
    const CSelection& selection = view.m_selection;
    return selection.m_sector >= 0 &&
           (selection.m_vertex >= 0 || (selection.m_surface >= 0 && !SurfaceHasAdjoin(view)));
}

bool RunLinkCommand(C3dView& view)
{
    if (!CanLink(view))
        return false;
    return RunUndoable(view, [&view] {
        return view.m_selection.m_vertex < 0 ? LinkSurface(view) : LinkVertex(view, true);
    });
}

bool CanUnlink(const C3dView& view)
{
    const CSelection& selection = view.m_selection;
    if (selection.m_sector < 0)
        return false;
    return selection.m_vertex >= 0 ? VertexIsShared(view) : SurfaceHasAdjoin(view);
}

bool RunUnlinkCommand(C3dView& view)
{
    if (!CanUnlink(view))
        return false;
    return RunUndoable(view, [&view] {
        return view.m_selection.m_vertex < 0 ? UnlinkSurface(view, true) : UnlinkVertex(view, true);
    });
}
