#include "app/QzEditDoc.h"

#include "engine/CommandIds.h"
#include "tools/ConveyorBelt.h"
#include "tools/CreateMenu.h"
#include "tools/SpecialSurfaces.h"

// The one-click builders of the Create menu: water, force field, breaking glass, slashable grate
// and conveyor belt. Each asks its question while "Warning" is on, then builds in one undo step
// under the wait cursor.
void CQzEditDoc::RegisterSurfaceEffectCommands()
{
    const struct {
        int id;
        bool (*run)(C3dView&);
    } commands[] = {
        {Cmd::kCreateWater, RunCreateWaterCommand},
        {Cmd::kCreateForceField, RunCreateForceFieldCommand},
        {Cmd::kCreateBreakingGlass, RunCreateBreakingGlassCommand},
        {Cmd::kCreateSlashableGrate, RunCreateSlashableGrateCommand},
        {Cmd::kCreateConveyorBelt, RunCreateConveyorBeltCommand},
    };
    for (const auto& command : commands) {
        const ECreateRule rule = FindCreateCommand(command.id)->m_rule;
        AddCommand(
            command.id,
            [this, run = command.run, rule] {
                if (CreateRuleHolds(rule, m_pEngine, m_state))
                    RunOnEngine(run);
            },
            [this, rule](CCmdUI& ui) { ui.Enable(CreateRuleHolds(rule, m_pEngine, m_state)); });
    }
}
