// Create Landscape in the running editor on a real OpenGL context (label "gl": run under Xvfb): a
// brick hall's striped floor, current with two grid nodes picked, becomes rough ground with a
// fixed seed and a depth that shows, in one undo step. Lit face by face, the ground's slopes
// show as relief where the flat floor was, and undo brings the flat floor back pixel for pixel.

#include "EditorTestSupport.h"

#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/Undo.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "tools/Landscape.h"

#include <QImage>
#include <QRect>
#include <QTest>

#include <utility>

namespace {

// A far light above the hall, beyond its left wall (x = 0) and its far wall: the floor takes
// most of it, a slope turned towards it all of it, a slope turned away less.
const CVector3 kToLight{-0.6f, 0.6f, 0.5f};

class EditorLandscapeTest : public EditorTest {
protected:
    // The camera high near the hall's front wall, looking down along +z over the floor.
    void LookDown() { PlaceCamera({2.0f, 2.6f, -2.8f}, {2.0f, 0.0f, 1.5f}); }
};

TEST_F(EditorLandscapeTest, TheLitFloorBecomesRoughGround)
{
    // A hall 4 x 3 x 7 of brick walls, a striped floor and a sky ceiling.
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, -3}, {4, 3, 4});
    FinishFixture(level);
    DressBoxSector(level, 0, "floor.mat", "sky.mat", "brick.mat");
    Open(std::move(level), 0);
    C3dView& engine = Engine();
    LightByFacing(kToLight);
    LookDown();
    const QImage before = m_view->GrabFrame();

    // Three splits, centres up to 1.5 above the floor, the generator seeded with a fixed number
    // (the document's command seeds it from the clock): the same ground on every run. The ground
    // takes the floor's look, as the dialog starts with.
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(*m_doc->m_level, 0, kBoxFloor);
    engine.m_selection.m_pickedNodes = {{2, 0, 0.5f}, {2, 0, 2}};
    CLandscapeParams params = LandscapeDefaults(engine);
    params.m_splits = 3;
    params.m_maxDepth = 1.5f;
    {
        const CQzEditView::CDeviceScope device(m_view);
        engine.GetRandom().Seed(42);
        ASSERT_TRUE(RunCreateLandscapeCommand(engine, params));
    }
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(m_doc->m_level->m_sectors.size(), 36u);
    EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
    // The ground's faces take the light of the hall's.
    LightByFacing(kToLight);
    LookDown();
    const QImage after = m_view->GrabFrame();

    // Undo the light, then the ground: the lit hall as it was.
    for (int step = 0; step < 2; ++step) {
        const CQzEditView::CDeviceScope device(m_view);
        ASSERT_TRUE(UndoCommand(engine));
    }
    m_doc->UpdateAllViews(nullptr);
    EXPECT_EQ(m_doc->m_level->m_sectors.size(), 1u);
    LookDown();
    const QImage undone = m_view->GrabFrame();
    SavePictures({{"qzedit_landscape_before.png", &before},
                  {"qzedit_landscape_after.png", &after},
                  {"qzedit_landscape_undone.png", &undone}});
    ASSERT_FALSE(after.isNull());
    ASSERT_EQ(after.size(), before.size());
    ASSERT_EQ(undone.size(), before.size());

    const int w = before.width();
    const int h = before.height();
    const QRect whole(0, 0, w, h);
    // The floor fills the lower half of the picture, the far wall the top, above the highest of
    // the ground.
    const QRect floor(0, h / 2, w, h - h / 2);
    const QRect farWall(0, 0, w, h / 8);

    // Textured, the hall in many colours. The ground changes much of the floor and nothing of
    // the far wall's top; its faces, each lit by its own slope, add shades the flat floor never
    // had. Undo gives the first picture back.
    EXPECT_GE(DistinctColors(before, whole), 8);
    EXPECT_GT(ChangedPixels(before, after, floor, 16), w * h / 6);
    EXPECT_EQ(ChangedPixels(before, after, farWall, 0), 0);
    EXPECT_GE(DistinctColors(after, floor), DistinctColors(before, floor) + 10);
    EXPECT_EQ(ChangedPixels(before, undone, whole, 0), 0);
    CloseWithoutSaving(*m_doc);
}

}  // namespace
