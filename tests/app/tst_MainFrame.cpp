// The main frame: its two menus with the recent files and the Tip of the Day entry, the four
// tool bars and their show commands, the status panes, command routing, the accelerator tables,
// the autosave rule and the window rectangle rule.

#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/CommandTarget.h"
#include "app/DocView.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <string>
#include <vector>

namespace {

// A document whose commands a test chooses.
class CTestDoc : public CQzEditDoc {
public:
    using CQzEditDoc::CQzEditDoc;
    void Add(int id, std::function<void()> run, std::function<void(CCmdUI&)> update = {})
    {
        AddCommand(id, std::move(run), std::move(update));
    }
};

// A view whose commands a test chooses.
class CTestView : public QWidget, public CDocView, public CCommandTarget {
public:
    void OnUpdate(CDocView*, long) override {}
    void Add(int id, std::function<void()> run) { AddCommand(id, std::move(run)); }
};

class MainFrameTest : public AppTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }

    // The visible items of a popup: "text#id", "-" for a separator.
    static std::vector<QString> Items(const QMenu* menu)
    {
        std::vector<QString> items;
        for (const QAction* action : menu->actions()) {
            if (!action->isVisible())
                continue;
            if (action->isSeparator())
                items.push_back(QStringLiteral("-"));
            else
                items.push_back(action->text() + QLatin1Char('#') + action->objectName());
        }
        return items;
    }

    QMenu* Popup(const QString& title)
    {
        for (QAction* action : Frame().menuBar()->actions())
            if (action->text() == title)
                return action->menu();
        return nullptr;
    }

    std::vector<QString> Titles()
    {
        std::vector<QString> titles;
        for (QAction* action : Frame().menuBar()->actions())
            titles.push_back(action->text());
        return titles;
    }

    // Opens and closes a popup as the user does.
    static void OpenMenu(QMenu* menu)
    {
        menu->popup(QPoint(0, 0));
        QApplication::processEvents();
        menu->hide();
        QApplication::processEvents();
    }

    // Closes a document's window and the document without asking.
    void CloseDocument(CQzEditDoc* doc)
    {
        if (CChildFrame* frame = doc->Frame())
            frame->Destroy();
        m_app->RemoveDocument(doc);
        QApplication::processEvents();
    }
};

std::vector<QString> Strings(std::initializer_list<QString> texts)
{
    return texts;
}

// A tool bar's buttons as the tests read them: the ids, "|" for a separator.
std::vector<QString> Ids(std::initializer_list<int> ids)
{
    std::vector<QString> strings;
    for (const int id : ids)
        strings.push_back(id == Cmd::kSeparator ? QStringLiteral("|") : Id(id));
    return strings;
}

TEST_F(MainFrameTest, StartsAndShows)
{
    CQzEditApp& app = MakeApp();
    ASSERT_NE(app.m_pMainFrame, nullptr);
    CMainFrame& frame = *app.m_pMainFrame;
    EXPECT_EQ(frame.objectName(), QStringLiteral("CMainFrame"));
    frame.show();
    QApplication::processEvents();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_GT(frame.width(), 0);

    // The autosave timer.
    const auto* timer = frame.findChild<QTimer*>(QStringLiteral("100"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 30000);
}

TEST_F(MainFrameTest, MenusWithoutAndWithADocument)
{
    MakeApp();
    EXPECT_EQ(Frame().CurrentMenu(), Menu::kNoDocument);
    EXPECT_EQ(Titles(), Strings({"&File", "&View", "&Tools", "&Help"}));
    EXPECT_EQ(
        Items(Popup(QStringLiteral("&File"))),
        Strings({Item("&New\tCtrl+N", Cmd::kFileNew), Item("&Open...\tCtrl+O", Cmd::kFileOpen), "-",
                 Item("Recent File", Cmd::kFileMru1), "-", Item("E&xit", Cmd::kAppExit)}));
    EXPECT_EQ(Items(Popup(QStringLiteral("&View"))),
              Strings({Item("&Standard Toolbar", Cmd::kViewStandardToolBar),
                       Item("&View Toolbar", Cmd::kViewViewToolBar),
                       Item("&Tool Toolbar", Cmd::kViewToolToolBar),
                       Item("&Status Bar", Cmd::kViewStatusBar)}));
    EXPECT_EQ(Items(Popup(QStringLiteral("&Tools"))),
              Strings({Item("&Select Product...", Cmd::kSelectProduct), "-",
                       Item("&File Manager...", Cmd::kFileManager),
                       Item("Template &Manager...", Cmd::kTemplateManager), "-",
                       Item("Multi &Level Editor...", Cmd::kMultiLevelEditor)}));
    const std::vector<QString> help =
        Strings({Item("&Help Topics", Cmd::kHelpFinder), Item("Help &Index", Cmd::kHelpIndex),
                 Item("Help &Tutorial's", Cmd::kHelpTutorials), Item("Help &FAQ's", Cmd::kHelpFaqs),
                 "-", Item("&About QzEdit...", Cmd::kAppAbout)});
    EXPECT_EQ(Items(Popup(QStringLiteral("&Help"))), help);

    // An empty recent-file list shows its greyed place holder.
    Frame().UpdateCommandUI();
    EXPECT_FALSE(Frame().Action(Cmd::kFileMru1)->isEnabled());

    CQzEditDoc* doc = m_app->NewDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Frame().CurrentMenu(), Menu::kDocument);
    // Every popup's items are checked against the editor's lists in tst_Menus.
    EXPECT_EQ(Titles(), Strings({"&File", "&Edit", "&View", "&Level", "&Tools", "&Create",
                                 "L&ibrary", "&Help"}));
    EXPECT_EQ(
        Items(Popup(QStringLiteral("&File"))),
        Strings({Item("&New\tCtrl+N", Cmd::kFileNew), Item("&Open...\tCtrl+O", Cmd::kFileOpen),
                 Item("&Close", Cmd::kFileClose), Item("&Save\tCtrl+S", Cmd::kFileSave),
                 Item("Save &As...", Cmd::kFileSaveAs), "-", Item("Recent File", Cmd::kFileMru1),
                 "-", Item("E&xit", Cmd::kAppExit)}));
    EXPECT_EQ(Items(Popup(QStringLiteral("&Help"))), help);

    CloseDocument(doc);
    EXPECT_EQ(Frame().CurrentMenu(), Menu::kNoDocument);
    EXPECT_EQ(Items(Popup(QStringLiteral("&Tools"))).size(), 6U);
}

TEST_F(MainFrameTest, RecentFilesInTheFileMenu)
{
    MakeApp();
    const QString first = QString::fromStdString((Temp() / "first.qze").string());
    const QString second = QString::fromStdString((Temp() / "R&D.qze").string());
    m_app->AddToRecentFileList(first);
    m_app->AddToRecentFileList(second);
    QString escaped = second;
    escaped.replace(QStringLiteral("&"), QStringLiteral("&&"));
    const std::vector<QString> expected = {Item("&New\tCtrl+N", Cmd::kFileNew),
                                           Item("&Open...\tCtrl+O", Cmd::kFileOpen),
                                           QStringLiteral("-"),
                                           Item("&1 ", Cmd::kFileMru1).insert(3, escaped),
                                           Item("&2 ", Cmd::kFileMru1 + 1).insert(3, first),
                                           QStringLiteral("-"),
                                           Item("E&xit", Cmd::kAppExit)};
    EXPECT_EQ(Items(Popup(QStringLiteral("&File"))), expected);
    Frame().UpdateCommandUI();
    EXPECT_TRUE(Frame().Action(Cmd::kFileMru1)->isEnabled());
    EXPECT_TRUE(Frame().Action(Cmd::kFileMru1 + 1)->isEnabled());
}

TEST_F(MainFrameTest, TipOfTheDayStandsFirstInTheHelpMenuOnce)
{
    MakeApp();
    QMenu* help = Popup(QStringLiteral("&Help"));
    ASSERT_NE(help, nullptr);
    // Opening any top-level menu places it, twice adds nothing more.
    OpenMenu(Popup(QStringLiteral("&File")));
    OpenMenu(help);
    const std::vector<QString> items = Items(help);
    ASSERT_EQ(items.size(), 8U);
    EXPECT_EQ(items[0], Item("Ti&p of the Day...", Cmd::kTipOfTheDay));
    EXPECT_EQ(items[1], QStringLiteral("-"));
    EXPECT_EQ(items[2], Item("&Help Topics", Cmd::kHelpFinder));
    EXPECT_EQ(Frame().Action(Cmd::kTipOfTheDay)->statusTip(),
              QStringLiteral("Displays a Tip of the Day."));

    // The document menu's Help gets it too.
    CQzEditDoc* doc = m_app->NewDocument();
    OpenMenu(Popup(QStringLiteral("&Help")));
    OpenMenu(Popup(QStringLiteral("&View")));
    EXPECT_EQ(Items(Popup(QStringLiteral("&Help"))), items);
    CloseDocument(doc);
}

std::vector<QString> Buttons(const QToolBar* bar)
{
    std::vector<QString> buttons;
    for (const QAction* action : bar->actions())
        buttons.push_back(action->isSeparator() ? QStringLiteral("|") : action->objectName());
    return buttons;
}

TEST_F(MainFrameTest, FourToolBarsWithTheirButtons)
{
    MakeApp();
    CMainFrame& frame = Frame();
    frame.resize(1200, 900);
    frame.show();
    QApplication::processEvents();

    struct Case {
        int id;
        const char* title;
        Qt::ToolBarArea area;
        std::vector<QString> buttons;
    };
    const std::vector<Case> cases = {
        {Ctl::kStandardToolBar, "Standard Toolbar", Qt::TopToolBarArea,
         Ids({Cmd::kFileNew,
              Cmd::kFileOpen,
              Cmd::kFileSave,
              Cmd::kSeparator,
              Cmd::kContextHelp,
              Cmd::kSeparator,
              Cmd::kEditCut,
              Cmd::kEditCopy,
              Cmd::kEditPaste,
              Cmd::kSeparator,
              Cmd::kEditUndo,
              Cmd::kEditRedo,
              Cmd::kSeparator,
              Cmd::kLink,
              Cmd::kUnlink,
              Cmd::kSeparator,
              Cmd::kAllSectorsRendered,
              Cmd::kAllSectorsWireframes,
              Cmd::kSectorRenderedWireframes,
              Cmd::kSectorRendered,
              Cmd::kSectorWireframe,
              Cmd::kSeparator,
              Cmd::kSectorMode,
              Cmd::kLight,
              Cmd::kSeparator,
              Cmd::kSurfaceMode,
              Cmd::kTexturing,
              Cmd::kVertexMode,
              Cmd::kObjectMode,
              Cmd::kSeparator,
              Cmd::kAdjoinRendering,
              Cmd::kObjectRendering,
              Cmd::kSeparator,
              Cmd::kCollision,
              Cmd::kLockSector})},
        {Ctl::kViewToolBar, "View Toolbar", Qt::TopToolBarArea,
         Ids({Cmd::kStepForward, Cmd::kStepBackward, Cmd::kResetCamera, Cmd::kSeparator,
              Cmd::kGridSmaller, Cmd::kGridLarger, Cmd::kGridOn, Cmd::kGridSurfaceOnly,
              Cmd::kGridEdgesOnly, Cmd::kSeparator, Cmd::kNodesLarger, Cmd::kNodesSmaller,
              Cmd::kSeparator, Cmd::kFindItem, Cmd::kSeparator, Cmd::kTextureCoordinates,
              Cmd::kEnlargeView, Cmd::kUpdateVertices})},
        {Ctl::kPositionToolBar, "Position Toolbar", Qt::TopToolBarArea,
         Ids({Cmd::kMoveUpY, Cmd::kMoveDownY, Cmd::kMoveRightX, Cmd::kMoveLeftX, Cmd::kMoveRightZ,
              Cmd::kMoveLeftZ, Cmd::kSeparator, Cmd::kRotateLeftY, Cmd::kRotateRightY,
              Cmd::kRotateLeftX, Cmd::kRotateRightX, Cmd::kRotateLeftZ, Cmd::kRotateRightZ})},
        {Ctl::kToolToolBar, "Tool Toolbar", Qt::RightToolBarArea,
         Ids({Cmd::kSplit,
              Cmd::kSplitByPolygon,
              Cmd::kSeparator,
              Cmd::kMergeSurfaces,
              Cmd::kMergeSectors,
              Cmd::kSeparator,
              Cmd::kCarve,
              Cmd::kExtrudeSurface,
              Cmd::kExpandSurface,
              Cmd::kSeparator,
              Cmd::kCreateLight,
              Cmd::kCreateDoor,
              Cmd::kCreateElevator,
              Cmd::kCreateStairs,
              Cmd::kCreateRectangle,
              Cmd::kCreateCylinder,
              Cmd::kCreatePyramid,
              Cmd::kCreateDome,
              Cmd::kCreateLayer,
              Cmd::kCreateLandscape,
              Cmd::kCreateWater,
              Cmd::kCreateForceField,
              Cmd::kCreateBreakingGlass,
              Cmd::kCreateSlashableGrate,
              Cmd::kCreateSwitch,
              Cmd::kCreateConveyorBelt})},
    };
    for (const Case& c : cases) {
        auto* bar = frame.findChild<QToolBar*>(Id(c.id));
        ASSERT_NE(bar, nullptr) << c.id;
        EXPECT_EQ(bar, frame.ToolBar(c.id));
        EXPECT_EQ(bar->windowTitle(), QString::fromLatin1(c.title));
        EXPECT_EQ(frame.toolBarArea(bar), c.area) << c.id;
        EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
        EXPECT_EQ(bar->iconSize(), QSize(16, 16));
        EXPECT_EQ(Buttons(bar), c.buttons) << c.id;
        for (const QAction* action : bar->actions())
            if (!action->isSeparator()) {
                EXPECT_FALSE(action->icon().isNull()) << action->objectName().toStdString();
            }
    }
    EXPECT_EQ(frame.Action(Cmd::kFileNew)->toolTip(), QStringLiteral("New (Ctrl+N)"));
    EXPECT_EQ(frame.Action(Cmd::kNodesLarger)->toolTip(), QStringLiteral("Nodes/Vertices larger"));

    // View on a row of its own below Standard; Position right of View in that row.
    QToolBar* standard = frame.ToolBar(Ctl::kStandardToolBar);
    QToolBar* view = frame.ToolBar(Ctl::kViewToolBar);
    QToolBar* position = frame.ToolBar(Ctl::kPositionToolBar);
    EXPECT_TRUE(frame.toolBarBreak(view));
    EXPECT_FALSE(frame.toolBarBreak(position));
    EXPECT_GT(view->y(), standard->y());
    EXPECT_EQ(position->y(), view->y());
    EXPECT_GT(position->x(), view->x());
}

TEST_F(MainFrameTest, ShowCommandsFollowTheirBars)
{
    MakeApp();
    CMainFrame& frame = Frame();
    const struct {
        int command;
        int bar;
        int CMainFrame::*flag;
    } cases[] = {
        {Cmd::kViewStandardToolBar, Ctl::kStandardToolBar, &CMainFrame::m_bStandardToolBar},
        {Cmd::kViewViewToolBar, Ctl::kViewToolBar, &CMainFrame::m_bViewToolBar},
        {Cmd::kViewPositionToolBar, Ctl::kPositionToolBar, &CMainFrame::m_bPositionToolBar},
        {Cmd::kViewToolToolBar, Ctl::kToolToolBar, &CMainFrame::m_bToolToolBar},
    };
    for (const auto& c : cases) {
        QToolBar* bar = frame.ToolBar(c.bar);
        QAction* action = frame.Action(c.command);
        frame.UpdateCommandUI();
        EXPECT_TRUE(action->isEnabled());
        EXPECT_TRUE(action->isChecked()) << c.command;

        // Closed some other way (its close box while floating): the command reads unchecked...
        bar->hide();
        frame.UpdateCommandUI();
        EXPECT_EQ(frame.*c.flag, 0);
        EXPECT_FALSE(action->isChecked()) << c.command;
        // ... and shows it again.
        EXPECT_TRUE(frame.RouteCommand(c.command));
        EXPECT_FALSE(bar->isHidden());
        EXPECT_EQ(frame.*c.flag, 1);
        frame.UpdateCommandUI();
        EXPECT_TRUE(action->isChecked());
        // The command hides it at once.
        action->trigger();
        EXPECT_TRUE(bar->isHidden()) << c.command;
        frame.UpdateCommandUI();
        EXPECT_FALSE(action->isChecked());
        EXPECT_TRUE(frame.RouteCommand(c.command));
    }

    QAction* status = frame.Action(Cmd::kViewStatusBar);
    frame.UpdateCommandUI();
    EXPECT_TRUE(status->isChecked());
    EXPECT_TRUE(frame.RouteCommand(Cmd::kViewStatusBar));
    EXPECT_TRUE(frame.statusBar()->isHidden());
    frame.UpdateCommandUI();
    EXPECT_FALSE(status->isChecked());
    EXPECT_TRUE(frame.RouteCommand(Cmd::kViewStatusBar));
    EXPECT_FALSE(frame.statusBar()->isHidden());
}

TEST_F(MainFrameTest, EightStatusPanes)
{
    MakeApp();
    CMainFrame& frame = Frame();
    frame.resize(1000, 700);
    frame.show();
    QApplication::processEvents();
    QStatusBar* bar = frame.statusBar();
    EXPECT_EQ(bar->objectName(), Id(Cmd::kViewStatusBar));

    const int ids[] = {Ctl::kGridPane, Ctl::kYawPane, Ctl::kTiltPane, Ctl::kXPane,
                       Ctl::kYPane,    Ctl::kZPane,   Ctl::kLayerPane};
    int lastX = -1;
    for (const int id : ids) {
        auto* pane = bar->findChild<QLabel*>(QString::number(id));
        ASSERT_NE(pane, nullptr) << id;
        EXPECT_EQ(pane, frame.StatusPane(id));
        // 50 pixels at least, and wide enough for the engine's longest texts.
        EXPECT_GE(pane->width(), 50) << id;
        if (id == Ctl::kXPane || id == Ctl::kYPane || id == Ctl::kZPane) {
            EXPECT_GE(pane->contentsRect().width(),
                      pane->fontMetrics().horizontalAdvance(QStringLiteral("X: -1234.56")))
                << id;
        }
        EXPECT_EQ(pane->frameShadow(), QFrame::Sunken);
        EXPECT_EQ(pane->text(), QStringLiteral(" ")) << id;
        EXPECT_GT(pane->x(), lastX) << id;  // in this order, left to right
        lastX = pane->x();
    }

    const std::vector<std::string> texts = {"OpenGL", "Grid 0.1", "12",   "",
                                            "1.00",   "-2.50",    "3.25", "20"};
    frame.SetStatusPanes(texts);
    QLabel* devicePane = frame.StatusPane(0);
    ASSERT_NE(devicePane, nullptr);
    EXPECT_EQ(devicePane, bar->findChild<QLabel*>(QStringLiteral("0")));
    EXPECT_EQ(devicePane->text(), QStringLiteral("OpenGL"));
    EXPECT_EQ(frame.m_strDevicePane, QStringLiteral("OpenGL"));
    EXPECT_LT(devicePane->x(), frame.StatusPane(ids[0])->x());  // pane 0 is the leftmost
    const char* expected[] = {"Grid 0.1", "12", " ", "1.00", "-2.50", "3.25", "20"};
    for (std::size_t i = 0; i < std::size(ids); ++i)
        EXPECT_EQ(frame.StatusPane(ids[i])->text(), QString::fromLatin1(expected[i])) << ids[i];
    EXPECT_EQ(frame.m_strGridPane, QStringLiteral("Grid 0.1"));
    EXPECT_EQ(frame.m_strTiltPane, QStringLiteral(" "));

    // A short list changes only the panes it names.
    frame.SetStatusPanes(std::vector<std::string>{"Ready", "Grid 0.2"});
    EXPECT_EQ(frame.StatusPane(Ctl::kGridPane)->text(), QStringLiteral("Grid 0.2"));
    EXPECT_EQ(frame.StatusPane(Ctl::kLayerPane)->text(), QStringLiteral("20"));
    EXPECT_EQ(devicePane->text(), QStringLiteral("Ready"));

    // A message covers the device's name and stays through the frames that follow until another
    // message replaces it; an empty message uncovers the device's name again.
    frame.SetMessageText(QStringLiteral("Sector 3 processed..."));
    frame.SetStatusPanes(texts);
    EXPECT_EQ(bar->currentMessage(), QStringLiteral("Sector 3 processed..."));
    EXPECT_FALSE(devicePane->isVisible());
    frame.SetMessageText(QStringLiteral("Device"));
    EXPECT_EQ(bar->currentMessage(), QStringLiteral("Device"));
    frame.SetMessageText(QString());
    EXPECT_TRUE(bar->currentMessage().isEmpty());
    EXPECT_TRUE(devicePane->isVisible());
    EXPECT_EQ(devicePane->text(), QStringLiteral("OpenGL"));
}

// A long pass sets a message per step without returning to the event loop: the bar shows the
// first at once, then is drawn at most every 40 ms (20,000 synchronous repaints made opening a
// large level take seconds), and the newest message is the one that stays.
TEST_F(MainFrameTest, MessagesOfALongPassAreDrawnAtMostEvery40Ms)
{
    MakeApp();
    CMainFrame& frame = Frame();
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    QStatusBar* bar = frame.statusBar();
    QTest::qWait(50);

    struct CPaintCounter : QObject {
        int m_paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            m_paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    bar->installEventFilter(&counter);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 3000; ++i)
        frame.SetMessageText(QStringLiteral("Sector %1 processed...").arg(i));
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(counter.m_paints, 1);
    EXPECT_LE(counter.m_paints, elapsed / 40 + 2) << elapsed << " ms";
    EXPECT_EQ(bar->currentMessage(), QStringLiteral("Sector 2999 processed..."));
    bar->removeEventFilter(&counter);
}

TEST_F(MainFrameTest, RoutingViewThenDocumentThenFrameThenApplication)
{
    MakeApp();
    CMainFrame& frame = Frame();

    // Nobody handles Split without a document: disabled, and routing it does nothing.
    frame.UpdateCommandUI();
    EXPECT_FALSE(frame.Action(Cmd::kSplit)->isEnabled());
    EXPECT_FALSE(frame.RouteCommand(Cmd::kSplit));
    EXPECT_TRUE(frame.Action(Cmd::kFileOpen)->isEnabled());  // the application's Open

    {
        CTestDoc doc(*m_app);
        int docNew = 0;
        doc.Add(Cmd::kFileNew, [&] { ++docNew; });
        doc.Add(
            Cmd::kFileOpen, [] { ADD_FAILURE() << "disabled command ran"; },
            [](CCmdUI& ui) { ui.Enable(false); });
        auto* child = new CChildFrame(doc);
        frame.AddChildFrame(child);
        ASSERT_EQ(frame.ActiveDocument(), &doc);
        EXPECT_EQ(frame.ActiveView(), dynamic_cast<CDocView*>(child->View3d()));

        // The document comes before the application.
        EXPECT_TRUE(frame.RouteCommand(Cmd::kFileNew));
        EXPECT_EQ(docNew, 1);
        EXPECT_TRUE(m_app->Documents().empty());
        // Its update rule disables the application's Open; routing a disabled command does
        // nothing (no file dialog).
        frame.UpdateCommandUI();
        EXPECT_FALSE(frame.Action(Cmd::kFileOpen)->isEnabled());
        EXPECT_FALSE(frame.RouteCommand(Cmd::kFileOpen));
        EXPECT_TRUE(m_fileDialogs.isEmpty());

        // The active view comes before the document.
        {
            CTestView view;
            int viewNew = 0;
            view.Add(Cmd::kFileNew, [&] { ++viewNew; });
            frame.SetActiveView(&view);
            frame.Action(Cmd::kFileNew)->trigger();
            EXPECT_EQ(viewNew, 1);
            EXPECT_EQ(docNew, 1);
        }
        // A destroyed view is no longer active.
        EXPECT_EQ(frame.ActiveView(), nullptr);
        EXPECT_TRUE(frame.RouteCommand(Cmd::kFileNew));
        EXPECT_EQ(docNew, 2);

        delete child;  // before the document
    }
    EXPECT_EQ(frame.ActiveDocument(), nullptr);
    frame.UpdateCommandUI();
    EXPECT_TRUE(frame.Action(Cmd::kFileOpen)->isEnabled());
}

TEST_F(MainFrameTest, AcceleratorTablesSwap)
{
    MakeApp();
    CMainFrame& frame = Frame();
    EXPECT_EQ(frame.AcceleratorTable(), AccelTable::kFrame);
    const QKeySequence plainC(Qt::Key_C);
    const QKeySequence ctrlC(Qt::ControlModifier | Qt::Key_C);
    EXPECT_EQ(frame.CommandForKey(ctrlC), Cmd::kEditCopy);
    EXPECT_EQ(frame.CommandForKey(plainC), 0);
    frame.SetAcceleratorTable(AccelTable::kView);
    EXPECT_EQ(frame.AcceleratorTable(), AccelTable::kView);
    EXPECT_EQ(frame.CommandForKey(plainC), Cmd::kEditCopy);
    EXPECT_EQ(frame.CommandForKey(QKeySequence(Qt::Key_U)), Cmd::kPanUp);
    frame.SetAcceleratorTable(AccelTable::kFrame);
    EXPECT_EQ(frame.CommandForKey(QKeySequence(Qt::Key_U)), 0);
}

TEST_F(MainFrameTest, KeysSendTheirCommandsThroughTheActiveTable)
{
    MakeApp();
    CMainFrame& frame = Frame();
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));

    auto* view = new CTestView;
    view->setParent(&frame);
    int up = 0;
    view->Add(Cmd::kPanUp, [&] { ++up; });
    frame.SetActiveView(view);

    // "U" pans the camera only while the 3D view's table is active.
    QTest::keyClick(&frame, Qt::Key_U);
    EXPECT_EQ(up, 0);
    frame.SetAcceleratorTable(AccelTable::kView);
    QTest::keyClick(&frame, Qt::Key_U);
    EXPECT_EQ(up, 1);
    frame.SetAcceleratorTable(AccelTable::kFrame);

    // Ctrl+O works in either table: the application's Open asks for a file.
    QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(m_fileDialogs.size(), 1);
    frame.SetAcceleratorTable(AccelTable::kView);
    QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(m_fileDialogs.size(), 2);
    frame.SetActiveView(nullptr);
    delete view;
}

TEST_F(MainFrameTest, AutosaveRule)
{
    struct Case {
        int minutes;
        int firstSave;  // tick of the first autosave; 0: never
    };
    const Case cases[] = {{1, 3}, {2, 5}, {10, 21}, {0, 0}, {-3, 0}};
    for (const Case& c : cases) {
        MakeApp();
        m_app->m_settings.m_autosave = c.minutes;
        CQzEditDoc* doc = m_app->NewDocument();
        ASSERT_NE(doc, nullptr);
        doc->SetPathName(QString::fromStdString((Temp() / "level.qze").string()), false);
        const int limit = c.firstSave == 0 ? 30 : c.firstSave;
        for (int tick = 1; tick <= limit; ++tick) {
            Frame().OnAutosaveTimer();
            const bool saved = tick == c.firstSave;
            EXPECT_EQ(doc->m_autosavePath.isEmpty(), !saved) << c.minutes << " tick " << tick;
            if (c.firstSave == 0) {
                EXPECT_EQ(doc->m_autosaveTicks, 0) << c.minutes;  // the counter stays
            }
        }
        if (c.firstSave != 0) {
            EXPECT_EQ(doc->m_autosavePath, doc->MakeAutosavePath());
            EXPECT_EQ(doc->m_autosaveTicks, 0);
            // Then again every 2 * minutes + 1 ticks.
            doc->m_autosavePath.clear();
            for (int tick = 1; tick < c.firstSave; ++tick)
                Frame().OnAutosaveTimer();
            EXPECT_TRUE(doc->m_autosavePath.isEmpty()) << c.minutes;
            Frame().OnAutosaveTimer();
            EXPECT_FALSE(doc->m_autosavePath.isEmpty()) << c.minutes;
        }
        CloseDocument(doc);
        m_app.reset();
    }
}

TEST_F(MainFrameTest, WindowRectangleRule)
{
    MakeApp();
    CMainFrame& frame = Frame();
    CSettings& settings = m_app->m_settings;
    frame.showNormal();
    frame.setGeometry(120, 80, 800, 600);
    QApplication::processEvents();
    const QRect normal = frame.frameGeometry();
    EXPECT_EQ(settings.m_left, normal.x());
    EXPECT_EQ(settings.m_top, normal.y());
    EXPECT_EQ(settings.m_right, normal.x() + normal.width());
    EXPECT_EQ(settings.m_bottom, normal.y() + normal.height());
    EXPECT_EQ(settings.m_maximized, 0);

    frame.showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(frame.isMaximized());
    EXPECT_EQ(settings.m_maximized, 1);
    // Moves and size changes while maximised leave the normal rectangle alone.
    QMoveEvent move(QPoint(5, 5), frame.pos());
    QApplication::sendEvent(&frame, &move);
    QResizeEvent resize(QSize(1280, 1024), frame.size());
    QApplication::sendEvent(&frame, &resize);
    EXPECT_EQ(settings.m_left, normal.x());
    EXPECT_EQ(settings.m_top, normal.y());
    EXPECT_EQ(settings.m_right, normal.x() + normal.width());
    EXPECT_EQ(settings.m_bottom, normal.y() + normal.height());
    EXPECT_EQ(settings.m_maximized, 1);

    frame.showNormal();
    QApplication::processEvents();
    EXPECT_EQ(settings.m_maximized, 0);
}

TEST_F(MainFrameTest, ActiveViewFollowsTheDocumentWindow)
{
    MakeApp();
    CMainFrame& frame = Frame();
    EXPECT_EQ(frame.ActiveView(), nullptr);
    CQzEditDoc* first = m_app->NewDocument();
    CQzEditDoc* second = m_app->NewDocument();
    EXPECT_EQ(frame.ActiveDocument(), second);
    EXPECT_EQ(frame.ActiveView(), dynamic_cast<CDocView*>(second->Frame()->View3d()));
    frame.MdiArea()->setActiveSubWindow(first->Frame());
    EXPECT_EQ(frame.ActiveDocument(), first);
    EXPECT_EQ(frame.ActiveView(), dynamic_cast<CDocView*>(first->Frame()->View3d()));
    frame.SetActiveView(nullptr);
    EXPECT_EQ(frame.ActiveView(), nullptr);
    CloseDocument(second);
    CloseDocument(first);
    EXPECT_EQ(frame.ActiveDocument(), nullptr);
    EXPECT_EQ(frame.CurrentMenu(), Menu::kNoDocument);
}

TEST_F(MainFrameTest, CloseWithoutDocumentsEndsTheFrame)
{
    MakeApp();
    CMainFrame& frame = Frame();
    frame.show();
    QApplication::processEvents();
    EXPECT_TRUE(frame.close());
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(frame.ActiveView(), nullptr);
}

TEST_F(MainFrameTest, CloseAsksEachModifiedDocumentOnce)
{
    MakeApp();
    CQzEditDoc* first = m_app->NewDocument();
    CQzEditDoc* second = m_app->NewDocument();
    first->SetModifiedFlag(true);
    second->SetModifiedFlag(true);
    // A modified document asks before it closes; Cancel keeps it.
    m_answers = {QMessageBox::Cancel};
    EXPECT_FALSE(first->SaveModified());
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(first->IsModified());
    m_messages.clear();

    // No for the first, Cancel for the second: nothing closes, and the first keeps its changes
    // marked as unsaved.
    m_answers = {QMessageBox::No, QMessageBox::Cancel};
    EXPECT_FALSE(Frame().close());
    EXPECT_EQ(m_app->Documents().size(), 2U);
    EXPECT_TRUE(first->IsModified());
    EXPECT_TRUE(second->IsModified());

    // No for both: each is asked once, and both close with the frame.
    m_messages.clear();
    m_answers = {QMessageBox::No, QMessageBox::No};
    EXPECT_TRUE(Frame().close());
    EXPECT_EQ(m_messages.size(), 2);
    EXPECT_TRUE(m_app->Documents().empty());
    EXPECT_EQ(Frame().ActiveView(), nullptr);
}

}  // namespace
