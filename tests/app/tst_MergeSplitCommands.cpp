// The document's Merge Surfaces (2083), Merge Sectors (2084) and Split by Polygon (2061) in the
// running application, on an engine without a render device: their enable rules, and each run
// from the menu through its dialog to the edit and its undo step, or to the refusal that leaves
// no undo step.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "edit/ui/MergeDlg.h"
#include "edit/ui/SplitByPolygonDlg.h"
#include "framework/DocumentState.h"
#include "support/FixtureLevels.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <functional>
#include <vector>

namespace {

class MergeSplitCommandsTest : public AppTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }

    C3dView& Start(CQzlSections level)
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        return GiveDocumentEngine(*m_doc, std::move(level));
    }

    bool Enabled(int id)
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(id);
        return action != nullptr && action->isEnabled();
    }

    // Runs act on the next modal dialog of kind T once it is up, then closes it through the
    // button of id button (or rejects it when there is none).
    template <typename T>
    void OnDialog(std::function<void(T&)> act, int button)
    {
        OnModal<T>(&Frame(), [this, act, button](T& dialog) {
            ++m_shown;
            act(dialog);
            if (auto* close = dialog.template findChild<QAbstractButton*>(Id(button)))
                close->click();
            if (dialog.isVisible())
                dialog.reject();
        });
    }

    void Trigger(int id) { TriggerCommand(Frame(), id); }

    // The Merge dialog's first entry chosen.
    static void ChooseFirst(CMergeDlg& dialog)
    {
        if (auto* list = Control<QListWidget>(dialog, Ctl::kMergeList))
            list->setCurrentRow(0);
    }

    CQzEditDoc* m_doc = nullptr;
    int m_shown = 0;
};

TEST_F(MergeSplitCommandsTest, EnableRules)
{
    C3dView& engine = Start(MakeTwoJoinedRooms());
    CSelection& selection = engine.m_selection;
    struct CCase {
        int sector;
        int surface;
        std::size_t nodes;
        bool surfaces;  // Merge Surfaces
        bool sectors;   // Merge Sectors
        bool polygon;   // Split by Polygon
    };
    for (const CCase c :
         {CCase{-1, -1, 0, false, false, false}, CCase{0, -1, 0, false, true, false},
          CCase{0, 3, 0, true, true, false}, CCase{0, 3, 2, true, true, true},
          CCase{0, 3, 3, true, true, false}, CCase{0, -1, 2, false, true, false}}) {
        selection.m_sector = c.sector;
        selection.m_surface = c.surface;
        selection.m_pickedNodes.assign(c.nodes, CVector3{0.5f, 0, 0.5f});
        EXPECT_EQ(Enabled(Cmd::kMergeSurfaces), c.surfaces) << c.sector << " " << c.surface;
        EXPECT_EQ(Enabled(Cmd::kMergeSectors), c.sectors) << c.sector;
        EXPECT_EQ(Enabled(Cmd::kSplitByPolygon), c.polygon) << c.nodes << " " << c.surface;
    }
}

TEST_F(MergeSplitCommandsTest, MergeSectorsThroughItsDialog)
{
    C3dView& engine = Start(MakeTwoJoinedRooms());
    engine.m_selection.m_sector = 0;
    // Cancel changes nothing and takes no undo step.
    OnDialog<CMergeDlg>([](CMergeDlg&) {}, Ctl::kCancel);
    Trigger(Cmd::kMergeSectors);
    EXPECT_EQ(m_shown, 1);
    EXPECT_EQ(m_doc->m_level->m_sectors.size(), 2u);
    EXPECT_TRUE(m_doc->m_level->m_undoList.empty());

    OnDialog<CMergeDlg>(ChooseFirst, Ctl::kOk);
    Trigger(Cmd::kMergeSectors);
    EXPECT_EQ(m_shown, 2);
    EXPECT_EQ(m_doc->m_level->m_sectors.size(), 1u);
    EXPECT_EQ(m_doc->m_level->m_surfaces.size(), 10u);
    EXPECT_EQ(m_doc->m_level->m_undoList.size(), 1u);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(MergeSplitCommandsTest, MergeSurfacesThroughItsDialogOrItsRefusal)
{
    C3dView& engine = Start(MakeTwoSquareFloor());
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = 2;  // the ceiling: no partner
    Trigger(Cmd::kMergeSurfaces);
    EXPECT_EQ(m_messages, QStringList{QStringLiteral(
                              "Cannot merge surfaces, since no shared surface edge exist.")});
    EXPECT_TRUE(m_doc->m_level->m_undoList.empty());

    engine.m_selection.m_surface = 1;
    OnDialog<CMergeDlg>(ChooseFirst, Ctl::kOk);
    Trigger(Cmd::kMergeSurfaces);
    EXPECT_EQ(m_shown, 1);
    EXPECT_EQ(m_doc->m_level->m_surfaces.size(), 6u);
    EXPECT_EQ(m_doc->m_level->m_surfaces[0]->m_vertices.size(), 4u);
    EXPECT_EQ(m_doc->m_level->m_undoList.size(), 1u);
    EXPECT_EQ(engine.m_selection.m_surface, 0);
}

TEST_F(MergeSplitCommandsTest, SplitByPolygonThroughItsDialog)
{
    C3dView& engine = Start(MakeBoxRoom());
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(*m_doc->m_level, 0, kBoxFloor);
    engine.GetDocument().m_gridOn = 1;
    engine.m_selection.m_pickedNodes = {{0.5f, 0, 0.5f}, {0.9f, 0, 0.5f}};
    ASSERT_TRUE(Enabled(Cmd::kSplitByPolygon));
    OnDialog<CSplitByPolygonDlg>(
        [](CSplitByPolygonDlg& dialog) {
            if (auto* radius = Control<QLineEdit>(dialog, Ctl::kPolygonRadius))
                radius->setText(QStringLiteral("0.2"));
        },
        Ctl::kOk);
    Trigger(Cmd::kSplitByPolygon);
    EXPECT_EQ(m_shown, 1);
    EXPECT_TRUE(m_messages.isEmpty());
    // The floor is cut to the square and the pieces around it; the grid is off.
    EXPECT_GT(m_doc->m_level->m_surfaces.size(), 6u);
    EXPECT_EQ(m_doc->m_level->m_undoList.size(), 1u);
    EXPECT_EQ(engine.GetDocument().m_gridOn, 0);
    EXPECT_FALSE(Enabled(Cmd::kSplitByPolygon));
}

}  // namespace
