// The material picker of the document.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/Questions.h"
#include "level/QzlSections.h"

std::optional<CMaterialChoice> CQzEditDoc::PickMaterial(std::string_view initial, int mode)
{
    std::vector<std::string> names;
    const int position = RunPicker(EPicker::Material, initial, mode, names);
    const std::size_t materials = m_level->m_materials.size();
    std::optional<CMaterialChoice> choice =
        ChooseMaterial(*m_level, m_app.m_product.m_resources, mode, position);
    if (m_level->m_materials.size() != materials)
        SetModifiedFlag(true);
    return choice;
}

void CQzEditDoc::RegisterMaterialCommands() {}
