// "Startup Editor...": the starting inventory of the start-up cog. The script is read from the
// user's copy of "qzedit_start.cog" (else the installed default) and, when OK or Apply changed
// it, written back as the user's copy; Cancel without Apply leaves it as it was.

#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "engine/CommandIds.h"
#include "episode/StartGoalsCogs.h"
#include "episode/ui/StartupEditorDlg.h"
#include "ui/DialogText.h"
#include "ui/UiServices.h"

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

void CQzEditDoc::RegisterStartupEditorCommand()
{
    AddCommand(
        Cmd::kStartupEditor,
        [this] {
            const CDataFolders folders = m_app.DataFolders();
            std::vector<std::uint8_t> bytes;
            try {
                bytes = folders.Read(kStartCogScript);
            } catch (const std::exception& e) {
                QzMessageBox(DialogText::Text(e.what()), QMessageBox::Ok, DialogParent());
                return;
            }
            std::string text(bytes.begin(), bytes.end());
            const std::string before = text;
            CStartupEditorDlg sheet(text, m_app.m_settings.m_product, DialogParent());
            // OK and Apply both change the script; Cancel after Apply keeps what Apply did.
            sheet.exec();
            if (text == before)
                return;
            try {
                folders.Write(kStartCogScript, std::vector<std::uint8_t>(text.begin(), text.end()));
            } catch (const std::exception& e) {
                QzMessageBox(DialogText::Text(e.what()), QMessageBox::Ok, DialogParent());
            }
        },
        [this](CCmdUI& ui) { ui.Enable(m_fields.m_startCogOn != 0); });
}
