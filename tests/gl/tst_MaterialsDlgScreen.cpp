// The Materials dialog on a real display (Xvfb) over a level of the synthetic game: the preview
// shows the selected material in its own colours (the texture's colours decoded through the
// chosen colour map, on the "ColorBackground" colour), following the selection. A screenshot of
// the whole dialog is left in the build folder of the tests.

#include "AppTestSupport.h"

#include "SyntheticGame.h"
#include "engine/AssetSources.h"
#include "engine/BitmapImage.h"
#include "engine/DecodeMaterial.h"
#include "engine/ui/PreviewWidget.h"
#include "framework/DataFolders.h"
#include "level/QzlSections.h"
#include "resources/ui/MaterialsDlg.h"
#include "support/FixtureLevels.h"

#include <QImage>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kWaitMs = 10000;
constexpr QRgb kBackground = qRgb(0x20, 0x40, 0x60);  // "ColorBackground" 0x00604020

bool Near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

class MaterialsDlgScreenTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_engine.m_game = std::move(m_synthetic->m_resources);
        m_engine.m_settings.m_colorBackground = 0x00604020;
        m_engine.m_level.m_colormaps = {"DFLT.CMP"};
        for (const char* name : {"BRICK.MAT", "RED.MAT", "SKY.MAT"})
            m_engine.m_level.m_materials.push_back(std::make_unique<CQzlMaterial>(name));
    }

    // The colours of material's pixels decoded through the level's colour map.
    std::vector<QRgb> Colours(const char* material) const
    {
        CAssetSources sources;
        sources.m_game = &m_engine.m_game;
        sources.m_levelFiles = &m_engine.m_level.m_levelFiles;
        const std::unique_ptr<CBitmapImage> image = DecodeMaterial(sources, material, "dflt.cmp");
        std::vector<QRgb> colours;
        if (!image)
            return colours;
        for (int y = 0; y < image->GetHeight(); ++y)
            for (int x = 0; x < image->GetWidth(); ++x) {
                const RGBQUAD c = image->GetInfo()->bmiColors[image->GetPixel(0, x, y)];
                const QRgb rgb = qRgb(c.rgbRed, c.rgbGreen, c.rgbBlue);
                if (std::find(colours.begin(), colours.end(), rgb) == colours.end())
                    colours.push_back(rgb);
            }
        return colours;
    }

    // A fresh picture of the preview once it has drawn the current material.
    static QImage Shot(CMaterialsDlg& dialog)
    {
        CPreviewWidget& preview = dialog.Preview();
        const int until = preview.FramesDrawn() + 2;
        EXPECT_TRUE(QTest::qWaitFor([&] { return preview.FramesDrawn() >= until; }, kWaitMs))
            << preview.DeviceError();
        return preview.GrabFrame().convertToFormat(QImage::Format_RGB32);
    }

    // The share of the picture's pixels that show one of colours.
    static double MaterialShare(const QImage& shot, const std::vector<QRgb>& colours)
    {
        int hits = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb pixel = shot.pixel(x, y);
                if (std::any_of(colours.begin(), colours.end(),
                                [pixel](QRgb c) { return Near(pixel, c, 12); }))
                    ++hits;
            }
        return static_cast<double>(hits) / (shot.width() * shot.height());
    }

    std::unique_ptr<CSyntheticGame> m_synthetic = MakeSyntheticGame(0);
    CFixtureEngine m_engine{MakeBoxRoom()};
};

TEST_F(MaterialsDlgScreenTest, ThePreviewShowsTheSelectedMaterialInItsColours)
{
    CMaterialsDlg dialog(m_engine.m_view, CDataFolders{TestResDir(), {}}, "brick", kPickInLevel);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ASSERT_TRUE(dialog.Preview().HasSurface()) << dialog.Preview().DeviceError();

    const std::vector<QRgb> brickColours = Colours("brick.mat");
    const std::vector<QRgb> redColours = Colours("red.mat");
    ASSERT_GE(brickColours.size(), 2u);
    ASSERT_EQ(redColours.size(), 1u);
    ASSERT_FALSE(Near(redColours[0], kBackground, 12));

    const QImage brick = Shot(dialog);
    const QImage whole = dialog.grab().toImage();
    SavePictures({{"materials_dialog.png", &whole}, {"materials_preview_brick.png", &brick}});
    // The quad fills the middle in brick's colours, standing on the background colour.
    EXPECT_TRUE(Near(brick.pixel(1, 1), kBackground, 2)) << std::hex << brick.pixel(1, 1);
    EXPECT_GT(MaterialShare(brick, brickColours), 0.25);
    EXPECT_LT(MaterialShare(brick, redColours), 0.01);

    auto* list = Control<QListWidget>(dialog, Ctl::kMaterialsList);
    list->setCurrentItem(list->findItems(QStringLiteral("red.mat"), Qt::MatchExactly).front());
    const QImage red = Shot(dialog);
    SavePictures({{"materials_preview_red.png", &red}});
    EXPECT_TRUE(Near(red.pixel(red.width() / 2, red.height() / 2), redColours[0], 12))
        << std::hex << red.pixel(red.width() / 2, red.height() / 2);
    EXPECT_GT(MaterialShare(red, redColours), 0.25);
    dialog.reject();
}

}  // namespace
