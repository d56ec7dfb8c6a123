#pragma once
// The main frame window of QzEdit. For now an empty QMainWindow titled "QzEdit"; menus, tool
// bars, the status bar and the level views come with the application shell.

#include <QMainWindow>

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);
};
