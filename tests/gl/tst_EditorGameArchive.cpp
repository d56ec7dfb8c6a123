// The running editor on a real OpenGL context (label "gl": run under Xvfb) while the File Manager
// writes the game's own archive: a hall whose floor names a material the game lacks shows the
// default checker there; once the material is added to the game's archive through the File
// Manager command, the same view draws the floor in the new material's light blue blocks at
// once, and nothing else of the picture changes.

#include "EditorTestSupport.h"

#include "SyntheticGame.h"
#include "app/MainFrame.h"
#include "app/QzEditApp.h"
#include "engine/C3dView.h"
#include "engine/Texture.h"
#include "level/QzlSections.h"
#include "level/QzlSurface.h"
#include "resources/ui/FileManagerDlg.h"
#include "support/FixtureLevels.h"

#include <QImage>
#include <QRect>

#include <utility>

namespace {

class EditorGameArchiveTest : public EditorTest {
protected:
    void LookDown() { PlaceCamera({2.0f, 1.6f, -1.8f}, {2.0f, 0.2f, 2.5f}); }
};

// The new material's blocks: light blue, blue well above red.
bool LightBlue(QRgb c)
{
    return qBlue(c) > qRed(c) + 60 && qGreen(c) > qRed(c) + 20;
}

int CountLightBlue(const QImage& image, const QRect& rect)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += LightBlue(image.pixel(x, y)) ? 1 : 0;
    return count;
}

TEST_F(EditorGameArchiveTest, AMaterialAddedToTheGameArchiveIsDrawnAtOnce)
{
    // A game folder of the test's own, which the File Manager may write to.
    const std::filesystem::path game = Temp() / "game";
    BuildSyntheticGame(game);

    // A hall 4 x 2 x 6 of brick walls, a dark ceiling and a floor of a material to come.
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, -2}, {4, 2, 4});
    FinishFixture(level);
    DressBoxSector(level, 0, "fresh.mat", "floor.mat", "brick.mat");
    Open(std::move(level), 0);
    m_app->SetGameFolder(m_app->m_settings.m_product, game);
    m_app->SetupProduct();
    // The engine takes its textures from the game now in use.
    m_app->GameArchiveWritten(m_app->m_product.m_archivePath);
    ASSERT_EQ(m_app->m_product.m_archivePath.parent_path().parent_path(), game);
    LookDown();
    const QImage before = m_view->GrabFrame();

    bool shown = false;
    OnModal<CFileManagerDlg>(m_app.get(), [&](CFileManagerDlg& dialog) {
        shown = true;
        EXPECT_TRUE(dialog.OpenArchive(m_app->m_product.m_archivePath));
        dialog.WriteArchive("mat\\fresh.mat", MakeSyntheticMat(64, 64, 1, 5), true);
        Click(dialog, Ctl::kCancel);
    });
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kFileManager);
    EXPECT_TRUE(shown);
    LookDown();
    const QImage after = m_view->GrabFrame();
    SavePictures(
        {{"qzedit_game_archive_before.png", &before}, {"qzedit_game_archive_after.png", &after}});
    ASSERT_FALSE(before.isNull());
    ASSERT_EQ(after.size(), before.size());

    const int floor = BoxSurface(*m_doc->m_level, 0, kBoxFloor);
    const CTexture* texture =
        m_doc->m_level->m_surfaces[static_cast<std::size_t>(floor)]->m_texture;
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->m_material, "fresh.mat");
    EXPECT_NE(texture->m_surface, kNoTexture);

    // The floor fills the bottom of the picture, the far wall the top.
    const int w = before.width();
    const int h = before.height();
    const QRect bottom(0, h * 3 / 4, w, h - h * 3 / 4);
    const QRect top(0, 0, w, h / 5);
    EXPECT_LT(CountLightBlue(before, bottom), w * h / 200);
    EXPECT_GT(CountLightBlue(after, bottom), w * h / 20);
    EXPECT_GT(ChangedPixels(before, after, bottom, 24), w * h / 10);
    EXPECT_EQ(ChangedPixels(before, after, top, 0), 0);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    CloseWithoutSaving(*m_doc);
}

}  // namespace
