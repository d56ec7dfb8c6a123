// The Create Rectangle dialog in the running editor on a real OpenGL context (label "gl": run
// under Xvfb): while the dialog is open, View lays the rectangle out on the floor and the 3D view
// draws a frame at once with the grid-node markers at its four corners; Cancel gives back the
// two nodes the user had picked, and the picture shows their markers again.

#include "EditorTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/CommandIds.h"
#include "engine/MarkerBuilders.h"
#include "support/FixtureLevels.h"
#include "tools/ui/CreateRectangleDlg.h"
#include "ui/DialogIds.h"

#include <QColor>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

class EditorCreateShapesTest : public EditorTest {
protected:
    // Pixels of the grid-node colour ("ColorGrid", orange) within radius of the window point of
    // world in image.
    int MarkerPixelsAt(const QImage& image, const CVector3& world, int radius)
    {
        QPoint point;
        EXPECT_TRUE(ScreenPointOf(world, point));
        const double ratio = m_view->devicePixelRatioF();
        const QPoint centre(static_cast<int>(point.x() * ratio),
                            static_cast<int>(point.y() * ratio));
        const std::uint32_t bgr = Engine().GetSettings().m_colorGrid;
        const QColor want(static_cast<int>(bgr & 0xFFU), static_cast<int>((bgr >> 8) & 0xFFU),
                          static_cast<int>((bgr >> 16) & 0xFFU));
        int count = 0;
        for (int y = centre.y() - radius; y <= centre.y() + radius; ++y)
            for (int x = centre.x() - radius; x <= centre.x() + radius; ++x)
                if (image.valid(x, y)) {
                    const QColor c = image.pixelColor(x, y);
                    count += std::abs(c.red() - want.red()) < 24 &&
                                     std::abs(c.green() - want.green()) < 24 &&
                                     std::abs(c.blue() - want.blue()) < 24
                                 ? 1
                                 : 0;
                }
        return count;
    }
};

TEST_F(EditorCreateShapesTest, ViewShowsTheRectanglesCornersAndCancelTheUsersNodes)
{
    // A hall 4 x 3 x 7; the camera stands 1.2 up near its front, looking along +z over the
    // floor.
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, -3}, {4, 3, 4});
    FinishFixture(level);
    Open(std::move(level), 0);
    C3dView& engine = Engine();
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(*m_doc->m_level, 0, kBoxFloor);
    const std::vector<CVector3> picked = {{2, 0, 2.5f}, {2, 0, 3}};
    engine.m_selection.m_pickedNodes = picked;
    BuildAllVertexMarkers(engine);
    PlaceCamera(2, 1.2f, -1);
    const QImage before = m_view->GrabFrame();

    // The rectangle 1 x 1 around the first node.
    const std::vector<CVector3> corners = {{1.5f, 0, 2}, {1.5f, 0, 3}, {2.5f, 0, 3}, {2.5f, 0, 2}};
    QImage during;
    int paintsOnView = 0;
    const CModalAnswer answer([&](QWidget& dialog) {
        Control<QLineEdit>(dialog, Ctl::kRectangleWidth)->setText(QStringLiteral("1"));
        Control<QLineEdit>(dialog, Ctl::kRectangleDepth)->setText(QStringLiteral("1"));
        const int paints = m_view->PaintCount();
        Click(dialog, Ctl::kShapeView);
        // The frame is drawn at once, with the dialog still open.
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kEditorWaitMs));
        paintsOnView = m_view->PaintCount() - paints;
        EXPECT_TRUE(dialog.isVisible());
        during = m_view->GrabFrame();
        Click(dialog, Ctl::kCancel);
    });
    TriggerCommand(*m_app->m_pMainFrame, Cmd::kCreateRectangle);
    EXPECT_TRUE(answer.Answered());
    EXPECT_GT(paintsOnView, 0);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(engine.m_selection.m_pickedNodes, picked);
    const QImage after = m_view->GrabFrame();
    SavePictures({{"qzedit_rectangle_before.png", &before},
                  {"qzedit_rectangle_view.png", &during},
                  {"qzedit_rectangle_cancel.png", &after}});
    ASSERT_FALSE(during.isNull());

    // Before and after: markers (two pixels square or more) at the user's two nodes, none at the
    // corners; during: markers at the four corners and none at the first node.
    constexpr int kRadius = 5;
    for (const QImage* image : {&before, &after}) {
        for (const CVector3& node : picked)
            EXPECT_GE(MarkerPixelsAt(*image, node, kRadius), 3);
        for (const CVector3& corner : corners)
            EXPECT_EQ(MarkerPixelsAt(*image, corner, kRadius), 0);
    }
    for (const CVector3& corner : corners)
        EXPECT_GE(MarkerPixelsAt(during, corner, kRadius), 3);
    EXPECT_EQ(MarkerPixelsAt(during, picked[0], kRadius), 0);
    CloseWithoutSaving(*m_doc);
}

}  // namespace
