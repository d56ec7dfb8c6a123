#pragma once
// Episode Editor (5008): the document's episode fields (title, level file, type, kind, the two
// powers and the objectives, the level's message text). Modal. OK stores them into the fields and
// calls the modified callback when one of them changed; Cancel changes nothing.
//
// Every control's object name is its id (ui/DialogIds.h).

#include "level/QzeFile.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class QTextEdit;
class QWidget;

class CEpisodeEditorDlg : public QDialog {
    Q_OBJECT

public:
    // The dialog on fields; modified runs when OK changed them.
    CEpisodeEditorDlg(CDocumentFields& fields, std::function<void()> modified,
                      QWidget* parent = nullptr);
    ~CEpisodeEditorDlg() override;

    void accept() override;

private:
    CDocumentFields& m_fields;
    std::function<void()> m_modified;
    QString m_shownObjectives;  // the message text as the control was given it
    QLineEdit* m_title = nullptr;
    QLineEdit* m_levelFile = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_kind = nullptr;
    QComboBox* m_lightPower = nullptr;
    QComboBox* m_darkPower = nullptr;
    QTextEdit* m_objectives = nullptr;
};
