#include "tools/ExpandSurface.h"

#include "edit/CutToPolygon.h"
#include "edit/Link.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/GridPoints.h"
#include "engine/RenderData.h"
#include "engine/Visibility.h"
#include "framework/CFormat.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "geometry/FloorFlag.h"
#include "geometry/Predicates.h"
#include "geometry/SectorBounds.h"
#include "level/QzlSections.h"
#include "tools/LevelRollback.h"
#include "tools/NewSector.h"
#include "tools/SideTextures.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

// 2 pi as the builders step around their axis.
constexpr float kFullTurn = 6.2831855f;
// How far the two grid nodes must lie apart across the surface's normal, as a part of their
// distance, to give an up direction in its plane.
constexpr float kLeastUpPart = 0.001f;
// The least size of the box along each of its axes.
constexpr float kLeastBoxSize = 0.0001f;

bool Finite(float value)
{
    return std::isfinite(value);
}

// Takes the build back and says why.
bool NotJoined(C3dView& view, CLevelRollback& rollback)
{
    rollback.Restore();
    view.GetHost().ShowMessage(kExpandNotJoined);
    return false;
}

// A corner on world vertex with the light given.
CQzlVertex NewCorner(std::int32_t worldVertex, const float light[4])
{
    CQzlVertex corner;
    corner.m_worldVertex = worldVertex;
    for (std::size_t i = 0; i < 4; ++i)
        corner.m_intensity[i] = light[i];
    return corner;
}

// Computes face's plane and floor flag, appends it to the level and its index to sector's list
// (the sector need not be in the level yet); its index.
int AppendFace(CQzlSections& level, CQzlSector& sector, std::unique_ptr<CQzlSurface> face)
{
    CalcSurfacePlane(level, *face);
    UpdateFloorFlag(*face);
    const auto index = static_cast<std::int32_t>(level.m_surfaces.size());
    level.m_surfaces.push_back(std::move(face));
    sector.m_surfaces.push_back(index);
    return index;
}

// Appends sector to the level with its own index as its number; that index.
int AppendSector(CQzlSections& level, std::unique_ptr<CQzlSector> sector)
{
    const auto index = static_cast<std::int32_t>(level.m_sectors.size());
    sector->m_number = index;
    level.m_sectors.push_back(std::move(sector));
    return index;
}

// Links the current surface (sector and surface made current again) unless the new sector's
// piece is already linked to it.
bool LinkBack(C3dView& view, int sector, int surface, bool linked)
{
    CDocumentState& document = view.GetDocument();
    document.m_gridOn = 0;
    document.m_editMode = 0;
    view.m_selection.m_sector = sector;
    view.m_selection.m_surface = surface;
    if (!linked)
        linked = LinkSurface(view);
    return linked && At(view.GetLevel().m_surfaces, surface)->m_adjoin >= 0;
}

// FitSideTextures on the new sector with the neighbours that are no portal; the portal it opens
// keeps no material, as Link left it.
void FitExpandedSector(C3dView& view, int sector, const std::vector<int>& neighbours,
                       const CVector3& endNormal)
{
    CQzlSections& level = view.GetLevel();
    std::vector<int> looks;
    for (const int s : neighbours)
        if (InRange(level.m_surfaces, s) && At(level.m_surfaces, s)->m_adjoin < 0)
            looks.push_back(s);
    FitSideTextures(view, sector, looks, endNormal);
    for (const std::int32_t s : At(level.m_sectors, sector)->m_surfaces)
        if (At(level.m_surfaces, s)->m_adjoin >= 0)
            At(level.m_surfaces, s)->m_material = -1;
}

bool Refuse(C3dView& view, const std::string& message)
{
    view.GetHost().ShowMessage(message);
    return false;
}

// The frame, refusing with its message.
bool ReadFrame(C3dView& view, CExpandFrame& frame)
{
    std::string refusal;
    if (GetExpandFrame(view, frame, refusal))
        return true;
    if (!refusal.empty())
        view.GetHost().ShowMessage(refusal);
    return false;
}

// The bounds of the prism's and the globe's faces and side count.
bool CheckBeside(C3dView& view, const CExpandFrame& frame, float height, float width, int sides,
                 int leastSides)
{
    if (sides < leastSides || sides > 24)
        return Refuse(
            view, FormatC("Cannot expand Surface.\n\nThe number of sides must be from %d to 24.",
                          leastSides));
    const float high = frame.m_box.m_upPlus + frame.m_box.m_upMinus;
    const float wide = frame.m_box.m_sideMinus + frame.m_box.m_sidePlus;
    if (!ExpandSizeFits(height, high) || !ExpandSizeFits(width, wide))
        return Refuse(view,
                      FormatC("Cannot expand Surface.\n\nThe height must be from %g to %g "
                              "and the width from %g to %g.",
                              static_cast<double>(high), static_cast<double>(kExpandLargest),
                              static_cast<double>(wide), static_cast<double>(kExpandLargest)));
    return true;
}

// What the prism and the globe are built from: the frame, the current surface's look and the
// light its corners average, and the angle between two neighbouring faces around the axis with
// the cosine of its half.
struct CBeside {
    const CExpandFrame& m_frame;
    const CQzlSurface& m_look;
    const float* m_light;
    float m_step;
    float m_c;
};

// Checks the prism's or globe's values, builds its sector's faces (makeFaces, the first of them
// an end face), appends the sector and links the current surface to the face against it; with
// fit the side textures are fitted. A build that cannot be joined is taken back.
bool BuildBeside(C3dView& view, float height, float width, int sides, int leastSides, bool fit,
                 const std::function<void(const CBeside&, CQzlSector&)>& makeFaces)
{
    CExpandFrame frame;
    if (!ReadFrame(view, frame) || !CheckBeside(view, frame, height, width, sides, leastSides))
        return false;
    CQzlSections& level = view.GetLevel();
    const int sector = view.m_selection.m_sector;
    const int surface = view.m_selection.m_surface;
    CLevelRollback rollback(view);
    const std::vector<int> neighbours = FlattenNeighbours(FindEdgeNeighbours(level, surface));
    float light[4];
    AverageVertexLight(level, surface, light);
    const float step = kFullTurn / static_cast<float>(sides);

    std::unique_ptr<CQzlSector> made = NewSectorLike(*At(level.m_sectors, sector));
    makeFaces({frame, *At(level.m_surfaces, surface), light, step, std::cos(step * 0.5f)}, *made);
    const CVector3 endNormal = At(level.m_surfaces, made->m_surfaces.front())->m_normal;
    const int added = AppendSector(level, std::move(made));

    if (!LinkBack(view, sector, surface, false))
        return NotJoined(view, rollback);
    if (fit)
        FitExpandedSector(view, added, neighbours, endNormal);
    view.m_selection.m_vertex = -1;
    view.m_selection.m_vertexSurface = -1;
    ProcessSectors(view);
    RebuildSector(view, added);
    RebuildSector(view, view.m_selection.m_sector);
    return true;
}

}  // namespace

CExpandBox CalcExpandBox(const CQzlSections& level, int surface, const CVector3& c,
                         const CVector3& a, const CVector3& b)
{
    CExpandBox box;
    if (!InRange(level.m_surfaces, surface))
        return box;
    const CVector3 alongB0 = c - b * 100.0f;
    const CVector3 alongB1 = c + b * 100.0f;
    const CVector3 alongA0 = c - a * 100.0f;
    const CVector3 alongA1 = c + a * 100.0f;
    for (const CQzlVertex& corner : At(level.m_surfaces, surface)->m_vertices) {
        if (!InRange(level.m_worldVertices, corner.m_worldVertex))
            continue;
        const CVector3 p = WorldPosition(level, corner.m_worldVertex);
        const CVector3 d = p - c;
        float& up = Dot(d, a) >= 0.0f ? box.m_upPlus : box.m_upMinus;
        up = std::max(up, ClosestPointOnLine(alongB0, alongB1, p));
        float& side = Dot(d, b) >= 0.0f ? box.m_sidePlus : box.m_sideMinus;
        side = std::max(side, ClosestPointOnLine(alongA0, alongA1, p));
    }
    return box;
}

void AverageVertexLight(const CQzlSections& level, int surface, float light[4])
{
    for (std::size_t i = 0; i < 4; ++i)
        light[i] = 0.0f;
    if (!InRange(level.m_surfaces, surface))
        return;
    const std::vector<CQzlVertex>& corners = At(level.m_surfaces, surface)->m_vertices;
    if (corners.empty())
        return;
    for (const CQzlVertex& corner : corners)
        for (std::size_t i = 0; i < 4; ++i)
            light[i] += corner.m_intensity[i];
    for (std::size_t i = 0; i < 4; ++i)
        light[i] /= static_cast<float>(corners.size());
}

bool ExpandSizeFits(float value, float extents)
{
    const float padded = value + kExpandSlack;
    return Finite(value) && padded >= extents && padded <= kExpandLargest;
}

bool GetExpandFrame(const C3dView& view, CExpandFrame& frame, std::string& refusal)
{
    refusal.clear();
    const CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    if (!InRange(level.m_sectors, selection.m_sector) ||
        !InRange(level.m_surfaces, selection.m_surface))
        return false;
    const CQzlSurface& surface = *At(level.m_surfaces, selection.m_surface);
    if (surface.m_adjoin >= 0) {
        refusal = kExpandAdjoined;
        return false;
    }
    for (const CQzlVertex& corner : surface.m_vertices) {
        if (!InRange(level.m_worldVertices, corner.m_worldVertex)) {
            refusal = kExpandNoArea;
            return false;
        }
    }
    const CVector3 n = surface.m_normal;
    if (surface.m_vertices.size() < 3 || VectorLength(n) < 0.5f) {
        refusal = kExpandNoArea;
        return false;
    }
    if (selection.m_pickedNodes.size() < 2) {
        refusal = kExpandNeedsNodes;
        return false;
    }
    // The up direction is the nodes' direction with its part along the normal taken away.
    const CVector3 g = selection.m_pickedNodes[1] - selection.m_pickedNodes[0];
    const CVector3 inPlane = g - n * Dot(g, n);
    const float length = VectorLength(inPlane);
    if (!(length > kLeastUpPart * VectorLength(g))) {
        refusal = kExpandNoUpDirection;
        return false;
    }
    frame.m_normal = n;
    frame.m_up = inPlane / length;
    frame.m_side = VectorCross(n, frame.m_up);
    frame.m_centre = SurfaceCentroid(level, selection.m_surface);
    frame.m_box =
        CalcExpandBox(level, selection.m_surface, frame.m_centre, frame.m_up, frame.m_side);
    const CExpandBox& box = frame.m_box;
    frame.m_middle = frame.m_centre + frame.m_up * ((box.m_upPlus - box.m_upMinus) * 0.5f) +
                     frame.m_side * ((box.m_sidePlus - box.m_sideMinus) * 0.5f);
    return true;
}

bool ExpandSurfaceRect(C3dView& view, float depth, float left, float right, float top, float bottom)
{
    CExpandFrame frame;
    if (!ReadFrame(view, frame))
        return false;
    if (!Finite(depth) || !(depth > 0.0f))
        return Refuse(view, "Cannot expand Surface.\n\nThe depth must be greater than 0.");
    const CExpandBox& box = frame.m_box;
    // Each extent with its own margin on its own side.
    const float up = box.m_upPlus + top;
    const float down = box.m_upMinus + bottom;
    const float toLeft = box.m_sideMinus + left;
    const float toRight = box.m_sidePlus + right;
    if (!Finite(up + down + toLeft + toRight) || !(up + down > kLeastBoxSize) ||
        !(toLeft + toRight > kLeastBoxSize))
        return Refuse(view, "Cannot expand Surface.\n\nThe margins leave the new sector no room.");

    CQzlSections& level = view.GetLevel();
    const int sector = view.m_selection.m_sector;
    const int surface = view.m_selection.m_surface;
    CLevelRollback rollback(view);
    std::vector<int> neighbours = FlattenNeighbours(FindEdgeNeighbours(level, surface));
    std::vector<CVector3> outline;
    GetSurfaceCornerPolygon(level, surface, outline);
    float light[4];
    AverageVertexLight(level, surface, light);

    const CVector3& a = frame.m_up;
    const CVector3& b = frame.m_side;
    const CVector3 front = frame.m_centre;
    const CVector3 back = frame.m_centre - frame.m_normal * depth;
    std::array<CVector3, 8> corners{};
    for (std::size_t i = 0; i < 2; ++i) {
        const CVector3 c = i == 0 ? front : back;
        corners[i * 4 + 0] = c - b * toLeft - a * down;
        corners[i * 4 + 1] = c - b * toLeft + a * up;
        corners[i * 4 + 2] = c + b * toRight + a * up;
        corners[i * 4 + 3] = c + b * toRight - a * down;
    }
    // Front, -B side, back, +B side, -A end, +A end.
    constexpr std::array<std::array<std::size_t, 4>, 6> kFaces{{
        {0, 1, 2, 3},
        {4, 5, 1, 0},
        {7, 6, 5, 4},
        {3, 2, 6, 7},
        {0, 3, 7, 4},
        {2, 1, 5, 6},
    }};

    std::unique_ptr<CQzlSector> made = NewSectorLike(*At(level.m_sectors, sector));
    std::array<int, 6> faces{};
    for (std::size_t f = 0; f < kFaces.size(); ++f) {
        auto face = std::make_unique<CQzlSurface>(*At(level.m_surfaces, surface), false, false);
        for (const std::size_t k : kFaces[f]) {
            const CVector3& p = corners[k];
            face->m_vertices.push_back(NewCorner(level.AddVertexXYZ(p.x, p.y, p.z), light));
        }
        faces[f] = AppendFace(level, *made, std::move(face));
        GiveDefaultTextureCoords(level, faces[f]);
    }
    // The ends take the look of a neighbour facing their way.
    for (const std::size_t f : {std::size_t{4}, std::size_t{5}}) {
        const int look =
            FindSurfaceByNormal(level, neighbours, At(level.m_surfaces, faces[f])->m_normal);
        if (look >= 0)
            FitSurfaceTo(view, faces[f], look);
    }
    // The first side touching a neighbour takes its look and passes it on to the next sides.
    for (std::size_t f = 0; f < 4; ++f) {
        const std::vector<CQzlVertex>& ring = At(level.m_surfaces, faces[f])->m_vertices;
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const int look = FindSurfaceOnSegment(
                level, neighbours, WorldPosition(level, ring[i].m_worldVertex),
                WorldPosition(level, ring[(i + 1) % ring.size()].m_worldVertex));
            if (look < 0)
                continue;
            FitSurfaceTo(view, faces[f], look);
            neighbours.assign(1, faces[f]);
            break;
        }
    }

    const CVector3 endNormal = At(level.m_surfaces, faces[4])->m_normal;
    const int added = AppendSector(level, std::move(made));
    At(level.m_sectors, sector)->InsertSortedIndex(added);
    At(level.m_sectors, added)->InsertSortedIndex(sector);
    At(level.m_sectors, added)->InsertSortedIndex(added);
    RebuildSector(view, added);

    // The front face cut to the surface's outline; the piece is linked to the surface.
    CutSurfaceToPolygon(view, added, faces[0], outline, a);
    view.m_selection.m_sector = added;
    bool linked = LinkSurface(view);
    if (!LinkBack(view, sector, surface, linked))
        return NotJoined(view, rollback);

    FitExpandedSector(view, added, neighbours, endNormal);
    view.m_selection.m_sector = added;
    view.m_selection.m_surface = At(At(level.m_sectors, added)->m_surfaces, 2);
    view.m_selection.m_vertex = -1;
    view.m_selection.m_vertexSurface = -1;
    ProcessSectors(view);
    RebuildSector(view, sector);
    RebuildSector(view, added);
    return true;
}

bool ExpandSurfaceCylinder(C3dView& view, float height, float width, int sides)
{
    return BuildBeside(
        view, height, width, sides, 3, true, [&](const CBeside& at, CQzlSector& made) {
            CQzlSections& level = view.GetLevel();
            const CVector3& n = at.m_frame.m_normal;
            const CVector3& a = at.m_frame.m_up;
            const CVector3& b = at.m_frame.m_side;
            const float h = width * 0.5f;
            // From the axis to each side face, and to each edge.
            const float s = std::sqrt(h * h * at.m_c * at.m_c / (1.0f - at.m_c * at.m_c));
            const float r = s / at.m_c;
            const CVector3 top = at.m_frame.m_middle + a * (height * 0.5f) - n * s;
            const CVector3 bottom = at.m_frame.m_middle - a * (height * 0.5f) - n * s;

            auto bottomEnd = std::make_unique<CQzlSurface>(at.m_look, false, false);
            auto topEnd = std::make_unique<CQzlSurface>(at.m_look, false, false);
            for (int k = 0; k < sides; ++k) {
                const float angle = at.m_step * 0.5f + static_cast<float>(k) * at.m_step;
                const CVector3 q = (n * std::cos(angle) + b * std::sin(angle)) * r;
                const CVector3 pb = bottom + q;
                const CVector3 pt = top + q;
                bottomEnd->m_vertices.push_back(
                    NewCorner(level.AddVertexXYZ(pb.x, pb.y, pb.z), at.m_light));
                topEnd->m_vertices.insert(
                    topEnd->m_vertices.begin(),
                    NewCorner(level.AddVertexXYZ(pt.x, pt.y, pt.z), at.m_light));
            }
            // Corner k of the top end stands at position sides - 1 - k of its list.
            std::vector<std::int32_t> bottomW;
            std::vector<std::int32_t> topW;
            for (int k = 0; k < sides; ++k) {
                bottomW.push_back(At(bottomEnd->m_vertices, k).m_worldVertex);
                topW.push_back(At(topEnd->m_vertices, sides - 1 - k).m_worldVertex);
            }
            GiveDefaultTextureCoords(level, AppendFace(level, made, std::move(bottomEnd)));
            GiveDefaultTextureCoords(level, AppendFace(level, made, std::move(topEnd)));
            for (int k = 0; k < sides; ++k) {
                const int k1 = (k + 1) % sides;
                auto side = std::make_unique<CQzlSurface>(at.m_look, false, false);
                for (const std::int32_t w :
                     {At(topW, k), At(topW, k1), At(bottomW, k1), At(bottomW, k)}) {
                    side->m_vertices.push_back(NewCorner(w, at.m_light));
                    ++At(level.m_useCounts, w);
                }
                GiveDefaultTextureCoords(level, AppendFace(level, made, std::move(side)));
            }
        });
}

bool ExpandSurfaceCircle(C3dView& view, float height, float width, int sides)
{
    return BuildBeside(
        view, height, width, sides, 6, false, [&](const CBeside& at, CQzlSector& made) {
            CQzlSections& level = view.GetLevel();
            const float su = at.m_look.m_uScale;
            const float sv = at.m_look.m_vScale;
            const CVector3& n = at.m_frame.m_normal;
            const CVector3& a = at.m_frame.m_up;
            const CVector3& b = at.m_frame.m_side;
            const float step = at.m_step;
            const float c = at.m_c;
            const float rw = std::sqrt(std::pow(width * 0.5f, 2.0f) / (1.0f - c * c));
            const float rh = std::sqrt(std::pow(height * 0.5f, 2.0f) / (1.0f - c * c));
            const CVector3 o = at.m_frame.m_middle - n * (c * rw);
            const CVector3 topApex = o + a * (c * rh);
            const CVector3 bottomApex = o - a * (c * rh);
            const auto point = [&](float lat, float lon) {
                return o + (n * std::cos(lon) + b * std::sin(lon)) * (rw * std::cos(lat) / c) +
                       a * (rh * std::sin(lat));
            };
            const auto vertex = [&level](const CVector3& p) {
                return level.AddVertexXYZ(p.x, p.y, p.z);
            };

            const int m = sides / 4;
            const float fw = width * su;
            for (int j = -m; j <= m; ++j) {
                const float lat0 = static_cast<float>(j) * step - step * 0.5f;
                const float lat1 = static_cast<float>(j) * step + step * 0.5f;
                for (int i = 0; i < sides; ++i) {
                    const float lon0 = static_cast<float>(i) * step - step * 0.5f;
                    const float lon1 = static_cast<float>(i) * step + step * 0.5f;
                    const CVector3 p1 = point(lat1, lon0);
                    const CVector3 p2 = point(lat1, lon1);
                    const CVector3 p3 = point(lat0, lon1);
                    const CVector3 p4 = point(lat0, lon0);
                    std::array<CQzlVertex, 4> v{NewCorner(0, at.m_light), NewCorner(0, at.m_light),
                                                NewCorner(0, at.m_light), NewCorner(0, at.m_light)};
                    v[0].m_u = v[3].m_u = static_cast<float>(i + 1) * fw;
                    v[1].m_u = v[2].m_u = static_cast<float>(i) * fw;
                    v[0].m_v = v[1].m_v = static_cast<float>(j + 1) * height * sv;
                    v[2].m_v = v[3].m_v = static_cast<float>(j) * height * sv;
                    // Each edge's u range is its own length in texture pixels, about the face's
                    // middle.
                    const float upper = (width - VectorLength(p1 - p2)) * su * 0.5f;
                    const float lower = (width - VectorLength(p4 - p3)) * su * 0.5f;
                    v[0].m_u -= upper;
                    v[1].m_u += upper;
                    v[2].m_u += lower;
                    v[3].m_u -= lower;

                    auto face = std::make_unique<CQzlSurface>(at.m_look, false, false);
                    if (j == m) {
                        v[0].m_u = (v[0].m_u + v[1].m_u) * 0.5f;
                        v[0].m_worldVertex = vertex(topApex);
                        face->m_vertices.push_back(v[0]);
                    } else {
                        v[0].m_worldVertex = vertex(p1);
                        v[1].m_worldVertex = vertex(p2);
                        face->m_vertices.push_back(v[0]);
                        face->m_vertices.push_back(v[1]);
                    }
                    if (j == -m) {
                        v[2].m_u = (v[2].m_u + v[3].m_u) * 0.5f;
                        v[2].m_worldVertex = vertex(bottomApex);
                        face->m_vertices.push_back(v[2]);
                    } else {
                        v[2].m_worldVertex = vertex(p3);
                        v[3].m_worldVertex = vertex(p4);
                        face->m_vertices.push_back(v[2]);
                        face->m_vertices.push_back(v[3]);
                    }
                    AppendFace(level, made, std::move(face));
                }
            }
        });
}
