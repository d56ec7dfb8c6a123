// The document's "&Files in Level..." command: the Files in Level dialog on the document's level,
// modal, enabled while there is a document; every change it makes marks the document modified.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/CommandIds.h"
#include "resources/ui/FilesInLevelDlg.h"

void CQzEditDoc::RegisterFilesCommand()
{
    AddCommand(Cmd::kFilesInLevel, [this] {
        if (!m_level)
            return;
        CFilesInLevelDlg dialog(
            *m_level, m_app.m_product.m_resources, m_app.m_settings,
            [this] { SetModifiedFlag(true); }, DialogParent());
        dialog.exec();
    });
}
