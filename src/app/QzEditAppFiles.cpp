// The application's "&File Manager..." command: the File Manager, modal, with or without a
// document. When it has written one of the game's archives the game reads the new file: the
// archives are reopened, their indexes rebuilt, and the open documents' textures loaded anew.

#include "app/MainFrame.h"
#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/RenderData.h"
#include "resources/ui/FileManagerDlg.h"

void CQzEditApp::RegisterFileManagerCommand()
{
    AddCommand(Cmd::kFileManager, [this] {
        CFileManagerDlg dialog(m_settings, &m_product.m_resources, m_pMainFrame);
        dialog.m_archiveWritten = [this](const std::filesystem::path& archive) {
            GameArchiveWritten(archive);
        };
        dialog.exec();
    });
}

void CQzEditApp::GameArchiveWritten(const std::filesystem::path& archive)
{
    if (!m_product.IsGameArchive(archive))
        return;
    const CWaitCursor wait;
    const std::string message = m_product.ReopenArchives();
    if (!message.empty()) {
        QzMessageBox(QString::fromStdString(message), QMessageBox::Ok, m_pMainFrame);
        return;
    }
    // The textures and models came from the old file: each engine builds them again from the new
    // one. The level itself is kept exactly as it is (its material list too).
    for (CQzEditDoc* doc : m_documents) {
        if (doc->m_pEngine == nullptr)
            continue;
        const CQzEditView::CDeviceScope device(doc->View3d());
        RebuildAll(*doc->m_pEngine, false, ERebuildAll::Resources);
        doc->m_pEngine->GetHost().RequestFrame(true);
    }
}
