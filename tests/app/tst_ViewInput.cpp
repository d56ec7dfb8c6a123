// The 3D view's input in the running application: the accelerator table follows the focus and
// its keys reach the view's and the document's commands, the View menu's items follow the
// document's state, the held camera keys are followed application-wide, and no view or camera
// command does harm to a document without an engine (on this platform a view makes none).

#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/CommandTarget.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/KeyState.h"
#include "engine/ViewCommands.h"
#include "engine/ui/HiddenSectorRemovalDlg.h"
#include "support/FixtureLevels.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int kWaitMs = 5000;

// The commands of the view: camera keys, View Move, pans, bookmarks.
std::vector<int> CameraCommandIds()
{
    std::vector<int> ids = {Cmd::kCameraForwardKey, Cmd::kCameraBackwardKey,
                            Cmd::kCameraLeftKey,    Cmd::kCameraRightKey,
                            Cmd::kCameraTiltUpKey,  Cmd::kCameraTiltDownKey,
                            Cmd::kStepForward,      Cmd::kStepBackward,
                            Cmd::kResetCamera,      Cmd::kPanUp,
                            Cmd::kPanDown,          Cmd::kPanLeft,
                            Cmd::kPanRight};
    for (int slot = 0; slot < Cmd::kBookmarkCount; ++slot) {
        ids.push_back(Cmd::kStoreBookmark0 + slot);
        ids.push_back(Cmd::kRecallBookmark0 + slot);
    }
    return ids;
}

class ViewInputTest : public AppTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }

    // The application with its main frame shown and active, and one document window.
    CQzEditDoc& StartWithDocument()
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        return *m_doc;
    }

    CQzEditView& View() { return *m_doc->Frame()->View3d(); }

    // The document gets an engine of the test's own on the two joined rooms (this platform
    // draws nothing, so the view makes none); sector 0 and its first surface are current.
    C3dView& GiveEngine()
    {
        C3dView& engine = GiveDocumentEngine(*m_doc, MakeTwoJoinedRooms());
        engine.m_selection.m_sector = 0;
        engine.m_selection.m_surface = m_doc->m_level->m_sectors[0]->m_surfaces.front();
        return engine;
    }

    // The enabled state and check mark the menus show for id (-1: no check mark).
    std::pair<bool, int> MenuState(int id)
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(id);
        EXPECT_NE(action, nullptr) << id;
        if (action == nullptr)
            return {false, -1};
        return {action->isEnabled(), action->isCheckable() ? (action->isChecked() ? 1 : 0) : -1};
    }

    // The visible items of the popup titled title and of its submenus: "text#id", "-" for a
    // separator.
    std::vector<QString> MenuItems(const QString& title)
    {
        std::vector<QString> items;
        const auto add = [&items](const auto& self, const QMenu& menu) -> void {
            for (const QAction* action : menu.actions()) {
                if (!action->isVisible())
                    continue;
                if (action->menu() != nullptr)
                    self(self, *action->menu());
                else
                    items.push_back(action->isSeparator()
                                        ? QStringLiteral("-")
                                        : action->text() + QLatin1Char('#') + action->objectName());
            }
        };
        for (QAction* entry : Frame().menuBar()->actions())
            if (entry->text() == title && entry->menu() != nullptr)
                add(add, *entry->menu());
        return items;
    }

    // Runs open while the next modal dialog of the Hidden Sector Removal kind is up, then lets
    // it close through the button of object name button (or leaves it to open itself).
    void OnHsrDialog(std::function<void(CHiddenSectorRemovalDlg&)> act, const char* button)
    {
        auto* timer = new QTimer(&Frame());
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer, act, button] {
            auto* dialog =
                qobject_cast<CHiddenSectorRemovalDlg*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            timer->stop();
            timer->deleteLater();
            ++m_hsrShown;
            act(*dialog);
            if (auto* close = dialog->findChild<QAbstractButton*>(QString::fromLatin1(button)))
                close->click();
            else
                dialog->reject();
        });
        timer->start();
    }

    CQzEditDoc* m_doc = nullptr;
    int m_hsrShown = 0;
};

TEST_F(ViewInputTest, AcceleratorTableFollowsTheFocusAndItsKeysReachTheCommands)
{
    CQzEditDoc& doc = StartWithDocument();
    CQzEditView& view = View();
    ASSERT_TRUE(FocusView3d(*m_doc));

    struct Case {
        QKeyCombination key;
        int id;
    };
    const Case inView[] = {
        {QKeyCombination(Qt::Key_M), Cmd::kSectorMode},
        {QKeyCombination(Qt::Key_Up), Cmd::kCameraForwardKey},
        {Qt::ControlModifier | Qt::Key_1, Cmd::kStoreBookmark0 + 1},
        {QKeyCombination(Qt::Key_1), Cmd::kRecallBookmark0 + 1},
        {Qt::ControlModifier | Qt::Key_0, Cmd::kStoreBookmark0},
        {QKeyCombination(Qt::Key_9), Cmd::kRecallBookmark0 + 9},
        {Qt::ShiftModifier | Qt::Key_Left, Cmd::kCameraLeftKey},
        {QKeyCombination(Qt::Key_PageDown), Cmd::kCameraTiltDownKey},
        {QKeyCombination(Qt::Key_U), Cmd::kPanUp},
        {QKeyCombination(Qt::Key_H), Cmd::kHiddenSectorRemoval},
        {Qt::ControlModifier | Qt::Key_C, Cmd::kEditCopy},
    };
    for (const Case& c : inView)
        EXPECT_EQ(Frame().CommandForKey(QKeySequence(c.key)), c.id) << c.id;

    // A key typed in the view reaches the document's command through the table: M turns the
    // Sector Mode switch on.
    GiveEngine();
    QTest::keyClick(&view, Qt::Key_M);
    EXPECT_EQ(doc.m_state.m_sectorMode, 1);
    EXPECT_EQ(doc.m_state.m_editMode, 1);

    // The focus in a form view: table 128, where the plain letters and the camera keys send
    // nothing and the Ctrl keys still work.
    QWidget* form = doc.Frame()->LeftSplitter()->widget(0);
    ASSERT_NE(form, nullptr);
    form->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Frame().AcceleratorTable() == AccelTable::kFrame; }, kWaitMs));
    EXPECT_EQ(Frame().CommandForKey(QKeySequence(Qt::Key_M)), 0);
    EXPECT_EQ(Frame().CommandForKey(QKeySequence(Qt::Key_Up)), 0);
    EXPECT_EQ(Frame().CommandForKey(QKeySequence(Qt::Key_1)), 0);
    EXPECT_EQ(Frame().CommandForKey(QKeySequence(Qt::ControlModifier | Qt::Key_C)), Cmd::kEditCopy);
    QTest::keyClick(form, Qt::Key_M);
    EXPECT_EQ(doc.m_state.m_sectorMode, 1);
}

TEST_F(ViewInputTest, ViewMenuHoldsTheViewCommandsAndToolsTheHiddenSectorRemoval)
{
    StartWithDocument();
    // Every command of the document's view state and the view's View Move commands stand in
    // the View menu (their texts are checked with the menus of the main frame).
    const std::vector<QString> view = MenuItems(QStringLiteral("&View"));
    std::vector<int> ids = {Cmd::kStepForward, Cmd::kStepBackward, Cmd::kResetCamera};
    for (const CViewCommand& command : ViewCommandTable())
        ids.push_back(command.id);
    for (const int id : ids) {
        const QString tail = Item("", id);
        EXPECT_TRUE(std::ranges::any_of(view, [&](const QString& item) {
            return item.endsWith(tail);
        })) << id;
    }
    const std::vector<QString> tools = MenuItems(QStringLiteral("&Tools"));
    EXPECT_NE(std::find(tools.begin(), tools.end(),
                        Item("&Hidden Sector Removal...\tH", Cmd::kHiddenSectorRemoval)),
              tools.end());
}

TEST_F(ViewInputTest, ViewMenuItemsFollowTheDocumentState)
{
    CQzEditDoc& doc = StartWithDocument();
    CSettings& settings = m_app->m_settings;

    // Without an engine the commands that work on the view are disabled; the plain switches
    // are not.
    EXPECT_FALSE(MenuState(Cmd::kSectorMode).first);
    // View Move "&Foreward", a command of the view.
    EXPECT_FALSE(MenuState(Cmd::kStepForward).first);
    EXPECT_TRUE(MenuState(Cmd::kCollision).first);
    EXPECT_TRUE(MenuState(Cmd::kHiddenSectorRemoval).first);

    C3dView& engine = GiveEngine();
    struct Case {
        const char* what;
        std::function<void()> set;
        int id;
        bool enabled;
        int check;  // -1: no check mark
    };
    const Case cases[] = {
        {"grid on at its smallest",
         [&] {
             doc.m_state.m_gridOn = 1;
             settings.m_grid = 0.02f;
         },
         Cmd::kGridSmaller, false, -1},
        {"grid on above its smallest", [&] { settings.m_grid = 0.04f; }, Cmd::kGridSmaller, true,
         -1},
        {"grid off", [&] { doc.m_state.m_gridOn = 0; }, Cmd::kGridSmaller, false, -1},
        {"grid at its largest",
         [&] {
             doc.m_state.m_gridOn = 1;
             settings.m_grid = 2.0f;
         },
         Cmd::kGridLarger, false, -1},
        {"adjoin rendering fixed", [&] { settings.m_adjoin = 1; }, Cmd::kAdjoinRendering, false, 0},
        {"adjoin rendering on", [&] { settings.m_adjoin = 2; }, Cmd::kAdjoinRendering, true, 1},
        {"adjoin rendering off", [&] { settings.m_adjoin = 0; }, Cmd::kAdjoinRendering, true, 0},
        {"render mode 3", [&] { doc.m_state.m_renderMode = 3; }, Cmd::kSectorRendered, true, 1},
        {"render mode 3, another mode", [] {}, Cmd::kAllSectorsRendered, true, 0},
        {"a current sector", [] {}, Cmd::kSectorMode, true, 0},
        {"no current sector", [&] { engine.m_selection.m_sector = -1; }, Cmd::kSectorMode, false,
         0},
        {"no current thing", [] {}, Cmd::kObjectMode, false, 0},
        {"collision on", [&] { settings.m_collision = 1; }, Cmd::kCollision, true, 1},
        {"objects drawn", [&] { settings.m_threeDoDistance = 3.0f; }, Cmd::kObjectRendering, true,
         1},
        {"objects not drawn", [&] { settings.m_threeDoDistance = 0.0f; }, Cmd::kObjectRendering,
         true, 0},
        // View Move is the view's: it runs on the document's engine, which the view has not
        // made here.
        {"the document has an engine", [] {}, Cmd::kStepForward, true, -1},
    };
    for (const Case& c : cases) {
        c.set();
        const auto [enabled, check] = MenuState(c.id);
        EXPECT_EQ(enabled, c.enabled) << c.what;
        EXPECT_EQ(check, c.check) << c.what;
    }

    // Running an item through the menu changes the state the items show.
    engine.m_selection.m_sector = 0;
    settings.m_grid = 0.03f;
    Frame().Action(Cmd::kGridSmaller)->trigger();
    EXPECT_FLOAT_EQ(settings.m_grid, 0.02f);
    EXPECT_FALSE(MenuState(Cmd::kGridSmaller).first);
    Frame().Action(Cmd::kSectorRenderedWireframes)->trigger();
    EXPECT_EQ(doc.m_state.m_renderMode, 1);
    EXPECT_EQ(MenuState(Cmd::kSectorRenderedWireframes).second, 1);
    EXPECT_EQ(MenuState(Cmd::kSectorRendered).second, 0);
    settings.m_adjoin = 1;
    EXPECT_FALSE(Frame().RouteCommand(Cmd::kAdjoinRendering));
    EXPECT_EQ(settings.m_adjoin, 1);
}

TEST_F(ViewInputTest, ViewAndCameraCommandsWithoutAnEngineDoNoHarm)
{
    CQzEditDoc& doc = StartWithDocument();
    CQzEditView& view = View();
    ASSERT_EQ(view.Engine(), nullptr);
    ASSERT_EQ(doc.m_pEngine, nullptr);
    EXPECT_EQ(Frame().ActiveView(), &view);

    // The view's commands are disabled without an engine; sent anyway they do nothing.
    for (const int id : CameraCommandIds()) {
        CCmdUI ui(id);
        ASSERT_TRUE(view.OnUpdateCommand(ui)) << id;
        EXPECT_FALSE(ui.m_enabled) << id;
        EXPECT_FALSE(Frame().RouteCommand(id)) << id;
        EXPECT_TRUE(view.OnCommand(id)) << id;
    }
    EXPECT_FALSE(view.IsCameraKeyActive());

    // The document's commands: every one through the routing and then straight to its handler,
    // past its update rule. Those that need the view do nothing; the plain switches work.
    m_app->m_settings.m_threeDoDistance = 0.0f;
    const CSettings before = m_app->m_settings;
    for (const CViewCommand& command : ViewCommandTable()) {
        Frame().RouteCommand(command.id);
        EXPECT_TRUE(doc.OnCommand(command.id)) << command.id;
    }
    EXPECT_EQ(doc.m_state.m_sectorMode, 0);
    EXPECT_EQ(doc.m_state.m_gridOn, 0);
    EXPECT_EQ(m_app->m_settings.m_grid, before.m_grid);
    EXPECT_EQ(m_app->m_settings.m_vertexScaling, before.m_vertexScaling);
    // Light, Collision, Lock and Object rendering ran twice: back where they were.
    EXPECT_EQ(m_app->m_settings.m_threeDoDistance, before.m_threeDoDistance);
    EXPECT_EQ(doc.m_state.m_lightMode, m_app->m_settings.m_lightMode);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
}

TEST_F(ViewInputTest, ViewCommandsRunOnTheDocumentsEngineWithoutADisplay)
{
    // This platform gives the view no drawing surface, so it makes no engine of its own; the
    // document's engine (one without a render device) serves the view's commands through the
    // window's keys, its menu and the router.
    CQzEditDoc& doc = StartWithDocument();
    CQzEditView& view = View();
    ASSERT_FALSE(view.HasSurface());
    C3dView& engine = GiveEngine();
    ASSERT_EQ(view.Engine(), nullptr);
    ASSERT_TRUE(FocusView3d(*m_doc));
    SetCameraAxes(engine, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f);
    engine.m_camera.m_forwardAxis = CVector3(0.0f, 0.0f, 1.0f);
    engine.m_camera.m_upAxis = CVector3(0.0f, 1.0f, 0.0f);
    SetCameraPosition(engine, 0.5f, 0.5f, 0.2f);
    const CVector3 start = GetCameraPosition(engine);

    // Ctrl+1 stores the camera in bookmark 1 of the level.
    QTest::keyClick(&view, Qt::Key_1, Qt::ControlModifier);
    ASSERT_EQ(doc.m_level->m_bookmarks.size(), 2U);
    EXPECT_FLOAT_EQ(doc.m_level->m_bookmarks[1].x, start.x);
    EXPECT_FLOAT_EQ(doc.m_level->m_bookmarks[1].z, start.z);

    // View, Move, "&Foreward" from the menu: one step along the view direction.
    Frame().UpdateCommandUI();
    QAction* forward = Frame().Action(Cmd::kStepForward);
    ASSERT_TRUE(forward->isEnabled());
    forward->trigger();
    EXPECT_NEAR(GetCameraPosition(engine).z, start.z + 0.05f, 1e-5f);
    EXPECT_NEAR(GetCameraPosition(engine).x, start.x, 1e-5f);

    // U pans the camera up.
    QTest::keyClick(&view, Qt::Key_U);
    EXPECT_GT(GetCameraPosition(engine).y, start.y);

    // 1 recalls the bookmark: the camera is back where it was stored.
    QTest::keyClick(&view, Qt::Key_1);
    const CVector3 back = GetCameraPosition(engine);
    EXPECT_NEAR(back.x, start.x, 1e-5f);
    EXPECT_NEAR(back.y, start.y, 1e-5f);
    EXPECT_NEAR(back.z, start.z, 1e-5f);

    // The engine taken away again: the view's commands are greyed and do nothing.
    DropEngine();
    EXPECT_FALSE(MenuState(Cmd::kStepForward).first);
    EXPECT_FALSE(Frame().RouteCommand(Cmd::kStepForward));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
}

TEST_F(ViewInputTest, HiddenSectorRemovalOpensFromTheMenuAndTheKey)
{
    CQzEditDoc& doc = StartWithDocument();
    (void)doc;
    CSettings& settings = m_app->m_settings;
    settings.m_renderMethod = 0;
    settings.m_removalLevel = 10;

    // Cancel changes nothing.
    OnHsrDialog([](CHiddenSectorRemovalDlg&) {}, "2");
    Frame().UpdateCommandUI();  // as the menu does when it opens
    Frame().Action(Cmd::kHiddenSectorRemoval)->trigger();
    EXPECT_EQ(m_hsrShown, 1);
    EXPECT_EQ(settings.m_renderMethod, 0);

    // H in the view, and OK with "Portal Rendering": the method is stored (no engine here: the
    // pass has nothing to work on).
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    ASSERT_TRUE(FocusView3d(*m_doc));
    OnHsrDialog(
        [](CHiddenSectorRemovalDlg& dialog) {
            if (auto* portal = dialog.findChild<QAbstractButton*>(Id(Ctl::kPortalRendering)))
                portal->click();
        },
        "1");
    QTest::keyClick(&View(), Qt::Key_H);
    EXPECT_EQ(m_hsrShown, 2);
    EXPECT_EQ(settings.m_renderMethod, 1);
    EXPECT_EQ(settings.m_removalLevel, 10);
}

TEST_F(ViewInputTest, HeldCameraKeysAreFollowedFromTheApplicationsKeyEvents)
{
    MakeApp();
    const KeyState& keys = m_app->Keys();
    QWidget target;

    const auto send = [&target](QEvent::Type type, int key, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(&target, &event);
    };
    EXPECT_FALSE(keys.IsKeyDown(EKey::Up));
    send(QEvent::KeyPress, Qt::Key_Up);
    EXPECT_TRUE(keys.IsKeyDown(EKey::Up));
    EXPECT_FALSE(keys.IsKeyDown(EKey::Down));
    // The key repeat's releases leave the key held; the real release ends it.
    send(QEvent::KeyRelease, Qt::Key_Up, true);
    EXPECT_TRUE(keys.IsKeyDown(EKey::Up));
    send(QEvent::KeyRelease, Qt::Key_Up);
    EXPECT_FALSE(keys.IsKeyDown(EKey::Up));

    // A key that an accelerator takes is seen through its shortcut override.
    send(QEvent::ShortcutOverride, Qt::Key_PageDown);
    EXPECT_TRUE(keys.IsKeyDown(EKey::PageDown));
    send(QEvent::KeyPress, Qt::Key_Left);
    send(QEvent::KeyPress, Qt::Key_A);
    EXPECT_TRUE(keys.IsKeyDown(EKey::Left));
    EXPECT_FALSE(keys.IsKeyDown(EKey::Right));

    // The application loses the focus: nothing counts as held any more.
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(QApplication::instance(), &deactivate);
    EXPECT_FALSE(keys.IsKeyDown(EKey::PageDown));
    EXPECT_FALSE(keys.IsKeyDown(EKey::Left));
}

}  // namespace
