// "Template &Manager..." of the application (no document open), and the Template Manager run that
// the document's command shares: the template list is the program's data, not the level's, so it
// changes no document and takes no undo step.

#include "app/MainFrame.h"
#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/EngineHost.h"
#include "engine/ThingModels.h"
#include "framework/StringUtil.h"
#include "level/QzlSections.h"
#include "level/TemplateList.h"
#include "resources/ui/TemplateManagerDlg.h"

void CQzEditApp::RegisterTemplateManagerCommand()
{
    AddCommand(Cmd::kTemplateManager, [this] { RunTemplateManager(nullptr, m_pMainFrame); });
}

void CQzEditApp::RunTemplateManager(CQzEditDoc* doc, QWidget* parent)
{
    const CTemplateEntries* levelTemplates =
        doc != nullptr && doc->m_level ? &doc->m_level->m_templates : nullptr;
    const auto save = [this](const CTemplateEntries& entries) {
        std::string message = SaveTemplateList(m_product.m_resources, DataFolders(),
                                               TemplateFileName(m_settings.m_product), entries);
        if (!message.empty())
            return message;
        // The things' models came from the old list: each engine makes them anew.
        for (CQzEditDoc* each : m_documents) {
            if (each->m_pEngine == nullptr)
                continue;
            C3dView& engine = *each->m_pEngine;
            const CQzEditView::CDeviceScope device(each->View3d());
            const CQzlSections& level = engine.GetLevel();
            const std::string colorMap =
                level.m_colormaps.empty() ? std::string() : ToUpperAscii(level.m_colormaps.front());
            for (std::size_t i = 0; i < level.m_things.size(); ++i)
                CreateThingModel(engine, static_cast<int>(i), colorMap, false);
            engine.GetHost().RequestFrame(true);
        }
        return message;
    };
    CTemplateManagerDlg dialog(m_product.m_resources.m_templates, levelTemplates, m_settings, save,
                               parent);
    dialog.exec();
}
