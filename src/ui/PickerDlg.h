#pragma once
// The plain picker: a list of names with "&Ok" (1) and "&Cancel" (2), which the document shows
// for the engine's pickers of a material, a template, a colour map or a sound until their
// resource dialogs take its place. The list (Ctl::kPickerList) starts on the first name that
// begins with the initial name (letter case ignored; the first name for an empty one, none when
// no name begins so). OK is enabled while a name is selected; a double click on a name is OK.

#include <QDialog>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

class QListWidget;
class QPushButton;

class CPickerDlg : public QDialog {
    Q_OBJECT

public:
    CPickerDlg(const QString& caption, const std::vector<std::string>& names,
               std::string_view initial, QWidget* parent = nullptr);
    ~CPickerDlg() override;

    // The position of the selected name in the list given, -1 when none is selected.
    int Selected() const;

private:
    void UpdateOk();

    QListWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
};
