// Create Dome in the running editor on a real OpenGL context (label "gl": run under Xvfb): a
// dome of four rings raised out of a hall's ceiling, built on the document's engine in the 3D
// view's device scope, is drawn at once: seen from below, the rings take the place of the flat
// ceiling in the picture, and one Undo brings the flat ceiling back.

#include "EditorTestSupport.h"

#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/Undo.h"
#include "support/FixtureLevels.h"
#include "tools/Dome.h"

#include <QImage>
#include <QTest>

#include <cstdlib>
#include <utility>

namespace {

class EditorDomeTest : public EditorTest {
protected:
    void LookUp()
    {
        PlaceCamera(2, 0.2f, -1.0f);
        SetCameraAxes(Engine(), 0.0f, 0.70710677f, 0.70710677f, 0.0f, 0.70710677f, -0.70710677f);
        const int paints = m_view->PaintCount();
        m_view->RequestFrame(true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kEditorWaitMs));
    }

    // Pixels of image brighter than light grey in every channel.
    static int BrightPixels(const QImage& image)
    {
        int bright = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                bright += c.red() > 200 && c.green() > 200 && c.blue() > 200 ? 1 : 0;
            }
        return bright;
    }

    // Pixels of rows first to last (fractions of the height) that differ between a and b by more
    // than a faint shade.
    static int ChangedPixels(const QImage& a, const QImage& b, double first, double last)
    {
        int changed = 0;
        const int top = static_cast<int>(first * a.height());
        const int bottom = static_cast<int>(last * a.height());
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QColor p = a.pixelColor(x, y);
                const QColor q = b.pixelColor(x, y);
                changed += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                                       std::abs(p.blue() - q.blue()) >
                                   24
                               ? 1
                               : 0;
            }
        return changed;
    }
};

TEST_F(EditorDomeTest, RingsReplaceTheFlatCeilingInThePicture)
{
    // A hall 4 x 2 x 6; the camera stands low near its front wall, looking up along +z at 45
    // degrees towards the ceiling's middle.
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, -2}, {4, 2, 4});
    FinishFixture(level);
    level.FindMaterial("brick.mat");
    Open(std::move(level), 0);
    C3dView& engine = Engine();
    LookUp();
    const QImage before = m_view->GrabFrame();

    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(*m_doc->m_level, 0, kBoxCeiling);
    CDomeParams params;
    params.m_depth = 1.5f;
    params.m_splits = 4;
    params.m_look = {1, 64.0f, 32.0f, 1.0f, 1.0f};
    {
        const CQzEditView::CDeviceScope scope(*m_view);
        ASSERT_TRUE(RunCreateDomeCommand(engine, params));
    }
    m_doc->UpdateAllViews(nullptr);
    LookUp();
    const QImage dome = m_view->GrabFrame();
    EXPECT_EQ(m_doc->m_level->m_sectors.size(), 1u);

    {
        const CQzEditView::CDeviceScope scope(*m_view);
        ASSERT_TRUE(UndoCommand(engine));
    }
    m_doc->UpdateAllViews(nullptr);
    LookUp();
    const QImage undone = m_view->GrabFrame();
    SavePictures({{"qzedit_dome_before.png", &before},
                  {"qzedit_dome.png", &dome},
                  {"qzedit_dome_undone.png", &undone}});
    ASSERT_FALSE(dome.isNull());
    ASSERT_EQ(dome.size(), before.size());

    // The camera sees the ceiling, drawn in the walls' grey. With the dome, the rings rise out
    // of it and its top, in the dome's own material (drawn white), fills a good part of the
    // picture: a fifth or more of it changes. The undone picture is the first one again.
    const int pixels = before.width() * before.height();
    EXPECT_EQ(BrightPixels(before), 0);
    EXPECT_GT(BrightPixels(dome), pixels / 10);
    EXPECT_GT(ChangedPixels(before, dome, 0.0, 1.0), pixels / 5);
    EXPECT_EQ(ChangedPixels(before, undone, 0.0, 1.0), 0);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    CloseWithoutSaving(*m_doc);
}

}  // namespace
