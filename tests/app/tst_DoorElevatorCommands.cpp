// The document's "D&oor..." (2050), "&Elevator..." (2057) and "&Switch..." (2098) in the running
// application, on an engine without a render device: their enable rule, and each run from the
// menu through its dialog to the builder, whose level passes the oracle and whose undo step gives
// back the exact bytes (Undo and Redo from the menu); Cancel and a refused fit check leave no step.

#include "AppTestSupport.h"

#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "engine/RenderData.h"
#include "level/QzeFile.h"
#include "level/TemplateList.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "tools/CreateDoor.h"
#include "tools/DoorElevatorFit.h"
#include "tools/ElevatorCogs.h"
#include "tools/Switch.h"
#include "tools/ui/CreateDoorDlg.h"
#include "tools/ui/CreateElevatorDlg.h"
#include "tools/ui/CreateSwitchDlg.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>

#include <cstdint>
#include <functional>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class DoorElevatorCommandsTest : public AppTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }

    // A room from (0, 0, 0) to (4, 3, 4) in a shown document, its engine on the application's
    // game with an elevator template of our own ("lift", the crate's model).
    C3dView& Start()
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        for (auto& entry : ReadTemplateList("lift _decor model3d=crate.3do\n"))
            m_app->m_product.m_resources.m_templates.push_back(std::move(entry));
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
        FinishFixture(level);
        C3dView& engine = GiveDocumentEngine(*m_doc, std::move(level));
        // The level as the editor shows it: every sector built once.
        RebuildAll(engine, false, ERebuildAll::Restore);
        return engine;
    }

    bool Enabled(int id)
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(id);
        return action != nullptr && action->isEnabled();
    }

    void Trigger(int id)
    {
        ASSERT_TRUE(Enabled(id)) << id;
        Frame().Action(id)->trigger();
        QApplication::processEvents();
    }

    // Runs the command through its dialog of kind T: template chosen, then the button of id
    // button pressed (the dialog rejected when it is still open afterwards).
    template <typename T>
    void RunThroughDialog(int command, const char* templateName, int button)
    {
        bool shown = false;
        OnModal<T>(&Frame(), [&](T& dialog) {
            shown = true;
            auto* list = Control<QComboBox>(dialog, Ctl::kModelTemplate);
            list->setCurrentIndex(list->findText(QString::fromLatin1(templateName)));
            if (auto* close = dialog.template findChild<QAbstractButton*>(Id(button)))
                close->click();
            if (dialog.isVisible())
                dialog.reject();
        });
        Trigger(command);
        EXPECT_TRUE(shown);
    }

    // The build from the menu went through with one undo step, the level passes the oracle, and
    // Undo and Redo from the menu give back the exact bytes from before and after.
    void ExpectExactUndo(const Bytes& before)
    {
        CQzlSections& level = *m_doc->m_level;
        ASSERT_EQ(level.m_undoList.size(), 1u);
        EXPECT_TRUE(LevelIsSound(level));
        const Bytes after = WriteLevelBytes(level);
        EXPECT_NE(after, before);
        Trigger(Cmd::kEditUndo);
        EXPECT_TRUE(WriteLevelBytes(level) == before) << "after Undo";
        Trigger(Cmd::kEditRedo);
        EXPECT_TRUE(WriteLevelBytes(level) == after) << "after Redo";
    }

    // Runs "&Switch..." through its dialog with the button of id button pressed (the dialog
    // rejected when it is still open afterwards).
    void RunSwitch(int button)
    {
        bool shown = false;
        OnModal<CCreateSwitchDlg>(&Frame(), [&](CCreateSwitchDlg& dialog) {
            shown = true;
            Click(dialog, button);
            if (dialog.isVisible())
                dialog.reject();
        });
        Trigger(Cmd::kCreateSwitch);
        EXPECT_TRUE(shown);
    }

    CQzEditDoc* m_doc = nullptr;
};

TEST_F(DoorElevatorCommandsTest, EnabledForASurfaceWithExactlyTwoGridNodes)
{
    C3dView& engine = Start();
    CSelection& selection = engine.m_selection;
    const int wall = BoxSurface(*m_doc->m_level, 0, kBoxZLow);
    const struct {
        int surface;
        std::size_t nodes;
        bool enabled;
    } cases[] = {{wall, 2, true}, {wall, 1, false}, {wall, 3, false}, {-1, 2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.surface << " " << c.nodes);
        selection.m_sector = 0;
        selection.m_surface = c.surface;
        selection.m_pickedNodes.assign(c.nodes, CVector3{2, 0, 0});
        EXPECT_EQ(Enabled(Cmd::kCreateDoor), c.enabled);
        EXPECT_EQ(Enabled(Cmd::kCreateElevator), c.enabled);
        EXPECT_EQ(Enabled(Cmd::kCreateSwitch), c.enabled);
    }
}

TEST_F(DoorElevatorCommandsTest, CreateDoorBuildsTheDoorInOneUndoStep)
{
    C3dView& engine = Start();
    CQzlSections& level = *m_doc->m_level;
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(level, 0, kBoxZLow);
    engine.m_selection.m_pickedNodes = {{2, 0, 0}, {2, 1, 0}};
    const Bytes before = WriteLevelBytes(level);

    // Cancel, and an OK the fit check refuses (the door across the wall's edge), build nothing.
    RunThroughDialog<CCreateDoorDlg>(Cmd::kCreateDoor, "door", Ctl::kCancel);
    engine.m_selection.m_pickedNodes = {{0.01f, 0, 0}, {0.01f, 1, 0}};
    RunThroughDialog<CCreateDoorDlg>(Cmd::kCreateDoor, "door", Ctl::kOk);
    EXPECT_EQ(m_messages, QStringList{QString::fromLatin1(kDoorExceedsText.data())});
    EXPECT_TRUE(level.m_undoList.empty());
    EXPECT_TRUE(WriteLevelBytes(level) == before);
    EXPECT_FALSE(m_doc->IsModified());

    engine.m_selection.m_pickedNodes = {{2, 0, 0}, {2, 1, 0}};
    RunThroughDialog<CCreateDoorDlg>(Cmd::kCreateDoor, "door", Ctl::kOk);
    ASSERT_EQ(level.m_things.size(), 1u);
    EXPECT_EQ(level.m_things[0]->m_template, "door");
    ASSERT_EQ(level.m_cogs.size(), 1u);
    EXPECT_EQ(level.m_cogs[0]->m_script, kDoorCogScript);
    EXPECT_TRUE(m_doc->IsModified());
    ExpectExactUndo(before);
}

TEST_F(DoorElevatorCommandsTest, CreateElevatorBuildsTheElevatorInOneUndoStep)
{
    C3dView& engine = Start();
    CQzlSections& level = *m_doc->m_level;
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(level, 0, kBoxFloor);
    engine.m_selection.m_pickedNodes = {{2, 0, 2}, {2, 0, 3}};
    const Bytes before = WriteLevelBytes(level);

    RunThroughDialog<CCreateElevatorDlg>(Cmd::kCreateElevator, "lift", Ctl::kCancel);
    EXPECT_TRUE(level.m_undoList.empty());
    EXPECT_TRUE(WriteLevelBytes(level) == before);

    RunThroughDialog<CCreateElevatorDlg>(Cmd::kCreateElevator, "lift", Ctl::kOk);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(level.m_things.size(), 1u);
    EXPECT_EQ(level.m_things[0]->m_template, "lift");
    ASSERT_FALSE(level.m_cogs.empty());
    EXPECT_EQ(level.m_cogs[0]->m_script, kElevatorSwitchCogScript);
    ExpectExactUndo(before);
}

TEST_F(DoorElevatorCommandsTest, CreateSwitchBuildsTheSwitchInOneUndoStep)
{
    C3dView& engine = Start();
    CQzlSections& level = *m_doc->m_level;
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(level, 0, kBoxZLow);
    engine.m_selection.m_pickedNodes = {{2, 1, 0}, {2, 2, 0}};
    const Bytes before = WriteLevelBytes(level);

    RunSwitch(Ctl::kCancel);
    EXPECT_TRUE(level.m_undoList.empty());
    EXPECT_TRUE(WriteLevelBytes(level) == before);

    // The installed "materials.dat" lists floor.mat first; the default depth makes a recess.
    RunSwitch(Ctl::kOk);
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(level.m_sectors.size(), 2u);
    const int face = engine.m_selection.m_surface;
    ASSERT_GE(face, 0);
    const int material = level.m_surfaces[static_cast<std::size_t>(face)]->m_material;
    ASSERT_GE(material, 0);
    EXPECT_EQ(level.m_materials[static_cast<std::size_t>(material)]->m_name, "floor.mat");
    EXPECT_TRUE(m_doc->IsModified());
    ExpectExactUndo(before);
}

TEST_F(DoorElevatorCommandsTest, ASwitchTakenBackLeavesNoStepAndTheDocumentUnmodified)
{
    // On the portal between two rooms the recess cannot be extruded.
    Start();
    CQzlSections rooms = MakeEmptyLevel();
    AddBoxSector(rooms, {0, 0, 0}, {4, 3, 4});
    AddBoxSector(rooms, {0, 0, -4}, {4, 3, 0});
    FinishFixture(rooms);
    JoinSurfaces(rooms, BoxSurface(rooms, 0, kBoxZLow), BoxSurface(rooms, 1, kBoxZHigh));
    FinishFixture(rooms);
    C3dView& engine = GiveDocumentEngine(*m_doc, std::move(rooms));
    RebuildAll(engine, false, ERebuildAll::Restore);
    m_doc->SetModifiedFlag(false);
    CQzlSections& level = *m_doc->m_level;
    engine.m_selection.m_sector = 0;
    engine.m_selection.m_surface = BoxSurface(level, 0, kBoxZLow);
    engine.m_selection.m_pickedNodes = {{2, 1, 0}, {2, 2, 0}};
    const Bytes before = WriteLevelBytes(level);

    RunSwitch(Ctl::kOk);
    ASSERT_FALSE(m_messages.isEmpty());
    EXPECT_EQ(m_messages.back(), QString::fromLatin1(kSwitchFailedText.data()));
    EXPECT_TRUE(level.m_undoList.empty());
    EXPECT_TRUE(WriteLevelBytes(level) == before);
    EXPECT_FALSE(m_doc->IsModified());
}

}  // namespace
