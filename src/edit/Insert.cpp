#include "edit/Insert.h"

#include "edit/NewThing.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/Undo.h"
#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/ResourceLists.h"
#include "math/Rounding.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace {

// A surface takes a new corner only below this many.
constexpr std::size_t kMostCornersToInsertAt = 23;
// How far an overlay stands off its surface.
constexpr float kOverlayLift = 0.1f;

// Appends v as a world vertex of its own with use count 1; its index.
std::int32_t AppendWorldVertex(CQzlSections& level, const CWorldVertex& v)
{
    level.m_worldVertices.push_back(v);
    level.m_useCounts.push_back(1);
    return static_cast<std::int32_t>(level.m_worldVertices.size() - 1);
}

bool CornersNameWorldVertices(const CQzlSections& level, const CQzlSurface& surface)
{
    for (const CQzlVertex& corner : surface.m_vertices)
        if (!InRange(level.m_worldVertices, corner.m_worldVertex))
            return false;
    return true;
}

}  // namespace

bool InsertVertex(C3dView& view)
{
    CWaitCursorScope wait(view.GetHost());
    CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    if (!InRange(level.m_surfaces, selection.m_vertexSurface))
        return false;
    CQzlSurface& surface = *At(level.m_surfaces, selection.m_vertexSurface);
    if (!InRange(surface.m_vertices, selection.m_vertex))
        return false;
    const std::size_t n = surface.m_vertices.size();
    if (n >= kMostCornersToInsertAt) {
        view.GetHost().ShowMessage(kInsertVertexRefused);
        return false;
    }
    const auto c = static_cast<std::size_t>(selection.m_vertex);
    const std::size_t next = (c + 1) % n;
    const CQzlVertex& a = surface.m_vertices[c];
    const CQzlVertex& b = surface.m_vertices[next];
    if (!InRange(level.m_worldVertices, a.m_worldVertex) ||
        !InRange(level.m_worldVertices, b.m_worldVertex))
        return false;

    const CWorldVertex& wa = At(level.m_worldVertices, a.m_worldVertex);
    const CWorldVertex& wb = At(level.m_worldVertices, b.m_worldVertex);
    CWorldVertex middle = wa;
    middle.x = (wa.x + wb.x) * 0.5f;
    middle.y = (wa.y + wb.y) * 0.5f;
    middle.z = (wa.z + wb.z) * 0.5f;

    CQzlVertex corner;
    corner.m_textureVertex = a.m_textureVertex;
    corner.m_u = (a.m_u + b.m_u) * 0.5f;
    corner.m_v = (a.m_v + b.m_v) * 0.5f;
    for (std::size_t k = 0; k < 4; ++k)
        corner.m_intensity[k] = (a.m_intensity[k] + b.m_intensity[k]) * 0.5f;
    corner.m_marked = 0;
    corner.m_spareIndex = -1;
    corner.m_worldVertex = AppendWorldVertex(level, middle);
    surface.m_vertices.insert(surface.m_vertices.begin() + static_cast<std::ptrdiff_t>(next),
                              std::move(corner));
    if (static_cast<std::int32_t>(c) < surface.m_startVertex)
        ++surface.m_startVertex;

    RebuildSector(view, selection.m_sector);
    return true;
}

bool InsertOverlaySurface(C3dView& view)
{
    CWaitCursorScope wait(view.GetHost());
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    if (!InRange(level.m_surfaces, selection.m_surface) ||
        !InRange(level.m_sectors, selection.m_sector))
        return false;
    const std::int32_t current = At(level.m_surfaces, selection.m_surface)->m_material;
    const std::string material = InRange(level.m_materials, current)
                                     ? ToLowerAscii(At(level.m_materials, current)->m_name)
                                     : std::string();
    if (!view.GetHost().PickMaterial(material, kPickInLevel))
        return false;
    // The picker may have changed the level's materials; the surfaces stay where they were.
    const CQzlSurface& source = *At(level.m_surfaces, selection.m_surface);
    if (!CornersNameWorldVertices(level, source))
        return false;

    auto overlay = std::make_unique<CQzlSurface>();
    if (!material.empty()) {
        for (std::size_t m = 0; m < level.m_materials.size(); ++m) {
            const CQzlMaterial& candidate = *level.m_materials[m];
            if (EqualsNoCase(candidate.m_name, material)) {
                overlay->m_material = static_cast<std::int32_t>(m);
                overlay->m_xTile = candidate.m_xTile;
                overlay->m_yTile = candidate.m_yTile;
                break;
            }
        }
    }
    const CVector3 lift = source.m_normal * kOverlayLift;
    for (const CQzlVertex& from : source.m_vertices) {
        CWorldVertex v = At(level.m_worldVertices, from.m_worldVertex);
        v.x += lift.x;
        v.y += lift.y;
        v.z += lift.z;
        CQzlVertex corner;
        for (std::size_t k = 0; k < 4; ++k)
            corner.m_intensity[k] = from.m_intensity[k];
        corner.m_u = 0.0f;
        corner.m_v = 0.0f;
        corner.m_worldVertex = AppendWorldVertex(level, v);
        overlay->m_vertices.push_back(std::move(corner));
    }
    overlay->m_normal = source.m_normal;
    overlay->m_surfaceFlags = source.m_surfaceFlags;
    overlay->m_faceFlags = source.m_faceFlags;
    overlay->m_tex = source.m_tex;
    overlay->m_geo = source.m_geo;
    overlay->m_light = source.m_light;
    overlay->m_extraLight = source.m_extraLight;

    level.m_surfaces.push_back(std::move(overlay));
    const auto index = static_cast<std::int32_t>(level.m_surfaces.size() - 1);
    At(level.m_sectors, selection.m_sector)->m_surfaces.push_back(index);
    selection.m_surface = index;
    RebuildSector(view, selection.m_sector);
    return true;
}

bool InsertThing(C3dView& view)
{
    CWaitCursorScope wait(view.GetHost());
    CQzlSections& level = view.GetLevel();
    CSelection& selection = view.m_selection;
    if (!InRange(level.m_sectors, selection.m_sector))
        return false;
    const bool thingCurrent = InRange(level.m_things, selection.m_thing);
    const std::string proposed =
        thingCurrent ? At(level.m_things, selection.m_thing)->m_template : std::string();
    const std::optional<CTemplateChoice> choice =
        view.GetHost().PickTemplate(proposed, thingCurrent ? kPickInLevel : kPickToAdd);
    if (!choice || choice->m_name.empty())
        return false;

    auto thing = std::make_unique<CQzlThing>();
    thing->m_template = ToLowerAscii(choice->m_name);
    thing->m_name = thing->m_template;
    thing->m_sector = selection.m_sector;
    const CVector3& focus = view.m_camera.m_focusPoint;
    const float height = choice->m_extents.y;
    thing->m_position = {RoundToStep(focus.x, 100.0f),
                         RoundToStep(focus.y - 0.15f + 0.75f * height, 100.0f),
                         RoundToStep(focus.z, 100.0f)};
    level.m_things.push_back(std::move(thing));
    const auto index = static_cast<std::int32_t>(level.m_things.size() - 1);
    selection.m_thing = index;

    BuildResourceLists(level, view.GetGame());
    ShowNewThing(view, index);
    return true;
}

bool CanInsert(const C3dView& view)
{
    const CSelection& selection = view.m_selection;
    return selection.m_sector >= 0 || selection.m_surface >= 0 || selection.m_thing >= 0;
}

bool RunInsertCommand(C3dView& view)
{
    if (!CanInsert(view))
        return false;
    const CSelection& selection = view.m_selection;
    if (selection.m_vertex >= 0)
        return RunUndoable(view, [&view] { return InsertVertex(view); });
    if (selection.m_surface >= 0)
        return RunUndoable(view, [&view] { return InsertOverlaySurface(view); });
    if (selection.m_sector >= 0)
        return RunUndoable(view, [&view] { return InsertThing(view); });
    return false;
}
