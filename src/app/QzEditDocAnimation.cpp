// The Animation Manager command of the document: "Animation Manager..." opens the dialog modally
// over the material of the engine's current surface (no name when no surface with a material is
// current). The dialog writes its edits into the level's files and marks the document modified.

#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "level/QzlSections.h"
#include "resources/ui/AnimationManagerDlg.h"

#include <string>

namespace {

// The material name of the current surface; empty when none with a material is current.
std::string CurrentMaterial(const C3dView& engine)
{
    const CQzlSections& level = engine.GetLevel();
    const int surface = engine.m_selection.m_surface;
    if (surface < 0 || static_cast<std::size_t>(surface) >= level.m_surfaces.size())
        return {};
    const int material = level.m_surfaces[static_cast<std::size_t>(surface)]->m_material;
    if (material < 0 || static_cast<std::size_t>(material) >= level.m_materials.size())
        return {};
    return level.m_materials[static_cast<std::size_t>(material)]->m_name;
}

}  // namespace

void CQzEditDoc::RegisterAnimationCommand()
{
    AddCommand(
        Cmd::kAnimationManager,
        [this] {
            if (m_pEngine == nullptr)
                return;
            CAnimationManagerDlg dialog(*m_pEngine, CurrentMaterial(*m_pEngine), DialogParent());
            dialog.exec();
        },
        [this](CCmdUI& ui) { ui.Enable(m_pEngine != nullptr); });
}
