// The preview widget that dialogs embed, in a small window of its own on a real display (Xvfb):
// a model of the synthetic game turning, the model again after the widget moved to another
// window, and a material on its quad; and on a headless platform, where it shows the background.
// Screenshots are left in the build folder of the tests.

#include "AppTestSupport.h"
#include "SyntheticGame.h"
#include "engine/C3dView.h"
#include "engine/DecodeMaterial.h"
#include "engine/ui/PreviewWidget.h"
#include "support/FixtureLevels.h"

#include <QImage>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>

namespace {

constexpr int kWaitMs = 10000;
constexpr std::uint32_t kBackground = 0x00604020;  // "ColorBackground" 0x00BBGGRR
constexpr QRgb kBackgroundRgb = 0x204060;

bool NearRgb(QRgb actual, QRgb expected, int tolerance)
{
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

// Pixels that are not the background.
int ForegroundPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += NearRgb(image.pixel(x, y), kBackgroundRgb, 2) ? 0 : 1;
    return count;
}

void Save(const QImage& image, const char* name)
{
    EXPECT_TRUE(image.save(QString::fromStdString((TestOutputDir() / name).string())));
}

// A window holding a preview of 160 x 120 over the document engine of a box room with the
// synthetic Korvath game.
class PreviewWidgetTest : public ::testing::Test {
protected:
    PreviewWidgetTest()
    {
        m_source.m_game = std::move(m_game->m_resources);
        m_source.m_settings.m_colorBackground = kBackground;
        m_preview = new CPreviewWidget(m_source.m_view, &m_window);
        m_preview->setFixedSize(160, 120);
        auto* layout = new QVBoxLayout(&m_window);
        layout->addWidget(m_preview);
    }

    void ShowWindow()
    {
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_preview->FramesDrawn() > 0; }, kWaitMs))
            << m_preview->DeviceError();
    }

    // Waits for n more frames of the widget's timer.
    void WaitFrames(int n)
    {
        const int until = m_preview->FramesDrawn() + n;
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_preview->FramesDrawn() >= until; }, kWaitMs));
    }

    QImage Shot() { return m_preview->GrabFrame().convertToFormat(QImage::Format_RGB32); }

    bool m_hasApplication = (EnsureQApplication(), true);           // before any widget
    std::unique_ptr<CSyntheticGame> m_game = MakeSyntheticGame(0);  // its archives
    CFixtureEngine m_source{MakeBoxRoom()};
    QWidget m_window;
    CPreviewWidget* m_preview = nullptr;  // a child of m_window
};

TEST_F(PreviewWidgetTest, ModelPreviewShowsTheModelTurning)
{
    // Chosen before the widget is shown: the box is known at once, the picture at the first paint.
    ASSERT_TRUE(m_preview->ShowModel("crate.3do", "dflt.cmp", 0));
    const CBoundingBox box = m_preview->Engine().m_levelBox;
    EXPECT_NEAR(box.max.x - box.min.x, 0.1f, 1e-5f);
    EXPECT_NEAR(box.max.y - box.min.y, 0.1f, 1e-5f);
    ShowWindow();
    EXPECT_TRUE(m_preview->DeviceError().empty()) << m_preview->DeviceError();

    const QImage first = Shot();
    Save(first, "preview_model.png");
    ASSERT_EQ(first.width(), 160);
    ASSERT_EQ(first.height(), 120);
    // The corners show the background; the crate stands in the middle, textured (several
    // colours), covering a good part of the picture.
    for (const QPoint corner : {QPoint(0, 0), QPoint(159, 0), QPoint(0, 119), QPoint(159, 119)})
        EXPECT_TRUE(NearRgb(first.pixel(corner), kBackgroundRgb, 2))
            << corner.x() << "," << corner.y();
    const int model = ForegroundPixels(first);
    std::set<QRgb> colours;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            if (!NearRgb(first.pixel(x, y), kBackgroundRgb, 2))
                colours.insert(first.pixel(x, y) & 0xFFFFFFu);
    EXPECT_GT(model, 160 * 120 / 10);
    EXPECT_LT(model, 160 * 120 * 9 / 10);
    EXPECT_GE(colours.size(), 2u);
    EXPECT_FALSE(NearRgb(first.pixel(80, 60), kBackgroundRgb, 2));

    // The timer's frames turn it: a later picture differs.
    WaitFrames(3);
    const QImage later = Shot();
    Save(later, "preview_model_turned.png");
    int changed = 0;
    for (int y = 0; y < later.height(); ++y)
        for (int x = 0; x < later.width(); ++x)
            changed += later.pixel(x, y) != first.pixel(x, y);
    EXPECT_GT(changed, 100);
}

TEST_F(PreviewWidgetTest, AModelStaysAfterTheWidgetMovedToAnotherWindow)
{
    ASSERT_TRUE(m_preview->ShowModel("lamp.3do", "dflt.cmp", 1));
    ShowWindow();
    // Another top-level window: the old context goes with its textures, a new one takes over.
    QWidget other;
    auto* layout = new QVBoxLayout(&other);
    layout->addWidget(m_preview);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    WaitFrames(2);
    const QImage shot = Shot();
    Save(shot, "preview_model_moved.png");
    EXPECT_GT(ForegroundPixels(shot), 160 * 120 / 10);
    EXPECT_FALSE(NearRgb(shot.pixel(80, 60), kBackgroundRgb, 2));
    EXPECT_TRUE(NearRgb(shot.pixel(0, 0), kBackgroundRgb, 2));
}

TEST_F(PreviewWidgetTest, MaterialPreviewShowsTheMaterialsColours)
{
    ShowWindow();
    // red.mat is one colour, palette entry 180 of the colour map.
    ASSERT_TRUE(m_preview->ShowMaterial("red.mat", "dflt.cmp"));
    const int drawn = m_preview->FramesDrawn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_preview->FramesDrawn() > drawn; }, kWaitMs));
    const QImage shot = Shot();
    Save(shot, "preview_material.png");

    const CAssetSources sources{&m_source.m_game, &m_source.m_level.m_levelFiles};
    const auto image = DecodeMaterial(sources, "red.mat", "dflt.cmp");
    ASSERT_NE(image, nullptr);
    const RGBQUAD entry = image->GetInfo()->bmiColors[image->GetPixel(0, 0, 0)];
    const QRgb material = qRgb(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
    ASSERT_FALSE(NearRgb(material, kBackgroundRgb, 16));

    // The quad fills the middle of the picture in the material's colour (the device keeps 5-6-5
    // texels); the background shows beside it.
    int quad = 0;
    int background = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            quad += NearRgb(shot.pixel(x, y), material, 8);
            background += NearRgb(shot.pixel(x, y), kBackgroundRgb, 2);
        }
    EXPECT_TRUE(NearRgb(shot.pixel(80, 60), material, 8));
    EXPECT_GT(quad, 160 * 120 / 3);
    EXPECT_GT(background, 0);
    EXPECT_EQ(quad + background, 160 * 120);
}

// Offscreen, as the widget tests of dialogs run: no surface, the background, the model's box.
TEST_F(PreviewWidgetTest, HeadlessPlatformShowsTheBackground)
{
    ASSERT_TRUE(m_preview->ShowModel("crate.3do", "dflt.cmp", 0));
    m_window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    EXPECT_FALSE(m_preview->HasSurface());
    EXPECT_TRUE(m_preview->DeviceError().empty());
    const CBoundingBox box = m_preview->Engine().m_levelBox;
    EXPECT_NEAR(box.max.z - box.min.z, 0.1f, 1e-5f);
    const QImage shot = Shot();
    Save(shot, "preview_headless.png");
    ASSERT_EQ(shot.width(), 160);
    EXPECT_EQ(ForegroundPixels(shot), 0);
    // Choosing another preview while headless draws nothing either, and nothing breaks.
    EXPECT_TRUE(m_preview->ShowMaterial("red.mat", "dflt.cmp"));
    QTest::qWait(2 * CPreviewWidget::kTickMs);
    EXPECT_EQ(m_preview->FramesDrawn(), 0);
}

}  // namespace
