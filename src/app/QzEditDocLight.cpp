// The Create Light command of the document: "&Light..." (I) runs the Create Light dialog
// modally on the document's engine; each Apply writes the light inside the 3D view's device
// scope.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/CommandIds.h"
#include "tools/CreateMenu.h"
#include "tools/ui/CreateLightDlg.h"

void CQzEditDoc::RegisterLightCommand()
{
    const ECreateRule rule = FindCreateCommand(Cmd::kCreateLight)->m_rule;
    AddCommand(
        Cmd::kCreateLight,
        [this, rule] {
            // The dialog lights from the current sector: it opens only while there is one.
            if (!CreateRuleHolds(rule, m_pEngine, m_state))
                return;
            CCreateLightDlg dialog(
                *m_pEngine, m_app.m_settings, DialogParent(),
                [this](const std::function<bool(C3dView&)>& edit) { return RunOnEngine(edit); });
            dialog.exec();
        },
        [this, rule](CCmdUI& ui) { ui.Enable(CreateRuleHolds(rule, m_pEngine, m_state)); });
}
