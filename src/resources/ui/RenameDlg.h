#pragma once
// Rename (5031): the old name, read only, and the new name, both starting as the name given.
// After OK the caller reads m_newName; the dialog does not check it (empty, or the old name
// unchanged, is handed back as it is).

#include <QDialog>
#include <QString>

class QLineEdit;

class CRenameDlg : public QDialog {
    Q_OBJECT

public:
    explicit CRenameDlg(const QString& name, QWidget* parent = nullptr);

    // OK: both edits go back into the two names.
    void accept() override;

    QString m_oldName;
    QString m_newName;

private:
    QLineEdit* m_oldEdit = nullptr;
    QLineEdit* m_newEdit = nullptr;
};
