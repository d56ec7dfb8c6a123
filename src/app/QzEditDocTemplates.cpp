// The template picker of the document.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/Questions.h"
#include "level/QzlSections.h"

std::optional<CTemplateChoice> CQzEditDoc::PickTemplate(std::string_view initial, int mode)
{
    std::vector<std::string> names;
    const int position = RunPicker(EPicker::Template, initial, mode, names);
    if (position < 0)
        return std::nullopt;
    if (m_pEngine != nullptr)
        return ChooseTemplate(*m_pEngine, mode, position);
    // Without an engine no model can be measured.
    return CTemplateChoice{names[static_cast<std::size_t>(position)], {}};
}

void CQzEditDoc::RegisterTemplateCommands() {}
