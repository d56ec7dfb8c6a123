#pragma once
// The "Merge" dialog (5082) of the Merge Surfaces and Merge Sectors commands: lists the surfaces
// of the current sector that share an edge with the current surface, or the sectors the current
// sector adjoins (edit/Merge.h, MergeCandidates), and hands back the number chosen. The list
// (5080) is always shown; its label (5081) reads "Surface Number" or "Sector Number".
//
// Every control's object name is its id (ui/DialogIds.h): the label, the list, and the buttons
// OK, Cancel and Help.

#include "edit/Merge.h"

#include <QDialog>

#include <vector>

class C3dView;
class QLabel;
class QListWidget;

class CMergeDlg : public QDialog {
    Q_OBJECT

public:
    // engine is the document's engine, whose level and selection the list is made from; it must
    // outlive the dialog.
    CMergeDlg(C3dView& engine, EMergeMode mode, QWidget* parent = nullptr);
    ~CMergeDlg() override;

    // With nothing to list, shows the mode's refusal (MergeRefusal) and returns Rejected without
    // showing the dialog; otherwise runs it.
    int exec() override;

    // OK: without a chosen entry nothing happens and the dialog stays open; otherwise the entry's
    // number becomes m_chosen and the dialog closes.
    void accept() override;

    // The number chosen; -1 until OK.
    int m_chosen = -1;

private:
    EMergeMode m_mode;
    std::vector<int> m_candidates;
    QLabel* m_label = nullptr;
    QListWidget* m_list = nullptr;
};
