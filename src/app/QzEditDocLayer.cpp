// The Create menu's "La&yer...", "&Dome..." and "S&tairs...": each runs its dialog and, on OK,
// its builder inside one undo step.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "tools/Dome.h"
#include "tools/Layer.h"
#include "tools/Stairs.h"
#include "tools/ui/CreateDomeDlg.h"
#include "tools/ui/CreateLayerDlg.h"
#include "tools/ui/CreateStairsDlg.h"
#include "ui/UiServices.h"

#include <functional>

void CQzEditDoc::RegisterLayerCommands()
{
    const auto rule = [this](int id) {
        return [this, id](CCmdUI& ui) { ui.Enable(CreateShapeEnabled(id)); };
    };
    // The builder on the engine under the wait cursor. A builder that refuses gives the level
    // back as it was, but the sectors it rebuilt on the way mark the document modified: the flag
    // goes back to what it was.
    const auto build = [this](const std::function<bool(C3dView&)>& builder) {
        const bool modified = IsModified();
        const CWaitCursor wait;
        if (!RunOnEngine(builder))
            SetModifiedFlag(modified);
    };
    AddCommand(
        Cmd::kCreateLayer,
        [this, build] {
            if (!CreateShapeEnabled(Cmd::kCreateLayer))
                return;
            CCreateLayerDlg dialog(*m_pEngine, m_app.m_settings, DialogParent());
            if (dialog.exec() != QDialog::Accepted)
                return;
            const CLayerParams params = dialog.Params();
            build([&params](C3dView& engine) { return RunCreateLayerCommand(engine, params); });
        },
        rule(Cmd::kCreateLayer));
    AddCommand(
        Cmd::kCreateDome,
        [this, build] {
            if (!CreateShapeEnabled(Cmd::kCreateDome))
                return;
            CCreateDomeDlg dialog(*m_pEngine, DialogParent());
            if (dialog.exec() != QDialog::Accepted)
                return;
            const CDomeParams params = dialog.Params();
            build([&params](C3dView& engine) { return RunCreateDomeCommand(engine, params); });
        },
        rule(Cmd::kCreateDome));
    AddCommand(
        Cmd::kCreateStairs,
        [this, build] {
            if (!CreateShapeEnabled(Cmd::kCreateStairs))
                return;
            CCreateStairsDlg dialog(DialogParent());
            if (dialog.exec() != QDialog::Accepted)
                return;
            const CStairsParams params = dialog.m_params;
            build([&params](C3dView& engine) { return RunCreateStairsCommand(engine, params); });
        },
        rule(Cmd::kCreateStairs));
}
