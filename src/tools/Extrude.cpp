#include "tools/Extrude.h"

#include "edit/CutToPolygon.h"
#include "edit/Link.h"
#include "edit/SurfaceLook.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/GridPoints.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "engine/Visibility.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "geometry/FloorFlag.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/QzlSections.h"
#include "level/VertexUses.h"
#include "math/Rounding.h"
#include "tools/ExtrudeEndPolygon.h"
#include "tools/LevelRollback.h"
#include "tools/NewSector.h"
#include "tools/SideTextures.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

namespace {

// How far along -n a corner may be carried to the plane of three chosen far points.
constexpr float kPlaneReach = 1000.0f;
// Points closer than this are one point to the opposite-surface matching.
constexpr float kSamePoint = 0.001f;

float TanDegrees(float degrees)
{
    return std::tan(degrees * std::numbers::pi_v<float> / 180.0f);
}

CVector3 CornerAt(const CQzlSections& level, const CQzlSurface& surface, std::size_t corner)
{
    return WorldPosition(level, surface.m_vertices[corner].m_worldVertex);
}

bool UsesTypeOfNewSector(EExtrudeType type)
{
    return type == EExtrudeType::NewSector || type == EExtrudeType::NewSectorHidden;
}

// The world vertex copied from source's, at position, appended with a use count of 1.
std::int32_t AppendWorldVertex(CQzlSections& level, std::int32_t source, const CVector3& position)
{
    CWorldVertex v = At(level.m_worldVertices, source);
    v.x = position.x;
    v.y = position.y;
    v.z = position.z;
    level.m_worldVertices.push_back(v);
    level.m_useCounts.push_back(1);
    return static_cast<std::int32_t>(level.m_worldVertices.size()) - 1;
}

// A new corner made from source (its world and texture vertex, light and u, v), unmarked.
CQzlVertex CornerFrom(const CQzlVertex& source, std::int32_t worldVertex)
{
    CQzlVertex corner(source);
    corner.m_worldVertex = worldVertex;
    return corner;
}

bool Refuse(C3dView& view, std::string_view text)
{
    view.GetHost().ShowMessage(text);
    return false;
}

// The depth of every corner when three corners are chosen: the chosen ones their own, every other
// one the distance along -n to the plane through the three far points. The refusal's message, or
// nothing.
std::optional<std::string_view> ChosenDepths(const std::vector<CVector3>& v, const CVector3& n,
                                             const CExtrudeParams& params,
                                             std::vector<float>& depths)
{
    const int k = static_cast<int>(v.size());
    const int chosen[] = {params.m_vertex1, params.m_vertex2, params.m_vertex3};
    for (const int c : chosen)
        if (c < 0 || c >= k)
            return kExtrudeVerticesText;
    if (chosen[0] == chosen[1] || chosen[0] == chosen[2] || chosen[1] == chosen[2])
        return kExtrudeVerticesText;
    const float given[] = {params.m_depth, params.m_depth2, params.m_depth3};
    for (const float depth : given)
        if (!(depth > 0.0f))
            return kExtrudePlaneText;

    std::vector<CVector3> q;
    depths.assign(v.size(), -1.0f);
    for (int i = 0; i < k; ++i)
        for (int c = 0; c < 3; ++c)
            if (chosen[c] == i) {
                depths[static_cast<std::size_t>(i)] = given[c];
                q.push_back(v[static_cast<std::size_t>(i)] - n * given[c]);
            }
    const CVector3 cross = VectorCross(q[1] - q[0], q[2] - q[0]);
    const float length = VectorLength(cross);
    if (!(length > kTolerance))
        return kExtrudePlaneText;
    const CVector3 m = cross / length;
    const float d = -Dot(m, q[0]);
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (depths[i] >= 0.0f)
            continue;
        CVector3 point;
        float t = 0.0f;
        if (!IntersectSegmentPlane(m.x, m.y, m.z, d, v[i], v[i] - n * kPlaneReach, point, t))
            return kExtrudePlaneText;
        depths[i] = VectorLength(point - v[i]);
        if (!(depths[i] > kSamePoint))
            return kExtrudePlaneText;
    }
    return std::nullopt;
}

// The far corner of V moved by the indent (see CExtrudeParams::m_indentAcross).
CVector3 Indented(CVector3 w, const CVector3& v, const CVector3& centroid,
                  const CExtrudeParams& params, const std::optional<CVector3>& g, const CVector3& n)
{
    const float indent = params.m_indent;
    if (params.m_indentAcross && params.m_indentAlong) {
        const CVector3 r = centroid - v;
        const float length = VectorLength(r);
        if (length > indent)
            w = w + r * (indent / length);
        return w;
    }
    if ((!params.m_indentAcross && !params.m_indentAlong) || !g)
        return w;
    const CVector3 u = params.m_indentAcross ? VectorCross(*g, n) : *g;
    const CVector3 r = v - centroid;
    const float s = Dot(u, r);
    if (s > 0.0f && Dot(u, r - u * indent) > 0.0f)
        w = w - u * indent;
    else if (s < 0.0f && Dot(u, r + u * indent) < 0.0f)
        w = w + u * indent;
    return w;
}

// Gives surface G of the opposite sector a corner at each point of p that its outline lacks:
// walking G's edges c to c + 1, the point p[m] whose successor is at corner c and which lies
// inside the edge goes in after corner c (u, v and light interpolated).
void MatchOppositeCorners(CQzlSections& level, CQzlSurface& g, const std::vector<CVector3>& p)
{
    const std::size_t k = p.size();
    for (std::size_t c = 0; c < g.m_vertices.size(); ++c) {
        const std::size_t count = g.m_vertices.size();
        const std::size_t next = (c + 1) % count;
        const CVector3 a = CornerAt(level, g, c);
        const CVector3 b = CornerAt(level, g, next);
        for (std::size_t m = k; m-- > 0;) {
            if (!(VectorLength(p[(m + 1) % k] - a) < kSamePoint) ||
                !(VectorLength(p[m] - b) > kSamePoint))
                continue;
            // Only a point on the edge itself makes a corner of it.
            const float length = VectorLength(b - a);
            CVector3 foot;
            if (!(length > 0.0f) || PointLineDistance(a, b, p[m], &foot) >= kSamePoint)
                break;
            const float t = Dot(p[m] - a, (b - a) / length) / length;
            if (!(t > 0.0f && t < 1.0f))
                break;
            const CQzlVertex& ca = g.m_vertices[c];
            const CQzlVertex& cb = g.m_vertices[next];
            CQzlVertex corner = CornerFrom(ca, AppendWorldVertex(level, ca.m_worldVertex, p[m]));
            corner.m_u = ca.m_u + t * (cb.m_u - ca.m_u);
            corner.m_v = ca.m_v + t * (cb.m_v - ca.m_v);
            RoundToThousandth(corner.m_u, corner.m_v);
            for (int i = 0; i < 4; ++i)
                corner.m_intensity[i] =
                    ca.m_intensity[i] + t * (cb.m_intensity[i] - ca.m_intensity[i]);
            const std::size_t at = (c + 1) % count;
            g.m_vertices.insert(g.m_vertices.begin() + static_cast<std::ptrdiff_t>(at),
                                std::move(corner));
            break;
        }
    }
}

// Whether G can take the far corners: it has a corner for each point of p, and its outline (the
// corners not on a straight edge) is made of points of p, every point of p that is no straight
// corner of p's own being one of them.
bool PieceMatches(const CQzlSections& level, int g, const std::vector<CVector3>& p)
{
    const CQzlSurface& piece = *At(level.m_surfaces, g);
    if (piece.m_vertices.size() < p.size())
        return false;
    std::vector<CVector3> outline;
    GetSurfaceCornerPolygon(level, g, outline);
    const auto near = [](const CVector3& a, const CVector3& b) {
        return VectorLength(a - b) < kSamePoint;
    };
    for (const CVector3& corner : outline)
        if (std::none_of(p.begin(), p.end(), [&](const CVector3& q) { return near(q, corner); }))
            return false;
    for (const CVector3& point : p) {
        bool found = false;
        for (std::size_t c = 0; c < piece.m_vertices.size() && !found; ++c)
            found = near(CornerAt(level, piece, c), point);
        if (!found)
            return false;
    }
    return true;
}

// The side of the new volume along edge i of F: F's corners i, i + 1, T's corners i + 1, i.
std::unique_ptr<CQzlSurface> SideSurface(const CQzlSections& level, const CQzlSurface& f,
                                         const CQzlSurface& t, std::size_t i)
{
    const std::size_t k = f.m_vertices.size();
    const std::size_t next = (i + 1) % k;
    auto q = std::make_unique<CQzlSurface>(f, false, false);
    const CQzlVertex& from = f.m_vertices[i];
    for (const std::int32_t w : {f.m_vertices[i].m_worldVertex, f.m_vertices[next].m_worldVertex,
                                 t.m_vertices[next].m_worldVertex, t.m_vertices[i].m_worldVertex})
        q->m_vertices.push_back(CornerFrom(from, w));
    CalcSurfacePlane(level, *q);
    UpdateFloorFlag(*q);
    return q;
}

void GivePortalLook(CQzlSurface& surface)
{
    surface.m_material = -1;
    surface.m_surfaceFlags = 0;
    surface.m_faceFlags = 0;
    surface.m_geo = 0;
}

std::int32_t AppendSurface(CQzlSections& level, std::unique_ptr<CQzlSurface> surface,
                           CQzlSector& owner)
{
    level.m_surfaces.push_back(std::move(surface));
    const auto index = static_cast<std::int32_t>(level.m_surfaces.size()) - 1;
    owner.m_surfaces.push_back(index);
    return index;
}

void SetAdjoinDistance(CQzlSections& level, std::int32_t adjoin, const CVector3& centre,
                       int surface)
{
    CVector3 foot;
    float distance = 0.0f;
    ProjectPointOnSurfacePlane(level, surface, centre, foot, distance);
    At(level.m_adjoins, adjoin)->m_dist = distance;
}

}  // namespace

bool ExtrudeSurface(C3dView& view, const CExtrudeParams& params)
{
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    const int sector = selection.m_sector;
    const int surface = selection.m_surface;
    if (!InRange(level.m_sectors, sector) || !InRange(level.m_surfaces, surface))
        return false;
    const EExtrudeType type = params.m_type;
    if (static_cast<int>(type) < 0 || static_cast<int>(type) > 3)
        return false;
    CQzlSurface& f = *At(level.m_surfaces, surface);
    const std::size_t k = f.m_vertices.size();
    if (k < 3)
        return false;
    for (const CQzlVertex& corner : f.m_vertices)
        if (!InRange(level.m_worldVertices, corner.m_worldVertex))
            return false;
    // The old pair would no longer match once F takes the new adjoin, and every copy of F would
    // carry the old one.
    if (f.m_adjoin >= 0)
        return Refuse(view, kExtrudeAdjoinedText);
    if (level.m_useCounts.size() != level.m_worldVertices.size())
        CountVertexUses(level);

    const CVector3 n = f.m_normal;
    std::vector<CVector3> v;
    for (std::size_t i = 0; i < k; ++i)
        v.push_back(CornerAt(level, f, i));
    const CVector3 centroid = SurfaceCentroid(level, surface);
    const std::vector<CVector3>& nodes = selection.m_pickedNodes;
    std::optional<CVector3> g;
    if (nodes.size() >= 2) {
        const float length = VectorLength(nodes[1] - nodes[0]);
        if (length > 0.0f)
            g = (nodes[1] - nodes[0]) / length;
    }
    const bool twoNodes = nodes.size() == 2 && g.has_value();

    // Every check before the first change.
    std::vector<float> depths(k, params.m_depth);
    if (UsesTypeOfNewSector(type) && params.m_vertex1 >= 0)
        if (const auto refusal = ChosenDepths(v, n, params, depths))
            return Refuse(view, *refusal);

    const CEdgeNeighbours neighbours = FindEdgeNeighbours(level, surface);
    std::vector<CVector3> p;
    int opposite = -1;
    int oppositeSurface = -1;
    std::optional<CLevelRollback> rollback;
    int g2 = -1;
    if (type == EExtrudeType::ConnectOpposite) {
        if (!g ||
            !CalcExtrudeEndPolygon(level, surface, *g, params.m_upDownAngle,
                                   params.m_leftRightAngle, p, opposite, oppositeSurface, true) ||
            At(level.m_surfaces, oppositeSurface)->m_adjoin >= 0)
            return Refuse(view, kExtrudeNoOppositeText);
        std::size_t touching = 0;
        for (std::size_t i = 0; i < k; ++i)
            touching += VectorLength(p[i] - v[i]) < kSamePoint ? 1 : 0;
        if (touching != 0 && touching != k)
            return Refuse(view, kExtrudeNoOppositeText);

        rollback.emplace(view);
        const auto giveUp = [&] {
            rollback->Restore();
            return Refuse(view, kExtrudeNoOppositeText);
        };
        if (!CutSurfaceToPolygon(view, opposite, oppositeSurface, p, *g))
            return giveUp();
        selection.m_sector = sector;
        g2 = selection.m_surface;
        selection.m_surface = surface;
        view.GetDocument().m_gridOn = 0;
        view.GetDocument().m_editMode = 0;
        if (!InRange(level.m_surfaces, g2))
            return giveUp();
        CQzlSurface& piece = *At(level.m_surfaces, g2);
        MatchOppositeCorners(level, piece, p);

        // Already touching: the piece lies in F's plane facing it and is linked to F.
        if (touching == k && VectorLength(piece.m_normal + n) < kSamePoint) {
            if (!LinkSurface(view))
                return giveUp();
            view.GetDocument().m_gridOn = 0;
            view.GetDocument().m_editMode = 0;
            RebuildSector(view, opposite);
            RebuildSector(view, sector);
            ProcessSectors(view);
            return true;
        }
        if (touching != 0 || !PieceMatches(level, g2, p))
            return giveUp();
    }

    // C: the end surface, and for a new sector its record and the back surface.
    auto t = std::make_unique<CQzlSurface>(f, false, false);
    const bool newSector = type != EExtrudeType::KeepWithSector;
    std::unique_ptr<CQzlSector> ns;
    std::unique_ptr<CQzlSurface> back;
    if (newSector) {
        ns = NewSectorLike(*At(level.m_sectors, sector));
        back = std::make_unique<CQzlSurface>(f, false, false);
    }

    // D: the far corners.
    std::vector<CVector3> w(k);
    for (std::size_t i = 0; i < k; ++i) {
        const CQzlVertex& corner = f.m_vertices[i];
        if (type == EExtrudeType::ConnectOpposite) {
            const CQzlSurface& piece = *At(level.m_surfaces, g2);
            const CQzlVertex& from = piece.m_vertices[i];
            w[i] = p[i];
            t->m_vertices.push_back(
                CornerFrom(from, AppendWorldVertex(level, from.m_worldVertex, w[i])));
        } else {
            w[i] = v[i] - n * depths[i];
            if (UsesTypeOfNewSector(type)) {
                w[i] = Indented(w[i], v[i], centroid, params, g, n);
                if (twoNodes) {
                    const CVector3 h = VectorCross(n, *g);
                    w[i] = w[i] + *g * (TanDegrees(params.m_upDownAngle) * depths[i]);
                    w[i] = w[i] - h * (TanDegrees(params.m_leftRightAngle) * depths[i]);
                }
            }
            t->m_vertices.push_back(
                CornerFrom(corner, AppendWorldVertex(level, corner.m_worldVertex, w[i])));
        }
        if (newSector) {
            back->m_vertices.insert(back->m_vertices.begin(),
                                    CornerFrom(corner, corner.m_worldVertex));
            ++At(level.m_useCounts, corner.m_worldVertex);
        } else {
            --At(level.m_useCounts, corner.m_worldVertex);
        }
    }

    // E: the end surface turned so that each side edge ends as far from M as it starts.
    if (params.m_shape == 1 && UsesTypeOfNewSector(type)) {
        float farthest = 0.0f;
        std::size_t pick = 0;
        for (std::size_t i = 0; i < k; ++i) {
            const float distance = VectorLength(w[i] - centroid);
            if (distance > farthest) {
                farthest = distance;
                pick = i;
            }
        }
        const CVector3 m = (w[pick] + v[pick]) * 0.5f;
        for (std::size_t i = 0; i < k; ++i) {
            const CVector3 e = w[i] + (w[i] - v[i]) * 100.0f;
            CVector3 foot;
            PointLineDistance(e, v[i], m, &foot);
            const CVector3 moved = foot * 2.0f - v[i];
            CWorldVertex& wv = At(level.m_worldVertices, t->m_vertices[i].m_worldVertex);
            wv.x = moved.x;
            wv.y = moved.y;
            wv.z = moved.z;
        }
    }

    // F: the back surface, then the end surface, into the new sector.
    CQzlSurface* end = t.get();
    std::int32_t backIndex = -1;
    std::int32_t endIndex = -1;
    if (newSector) {
        back->m_normal = NegateVector(n);
        backIndex = AppendSurface(level, std::move(back), *ns);
        endIndex = AppendSurface(level, std::move(t), *ns);
    }

    // G: the side surfaces, each continuing the first surface along its edge.
    CQzlSector& owner = newSector ? *ns : *At(level.m_sectors, sector);
    for (std::size_t i = 0; i < k; ++i) {
        const std::int32_t side = AppendSurface(level, SideSurface(level, f, *end, i), owner);
        CQzlSurface& q = *At(level.m_surfaces, side);
        for (const CQzlVertex& corner : q.m_vertices)
            ++At(level.m_useCounts, corner.m_worldVertex);
        if (!neighbours[i].empty()) {
            const CQzlSurface& along = *At(level.m_surfaces, neighbours[i].front());
            AlignTextureToSurface(view, q, along);
            if (along.m_material >= 0)
                q.m_material = along.m_material;
        } else {
            GiveDefaultTextureCoords(level, side);
        }
    }

    // H: closing.
    if (!newSector) {
        for (std::size_t i = 0; i < k; ++i)
            f.m_vertices[i].m_worldVertex = end->m_vertices[i].m_worldVertex;
        t.reset();
        view.GetDocument().m_gridOn = 0;
        view.GetDocument().m_editMode = 0;
        ProcessSectors(view);
        RebuildSector(view, sector);
        return true;
    }

    const auto a2 = static_cast<std::int32_t>(level.m_adjoins.size());
    const std::int32_t a1 = a2 + 1;
    level.m_adjoins.push_back(std::make_unique<CQzlAdjoin>());
    level.m_adjoins.push_back(std::make_unique<CQzlAdjoin>());
    CQzlSurface& backSurface = *At(level.m_surfaces, backIndex);
    backSurface.m_adjoin = a2;
    f.m_adjoin = a1;
    At(level.m_adjoins, a2)->m_mirror = a1;
    At(level.m_adjoins, a1)->m_mirror = a2;
    GivePortalLook(backSurface);
    if (type != EExtrudeType::NewSectorHidden)
        GivePortalLook(f);
    level.m_sectors.push_back(std::move(ns));
    const auto newIndex = static_cast<std::int32_t>(level.m_sectors.size()) - 1;
    CQzlSector& created = *At(level.m_sectors, newIndex);
    created.m_number = newIndex;
    At(level.m_sectors, sector)->InsertSortedIndex(newIndex);
    created.InsertSortedIndex(sector);
    created.InsertSortedIndex(newIndex);
    level.LinkAdjoins();

    if (type == EExtrudeType::ConnectOpposite) {
        RebuildSector(view, newIndex);
        selection.m_sector = opposite;
        selection.m_surface = g2;
        const bool linked = LinkSurface(view);
        selection.m_sector = sector;
        selection.m_surface = surface;
        if (!linked) {
            rollback->Restore();
            return Refuse(view, kExtrudeNoOppositeText);
        }
    }

    view.GetDocument().m_gridOn = 0;
    view.GetDocument().m_editMode = 0;
    ProcessSectors(view);
    RebuildSector(view, sector);
    selection.m_vertex = -1;
    selection.m_sector = newIndex;
    selection.m_surface = static_cast<std::int32_t>(level.m_surfaces.size()) - 1;
    RebuildSector(view, newIndex);
    selection.m_surface = endIndex;
    SetAdjoinDistance(level, a1, At(level.m_sectors, sector)->m_center, surface);
    SetAdjoinDistance(level, a2, created.m_center, backIndex);
    return true;
}

bool CanExtrudeSurface(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    return InRange(level.m_sectors, view.m_selection.m_sector) &&
           InRange(level.m_surfaces, view.m_selection.m_surface);
}

bool RunExtrudeSurfaceCommand(C3dView& view, const CExtrudeParams& params)
{
    if (!CanExtrudeSurface(view))
        return false;
    return RunUndoable(view, [&view, &params] { return ExtrudeSurface(view, params); });
}
