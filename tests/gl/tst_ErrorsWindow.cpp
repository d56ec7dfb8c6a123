// The Errors window in the running editor on a real OpenGL context (label "gl": run under Xvfb):
// the two joined rooms, sector 0 in brick and sector 1 in sky, with the link broken on sector 1's
// side; "E&rrors..." reports the broken link of sector 0's wall x = 1, and Show on that line puts
// the camera in front of the wall looking through it: the picture turns from the far walls of both
// rooms to sector 1 alone. The window itself shows the report.

#include "EditorTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "episode/ui/ErrorsDlg.h"
#include "support/FixtureLevels.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QRect>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

class ErrorsWindowTest : public EditorTest {};

bool Reddish(QRgb c)
{
    return qRed(c) > qBlue(c) + 30 && qRed(c) > qGreen(c) + 10;
}

bool Bluish(QRgb c)
{
    return qBlue(c) > qRed(c) + 30;
}

int Count(const QImage& image, bool (*test)(QRgb))
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

TEST_F(ErrorsWindowTest, ShowOnASurfaceLineLooksThroughTheBrokenLink)
{
    CQzlSections level = MakeTwoJoinedRooms();
    DressBoxSector(level, 0, "floor.mat", "brick.mat", "brick.mat");
    DressBoxSector(level, 1, "sky.mat", "sky.mat", "sky.mat");
    // Sector 1's side of the link forgets its adjoin: sector 0's wall x = 1 is illegal linked.
    const int wall = BoxSurface(level, 0, kBoxXHigh);
    level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 1, kBoxXLow))]->m_adjoin = -1;
    Open(std::move(level), 0);
    PlaceCamera(1.0f, 0.5f, -0.6f);
    const QImage before = m_view->GrabFrame().convertToFormat(QImage::Format_RGB32);

    TriggerCommand(*m_app->m_pMainFrame, Cmd::kErrors);
    CErrorsDlg* window = m_doc->ErrorsWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    auto* report = window->findChild<QTextEdit*>(Id(Ctl::kErrorsReport));
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !report->toPlainText().isEmpty(); }, kEditorWaitMs));
    const QString text = report->toPlainText();
    const QString line = QStringLiteral("In Sector 0, Surface %1 is illegal linked").arg(wall);
    const int index = static_cast<int>(text.split(QLatin1Char('\n')).indexOf(line));
    ASSERT_GE(index, 0) << text.toStdString();
    report->setTextCursor(QTextCursor(report->document()->findBlockByNumber(index)));
    auto* show = window->findChild<QPushButton*>(Id(Ctl::kErrorsShow));
    ASSERT_NE(show, nullptr);
    ASSERT_TRUE(show->isEnabled());
    QApplication::processEvents();
    const QImage windowShot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);

    const int paints = m_view->PaintCount();
    show->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kEditorWaitMs));
    const QImage after = m_view->GrabFrame().convertToFormat(QImage::Format_RGB32);
    SavePictures({{"errors_show_before.png", &before},
                  {"errors_show_after.png", &after},
                  {"errors_window.png", &windowShot}});

    // The camera 0.5 in front of the wall's middle, looking along +x through it.
    const CVector3 eye = GetCameraPosition(Engine());
    EXPECT_NEAR(eye.x, 0.5f, 1e-4f);
    EXPECT_NEAR(eye.y, 0.5f, 1e-4f);
    EXPECT_NEAR(eye.z, 0.5f, 1e-4f);
    EXPECT_EQ(Engine().m_selection.m_surface, wall);
    EXPECT_FALSE(m_doc->IsModified());

    // Before: both rooms' far walls, brick and sky. After: sector 1 alone, its sky wall in the
    // middle, no brick anywhere.
    ASSERT_FALSE(before.isNull());
    ASSERT_EQ(after.size(), before.size());
    const int pixels = before.width() * before.height();
    EXPECT_GT(Count(before, Reddish), pixels / 10);
    EXPECT_GT(Count(before, Bluish), pixels / 10);
    EXPECT_LT(Count(after, Reddish), pixels / 100);
    EXPECT_GT(Count(after, Bluish), pixels / 2);
    EXPECT_TRUE(Bluish(after.pixel(after.width() / 2, after.height() / 2)));
    EXPECT_GT(ChangedPixels(before, after, after.rect(), 24), pixels / 4);

    // The window: the report's text is drawn in its box, the buttons beside it.
    const QRect box(report->mapTo(window, QPoint(0, 0)), report->size());
    EXPECT_GT(DarkPixels(windowShot, box.adjusted(4, 4, -4, -4)), 200);
    const QRect buttons(box.right() + 1, 0, windowShot.width() - box.right() - 1,
                        windowShot.height());
    EXPECT_GT(DarkPixels(windowShot, buttons), 100);
}

}  // namespace
