#include "edit/CarveCommand.h"

#include "engine/C3dView.h"
#include "engine/EngineHost.h"
#include "engine/Undo.h"
#include "framework/DocumentState.h"

bool CarveAngleInRange(float degrees)
{
    return degrees >= -kCarveAngleLimit && degrees <= kCarveAngleLimit;
}

bool CarveAnglesEditable(const C3dView& view)
{
    return view.GetDocument().m_sectorMode == 0;
}

void TakeMaterialLook(CCarveLook& look, const CMaterialChoice& material)
{
    look.m_material = material.m_index;
    look.m_textureWidth = static_cast<float>(material.m_width);
    look.m_textureHeight = static_cast<float>(material.m_height);
    look.m_xTile = material.m_tileX;
    look.m_yTile = material.m_tileY;
}

void TakeCarveMaterial(CCarveChoice& choice, const CMaterialChoice& material)
{
    TakeMaterialLook(choice.m_look, material);
    choice.m_textureName = material.m_name;
}

bool PickCarveMaterial(C3dView& view, CCarveChoice& choice)
{
    const std::optional<CMaterialChoice> material = view.GetHost().PickMaterial("", kPickInLevel);
    if (!material)
        return false;
    TakeCarveMaterial(choice, *material);
    return true;
}

bool CanRunCarveCommand(const C3dView& view)
{
    const CSelection& selection = view.m_selection;
    if (view.GetDocument().m_sectorMode != 0)
        return selection.m_sector >= 0 && selection.m_pickedNodes.size() > 2;
    return selection.m_surface >= 0 && selection.m_pickedNodes.size() > 1;
}

bool CarveWithChoice(C3dView& view, const CCarveChoice& choice)
{
    if (view.GetDocument().m_sectorMode != 0)
        return CarveSector(view, choice.m_catwalk, choice.m_look);
    return CarveAlongLine(view, choice.m_catwalk, choice.m_upDown, choice.m_leftRight,
                          choice.m_look, false);
}

bool RunCarveCommand(C3dView& view, const CCarveChoice& choice)
{
    if (!CanRunCarveCommand(view))
        return false;
    return RunUndoable(view, [&] { return CarveWithChoice(view, choice); });
}
