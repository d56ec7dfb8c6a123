// "&Episode Editor...": the document's episode fields in the modal Episode Editor; OK marks the
// document modified when it changed a field.

#include "app/QzEditDoc.h"
#include "engine/CommandIds.h"
#include "episode/ui/EpisodeEditorDlg.h"

void CQzEditDoc::RegisterEpisodeCommand()
{
    AddCommand(Cmd::kEpisodeEditor, [this] {
        CEpisodeEditorDlg dialog(
            m_fields, [this] { SetModifiedFlag(true); }, DialogParent());
        dialog.exec();
    });
}
