// Extrude Surface in the running editor on a real OpenGL context (label "gl": run under Xvfb):
// the E key opens the dialog over the current surface, OK extrudes it, and the picture shows the
// new sector: the far wall, a colour of its own, moves back between the new sector's walls.

#include "EditorTestSupport.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "tools/SideTextures.h"
#include "ui/DialogIds.h"

#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <cstdint>
#include <set>

namespace {

class EditorExtrudeTest : public EditorTest {};

TEST_F(EditorExtrudeTest, TheEKeyExtrudesTheFarWallAndThePictureShowsTheNewSector)
{
    // A room of 1 x 1 x 1 whose walls carry the 320 x 320 coordinates and whose far wall
    // (z = 1) is red; the camera opens in its middle looking along +z, so the red wall fills the
    // picture.
    CQzlSections level = MakeBoxRoom();
    for (std::size_t s = 0; s < level.m_surfaces.size(); ++s)
        GiveDefaultTextureCoords(level, static_cast<int>(s));
    const int wall = BoxSurface(level, 0, kBoxZHigh);
    level.m_surfaces[static_cast<std::size_t>(wall)]->m_material = level.FindMaterial("red.mat");
    Open(std::move(level), 0);
    CQzEditDoc* doc = m_doc;
    CQzEditView* view = m_view;
    C3dView& engine = *view->Engine();
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = wall;

    const QImage before = view->GrabFrame();
    const QRgb red = before.pixel(before.width() / 2, before.height() / 2);
    // The colour as the settings write colours, 0x00BBGGRR.
    const auto redBgr = static_cast<std::uint32_t>(qRed(red)) |
                        (static_cast<std::uint32_t>(qGreen(red)) << 8) |
                        (static_cast<std::uint32_t>(qBlue(red)) << 16);
    const int pixels = before.width() * before.height();
    EXPECT_EQ(CountColor(before, redBgr), pixels);

    // The dialog is answered: depth 2, OK.
    const CModalAnswer answer([](QWidget& dialog) {
        Control<QLineEdit>(dialog, Ctl::kExtrudeDepth)->setText(QStringLiteral("2"));
        Click(dialog, Ctl::kOk);
    });
    const int paints = view->PaintCount();
    QTest::keyClick(view, Qt::Key_E);
    EXPECT_TRUE(answer.Answered());
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->PaintCount() > paints; }, kEditorWaitMs));
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();

    ASSERT_EQ(doc->m_level->m_sectors.size(), 2u);
    EXPECT_TRUE(LevelIsSound(*doc->m_level));
    EXPECT_EQ(engine.m_selection.m_sector, 1);

    // The red wall now stands 2.5 away instead of 0.5: it shrinks to a patch in the middle of
    // the picture, between the new sector's walls.
    const QImage after = view->GrabFrame();
    const int redAfter = CountColor(after, redBgr);
    EXPECT_EQ(after.pixel(after.width() / 2, after.height() / 2), red);
    EXPECT_GT(redAfter, pixels / 50);
    EXPECT_LT(redAfter, pixels / 3);
    // Around it the new walls continue the room's checkered walls: both colours of the checker
    // show on each side of the red patch.
    for (const QRect side : {QRect(0, 0, after.width() / 4, after.height()),
                             QRect(after.width() * 3 / 4, 0, after.width() / 4, after.height())}) {
        std::set<QRgb> colours;
        for (int y = side.top(); y <= side.bottom(); y += 3)
            for (int x = side.left(); x <= side.right(); x += 3)
                colours.insert(after.pixel(x, y));
        EXPECT_EQ(colours.count(red), 0u);
        EXPECT_GE(colours.size(), 2u);
    }

    SavePictures({{"qzedit_extrude_before.png", &before}, {"qzedit_extrude_after.png", &after}});
    CloseWithoutSaving(*doc);
}

}  // namespace
