#pragma once
// The main frame window: the MDI area holding one document window per open level, the menus
// (128 while no document is open, 129 while one is), the four tool bars, the status bar with its
// eight panes, the accelerator tables and the autosave timer. Commands from menus, tool bars and
// accelerators go through RouteCommand: the active view, the active document, this frame, the
// application. The menus, tool bars and accelerator tables are built from the command table
// (app/Commands.h).

#include "app/CommandTarget.h"
#include "engine/CommandIds.h"

#include <QMainWindow>
#include <QString>

#include <memory>
#include <span>
#include <string>

class CChildFrame;
class CDocView;
class CQzEditApp;
class CQzEditDoc;
class QAction;
class QKeySequence;
class QLabel;
class QMdiArea;
class QMenu;
struct CMenuPopup;
class QToolBar;

class CMainFrame : public QMainWindow, public CCommandTarget {
    Q_OBJECT

public:
    explicit CMainFrame(CQzEditApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // OnCreate: menus, tool bars, status bar, docking, saved tool-bar state, timer 100.
    bool Create();

    QMdiArea* MdiArea() const { return m_mdiArea; }
    // Adds a document window and makes it active.
    void AddChildFrame(CChildFrame* frame);
    CChildFrame* ActiveChildFrame() const;
    CQzEditDoc* ActiveDocument() const;
    // The view that gets commands first (the 3D view, or the form view with the focus); null
    // when no document window is open. SetActiveView(null): no active view.
    CDocView* ActiveView() const;
    void SetActiveView(CDocView* view);

    // Menu::kDocument while a document window is open, Menu::kNoDocument otherwise.
    void UpdateMenus();
    // Runs command id through the routing chain: the first target that has the id runs it, unless
    // its update handler disables it. False when no target handles it or it is disabled.
    bool RouteCommand(int id);
    // Runs the update handlers of every action (enabled, checked).
    void UpdateCommandUI();
    // The action of command id (object name: the id in decimal); null when there is none.
    QAction* Action(int id) const;

    // Accelerator table AccelTable::kView (the 3D view has the focus) or AccelTable::kFrame.
    void SetAcceleratorTable(int table);
    int AcceleratorTable() const { return m_acceleratorTable; }
    // The command that key sends through the active accelerator table; 0 for none.
    int CommandForKey(const QKeySequence& key) const;

    // The menu shown: Menu::kNoDocument or Menu::kDocument.
    int CurrentMenu() const;
    // The tool bar of a control id (Ctl::kStandardToolBar, ...); null for another id.
    QToolBar* ToolBar(int id) const;
    // Status pane by its id: 0 (pane 0, the device name beneath the messages), Ctl::kGridPane ..
    // Ctl::kLayerPane; null for another.
    QLabel* StatusPane(int id) const;

    // Status bar. Pane 0 shows a message (the engine's texts, the menus' prompts) over the render
    // device's name: a message stays until another replaces it, and an empty message uncovers the
    // device's name. The eight panes after a frame: device name (kept in m_strDevicePane), grid,
    // yaw, tilt, X, Y, Z, frame rate; they leave the message as it is.
    void SetMessageText(const QString& text);
    void SetStatusPanes(std::span<const std::string> texts);

    // One tick of timer 100: the autosave rule for every open document.
    void OnAutosaveTimer();

    // Shown flags of the four tool bars (1 shown); the update handlers clear a flag when its bar
    // was hidden some other way (closed while floating).
    int m_bStandardToolBar = 1;
    int m_bViewToolBar = 1;
    int m_bPositionToolBar = 1;
    int m_bToolToolBar = 1;

    // Pane texts (pane 0 beneath the messages, panes 1..7).
    QString m_strDevicePane;
    QString m_strGridPane, m_strYawPane, m_strTiltPane, m_strXPane, m_strYPane, m_strZPane,
        m_strFrameRatePane;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    // A popup of the menu table with its items and submenus; path names its menu ("129").
    QMenu* CreatePopup(const CMenuPopup& popup, const QString& path, QWidget* parent);
    void CreateToolBars();
    void CreateStatusBar();
    void CreateAccelerators();
    void RegisterCommands();
    QAction* EnsureAction(int id);
    // The update rule of id through the routing chain: false when no target has it.
    bool QueryCommand(CCmdUI& ui);
    void OnInitMenu();
    void UpdateRecentFileItems();
    void UpdatePanes();
    void StoreWindowRect();
    void ToggleToolBar(int index);
    void UpdateToolBarCommand(int index, CCmdUI& ui);
    void OnHelp();
    void ActivateNextPane(bool forward);
    void OnSubWindowActivated();

    CQzEditApp& m_app;
    QMdiArea* m_mdiArea = nullptr;
    CDocView* m_activeView = nullptr;
    int m_acceleratorTable = AccelTable::kFrame;
    struct CPrivate;
    std::unique_ptr<CPrivate> d;
};
