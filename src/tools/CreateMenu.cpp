#include "tools/CreateMenu.h"

#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/Questions.h"
#include "engine/Undo.h"
#include "engine/ViewCommands.h"
#include "framework/DocumentState.h"
#include "framework/Indices.h"
#include "level/QzlSections.h"

namespace {

// clang-format off
constexpr CCreateCommand kCreateCommands[] = {
    {Cmd::kCreateLight, ECreateRule::Light, nullptr},
    {Cmd::kCreateDoor, ECreateRule::TwoNodeSurface, nullptr},
    {Cmd::kCreateElevator, ECreateRule::TwoNodeSurface, nullptr},
    {Cmd::kCreateStairs, ECreateRule::TwoNodeSurface, nullptr},
    {Cmd::kCreateRectangle, ECreateRule::Rectangle, nullptr},
    {Cmd::kCreateCylinder, ECreateRule::Cylinder, nullptr},
    {Cmd::kCreatePyramid, ECreateRule::TwoNodeSurface, nullptr},
    {Cmd::kCreateDome, ECreateRule::PlainSurface, nullptr},
    {Cmd::kCreateLayer, ECreateRule::PlainSurface, nullptr},
    {Cmd::kCreateLandscape, ECreateRule::TwoNodeSurface, nullptr},
    {Cmd::kCreateWater, ECreateRule::AdjoinedSurface, "Do you want to create a water sector?"},
    {Cmd::kCreateForceField, ECreateRule::AdjoinedSurface, "Do you want to create a Force Field?"},
    {Cmd::kCreateBreakingGlass, ECreateRule::AdjoinedSurface,
     "Do you want to create a Breaking Glass?"},
    {Cmd::kCreateSlashableGrate, ECreateRule::AdjoinedSurface,
     "Do you want to create a Slashable Grate?"},
    {Cmd::kCreateSwitch, ECreateRule::TwoNodeSurface, nullptr},
    {Cmd::kCreateConveyorBelt, ECreateRule::TwoNodeSurface,
     "Do you want to create a Conveyor Belt?"},
};
// clang-format on

// A surface of the level is current: with an adjoin or without one.
bool SurfaceCurrent(const C3dView* engine)
{
    return AdjoinedSurfaceRule(engine) || PlainSurfaceRule(engine);
}

}  // namespace

std::span<const CCreateCommand> CreateCommands()
{
    return kCreateCommands;
}

const CCreateCommand* FindCreateCommand(int id)
{
    for (const CCreateCommand& command : kCreateCommands)
        if (command.m_id == id)
            return &command;
    return nullptr;
}

bool CreateRuleHolds(ECreateRule rule, const C3dView* engine, const CDocumentState& document)
{
    if (engine == nullptr)
        return false;
    const std::size_t nodes = engine->m_selection.m_pickedNodes.size();
    switch (rule) {
    case ECreateRule::Light:
        // The light is painted from the current sector: without one there is nothing to light.
        return document.m_lightMode != 0 &&
               InRange(engine->GetLevel().m_sectors, engine->m_selection.m_sector);
    case ECreateRule::TwoNodeSurface:
        return TwoNodeSurfaceRule(engine);
    case ECreateRule::AdjoinedSurface:
        return AdjoinedSurfaceRule(engine);
    case ECreateRule::PlainSurface:
        return PlainSurfaceRule(engine);
    case ECreateRule::Rectangle:
        return SurfaceCurrent(engine) && nodes >= 2;
    case ECreateRule::Cylinder:
        return SurfaceCurrent(engine) && nodes != 1;
    }
    return false;
}

bool RunConfirmedCreate(C3dView& view, const CCreateCommand& command,
                        const std::function<bool()>& build)
{
    if (command.m_question != nullptr && !Confirm(view, command.m_question))
        return false;
    return RunUndoable(view, build);
}
