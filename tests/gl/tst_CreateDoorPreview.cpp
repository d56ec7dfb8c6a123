// The preview of the Create Door and Create Elevator dialogs on a real display (Xvfb): the chosen
// template's model drawn, textured, in the middle of the frame on the "ColorBackground" colour;
// the elevator's camera standing at height 0.4 moves its model off the middle; the Create Switch
// dialog shows the chosen switch material on its quad. Screenshots are left in the build folder of
// the tests.

#include "AppTestSupport.h"
#include "SyntheticGame.h"
#include "engine/C3dView.h"
#include "engine/Preview.h"
#include "engine/ui/PreviewWidget.h"
#include "support/FixtureLevels.h"
#include "tools/ui/CreateDoorDlg.h"
#include "tools/ui/CreateElevatorDlg.h"
#include "tools/ui/CreateSwitchDlg.h"
#include "tools/ui/TemplateModelPane.h"

#include <QComboBox>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>

namespace {

constexpr int kWaitMs = 10000;
constexpr std::uint32_t kBackground = 0x00604020;  // "ColorBackground" 0x00BBGGRR
constexpr QRgb kBackgroundRgb = 0x204060;

bool IsBackground(QRgb pixel)
{
    return std::abs(qRed(pixel) - qRed(kBackgroundRgb)) <= 2 &&
           std::abs(qGreen(pixel) - qGreen(kBackgroundRgb)) <= 2 &&
           std::abs(qBlue(pixel) - qBlue(kBackgroundRgb)) <= 2;
}

// The pixels of the model in a picture: their count, colours and the middle of their rows.
struct CModelPixels {
    int count = 0;
    std::set<QRgb> colours;
    double middleRow = 0.0;
};

CModelPixels ModelPixels(const QImage& image)
{
    CModelPixels model;
    double rows = 0.0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!IsBackground(image.pixel(x, y))) {
                ++model.count;
                rows += y;
                model.colours.insert(image.pixel(x, y) & 0xFFFFFFu);
            }
    model.middleRow = model.count > 0 ? rows / model.count : 0.0;
    return model;
}

class CreateDoorPreviewTest : public ::testing::Test {
protected:
    CreateDoorPreviewTest()
    {
        m_source.m_game = std::move(m_game->m_resources);
        m_source.m_settings.m_colorBackground = kBackground;
        m_source.m_view.m_selection.m_sector = 0;
        m_source.m_view.m_selection.m_surface = BoxSurface(m_source.m_level, 0, kBoxFloor);
        m_source.m_view.m_selection.m_pickedNodes = {{0.5f, 0, 0.5f}, {0.5f, 0, 0.8f}};
    }

    // Shows dialog, waits for frames of its preview and gives the preview's picture, saved as
    // name.
    QImage Shot(QDialog& dialog, CPreviewWidget& preview, const char* name)
    {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_TRUE(QTest::qWaitFor([&] { return preview.FramesDrawn() > 2; }, kWaitMs))
            << preview.DeviceError();
        const QImage shot = preview.GrabFrame().convertToFormat(QImage::Format_RGB32);
        SavePictures({{name, &shot}});
        return shot;
    }

    bool m_hasApplication = (EnsureQApplication(), true);
    std::unique_ptr<CSyntheticGame> m_game = MakeSyntheticGame(0);
    CFixtureEngine m_source{MakeBoxRoom()};
};

TEST_F(CreateDoorPreviewTest, TheDoorDialogShowsTheDoorsModel)
{
    CCreateDoorDlg dialog(m_source.m_view);
    auto* list = dialog.findChild<QComboBox*>(Id(Ctl::kModelTemplate));
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(list->findText(QStringLiteral("door")));
    CPreviewWidget& preview = dialog.Pane().Preview();
    ASSERT_NE(preview.Engine().m_previewModel, nullptr);
    EXPECT_EQ(preview.Engine().m_previewModel->m_fileName, "door.3do");

    const QImage shot = Shot(dialog, preview, "create_door_preview.png");
    const QImage whole = dialog.grab().toImage();
    SavePictures({{"create_door_dialog.png", &whole}});
    ASSERT_EQ(shot.size(), preview.size() * preview.devicePixelRatioF());
    const int w = shot.width();
    const int h = shot.height();
    // The corners show the background; the door stands in the middle, in the colours of its
    // texture, covering a good part of the frame but not all of it.
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
        EXPECT_TRUE(IsBackground(shot.pixel(corner))) << corner.x() << "," << corner.y();
    EXPECT_FALSE(IsBackground(shot.pixel(w / 2, h / 2)));
    const CModelPixels model = ModelPixels(shot);
    EXPECT_GT(model.count, w * h / 20);
    EXPECT_LT(model.count, w * h * 9 / 10);
    EXPECT_GE(model.colours.size(), 2u);
}

TEST_F(CreateDoorPreviewTest, TheElevatorsCameraAtHeightPointFourMovesTheModelOffTheMiddle)
{
    CCreateElevatorDlg dialog(m_source.m_view);
    auto* list = dialog.findChild<QComboBox*>(Id(Ctl::kModelTemplate));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 0);  // the synthetic game has no elevator template
    // The crate in the elevator dialog's preview, and in a plain preview for comparison.
    CPreviewWidget& preview = dialog.Pane().Preview();
    ASSERT_TRUE(preview.ShowModel("crate.3do", "dflt.cmp", 0));
    const QImage elevator = Shot(dialog, preview, "create_elevator_preview.png");
    const CPreviewFit fit = FitPreview(preview.Engine().m_levelBox, 0);

    preview.SetModelCameraHeight(std::nullopt);
    ASSERT_TRUE(preview.ShowModel("crate.3do", "dflt.cmp", 0));
    const int drawn = preview.FramesDrawn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.FramesDrawn() > drawn + 1; }, kWaitMs));
    const QImage plain = preview.GrabFrame().convertToFormat(QImage::Format_RGB32);
    SavePictures({{"create_elevator_preview_plain.png", &plain}});

    const CModelPixels raised = ModelPixels(elevator);
    const CModelPixels centred = ModelPixels(plain);
    ASSERT_GT(raised.count, 100);
    ASSERT_GT(centred.count, 100);
    // A camera below the model's middle shows the model higher up (smaller rows), one above it
    // lower down; the plain preview keeps it about the middle.
    EXPECT_NEAR(centred.middleRow, plain.height() / 2.0, plain.height() / 10.0);
    ASSERT_NE(fit.m_camera.y, CCreateElevatorDlg::kPreviewCameraHeight);
    if (CCreateElevatorDlg::kPreviewCameraHeight < fit.m_camera.y)
        EXPECT_LT(raised.middleRow, centred.middleRow - 3);
    else
        EXPECT_GT(raised.middleRow, centred.middleRow + 3);
}

TEST_F(CreateDoorPreviewTest, TheSwitchDialogShowsTheChosenSwitchMaterial)
{
    CCreateSwitchDlg dialog(m_source.m_view, {"lava.mat", "brick.mat"});
    auto* list = dialog.findChild<QComboBox*>(Id(Ctl::kSwitchList));
    ASSERT_NE(list, nullptr);
    CPreviewWidget& preview = dialog.Preview();
    // Entry 0, brick.mat, is shown first.
    const QImage brick = Shot(dialog, preview, "create_switch_preview_brick.png");
    const QImage whole = dialog.grab().toImage();
    SavePictures({{"create_switch_dialog.png", &whole}});
    list->setCurrentIndex(list->findText(QStringLiteral("lava.mat")));
    const int drawn = preview.FramesDrawn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.FramesDrawn() > drawn + 1; }, kWaitMs));
    const QImage lava = preview.GrabFrame().convertToFormat(QImage::Format_RGB32);
    SavePictures({{"create_switch_preview_lava.png", &lava}});

    // The quad covers the middle of the frame in the texture's colours, each material its own.
    for (const QImage* shot : {&brick, &lava}) {
        EXPECT_FALSE(IsBackground(shot->pixel(shot->width() / 2, shot->height() / 2)));
        const CModelPixels quad = ModelPixels(*shot);
        EXPECT_GT(quad.count, shot->width() * shot->height() / 4);
        EXPECT_GE(quad.colours.size(), 2u);
    }
    EXPECT_NE(ModelPixels(brick).colours, ModelPixels(lava).colours);
}

}  // namespace
