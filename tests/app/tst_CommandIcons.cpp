// The pictograms of the commands: every tool-bar command has its SVG file, built in and in the
// source folder; every file of res/icons is plain SVG of the allowed elements and draws at 16
// pixels in a light and a dark palette (light outlines there); the icons are rendered at the
// device pixel ratio asked, crisp at 200 %; the main frame shows them on its buttons and menu
// items and draws them again when the palette turns dark.

#include "AppTestSupport.h"

#include "app/Commands.h"
#include "app/MainFrame.h"
#include "app/QzEditApp.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QSet>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QToolBar>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

QString IconsDir()
{
    return QString::fromStdString((TestResDir() / "icons").string());
}

// The SVG files of the source folder's res/icons.
QStringList IconFiles()
{
    QStringList files;
    const QDir dir(IconsDir());
    for (const QString& name : dir.entryList({QStringLiteral("*.svg")}, QDir::Files))
        files << dir.filePath(name);
    return files;
}

QImage Picture(const QIcon& icon, int size, qreal ratio = 1.0, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(size, size), ratio, mode)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

bool AnyDrawn(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}

// Opaque pixels of the colour rgb (0xRRGGBB).
int CountOpaque(const QImage& image, QRgb rgb)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 255 && (pixel & 0xFFFFFF) == rgb)
                ++count;
        }
    return count;
}

// The share of the drawn pixels whose alpha lies between 0 and 255: the blurred edges.
double SoftEdgeShare(const QImage& image)
{
    int drawn = 0;
    int soft = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            drawn += alpha > 0 ? 1 : 0;
            soft += alpha > 0 && alpha < 255 ? 1 : 0;
        }
    return drawn > 0 ? static_cast<double>(soft) / drawn : 1.0;
}

constexpr QRgb kOutline = 0x263238;
constexpr QRgb kDarkOutline = 0xeceff1;

QPalette PaletteWithWindow(QColor window)
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, window);
    return palette;
}

TEST(CommandIconsTest, EveryToolBarCommandHasItsPictogramBuiltInAndInTheSourceFolder)
{
    EnsureQApplication();
    QSet<int> onToolBars;
    for (const CToolBarInfo& bar : ToolBars())
        for (const int button : bar.m_buttons) {
            if (button == Cmd::kSeparator)
                continue;
            onToolBars.insert(button);
            const CCommandInfo* info = FindCommand(button);
            ASSERT_NE(info, nullptr) << button;
            ASSERT_NE(info->m_iconName, nullptr) << button;
            const QString name = QString::fromLatin1(info->m_iconName) + QStringLiteral(".svg");
            EXPECT_TRUE(QFile::exists(QStringLiteral(":/icons/") + name)) << name.toStdString();
            EXPECT_TRUE(QFile::exists(QDir(IconsDir()).filePath(name))) << name.toStdString();
            EXPECT_FALSE(CommandIcon(*info, false).isNull()) << name.toStdString();
        }
    EXPECT_EQ(onToolBars.size(), 75);
    // Menu-only and key-only commands have none.
    for (const CCommandInfo& info : CommandTable())
        if (!onToolBars.contains(info.m_id)) {
            EXPECT_EQ(info.m_iconName, nullptr) << info.m_id;
            EXPECT_TRUE(CommandIcon(info, false).isNull()) << info.m_id;
        }
}

TEST(CommandIconsTest, EveryIconFileIsPlainSvgOfTheAllowedElements)
{
    EnsureQApplication();
    const QStringList files = IconFiles();
    ASSERT_FALSE(files.isEmpty()) << IconsDir().toStdString();
    const QSet<QString> allowed = {"svg",  "g",        "path",    "rect",  "circle", "ellipse",
                                   "line", "polyline", "polygon", "title", "desc"};
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_TRUE(QSvgRenderer(path).isValid());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        bool root = true;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QString element = xml.name().toString();
            EXPECT_TRUE(allowed.contains(element)) << element.toStdString();
            const QXmlStreamAttributes attributes = xml.attributes();
            for (const QXmlStreamAttribute& attribute : attributes) {
                const QString attributeName = attribute.name().toString();
                EXPECT_NE(attributeName, QStringLiteral("href")) << element.toStdString();
                EXPECT_NE(attributeName, QStringLiteral("filter")) << element.toStdString();
                EXPECT_NE(attributeName, QStringLiteral("style")) << element.toStdString();
                // Gradients, patterns and other files are all reached through url(...).
                EXPECT_FALSE(attribute.value().contains(QStringLiteral("url(")))
                    << element.toStdString() << " " << attributeName.toStdString();
            }
            if (root) {
                root = false;
                EXPECT_EQ(element, QStringLiteral("svg"));
                if (!path.endsWith(QStringLiteral("/qzedit.svg"))) {
                    // The pictograms share one 24 grid.
                    EXPECT_EQ(attributes.value("width"), QStringLiteral("24"));
                    EXPECT_EQ(attributes.value("height"), QStringLiteral("24"));
                    EXPECT_EQ(attributes.value("viewBox"), QStringLiteral("0 0 24 24"));
                }
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    }
}

TEST(CommandIconsTest, EveryIconDrawsInTheLightAndTheDarkPalette)
{
    EnsureQApplication();
    const QStringList files = IconFiles();
    ASSERT_FALSE(files.isEmpty());
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const bool outlined = file.readAll().contains(kOutlineColor);
        for (const bool dark : {false, true}) {
            SCOPED_TRACE(dark ? "dark" : "light");
            const QIcon icon = SvgIcon(path, dark);
            ASSERT_FALSE(icon.isNull());
            const QImage small = Picture(icon, 16);
            EXPECT_EQ(small.size(), QSize(16, 16));
            EXPECT_TRUE(AnyDrawn(small));
            // At 48 pixels the 1.5 outline is three pixels wide: its colour shows unblended.
            const QImage large = Picture(icon, 48);
            if (dark) {
                EXPECT_EQ(CountOpaque(small, kOutline), 0);
                EXPECT_EQ(CountOpaque(large, kOutline), 0);
            }
            if (outlined) {
                EXPECT_GT(CountOpaque(large, dark ? kDarkOutline : kOutline), 0);
            }
        }
    }
}

// A pictogram of our own: a grey square outlined in the outline colour, the outline's edges at
// 2.25 and 3.75 units from the border: on whole pixels at 32 pixels, on half pixels at 16.
constexpr char kSquareSvg[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">)"
    R"(<rect x="3" y="3" width="18" height="18" fill="#cfd8dc" stroke="#263238" )"
    R"(stroke-width="1.5"/></svg>)";

TEST(CommandIconsTest, IconsAreRenderedAtTheDevicePixelRatioAsked)
{
    EnsureQApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString square = dir.filePath(QStringLiteral("square.svg"));
    {
        QFile file(square);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kSquareSvg);
    }
    const QIcon icon = SvgIcon(square, false);
    ASSERT_FALSE(icon.isNull());

    // 200 %: 32 device pixels drawn from the SVG, not the 16-pixel image scaled up (whose edges
    // would all be blended).
    const QPixmap doubled = icon.pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(doubled.size(), QSize(32, 32));
    EXPECT_EQ(doubled.devicePixelRatio(), 2.0);
    const QImage sharp = doubled.toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(SoftEdgeShare(sharp), 0.0);
    EXPECT_GT(CountOpaque(sharp, kOutline), 0);
    EXPECT_GT(CountOpaque(sharp, 0xcfd8dc), 0);
    const QImage scaledUp =
        Picture(icon, 16).scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_GT(SoftEdgeShare(scaledUp), 0.1);

    // Greyed buttons draw a greyed picture of the same shape.
    const QImage normal = Picture(icon, 16);
    const QImage disabled = Picture(icon, 16, 1.0, QIcon::Disabled);
    EXPECT_TRUE(AnyDrawn(disabled));
    EXPECT_NE(normal, disabled);

    // Dark palette: the outline turns light, the fill stays.
    const QImage dark = Picture(SvgIcon(square, true), 32);
    EXPECT_EQ(CountOpaque(dark, kOutline), 0);
    EXPECT_GT(CountOpaque(dark, kDarkOutline), 0);
    EXPECT_GT(CountOpaque(dark, 0xcfd8dc), 0);
}

TEST(CommandIconsTest, MissingOrBrokenFilesGiveNoIcon)
{
    EnsureQApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        const char* name;
        const char* text;  // null: no file
    };
    const Case cases[] = {
        {"missing.svg", nullptr},
        {"empty.svg", ""},
        {"not-svg.svg", "GIF89a"},
        {"cut-short.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24"><rect)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        if (c.text != nullptr) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.text);
        }
        for (const bool dark : {false, true})
            EXPECT_TRUE(SvgIcon(path, dark).isNull());
    }
    EXPECT_TRUE(IsDarkPalette(PaletteWithWindow(QColor(0x20, 0x20, 0x20))));
    EXPECT_TRUE(IsDarkPalette(PaletteWithWindow(QColor(0x7f, 0x7f, 0x7f))));
    EXPECT_FALSE(IsDarkPalette(PaletteWithWindow(QColor(0x80, 0x80, 0x80))));
    EXPECT_FALSE(IsDarkPalette(PaletteWithWindow(QColor(0xef, 0xef, 0xef))));
}

class CommandIconsFrameTest : public AppTest {};

TEST_F(CommandIconsFrameTest, ButtonsAndMenuItemsShowThePictogramsAndFollowThePalette)
{
    CQzEditApp& app = MakeApp();
    ASSERT_NE(app.m_pMainFrame, nullptr);
    CMainFrame& frame = *app.m_pMainFrame;
    const QPalette kept = QApplication::palette();
    QApplication::setPalette(PaletteWithWindow(QColor(0xef, 0xef, 0xef)));
    QApplication::processEvents();

    auto* link = frame.findChild<QAction*>(Id(Cmd::kLink));
    auto* cut = frame.findChild<QAction*>(Id(Cmd::kEditCut));
    auto* saveAs = frame.findChild<QAction*>(Id(Cmd::kFileSaveAs));
    ASSERT_NE(link, nullptr);
    ASSERT_NE(cut, nullptr);
    ASSERT_NE(saveAs, nullptr);
    auto* standard = frame.findChild<QToolBar*>(Id(Ctl::kStandardToolBar));
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(standard->iconSize(), QSize(16, 16));
    EXPECT_TRUE(standard->actions().contains(link));
    // The menu item shows what the button shows; a menu-only command has no picture.
    EXPECT_TRUE(link->isIconVisibleInMenu());
    EXPECT_TRUE(cut->isIconVisibleInMenu());
    EXPECT_TRUE(saveAs->icon().isNull());

    const auto outlines = [](const QAction* action, QRgb rgb) {
        return CountOpaque(Picture(action->icon(), 48), rgb);
    };
    EXPECT_GT(outlines(link, kOutline), 0);
    EXPECT_EQ(outlines(link, kDarkOutline), 0);

    QApplication::setPalette(PaletteWithWindow(QColor(0x2b, 0x2b, 0x2b)));
    QApplication::processEvents();
    for (const QAction* action : {link, cut}) {
        EXPECT_EQ(outlines(action, kOutline), 0) << action->objectName().toStdString();
        EXPECT_GT(outlines(action, kDarkOutline), 0) << action->objectName().toStdString();
    }
    EXPECT_TRUE(saveAs->icon().isNull());

    QApplication::setPalette(PaletteWithWindow(QColor(0xef, 0xef, 0xef)));
    QApplication::processEvents();
    EXPECT_GT(outlines(link, kOutline), 0);
    EXPECT_EQ(outlines(link, kDarkOutline), 0);
    QApplication::setPalette(kept);
}

}  // namespace
