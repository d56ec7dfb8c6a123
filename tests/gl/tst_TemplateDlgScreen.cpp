// The Template dialog on a real display (Xvfb): its preview shows the synthetic game's model of
// the chosen template, turning from one tick to the next, and the message in green on black for
// a model found nowhere. A screenshot of the whole dialog is left in the build folder of the
// tests.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "engine/ui/PreviewWidget.h"
#include "framework/Settings.h"
#include "level/TemplateList.h"
#include "resources/ui/TemplateDlg.h"
#include "support/FixtureLevels.h"

#include <QImage>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace {

constexpr int kWaitMs = 10000;
constexpr QRgb kBackground = qRgb(0x20, 0x40, 0x60);  // "ColorBackground" 0x00604020

bool NearColor(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 4 && std::abs(qGreen(a) - qGreen(b)) <= 4 &&
           std::abs(qBlue(a) - qBlue(b)) <= 4;
}

// Pixels of shot that are not the background colour.
int Drawn(const QImage& shot)
{
    int drawn = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (!NearColor(shot.pixel(x, y), kBackground))
                ++drawn;
    return drawn;
}

class TemplateDlgScreenTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_engine.m_game = std::move(m_synthetic->m_resources);
        m_engine.m_settings.m_colorBackground = 0x00604020;
        m_engine.m_level.m_templates = ReadTemplateList("_base none type=default\n"
                                                        "fan0 _base model3d=fan.3do\n"
                                                        "phantom _base model3d=missing.3do\n");
    }

    QImage Shot(CPreviewWidget& preview)
    {
        const int until = preview.FramesDrawn() + 2;
        EXPECT_TRUE(QTest::qWaitFor([&] { return preview.FramesDrawn() >= until; }, kWaitMs))
            << preview.DeviceError();
        return preview.GrabFrame();
    }

    std::unique_ptr<CSyntheticGame> m_synthetic = MakeSyntheticGame(0);
    CFixtureEngine m_engine{MakeBoxRoom()};
    CSettings m_settings;
};

TEST_F(TemplateDlgScreenTest, PreviewShowsTheTurningModelAndTheMessage)
{
    CTemplateDlg dialog(m_engine.m_view, m_settings, "fan0", 0);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    CPreviewWidget& preview = dialog.PreviewWidget();
    ASSERT_TRUE(preview.HasSurface()) << preview.DeviceError();

    const QImage first = Shot(preview);
    const int drawn = Drawn(first);
    EXPECT_GT(drawn, first.width() * first.height() / 50) << drawn;
    EXPECT_TRUE(NearColor(first.pixel(1, 1), kBackground)) << std::hex << first.pixel(1, 1);
    // A tick later the model has turned.
    QTest::qWait(3 * CPreviewWidget::kTickMs);
    const QImage later = Shot(preview);
    EXPECT_NE(first, later);

    QTest::qWait(200);
    const QImage screen = dialog.screen()->grabWindow(dialog.winId()).toImage();

    // A model found nowhere: the message's green text on black over the background.
    auto* tree = Control<QTreeWidget>(dialog, Ctl::kTemplateTree);
    tree->setCurrentItem(
        tree->findItems(QStringLiteral("phantom"), Qt::MatchExactly | Qt::MatchRecursive).front());
    QWidget* message = Control<QWidget>(dialog, Ctl::kTemplateMessage);
    ASSERT_TRUE(message->isVisible());
    const QImage text = message->grab().toImage();
    int green = 0;
    int black = 0;
    int background = 0;
    for (int y = 0; y < text.height(); ++y) {
        for (int x = 0; x < text.width(); ++x) {
            const QRgb pixel = text.pixel(x, y);
            green += NearColor(pixel, qRgb(0, 255, 0)) ? 1 : 0;
            black += NearColor(pixel, qRgb(0, 0, 0)) ? 1 : 0;
            background += NearColor(pixel, kBackground) ? 1 : 0;
        }
    }
    EXPECT_GT(green, 50);
    EXPECT_GT(black, 50);
    EXPECT_GT(background, text.width() * text.height() / 4);

    SavePictures({{"template_dialog.png", &screen},
                  {"template_preview_first.png", &first},
                  {"template_preview_later.png", &later},
                  {"template_preview_message.png", &text}});
    ASSERT_FALSE(screen.isNull());
    dialog.reject();
}

}  // namespace
