// "Multi &Level Editor...": the episode of several levels, in its modal dialog.

#include "app/MainFrame.h"
#include "app/QzEditApp.h"
#include "engine/CommandIds.h"
#include "episode/ui/MultiLevelEditorDlg.h"

void CQzEditApp::RegisterMultiLevelEditorCommand()
{
    AddCommand(Cmd::kMultiLevelEditor, [this] {
        CMultiLevelEditorDlg dialog(m_product.m_resources, m_settings.m_product, m_pMainFrame);
        dialog.exec();
    });
}
