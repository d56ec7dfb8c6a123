// The edit commands in the running editor on a real OpenGL context (label "gl": run under Xvfb):
// a wall picked with the mouse, Delete asks its question and removes it (the background shows
// where it stood), and Ctrl+Z gives back the saved bytes and the picture; Split asks its question
// and cuts the picked wall along the diagonal between its two marked corners, which the wireframe
// picture shows as a new edge through the wall's middle.

#include "EditorTestSupport.h"

#include "app/MainFrame.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"

#include <QAction>
#include <QDir>
#include <QTest>

#include <cstdio>

namespace {

constexpr std::uint32_t kWireframe = 0x0000FF00;  // "ColorWireframe": green

class EditorEditsTest : public EditorTest {
protected:
    // In the first room near its front, looking at its far wall; the wall picked with a click.
    int PickFarWall()
    {
        PlaceCamera(0.5f, 0.5f, 0.05f);
        const int wall = FarWall(0);
        QPoint point;
        EXPECT_TRUE(ScreenPointOf(wall, point));
        const int paints = m_view->PaintCount();
        QTest::mouseClick(m_view, Qt::LeftButton, Qt::NoModifier, point);
        EXPECT_EQ(Engine().m_selection.m_surface, wall);
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kEditorWaitMs));
        return wall;
    }

    // Pixels of the wireframe colour within radius of point (window pixels) in image.
    int WireframeNear(const QImage& image, const QPoint& point, int radius)
    {
        const double ratio = m_view->devicePixelRatioF();
        const QPoint centre(static_cast<int>(point.x() * ratio),
                            static_cast<int>(point.y() * ratio));
        int count = 0;
        for (int y = centre.y() - radius; y <= centre.y() + radius; ++y)
            for (int x = centre.x() - radius; x <= centre.x() + radius; ++x)
                if (image.valid(x, y)) {
                    const QColor c = image.pixelColor(x, y);
                    count += c.green() > 200 && c.red() < 60 && c.blue() < 60 ? 1 : 0;
                }
        return count;
    }

    static void Save(const QImage& image, const char* name)
    {
        const QDir out(QStringLiteral(QZ_TEST_OUTPUT_DIR));
        EXPECT_TRUE(image.save(out.filePath(QLatin1String(name))));
        std::printf("%s\n", out.filePath(QLatin1String(name)).toLocal8Bit().constData());
    }
};

TEST_F(EditorEditsTest, DeleteAsksRemovesThePickedWallAndCtrlZBringsItBack)
{
    Open();
    const std::size_t surfaces = Engine().GetLevel().m_surfaces.size();
    PickFarWall();
    const Bytes before = SavedBytes(*m_doc);
    const QImage pictureBefore = m_view->GrabFrame();
    ASSERT_EQ(CountColor(pictureBefore, kEditorBackground), 0);
    m_doc->SetModifiedFlag(false);
    m_messages.clear();

    KeyAndPaint(*m_view, Qt::Key_Delete);
    EXPECT_EQ(m_messages,
              QStringList{QStringLiteral("Do you want to delete the current surface?")});
    EXPECT_EQ(Engine().GetLevel().m_surfaces.size(), surfaces - 1);
    EXPECT_EQ(Engine().m_selection.m_surface, -1);
    EXPECT_TRUE(m_doc->IsModified());
    const QImage pictureDeleted = m_view->GrabFrame();
    // Nothing stands behind the far wall: the background fills its place.
    const int pixels = pictureDeleted.width() * pictureDeleted.height();
    EXPECT_GT(CountColor(pictureDeleted, kEditorBackground), pixels / 5);

    KeyAndPaint(*m_view, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Engine().GetLevel().m_surfaces.size(), surfaces);
    EXPECT_EQ(SavedBytes(*m_doc), before);
    // The wall stands again where it stood (the corner markers of the current surface aside).
    const QImage pictureUndone = m_view->GrabFrame();
    EXPECT_EQ(CountColor(pictureUndone, kEditorBackground), 0);
    QPoint middle;
    ASSERT_TRUE(ScreenPointOf(CVector3(0.5f, 0.5f, 1.0f), middle));
    const double ratio = m_view->devicePixelRatioF();
    const QPoint pixel(static_cast<int>(middle.x() * ratio), static_cast<int>(middle.y() * ratio));
    EXPECT_EQ(pictureUndone.pixel(pixel), pictureBefore.pixel(pixel));
    EXPECT_NE(pictureDeleted.pixel(pixel), pictureBefore.pixel(pixel));
    Save(pictureBefore, "qzedit_delete_before.png");
    Save(pictureDeleted, "qzedit_delete_deleted.png");
    Save(pictureUndone, "qzedit_delete_undone.png");
    m_doc->SetModifiedFlag(false);
}

TEST_F(EditorEditsTest, SplitCutsThePickedWallAlongItsDiagonal)
{
    Open();
    m_app->m_settings.m_colorWireframe = kWireframe;
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kAllSectorsWireframes);
    ASSERT_EQ(m_doc->m_state.m_renderMode, 2);
    const int wall = PickFarWall();
    // The wall's corners 0 and 2 marked: the diagonal through its middle (0.5, 0.5, 1).
    CQzlSections& level = Engine().GetLevel();
    CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(wall)];
    surface.m_vertices[0].m_marked = 1;
    surface.m_vertices[2].m_marked = 1;
    QPoint middle;
    ASSERT_TRUE(ScreenPointOf(CVector3(0.5f, 0.5f, 1.0f), middle));
    const int paints = m_view->PaintCount();
    m_view->RequestFrame(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kEditorWaitMs));
    const QImage pictureBefore = m_view->GrabFrame();
    EXPECT_EQ(WireframeNear(pictureBefore, middle, 4), 0);
    EXPECT_GT(CountColor(pictureBefore, kWireframe), 0);
    const std::size_t surfaces = level.m_surfaces.size();
    m_messages.clear();

    KeyAndPaint(*m_view, Qt::Key_S);
    EXPECT_EQ(m_messages, QStringList{QStringLiteral("Do you want to split the current surface?")});
    EXPECT_EQ(level.m_surfaces.size(), surfaces + 1);
    const QImage pictureSplit = m_view->GrabFrame();
    Save(pictureBefore, "qzedit_split_before.png");
    Save(pictureSplit, "qzedit_split_after.png");
    // The new edge runs through the wall's middle, and the picture has more of the wireframe.
    EXPECT_GT(WireframeNear(pictureSplit, middle, 4), 0);
    EXPECT_GT(CountColor(pictureSplit, kWireframe), CountColor(pictureBefore, kWireframe));
    m_doc->SetModifiedFlag(false);
}

}  // namespace
