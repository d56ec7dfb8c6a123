#pragma once
// What the four sector-library dialogs share: the caption, a column of labelled fields (edits, and
// for Save and Load the sorted list of group names), and the buttons "&OK", "&Cancel" (the
// default) and "&Help", whose help is the dialog's own. The dialog and every control carry their
// ids (ui/DialogIds.h) as object names. Rename and Delete do not check their fields.

#include <QDialog>
#include <QString>

#include <string>
#include <vector>

class QFormLayout;
class QLineEdit;
class QListWidget;
class QPushButton;

class CLibraryDlg : public QDialog {
    Q_OBJECT

protected:
    CLibraryDlg(int dialogId, const QString& caption, QWidget* parent);

    // A labelled edit of control id showing text (read-only for the file names).
    QLineEdit* AddEdit(const QString& label, int id, const std::string& text,
                       bool readOnly = false);
    // "Group Names:": a list box that sorts the names it is given.
    QListWidget* AddGroupList(const std::vector<std::string>& names);
    // The buttons under the fields; called last by each constructor. Returns "&OK".
    QPushButton* AddButtons();

    static std::string Text(const QLineEdit* edit);

private:
    int m_dialogId;
    QFormLayout* m_fields = nullptr;
};

// The Save and Load dialogs: the file's name read-only above the group names; OK takes the
// selected group and is offered only while one is selected.
class CLibraryGroupDlg : public CLibraryDlg {
    Q_OBJECT

public:
    void accept() override;

    std::string m_fileName;
    std::string m_groupName;  // after OK: the chosen group

protected:
    CLibraryGroupDlg(int dialogId, const QString& caption, const QString& fileLabel,
                     const std::string& fileName, const std::vector<std::string>& groupNames,
                     QWidget* parent);

private:
    QListWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
};
