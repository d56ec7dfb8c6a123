// The document's Create Rectangle (2081), Create Cylinder (2063) and Create Pyramid (2069) in the
// running application, on an engine without a render device: their enable rules, and each run
// from the menu through its dialog to the builder in one undo step, after which the level is
// sound, Undo gives back the level's exact bytes and Redo the built ones; Cancel and a refusing
// builder leave the level byte-identical and no undo step.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "geometry/Predicates.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/Pyramid.h"
#include "tools/ui/CreateCylinderDlg.h"
#include "tools/ui/CreateRectangleDlg.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr CVector3 kBase{2, 0, 2};
constexpr CVector3 kSecond{2, 0, 3};

// A hall from (0, 0, 0) to (4, 3, 4), y up.
CQzlSections MakeHall()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
    FinishFixture(level);
    return level;
}

bool InSomeSector(const CQzlSections& level, const CVector3& p)
{
    for (int s = 0; s < static_cast<int>(level.m_sectors.size()); ++s)
        if (PointInSector(level, s, p, 0.0f))
            return true;
    return false;
}

class CreateShapeCommandsTest : public AppTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }
    CQzlSections& Level() { return *m_doc->m_level; }

    // The hall in a running document, its floor current with nodes picked on it.
    C3dView& Start(std::vector<CVector3> nodes)
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        C3dView& engine = GiveDocumentEngine(*m_doc, MakeHall());
        engine.m_selection.m_sector = 0;
        engine.m_selection.m_surface = BoxSurface(Level(), 0, kBoxFloor);
        engine.m_selection.m_pickedNodes = std::move(nodes);
        return engine;
    }

    bool Enabled(int id)
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(id);
        return action != nullptr && action->isEnabled();
    }

    // Triggers command id with act run on its dialog once it is up; act closes it.
    template <typename T>
    void Run(int id, std::function<void(T&)> act)
    {
        bool shown = false;
        OnModal<T>(&Frame(), [&shown, act](T& dialog) {
            shown = true;
            act(dialog);
            if (dialog.isVisible())
                dialog.reject();
        });
        Trigger(id);
        EXPECT_TRUE(shown);
    }

    void Trigger(int id) { TriggerCommand(Frame(), id); }

    // The built level is sound, in one undo step; Undo gives back before, Redo the built bytes.
    void ExpectExactUndo(const std::vector<std::uint8_t>& before)
    {
        EXPECT_TRUE(LevelIsSound(Level()));
        EXPECT_EQ(Level().m_undoList.size(), 1u);
        EXPECT_TRUE(m_doc->IsModified());
        const std::vector<std::uint8_t> built = SnapshotBytes(Level());
        EXPECT_NE(built, before);
        Trigger(Cmd::kEditUndo);
        EXPECT_EQ(SnapshotBytes(Level()), before);
        Trigger(Cmd::kEditRedo);
        EXPECT_EQ(SnapshotBytes(Level()), built);
    }

    static void Set(QWidget& dialog, int id, const char* text)
    {
        if (auto* edit = Control<QLineEdit>(dialog, id))
            edit->setText(QString::fromLatin1(text));
    }

    CQzEditDoc* m_doc = nullptr;
};

TEST_F(CreateShapeCommandsTest, EnableRules)
{
    C3dView& engine = Start({});
    struct CCase {
        bool surface;
        std::size_t nodes;
        bool rectangle;
        bool cylinder;
        bool pyramid;
    };
    for (const CCase c : {CCase{false, 2, false, false, false}, CCase{true, 0, false, true, false},
                          CCase{true, 1, false, false, false}, CCase{true, 2, true, true, true},
                          CCase{true, 3, true, true, false}}) {
        SCOPED_TRACE(std::to_string(c.nodes) + (c.surface ? " on the floor" : " no surface"));
        engine.m_selection.m_surface = c.surface ? BoxSurface(Level(), 0, kBoxFloor) : -1;
        engine.m_selection.m_pickedNodes.assign(c.nodes, kBase);
        EXPECT_EQ(Enabled(Cmd::kCreateRectangle), c.rectangle);
        EXPECT_EQ(Enabled(Cmd::kCreateCylinder), c.cylinder);
        EXPECT_EQ(Enabled(Cmd::kCreatePyramid), c.pyramid);
    }
}

TEST_F(CreateShapeCommandsTest, RectangleBuildsAColumnInOneUndoStep)
{
    C3dView& engine = Start({kBase, kSecond});
    const std::vector<std::uint8_t> before = SnapshotBytes(Level());

    // Cancel after a View: nothing built, no step, the user's two nodes back.
    Run<CCreateRectangleDlg>(Cmd::kCreateRectangle, [](CCreateRectangleDlg& dialog) {
        Click(dialog, Ctl::kShapeView);
        Click(dialog, Ctl::kCancel);
    });
    EXPECT_EQ(SnapshotBytes(Level()), before);
    EXPECT_TRUE(Level().m_undoList.empty());
    EXPECT_EQ(engine.m_selection.m_pickedNodes, (std::vector<CVector3>{kBase, kSecond}));

    Run<CCreateRectangleDlg>(Cmd::kCreateRectangle, [](CCreateRectangleDlg& dialog) {
        Set(dialog, Ctl::kRectangleWidth, "1");
        Set(dialog, Ctl::kRectangleDepth, "1");
        Set(dialog, Ctl::kShapeHeight, "1");
        Click(dialog, Ctl::kOk);
    });
    EXPECT_TRUE(m_messages.isEmpty());
    // A solid 1 x 1 x 1 column around (2, 0, 2), open space above and beside it.
    EXPECT_FALSE(InSomeSector(Level(), {2, 0.5f, 2}));
    EXPECT_FALSE(InSomeSector(Level(), {2.4f, 0.9f, 2.4f}));
    EXPECT_TRUE(InSomeSector(Level(), {2, 1.5f, 2}));
    EXPECT_TRUE(InSomeSector(Level(), {1, 0.5f, 2}));
    ExpectExactUndo(before);
}

TEST_F(CreateShapeCommandsTest, CylinderBuildsAColumnInOneUndoStep)
{
    Start({kBase, kSecond});
    const std::vector<std::uint8_t> before = SnapshotBytes(Level());
    Run<CCreateCylinderDlg>(Cmd::kCreateCylinder, [](CCreateCylinderDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Create Cylinder"));
        Set(dialog, Ctl::kCylinderSides, "6");
        Set(dialog, Ctl::kCylinderRadius, "0.5");
        Set(dialog, Ctl::kShapeHeight, "2");
        Click(dialog, Ctl::kOk);
    });
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_FALSE(InSomeSector(Level(), {2, 1, 2}));
    EXPECT_FALSE(InSomeSector(Level(), {2.45f, 1.9f, 2}));
    EXPECT_TRUE(InSomeSector(Level(), {2, 2.5f, 2}));
    EXPECT_TRUE(InSomeSector(Level(), {2.6f, 1, 2}));
    ExpectExactUndo(before);
}

// Without picked nodes the column stands on the whole surface: the floor rises.
TEST_F(CreateShapeCommandsTest, CylinderOnTheSurfacesOwnCornersRaisesTheFloor)
{
    Start({});
    const std::vector<std::uint8_t> before = SnapshotBytes(Level());
    Run<CCreateCylinderDlg>(Cmd::kCreateCylinder, [](CCreateCylinderDlg& dialog) {
        EXPECT_EQ(dialog.m_values.m_sides, 4);
        Set(dialog, Ctl::kShapeHeight, "1");
        Click(dialog, Ctl::kOk);
    });
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_FALSE(InSomeSector(Level(), {2, 0.5f, 2}));
    EXPECT_FALSE(InSomeSector(Level(), {0.1f, 0.9f, 3.9f}));
    EXPECT_TRUE(InSomeSector(Level(), {2, 1.5f, 2}));
    ExpectExactUndo(before);
}

TEST_F(CreateShapeCommandsTest, PyramidBuildsInOneUndoStepOrIsRefusedWithoutOne)
{
    C3dView& engine = Start({kBase, kSecond});
    const std::vector<std::uint8_t> before = SnapshotBytes(Level());
    const bool modified = m_doc->IsModified();

    // An apex above the ceiling: the builder's message, the level as it was, no step.
    Run<CCreateCylinderDlg>(Cmd::kCreatePyramid, [](CCreateCylinderDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Create Pyramid"));
        Set(dialog, Ctl::kCylinderRadius, "1");
        Set(dialog, Ctl::kShapeHeight, "5");
        Click(dialog, Ctl::kOk);
    });
    EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(kPyramidTooHigh.data())});
    EXPECT_EQ(SnapshotBytes(Level()), before);
    EXPECT_TRUE(Level().m_undoList.empty());
    EXPECT_EQ(m_doc->IsModified(), modified);

    // Four sides of radius 1 around (2, 0, 2), 1.5 high: solid under its sloping faces.
    m_messages.clear();
    engine.m_selection.m_pickedNodes = {kBase, kSecond};
    Run<CCreateCylinderDlg>(Cmd::kCreatePyramid, [](CCreateCylinderDlg& dialog) {
        Set(dialog, Ctl::kCylinderRadius, "1");
        Set(dialog, Ctl::kShapeHeight, "1.5");
        Click(dialog, Ctl::kOk);
    });
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
    EXPECT_FALSE(InSomeSector(Level(), {2, 1.2f, 2}));     // under the apex
    EXPECT_FALSE(InSomeSector(Level(), {2.8f, 0.1f, 2}));  // near a corner of the base
    EXPECT_TRUE(InSomeSector(Level(), {2, 1.7f, 2}));      // above the apex
    EXPECT_TRUE(InSomeSector(Level(), {2.8f, 1.0f, 2}));   // above a sloping face
    EXPECT_TRUE(InSomeSector(Level(), {0.5f, 0.5f, 0.5f}));
    ExpectExactUndo(before);
}

}  // namespace
