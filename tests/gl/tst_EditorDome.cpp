// Create Dome in the running editor on a real OpenGL context (label "gl": run under Xvfb): a
// dome of four rings raised out of the sky-blue ceiling of a brick hall with a striped floor,
// built on the document's engine in the 3D view's device scope, is drawn at once: seen from low
// in the hall, its rings, lit face by face, rise where the flat ceiling was, in the dome's own
// grate, and undo brings the flat ceiling back pixel for pixel.

#include "EditorTestSupport.h"

#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/Camera.h"
#include "engine/Undo.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "tools/Dome.h"

#include <QImage>
#include <QRect>
#include <QTest>

#include <cmath>
#include <set>
#include <utility>

namespace {

// A far light below the hall and beyond its wall x = 0: the wall there turns away from it, and
// each ring above the wall, sloping down more than the one below, takes more of it.
const CVector3 kToLight{-0.6f, -0.8f, -0.2f};

class EditorDomeTest : public EditorTest {
protected:
    // The camera low in the hall's front corner at x = 4, looking up across the hall at the
    // ceiling's far side at x = 0: the rings there turn their faces towards it, those on the
    // far wall show at a slant.
    void LookUp() { PlaceCamera({3.7f, 0.3f, -1.5f}, {0.8f, 2.5f, 1.5f}); }

    void Undo()
    {
        {
            const CQzEditView::CDeviceScope scope(*m_view);
            ASSERT_TRUE(UndoCommand(Engine()));
        }
        m_doc->UpdateAllViews(nullptr);
    }
};

// The grate's teal fill (green and blue alike, well above red) under any light, as opposed to
// the sky's blues, the bricks' reds and the floor's browns.
bool Teal(QRgb c)
{
    return qGreen(c) > qRed(c) + 40 && qBlue(c) > qRed(c) + 40 &&
           std::abs(qGreen(c) - qBlue(c)) < 24;
}

// A grey as a device texture of 16 bits gives it: green, of one bit more, a little off.
bool Grey(QRgb c)
{
    return qRed(c) == qBlue(c) && std::abs(qGreen(c) - qRed(c)) <= 4;
}

TEST_F(EditorDomeTest, LitRingsRiseWhereTheFlatCeilingWas)
{
    // A hall 4 x 2 x 6 of brick walls, a striped floor and a sky ceiling.
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, -2}, {4, 2, 4});
    FinishFixture(level);
    DressBoxSector(level, 0, "floor.mat", "sky.mat", "brick.mat");
    Open(std::move(level), 0);
    C3dView& engine = Engine();
    LightByFacing(kToLight);
    LookUp();
    const QImage before = m_view->GrabFrame();

    // Four rings 2 deep in the grate, 32 texels a square.
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(*m_doc->m_level, 0, kBoxCeiling);
    CDomeParams params;
    params.m_depth = 2.0f;
    params.m_splits = 4;
    params.m_look = {m_doc->m_level->FindMaterial("08tgrate.mat"), 32.0f, 32.0f, 1.0f, 1.0f};
    {
        const CQzEditView::CDeviceScope scope(*m_view);
        ASSERT_TRUE(RunCreateDomeCommand(engine, params));
    }
    EXPECT_EQ(m_doc->m_level->m_sectors.size(), 1u);
    EXPECT_TRUE(LevelIsSound(*m_doc->m_level));
    // The new faces take the light of the hall's.
    LightByFacing(kToLight);
    LookUp();
    const QImage dome = m_view->GrabFrame();

    // Undo the light, then the dome: the lit hall as it was.
    Undo();
    Undo();
    LookUp();
    const QImage undone = m_view->GrabFrame();
    SavePictures({{"qzedit_dome_before.png", &before},
                  {"qzedit_dome.png", &dome},
                  {"qzedit_dome_undone.png", &undone}});
    ASSERT_FALSE(dome.isNull());
    ASSERT_EQ(dome.size(), before.size());
    ASSERT_EQ(undone.size(), before.size());

    const int w = before.width();
    const int h = before.height();
    const QRect whole(0, 0, w, h);
    // The ceiling fills the upper part of the picture, the floor and the walls' feet the bottom.
    const QRect ceiling(0, 0, w, h / 2);
    const QRect floor(0, h * 17 / 20, w, h - h * 17 / 20);

    // Textured, the hall in many colours; the dome changes much of the ceiling and nothing of the
    // floor; undo gives the first picture back.
    EXPECT_GE(DistinctColors(before, whole), 8);
    EXPECT_GE(DistinctColors(dome, whole), DistinctColors(before, whole) + 4);
    EXPECT_GT(ChangedPixels(before, dome, ceiling, 24), w * h / 8);
    EXPECT_EQ(ChangedPixels(before, dome, floor, 0), 0);
    EXPECT_EQ(ChangedPixels(before, undone, whole, 0), 0);

    // The grate shows only with the dome. The rings' faces slope each their own way and take
    // each their own light: the grey of the mortar between the bricks, one shade a lit face,
    // shows in four or more new shades.
    int tealBefore = 0;
    int tealDome = 0;
    std::set<QRgb> greysBefore;
    std::set<QRgb> greysDome;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            tealBefore += Teal(before.pixel(x, y)) ? 1 : 0;
            tealDome += Teal(dome.pixel(x, y)) ? 1 : 0;
            for (const auto& [picture, greys] :
                 {std::pair{&before, &greysBefore}, std::pair{&dome, &greysDome}}) {
                const QRgb c = picture->pixel(x, y);
                if (Grey(c))
                    greys->insert(c & 0xFFFFFFu);
            }
        }
    EXPECT_EQ(tealBefore, 0);
    EXPECT_GT(tealDome, w * h / 20);
    EXPECT_GE(greysDome.size(), greysBefore.size() + 4)
        << greysBefore.size() << " shades before, " << greysDome.size() << " with the dome";
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    CloseWithoutSaving(*m_doc);
}

}  // namespace
