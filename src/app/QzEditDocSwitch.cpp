#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/CommandIds.h"
#include "tools/CreateMenu.h"
#include "tools/Switch.h"
#include "tools/ui/CreateSwitchDlg.h"
#include "ui/UiServices.h"

#include <memory>
#include <optional>

// "&Switch...": the Create Switch dialog on the current surface and its two grid nodes, then the
// switch in one undo step.
void CQzEditDoc::RegisterSwitchCommand()
{
    const ECreateRule rule = FindCreateCommand(Cmd::kCreateSwitch)->m_rule;
    AddCommand(
        Cmd::kCreateSwitch,
        [this, rule] {
            if (m_pEngine == nullptr || !CreateRuleHolds(rule, m_pEngine, m_state))
                return;
            std::optional<CSwitchParams> params;
            {
                std::unique_ptr<CCreateSwitchDlg> dialog;
                {
                    const CWaitCursor wait;
                    dialog = std::make_unique<CCreateSwitchDlg>(
                        *m_pEngine, ReadSwitchList(m_app.DataFolders()), DialogParent());
                }
                if (dialog->exec() == QDialog::Accepted)
                    params = dialog->Params();
                // The dialog and its preview go before the level changes.
            }
            if (!params)
                return;
            const CWaitCursor wait;
            // A build taken back leaves the level as it was, but the sectors it rebuilt on the way
            // marked the document modified: the flag goes back to what it was.
            const bool modified = IsModified();
            if (!RunOnEngine(
                    [&params](C3dView& engine) { return RunCreateSwitchCommand(engine, *params); }))
                SetModifiedFlag(modified);
        },
        [this, rule](CCmdUI& ui) { ui.Enable(CreateRuleHolds(rule, m_pEngine, m_state)); });
}
