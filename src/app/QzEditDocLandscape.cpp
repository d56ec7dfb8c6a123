#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/Random.h"
#include "tools/CreateMenu.h"
#include "tools/Landscape.h"
#include "tools/ui/CreateLandscapeDlg.h"
#include "ui/UiServices.h"

#include <QDialog>

#include <cstdint>
#include <ctime>

void CQzEditDoc::RegisterLandscapeCommand()
{
    const ECreateRule rule = FindCreateCommand(Cmd::kCreateLandscape)->m_rule;
    AddCommand(
        Cmd::kCreateLandscape,
        [this, rule] {
            if (m_pEngine == nullptr || !CreateRuleHolds(rule, m_pEngine, m_state))
                return;
            CCreateLandscapeDlg dialog(*m_pEngine, DialogParent());
            if (dialog.exec() != QDialog::Accepted)
                return;
            // A landscape taken back half way rebuilds what it had cut, which marks the document
            // modified: the flag goes back to what it was.
            const bool modified = IsModified();
            const CWaitCursor wait;
            const CLandscapeParams params = dialog.m_params;
            const bool built = RunOnEngine([&params](C3dView& engine) {
                // Each run gives other ground: the generator starts from the clock.
                engine.GetRandom().Seed(static_cast<std::uint32_t>(std::time(nullptr)));
                return RunCreateLandscapeCommand(engine, params);
            });
            if (!built)
                SetModifiedFlag(modified);
        },
        [this, rule](CCmdUI& ui) { ui.Enable(CreateRuleHolds(rule, m_pEngine, m_state)); });
}
