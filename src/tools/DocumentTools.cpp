#include "tools/DocumentTools.h"

#include "edit/Link.h"
#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/RenderData.h"
#include "engine/SelectionTests.h"
#include "engine/Undo.h"
#include "framework/Indices.h"
#include "level/QzlAdjoin.h"
#include "level/QzlSections.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

bool CanSelectSound(const C3dView& view)
{
    return InRange(view.GetLevel().m_sectors, view.m_selection.m_sector);
}

bool SelectSound(C3dView& view, std::string_view name)
{
    if (!CanSelectSound(view))
        return false;
    CQzlSections& level = view.GetLevel();
    std::vector<std::string>& sounds = level.m_sounds;
    const auto found = std::find(sounds.begin(), sounds.end(), name);
    const auto index = static_cast<std::int32_t>(found - sounds.begin());
    if (found == sounds.end())
        sounds.emplace_back(name);

    const CQzlSector& current = *At(level.m_sectors, view.m_selection.m_sector);
    const float volume = current.m_soundVolume;
    const CVector3 centre = current.m_center;
    const std::vector<std::int32_t> visible = current.m_visible;
    At(level.m_sectors, view.m_selection.m_sector)->m_sound = index;
    for (std::size_t s = 0; s < level.m_sectors.size(); ++s) {
        if (!std::binary_search(visible.begin(), visible.end(), static_cast<std::int32_t>(s)))
            continue;
        CQzlSector& sector = *level.m_sectors[s];
        sector.m_sound = index;
        sector.m_soundVolume = volume / (VectorLength(sector.m_center - centre) + 1.0f);
    }
    view.GetHost().SetModifiedFlag(true);
    return true;
}

bool RunSelectSoundCommand(C3dView& view)
{
    if (!CanSelectSound(view))
        return false;
    CWaitCursorScope wait(view.GetHost());
    const std::optional<std::string> name = view.GetHost().PickSound("", kPickToAdd);
    if (!name)
        return false;
    return RunUndoable(view, [&] { return SelectSound(view, *name); });
}

bool CanRestoreSurface(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    return InRange(level.m_sectors, view.m_selection.m_sector) &&
           InRange(level.m_surfaces, view.m_selection.m_surface) && SurfaceHasAdjoin(view);
}

bool RestoreSurface(C3dView& view)
{
    if (!CanRestoreSurface(view))
        return false;
    CQzlSections& level = view.GetLevel();
    CQzlSurface& surface = *At(level.m_surfaces, view.m_selection.m_surface);
    surface.m_material = -1;
    surface.m_surfaceFlags = 0;
    surface.m_faceFlags = 0;
    surface.m_geo = 0;
    surface.m_light = 3;
    surface.m_tex = 1;
    surface.m_extraLight = 0.0f;
    if (InRange(level.m_adjoins, surface.m_adjoin))
        At(level.m_adjoins, surface.m_adjoin)->m_flags = 7;
    RebuildSector(view, view.m_selection.m_sector);
    CopySurfaceToTwin(view);
    return true;
}

bool RunRestoreSurfaceCommand(C3dView& view)
{
    return RunUndoable(view, [&] { return RestoreSurface(view); });
}

bool RunUpdateVerticesCommand(C3dView& view)
{
    return RunUndoable(view, [&] {
        UpdateSurfaceVertices(view);
        RebuildSector(view, view.m_selection.m_sector);
        return true;
    });
}
