#include "tools/BuilderSteps.h"

#include "engine/C3dView.h"
#include "engine/ThingModels.h"
#include "framework/Indices.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/ResourceLists.h"
#include "tools/FitThingOrientation.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

std::optional<CBuilderAxes> BuilderAxes(const C3dView& view)
{
    const CQzlSections& level = view.GetLevel();
    const CSelection& selection = view.m_selection;
    if (!InRange(level.m_surfaces, selection.m_surface) || selection.m_pickedNodes.size() < 2)
        return std::nullopt;
    CBuilderAxes axes;
    axes.g0 = selection.m_pickedNodes[0];
    axes.g1 = selection.m_pickedNodes[1];
    const float length = VectorLength(axes.g1 - axes.g0);
    if (!(length > 0.0f))
        return std::nullopt;
    axes.d = (axes.g1 - axes.g0) / length;
    axes.n = At(level.m_surfaces, selection.m_surface)->m_normal;
    return axes;
}

bool ExtrudeBy(C3dView& view, float depth, EExtrudeType type)
{
    CExtrudeParams params;
    params.m_depth = depth;
    params.m_type = type;
    return ExtrudeSurface(view, params);
}

int AddFramedThing(C3dView& view, const std::string& templateName, int sector,
                   const CVector3& start, const CVector3& end, const CVector3& facing,
                   const CVector3& up)
{
    CQzlSections& level = view.GetLevel();
    const std::array<float, 3> angles = FitThingOrientation(facing, up);
    auto thing = std::make_unique<CQzlThing>();
    thing->m_template = templateName;
    thing->m_name = templateName;
    thing->m_sector = sector;
    thing->m_position = start;
    thing->m_pitch = angles[0];
    thing->m_yaw = angles[1];
    thing->m_roll = angles[2];
    for (const CVector3& at : {start, end}) {
        CWorldVertex frame;
        frame.x = at.x;
        frame.y = at.y;
        frame.z = at.z;
        frame.extra[0] = angles[2];
        frame.extra[1] = angles[0];
        frame.extra[2] = angles[1];
        thing->m_frames.push_back(frame);
    }
    level.m_things.push_back(std::move(thing));
    const auto index = static_cast<std::int32_t>(level.m_things.size() - 1);
    view.m_selection.m_thing = index;
    BuildResourceLists(level, view.GetGame());
    if (view.GetGame().m_archive != nullptr) {
        const std::string colormap =
            level.m_colormaps.empty() ? std::string() : ToLowerAscii(level.m_colormaps.front());
        CreateThingModel(view, index, colormap, false);
    }
    return index;
}

void AddCogScriptName(CQzlSections& level, std::string_view script)
{
    const bool listed =
        std::any_of(level.m_cogScripts.begin(), level.m_cogScripts.end(),
                    [script](const std::string& s) { return EqualsNoCase(s, script); });
    if (!listed)
        level.m_cogScripts.emplace_back(script);
}
