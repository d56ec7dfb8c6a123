// The colour-map and sound pickers of the document and "Select Color Map...".

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/AssetSources.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/TextureCache.h"
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
    // A palette edit changes a file of the level: the document is modified and every texture
    // decoded through that colour map is decoded anew, on the 3D view's device.
    const auto paletteEdited = [this](const std::string& colorMap) {
        SetModifiedFlag(true);
        if (m_pEngine == nullptr || m_pEngine->m_textureCache == nullptr)
            return;
        const CQzEditView::CDeviceScope scope(View3d());
        m_pEngine->m_textureCache->RedecodeColorMap(
            CAssetSources{&m_pEngine->GetGame(), &m_level->m_levelFiles}, colorMap);
        RequestFrame(true);
    };
    CColorMapDlg dialog(*m_level, m_app.m_product.m_resources, initial, mode, LevelChange(*this),
                        paletteEdited, DialogParent());
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
