// The Carve command in the running application, on a document given an engine without a render
// device: its enable rule in the menu, the A key opening the dialog, OK carving with the
// dialog's values in one undo step that Undo gives back, and Cancel changing nothing.

#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "edit/ui/CarveSectorSurfaceDlg.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QTest>

#include <cstdint>
#include <functional>
#include <vector>

namespace {

class CarveCommandTest : public AppTest {
protected:
    // A shown document whose engine has the 4-unit box with sector 0 current, in sector mode
    // with the grid on and nodes picked.
    C3dView& Start(const std::vector<CVector3>& nodes)
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 4, 4});
        FinishFixture(level);
        C3dView& engine = GiveDocumentEngine(*m_doc, std::move(level));
        m_doc->m_state.m_sectorMode = 1;
        m_doc->m_state.m_gridOn = 1;
        engine.m_selection.m_sector = 0;
        engine.m_selection.m_pickedNodes = nodes;
        EXPECT_TRUE(FocusView3d(*m_doc));
        return engine;
    }

    bool CarveEnabled()
    {
        m_app->m_pMainFrame->UpdateCommandUI();
        const QAction* action = m_app->m_pMainFrame->Action(Cmd::kCarve);
        EXPECT_NE(action, nullptr);
        return action != nullptr && action->isEnabled();
    }

    // While the next Carve dialog is up: act on it, then close it with the button of id.
    void OnCarveDialog(std::function<void(CCarveSectorSurfaceDlg&)> act, int button)
    {
        OnModal<CCarveSectorSurfaceDlg>(m_app->m_pMainFrame,
                                        [this, act, button](CCarveSectorSurfaceDlg& dialog) {
                                            ++m_shown;
                                            act(dialog);
                                            Click(dialog, button);
                                            if (dialog.isVisible())
                                                dialog.reject();
                                        });
    }

    CQzEditDoc* m_doc = nullptr;
    int m_shown = 0;
};

const std::vector<CVector3> kRectangle{{0, 1, 1}, {0, 1, 3}, {0, 3, 3}, {0, 3, 1}};

TEST_F(CarveCommandTest, TheAKeyCarvesWithTheDialogsValuesInOneUndoStep)
{
    C3dView& engine = Start(kRectangle);
    ASSERT_TRUE(CarveEnabled());
    const std::vector<std::uint8_t> before = WriteLevelBytes(*m_doc->m_level);

    // Cancel: nothing happens.
    OnCarveDialog([](CCarveSectorSurfaceDlg&) {}, Ctl::kCancel);
    QTest::keyClick(m_doc->Frame()->View3d(), Qt::Key_A);
    EXPECT_EQ(m_shown, 1);
    EXPECT_EQ(WriteLevelBytes(*m_doc->m_level), before);
    EXPECT_TRUE(m_doc->m_level->m_undoList.empty());

    // OK without the catwalk: the prism and four outer pieces. The view has the focus again.
    m_app->m_pMainFrame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_app->m_pMainFrame));
    ASSERT_TRUE(FocusView3d(*m_doc));
    OnCarveDialog([](CCarveSectorSurfaceDlg& dialog) { Click(dialog, Ctl::kCreateCatwalk); },
                  Ctl::kOk);
    QTest::keyClick(m_doc->Frame()->View3d(), Qt::Key_A);
    EXPECT_EQ(m_shown, 2);
    EXPECT_EQ(m_doc->m_level->m_sectors.size(), 5u);
    EXPECT_EQ(m_doc->m_level->m_undoList.size(), 1u);
    EXPECT_GE(engine.m_selection.m_sector, 0);
    EXPECT_TRUE(m_doc->IsModified());

    // Undo gives the box back.
    ASSERT_TRUE(m_app->m_pMainFrame->RouteCommand(Cmd::kEditUndo));
    EXPECT_EQ(m_doc->m_level->m_sectors.size(), 1u);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
}

TEST_F(CarveCommandTest, GreyedWithoutEnoughNodes)
{
    C3dView& engine = Start({{0, 1, 1}, {0, 1, 3}});
    EXPECT_FALSE(CarveEnabled());
    OnCarveDialog([](CCarveSectorSurfaceDlg&) {}, Ctl::kCancel);
    EXPECT_FALSE(m_app->m_pMainFrame->RouteCommand(Cmd::kCarve));
    QApplication::processEvents();
    EXPECT_EQ(m_shown, 0);
    // In surface mode two nodes are enough once a surface is current.
    m_doc->m_state.m_sectorMode = 0;
    EXPECT_FALSE(CarveEnabled());
    engine.m_selection.m_surface = 0;
    EXPECT_TRUE(CarveEnabled());
}

}  // namespace
