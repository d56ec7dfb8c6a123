#include "app/MainFrame.h"

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("QzEdit"));
    resize(1024, 768);
}
