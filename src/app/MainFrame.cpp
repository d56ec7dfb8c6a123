#include "app/MainFrame.h"

#include "app/ChildFrame.h"

#include <QMdiArea>
#include <QMdiSubWindow>

struct CMainFrame::CPrivate {};

CMainFrame::CMainFrame(CQzEditApp& app, QWidget* parent)
    : QMainWindow(parent), m_app(app), d(std::make_unique<CPrivate>())
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("QzEdit"));
    m_mdiArea = new QMdiArea(this);
    setCentralWidget(m_mdiArea);
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create() { return true; }

void CMainFrame::AddChildFrame(CChildFrame* frame)
{
    m_mdiArea->addSubWindow(frame);
    frame->showMaximized();
}

CChildFrame* CMainFrame::ActiveChildFrame() const
{
    return dynamic_cast<CChildFrame*>(m_mdiArea->activeSubWindow());
}

CQzEditDoc* CMainFrame::ActiveDocument() const
{
    CChildFrame* frame = ActiveChildFrame();
    return frame != nullptr ? &frame->Document() : nullptr;
}

CDocView* CMainFrame::ActiveView() const { return m_activeView; }
void CMainFrame::SetActiveView(CDocView* view) { m_activeView = view; }
void CMainFrame::UpdateMenus() {}
bool CMainFrame::RouteCommand(int) { return false; }
void CMainFrame::UpdateCommandUI() {}
QAction* CMainFrame::Action(int) const { return nullptr; }
void CMainFrame::SetAcceleratorTable(int table) { m_acceleratorTable = table; }
void CMainFrame::SetMessageText(const QString&) {}
void CMainFrame::SetStatusPanes(std::span<const std::string>) {}
void CMainFrame::OnAutosaveTimer() {}
void CMainFrame::closeEvent(QCloseEvent* event) { QMainWindow::closeEvent(event); }
void CMainFrame::moveEvent(QMoveEvent* event) { QMainWindow::moveEvent(event); }
void CMainFrame::resizeEvent(QResizeEvent* event) { QMainWindow::resizeEvent(event); }
void CMainFrame::changeEvent(QEvent* event) { QMainWindow::changeEvent(event); }
void CMainFrame::dragEnterEvent(QDragEnterEvent* event) { QMainWindow::dragEnterEvent(event); }
void CMainFrame::dropEvent(QDropEvent* event) { QMainWindow::dropEvent(event); }
