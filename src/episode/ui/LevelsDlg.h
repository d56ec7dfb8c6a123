#pragma once
// Levels (119): the levels of a GOB/GOO archive being opened, one line each, the first selected.
// Modal. "&Ok" closes it with the selected line's position in m_selected; with no line selected
// it does nothing (an archive without levels can only be cancelled). The dialog has no Cancel
// button: Escape and the close box cancel it.
//
// Every control's object name is its id (ui/DialogIds.h).

#include <QDialog>

class CTree;
class QListWidget;

class CLevelsDlg : public QDialog {
    Q_OBJECT

public:
    CLevelsDlg(const CTree& levels, QWidget* parent = nullptr);
    ~CLevelsDlg() override;

    void accept() override;

    int m_selected = -1;  // the chosen level's position in the list, after OK

private:
    QListWidget* m_list = nullptr;
};
