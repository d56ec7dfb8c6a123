#include "edit/Carve.h"

#include "edit/SelectionDelete.h"
#include "edit/SplitSector.h"
#include "edit/SurfaceLook.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/Visibility.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "geometry/FloorFlag.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/QzlSections.h"
#include "level/TextureFit.h"
#include "level/UndoSnapshot.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

constexpr const char* kOnALine = "Cannot carve sector. You must select 3 grid nodes not on a line.";
constexpr const char* kOffPlane =
    "Cannot carve sector. You must select grid nodes on the same plane.";
constexpr const char* kOverlap = "Cannot carve sector due to multiple surface overlap at one end.";
constexpr const char* kSameNodes = "Cannot carve surface. You must select 2 different grid nodes.";

// How far a node may lie off the plane of the first three.
constexpr float kOffPlaneLimit = 0.5f;
// An outline edge whose plane lies this close to a wall needs no cut.
constexpr float kOnWall = 0.01f;
// Points just inside the outline, or just off its plane, for the probes.
constexpr float kNudge = 0.0002f;
// The edge classes of the cutting order.
constexpr float kFlat = 0.001f;

std::optional<CVector3> Normalised(const CVector3& v)
{
    const float length = VectorLength(v);
    if (!(length > 0.0f) || !std::isfinite(length))
        return std::nullopt;
    return v / length;
}

CVector3 Mean(const std::vector<CVector3>& points)
{
    CVector3 sum;
    for (const CVector3& p : points)
        sum = sum + p;
    return sum / static_cast<float>(points.size());
}

// The surface of sector that the segment meets first inside its outline, any surface counting;
// -1 for none.
int SurfaceMet(const CQzlSections& level, int sector, const CVector3& p0, const CVector3& p1)
{
    CVector3 hit;
    int surface = -1;
    IntersectSegmentSector(level, sector, p0, p1, hit, surface, true, true);
    return surface;
}

// Whether every node, moved 0.0002 towards the centre, meets along dir the surface that the node
// before it met from its own place; the surface the last node meets from its place.
bool NodesMeetOneSurface(const CQzlSections& level, int sector, const std::vector<CVector3>& g,
                         const CVector3& centre, const CVector3& dir, int& last)
{
    for (std::size_t i = 0; i < g.size(); ++i) {
        const std::optional<CVector3> in = Normalised(centre - g[i]);
        const CVector3 p = in ? g[i] + *in * kNudge : g[i];
        const int s1 = SurfaceMet(level, sector, p - dir, p + dir * 1000.0f);
        if (i >= 1 && s1 != last)
            return false;
        last = SurfaceMet(level, sector, g[i] - dir, g[i] + dir * 1000.0f);
    }
    return true;
}

// Whether a, b and c all lie within 0.01 of the plane of one surface of sector.
bool OnExistingWall(const CQzlSections& level, int sector, const CVector3& a, const CVector3& b,
                    const CVector3& c)
{
    const auto near = [&level](std::int32_t f, const CVector3& point) {
        CVector3 foot;
        float distance = 0.0f;
        ProjectPointOnSurfacePlane(level, f, point, foot, distance);
        return distance < kOnWall;
    };
    const std::vector<std::int32_t>& surfaces = At(level.m_sectors, sector)->m_surfaces;
    return std::any_of(surfaces.begin(), surfaces.end(), [&](std::int32_t f) {
        return InRange(level.m_surfaces, f) && near(f, a) && near(f, b) && near(f, c);
    });
}

// One outline edge to cut along.
struct CCutEdge {
    CVector3 m_a;
    CVector3 m_b;
};

// The outline's edges in cutting order: an edge lying in the plane of the carve direction and u
// (|E . p| < 0.001) goes to the front; an edge across u (|E . u| < 0.001) before the first edge
// not in that plane; every other edge to the end.
std::vector<CCutEdge> OrderCutEdges(const std::vector<CVector3>& outline, const CVector3& u,
                                    const CVector3& p)
{
    std::vector<CCutEdge> edges;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const CCutEdge edge{outline[i], outline[(i + 1) % outline.size()]};
        const CVector3 e = edge.m_b - edge.m_a;
        const bool inPlane = std::fabs(Dot(e, p)) < kFlat;
        const bool across = std::fabs(Dot(e, u)) < kFlat;
        const auto slot = std::find_if(edges.begin(), edges.end(), [&](const CCutEdge& stored) {
            return inPlane || (across && !(std::fabs(Dot(stored.m_b - stored.m_a, p)) < kFlat));
        });
        edges.insert(slot, edge);
    }
    return edges;
}

// The level, the selection, the document's switches and the work lists as a carve found them,
// put back when a split or the delete of a catwalk refuses half way.
class CCarveRollback {
public:
    explicit CCarveRollback(C3dView& view)
        : m_selection(view.m_selection), m_document(view.GetDocument()), m_work(view.m_work)
    {
        m_level.StoreLevel(view.GetLevel());
    }

    void Restore(C3dView& view) const
    {
        m_level.LoadLevel(view.GetLevel());
        view.m_selection = m_selection;
        view.GetDocument() = m_document;
        view.m_work = m_work;
        RebuildAll(view, false, ERebuildAll::Restore);
    }

private:
    CUndoSnapshot m_level;
    CSelection m_selection;
    CDocumentState m_document;
    CWorkLists m_work;
};

}  // namespace

CVector3 LeanOffset(const CVector3& u, const CVector3& c, float upDown, float leftRight)
{
    // pi as a float, the degrees divided in double.
    constexpr float kPi = 3.1415927f;
    const auto lean = [](float degrees) {
        return static_cast<float>(std::tan(static_cast<double>((90.0f - degrees) * kPi) / 180.0));
    };
    CVector3 offset;
    if (upDown != 0.0f)
        offset = offset + u / lean(upDown);
    if (leftRight != 0.0f)
        offset = offset - c / lean(leftRight);
    return offset;
}

// The new index of a surface after the surfaces in deleted (sorted) were removed.
std::int32_t SurfaceAfterDeletes(std::int32_t surface, const std::vector<std::int32_t>& deleted)
{
    return surface -
           static_cast<std::int32_t>(std::lower_bound(deleted.begin(), deleted.end(), surface) -
                                     deleted.begin());
}

// The walls that faced a deleted catwalk: the first takes look, each other one continues the
// wall before it.
void DressCarvedWalls(C3dView& view, const std::vector<std::int32_t>& walls, const CCarveLook& look)
{
    CQzlSections& level = view.GetLevel();
    for (std::size_t j = 0; j < walls.size(); ++j) {
        CQzlSurface& wall = *At(level.m_surfaces, walls[j]);
        UpdateFloorFlag(wall);
        wall.m_geo = 4;
        wall.m_light = 3;
        wall.m_tex = 1;
        if (j == 0) {
            wall.m_material = InRange(level.m_materials, look.m_material) ? look.m_material : -1;
            wall.m_textureWidth = look.m_textureWidth;
            wall.m_textureHeight = look.m_textureHeight;
            wall.m_xTile = look.m_xTile;
            wall.m_yTile = look.m_yTile;
            ComputeTextureCoords(level, walls[j], 0, 0.0f, 320.0f, 320.0f, 0.0f, 0.0f, 0);
            continue;
        }
        const CQzlSurface& before = *At(level.m_surfaces, walls[j - 1]);
        wall.m_material = before.m_material;
        wall.m_textureWidth = before.m_textureWidth;
        wall.m_textureHeight = before.m_textureHeight;
        wall.m_xTile = before.m_xTile;
        wall.m_yTile = before.m_yTile;
        AlignTextureToSurface(view, wall, before);
    }
}

bool CarveSector(C3dView& view, bool catwalk, const CCarveLook& look)
{
    const CQzlSections& level = view.GetLevel();
    const int sector = view.m_selection.m_sector;
    const std::vector<CVector3> g = view.m_selection.m_pickedNodes;
    if (!InRange(level.m_sectors, sector) || g.size() < 3)
        return false;
    CWaitCursorScope wait(view.GetHost());
    const std::optional<CVector3> n = Normalised(VectorCross(g[1] - g[0], g[2] - g[1]));
    if (!n) {
        view.GetHost().ShowMessage(kOnALine);
        return false;
    }
    for (std::size_t i = 1; i < g.size(); ++i) {
        if (std::fabs(Dot(*n, g[i] - g[0])) > kOffPlaneLimit) {
            view.GetHost().ShowMessage(kOffPlane);
            return false;
        }
    }
    const CVector3 centre = Mean(g);
    int ahead = -1;
    int behind = -1;
    if (!NodesMeetOneSurface(level, sector, g, centre, *n, ahead) ||
        !NodesMeetOneSurface(level, sector, g, centre, NegateVector(*n), behind)) {
        view.GetHost().ShowMessage(kOverlap);
        return false;
    }
    const int surface = view.m_selection.m_surface;
    view.m_selection.m_surface = behind;
    if (CarveAlongLine(view, catwalk, 0.0f, 0.0f, look, true))
        return true;
    view.m_selection.m_surface = surface;
    return false;
}

bool CarveAlongLine(C3dView& view, bool catwalk, float upDown, float leftRight,
                    const CCarveLook& look, bool bounded)
{
    const CQzlSections& level = view.GetLevel();
    const std::vector<CVector3>& g = view.m_selection.m_pickedNodes;
    const int surface = view.m_selection.m_surface;
    if (g.size() < 2 || (!bounded && !InRange(level.m_surfaces, surface)))
        return false;
    const std::optional<CVector3> u = Normalised(g[1] - g[0]);
    if (!u) {
        view.GetHost().ShowMessage(kSameNodes);
        return false;
    }
    const CVector3 n =
        InRange(level.m_surfaces, surface) ? At(level.m_surfaces, surface)->m_normal : CVector3{};
    return CutSectorsByPlane(view, catwalk, n, *u, VectorCross(n, *u), upDown, leftRight, look,
                             bounded);
}

bool CutSectorsByPlane(C3dView& view, bool catwalk, const CVector3& n, const CVector3& u,
                       const CVector3& c, float upDown, float leftRight, const CCarveLook& look,
                       bool bounded)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    CDocumentState& document = view.GetDocument();
    int t = selection.m_sector;
    if (!InRange(level.m_sectors, t))
        return false;
    CWaitCursorScope wait(view.GetHost());
    const CCarveRollback rollback(view);
    view.m_work.m_cutEdges.clear();
    view.m_work.m_cutResults.clear();

    // The carve direction and the outline.
    std::vector<CVector3> outline = selection.m_pickedNodes;
    CVector3 d = n;
    if (!bounded) {
        d = d + LeanOffset(u, c, upDown, leftRight);
        if (outline.size() == 2 && InRange(level.m_surfaces, selection.m_surface))
            GetSurfaceCornerPolygon(level, selection.m_surface, outline);
    } else if (outline.size() >= 3) {
        const std::size_t k = outline.size() >= 4 ? 1 : 0;
        const std::optional<CVector3> normal =
            Normalised(VectorCross(outline[k + 1] - outline[k], outline[k + 2] - outline[k + 1]));
        d = normal.value_or(CVector3{});
        // The prism runs into the sector whichever way round the nodes were picked.
        if (Dot(d, At(level.m_sectors, t)->m_center - Mean(outline)) < 0.0f)
            d = NegateVector(d);
    }
    if (outline.size() < 3 || !Normalised(d))
        return false;
    const CVector3 p = VectorCross(d, u);
    const std::vector<CCutEdge> edges = OrderCutEdges(outline, u, p);
    for (const CCutEdge& edge : edges) {
        view.m_work.m_cutEdges.push_back(edge.m_a);
        view.m_work.m_cutEdges.push_back(edge.m_b);
    }
    const CVector3 centre = Mean(outline);

    const std::int32_t sectorMode = document.m_sectorMode;
    std::vector<int> sectors{t};
    for (const CCutEdge& edge : edges) {
        const CVector3 a = edge.m_a;
        const CVector3 b = edge.m_b;
        // An edge on a wall of the piece, or whose plane leaves the piece on one side, is a side
        // of the piece already.
        if (OnExistingWall(level, t, a, b, a + d) || !PlaneCrossesSector(level, t, a, b, a + d))
            continue;
        selection.m_pickedNodes = {a, b, a + d};
        document.m_gridOn = 1;
        document.m_sectorMode = 1;
        selection.m_sector = t;
        const bool split = SplitSector(view, true);
        document.m_sectorMode = 0;
        if (!split) {
            rollback.Restore(view);
            return false;
        }
        const auto piece = static_cast<int>(level.m_sectors.size()) - 1;
        sectors.push_back(piece);
        // The split keeps the positive side of (b - a) x d in t; the region lies on the side of
        // the outline's centre.
        int outer = piece;
        if (Dot(centre - a, VectorCross(b - a, d)) < 0.0f) {
            outer = t;
            t = piece;
        }
        view.m_work.m_cutResults.push_back(outer);
    }
    const std::size_t cuts = view.m_work.m_cutResults.size();
    level.LinkAdjoins();

    // The walls across each outline edge, seen from the centre just inside along d.
    std::vector<std::int32_t> walls;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const CVector3 from = centre + d * kNudge;
        const CVector3 to = outline[i] + outline[(i + 1) % outline.size()] - centre + d * kNudge;
        const int met = SurfaceMet(level, t, from, to);
        if (!InRange(level.m_surfaces, met))
            continue;
        const std::int32_t adjoin = At(level.m_surfaces, met)->m_adjoin;
        if (!InRange(level.m_adjoins, adjoin))
            continue;
        const CQzlAdjoin& across = *At(level.m_adjoins, adjoin);
        if (!InRange(level.m_surfaces, across.m_otherSurface) ||
            !InRange(level.m_sectors, across.m_otherSector))
            continue;
        view.m_work.m_cutResults.push_back(across.m_otherSurface);
        walls.push_back(across.m_otherSurface);
        sectors.push_back(across.m_otherSector);
    }

    int current = t;
    int probe = SurfaceMet(level, t, centre + d * kNudge, centre - d * kNudge);
    if (catwalk) {
        std::vector<std::int32_t> deleted = At(level.m_sectors, t)->m_surfaces;
        std::sort(deleted.begin(), deleted.end());
        selection.m_sector = t;
        if (!DeleteSelectedSector(view)) {
            rollback.Restore(view);
            return false;
        }
        std::erase(sectors, t);
        std::vector<std::int32_t>& results = view.m_work.m_cutResults;
        for (std::size_t i = 0; i < results.size(); ++i) {
            if (i < cuts)
                results[i] -= results[i] > t ? 1 : 0;
            else
                results[i] = SurfaceAfterDeletes(results[i], deleted);
        }
        for (int& s : sectors)
            s -= s > t ? 1 : 0;
        for (std::int32_t& w : walls)
            w = SurfaceAfterDeletes(w, deleted);
        DressCarvedWalls(view, walls, look);
        current = -1;
        probe = -1;
    }

    ProcessSectors(view);
    std::vector<int> rebuilt;
    for (const int s : sectors) {
        if (std::find(rebuilt.begin(), rebuilt.end(), s) != rebuilt.end())
            continue;
        rebuilt.push_back(s);
        RebuildSector(view, s);
    }
    selection.m_sector = current;
    selection.m_surface = probe;
    document.m_sectorMode = sectorMode;
    return true;
}
