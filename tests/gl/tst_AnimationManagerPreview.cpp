// The Animation Manager's preview on a real display (Xvfb): the quad shows the chosen frame of
// the level's animated material, the frame after an edit, and the frames in turn while playing.
// The screenshots are left in the build folder of the tests.

#include "AppTestSupport.h"

#include "engine/ColorMap.h"
#include "engine/MaterialCels.h"
#include "engine/ui/PreviewWidget.h"
#include "resources/ui/AnimationManagerDlg.h"
#include "support/FixtureLevels.h"

#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace {

constexpr int kWaitMs = 10000;
// The frames' grey levels (palette indices of the grey ramp, which the box room's missing colour
// map gives).
constexpr std::uint8_t kGreys[] = {40, 130, 220};

CBitmapImage Frames()
{
    CBitmapImage image;
    for (const std::uint8_t grey : kGreys) {
        CBitmapImage cel;
        cel.CreateFromBits(CColorMap::GreyRamp(), std::vector<std::uint8_t>(32 * 32, grey), 32, 32,
                           8);
        if (image.IsEmpty())
            image = cel;
        else
            EXPECT_TRUE(AppendCels(image, cel));
    }
    return image;
}

// The grey of the picture's middle, -1 when it is not grey.
int MiddleGrey(const QImage& shot)
{
    const QRgb middle = shot.pixel(shot.width() / 2, shot.height() / 2);
    if (std::abs(qRed(middle) - qGreen(middle)) > 8 || std::abs(qBlue(middle) - qGreen(middle)) > 8)
        return -1;
    return qGreen(middle);
}

class AnimationManagerPreviewTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        AddMaterialFile(m_engine.m_level.m_levelFiles, "fire.mat", Frames());
        m_engine.m_settings.m_colorBackground = 0x00604020;
    }

    QImage Shot(CAnimationManagerDlg& dialog)
    {
        CPreviewWidget& preview = dialog.Preview();
        const int until = preview.FramesDrawn() + 2;
        EXPECT_TRUE(QTest::qWaitFor([&] { return preview.FramesDrawn() >= until; }, kWaitMs))
            << preview.DeviceError();
        return preview.GrabFrame();
    }

    static bool Near(int grey, std::uint8_t want) { return std::abs(grey - want) <= 8; }

    CFixtureEngine m_engine{MakeBoxRoom()};
};

TEST_F(AnimationManagerPreviewTest, QuadShowsTheChosenFrameAndPlaysThemInTurn)
{
    CAnimationManagerDlg dialog(m_engine.m_view, "fire.mat");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_TRUE(dialog.Preview().HasSurface()) << dialog.Preview().DeviceError();

    const QImage first = Shot(dialog);
    EXPECT_TRUE(Near(MiddleGrey(first), kGreys[0])) << MiddleGrey(first);
    // The quad stands on the "ColorBackground" colour.
    const QRgb corner = first.pixel(1, 1);
    EXPECT_TRUE(std::abs(qRed(corner) - 0x20) <= 2 && std::abs(qGreen(corner) - 0x40) <= 2 &&
                std::abs(qBlue(corner) - 0x60) <= 2)
        << std::hex << corner;

    auto* tree = Control<QTreeWidget>(dialog, Ctl::kAnimFrames);
    tree->setCurrentItem(tree->topLevelItem(0)->child(2));
    const QImage third = Shot(dialog);
    EXPECT_TRUE(Near(MiddleGrey(third), kGreys[2])) << MiddleGrey(third);

    // The third frame moved up: the second one holds the third grey.
    Click(dialog, Ctl::kAnimUp);
    tree->setCurrentItem(tree->topLevelItem(0)->child(1));
    const QImage moved = Shot(dialog);
    EXPECT_TRUE(Near(MiddleGrey(moved), kGreys[2])) << MiddleGrey(moved);

    // Playing at 10 FPS shows every frame in turn.
    Control<QLineEdit>(dialog, Ctl::kAnimFps)->setText(QStringLiteral("10"));
    Click(dialog, Ctl::kAnimPlay);
    std::set<int> seen;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const int grey = MiddleGrey(dialog.Preview().GrabFrame());
            for (const std::uint8_t want : kGreys)
                if (Near(grey, want))
                    seen.insert(want);
            return seen.size() == 3;
        },
        kWaitMs))
        << seen.size();
    SavePictures({{"animation_manager_first.png", &first},
                  {"animation_manager_third.png", &third},
                  {"animation_manager_moved.png", &moved}});
    dialog.accept();
}

}  // namespace
