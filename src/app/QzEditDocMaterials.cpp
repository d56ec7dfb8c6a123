// The material picker of the document: the Materials dialog over the document's engine.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/RenderData.h"
#include "level/QzlSections.h"
#include "resources/ui/MaterialsDlg.h"

#include <memory>

std::optional<CMaterialChoice> CQzEditDoc::PickMaterial(std::string_view initial, int mode)
{
    // Before the 3D view has made its engine the dialog works on an engine of its own over the
    // same level, settings and game (the undo lists are the level's).
    std::unique_ptr<C3dView> own;
    if (m_pEngine == nullptr)
        own = std::make_unique<C3dView>(*m_level, m_app.m_settings, m_state,
                                        m_app.m_product.m_resources, *this, m_app.Keys(),
                                        m_app.GetClock(), m_app.GetRandom());
    C3dView& engine = m_pEngine != nullptr ? *m_pEngine : *own;
    CMaterialsDlg dialog(engine, m_app.DataFolders(), std::string(initial), mode, DialogParent());
    const bool chosen = dialog.exec() == QDialog::Accepted;
    // A deletion changed the materials of these sectors' surfaces, also when the dialog was
    // cancelled afterwards.
    if (m_pEngine != nullptr && !dialog.SectorsToRebuild().empty()) {
        const CQzEditView::CDeviceScope scope(View3d());
        RebuildSectors(*m_pEngine, dialog.SectorsToRebuild());
        UpdateAllViews(nullptr);
    }
    if (!chosen)
        return std::nullopt;
    return dialog.Choice();
}
