// The main frame: menus 128 and 129 with the recent files and the Tip of the Day entry, the four
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

std::vector<QString> Strings(std::initializer_list<const char*> texts)
{
    std::vector<QString> strings;
    for (const char* text : texts)
        strings.push_back(QString::fromUtf8(text));
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
    EXPECT_EQ(Frame().CurrentMenu(), 128);
    EXPECT_EQ(Titles(), Strings({"&File", "&View", "&Tools", "&Help"}));
    EXPECT_EQ(Items(Popup(QStringLiteral("&File"))),
              Strings({"&New\tCtrl+N#57600", "&Open...\tCtrl+O#57601", "-", "Recent File#57616",
                       "-", "E&xit#57665"}));
    EXPECT_EQ(Items(Popup(QStringLiteral("&View"))),
              Strings({"&Standard Toolbar#59392", "&View Toolbar#32835", "&Tool Toolbar#32860",
                       "&Status Bar#59393"}));
    EXPECT_EQ(Items(Popup(QStringLiteral("&Tools"))),
              Strings({"&Select Product...#2007", "-", "&File Manager...#32772",
                       "Template &Manager...#2077", "-", "Multi &Level Editor...#2078"}));
    const std::vector<QString> help =
        Strings({"&Help Topics#57667", "Help &Index#57666", "Help &Tutorial's#2054",
                 "Help &FAQ's#2053", "-", "&About QzEdit...#57664"});
    EXPECT_EQ(Items(Popup(QStringLiteral("&Help"))), help);

    // An empty recent-file list shows its greyed place holder.
    Frame().UpdateCommandUI();
    EXPECT_FALSE(Frame().Action(57616)->isEnabled());

    CQzEditDoc* doc = m_app->NewDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Frame().CurrentMenu(), 129);
    EXPECT_EQ(Titles(), Strings({"&File", "&View", "&Tools", "&Help"}));
    EXPECT_EQ(Items(Popup(QStringLiteral("&File"))),
              Strings({"&New\tCtrl+N#57600", "&Open...\tCtrl+O#57601", "&Close#57602",
                       "&Save\tCtrl+S#57603", "Save &As...#57604", "-", "Recent File#57616", "-",
                       "E&xit#57665"}));
    EXPECT_EQ(Items(Popup(QStringLiteral("&View"))),
              Strings({"&Standard Toolbar#59392",
                       "&View Toolbar#32835",
                       "&Position Toolbar#2064",
                       "&Tool Toolbar#32860",
                       "&Status Bar#59393",
                       "-",
                       "&Sector\tM#32776",
                       "&Light#2039",
                       "Sur&face#32779",
                       "&Texturing#2005",
                       "&Vertex#32798",
                       "&Object#32781",
                       "-",
                       "All Sectors Rendered#2001",
                       "Sector Rendered && Wireframes#2002",
                       "All Sectors as Wireframes#2003",
                       "Sector Rendered#2004",
                       "Sector as Wireframe#2008",
                       "-",
                       "&Foreward#32784",
                       "&Backward#32778",
                       "&Middle#32842",
                       "-",
                       "&On\tG#32789",
                       "S&urface Only#2109",
                       "&Edges Only#2111",
                       "&Smaller#32786",
                       "&Larger#32787",
                       "Make grid nodes && vertices larger#2067",
                       "Make grid nodes && vertices smaller#2068",
                       "-",
                       "Ad&join Rendering\tJ#2049",
                       "O&bject Rendering\tB#2052",
                       "&Collison Detection\tQ#2027",
                       "L&ock Sector\tX#2113",
                       "Enlarge Vie&w\tW#2055"}));
    EXPECT_EQ(Items(Popup(QStringLiteral("&Tools"))),
              Strings({"&File Manager...#32772", "Template &Manager...#2077", "-",
                       "&Hidden Sector Removal...\tH#2047"}));
    EXPECT_EQ(Items(Popup(QStringLiteral("&Help"))), help);

    CloseDocument(doc);
    EXPECT_EQ(Frame().CurrentMenu(), 128);
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
    const std::vector<QString> expected = {QStringLiteral("&New\tCtrl+N#57600"),
                                           QStringLiteral("&Open...\tCtrl+O#57601"),
                                           QStringLiteral("-"),
                                           QStringLiteral("&1 ") + escaped +
                                               QStringLiteral("#57616"),
                                           QStringLiteral("&2 ") + first + QStringLiteral("#57617"),
                                           QStringLiteral("-"),
                                           QStringLiteral("E&xit#57665")};
    EXPECT_EQ(Items(Popup(QStringLiteral("&File"))), expected);
    Frame().UpdateCommandUI();
    EXPECT_TRUE(Frame().Action(57616)->isEnabled());
    EXPECT_TRUE(Frame().Action(57617)->isEnabled());
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
    EXPECT_EQ(items[0], QStringLiteral("Ti&p of the Day...#504"));
    EXPECT_EQ(items[1], QStringLiteral("-"));
    EXPECT_EQ(items[2], QStringLiteral("&Help Topics#57667"));
    EXPECT_EQ(Frame().Action(504)->statusTip(), QStringLiteral("Displays a Tip of the Day."));

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
        const char* id;
        const char* title;
        Qt::ToolBarArea area;
        std::vector<QString> buttons;
    };
    const std::vector<Case> cases = {
        {"128", "Standard Toolbar", Qt::TopToolBarArea,
         Strings({"57600", "57601", "57603", "|",    "57669", "|",     "57635", "57634", "57637",
                  "|",     "57643", "57644", "|",    "32773", "32774", "|",     "2001",  "2003",
                  "2002",  "2004",  "2008",  "|",    "32776", "2039",  "|",     "32779", "2005",
                  "32798", "32781", "|",     "2049", "2052",  "|",     "2027",  "2113"})},
        {"114", "View Toolbar", Qt::TopToolBarArea,
         Strings({"32784", "32778", "32842", "|", "32786", "32787", "32789", "2109", "2111", "|",
                  "2067", "2068", "|", "2045", "|", "2019", "2055", "2087"})},
        {"5015", "Position Toolbar", Qt::TopToolBarArea,
         Strings({"2020", "2021", "2023", "2022", "2024", "2025", "|", "2013", "2014", "2015",
                  "2012", "2016", "2017"})},
        {"135", "Tool Toolbar", Qt::RightToolBarArea,
         Strings({"2028", "2061", "|",    "2083", "2084", "|",    "2059", "2026", "2043",
                  "|",    "2046", "2050", "2057", "2076", "2081", "2063", "2069", "2072",
                  "2118", "2079", "2089", "2090", "2091", "2106", "2098", "2103"})},
    };
    for (const Case& c : cases) {
        auto* bar = frame.findChild<QToolBar*>(QString::fromLatin1(c.id));
        ASSERT_NE(bar, nullptr) << c.id;
        EXPECT_EQ(bar, frame.ToolBar(QString::fromLatin1(c.id).toInt()));
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
    EXPECT_EQ(frame.Action(57600)->toolTip(), QStringLiteral("New (Ctrl+N)"));
    EXPECT_EQ(frame.Action(2067)->toolTip(), QStringLiteral("Nodes/Vertices larger"));

    // View on a row of its own below Standard; Position right of View in that row.
    QToolBar* standard = frame.ToolBar(128);
    QToolBar* view = frame.ToolBar(114);
    QToolBar* position = frame.ToolBar(5015);
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
        {59392, 128, &CMainFrame::m_bStandardToolBar},
        {32835, 114, &CMainFrame::m_bViewToolBar},
        {2064, 5015, &CMainFrame::m_bPositionToolBar},
        {32860, 135, &CMainFrame::m_bToolToolBar},
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

    QAction* status = frame.Action(59393);
    frame.UpdateCommandUI();
    EXPECT_TRUE(status->isChecked());
    EXPECT_TRUE(frame.RouteCommand(59393));
    EXPECT_TRUE(frame.statusBar()->isHidden());
    frame.UpdateCommandUI();
    EXPECT_FALSE(status->isChecked());
    EXPECT_TRUE(frame.RouteCommand(59393));
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
    EXPECT_EQ(bar->objectName(), QStringLiteral("59393"));

    const int ids[] = {59136, 59134, 59135, 59130, 59131, 59132, 59133};
    int lastX = -1;
    for (const int id : ids) {
        auto* pane = bar->findChild<QLabel*>(QString::number(id));
        ASSERT_NE(pane, nullptr) << id;
        EXPECT_EQ(pane, frame.StatusPane(id));
        // 50 pixels at least, and wide enough for the engine's longest texts.
        EXPECT_GE(pane->width(), 50) << id;
        if (id >= 59130 && id <= 59132) {
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
    EXPECT_EQ(frame.StatusPane(59136)->text(), QStringLiteral("Grid 0.2"));
    EXPECT_EQ(frame.StatusPane(59133)->text(), QStringLiteral("20"));
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

TEST_F(MainFrameTest, RoutingViewThenDocumentThenFrameThenApplication)
{
    MakeApp();
    CMainFrame& frame = Frame();

    // Nobody handles Split without a document: disabled, and routing it does nothing.
    frame.UpdateCommandUI();
    EXPECT_FALSE(frame.Action(2028)->isEnabled());
    EXPECT_FALSE(frame.RouteCommand(2028));
    EXPECT_TRUE(frame.Action(57601)->isEnabled());  // the application's Open

    {
        CTestDoc doc(*m_app);
        int docNew = 0;
        doc.Add(57600, [&] { ++docNew; });
        doc.Add(
            57601, [] { ADD_FAILURE() << "disabled command ran"; },
            [](CCmdUI& ui) { ui.Enable(false); });
        auto* child = new CChildFrame(doc);
        frame.AddChildFrame(child);
        ASSERT_EQ(frame.ActiveDocument(), &doc);
        EXPECT_EQ(frame.ActiveView(), dynamic_cast<CDocView*>(child->View3d()));

        // The document comes before the application.
        EXPECT_TRUE(frame.RouteCommand(57600));
        EXPECT_EQ(docNew, 1);
        EXPECT_TRUE(m_app->Documents().empty());
        // Its update rule disables the application's Open; routing a disabled command does
        // nothing (no file dialog).
        frame.UpdateCommandUI();
        EXPECT_FALSE(frame.Action(57601)->isEnabled());
        EXPECT_FALSE(frame.RouteCommand(57601));
        EXPECT_TRUE(m_fileDialogs.isEmpty());

        // The active view comes before the document.
        {
            CTestView view;
            int viewNew = 0;
            view.Add(57600, [&] { ++viewNew; });
            frame.SetActiveView(&view);
            frame.Action(57600)->trigger();
            EXPECT_EQ(viewNew, 1);
            EXPECT_EQ(docNew, 1);
        }
        // A destroyed view is no longer active.
        EXPECT_EQ(frame.ActiveView(), nullptr);
        EXPECT_TRUE(frame.RouteCommand(57600));
        EXPECT_EQ(docNew, 2);

        delete child;  // before the document
    }
    EXPECT_EQ(frame.ActiveDocument(), nullptr);
    frame.UpdateCommandUI();
    EXPECT_TRUE(frame.Action(57601)->isEnabled());
}

TEST_F(MainFrameTest, AcceleratorTablesSwap)
{
    MakeApp();
    CMainFrame& frame = Frame();
    EXPECT_EQ(frame.AcceleratorTable(), 128);
    const QKeySequence plainC(Qt::Key_C);
    const QKeySequence ctrlC(Qt::ControlModifier | Qt::Key_C);
    EXPECT_EQ(frame.CommandForKey(ctrlC), 57634);
    EXPECT_EQ(frame.CommandForKey(plainC), 0);
    frame.SetAcceleratorTable(113);
    EXPECT_EQ(frame.AcceleratorTable(), 113);
    EXPECT_EQ(frame.CommandForKey(plainC), 57634);
    EXPECT_EQ(frame.CommandForKey(QKeySequence(Qt::Key_U)), 14);
    frame.SetAcceleratorTable(128);
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
    view->Add(14, [&] { ++up; });
    frame.SetActiveView(view);

    // "U" pans the camera only while the 3D view's table is active.
    QTest::keyClick(&frame, Qt::Key_U);
    EXPECT_EQ(up, 0);
    frame.SetAcceleratorTable(113);
    QTest::keyClick(&frame, Qt::Key_U);
    EXPECT_EQ(up, 1);
    frame.SetAcceleratorTable(128);

    // Ctrl+O works in either table: the application's Open asks for a file.
    QTest::keyClick(&frame, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(m_fileDialogs.size(), 1);
    frame.SetAcceleratorTable(113);
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
    EXPECT_EQ(frame.CurrentMenu(), 128);
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
    m_answers = {QMessageBox::Cancel};
    if (first->SaveModified())
        GTEST_SKIP() << "this build's document does not ask before it closes";
    first->SetModifiedFlag(true);

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
