#include "tools/ConveyorBelt.h"

#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/EngineHost.h"
#include "framework/CFormat.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "level/QzlCog.h"
#include "level/QzlSections.h"
#include "tools/BuilderSteps.h"
#include "tools/CreateMenu.h"

#include <memory>

namespace {

constexpr float kCoincident = 0.0001f;
constexpr int kTrailingValues = 7;

}  // namespace

std::optional<std::vector<std::string>> ConveyorCogValues(const CVector3& p0, const CVector3& p1,
                                                          int surface)
{
    const CVector3 delta = p1 - p0;
    const float length = VectorLength(delta);
    if (!(length >= kCoincident))
        return std::nullopt;
    const CVector3 d = delta / length;
    std::vector<std::string> values;
    values.push_back(FormatC("(%.1f/%.1f/%.1f)", static_cast<double>(d.x), static_cast<double>(d.z),
                             static_cast<double>(d.y)));
    values.push_back(FormatC("%.0f", 1.0));
    values.push_back(FormatC("%d", surface));
    values.insert(values.end(), kTrailingValues, "-1");
    return values;
}

bool CreateConveyorBelt(C3dView& view)
{
    CQzlSections& level = view.GetLevel();
    const int surface = view.m_selection.m_surface;
    const std::vector<CVector3>& nodes = view.m_selection.m_pickedNodes;
    if (!InRange(level.m_surfaces, surface) || nodes.size() < 2)
        return false;
    auto values = ConveyorCogValues(nodes[0], nodes[1], surface);
    if (!values) {
        view.GetHost().ShowMessage(kConveyorSameNodesText);
        return false;
    }
    auto cog = std::make_unique<CQzlCog>(std::string(kConveyorCogScript));
    cog->m_values = std::move(*values);
    level.m_cogs.push_back(std::move(cog));
    AddCogScriptName(level, kConveyorCogScript);

    view.m_markers.clear();
    view.m_selection.m_pickedNodes.clear();
    view.m_selection.m_pickedNodes.shrink_to_fit();
    view.GetDocument().m_gridOn = 0;
    view.GetHost().RequestFrame(true);
    return true;
}

bool RunCreateConveyorBeltCommand(C3dView& view)
{
    const CCreateCommand* command = FindCreateCommand(Cmd::kCreateConveyorBelt);
    return command != nullptr && RunConfirmedCreate(view, *command, [&view] {
               const CWaitCursorScope wait(view.GetHost());
               return CreateConveyorBelt(view);
           });
}
