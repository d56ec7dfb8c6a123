#include "engine/RenderData.h"

#include "engine/AssetSources.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/EngineHost.h"
#include "engine/GridPoints.h"
#include "engine/MarkerBuilders.h"
#include "engine/TextureCache.h"
#include "engine/ThingModels.h"
#include "engine/Visibility.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "framework/Settings.h"
#include "framework/StringUtil.h"
#include "geometry/Predicates.h"
#include "geometry/SectorGrid.h"
#include "level/DeleteRenumber.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/QzlWriter.h"
#include "level/VertexUses.h"
#include "math/LitVertex.h"
#include "math/Rounding.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

// Box that any point grows.
constexpr CBoundingBox kEmptyBox{{kFarDistance, kFarDistance, kFarDistance},
                                 {-kFarDistance, -kFarDistance, -kFarDistance}};

void GrowBox(CBoundingBox& box, const CVector3& p)
{
    box.min = VectorMin(box.min, p);
    box.max = VectorMax(box.max, p);
}

void GrowBox(CBoundingBox& box, const CBoundingBox& other)
{
    box.min = VectorMin(box.min, other.min);
    box.max = VectorMax(box.max, other.max);
}

CVector3 CrossProduct(const CVector3& a, const CVector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A light channel as a byte: channel x scale x 255, truncated; below 0 (or not a number) is 0.
std::uint32_t ChannelByte(float channel, float scale)
{
    const float value = channel * scale * 255.0f;
    if (!(value > 0.0f))
        return 0u;
    return std::min(static_cast<std::uint32_t>(value), 255u);
}

// Fills the surface's lit vertices from its corners: position, colour (VertexColor, also as the
// specular colour), u and v over the texture size, in reverse corner order; grows the surface box
// by each point. With round, each world vertex is first rounded to 5 decimals in the level and
// its use count goes up by 1.
void FillRenderVertices(C3dView& view, int sectorIndex, int surfaceIndex, bool round)
{
    CQzlSections& level = view.GetLevel();
    CQzlSurface& surface = *At(level.m_surfaces, surfaceIndex);
    surface.m_renderVertices.clear();
    surface.m_renderVertices.reserve(surface.m_vertices.size());
    for (std::size_t j = 0; j < surface.m_vertices.size(); ++j) {
        const CQzlVertex& corner = surface.m_vertices[j];
        if (!InRange(level.m_worldVertices, corner.m_worldVertex))
            continue;
        CWorldVertex& w = At(level.m_worldVertices, corner.m_worldVertex);
        if (round) {
            w.x = RoundToStep(w.x, 100000.0f);
            w.y = RoundToStep(w.y, 100000.0f);
            w.z = RoundToStep(w.z, 100000.0f);
            if (InRange(level.m_useCounts, corner.m_worldVertex))
                ++At(level.m_useCounts, corner.m_worldVertex);
        }
        const CVector3 p{w.x, w.y, w.z};
        const std::uint32_t color =
            VertexColor(view, sectorIndex, surfaceIndex, static_cast<int>(j));
        surface.m_renderVertices.push_back(MakeLitVertex(p, color, color,
                                                         corner.m_u / surface.m_textureWidth,
                                                         corner.m_v / surface.m_textureHeight));
        GrowBox(surface.m_box, p);
    }
    // Lit vertices run against the corner order.
    std::reverse(surface.m_renderVertices.begin(), surface.m_renderVertices.end());
}

// The colour of the models of the things in sector.
std::uint32_t ThingColor(const C3dView& view, const CQzlSector& sector, const CQzlThing& thing)
{
    if (EqualsNoCase(thing.m_name, "ghost"))
        return ColorToVertex(view.GetSettings().m_colorGhost);
    if (view.GetDocument().m_lightMode != 0) {
        const std::uint32_t grey =
            ChannelByte(std::min(sector.m_ambientLight + sector.m_extraLight, 1.0f), 1.0f);
        return 0xFF000000u | (grey << 16) | (grey << 8) | grey;
    }
    return 0xFFFFFFFFu;
}

void ColorModel(C3doModel& model, std::uint32_t color)
{
    for (const auto& mesh : model.m_meshes) {
        if (!mesh)
            continue;
        for (C3doFace& face : mesh->m_faces)
            for (D3DLVERTEX& v : face.m_vertices)
                v.color = color;
    }
}

// The values of sector, its surfaces, their corners' world vertices and their adjoins that a
// sector build may write and the level files store, as bit patterns.
std::vector<std::uint32_t> StoredSectorValues(const CQzlSections& level, int sectorIndex)
{
    std::vector<std::uint32_t> values;
    const auto add = [&values](std::initializer_list<float> floats) {
        for (const float f : floats)
            values.push_back(std::bit_cast<std::uint32_t>(f));
    };
    const auto addVector = [&add](const CVector3& v) { add({v.x, v.y, v.z}); };
    const CQzlSector& sector = *At(level.m_sectors, sectorIndex);
    addVector(sector.m_boundBox.min);
    addVector(sector.m_boundBox.max);
    addVector(sector.m_center);
    add({sector.m_radius});
    for (const std::int32_t surfaceIndex : sector.m_surfaces) {
        if (!InRange(level.m_surfaces, surfaceIndex))
            continue;
        const CQzlSurface& surface = *At(level.m_surfaces, surfaceIndex);
        addVector(surface.m_normal);
        for (const CQzlVertex& corner : surface.m_vertices)
            if (InRange(level.m_worldVertices, corner.m_worldVertex))
                addVector(WorldPosition(level, corner.m_worldVertex));
        if (InRange(level.m_adjoins, surface.m_adjoin))
            add({At(level.m_adjoins, surface.m_adjoin)->m_dist});
    }
    return values;
}

}  // namespace

void MarkSectorChanged(CQzlSector& sector)
{
    // One counter for every level and engine: a stamp names one state of one sector, so a
    // sector replaced by another (undo, delete) never matches a buffer made for the old one.
    static std::atomic<std::uint64_t> next{0};
    sector.m_renderVersion = ++next;
}

float SnapValue(const C3dView& view, float v)
{
    const float g = view.GetSettings().m_grid;
    if (!(g > 0.0f))
        return v;
    if (v < 0.0f)
        v -= g / 2.0f;
    else if (v > 0.0f)
        v += g / 2.0f;
    const float r = std::trunc(v / g) * g;
    return std::fabs(r) < 0.0001f ? 0.0f : r;
}

void SnapPoint(const C3dView& view, CVector3& out, float x, float y, float z)
{
    out = {SnapValue(view, x), SnapValue(view, y), SnapValue(view, z)};
}

float SurfaceArea(const C3dView& view, int surfaceIndex)
{
    const CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_surfaces, surfaceIndex))
        return 0.0f;
    const CQzlSurface& surface = *At(level.m_surfaces, surfaceIndex);
    const std::size_t n = surface.m_vertices.size();
    CVector3 sum;
    for (std::size_t i = 0; i < n; ++i) {
        const int a = surface.m_vertices[i].m_worldVertex;
        const int b = surface.m_vertices[(i + 1) % n].m_worldVertex;
        if (!InRange(level.m_worldVertices, a) || !InRange(level.m_worldVertices, b))
            continue;
        sum = sum + CrossProduct(WorldPosition(level, a), WorldPosition(level, b));
    }
    const CVector3& normal = surface.m_normal;
    return std::fabs(sum.x * normal.x + sum.y * normal.y + sum.z * normal.z) * 0.5f;
}

std::uint32_t VertexColor(const C3dView& view, int sectorIndex, int surfaceIndex, int cornerIndex)
{
    const CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_sectors, sectorIndex) || !InRange(level.m_surfaces, surfaceIndex))
        return 0xFFFFFFFFu;
    const CQzlSector& sector = *At(level.m_sectors, sectorIndex);
    const CQzlSurface& surface = *At(level.m_surfaces, surfaceIndex);
    if (!InRange(surface.m_vertices, cornerIndex))
        return 0xFFFFFFFFu;
    const CQzlVertex& corner = At(surface.m_vertices, cornerIndex);

    float rgb[3];
    const float intensity = corner.m_intensity[0];
    for (int c = 0; c < 3; ++c) {
        rgb[c] = intensity;
        // The sector's tint shows only in corners at full light.
        if (intensity == 1.0f && sector.m_tint[c] > 0.0f)
            rgb[c] = sector.m_tint[c] * 1.9f;
    }
    if (view.GetSettings().m_product == 1) {
        for (int c = 0; c < 3; ++c)
            rgb[c] = corner.m_intensity[c + 1];
    }
    const float base = surface.m_extraLight + sector.m_extraLight;
    for (float& channel : rgb)
        channel = std::min(base + channel, 1.0f);

    if (view.GetDocument().m_lightMode == 0 || surface.m_light == 0) {
        for (float& channel : rgb)
            channel = 1.0f;
    } else if (surface.m_light == 1) {
        for (float& channel : rgb)
            channel = 0.0f;
    }

    const bool translucent = (surface.m_faceFlags & 2u) != 0 && surface.m_adjoin > -1;
    const std::uint32_t alpha = translucent ? 0x7Fu : 0xFFu;
    const float scale = translucent ? 0.3f : 1.0f;
    return (alpha << 24) | (ChannelByte(rgb[0], scale) << 16) | (ChannelByte(rgb[1], scale) << 8) |
           ChannelByte(rgb[2], scale);
}

void BuildSectorSurfaces(C3dView& view, int sectorIndex)
{
    CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_sectors, sectorIndex))
        return;
    CQzlSector& sector = *At(level.m_sectors, sectorIndex);
    MarkSectorChanged(sector);
    const std::string colorMap = InRange(level.m_colormaps, sector.m_colormap)
                                     ? At(level.m_colormaps, sector.m_colormap)
                                     : std::string();
    const CGameResources& game = view.GetGame();
    const CAssetSources sources{&game, &level.m_levelFiles};
    // Textures come from the game's archive; without it surfaces keep no texture.
    const bool loadTextures = game.m_archive != nullptr && view.m_textureCache != nullptr;

    sector.m_boundBox = kEmptyBox;
    for (const std::int32_t surfaceIndex : sector.m_surfaces) {
        if (!InRange(level.m_surfaces, surfaceIndex))
            continue;
        CQzlSurface& surface = *At(level.m_surfaces, surfaceIndex);
        surface.m_xTile = 1.0f;
        surface.m_yTile = 1.0f;
        surface.m_textureWidth = kNoTextureSize;
        surface.m_textureHeight = kNoTextureSize;
        CalcSurfacePlane(level, surface);
        surface.m_box = kEmptyBox;
        surface.m_texture = nullptr;
        if (InRange(level.m_materials, surface.m_material)) {
            const CQzlMaterial& material = *At(level.m_materials, surface.m_material);
            surface.m_xTile = material.m_xTile;
            surface.m_yTile = material.m_yTile;
            if (loadTextures) {
                CTexture* texture =
                    view.m_textureCache->GetTexture(sources, material.m_name, colorMap);
                if (texture && texture->m_width > 0 && texture->m_height > 0) {
                    surface.m_texture = texture;
                    surface.m_textureWidth = static_cast<float>(texture->m_width);
                    surface.m_textureHeight = static_cast<float>(texture->m_height);
                }
            }
        }
        FillRenderVertices(view, sectorIndex, surfaceIndex, true);
        GrowBox(sector.m_boundBox, surface.m_box);
    }

    const CBoundingBox& box = sector.m_boundBox;
    sector.m_center = {(box.min.x + box.max.x) / 2.0f, (box.min.y + box.max.y) / 2.0f,
                       (box.min.z + box.max.z) / 2.0f};
    sector.m_radius = BoxRadius(box);

    for (const std::int32_t surfaceIndex : sector.m_surfaces) {
        if (!InRange(level.m_surfaces, surfaceIndex))
            continue;
        const std::int32_t adjoin = At(level.m_surfaces, surfaceIndex)->m_adjoin;
        if (!InRange(level.m_adjoins, adjoin))
            continue;
        CVector3 foot;
        float distance = 0.0f;
        ProjectPointOnSurfacePlane(level, surfaceIndex, sector.m_center, foot, distance);
        At(level.m_adjoins, adjoin)->m_dist = distance;
    }
}

void RebuildAll(C3dView& view, bool resetCamera, ERebuildAll kind)
{
    CQzlSections& level = view.GetLevel();
    CEngineHost& host = view.GetHost();
    host.BeginWaitCursor();
    host.BeginProgress("Parsing Sector Definitions...", static_cast<int>(level.m_sectors.size()));

    // Every thing model, texture and marker goes; no record may keep pointing at them (nor at
    // those of another engine on the same level: the rebuild gives every record its own anew).
    view.ClearRenderObjects();
    for (auto& thing : level.m_things) {
        thing->m_model = nullptr;
        thing->m_modelReady = 0;
    }
    for (auto& surface : level.m_surfaces)
        surface->m_texture = nullptr;

    level.m_useCounts.assign(level.m_worldVertices.size(), 0);
    if (kind == ERebuildAll::Load) {
        // A material index beyond the list stays as the file has it, for Check to report and
        // Clean Up to repair; compacting only shortens the list, so it stays beyond.
        std::vector<std::pair<std::size_t, std::int32_t>> damaged;
        for (std::size_t s = 0; s < level.m_surfaces.size(); ++s) {
            const std::int32_t m = level.m_surfaces[s]->m_material;
            if (m != -1 && !InRange(level.m_materials, m))
                damaged.emplace_back(s, m);
        }
        CompactMaterials(level);
        for (const auto& [s, m] : damaged)
            level.m_surfaces[s]->m_material = m;
    }

    view.m_levelBox = kEmptyBox;
    for (std::size_t i = 0; i < level.m_sectors.size(); ++i) {
        level.m_sectors[i]->m_number = static_cast<std::int32_t>(i);
        BuildSectorSurfaces(view, static_cast<int>(i));
        host.StepProgress();
        GrowBox(view.m_levelBox, level.m_sectors[i]->m_boundBox);
    }

    if (kind != ERebuildAll::Resources)
        ProcessSectors(view);

    const std::string colorMap =
        level.m_colormaps.empty() ? std::string() : ToUpperAscii(level.m_colormaps.front());
    host.EndProgress();
    host.BeginProgress("Parsing 3DO Definitions...", static_cast<int>(level.m_things.size()));
    bool placed = false;
    // The sectors' boxes are those just built: one grid finds every thing's sector.
    const CSectorGrid grid(level);
    for (std::size_t i = 0; i < level.m_things.size(); ++i) {
        level.m_things[i]->m_model = nullptr;
        if (CreateThingModel(view, static_cast<int>(i), colorMap, resetCamera, &grid) != 0)
            placed = true;
        host.StepProgress();
    }

    if (resetCamera) {
        view.m_drag.m_scrollH = 0;
        view.m_drag.m_scrollV = 0;
        if (!placed) {
            const CBoundingBox& box = view.m_levelBox;
            view.m_camera.m_position = {(box.min.x + box.max.x) / 2.0f,
                                        (box.min.y + box.max.y) / 2.0f,
                                        (box.min.z + box.max.z) / 2.0f};
            view.m_camera.m_forwardAxis = {0.0f, 0.0f, 1.0f};
        }
        view.m_camera.m_upAxis = {0.0f, 1.0f, 0.0f};
        // The view matrix follows the camera fields, also when the player start placed them.
        const CVector3 forward = view.m_camera.m_forwardAxis;
        const CVector3 position = view.m_camera.m_position;
        SetCameraAxes(view, forward.x, forward.y, forward.z, 0.0f, 1.0f, 0.0f);
        SetCameraPosition(view, position.x, position.y, position.z);
        view.m_camera.m_savedPosition = view.m_camera.m_position;
        view.m_camera.m_savedForwardAxis = view.m_camera.m_forwardAxis;
    }
    view.m_camera.m_focusPoint = view.m_camera.m_position;
    view.m_camera.m_focusPoint2 = view.m_camera.m_position;

    // The visibility pass's "Sector %d processed..." notes belong to this rebuild's progress;
    // once it is over the first pane shows what it shows between messages (the device's name).
    host.SetStatusText("");
    host.EndProgress();
    host.EndWaitCursor();
}

void RebuildSector(C3dView& view, int sectorIndex, ERebuildCause cause)
{
    CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_sectors, sectorIndex))
        return;
    view.m_markers.clear();
    const std::vector<std::uint32_t> before = cause == ERebuildCause::View
                                                  ? StoredSectorValues(level, sectorIndex)
                                                  : std::vector<std::uint32_t>();

    // The sector's corners come off the counts and the build adds them back. Counts that do not
    // match the world vertices (a level not built yet) are counted afresh instead.
    const bool countsValid = level.m_useCounts.size() == level.m_worldVertices.size();
    if (countsValid) {
        for (const std::int32_t surfaceIndex : At(level.m_sectors, sectorIndex)->m_surfaces) {
            if (!InRange(level.m_surfaces, surfaceIndex))
                continue;
            for (const CQzlVertex& corner : At(level.m_surfaces, surfaceIndex)->m_vertices)
                if (InRange(level.m_useCounts, corner.m_worldVertex))
                    --At(level.m_useCounts, corner.m_worldVertex);
        }
    }
    BuildSectorSurfaces(view, sectorIndex);
    if (!countsValid)
        CountVertexUses(level);

    view.m_selection.m_pickedNodes.clear();

    const CDocumentState& document = view.GetDocument();
    const bool surfaceSelected = view.m_selection.m_surface >= 0;
    if (document.m_gridOn == 0 && document.m_sectorMode == 0 && surfaceSelected)
        BuildSectorVertexMarkers(view);
    else if (document.m_gridOn != 0 && document.m_sectorMode == 0 && surfaceSelected)
        RebuildSectorGridPoints(view);
    else if (document.m_gridOn != 0 && document.m_sectorMode != 0)
        BuildGridPoints(view);

    RefreshSector(view, sectorIndex);
    view.GetHost().RequestFrame(true);
    if (cause == ERebuildCause::Edit || StoredSectorValues(level, sectorIndex) != before)
        view.GetHost().SetModifiedFlag(true);
}

void RebuildSectors(C3dView& view, std::span<const int> sectors)
{
    const int current = view.m_selection.m_sector;
    for (const int sector : sectors)
        if (sector != current)
            RebuildSector(view, sector);
    RebuildSector(view, current);
}

void RefreshSector(C3dView& view, int sectorIndex)
{
    CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_sectors, sectorIndex))
        return;
    CQzlSector& sector = *At(level.m_sectors, sectorIndex);
    MarkSectorChanged(sector);
    const bool drawAdjoins = view.GetSettings().m_adjoin != 0;
    for (const std::int32_t surfaceIndex : sector.m_surfaces) {
        if (!InRange(level.m_surfaces, surfaceIndex))
            continue;
        CQzlSurface& surface = *At(level.m_surfaces, surfaceIndex);
        if (!drawAdjoins && surface.m_adjoin > -1 && (surface.m_faceFlags & 2u) == 0)
            continue;
        const std::size_t count = surface.m_vertices.size();
        if (surface.m_renderVertices.size() != count)
            continue;
        for (std::size_t j = 0; j < count; ++j) {
            const std::uint32_t color =
                VertexColor(view, sectorIndex, surfaceIndex, static_cast<int>(j));
            D3DLVERTEX& v = surface.m_renderVertices[count - 1 - j];
            v.color = color;
            v.specular = color;
        }
    }
    for (const auto& thing : level.m_things) {
        if (thing->m_sector != sectorIndex || thing->m_model == nullptr)
            continue;
        ColorModel(*thing->m_model, ThingColor(view, sector, *thing));
    }
}

void RefreshAllSectors(C3dView& view)
{
    for (std::size_t i = 0; i < view.GetLevel().m_sectors.size(); ++i)
        RefreshSector(view, static_cast<int>(i));
    view.m_camera.m_jump = 1;
    view.GetHost().RequestFrame(true);
    view.m_camera.m_jump = 0;
}

void RebuildSurfaceVertices(C3dView& view, int sectorIndex, int surfaceIndex, bool render)
{
    CQzlSections& level = view.GetLevel();
    if (!InRange(level.m_surfaces, surfaceIndex))
        return;
    FillRenderVertices(view, sectorIndex, surfaceIndex, false);
    if (InRange(level.m_sectors, sectorIndex))
        MarkSectorChanged(*At(level.m_sectors, sectorIndex));
    if (render) {
        view.GetHost().RequestFrame(true);
        view.GetHost().SetModifiedFlag(true);
    }
}

void UpdateSurfaceVertices(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    CEngineHost& host = view.GetHost();
    host.BeginWaitCursor();
    host.BeginProgress("Updating Surface Vertices...",
                       static_cast<int>(level.m_worldVertices.size()));

    for (std::size_t wi = 0; wi < level.m_worldVertices.size(); ++wi) {
        host.StepProgress();
        const CWorldVertex& wv = level.m_worldVertices[wi];
        const CVector3 w{wv.x, wv.y, wv.z};
        for (const auto& sector : level.m_sectors) {
            if (!PointInBox(sector->m_boundBox, w))
                continue;
            for (const std::int32_t surfaceIndex : sector->m_surfaces) {
                if (!InRange(level.m_surfaces, surfaceIndex))
                    continue;
                CQzlSurface& surface = *At(level.m_surfaces, surfaceIndex);
                if (!PointInBox(surface.m_box, w))
                    continue;
                const std::size_t count = surface.m_vertices.size();
                for (std::size_t k = 0; k < count; ++k) {
                    const CQzlVertex& a = surface.m_vertices[k];
                    const CQzlVertex& b = surface.m_vertices[(k + 1) % count];
                    if (!InRange(level.m_worldVertices, a.m_worldVertex) ||
                        !InRange(level.m_worldVertices, b.m_worldVertex))
                        continue;
                    float t = 0.0f;
                    if (!PointOnLineParam(WorldPosition(level, a.m_worldVertex),
                                          WorldPosition(level, b.m_worldVertex), w, t, 0.0001f) ||
                        !(t > 0.0001f && t < 0.9999f))
                        continue;
                    CQzlVertex corner;
                    corner.m_worldVertex = static_cast<std::int32_t>(wi);
                    corner.m_u = a.m_u + (b.m_u - a.m_u) * t;
                    corner.m_v = a.m_v + (b.m_v - a.m_v) * t;
                    for (int c = 0; c < 4; ++c)
                        corner.m_intensity[c] =
                            a.m_intensity[c] + (b.m_intensity[c] - a.m_intensity[c]) * t;
                    int position = 0;
                    if (FindTextureVertex(level, corner.m_u, corner.m_v, position) == 0) {
                        CWorldVertex entry;
                        entry.extra[3] = corner.m_u;
                        entry.extra[4] = corner.m_v;
                        level.m_textureVertices.insert(level.m_textureVertices.begin() +
                                                           static_cast<std::ptrdiff_t>(position),
                                                       entry);
                    }
                    corner.m_textureVertex = position;
                    surface.m_vertices.insert(surface.m_vertices.begin() +
                                                  static_cast<std::ptrdiff_t>((k + 1) % count),
                                              std::move(corner));
                    break;
                }
            }
        }
    }

    host.EndProgress();
    host.RequestFrame(true);
    RebuildAll(view, false);
    view.m_selection.m_surface = -1;
    host.EndWaitCursor();
}
