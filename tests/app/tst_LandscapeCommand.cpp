// The document's Create Landscape (2079) in the running application, on an engine without a
// render device: enabled with a current surface and exactly two picked nodes; OK builds the
// landscape in one undo step (Undo gives back the level's exact bytes, Redo the built ones);
// Cancel and the refusal of a depth beyond the ceiling leave the level byte-identical, no undo
// step and the document unmodified.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/Landscape.h"
#include "tools/ui/CreateLandscapeDlg.h"

#include <QAction>
#include <QLineEdit>

#include <cstdint>
#include <functional>
#include <vector>

namespace {

class LandscapeCommandTest : public AppTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }
    CQzlSections& Level() { return *m_doc->m_level; }

    // A hall from (0, 0, 0) to (4, 3, 4) in a running document, its floor current.
    C3dView& Start()
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
        FinishFixture(level);
        C3dView& engine = GiveDocumentEngine(*m_doc, std::move(level));
        engine.m_selection.m_sector = 0;
        engine.m_selection.m_surface = BoxSurface(Level(), 0, kBoxFloor);
        engine.m_selection.m_pickedNodes = {CVector3{1, 0, 1}, CVector3{1, 0, 3}};
        return engine;
    }

    bool Enabled(int id)
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(id);
        return action != nullptr && action->isEnabled();
    }

    // Triggers Create Landscape with act run on its dialog; act closes it.
    void Run(const std::function<void(CCreateLandscapeDlg&)>& act)
    {
        bool shown = false;
        OnModal<CCreateLandscapeDlg>(&Frame(), [&shown, act](CCreateLandscapeDlg& dialog) {
            shown = true;
            act(dialog);
            if (dialog.isVisible())
                dialog.reject();
        });
        TriggerCommand(Frame(), Cmd::kCreateLandscape);
        EXPECT_TRUE(shown);
    }

    CQzEditDoc* m_doc = nullptr;
};

TEST_F(LandscapeCommandTest, EnabledWithASurfaceAndTwoNodes)
{
    C3dView& engine = Start();
    EXPECT_TRUE(Enabled(Cmd::kCreateLandscape));
    engine.m_selection.m_pickedNodes.pop_back();
    EXPECT_FALSE(Enabled(Cmd::kCreateLandscape));
    engine.m_selection.m_pickedNodes.assign(3, CVector3{1, 0, 1});
    EXPECT_FALSE(Enabled(Cmd::kCreateLandscape));
    engine.m_selection.m_pickedNodes.resize(2);
    engine.m_selection.m_surface = -1;
    EXPECT_FALSE(Enabled(Cmd::kCreateLandscape));
}

TEST_F(LandscapeCommandTest, OkBuildsInOneUndoStepCancelAndRefusalLeaveNone)
{
    Start();
    const std::vector<std::uint8_t> before = SnapshotBytes(Level());
    Run([](CCreateLandscapeDlg& dialog) { Click(dialog, Ctl::kCancel); });
    EXPECT_EQ(SnapshotBytes(Level()), before);
    EXPECT_TRUE(Level().m_undoList.empty());

    Run([](CCreateLandscapeDlg& dialog) {
        Control<QLineEdit>(dialog, Ctl::kLandscapeMaxDepth)->setText(QStringLiteral("50"));
        Click(dialog, Ctl::kOk);
    });
    EXPECT_EQ(m_messages,
              QStringList{QString::fromLatin1(kLandscapeTooHigh.data(), kLandscapeTooHigh.size())});
    EXPECT_EQ(SnapshotBytes(Level()), before);
    EXPECT_TRUE(Level().m_undoList.empty());
    EXPECT_FALSE(m_doc->IsModified());

    m_messages.clear();
    Run([](CCreateLandscapeDlg& dialog) { Click(dialog, Ctl::kOk); });
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_EQ(Level().m_sectors.size(), 12u);
    EXPECT_TRUE(LevelIsSound(Level()));
    EXPECT_EQ(Level().m_undoList.size(), 1u);
    EXPECT_TRUE(m_doc->IsModified());
    const std::vector<std::uint8_t> built = SnapshotBytes(Level());
    TriggerCommand(Frame(), Cmd::kEditUndo);
    EXPECT_EQ(SnapshotBytes(Level()), before);
    TriggerCommand(Frame(), Cmd::kEditRedo);
    EXPECT_EQ(SnapshotBytes(Level()), built);
}

}  // namespace
