#include "app/MainFrame.h"

#include "app/Help.h"

#include "app/ChildFrame.h"
#include "app/Commands.h"
#include "app/FormViews.h"
#include "app/QzEditApp.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "app/SettingsStore.h"
#include "app/Splash.h"
#include "ui/DialogIds.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QSizePolicy>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace {

constexpr int kAutosaveTimerId = 100;
constexpr int kAutosaveInterval = 30000;  // ms
constexpr int kUpdateInterval = 200;      // ms between tool-bar updates while visible
constexpr int kPaneWidth = 50;
// The widest text of each pane after pane 0 (grid, yaw, tilt, x, y, z, frame rate).
constexpr std::array<const char*, 7> kPaneSamples = {"Grid:  0.10", "Yaw: -180",   "Tilt: -0.95",
                                                     "X: -1234.56", "Y: -1234.56", "Z: -1234.56",
                                                     "FR: 100"};

// Pane 0 (the framework's separator).
constexpr int kDevicePaneId = 0;
// The status panes after pane 0, in order.
constexpr std::array<int, 7> kPaneIds = {Ctl::kGridPane, Ctl::kYawPane, Ctl::kTiltPane, Ctl::kXPane,
                                         Ctl::kYPane,    Ctl::kZPane,   Ctl::kLayerPane};

// Help contexts of the frame's help commands: the main frame's and the document window's own
// (the help service replaces them by the active view's).
constexpr unsigned int kHelpMainFrame = 0x20080;
constexpr unsigned int kHelpDocumentWindow = 0x20081;

const QString kHelpMenuTitle = QStringLiteral("&Help");

}  // namespace

struct CMainFrame::CPrivate {
    std::map<int, QAction*> m_actions;
    std::map<int, std::vector<QMenu*>> m_menus;  // Menu::kNoDocument / kDocument: its popups
    int m_currentMenu = 0;
    std::array<QToolBar*, 4> m_toolBars{};
    std::array<QLabel*, 7> m_panes{};
    QLabel* m_devicePane = nullptr;  // pane 0
    std::vector<std::pair<QShortcut*, QKeyCombination>> m_shortcuts;
    QTimer* m_autosaveTimer = nullptr;
    QTimer* m_updateTimer = nullptr;
    // The pictograms are drawn for a dark palette (light outlines).
    bool m_darkIcons = false;
    // Watches the active view's widget: a view that is destroyed is no longer active.
    QPointer<QObject> m_activeViewObject;
    bool m_activeViewIsObject = false;
};

CMainFrame::CMainFrame(CQzEditApp& app, QWidget* parent)
    : QMainWindow(parent), m_app(app), d(std::make_unique<CPrivate>())
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowTitle(QStringLiteral("QzEdit"));
    m_mdiArea = new QMdiArea(this);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow*) { OnSubWindowActivated(); });
}

CMainFrame::~CMainFrame()
{
    // The document windows go first: their views still talk to the frame while they close.
    disconnect(m_mdiArea, nullptr, this, nullptr);
    if (d->m_updateTimer != nullptr)
        d->m_updateTimer->stop();
    m_activeView = nullptr;
    d->m_activeViewObject = nullptr;
    const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
    for (QMdiSubWindow* window : windows)
        delete window;
}

bool CMainFrame::Create()
{
    CreateActions();
    CreateToolBars();
    CreateStatusBar();
    CreateMenus();
    CreateAccelerators();
    RegisterCommands();

    const QByteArray state = m_app.Store().ToolBarState();
    if (!state.isEmpty())
        restoreState(state);

    d->m_autosaveTimer = new QTimer(this);
    d->m_autosaveTimer->setObjectName(QString::number(kAutosaveTimerId));
    d->m_autosaveTimer->setInterval(kAutosaveInterval);
    connect(d->m_autosaveTimer, &QTimer::timeout, this, &CMainFrame::OnAutosaveTimer);
    d->m_autosaveTimer->start();

    d->m_updateTimer = new QTimer(this);
    d->m_updateTimer->setInterval(kUpdateInterval);
    connect(d->m_updateTimer, &QTimer::timeout, this, [this] {
        if (isVisible())
            UpdateCommandUI();
    });
    d->m_updateTimer->start();

    UpdateMenus();
    UpdateCommandUI();
    return true;
}

// ---- Actions, menus, tool bars, status bar, accelerators ----

QAction* CMainFrame::EnsureAction(int id)
{
    if (const auto it = d->m_actions.find(id); it != d->m_actions.end())
        return it->second;
    auto* action = new QAction(this);
    action->setObjectName(QString::number(id));
    if (const CCommandInfo* info = FindCommand(id);
        info != nullptr && info->m_menuText != nullptr) {
        action->setText(MenuItemText(*info));
        action->setStatusTip(StatusPrompt(*info));
        action->setToolTip(ToolTipText(*info));
        // The menu item shows the pictogram as the tool-bar button does.
        action->setIcon(CommandIcon(*info, d->m_darkIcons));
    } else {
        action->setText(QString::number(id));
    }
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    d->m_actions.emplace(id, action);
    return action;
}

void CMainFrame::CreateActions()
{
    d->m_darkIcons = IsDarkPalette(palette());
    for (const CCommandInfo& info : CommandTable())
        EnsureAction(info.m_id);
}

void CMainFrame::CreateMenus()
{
    for (const int menuId : {Menu::kNoDocument, Menu::kDocument}) {
        std::vector<QMenu*>& popups = d->m_menus[menuId];
        for (const CMenuPopup& popup : MenuPopups(menuId)) {
            QMenu* menu = CreatePopup(popup, QString::number(menuId), this);
            connect(menu, &QMenu::aboutToShow, this, [this] {
                OnInitMenu();
                UpdateRecentFileItems();
                UpdateCommandUI();
            });
            popups.push_back(menu);
        }
    }
}

QMenu* CMainFrame::CreatePopup(const CMenuPopup& popup, const QString& path, QWidget* parent)
{
    auto* menu = new QMenu(QString::fromLatin1(popup.m_title), parent);
    // "129:Edit", a submenu "129:Edit:Move".
    const QString name =
        path + QLatin1Char(':') + StripMnemonic(QString::fromLatin1(popup.m_title));
    menu->setObjectName(name);
    std::size_t subMenu = 0;
    for (const int item : popup.m_items) {
        if (item == Cmd::kSeparator) {
            menu->addSeparator();
        } else if (item == Cmd::kRecentFiles) {
            for (int i = 0; i < Cmd::kRecentFileCount; ++i)
                menu->addAction(EnsureAction(Cmd::kFileMru1 + i));
        } else if (item == Cmd::kSubMenu) {
            if (subMenu < popup.m_subMenus.size())
                menu->addMenu(CreatePopup(popup.m_subMenus[subMenu++], name, menu));
        } else {
            menu->addAction(EnsureAction(item));
        }
    }
    return menu;
}

void CMainFrame::CreateToolBars()
{
    const std::span<const CToolBarInfo> bars = ToolBars();
    for (std::size_t i = 0; i < bars.size() && i < d->m_toolBars.size(); ++i) {
        const CToolBarInfo& info = bars[i];
        auto* bar = new QToolBar(QString::fromLatin1(info.m_title), this);
        bar->setObjectName(QString::number(info.m_id));
        bar->setIconSize(QSize(16, 16));
        bar->setAllowedAreas(Qt::AllToolBarAreas);
        bar->setFloatable(true);
        bar->setMovable(true);
        for (const int button : info.m_buttons) {
            if (button == Cmd::kSeparator)
                bar->addSeparator();
            else
                bar->addAction(EnsureAction(button));
        }
        d->m_toolBars[i] = bar;
    }
    // Standard on the top row; View on a new row below it with Position right of it in the same
    // row; Tool on the right edge.
    addToolBar(Qt::TopToolBarArea, d->m_toolBars[0]);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, d->m_toolBars[1]);
    addToolBar(Qt::TopToolBarArea, d->m_toolBars[2]);
    addToolBar(Qt::RightToolBarArea, d->m_toolBars[3]);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QString::number(Cmd::kViewStatusBar));
    bar->setSizeGripEnabled(true);
    // Pane 0 stretches, without a border, down to an eighth of the screen's width; messages
    // cover it while they are shown.
    auto* devicePane = new QLabel(bar);
    devicePane->setObjectName(QString::number(kDevicePaneId));
    devicePane->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    if (const QScreen* screen = this->screen())
        devicePane->setMinimumWidth(screen->geometry().width() / 8);
    bar->addWidget(devicePane, 1);
    d->m_devicePane = devicePane;
    for (std::size_t i = 0; i < kPaneIds.size(); ++i) {
        auto* pane = new QLabel(QStringLiteral(" "), bar);
        pane->setObjectName(QString::number(kPaneIds[i]));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // 50 pixels, or as wide as the longest text the engine writes there in this font (the
        // status texts would be cut at 50 pixels in most desktop fonts).
        const int textWidth =
            pane->fontMetrics().horizontalAdvance(QString::fromLatin1(kPaneSamples[i])) +
            2 * pane->frameWidth() + 6;
        pane->setFixedWidth(std::max(kPaneWidth, textWidth));
        bar->addPermanentWidget(pane);
        d->m_panes[i] = pane;
    }
    UpdatePanes();
}

void CMainFrame::CreateAccelerators()
{
    // One shortcut per key of either table; the active table decides which of them work and
    // what they send.
    for (const int table : {AccelTable::kFrame, AccelTable::kView})
        for (const CAccelerator& entry : AcceleratorEntries(table)) {
            const bool known = std::ranges::any_of(
                d->m_shortcuts, [&](const auto& item) { return item.second == entry.m_key; });
            if (known)
                continue;
            auto* shortcut = new QShortcut(QKeySequence(entry.m_key), this);
            shortcut->setContext(Qt::WindowShortcut);
            const QKeyCombination key = entry.m_key;
            connect(shortcut, &QShortcut::activated, this, [this, key] {
                if (const int id = CommandForKey(QKeySequence(key)); id != 0)
                    RouteCommand(id);
            });
            d->m_shortcuts.emplace_back(shortcut, entry.m_key);
        }
    SetAcceleratorTable(m_acceleratorTable);
}

void CMainFrame::RegisterCommands()
{
    const std::array<int, 4> toolBarCommands = {Cmd::kViewStandardToolBar, Cmd::kViewViewToolBar,
                                                Cmd::kViewPositionToolBar, Cmd::kViewToolToolBar};
    for (int i = 0; i < 4; ++i)
        AddCommand(
            toolBarCommands[static_cast<std::size_t>(i)], [this, i] { ToggleToolBar(i); },
            [this, i](CCmdUI& ui) { UpdateToolBarCommand(i, ui); });
    AddCommand(
        Cmd::kViewStatusBar, [this] { statusBar()->setVisible(statusBar()->isHidden()); },
        [this](CCmdUI& ui) {
            ui.Enable(true);
            ui.SetCheck(statusBar()->isHidden() ? 0 : 1);
        });
    AddCommand(Cmd::kHelpFinder, [this] { WinHelp(m_app, 0, kHelpCommandFinder); });
    AddCommand(Cmd::kDefaultHelp, [this] { WinHelp(m_app, 0, kHelpCommandFinder); });
    AddCommand(Cmd::kHelp, [this] { OnHelp(); });
    AddCommand(Cmd::kContextHelp, [this] { OnHelp(); });
    AddCommand(Cmd::kNextPane, [this] { ActivateNextPane(true); });
    AddCommand(Cmd::kPrevPane, [this] { ActivateNextPane(false); });
}

// ---- Documents and views ----

void CMainFrame::AddChildFrame(CChildFrame* frame)
{
    m_mdiArea->addSubWindow(frame);
    frame->showMaximized();
    m_mdiArea->setActiveSubWindow(frame);
    OnSubWindowActivated();
}

CChildFrame* CMainFrame::ActiveChildFrame() const
{
    // The current window also while the application itself is not active.
    return dynamic_cast<CChildFrame*>(m_mdiArea->currentSubWindow());
}

CQzEditDoc* CMainFrame::ActiveDocument() const
{
    CChildFrame* frame = ActiveChildFrame();
    return frame != nullptr ? &frame->Document() : nullptr;
}

CDocView* CMainFrame::ActiveView() const
{
    if (m_activeView != nullptr && d->m_activeViewIsObject && d->m_activeViewObject.isNull())
        return nullptr;  // destroyed
    return m_activeView;
}

void CMainFrame::SetActiveView(CDocView* view)
{
    m_activeView = view;
    auto* object = dynamic_cast<QObject*>(view);
    d->m_activeViewObject = object;
    d->m_activeViewIsObject = object != nullptr;
}

void CMainFrame::OnSubWindowActivated()
{
    // A document window that becomes active brings its 3D view as the active view, unless a
    // view of that window is active already.
    CChildFrame* frame = ActiveChildFrame();
    if (frame == nullptr)
        return;
    const auto* widget = dynamic_cast<QWidget*>(ActiveView());
    if (widget == nullptr || !frame->isAncestorOf(widget))
        SetActiveView(frame->View3d());
}

// ---- Menus ----

int CMainFrame::CurrentMenu() const
{
    return d->m_currentMenu;
}

void CMainFrame::UpdateMenus()
{
    const int menuId = m_app.Documents().empty() ? Menu::kNoDocument : Menu::kDocument;
    if (menuId != d->m_currentMenu) {
        QMenuBar* bar = menuBar();
        bar->clear();
        for (QMenu* popup : d->m_menus[menuId])
            bar->addMenu(popup);
        d->m_currentMenu = menuId;
    }
    UpdateRecentFileItems();
}

void CMainFrame::UpdateRecentFileItems()
{
    const QStringList& files = m_app.RecentFiles();
    for (int i = 0; i < Cmd::kRecentFileCount; ++i) {
        QAction* action = EnsureAction(Cmd::kFileMru1 + i);
        if (i < files.size()) {
            QString path = QDir::toNativeSeparators(files[i]);
            path.replace(QLatin1Char('&'), QStringLiteral("&&"));
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
            action->setVisible(true);
        } else {
            // An empty list shows the greyed placeholder in the first place.
            action->setText(QStringLiteral("Recent File"));
            action->setVisible(i == 0 && files.isEmpty());
        }
    }
}

void CMainFrame::OnInitMenu()
{
    // The Tip of the Day entry stands first in the Help menu, with a separator after it.
    QMenu* help = nullptr;
    for (QAction* item : menuBar()->actions())
        if (item->text() == kHelpMenuTitle && item->menu() != nullptr)
            help = item->menu();
    if (help == nullptr)
        return;
    QAction* tip = EnsureAction(Cmd::kTipOfTheDay);
    const QList<QAction*> items = help->actions();
    if (!items.isEmpty() && items.first()->text() == tip->text())
        return;
    QAction* first = items.isEmpty() ? nullptr : items.first();
    help->insertAction(first, tip);
    help->insertSeparator(first);
}

// ---- Routing ----

namespace {

// The routing chain, first to last.
std::array<CCommandTarget*, 4> Targets(CDocView* view, CQzEditDoc* doc, CCommandTarget* frame,
                                       CCommandTarget* app)
{
    return {dynamic_cast<CCommandTarget*>(view), doc, frame, app};
}

}  // namespace

bool CMainFrame::QueryCommand(CCmdUI& ui)
{
    for (CCommandTarget* target : Targets(ActiveView(), ActiveDocument(), this, &m_app))
        if (target != nullptr && target->OnUpdateCommand(ui))
            return true;
    return false;
}

bool CMainFrame::RouteCommand(int id)
{
    for (CCommandTarget* target : Targets(ActiveView(), ActiveDocument(), this, &m_app)) {
        if (target == nullptr || !target->HandlesCommand(id))
            continue;
        // A command whose update rule disables it does nothing, whether a stale tool-bar button
        // or a key sent it.
        CCmdUI ui(id);
        target->OnUpdateCommand(ui);
        if (!ui.m_enabled)
            return false;
        return target->OnCommand(id);
    }
    return false;
}

void CMainFrame::UpdateCommandUI()
{
    for (const auto& [id, action] : d->m_actions) {
        CCmdUI ui(id);
        const bool handled = QueryCommand(ui);
        action->setEnabled(handled && ui.m_enabled);
        if (handled && ui.m_check >= 0) {
            action->setCheckable(true);
            action->setChecked(ui.m_check != 0);
        } else if (action->isCheckable()) {
            action->setChecked(false);
        }
    }
    UpdatePanes();
}

QAction* CMainFrame::Action(int id) const
{
    const auto it = d->m_actions.find(id);
    return it != d->m_actions.end() ? it->second : nullptr;
}

// ---- Tool bars and status bar ----

QToolBar* CMainFrame::ToolBar(int id) const
{
    for (QToolBar* bar : d->m_toolBars)
        if (bar != nullptr && bar->objectName() == QString::number(id))
            return bar;
    return nullptr;
}

QLabel* CMainFrame::StatusPane(int id) const
{
    if (id == kDevicePaneId)
        return d->m_devicePane;
    for (std::size_t i = 0; i < kPaneIds.size(); ++i)
        if (kPaneIds[i] == id)
            return d->m_panes[i];
    return nullptr;
}

namespace {

int& ShownFlag(CMainFrame& frame, int index)
{
    switch (index) {
    case 0:
        return frame.m_bStandardToolBar;
    case 1:
        return frame.m_bViewToolBar;
    case 2:
        return frame.m_bPositionToolBar;
    default:
        return frame.m_bToolToolBar;
    }
}

}  // namespace

void CMainFrame::ToggleToolBar(int index)
{
    QToolBar* bar = d->m_toolBars[static_cast<std::size_t>(index)];
    int& shown = ShownFlag(*this, index);
    shown = shown != 0 ? 0 : 1;
    if (bar != nullptr)
        bar->setVisible(shown != 0);
}

void CMainFrame::UpdateToolBarCommand(int index, CCmdUI& ui)
{
    // A bar hidden some other way (closed while floating, the tool-bar context menu) reads as
    // hidden. Its own hidden state counts, not the frame's: a hidden frame hides nothing.
    const QToolBar* bar = d->m_toolBars[static_cast<std::size_t>(index)];
    int& shown = ShownFlag(*this, index);
    if (bar == nullptr || bar->isHidden())
        shown = 0;
    ui.Enable(true);
    ui.SetCheck(shown == 1 ? 1 : 0);
}

void CMainFrame::SetAcceleratorTable(int table)
{
    m_acceleratorTable = table;
    for (const auto& [shortcut, key] : d->m_shortcuts)
        shortcut->setEnabled(AcceleratorCommand(table, QKeySequence(key)) != 0);
}

int CMainFrame::CommandForKey(const QKeySequence& key) const
{
    return AcceleratorCommand(m_acceleratorTable, key);
}

void CMainFrame::SetMessageText(const QString& text)
{
    QStatusBar* bar = statusBar();
    bar->showMessage(text);
    // Long work sets a message per step ("Sector %d processed...") without returning to the
    // event loop: the bar is drawn at once, but at most every 40 ms; between those the newest
    // message is drawn with the next repaint.
    static QElapsedTimer sinceDrawn;
    if (!sinceDrawn.isValid() || sinceDrawn.elapsed() >= 40) {
        bar->repaint();
        sinceDrawn.start();
    } else {
        bar->update();
    }
}

void CMainFrame::SetStatusPanes(std::span<const std::string> texts)
{
    if (!texts.empty()) {
        m_strDevicePane = QString::fromStdString(texts[0]);
        if (d->m_devicePane != nullptr && d->m_devicePane->text() != m_strDevicePane)
            d->m_devicePane->setText(m_strDevicePane);
    }
    QString* strings[] = {&m_strGridPane, &m_strYawPane, &m_strTiltPane,     &m_strXPane,
                          &m_strYPane,    &m_strZPane,   &m_strFrameRatePane};
    for (std::size_t i = 1; i < texts.size() && i <= std::size(strings); ++i)
        *strings[i - 1] = QString::fromStdString(texts[i]);
    UpdatePanes();
    // Most frames are drawn inside a paint of this window: the bar is painted as soon as that
    // paint is done, not from within it (painting the bar in the middle of it breaks the window's
    // painting at a device pixel ratio other than 1).
    statusBar()->update();
}

void CMainFrame::UpdatePanes()
{
    QString* strings[] = {&m_strGridPane, &m_strYawPane, &m_strTiltPane,     &m_strXPane,
                          &m_strYPane,    &m_strZPane,   &m_strFrameRatePane};
    for (std::size_t i = 0; i < std::size(strings); ++i) {
        QString& text = *strings[i];
        if (text.isEmpty())
            text = QStringLiteral(" ");
        if (QLabel* pane = d->m_panes[i]; pane != nullptr && pane->text() != text)
            pane->setText(text);
    }
}

// ---- Help and panes ----

void CMainFrame::OnHelp()
{
    // F1 and Shift+F1 both ask for the help of the active view: the frame's own context, which
    // the help service replaces by that of the active view.
    WinHelp(m_app, ActiveChildFrame() != nullptr ? kHelpDocumentWindow : kHelpMainFrame);
}

void CMainFrame::ActivateNextPane(bool forward)
{
    CChildFrame* frame = ActiveChildFrame();
    if (frame == nullptr)
        return;
    // The panes in order: the three property forms top to bottom, then the 3D view.
    std::vector<QWidget*> panes;
    for (int i = 0; i < frame->LeftSplitter()->count(); ++i)
        panes.push_back(frame->LeftSplitter()->widget(i));
    panes.push_back(frame->View3d());
    std::erase(panes, nullptr);
    if (panes.empty())
        return;
    const QWidget* focus = QApplication::focusWidget();
    std::size_t current = panes.size() - 1;
    for (std::size_t i = 0; i < panes.size(); ++i)
        if (focus != nullptr && (panes[i] == focus || panes[i]->isAncestorOf(focus)))
            current = i;
    const std::size_t next =
        forward ? (current + 1) % panes.size() : (current + panes.size() - 1) % panes.size();
    QWidget* pane = panes[next];
    pane->setFocus(Qt::OtherFocusReason);
    if (auto* view = dynamic_cast<CDocView*>(pane))
        SetActiveView(view);
}

// ---- Autosave ----

void CMainFrame::OnAutosaveTimer()
{
    const int minutes = m_app.m_settings.m_autosave;
    if (minutes < 1)
        return;
    const std::vector<CQzEditDoc*> docs = m_app.Documents();
    for (CQzEditDoc* doc : docs) {
        const int old = doc->m_autosaveTicks++;
        if (old >= 2 * minutes) {
            doc->m_autosavePath = doc->MakeAutosavePath();
            doc->SaveAutosave();
            doc->m_autosaveTicks = 0;
        }
    }
}

// ---- Window events ----

void CMainFrame::closeEvent(QCloseEvent* event)
{
    const std::vector<CQzEditDoc*> docs = m_app.Documents();
    for (CQzEditDoc* doc : docs)
        if (!doc->SaveModified()) {
            // Cancelled: every document stays as it was, also one whose changes the user had
            // just chosen to discard.
            event->ignore();
            return;
        }
    // Each document was saved or its changes discarded: closing it does not ask again.
    for (CQzEditDoc* doc : docs)
        doc->SetModifiedFlag(false);
    m_app.Store().SetToolBarState(saveState());
    SetActiveView(nullptr);
    for (CQzEditDoc* doc : docs)
        if (!doc->OnCloseDocument()) {
            event->ignore();
            return;
        }
    event->accept();
}

void CMainFrame::StoreWindowRect()
{
    if (isMinimized() || isMaximized() || isFullScreen())
        return;
    const QRect rect = frameGeometry();
    m_app.m_settings.m_left = rect.x();
    m_app.m_settings.m_top = rect.y();
    m_app.m_settings.m_right = rect.x() + rect.width();
    m_app.m_settings.m_bottom = rect.y() + rect.height();
}

void CMainFrame::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    StoreWindowRect();
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    m_app.m_settings.m_maximized = isMaximized() ? 1 : 0;
    StoreWindowRect();
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        m_app.m_settings.m_maximized = isMaximized() ? 1 : 0;
        StoreWindowRect();
    }
    if (event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::ApplicationPaletteChange) {
        // A light palette turned dark or back: the tool bars and menus get pictograms whose
        // outlines read on the new window colour.
        const bool dark = IsDarkPalette(palette());
        if (dark != d->m_darkIcons) {
            d->m_darkIcons = dark;
            for (const auto& [id, action] : d->m_actions)
                if (const CCommandInfo* info = FindCommand(id); info != nullptr)
                    action->setIcon(CommandIcon(*info, dark));
        }
    }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (mime != nullptr && mime->hasUrls() &&
        std::ranges::any_of(mime->urls(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
    else
        QMainWindow::dragEnterEvent(event);
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QMimeData* mime = event->mimeData();
    if (mime == nullptr || !mime->hasUrls()) {
        QMainWindow::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            m_app.OpenDocumentFile(url.toLocalFile());
}
