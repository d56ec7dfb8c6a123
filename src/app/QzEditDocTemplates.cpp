// The template picker of the document: the Template dialog.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/Questions.h"
#include "framework/StringUtil.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "level/TemplateTree.h"
#include "resources/ui/TemplateDlg.h"

std::optional<CTemplateChoice> CQzEditDoc::PickTemplate(std::string_view initial, int mode)
{
    if (m_pEngine == nullptr)
        return std::nullopt;
    CTemplateDlg dialog(*m_pEngine, m_app.m_settings, initial, mode, DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // The chosen template in the list the mode offers, measured by its model's box
    // (ChooseTemplate).
    const CTemplateList& list =
        mode == kPickInLevel ? m_level->m_templates : m_pEngine->GetGame().m_templates;
    const std::string& name = dialog.CurrentName();
    const int position = FindChosenTemplate(list, name);
    // OK with no template of the list chosen picks nothing.
    if (position < 0)
        return std::nullopt;
    return ChooseTemplate(*m_pEngine, mode, position);
}
