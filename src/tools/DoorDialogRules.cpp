#include "tools/DoorDialogRules.h"

#include "level/QzlTemplate.h"

#include <algorithm>

namespace {

// Door models that only go with doors: frames, fittings, switches and the pieces a broken door
// leaves.
constexpr const char* kDoorExclusionList[] = {
    "doorframe",   "doorway",    "doorjamb",  "doorsill",  "doorstep",   "doormat",
    "doorknob",    "doorhandle", "doorhinge", "doorlock",  "doorbolt",   "doorchain",
    "doorbell",    "doorstop",   "doorsign",  "doorplate", "doorlamp",   "doorlight",
    "doorswitch",  "doorbutton", "doorpanel", "doorshard", "+doorchunk", "+doordebris",
    "+doorsparks", "+doorsmoke",
};
static_assert(std::size(kDoorExclusionList) == 26);

// The elevator models that are no elevators.
constexpr std::string_view kElevatorExclusion = "switch";

bool Holds(std::string_view name, std::string_view part)
{
    return name.find(part) != std::string_view::npos;
}

bool ModelHasSize(float x, float y, float z)
{
    return x > 0.0f && y > 0.0f && z > 0.0f;
}

}  // namespace

std::span<const char* const> DoorExclusions()
{
    return kDoorExclusionList;
}

bool IsDoorTemplateName(std::string_view name)
{
    if (!Holds(name, "door") && !name.starts_with("14d"))
        return false;
    return std::none_of(std::begin(kDoorExclusionList), std::end(kDoorExclusionList),
                        [name](const char* excluded) { return name == excluded; });
}

bool IsElevatorTemplateName(std::string_view name)
{
    return (Holds(name, "elev") || Holds(name, "lift")) && !Holds(name, kElevatorExclusion);
}

std::vector<int> OfferedTemplates(const std::vector<std::unique_ptr<CQzlTemplate>>& templates,
                                  bool (*isOffered)(std::string_view name))
{
    std::vector<int> offered;
    for (std::size_t i = 0; i < templates.size(); ++i)
        if (templates[i] != nullptr && isOffered(templates[i]->m_name))
            offered.push_back(static_cast<int>(i));
    return offered;
}

std::string TemplatePreviewModel(std::string_view params)
{
    constexpr std::string_view key = "model3d=";
    const std::size_t at = params.find(key);
    if (at == std::string_view::npos)
        return std::string(params);
    const std::string_view value = params.substr(at + key.size());
    return std::string(value.substr(0, value.find_first_of(" \t")));
}

CDoorDialogEnables DoorDialogEnables(const CDoorDialogValues& values)
{
    CDoorDialogEnables e;
    e.m_frontDepth = values.m_frontSunken;
    e.m_connect = values.m_backSunken;
    e.m_backDepth = values.m_backSunken && !values.m_connect;
    e.m_ok = ModelHasSize(values.m_x, values.m_y, values.m_z);
    return e;
}

CDoorParams DoorParamsFromDialog(const CDoorDialogValues& values)
{
    CDoorParams p;
    p.m_template = values.m_template;
    p.m_width = values.m_x;
    p.m_height = values.m_y;
    p.m_thickness = values.m_z;
    p.m_frontDepth = values.m_frontSunken ? values.m_frontDepth : 0.0f;
    p.m_backDepth = values.m_backSunken ? values.m_backDepth : 0.0f;
    p.m_connect = values.m_backSunken && values.m_connect;
    p.m_direction = values.m_direction;
    return p;
}

CElevatorDialogEnables ElevatorDialogEnables(const CElevatorDialogValues& values)
{
    CElevatorDialogEnables e;
    e.m_shaftHeight = !values.m_connect;
    e.m_ok = ModelHasSize(values.m_x, values.m_y, values.m_z);
    return e;
}

CElevatorParams ElevatorParamsFromDialog(const CElevatorDialogValues& values)
{
    CElevatorParams p;
    p.m_template = values.m_template;
    p.m_width = values.m_x;
    p.m_height = values.m_y;
    p.m_depth = values.m_z;
    p.m_shaftHeight = values.m_shaftHeight;
    p.m_subShaftHeight = values.m_subShaftHeight;
    p.m_up = values.m_up;
    p.m_connect = values.m_connect;
    return p;
}
