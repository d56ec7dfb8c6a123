// The Options sheet over the running editor on a real OpenGL context (label "gl": run under
// Xvfb): the screen shows the sheet's tab row and its colour swatches in their colours over the
// drawn level; the device list names the OpenGL renderer that status pane 0 shows; a background
// colour and a stretch factor chosen in the sheet reach the 3D view at once.

#include "AppTestSupport.h"
#include "OptionsSheetDriver.h"

#include "app/ColorsPage.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/gl/GlRenderDevice.h"
#include "level/QzlWriter.h"
#include "support/FixtureLevels.h"
#include "ui/SheetDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <cstdint>
#include <cstdio>
#include <functional>

namespace {

constexpr int kWaitMs = 20000;
constexpr std::uint32_t kBackground = 0x00204060;  // "ColorBackground", 0x00BBGGRR
const QColor kChosenBackground(0x30, 0xC0, 0x50);

// Pixels of image inside area (image coordinates) whose colour is, or with equal false is not,
// color.
int Count(const QImage& image, const QRect& area, const QColor& color, bool equal = true)
{
    int count = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += (image.pixelColor(x, y).rgb() == color.rgb()) == equal ? 1 : 0;
    return count;
}

class OptionsScreenTest : public AppTest {
protected:
    void TearDown() override
    {
        CColorsPage::SetColorDialog(nullptr);
        AppTest::TearDown();
    }

    // The two joined rooms opened in the editor and drawn, seen from above and in front so that
    // the background shows around them.
    CQzEditView* OpenAndDraw()
    {
        CQzEditApp& app = MakeApp();
        app.m_settings.m_colorBackground = kBackground;
        app.m_settings.m_renderMode = 0;
        app.m_pMainFrame->setGeometry(20, 20, 1000, 750);
        CQzlSections level = MakeTwoJoinedRooms();
        if (level.m_gameTag.empty())
            level.m_gameTag = "QZ";
        const std::filesystem::path path = Temp() / "two rooms.qzl";
        SaveQzlFile(path, level, CGameResources(), 0);
        CQzEditDoc* doc = app.OpenDocumentFile(QString::fromStdString(path.string()));
        EXPECT_NE(doc, nullptr) << m_messages.join(QStringLiteral("; ")).toStdString();
        if (doc == nullptr)
            return nullptr;
        doc->m_state.m_renderMode = 0;
        app.m_pMainFrame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(app.m_pMainFrame));
        m_view = doc->View3d();
        const bool drawn = m_view != nullptr && QTest::qWaitFor(
                                                    [&] {
                                                        return m_view->Engine() != nullptr &&
                                                               m_view->Device() != nullptr &&
                                                               m_view->PaintCount() > 0;
                                                    },
                                                    kWaitMs);
        EXPECT_TRUE(drawn);
        if (!drawn)
            return nullptr;
        C3dView& engine = *m_view->Engine();
        SetCameraAxes(engine, 0.0f, -0.6476f, 0.7619f, 0.0f, 0.7619f, 0.6476f);
        SetCameraPosition(engine, 1.0f, 2.2f, -1.5f);
        Repaint();
        return m_view;
    }

    // Updates the document's views and waits for the 3D view's next paint.
    void Repaint()
    {
        const int paints = m_view->PaintCount();
        m_view->Document().UpdateAllViews(nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kWaitMs));
    }

    // Runs act while the Options sheet is up and shown on the screen.
    void WithOptions(const std::function<void(CSheetDlg&)>& act)
    {
        EXPECT_TRUE(WithOptionsSheet(*m_app->m_pMainFrame, [&](CSheetDlg& sheet) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&sheet));
            act(sheet);
        }));
    }

    // The screen as it shows now.
    static QImage GrabScreen(const QWidget& over)
    {
        QApplication::processEvents();
        QScreen* screen = over.screen();
        return screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    }

    // A rectangle of widget (the whole widget by default) in the pixels of image, grabbed from
    // the screen at its pixel ratio.
    static QRect OnScreen(const QWidget& widget, const QImage& image, QRect local = QRect())
    {
        if (local.isNull())
            local = widget.rect();
        const double ratio = image.devicePixelRatio();
        const QPoint topLeft = widget.mapToGlobal(local.topLeft());
        return QRect(
            QPoint(static_cast<int>(topLeft.x() * ratio), static_cast<int>(topLeft.y() * ratio)),
            local.size() * ratio);
    }

    CQzEditView* m_view = nullptr;
};

TEST_F(OptionsScreenTest, SheetShowsOverTheEditorAndItsChoicesReachTheView)
{
    CQzEditView* view = OpenAndDraw();
    ASSERT_NE(view, nullptr);
    C3dView& engine = *view->Engine();
    CQzEditApp& app = *m_app;
    CColorsPage::SetColorDialog([](const QColor&, QWidget*) { return kChosenBackground; });
    const QColor background = CColorsPage::FromSetting(kBackground);
    const QColor selectedVertex = CColorsPage::FromSetting(app.m_settings.m_colorSelect);

    WithOptions([&](CSheetDlg& sheet) {
        // The device list names the OpenGL renderer of the view, as status pane 0 does; the
        // stretch factors are the device's display modes.
        auto* devices = sheet.findChild<QComboBox*>(Id(Ctl::kDevice));
        ASSERT_NE(devices, nullptr);
        ASSERT_EQ(devices->count(), 1);
        const QString renderer = QString::fromStdString(view->Device()->Renderer());
        EXPECT_EQ(devices->itemText(0), renderer);
        ASSERT_NE(app.m_pMainFrame->StatusPane(0), nullptr);
        EXPECT_EQ(app.m_pMainFrame->StatusPane(0)->text(), renderer);
        auto* modes = sheet.findChild<QComboBox*>(Id(Ctl::kStretchFactor));
        ASSERT_NE(modes, nullptr);
        ASSERT_EQ(static_cast<std::size_t>(modes->count()),
                  engine.m_viewport.m_displayModes.size());
        EXPECT_EQ(modes->itemText(1), QStringLiteral("320x240"));

        auto* tabs = sheet.findChild<QTabWidget*>(Id(Ctl::kTabControl));
        ASSERT_NE(tabs, nullptr);
        tabs->setCurrentIndex(1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return sheet.Page(1)->isVisible(); }, kWaitMs));
        QTest::qWait(100);
        const QImage screen = GrabScreen(sheet);
        const QString png =
            QDir(QStringLiteral(QZ_TEST_OUTPUT_DIR)).filePath("options_sheet_over_editor.png");
        EXPECT_TRUE(screen.save(png));
        std::printf("Options sheet over the editor: %s\n", png.toLocal8Bit().constData());

        // Each swatch shows its colour in the middle of its button.
        const struct {
            int id;
            QColor color;
        } swatches[] = {{Ctl::kColorBackground, background},
                        {Ctl::kColorSelectedVertex, selectedVertex}};
        for (const auto& swatch : swatches) {
            const QWidget* button = sheet.findChild<QWidget*>(Id(swatch.id));
            ASSERT_NE(button, nullptr);
            const QRect area = OnScreen(*button, screen);
            const QRect middle(area.center() - QPoint(3, 3), QSize(7, 7));
            EXPECT_EQ(Count(screen, middle, swatch.color), 49) << swatch.id;
        }
        // The tab row shows its three captions: dark text on the tabs' face.
        const QTabBar* bar = tabs->tabBar();
        for (int i = 0; i < 3; ++i) {
            const QRect tab = OnScreen(*bar, screen, bar->tabRect(i)) & screen.rect();
            int dark = 0;
            for (int y = tab.top(); y <= tab.bottom(); ++y)
                for (int x = tab.left(); x <= tab.right(); ++x)
                    dark += qGray(screen.pixel(x, y)) < 96 ? 1 : 0;
            EXPECT_GT(dark, 20) << "tab " << i;
        }
        // Around the sheet the editor shows the level drawn over its background.
        const QRect viewArea = OnScreen(*view, screen);
        const QRect sheetArea = OnScreen(sheet, screen);
        int level = 0;
        int around = 0;
        for (int y = viewArea.top(); y <= viewArea.bottom(); ++y)
            for (int x = viewArea.left(); x <= viewArea.right(); ++x) {
                if (sheetArea.contains(x, y))
                    continue;
                ++around;
                level += screen.pixelColor(x, y).rgb() == background.rgb() ? 0 : 1;
            }
        EXPECT_GT(around, 0);
        EXPECT_GT(level, around / 20);
        EXPECT_LT(level, around);

        // A new background colour, and the smallest stretch factor.
        sheet.findChild<QAbstractButton*>(Id(Ctl::kColorBackground))->click();
        tabs->setCurrentIndex(0);
        modes->setCurrentIndex(1);
        sheet.findChild<QAbstractButton*>(Id(Ctl::kOk))->click();
        EXPECT_FALSE(sheet.isVisible());
    });

    // The device was made again for the stretch factor and the frame clears to the new colour.
    EXPECT_EQ(app.m_settings.m_colorBackground, CColorsPage::ToSetting(kChosenBackground));
    EXPECT_EQ(app.m_settings.m_stretchMode, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.m_viewport.m_renderWidth == 320; }, kWaitMs));
    EXPECT_EQ(engine.m_viewport.m_renderHeight, 240);
    const QImage frame = view->GrabFrame();
    const QString png = QDir(QStringLiteral(QZ_TEST_OUTPUT_DIR)).filePath("options_applied.png");
    EXPECT_TRUE(frame.save(png));
    EXPECT_GT(Count(frame, frame.rect(), kChosenBackground), frame.width() * frame.height() / 10);
    EXPECT_EQ(Count(frame, frame.rect(), background), 0);
}

}  // namespace
