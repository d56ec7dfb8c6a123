// The main window with a level open on a real display (label "gl": run under Xvfb), at 100 % and,
// in a second run with QT_SCALE_FACTOR=2, at 200 %: every tool-bar button shows its pictogram in
// the colours of its SVG file at the bars' icon size in device pixels, rendered at that size rather
// than scaled up, and the 3D view is drawn over the whole of its widget.

#include "EditorTestSupport.h"

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/QzEditApp.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace {

// The colours (0xRRGGBB) an SVG file names.
std::vector<QRgb> SvgColours(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLatin1(file.readAll());
    std::vector<QRgb> colours;
    static const QRegularExpression hex(QStringLiteral("#([0-9a-fA-F]{6})\\b"));
    for (auto it = hex.globalMatch(text); it.hasNext();) {
        const QRgb rgb = it.next().captured(1).toUInt(nullptr, 16);
        if (std::find(colours.begin(), colours.end(), rgb) == colours.end())
            colours.push_back(rgb);
    }
    return colours;
}

bool Near(QRgb pixel, QRgb rgb, int tolerance)
{
    return std::abs(qRed(pixel) - qRed(rgb)) <= tolerance &&
           std::abs(qGreen(pixel) - qGreen(rgb)) <= tolerance &&
           std::abs(qBlue(pixel) - qBlue(rgb)) <= tolerance;
}

int CountNear(const QImage& image, const QRect& rect, const std::vector<QRgb>& colours)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            for (const QRgb rgb : colours)
                if (Near(image.pixel(x, y), rgb, 24)) {
                    ++count;
                    break;
                }
    return count;
}

// The bounding box of the pixels of rect that differ from the colour most of its border has (the
// bar's, or the panel's of a checked button).
QRect DrawnBox(const QImage& image, const QRect& rect)
{
    std::map<QRgb, int> border;
    for (int x = rect.left(); x <= rect.right(); ++x) {
        ++border[image.pixel(x, rect.top())];
        ++border[image.pixel(x, rect.bottom())];
    }
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        ++border[image.pixel(rect.left(), y)];
        ++border[image.pixel(rect.right(), y)];
    }
    const QRgb background =
        std::ranges::max_element(border, {}, &std::pair<const QRgb, int>::second)->first;
    QRect box;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (!Near(image.pixel(x, y), background, 24))
                box |= QRect(x, y, 1, 1);
    return box;
}

struct CSoftCount {
    long soft = 0;
    long drawn = 0;
    void Add(const QImage& image)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int alpha = qAlpha(image.pixel(x, y));
                drawn += alpha > 0 ? 1 : 0;
                soft += alpha > 0 && alpha < 255 ? 1 : 0;
            }
    }
    double Share() const { return drawn > 0 ? static_cast<double>(soft) / drawn : 1.0; }
};

class MainWindowIconsScreenTest : public EditorTest {};

TEST_F(MainWindowIconsScreenTest, ToolBarsShowTheirPictogramsAndTheViewFillsItsWidget)
{
    // Fusion's light palette, whatever the desktop's.
    QApplication::setPalette(QApplication::style()->standardPalette());
    // The picture follows the view's size (StretchMode 0).
    Open(0);
    CMainFrame& frame = *m_app->m_pMainFrame;
    const double ratio = frame.devicePixelRatioF();
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == QStringLiteral("2")) {
        EXPECT_EQ(ratio, 2.0);
    }
    // The whole window on the screen.
    const QRect available = frame.screen()->availableGeometry();
    frame.setGeometry(available.adjusted(0, 0, -available.width() / 50, -available.height() / 50));
    QTest::qWait(200);
    // In the first room, looking at its far wall and through the open side into the second.
    LightByFacing(CVector3(1.0f, 2.0f, -3.0f));
    PlaceCamera(0.5f, 0.5f, 0.1f);
    QTest::qWait(300);

    QApplication::processEvents();
    const QImage screen =
        frame.screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origin = frame.mapToGlobal(QPoint(0, 0));
    const QRect onScreen(
        QPoint(static_cast<int>(origin.x() * ratio), static_cast<int>(origin.y() * ratio)),
        frame.size() * ratio);
    const QImage window = screen.copy(onScreen);
    const char* name = ratio > 1.5 ? "main_window_icons_200.png" : "main_window_icons_100.png";
    SavePictures({{name, &window}});

    // The 3D view: its picture has the widget's device pixels and is drawn over the whole of it:
    // the lower-right quarter, which a viewport of logical pixels would leave to the background
    // at 200 %, shows the walls.
    {
        const QImage picture = m_view->GrabFrame().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(picture.size(), m_view->ClientRect().size() * ratio);
        const QRect quarter(picture.rect().center(), picture.rect().bottomRight());
        const QImage lowerRight = picture.copy(quarter);
        EXPECT_GE(DistinctColors(picture, picture.rect()), 3);
        const int total = lowerRight.width() * lowerRight.height();
        EXPECT_LT(CountColor(lowerRight, kEditorBackground) + CountColor(lowerRight, 0), total / 2);
        const char* viewName =
            ratio > 1.5 ? "main_window_view_200.png" : "main_window_view_100.png";
        SavePictures({{viewName, &picture}});
        // What the screen shows of the view's lower-right quarter.
        const QPoint viewOrigin = m_view->mapTo(&frame, QPoint(0, 0));
        const QRect view(QPoint(static_cast<int>(viewOrigin.x() * ratio),
                                static_cast<int>(viewOrigin.y() * ratio)),
                         m_view->size() * ratio);
        const QImage shown = window.copy(QRect(view.center(), view.bottomRight()));
        std::printf("view on the screen, lower-right quarter: %d colours\n",
                    DistinctColors(shown, shown.rect()));
    }

    // Each button: its pictogram, at the bars' icon size in device pixels.
    const int iconPixels = static_cast<int>(std::lround(16 * ratio));
    int buttons = 0;
    int enabled = 0;
    CSoftCount rendered;
    CSoftCount scaledUp;
    for (const CToolBarInfo& info : ToolBars()) {
        auto* bar = frame.findChild<QToolBar*>(Id(info.m_id));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->iconSize(), QSize(16, 16));
        for (QAction* action : bar->actions()) {
            if (action->isSeparator())
                continue;
            const int id = action->objectName().toInt();
            SCOPED_TRACE(id);
            const CCommandInfo* command = FindCommand(id);
            ASSERT_NE(command, nullptr);
            ASSERT_NE(command->m_iconName, nullptr);
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
            ASSERT_NE(button, nullptr);
            ++buttons;
            const QImage picture = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(picture.size(), button->size() * ratio);
            // The square round the button's centre where the style draws the icon, with room for
            // a pixel of placement either way but inside the frame of a checked button.
            const int half = iconPixels / 2 + 1;
            const QPoint centre = picture.rect().center();
            const QRect iconArea(centre - QPoint(half, half), centre + QPoint(half, half));
            const QRect box = DrawnBox(picture, iconArea);
            EXPECT_LE(box.width(), iconPixels + 1);
            EXPECT_LE(box.height(), iconPixels + 1);
            EXPECT_GE(std::max(box.width(), box.height()), iconPixels * 3 / 4);
            if (action->isEnabled()) {
                ++enabled;
                // The colours of the file, outlines and fills.
                const std::vector<QRgb> colours = SvgColours(
                    QString::fromStdString((TestResDir() / "icons").string()) + QLatin1Char('/') +
                    QLatin1String(command->m_iconName) + QStringLiteral(".svg"));
                ASSERT_FALSE(colours.empty());
                EXPECT_GE(CountNear(picture, iconArea, colours),
                          static_cast<int>(3 * ratio * ratio));
                std::vector<QRgb> fills = colours;
                std::erase(fills, 0x263238u);
                if (!fills.empty()) {
                    EXPECT_GE(CountNear(picture, iconArea, fills),
                              static_cast<int>(2 * ratio * ratio));
                }
            }
            // The image the button draws: rendered at the device size, not a smaller one scaled.
            const QPixmap pixmap = action->icon().pixmap(QSize(16, 16), ratio);
            EXPECT_EQ(pixmap.size(), QSize(iconPixels, iconPixels));
            rendered.Add(pixmap.toImage().convertToFormat(QImage::Format_ARGB32));
            scaledUp.Add(
                action->icon()
                    .pixmap(QSize(16, 16), 1.0)
                    .scaled(iconPixels, iconPixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .toImage()
                    .convertToFormat(QImage::Format_ARGB32));
        }
    }
    EXPECT_EQ(buttons, 75);
    // With the level open the file, mode and render buttons at least are enabled.
    EXPECT_GE(enabled, 15);
    std::printf("soft edges: %.3f rendered, %.3f scaled up\n", rendered.Share(), scaledUp.Share());
    if (ratio > 1.5) {
        EXPECT_LT(rendered.Share(), 0.8 * scaledUp.Share());
    }
}

}  // namespace
