// The colour-map and sound pickers of the document and "Select Color Map...".

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/Undo.h"
#include "level/QzlSections.h"
#include "resources/ui/ColorMapDlg.h"
#include "resources/ui/SelectColorMapDlg.h"
#include "resources/ui/SoundsDlg.h"

namespace {

// The level changes of the dialogs: one undo step on the document's engine, on the 3D view's
// device (Select Color Map rebuilds the render data); without an engine the change runs alone.
// Either way the document is marked modified when the change went through.
CLevelChangeRunner LevelChange(CQzEditDoc& doc)
{
    return [&doc](const std::function<bool()>& change) {
        if (doc.m_pEngine == nullptr) {
            const bool done = change();
            if (done)
                doc.SetModifiedFlag(true);
            return done;
        }
        const CQzEditView::CDeviceScope scope(doc.View3d());
        return RunUndoable(*doc.m_pEngine, change);
    };
}

}  // namespace

std::optional<std::string> CQzEditDoc::PickColorMap(std::string_view initial, int mode)
{
    CColorMapDlg dialog(
        *m_level, m_app.m_product.m_resources, initial, mode, LevelChange(*this),
        [this] { SetModifiedFlag(true); }, DialogParent());
    if (dialog.exec() != QDialog::Accepted || dialog.ColorMap().empty())
        return std::nullopt;
    return dialog.ColorMap();
}

std::optional<std::string> CQzEditDoc::PickSound(std::string_view initial, int mode)
{
    CSoundsDlg dialog(*m_level, m_app.m_product.m_resources, m_app.Sound(), initial, mode,
                      LevelChange(*this), DialogParent());
    if (dialog.exec() != QDialog::Accepted || dialog.Sound().empty())
        return std::nullopt;
    return dialog.Sound();
}

void CQzEditDoc::RegisterColorMapCommands()
{
    AddCommand(
        Cmd::kSelectColorMap,
        [this] {
            if (m_pEngine == nullptr)
                return;
            CSelectColorMapDlg dialog(*m_pEngine, LevelChange(*this), DialogParent());
            dialog.exec();
        },
        [this](CCmdUI& ui) { ui.Enable(m_pEngine != nullptr); });
}
