#include "tools/Layer.h"

#include "edit/Link.h"
#include "edit/SelectionDelete.h"
#include "edit/SplitSector.h"
#include "edit/SplitSurface.h"
#include "edit/SurfaceCorners.h"
#include "edit/SurfaceLook.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/GridPoints.h"
#include "engine/RenderData.h"
#include "engine/SelectionTests.h"
#include "engine/Undo.h"
#include "engine/Visibility.h"
#include "framework/CFormat.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/DeleteRenumber.h"
#include "level/QzlSections.h"
#include "level/TextureFit.h"
#include "tools/BuiltShape.h"
#include "tools/LevelRollback.h"
#include "tools/NewSector.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr float kCoincident = 0.0001f;  // two points are one
constexpr float kOnPlane = 0.005f;      // a point lies on a plane; a crossing too near an end
constexpr float kNoArea = 0.00001f;     // a face without area
// More wall cuts than this for one layer mean the cuts go round in circles.
constexpr int kMostWallCuts = 10000;

CVector3 Unit(const CVector3& v)
{
    const float length = VectorLength(v);
    return length > 0.0f ? v / length : v;
}

CVector3 CornerAt(const CQzlSections& level, const CQzlSurface& surface, std::size_t corner)
{
    return WorldPosition(level, surface.m_vertices[corner].m_worldVertex);
}

// A new corner at p: its world vertex added or reused, counted for this corner.
CQzlVertex NewCorner(CQzlSections& level, const CVector3& p)
{
    CQzlVertex corner;
    corner.m_worldVertex = level.AddVertexXYZ(p.x, p.y, p.z);
    return corner;
}

std::int32_t AppendSurface(CQzlSections& level, std::unique_ptr<CQzlSurface> surface)
{
    level.m_surfaces.push_back(std::move(surface));
    return static_cast<std::int32_t>(level.m_surfaces.size()) - 1;
}

// A plane through a point: the points x with Dot(m_normal, x) = m_offset.
struct CRadialPlane {
    CVector3 m_normal;
    float m_offset = 0.0f;
    [[nodiscard]] float Side(const CVector3& p) const { return Dot(m_normal, p) - m_offset; }
};

// The planes through centre and each polygon corner that contain axis, each normal turned
// towards the next corner: corner k's plane has corner k + 1 on its positive side.
std::vector<CRadialPlane> RadialPlanes(std::span<const CVector3> polygon, const CVector3& centre,
                                       const CVector3& axis)
{
    std::vector<CRadialPlane> planes;
    const std::size_t count = polygon.size();
    float turn = 0.0f;
    for (std::size_t k = 0; k < count; ++k) {
        const CVector3 m = Unit(VectorCross(axis, polygon[k] - centre));
        planes.push_back({m, Dot(m, polygon[k])});
        turn += Dot(m, polygon[(k + 1) % count] - centre);
    }
    if (turn < 0.0f)
        for (CRadialPlane& plane : planes) {
            plane.m_normal = NegateVector(plane.m_normal);
            plane.m_offset = -plane.m_offset;
        }
    return planes;
}

bool HasEdge(const CQzlSections& level, const CQzlSurface& surface, const CVector3& a,
             const CVector3& b)
{
    const std::size_t n = surface.m_vertices.size();
    for (std::size_t k = 0; k < n; ++k) {
        const CVector3 from = CornerAt(level, surface, k);
        const CVector3 to = CornerAt(level, surface, (k + 1) % n);
        if ((VectorLength(from - a) <= kCoincident && VectorLength(to - b) <= kCoincident) ||
            (VectorLength(from - b) <= kCoincident && VectorLength(to - a) <= kCoincident))
            return true;
    }
    return false;
}

bool Lists(const CQzlSector& sector, std::int32_t surface)
{
    return std::find(sector.m_surfaces.begin(), sector.m_surfaces.end(), surface) !=
           sector.m_surfaces.end();
}

// Clears the engine's unlink look (material -1) when the builder returns, whichever way.
class CUnlinkLookScope {
public:
    CUnlinkLookScope(C3dView& view, const CCarveLook& look) : m_view(view)
    {
        m_view.m_unlink = {look.m_material, look.m_textureWidth, look.m_textureHeight, look.m_xTile,
                           look.m_yTile};
    }
    ~CUnlinkLookScope() { m_view.m_unlink.m_material = -1; }
    CUnlinkLookScope(const CUnlinkLookScope&) = delete;
    CUnlinkLookScope& operator=(const CUnlinkLookScope&) = delete;

private:
    C3dView& m_view;
};

// Cuts the walls of sector (all its surfaces but base) along the half of each radial plane
// that lies beyond its base corner, seen from the base edge that follows that corner. False when
// a cut refuses.
bool CutWallsAlongRadialPlanes(C3dView& view, int sector, int base,
                               std::span<const CVector3> corners,
                               const std::vector<CRadialPlane>& planes, const CVector3& centre)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    CDocumentState& document = view.GetDocument();
    const std::size_t count = corners.size();
    int cuts = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t next = (i + 1) % count;
        const CVector3 mid = (corners[i] + corners[next]) * 0.5f - centre;
        bool again = true;
        while (again) {
            again = false;
            const std::vector<std::int32_t> surfaces = level.m_sectors[sector]->m_surfaces;
            for (auto g = surfaces.rbegin(); g != surfaces.rend() && !again; ++g) {
                if (*g == base)
                    continue;
                const CQzlSurface& wall = *level.m_surfaces[*g];
                for (const std::size_t p : {i, next}) {
                    const CRadialPlane& plane = planes[p];
                    const CVector3 along = Unit(VectorCross(plane.m_normal, wall.m_normal));
                    const int size = static_cast<int>(wall.m_vertices.size());
                    for (int j = size - 1; j >= 0 && !again; --j) {
                        const CVector3 a = CornerAt(level, wall, static_cast<std::size_t>(j));
                        const CVector3 b = CornerAt(
                            level, wall, static_cast<std::size_t>(j == 0 ? size - 1 : j - 1));
                        // A crossing on the line from the corner along the normal lies on the
                        // border of the half plane: rounding must not drop it, or the wedge
                        // beside a wall that meets the base at a slant is left open.
                        CVector3 x;
                        float t = 0.0f;
                        if (!IntersectSegmentPlane(plane.m_normal.x, plane.m_normal.y,
                                                   plane.m_normal.z, -plane.m_offset, a, b, x, t) ||
                            VectorLength(x - a) <= kOnPlane || VectorLength(x - b) <= kOnPlane ||
                            Dot(x - corners[i], Unit(mid)) < -kOnPlane)
                            continue;
                        if (++cuts > kMostWallCuts)
                            return false;
                        selection.m_sector = sector;
                        selection.m_surface = *g;
                        selection.m_pickedNodes = {x, x - along};
                        document.m_gridOn = 1;
                        const bool split = SplitSurface(view, true);
                        document.m_gridOn = 0;
                        if (!split)
                            return false;
                        again = true;  // the surface list changed: start this edge again
                    }
                    if (again)
                        break;
                }
            }
        }
    }
    return true;
}

// What one wedge left: its sector (-1 when not made) and its two radial faces (-1 when dropped).
struct CWedge {
    std::int32_t m_sector = -1;
    std::int32_t m_faceA = -1;
    std::int32_t m_faceB = -1;
};

// A radial face of a wedge on plane, facing into the wedge along normal.
std::unique_ptr<CQzlSurface> RadialFace(const CVector3& normal, const CVector3& through)
{
    auto face = std::make_unique<CQzlSurface>();
    face->m_normal = normal;
    face->m_plane[0] = -normal.x;
    face->m_plane[1] = -normal.y;
    face->m_plane[2] = -normal.z;
    face->m_plane[3] = Dot(normal, through);
    return face;
}

// Appends face to wedge when it has an area, else takes it out of the level again. Its index or
// -1.
std::int32_t KeepFace(C3dView& view, CQzlSector& wedge, std::unique_ptr<CQzlSurface> face)
{
    CQzlSections& level = view.GetLevel();
    const std::int32_t index = AppendSurface(level, std::move(face));
    if (SurfaceArea(view, index) <= kNoArea) {
        DeleteSurface(level, view.GetGame(), index);
        return -1;
    }
    CalcSurfacePlane(level, index);
    wedge.m_surfaces.push_back(index);
    return index;
}

// Builds the wedge of base edge i (corners p(i), p(i + 1), top corners q(i), q(i + 1)) out of the
// slab sector: see CreateLayer.
CWedge BuildWedge(C3dView& view, int slab, int base, std::size_t i,
                  std::span<const CVector3> corners, std::span<const CVector3> top,
                  const std::vector<CRadialPlane>& planes, const CVector3& centre,
                  const CVector3& normal)
{
    CQzlSections& level = view.GetLevel();
    const std::size_t next = (i + 1) % corners.size();
    const CRadialPlane& planeA = planes[i];
    const CRadialPlane& planeB = planes[next];
    CQzlSector& slabSector = *level.m_sectors[slab];
    auto wedge = NewSectorLike(slabSector);
    auto faceA = RadialFace(planeA.m_normal, corners[i]);
    auto faceB = RadialFace(NegateVector(planeB.m_normal), corners[next]);

    // The slab's surfaces between the two radial planes move to the wedge; their corners on the
    // planes outline the radial faces.
    const std::vector<std::int32_t> surfaces = slabSector.m_surfaces;
    for (auto g = surfaces.rbegin(); g != surfaces.rend(); ++g) {
        if (*g == base)
            continue;
        const CVector3 middle = SurfaceCentroid(level, *g) - centre;
        if (Dot(middle, planeA.m_normal) < 0.0f || Dot(middle, planeB.m_normal) > 0.0f)
            continue;
        for (const CQzlVertex& corner : level.m_surfaces[*g]->m_vertices) {
            const CVector3 v = WorldPosition(level, corner.m_worldVertex);
            if (std::fabs(planeA.Side(v)) <= kOnPlane)
                InsertVertexCopy(level, *faceA, corner);
            if (std::fabs(planeB.Side(v)) <= kOnPlane)
                InsertVertexCopy(level, *faceB, corner);
        }
        std::erase(slabSector.m_surfaces, *g);
        wedge->m_surfaces.push_back(*g);
    }

    // The sloping platform side, under the ring piece above this edge.
    std::int32_t side = -1;
    for (const std::int32_t g : wedge->m_surfaces) {
        const CQzlSurface& surface = *level.m_surfaces[g];
        if (VectorLength(normal + surface.m_normal) > kCoincident ||
            !HasEdge(level, surface, top[i], top[next]))
            continue;
        auto slope = std::make_unique<CQzlSurface>(*level.m_surfaces[base], false, false);
        slope->m_adjoin = -1;
        for (const CVector3& p : {corners[next], top[next], top[i], corners[i]})
            slope->m_vertices.push_back(NewCorner(level, p));
        side = AppendSurface(level, std::move(slope));
        CalcSurfacePlane(level, side);
        wedge->m_surfaces.push_back(side);
        break;
    }

    InsertSurfaceVertex(level, *faceA, NewCorner(level, corners[i]));
    InsertSurfaceVertex(level, *faceA, NewCorner(level, top[i]));
    InsertSurfaceVertex(level, *faceB, NewCorner(level, corners[next]));
    InsertSurfaceVertex(level, *faceB, NewCorner(level, top[next]));
    CWedge made;
    made.m_faceA = KeepFace(view, *wedge, std::move(faceA));
    made.m_faceB = KeepFace(view, *wedge, std::move(faceB));

    if (wedge->m_surfaces.size() < 4) {
        // No sector of so few surfaces: what it collected stays with the slab, which goes.
        for (const std::int32_t g : wedge->m_surfaces)
            slabSector.m_surfaces.push_back(g);
        return {};
    }
    level.m_sectors.push_back(std::move(wedge));
    made.m_sector = static_cast<std::int32_t>(level.m_sectors.size()) - 1;
    level.m_sectors.back()->m_number = made.m_sector;

    if (side >= 0)
        for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
            bool found = false;
            for (const std::int32_t g : level.m_sectors[s]->m_surfaces) {
                const CQzlSurface& source = *level.m_surfaces[g];
                if (g == base || g == side || source.m_material < 0 ||
                    !HasEdge(level, source, corners[i], corners[next]))
                    continue;
                CopySurfaceAttributes(view, made.m_sector, *level.m_surfaces[side], source);
                found = true;
                break;
            }
            if (found)
                break;
        }
    return made;
}

// Joins wedge from's face B to wedge to's face A by a new adjoin pair.
void JoinWedges(C3dView& view, const CWedge& from, const CWedge& to)
{
    CQzlSections& level = view.GetLevel();
    const auto first = static_cast<std::int32_t>(level.m_adjoins.size());
    for (const CWedge* side : {&to, &from}) {
        const CWedge& far = side == &to ? from : to;
        const std::int32_t farFace = side == &to ? from.m_faceB : to.m_faceA;
        auto adjoin = std::make_unique<CQzlAdjoin>();
        adjoin->m_flags = 7;
        adjoin->m_mirror = side == &to ? first + 1 : first;
        adjoin->m_otherSector = far.m_sector;
        adjoin->m_otherSurface = farFace;
        CVector3 projected;
        float distance = 0.0f;
        ProjectPointOnSurfacePlane(level, farFace, level.m_sectors[far.m_sector]->m_center,
                                   projected, distance);
        adjoin->m_dist = distance;
        level.m_adjoins.push_back(std::move(adjoin));
        CQzlSurface& face = *level.m_surfaces[side == &to ? to.m_faceA : from.m_faceB];
        face.m_adjoin = static_cast<std::int32_t>(level.m_adjoins.size()) - 1;
        face.m_material = -1;
        face.m_surfaceFlags = 0;
        face.m_faceFlags = 0;
        face.m_geo = 0;
    }
}

}  // namespace

std::string LayerTooHighText(float allowable)
{
    return FormatC("Cannot create Layer.\n\nThe specified height exceeds the current sector\n"
                   "which has an allowable height of %.5f.",
                   static_cast<double>(allowable));
}

std::optional<float> LayerAllowableHeight(const CQzlSections& level, int sector, int surface,
                                          float height)
{
    if (!InRange(level.m_sectors, sector) || !InRange(level.m_surfaces, surface))
        return std::nullopt;
    // Whether the surface's texture is loaded (which takes the game's archive) plays no part:
    // a surface with a material is solid.
    const CVector3 normal = level.m_surfaces[static_cast<std::size_t>(surface)]->m_normal;
    const CVector3 centre = SurfaceCentroid(level, surface);
    CVector3 hit;
    int crossed = -1;
    if (!IntersectSegmentSector(level, sector, centre + normal * 0.002f,
                                centre + normal * (height + 0.02f), hit, crossed, true, true) ||
        crossed < 0 || level.m_surfaces[static_cast<std::size_t>(crossed)]->m_material < 0)
        return std::nullopt;
    // The distance to the crossing is taken along the normal to the crossed surface's plane,
    // not from the crossing point the segment gave: that one moves with the segment's length,
    // and the height the message offers would then be refused when entered.
    const float* plane = level.m_surfaces[static_cast<std::size_t>(crossed)]->m_plane;
    const auto wide = [](float v) { return static_cast<double>(v); };
    const double across = wide(plane[0]) * wide(normal.x) + wide(plane[1]) * wide(normal.y) +
                          wide(plane[2]) * wide(normal.z);
    if (across == 0.0)
        return VectorLength(centre - hit) - 0.001f;
    const double at = wide(plane[0]) * wide(centre.x) + wide(plane[1]) * wide(centre.y) +
                      wide(plane[2]) * wide(centre.z) + wide(plane[3]);
    return static_cast<float>(-at / across * wide(VectorLength(normal))) - 0.001f;
}

void SplitLayerSurfaces(C3dView& view, std::span<const CVector3> polygon, const CVector3& centre,
                        bool relink)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    if (!InRange(level.m_sectors, selection.m_sector) ||
        !InRange(level.m_surfaces, selection.m_surface) || polygon.size() < 3)
        return;
    level.LinkAdjoins();
    const std::int32_t sector = selection.m_sector;
    const std::int32_t g = selection.m_surface;
    const std::int32_t adjoin = level.m_surfaces[g]->m_adjoin;
    const bool adjoined = InRange(level.m_adjoins, adjoin);
    if (adjoined) {
        const CQzlAdjoin& record = *level.m_adjoins[adjoin];
        const std::int32_t farSector = record.m_otherSector;
        const std::int32_t farSurface = record.m_otherSurface;
        DeleteAdjoin(level, adjoin);
        if (InRange(level.m_sectors, farSector) && InRange(level.m_surfaces, farSurface)) {
            selection.m_sector = farSector;
            selection.m_surface = farSurface;
            const std::vector<CVector3> reversed(polygon.rbegin(), polygon.rend());
            SplitLayerSurfaces(view, reversed, centre, relink);
            selection.m_sector = sector;
            selection.m_surface = g;
        }
    }
    view.m_work.m_newSectors = {sector};
    view.m_work.m_newSurfaces = {g};

    CQzlSurface& surface = *level.m_surfaces[g];
    const std::vector<CRadialPlane> planes = RadialPlanes(polygon, centre, surface.m_normal);
    const std::size_t count = polygon.size();

    // A corner wherever an edge crosses the half of a radial plane beyond its polygon corner.
    for (std::size_t k = 0; k < count; ++k) {
        const CRadialPlane& plane = planes[k];
        for (int j = static_cast<int>(surface.m_vertices.size()) - 1; j >= 0; --j) {
            const auto uj = static_cast<std::size_t>(j);
            const std::size_t before = j == 0 ? surface.m_vertices.size() - 1 : uj - 1;
            const CVector3 a = CornerAt(level, surface, uj);
            const CVector3 b = CornerAt(level, surface, before);
            CVector3 x;
            float t = 0.0f;
            if (!IntersectSegmentPlane(plane.m_normal.x, plane.m_normal.y, plane.m_normal.z,
                                       -plane.m_offset, a, b, x, t) ||
                VectorLength(x - a) <= kOnPlane || VectorLength(x - b) <= kOnPlane ||
                Dot(polygon[k] - centre, x - centre) <= 0.0f ||
                VectorLength(x - polygon[k]) <= kCoincident)
                continue;
            CQzlVertex corner = surface.m_vertices[uj];
            corner.m_worldVertex = level.AddVertexXYZ(x.x, x.y, x.z);
            corner.m_u = (surface.m_vertices[before].m_u - surface.m_vertices[uj].m_u) * t +
                         surface.m_vertices[uj].m_u;
            corner.m_v = (surface.m_vertices[before].m_v - surface.m_vertices[uj].m_v) * t +
                         surface.m_vertices[uj].m_v;
            surface.m_vertices.insert(surface.m_vertices.begin() + j, std::move(corner));
        }
    }

    // One ring piece per polygon edge: the corners between its two radial planes, outside it.
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t next = (k + 1) % count;
        const CVector3 mid = (polygon[k] + polygon[next]) * 0.5f - centre;
        auto piece = std::make_unique<CQzlSurface>(surface, false, false);
        for (const CQzlVertex& corner : surface.m_vertices) {
            const CVector3 v = WorldPosition(level, corner.m_worldVertex);
            if (planes[k].Side(v) >= -kOnPlane && planes[next].Side(v) <= kOnPlane &&
                Dot(v - polygon[k], mid) >= 0.0f)
                InsertVertexCopy(level, *piece, corner);
        }
        InsertSurfaceVertex(level, *piece, NewCorner(level, polygon[k]));
        InsertSurfaceVertex(level, *piece, NewCorner(level, polygon[next]));
        const bool corners = piece->m_vertices.size() >= 3;
        const std::int32_t index = AppendSurface(level, std::move(piece));
        // A piece along an edge where the surface meets the polygon has no area, however many
        // corners a neighbour's split left on that edge.
        if (!corners || SurfaceArea(view, index) <= kNoArea) {
            DeleteSurface(level, view.GetGame(), index);
            continue;
        }
        CalcSurfacePlane(level, index);
        level.m_sectors[sector]->m_surfaces.push_back(index);
        view.m_work.m_newSurfaces.push_back(index);
        view.m_work.m_newSectors.push_back(sector);
    }

    // The surface itself becomes the inner piece.
    for (auto corner = surface.m_vertices.rbegin(); corner != surface.m_vertices.rend(); ++corner)
        --level.m_useCounts[static_cast<std::size_t>(corner->m_worldVertex)];
    surface.m_vertices.clear();
    for (const CVector3& q : polygon)
        InsertSurfaceVertex(level, surface, NewCorner(level, q));
    CalcSurfacePlane(level, g);

    if (adjoined) {
        const std::vector<std::int32_t> sectors = view.m_work.m_newSectors;
        const std::vector<std::int32_t> surfaces = view.m_work.m_newSurfaces;
        for (std::size_t e = 0; e < surfaces.size(); ++e) {
            selection.m_sector = sectors[e];
            selection.m_surface = surfaces[e];
            LinkSurface(view);
        }
        selection.m_sector = sector;
        selection.m_surface = g;
    }
    if (relink)
        RebuildSector(view, selection.m_sector);
}

bool CreateLayer(C3dView& view, const CLayerParams& params)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    CDocumentState& document = view.GetDocument();
    if (!InRange(level.m_sectors, selection.m_sector) ||
        !InRange(level.m_surfaces, selection.m_surface))
        return false;
    const CWaitCursorScope wait(view.GetHost());
    std::int32_t slab = selection.m_sector;
    const std::int32_t base = selection.m_surface;
    const CVector3 normal = level.m_surfaces[base]->m_normal;
    const CVector3 centre = SurfaceCentroid(level, base);
    const float height = params.m_height;

    const std::optional<float> allowable = LayerAllowableHeight(level, slab, base, height);
    if (allowable && *allowable < height) {
        view.GetHost().ShowMessage(LayerTooHighText(*allowable));
        return false;
    }

    const CUnlinkLookScope look(view, params.m_look);
    std::vector<CVector3> corners;
    GetSurfaceCornerPolygon(level, base, corners);
    if (height < 0.01f || corners.size() < 3)
        return false;
    const float indent = std::fabs(params.m_indent) < 0.01f ? 0.0f : params.m_indent;
    std::vector<CVector3> top;
    for (const CVector3& p : corners)
        top.push_back(p + normal * height + Unit(centre - p) * indent);
    const std::size_t count = corners.size();
    for (const CVector3& q : top)
        if (!PointInSector(level, slab, q, -kCoincident)) {
            view.GetHost().ShowMessage(kLayerTopOutsideText);
            return false;
        }
    CLevelRollback rollback(view);
    const CSoundnessCheck soundness(level, slab);

    // The cut at the platform's top. The nodes go round against the base's winding, so that the
    // sector keeps the slab that holds the base and the part above is appended.
    const auto upperIndex = static_cast<std::int32_t>(level.m_sectors.size());
    selection.m_pickedNodes = {corners[0] + normal * height, corners[2] + normal * height,
                               corners[1] + normal * height};
    document.m_gridOn = 1;
    document.m_sectorMode = 1;
    const bool split = SplitSector(view, true);
    document.m_gridOn = 0;
    document.m_sectorMode = 0;
    if (!split) {
        rollback.Restore();
        return false;
    }
    std::int32_t upper = upperIndex;
    if (!Lists(*level.m_sectors[slab], base))
        std::swap(slab, upper);

    // The slab's cap is cut to the platform top and its ring; the inner piece goes from the slab,
    // and the upper sector's piece becomes the platform top.
    const CVector3 topCentre = centre + normal * height;
    selection.m_sector = slab;
    CVector3 hit;
    int crossed = -1;
    if (IntersectSegmentSector(level, slab, centre, centre + normal * (height + 0.002f), hit,
                               crossed, true, true) &&
        crossed >= 0) {
        const std::int32_t cap = crossed;
        selection.m_surface = cap;
        SplitLayerSurfaces(view, top, topCentre, true);
        selection.m_sector = slab;
        selection.m_surface = cap;
        if (SurfaceHasAdjoin(view))
            UnlinkSurface(view, true);
        DeleteSurface(level, view.GetGame(), cap);
    }

    const std::vector<CRadialPlane> planes = RadialPlanes(corners, centre, normal);
    if (!CutWallsAlongRadialPlanes(view, slab, base, corners, planes, centre)) {
        rollback.Restore();
        view.GetHost().ShowMessage(kLayerWallCutText);
        return false;
    }

    std::vector<CWedge> wedges;
    for (std::size_t i = 0; i < count; ++i)
        wedges.push_back(BuildWedge(view, slab, base, i, corners, top, planes, centre, normal));
    for (std::size_t i = 0; i < count; ++i) {
        const CWedge& from = wedges[i];
        const CWedge& to = wedges[(i + 1) % count];
        if (from.m_sector >= 0 && to.m_sector >= 0 && from.m_faceB >= 0 && to.m_faceA >= 0)
            JoinWedges(view, from, to);
    }
    UpdateSectorBounds(level);
    level.LinkAdjoins();

    // The slab's things stay where a wedge or the upper sector holds them.
    for (const auto& thing : level.m_things) {
        if (thing->m_sector != slab)
            continue;
        const CVector3 at = thing->m_position;
        if (PointInSector(level, upper, at, 0.0f))
            thing->m_sector = upper;
        for (const CWedge& wedge : wedges)
            if (wedge.m_sector >= 0 && thing->m_sector == slab &&
                PointInSector(level, wedge.m_sector, at, 0.0f))
                thing->m_sector = wedge.m_sector;
    }

    // The slab goes with the base and whatever no wedge took.
    selection.m_sector = slab;
    selection.m_surface = -1;
    selection.m_vertex = selection.m_vertexSurface = -1;
    if (!DeleteSelectedSector(view)) {
        rollback.Restore();
        return false;
    }
    const auto after = [slab](std::int32_t s) { return s > slab ? s - 1 : s; };
    upper = after(upper);

    selection.m_sector = upper;
    selection.m_surface = -1;
    crossed = -1;
    if (IntersectSegmentSector(level, upper, centre + normal * (height + 0.002f), centre, hit,
                               crossed, true, true) &&
        crossed >= 0) {
        selection.m_surface = crossed;
        ComputeTextureCoords(level, crossed, 0, 0.0f, 320.0f, 320.0f, 0.0f, 0.0f, 0);
    }
    selection.m_vertex = selection.m_vertexSurface = -1;
    std::vector<std::int32_t> made{upper};
    for (const CWedge& wedge : wedges)
        if (wedge.m_sector >= 0)
            made.push_back(after(wedge.m_sector));
    if (!soundness.Holds(level, SectorsAndNeighbours(level, made))) {
        rollback.Restore();
        view.GetHost().ShowMessage(kLayerShapeText);
        return false;
    }
    RebuildSector(view, upper);
    for (const CWedge& wedge : wedges)
        if (wedge.m_sector >= 0)
            RebuildSector(view, after(wedge.m_sector));
    ProcessSectors(view);
    return true;
}

bool RunCreateLayerCommand(C3dView& view, const CLayerParams& params)
{
    return RunUndoable(view, [&] { return CreateLayer(view, params); });
}
