#pragma once
// Select Color Map (6142): the game's colour maps and the level's own ".cmp" files; Apply (and
// OK, before the dialog closes) makes the one selected the level's only colour map with every
// sector on it (engine/ColorMapList.h SelectColorMap), as one undoable change. Cancel after
// Apply keeps what Apply did.

#include "resources/ui/LevelListDlg.h"

#include <QDialog>

class C3dView;
class QListWidget;

class CSelectColorMapDlg : public QDialog {
    Q_OBJECT

public:
    CSelectColorMapDlg(C3dView& view, CLevelChangeRunner change, QWidget* parent = nullptr);

    void OnApply();

private:
    void OnOK();

    C3dView& m_view;
    CLevelChangeRunner m_change;
    QListWidget* m_list = nullptr;
};
