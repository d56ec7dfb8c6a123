#pragma once
// The "Create Stairs" dialog (5102): "Number of Stairs:" (1 to 100), "Total Depth:" and "Total
// Height:" (0.1 to 100.0 each) and the group "Direction" with "Up" and "Down"; the buttons
// "&Ok", "&Cancel" and "&Help". A value out of its range shows the framework's message, is
// selected, and the dialog stays open.
//
// Every control's object name is its id (ui/DialogIds.h).

#include "tools/Stairs.h"

#include <QDialog>

class QRadioButton;

class CCreateStairsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CCreateStairsDlg(QWidget* parent = nullptr);
    ~CCreateStairsDlg() override;

    // OK: reads the number, the total depth and the total height in that order, then the
    // direction ("Up" checked: up); the dialog closes when all three are in range.
    void accept() override;

    // The values after OK; the defaults before.
    CStairsParams m_params;

private:
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
};
