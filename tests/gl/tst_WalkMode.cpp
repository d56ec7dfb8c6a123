// Walk mode in the running editor on a real OpenGL context (label "gl": run under Xvfb): Scroll
// Lock in the 3D view turns it on, the idle loop keeps drawing frames without forced calls (the
// "FR:" pane shows their rate), the player walks with the right mouse button into a door, which
// opens: the picture from where the walk began shows the far wall where the closed door stood;
// the mouse turns the player.
// The next Scroll Lock ends walk mode: the door is back at rest, the view is level and the frames
// stop.

#include "EditorTestSupport.h"

#include "app/MainFrame.h"
#include "engine/3doModel.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "level/QzlSections.h"
#include "level/QzlThing.h"
#include "support/FixtureLevels.h"
#include "ui/DialogIds.h"

#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The door: the game's door model (an upright plate) in the middle of the unit box, 0.3 high and
// 0.2 wide, across the view of a player at z = 0.2 looking along +z; it opens upwards by kRise.
constexpr float kDoorX = 0.5f;
constexpr float kDoorY = 0.15f;
constexpr float kDoorZ = 0.6f;
constexpr float kRise = 0.5f;
constexpr float kStartZ = 0.2f;
constexpr float kEye = 0.15f;  // the walking player's eye above the floor

CWorldVertex DoorFrame(float y)
{
    CWorldVertex frame;
    frame.x = kDoorX;
    frame.y = y;
    frame.z = kDoorZ;
    return frame;
}

// The unit box with the door in it, moved by an "00_door.cog" whose first thing is the door; it
// waits 20 seconds open.
CQzlSections DoorRoom()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f});
    const int door = AddCrate(level, 0, {kDoorX, kDoorY, kDoorZ});
    CQzlThing& thing = *level.m_things[static_cast<std::size_t>(door)];
    thing.m_template = "door";
    thing.m_name = "door";
    thing.m_frames = {DoorFrame(kDoorY), DoorFrame(kDoorY + kRise)};
    AddCog(level, "00_door.cog", {"0", "-1", "-1", "-1", "8.0", "40.0"});
    FinishFixture(level);
    return level;
}

class WalkModeTest : public EditorTest {
protected:
    static void Save(const QImage& image, const char* name)
    {
        const QDir out(QStringLiteral(QZ_TEST_OUTPUT_DIR));
        EXPECT_TRUE(image.save(out.filePath(QLatin1String(name))));
        std::printf("%s\n", out.filePath(QLatin1String(name)).toLocal8Bit().constData());
    }

    // The picture's pixels (device pixels) of the closed door as the camera sees it now: the
    // rectangle over the projections of its four corners.
    QRect DoorRect()
    {
        QRect rect;
        for (const float x : {kDoorX - 0.1f, kDoorX + 0.1f})
            for (const float y : {kDoorY - 0.15f, kDoorY + 0.15f}) {
                QPoint point;
                EXPECT_TRUE(ScreenPointOf(CVector3(x, y, kDoorZ - 0.01f), point));
                const double ratio = m_view->devicePixelRatioF();
                const QPoint device(static_cast<int>(point.x() * ratio),
                                    static_cast<int>(point.y() * ratio));
                rect = rect.isNull() ? QRect(device, device) : rect.united(QRect(device, device));
            }
        return rect;
    }

    // Share of the pixels of rect (shrunk by margin) that differ clearly between a and b.
    static double ChangedShare(const QImage& a, const QImage& b, const QRect& rect, int margin)
    {
        const QRect inner = rect.adjusted(margin, margin, -margin, -margin);
        int changed = 0;
        int total = 0;
        for (int y = inner.top(); y <= inner.bottom(); ++y)
            for (int x = inner.left(); x <= inner.right(); ++x) {
                if (!a.valid(x, y) || !b.valid(x, y))
                    continue;
                const QColor p = a.pixelColor(x, y);
                const QColor q = b.pixelColor(x, y);
                const int d = std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                              std::abs(p.blue() - q.blue());
                changed += d > 24 ? 1 : 0;
                ++total;
            }
        return total > 0 ? static_cast<double>(changed) / total : 0.0;
    }

    void WaitForPaints(int count)
    {
        const int paints = m_view->PaintCount();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return m_view->PaintCount() >= paints + count; }, kEditorWaitMs));
    }
};

TEST_F(WalkModeTest, ScrollLockWalksIntoADoorThatOpensWhileFramesKeepComing)
{
    Open(DoorRoom(), 1);
    CQzEditApp& app = *CQzEditApp::Get();
    app.m_settings.m_collision = 1;
    app.m_settings.m_threeDoCollision = 1;
    app.m_settings.m_threeDoDistance = 10.0f;
    app.m_settings.m_frameRate = 30;
    C3dView& engine = Engine();
    CQzlThing& door = *engine.GetLevel().m_things[0];
    ASSERT_NE(door.m_model, nullptr);
    C3doModel& model = *door.m_model;
    engine.m_selection.m_surface = -1;
    engine.m_selection.m_thing = -1;

    PlaceCamera(kDoorX, kEye, kStartZ);
    const QImage closed = m_view->GrabFrame();
    Save(closed, "walk_door_closed.png");
    const QRect doorRect = DoorRect();
    ASSERT_GT(doorRect.width(), 20);
    ASSERT_GT(doorRect.height(), 20);

    // Without walk mode the idle loop draws nothing.
    const int stillPaints = m_view->PaintCount();
    QTest::qWait(300);
    EXPECT_LE(m_view->PaintCount(), stillPaints + 1);

    QTest::keyClick(m_view, Qt::Key_ScrollLock);
    ASSERT_TRUE(m_view->IsScrollLockOn());
    ASSERT_EQ(engine.m_walk.m_on, 1);
    // Frames keep coming by themselves.
    WaitForPaints(10);
    EXPECT_GT(engine.m_walk.m_animationClock, 5.0f);
    EXPECT_NEAR(engine.m_camera.m_position.y, kEye, 1e-3f);  // the player's eye over the floor
    QLabel* rate = app.m_pMainFrame->StatusPane(Ctl::kLayerPane);
    ASSERT_NE(rate, nullptr);
    const QRegularExpressionMatch shown =
        QRegularExpression(QStringLiteral("^FR: (\\d+)$")).match(rate->text());
    ASSERT_TRUE(shown.hasMatch()) << rate->text().toStdString();
    EXPECT_GT(shown.captured(1).toInt(), 0);
    EXPECT_EQ(model.m_moved, 0);

    // The right button walks the player into the door, which starts to open.
    const QPoint middle = m_view->ClientRect().center();
    SendMouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, middle);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.m_moved != 0; }, kEditorWaitMs));
    SendMouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, middle);
    EXPECT_GT(engine.m_camera.m_position.z, kStartZ + 0.2f);
    EXPECT_LT(engine.m_camera.m_position.z, kDoorZ - 0.05f);  // held off the door
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.m_position.y > kDoorY + kRise - 1e-3f; },
                                kEditorWaitMs));
    EXPECT_NEAR(model.m_placement.m[3][1], kDoorY + kRise, 1e-3f);

    // From where the walk began, the far wall shows where the closed door stood; the floor
    // beneath it looks the same.
    PlaceCamera(kDoorX, kEye, kStartZ);
    WaitForPaints(3);
    ASSERT_EQ(model.m_moved, 1);
    EXPECT_NEAR(engine.m_camera.m_position.z, kStartZ, 1e-3f);
    const QImage open = m_view->GrabFrame();
    Save(open, "walk_door_open.png");
    EXPECT_GT(ChangedShare(closed, open, doorRect, 4), 0.6);
    const QPoint onDoor(doorRect.left() + doorRect.width() / 4,
                        doorRect.top() + doorRect.height() / 4);
    const QColor wall = closed.pixelColor(doorRect.left() - 30, onDoor.y());
    EXPECT_NE(wall, QColor(0x60, 0x40, 0x20));  // a wall, not "ColorBackground"
    EXPECT_NE(closed.pixelColor(onDoor), wall);
    EXPECT_EQ(open.pixelColor(onDoor), wall);
    const QRect floor(doorRect.left(), doorRect.bottom() + 15, doorRect.width(), 20);
    EXPECT_LT(ChangedShare(closed, open, floor, 0), 0.05);

    // The mouse turns the player: 40 pixels to the side are 0.4 radians. The motion starts where
    // the cursor is (the end of the right drag put it in the middle of the view).
    const QPoint cursor = m_view->mapFromGlobal(QCursor::pos());
    SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, cursor);
    SendMouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, cursor + QPoint(40, 0));
    WaitForPaints(2);
    const CVector3 look = engine.m_camera.m_forwardAxis;
    EXPECT_NEAR(std::acos(std::clamp(look.z, -1.0f, 1.0f)), 0.4f, 0.02f);
    EXPECT_NEAR(look.y, 0.0f, 1e-4f);

    // The next Scroll Lock ends walk mode: the door is back at rest, the view level, and the
    // frames stop.
    QTest::keyClick(m_view, Qt::Key_ScrollLock);
    EXPECT_FALSE(m_view->IsScrollLockOn());
    EXPECT_EQ(engine.m_walk.m_on, 0);
    EXPECT_EQ(model.m_moved, 0);
    EXPECT_NEAR(model.m_position.y, kDoorY, 1e-5f);
    CVector3 forward;
    CVector3 up;
    GetCameraAxes(engine, forward, up);
    EXPECT_FLOAT_EQ(forward.y, 0.0f);
    EXPECT_FLOAT_EQ(up.y, 1.0f);
    QTest::qWait(100);
    const int paints = m_view->PaintCount();
    QTest::qWait(300);
    EXPECT_LE(m_view->PaintCount(), paints + 1);
}

}  // namespace
