// The 3D view's input in the running editor on a real OpenGL context (label "gl": run under
// Xvfb): a click selects the wall drawn under the pointer, the right button turns the camera
// with the mouse grabbed, a held Up key moves the camera while the event loop runs on, and the
// Hidden Sector Removal command reaches its dialog from the key and the menu. Looking at the
// level (picks, camera moves, view commands) leaves the document unmodified.

#include "EditorTestSupport.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/Picking.h"
#include "engine/ViewCommands.h"
#include "engine/gl/GlRenderDevice.h"
#include "engine/ui/HiddenSectorRemovalDlg.h"
#include "framework/DocumentState.h"
#include "level/QzlWriter.h"
#include "math/Matrix.h"
#include "support/FixtureLevels.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstddef>
#include <functional>

namespace {

constexpr int kWaitMs = kEditorWaitMs;

class ViewPickingTest : public EditorTest {};

TEST_F(ViewPickingTest, ClickSelectsTheWallUnderThePointer)
{
    Open();
    C3dView& engine = Engine();
    // The view rectangle is the client area in device pixels.
    const double ratio = m_view->devicePixelRatioF();
    EXPECT_EQ(engine.m_viewport.m_viewRect,
              (CFrameRect{0, 0, static_cast<int>(std::lround(m_view->ClientRect().width() * ratio)),
                          static_cast<int>(std::lround(m_view->ClientRect().height() * ratio))}));

    // In the first room near its left wall, looking at the far walls of both rooms: the second
    // one is seen through the open wall between them.
    PlaceCamera(0.8f, 0.5f, 0.05f);
    struct Case {
        int sector;
    };
    for (const Case c : {Case{0}, Case{1}, Case{0}}) {
        const int wall = FarWall(c.sector);
        ASSERT_GE(wall, 0) << c.sector;
        QPoint point;
        ASSERT_TRUE(ScreenPointOf(wall, point)) << c.sector;
        QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, point);
        EXPECT_EQ(engine.m_selection.m_sector, c.sector);
        EXPECT_EQ(engine.m_selection.m_surface, wall) << c.sector;
        EXPECT_EQ(engine.m_selection.m_vertex, -1);
    }
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
}

TEST_F(ViewPickingTest, LookingAtTheLevelLeavesTheDocumentUnmodified)
{
    Open(/*stretchMode=*/0);
    ASSERT_FALSE(m_doc->IsModified());
    C3dView& engine = Engine();
    CMainFrame& frame = *m_app->m_pMainFrame;
    PlaceCamera(0.8f, 0.5f, 0.05f);
    const int wall = FarWall(0);
    QPoint point;
    ASSERT_TRUE(ScreenPointOf(wall, point));

    // Picks, camera moves (keys, menu, a right drag), a render mode and the grid switch.
    QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, point);
    ASSERT_EQ(engine.m_selection.m_surface, wall);
    QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, point);
    QTest::keyClick(m_view, Qt::Key_U);
    QTest::keyClick(m_view, Qt::Key_L);
    TriggerCommand(frame, 32784);  // View Move "&Foreward"
    TriggerCommand(frame, 32778);  // "&Backward"
    const QPoint middle(m_view->width() / 2, m_view->height() / 2);
    SendMouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, middle);
    SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::RightButton, middle + QPoint(20, 0));
    SendMouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, middle + QPoint(20, 0));
    TriggerCommand(frame, Cmd::kGridOn);  // on, then off
    TriggerCommand(frame, Cmd::kGridOn);
    TriggerCommand(frame, Cmd::kAllSectorsWireframes);
    EXPECT_EQ(m_doc->m_state.m_renderMode, 2);
    const int paints = m_view->PaintCount();
    m_view->RequestFrame(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kWaitMs));
    EXPECT_FALSE(m_doc->IsModified());

    // A pick whose rebuild has to round a world vertex (six decimals) changes the stored level.
    TriggerCommand(frame, Cmd::kAllSectorsRendered);
    PlaceCamera(0.8f, 0.5f, 0.05f);
    CQzlSections& level = engine.GetLevel();
    const int corner =
        level.m_surfaces[static_cast<std::size_t>(wall)]->m_vertices[0].m_worldVertex;
    level.m_worldVertices[static_cast<std::size_t>(corner)].y += 0.0000031f;
    ASSERT_TRUE(ScreenPointOf(wall, point));
    QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, point);
    EXPECT_EQ(engine.m_selection.m_surface, wall);
    EXPECT_TRUE(m_doc->IsModified());
    m_doc->SetModifiedFlag(false);
}

TEST_F(ViewPickingTest, RightDragTurnsTheCameraWithTheMouseGrabbed)
{
    Open();
    C3dView& engine = Engine();
    PlaceCamera(0.5f, 0.5f, 0.5f);
    const QPoint start(m_view->width() / 2, m_view->height() / 2);

    SendMouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, start);
    EXPECT_EQ(QWidget::mouseGrabber(), m_view);
    EXPECT_EQ(m_view->cursor().shape(), Qt::BlankCursor);
    SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::RightButton, start);
    SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::RightButton, start + QPoint(40, 0));
    // Turned about the vertical axis: the view direction leaves +z sideways and stays level.
    EXPECT_GT(std::fabs(engine.m_camera.m_forwardAxis.x), 0.05f);
    EXPECT_NEAR(engine.m_camera.m_forwardAxis.y, 0.0f, 1e-4f);
    EXPECT_GE(engine.m_drag.m_rightX, 0);

    SendMouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, start + QPoint(40, 0));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(m_view->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(engine.m_drag.m_rightX, -1);
    EXPECT_EQ(engine.m_drag.m_rightY, -1);

    // A left drag in the texturing mode shows the four-headed arrow while the button is down.
    m_doc->m_state.m_editMode = 4;
    SendMouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, start);
    EXPECT_EQ(m_view->cursor().shape(), Qt::SizeAllCursor);
    SendMouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, start);
    EXPECT_EQ(m_view->cursor().shape(), Qt::ArrowCursor);
    m_doc->m_state.m_editMode = 0;
}

TEST_F(ViewPickingTest, HeldUpMovesTheCameraWhileTheEventLoopRuns)
{
    Open(/*stretchMode=*/0);
    C3dView& engine = Engine();
    m_app->m_settings.m_frameRate = 20;  // a step of 0.1 every 50 ms at most
    PlaceCamera(0.5f, 0.5f, 0.1f);
    const float z0 = engine.m_camera.m_position.z;

    int ticks = 0;
    QTimer other;
    other.setInterval(10);
    QObject::connect(&other, &QTimer::timeout, [&ticks] { ++ticks; });
    other.start();

    QElapsedTimer held;
    held.start();
    QTest::keyPress(m_view, Qt::Key_Up);
    ASSERT_TRUE(m_view->IsCameraKeyActive());
    // The key stays down while the event loop runs: the camera steps forward and the other
    // timer keeps firing. A slow machine steps once per drawn frame, never faster than the
    // frame rate.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return engine.m_camera.m_position.z - z0 > 0.45f; }, kWaitMs));
    const auto periods = static_cast<float>(held.elapsed() / 50);
    const float moved = engine.m_camera.m_position.z - z0;
    EXPECT_LE(moved, 0.1f * periods + 1e-3f);
    EXPECT_NEAR(engine.m_camera.m_position.x, 0.5f, 1e-4f);
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(m_view->IsCameraKeyActive());

    QTest::keyRelease(m_view, Qt::Key_Up);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_view->IsCameraKeyActive(); }, kWaitMs));
    const float stopped = engine.m_camera.m_position.z;
    QTest::qWait(200);
    EXPECT_EQ(engine.m_camera.m_position.z, stopped);
}

TEST_F(ViewPickingTest, HiddenSectorRemovalRunsFromTheKeyAndTheMenu)
{
    Open();
    CSettings& settings = m_app->m_settings;
    settings.m_renderMethod = 0;
    int shown = 0;
    // Closes the next Hidden Sector Removal dialog through the button named button, after
    // choosing the method radio (none: keep it).
    const auto onDialog = [this, &shown](int radio, int button) {
        auto* timer = new QTimer(m_view);
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, radio, button, &shown] {
            auto* dialog =
                qobject_cast<CHiddenSectorRemovalDlg*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            timer->stop();
            timer->deleteLater();
            ++shown;
            if (auto* choice = dialog->findChild<QAbstractButton*>(Id(radio)))
                choice->click();
            if (auto* close = dialog->findChild<QAbstractButton*>(Id(button)))
                close->click();
            else
                dialog->reject();
        });
        timer->start();
    };

    // H in the view; OK with "Portal Rendering" runs the pass and draws on the view's device.
    onDialog(Ctl::kPortalRendering, Ctl::kOk);
    const int paints = m_view->PaintCount();
    QTest::keyClick(m_view, Qt::Key_H);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(settings.m_renderMethod, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kWaitMs));
    const QImage image = m_view->GrabFrame();
    const QColor background(0x60, 0x40, 0x20);
    int drawn = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            drawn += image.pixelColor(x, y).rgb() == background.rgb() ? 0 : 1;
    EXPECT_GT(drawn, 0);

    // The menu item; Cancel keeps the method.
    onDialog(Ctl::kPotentialVisibleSet, Ctl::kCancel);
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kHiddenSectorRemoval);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(settings.m_renderMethod, 1);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
}

}  // namespace

// The scroll bars beside the picture carry the level's extent and pan the camera: a page to the
// right moves it five steps of 0.01 to the right of the view direction, the thumb moves it by
// its travel since the last position, and the bars show the new positions.
TEST_F(ViewPickingTest, ScrollBarsPanTheCamera)
{
    Open();
    C3dView& engine = Engine();
    PlaceCamera(0.5f, 0.5f, 0.5f);
    QScrollBar* horizontal = m_view->HorizontalScrollBar();
    QScrollBar* vertical = m_view->VerticalScrollBar();
    ASSERT_NE(horizontal, nullptr);
    ASSERT_NE(vertical, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return horizontal->isEnabled(); }, 5000));
    EXPECT_LT(horizontal->minimum(), horizontal->maximum());
    EXPECT_FALSE(m_view->ClientRect().intersects(horizontal->geometry()));

    // Looking along +z, the right of the view is +x (left-handed world).
    const CVector3 before = engine.m_camera.m_position;
    horizontal->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_NEAR(engine.m_camera.m_position.x - before.x, 0.05f, 1e-5f);
    EXPECT_EQ(engine.m_drag.m_scrollH, 5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return horizontal->value() == 5; }, 5000));

    // Two lines down: the camera goes down the up axis.
    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_NEAR(engine.m_camera.m_position.y - before.y, -0.02f, 1e-5f);
    EXPECT_EQ(engine.m_drag.m_scrollV, 2);

    // The thumb dragged to 8: three more steps to the right.
    horizontal->setSliderPosition(8);
    EXPECT_NEAR(engine.m_camera.m_position.x - before.x, 0.08f, 1e-5f);
    EXPECT_EQ(engine.m_drag.m_scrollH, 8);
}
