#include "edit/SplitSector.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/ThingModels.h"
#include "engine/Visibility.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/QzlSections.h"
#include "level/TextureFit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr const char* kSameSurface =
    "Cannot split sector. You must select 3 grid nodes not on the same surface.";
constexpr const char* kOnALine = "Cannot split sector. You must select 3 grid nodes not on a line.";
constexpr const char* kMissesSector =
    "Cannot split sector. You must select 3 grid nodes whose plane crosses the sector.";
constexpr const char* kTwinNotCut =
    "Cannot split sector. The plane does not cut the twin of an adjoined surface.";

// Distances from the plane, and between points, below which they count as none.
constexpr float kOnPlane = 0.0001f;

// The cutting plane: its point P0 and unit normal n.
struct CCutPlane {
    CVector3 m_point;
    CVector3 m_normal;
};

// The plane through three points, nothing when they are collinear.
std::optional<CCutPlane> PlaneThrough(const CVector3& p0, const CVector3& p1, const CVector3& p2)
{
    const CVector3 n = VectorCross(p1 - p0, p2 - p1);
    const float length = VectorLength(n);
    if (!(length > 0.0f) || !std::isfinite(length))
        return std::nullopt;
    const CVector3 unit = n / length;
    if (std::fabs(unit.x) < kOnPlane && std::fabs(unit.y) < kOnPlane &&
        std::fabs(unit.z) < kOnPlane)
        return std::nullopt;
    return CCutPlane{p0, unit};
}

// One test decides both where an edge is cut and which piece a corner joins, so that a corner is
// never on the plane for one and off it for the other.
enum class ESide : std::uint8_t {
    Negative,
    On,
    Positive,
};

float Distance(const CCutPlane& plane, const CVector3& x)
{
    return Dot(x - plane.m_point, plane.m_normal);
}

ESide SideOf(const CCutPlane& plane, const CVector3& x)
{
    const float d = Distance(plane, x);
    return d > kOnPlane ? ESide::Positive : (d < -kOnPlane ? ESide::Negative : ESide::On);
}

CVector3 CornerAt(const CQzlSections& level, const CQzlVertex& corner)
{
    return WorldPosition(level, corner.m_worldVertex);
}

// Whether the surface has corners strictly on both sides of the plane.
bool SurfaceIsCut(const CQzlSections& level, const CQzlSurface& surface, const CCutPlane& plane)
{
    bool negative = false;
    bool positive = false;
    for (const CQzlVertex& corner : surface.m_vertices) {
        const ESide side = SideOf(plane, CornerAt(level, corner));
        negative = negative || side == ESide::Negative;
        positive = positive || side == ESide::Positive;
    }
    return negative && positive;
}

// Whether some corner of the sector lies strictly on each side of the plane.
bool CrossesSector(const CQzlSections& level, const CQzlSector& sector, const CCutPlane& plane)
{
    bool negative = false;
    bool positive = false;
    for (const std::int32_t f : sector.m_surfaces) {
        if (!InRange(level.m_surfaces, f))
            continue;
        for (const CQzlVertex& corner : At(level.m_surfaces, f)->m_vertices) {
            const ESide side = SideOf(plane, CornerAt(level, corner));
            negative = negative || side == ESide::Negative;
            positive = positive || side == ESide::Positive;
        }
    }
    return negative && positive;
}

// Whether every surface the plane cuts that has an adjoin has a twin in another sector that the
// plane cuts too. Needs the adjoins linked.
bool TwinsAreCut(const CQzlSections& level, int sector, const CCutPlane& plane)
{
    for (const std::int32_t f : At(level.m_sectors, sector)->m_surfaces) {
        if (!InRange(level.m_surfaces, f))
            continue;
        const CQzlSurface& surface = *At(level.m_surfaces, f);
        if (!InRange(level.m_adjoins, surface.m_adjoin) || !SurfaceIsCut(level, surface, plane))
            continue;
        const CQzlAdjoin& adjoin = *At(level.m_adjoins, surface.m_adjoin);
        if (adjoin.m_otherSector == sector || !InRange(level.m_sectors, adjoin.m_otherSector) ||
            !InRange(level.m_surfaces, adjoin.m_otherSurface) ||
            !SurfaceIsCut(level, *At(level.m_surfaces, adjoin.m_otherSurface), plane))
            return false;
    }
    return true;
}

// Puts a corner into surface where each of its edges crosses the plane, and gives every corner's
// side, in corner order. The new corner copies the record of the edge's start A (walking the
// corners backwards, B the one before A) with u and v interpolated towards B. Each new corner and
// each corner on the plane is appended to onPlane, in the order met.
std::vector<ESide> CutEdges(CQzlSections& level, CQzlSurface& surface, const CCutPlane& plane,
                            std::vector<CQzlVertex>* onPlane)
{
    std::vector<CQzlVertex>& corners = surface.m_vertices;
    std::vector<ESide> sides;
    sides.reserve(corners.size());
    for (const CQzlVertex& corner : corners)
        sides.push_back(SideOf(plane, CornerAt(level, corner)));
    for (std::size_t k = corners.size(); k-- > 0;) {
        const std::size_t b = k == 0 ? corners.size() - 1 : k - 1;
        if (sides[b] == ESide::On) {
            if (onPlane != nullptr)
                onPlane->push_back(corners[b]);
            continue;
        }
        if (sides[k] == ESide::On || sides[k] == sides[b])
            continue;
        const CVector3 a = CornerAt(level, corners[k]);
        const float da = Distance(plane, a);
        const float t = da / (da - Distance(plane, CornerAt(level, corners[b])));
        const CVector3 x = a + (CornerAt(level, corners[b]) - a) * t;
        CQzlVertex corner(corners[k]);
        corner.m_worldVertex = level.AddVertexXYZ(x.x, x.y, x.z);
        corner.m_u = corners[k].m_u + t * (corners[b].m_u - corners[k].m_u);
        corner.m_v = corners[k].m_v + t * (corners[b].m_v - corners[k].m_v);
        if (onPlane != nullptr)
            onPlane->push_back(corner);
        const auto at = static_cast<std::ptrdiff_t>(k);
        corners.insert(corners.begin() + at, std::move(corner));
        sides.insert(sides.begin() + at, ESide::On);
    }
    return sides;
}

// Takes the corners on the negative side out of surface (it keeps those on the plane) into a
// copy of its fields, which also gets a copy of each corner on the plane; the corners keep their
// order. sides comes from CutEdges.
std::unique_ptr<CQzlSurface> SplitOffNegative(CQzlSections& level, CQzlSurface& surface,
                                              const std::vector<ESide>& sides)
{
    auto piece = std::make_unique<CQzlSurface>(surface, false, false);
    std::vector<CQzlVertex> kept;
    for (std::size_t k = 0; k < surface.m_vertices.size(); ++k) {
        CQzlVertex& corner = surface.m_vertices[k];
        if (sides[k] == ESide::On) {
            piece->m_vertices.push_back(corner);
            ++At(level.m_useCounts, corner.m_worldVertex);
        }
        if (sides[k] == ESide::Negative)
            piece->m_vertices.push_back(std::move(corner));
        else
            kept.push_back(std::move(corner));
    }
    surface.m_vertices = std::move(kept);
    return piece;
}

bool HasSide(const std::vector<ESide>& sides, ESide side)
{
    return std::find(sides.begin(), sides.end(), side) != sides.end();
}

// The cap's corners: a copy of each point offered, the first at each place, in order round the
// plane so that the cap's normal is normal.
void BuildCap(CQzlSections& level, CQzlSurface& cap, const std::vector<CQzlVertex>& offered,
              CVector3 normal)
{
    std::vector<CQzlVertex>& corners = cap.m_vertices;
    for (const CQzlVertex& corner : offered) {
        const CVector3 p = CornerAt(level, corner);
        if (std::none_of(corners.begin(), corners.end(), [&](const CQzlVertex& c) {
                return VectorLength(CornerAt(level, c) - p) < kOnPlane;
            }))
            corners.push_back(corner);
    }
    if (corners.empty())
        return;
    CVector3 centre;
    for (const CQzlVertex& corner : corners)
        centre = centre + CornerAt(level, corner);
    centre = centre / static_cast<float>(corners.size());
    // Two axes in the plane; the angle round the centre orders the corners.
    const CVector3 e1 = CornerAt(level, corners.front()) - centre;
    const CVector3 e2 = VectorCross(normal, e1);
    const auto angle = [&](const CQzlVertex& corner) {
        const CVector3 d = CornerAt(level, corner) - centre;
        return std::atan2(static_cast<double>(Dot(d, e2)), static_cast<double>(Dot(d, e1)));
    };
    if (VectorLength(e1) > 0.0f)
        std::stable_sort(
            corners.begin(), corners.end(),
            [&](const CQzlVertex& a, const CQzlVertex& b) { return angle(a) < angle(b); });
    CalcSurfacePlane(level, cap);
    if (Dot(cap.m_normal, normal) < 0.0f)
        std::reverse(corners.begin(), corners.end());
    for (const CQzlVertex& corner : corners)
        ++At(level.m_useCounts, corner.m_worldVertex);
}

// A cap takes the texture fields of a surface it meets; the last one met counts.
void TakeTextureFields(CQzlSurface& cap, const CQzlSurface& from)
{
    cap.m_textureWidth = from.m_textureWidth;
    cap.m_textureHeight = from.m_textureHeight;
    cap.m_xTile = from.m_xTile;
    cap.m_yTile = from.m_yTile;
    cap.m_startVertex = from.m_startVertex;
    cap.m_angle = from.m_angle;
    cap.m_uOffset = from.m_uOffset;
    cap.m_vOffset = from.m_vOffset;
    cap.m_uScale = from.m_uScale;
    cap.m_vScale = from.m_vScale;
    cap.m_mirror = from.m_mirror;
}

// Appends a new adjoin pair: the first is owned by the surface first (in sector firstSector), the
// second by second (in secondSector); each names the other side. Returns the first's index.
std::int32_t AddAdjoinPair(CQzlSections& level, std::int32_t firstSector, std::int32_t first,
                           std::int32_t secondSector, std::int32_t second)
{
    const auto a = static_cast<std::int32_t>(level.m_adjoins.size());
    auto one = std::make_unique<CQzlAdjoin>();
    one->m_mirror = a + 1;
    one->m_otherSector = secondSector;
    one->m_otherSurface = second;
    auto two = std::make_unique<CQzlAdjoin>();
    two->m_mirror = a;
    two->m_otherSector = firstSector;
    two->m_otherSurface = first;
    level.m_adjoins.push_back(std::move(one));
    level.m_adjoins.push_back(std::move(two));
    At(level.m_surfaces, first)->m_adjoin = a;
    At(level.m_surfaces, second)->m_adjoin = a + 1;
    return a;
}

std::unique_ptr<CQzlSector> CopySectorFields(const CQzlSector& s, std::int32_t number)
{
    auto sector = std::make_unique<CQzlSector>();
    sector->m_number = number;
    sector->m_flags = s.m_flags;
    sector->m_colormap = s.m_colormap;
    sector->m_ambientLight = s.m_ambientLight;
    sector->m_extraLight = s.m_extraLight;
    std::copy(std::begin(s.m_tint), std::end(s.m_tint), std::begin(sector->m_tint));
    sector->m_boundBox = s.m_boundBox;
    sector->m_collideBox = s.m_collideBox;
    sector->m_sound = s.m_sound;
    sector->m_soundVolume = s.m_soundVolume;
    sector->m_center = s.m_center;
    sector->m_groupName = s.m_groupName;
    return sector;
}

bool Refuse(C3dView& view, bool showMessages, const char* message)
{
    if (showMessages)
        view.GetHost().ShowMessage(message);
    return false;
}

}  // namespace

bool PlaneCrossesSector(const CQzlSections& level, int sector, const CVector3& p0,
                        const CVector3& p1, const CVector3& p2)
{
    const std::optional<CCutPlane> plane = PlaneThrough(p0, p1, p2);
    return InRange(level.m_sectors, sector) && plane &&
           CrossesSector(level, *At(level.m_sectors, sector), *plane);
}

bool SplitSector(C3dView& view, bool showMessages)
{
    CQzlSections& level = view.GetLevel();
    const int s = view.m_selection.m_sector;
    const std::vector<CVector3>& nodes = view.m_selection.m_pickedNodes;
    if (!InRange(level.m_sectors, s) || nodes.size() < 3)
        return false;
    CWaitCursorScope wait(view.GetHost());

    for (const std::int32_t f : At(level.m_sectors, s)->m_surfaces) {
        const bool onSurface =
            std::all_of(nodes.begin(), nodes.begin() + 3, [&](const CVector3& p) {
                CVector3 foot;
                float distance = 0.0f;
                ProjectPointOnSurfacePlane(level, f, p, foot, distance);
                return InRange(level.m_surfaces, f) && distance < kOnPlane;
            });
        if (onSurface)
            return Refuse(view, showMessages, kSameSurface);
    }
    const std::optional<CCutPlane> found = PlaneThrough(nodes[0], nodes[1], nodes[2]);
    if (!found)
        return Refuse(view, showMessages, kOnALine);
    const CCutPlane plane = *found;
    if (!CrossesSector(level, *At(level.m_sectors, s), plane))
        return Refuse(view, showMessages, kMissesSector);
    level.LinkAdjoins();
    if (!TwinsAreCut(level, s, plane))
        return Refuse(view, showMessages, kTwinNotCut);

    // Every check passed: from here on the level changes.
    const auto ns = static_cast<std::int32_t>(level.m_sectors.size());
    std::unique_ptr<CQzlSector> newSector = CopySectorFields(*At(level.m_sectors, s), ns);
    const CVector3& n = plane.m_normal;
    const float d = Dot(n, plane.m_point);
    CQzlSurface c1;  // faces -n: closes the new sector
    c1.m_normal = NegateVector(n);
    c1.m_plane[0] = n.x;
    c1.m_plane[1] = n.y;
    c1.m_plane[2] = n.z;
    c1.m_plane[3] = -d;
    CQzlSurface c2;  // faces n: closes the current sector
    c2.m_normal = n;
    c2.m_plane[0] = -n.x;
    c2.m_plane[1] = -n.y;
    c2.m_plane[2] = -n.z;
    c2.m_plane[3] = d;
    std::vector<CQzlVertex> onPlane;
    std::vector<int> rebuild{s};

    std::vector<std::int32_t>& list = At(level.m_sectors, s)->m_surfaces;
    for (std::size_t j = list.size(); j-- > 0;) {
        const std::int32_t f = list[j];
        if (!InRange(level.m_surfaces, f))
            continue;
        CQzlSurface& surface = *At(level.m_surfaces, f);
        CalcSurfacePlane(level, surface);
        const std::size_t offered = onPlane.size();
        const std::vector<ESide> sides = CutEdges(level, surface, plane, &onPlane);
        if (onPlane.size() != offered) {
            TakeTextureFields(c1, surface);
            TakeTextureFields(c2, surface);
        }
        if (!HasSide(sides, ESide::Negative))
            continue;
        if (!HasSide(sides, ESide::Positive)) {
            // Wholly on the negative side: it moves to the new sector with its adjoin.
            newSector->m_surfaces.push_back(f);
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(j));
            continue;
        }
        std::unique_ptr<CQzlSurface> piece = SplitOffNegative(level, surface, sides);
        // An adjoin the level does not hold is none: the surface is cut alone.
        if (!InRange(level.m_adjoins, surface.m_adjoin)) {
            newSector->m_surfaces.push_back(static_cast<std::int32_t>(level.m_surfaces.size()));
            level.m_surfaces.push_back(std::move(piece));
            continue;
        }
        // The twin is cut at the same points; its negative piece faces this one's.
        const CQzlAdjoin& adjoin = *At(level.m_adjoins, surface.m_adjoin);
        const std::int32_t os = adjoin.m_otherSector;
        CQzlSurface& twin = *At(level.m_surfaces, adjoin.m_otherSurface);
        const std::vector<ESide> twinSides = CutEdges(level, twin, plane, nullptr);
        std::unique_ptr<CQzlSurface> twinPiece = SplitOffNegative(level, twin, twinSides);
        const auto g2 = static_cast<std::int32_t>(level.m_surfaces.size());
        level.m_surfaces.push_back(std::move(twinPiece));
        const auto f2 = static_cast<std::int32_t>(level.m_surfaces.size());
        level.m_surfaces.push_back(std::move(piece));
        At(level.m_sectors, os)->m_surfaces.push_back(g2);
        newSector->m_surfaces.push_back(f2);
        AddAdjoinPair(level, os, g2, ns, f2);
        rebuild.push_back(os);
    }

    // The caps, each adjoined to the other.
    BuildCap(level, c1, onPlane, c1.m_normal);
    BuildCap(level, c2, onPlane, c2.m_normal);
    const auto capOld = static_cast<std::int32_t>(level.m_surfaces.size());
    level.m_surfaces.push_back(std::make_unique<CQzlSurface>(std::move(c2)));
    const auto capNew = static_cast<std::int32_t>(level.m_surfaces.size());
    level.m_surfaces.push_back(std::make_unique<CQzlSurface>(std::move(c1)));
    newSector->m_surfaces.push_back(capNew);
    At(level.m_sectors, s)->m_surfaces.push_back(capOld);
    AddAdjoinPair(level, ns, capNew, s, capOld);
    for (const std::int32_t cap : {capNew, capOld}) {
        CQzlSurface& record = *At(level.m_surfaces, cap);
        CalcSurfacePlane(level, record);
        ComputeTextureCoords(level, cap, 0, 0.0f, 320.0f, 320.0f, 0.0f, 0.0f, 0);
        record.m_surfaceFlags = 0;
        record.m_faceFlags = 0;
        record.m_geo = 0;
        record.m_material = -1;
    }
    level.m_sectors.push_back(std::move(newSector));
    rebuild.push_back(ns);
    level.LinkAdjoins();

    CDocumentState& document = view.GetDocument();
    document.m_editMode = 0;
    document.m_gridOn = 0;
    // Corner indices of the cut surfaces have moved.
    view.m_selection.m_vertex = -1;
    view.m_selection.m_vertexSurface = -1;
    UpdateSectorBounds(level, false);
    for (const int sector : rebuild)
        RebuildSector(view, sector);
    ProcessSectors(view);
    RefreshThingBounds(view);
    return true;
}

bool CanSplitSector(const C3dView& view)
{
    const CDocumentState& document = view.GetDocument();
    return document.m_gridOn != 0 && document.m_sectorMode != 0 &&
           view.m_selection.m_pickedNodes.size() == 3;
}
