// Create Landscape in the running editor on a real OpenGL context (label "gl": run under Xvfb): a
// hall's floor, current with two grid nodes picked, becomes rough ground with a fixed seed and a
// depth that shows, in one undo step; the 3D view draws it, and the floor's checker is no longer
// the flat one it was.

#include "EditorTestSupport.h"

#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "geometry/Predicates.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "tools/Landscape.h"

#include <QColor>
#include <QImage>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

class EditorLandscapeTest : public EditorTest {};

// How far apart two colours are: the largest difference of a channel.
int ColorDistance(const QColor& a, const QColor& b)
{
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue())});
}

TEST_F(EditorLandscapeTest, TheFloorBecomesRoughGround)
{
    // A hall 4 x 3 x 7; the camera stands 2.5 up near its front, looking along +z over the floor.
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, -3}, {4, 3, 4});
    FinishFixture(level);
    // The floor's checker ("dflt.mat", squares of 8 texels) laid half a unit a square, so that
    // the ground's slopes show in its picture.
    for (CQzlVertex& corner : level.m_surfaces[BoxSurface(level, 0, kBoxFloor)]->m_vertices) {
        const CVector3 p = WorldPosition(level, corner.m_worldVertex);
        corner.m_u = p.x * 16.0f;
        corner.m_v = p.z * 16.0f;
    }
    Open(std::move(level), 0);
    C3dView& engine = Engine();
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(*m_doc->m_level, 0, kBoxFloor);
    engine.m_selection.m_pickedNodes = {{2, 0, 0.5f}, {2, 0, 2}};
    PlaceCamera(2, 2.5f, -2.5f);
    const QImage before = m_view->GrabFrame();

    // Three splits, centres up to 1.5 above the floor, the generator seeded with a fixed number
    // (the document's command seeds it from the clock): the same ground on every run.
    CLandscapeParams params = LandscapeDefaults(engine);
    params.m_splits = 3;
    params.m_maxDepth = 1.5f;
    {
        const CQzEditView::CDeviceScope device(m_view);
        engine.GetRandom().Seed(42);
        ASSERT_TRUE(RunCreateLandscapeCommand(engine, params));
    }
    const int paints = m_view->PaintCount();
    m_view->RequestFrame(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_view->PaintCount() > paints; }, kEditorWaitMs));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(m_doc->m_level->m_sectors.size(), 36u);
    EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
    EXPECT_EQ(m_doc->m_level->m_undoList.size(), 1u);
    const QImage after = m_view->GrabFrame();
    SavePictures(
        {{"qzedit_landscape_before.png", &before}, {"qzedit_landscape_after.png", &after}});
    ASSERT_FALSE(after.isNull());
    ASSERT_EQ(after.size(), before.size());

    // The floor's checker (its light squares magenta) fills the bottom of the view; as ground
    // its squares are bent and shifted: a good part of the picture changes where the floor is.
    const auto magenta = [](const QColor& c) {
        return c.red() > 150 && c.blue() > 150 && c.green() < 80;
    };
    int floorPixels = 0;
    int changed = 0;
    int magentaAfter = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            floorPixels += magenta(before.pixelColor(x, y)) ? 1 : 0;
            magentaAfter += magenta(after.pixelColor(x, y)) ? 1 : 0;
            if (ColorDistance(before.pixelColor(x, y), after.pixelColor(x, y)) > 16)
                ++changed;
        }
    EXPECT_GT(floorPixels, 5000);
    EXPECT_GT(magentaAfter, 5000);
    EXPECT_GT(changed, floorPixels / 2);
    CloseWithoutSaving(*m_doc);
}

}  // namespace
