// The document's Undo (57643) and Redo (57644) in the running application, on an engine without
// a render device: their enable states follow the undo and redo lists, Ctrl+Z and Ctrl+Y reach
// them from the 3D view and the menu, and each restore switches the property pane to the Surface
// view and updates the views.

#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "engine/C3dView.h"
#include "engine/Undo.h"
#include "level/DeleteRenumber.h"
#include "support/FixtureLevels.h"

#include <QAction>
#include <QTest>

#include <functional>
#include <memory>

namespace {

class UndoRedoCommandsTest : public AppTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }

    // The main frame shown and active with one document whose engine (of the test's own: this
    // platform draws nothing, so the view makes none) works on the two joined rooms.
    CQzEditDoc& Start()
    {
        m_doc = StartShownWithDocument();
        EXPECT_NE(m_doc, nullptr);
        GiveDocumentEngine(*m_doc, MakeTwoJoinedRooms());
        return *m_doc;
    }

    bool Enabled(int id)
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(id);
        return action != nullptr && action->isEnabled();
    }

    CQzEditDoc* m_doc = nullptr;
};

struct Step {
    const char* name;
    std::function<void()> act;
    std::size_t surfaces;  // in the level afterwards
    bool undo;             // "&Undo" enabled afterwards
    bool redo;             // "&Redo" enabled afterwards
    bool restores;         // the step restored a snapshot
};

TEST_F(UndoRedoCommandsTest, EnableStatesFollowTheListsAndTheKeysRestore)
{
    CQzEditDoc& doc = Start();
    CQzEditView& view = *doc.Frame()->View3d();
    ASSERT_TRUE(FocusView3d(doc));

    // An edit made through the engine: the first surface goes.
    const auto edit = [this] {
        RunUndoable(*m_engine, [this] {
            DeleteSurface(*m_doc->m_level, m_engine->GetGame(), 0);
            return true;
        });
    };
    const auto key = [&view](Qt::Key k) {
        return [&view, k] { QTest::keyClick(&view, k, Qt::ControlModifier); };
    };
    const auto menu = [this](int id) {
        return [this, id] {
            Frame().UpdateCommandUI();
            Frame().Action(id)->trigger();
        };
    };
    const auto refused = [this] { RunUndoable(*m_engine, [] { return false; }); };
    const Step steps[] = {
        {"a new document", [] {}, 12, false, false, false},
        {"Ctrl+Z with nothing to undo", key(Qt::Key_Z), 12, false, false, false},
        {"an edit", edit, 11, true, false, false},
        {"a refused edit", refused, 11, true, false, false},
        {"Ctrl+Z", key(Qt::Key_Z), 12, false, true, true},
        {"Ctrl+Y", key(Qt::Key_Y), 11, true, false, true},
        {"Undo from the menu", menu(Cmd::kEditUndo), 12, false, true, true},
        {"Redo from the menu", menu(Cmd::kEditRedo), 11, true, false, true},
        {"a second edit", edit, 10, true, false, false},
        {"Ctrl+Z", key(Qt::Key_Z), 11, true, true, true},
        {"Ctrl+Z again", key(Qt::Key_Z), 12, false, true, true},
        {"a new edit drops the redo list", edit, 11, true, false, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        doc.SwitchPropertyView(PropertyView::kThings);
        doc.SetModifiedFlag(false);
        step.act();
        EXPECT_EQ(doc.m_level->m_surfaces.size(), step.surfaces);
        EXPECT_EQ(Enabled(Cmd::kEditUndo), step.undo);
        EXPECT_EQ(Enabled(Cmd::kEditRedo), step.redo);
        // A restore shows the Surface view and marks the document modified.
        EXPECT_EQ(doc.m_propertyViewId,
                  step.restores ? PropertyView::kSurface : PropertyView::kThings);
        if (step.restores) {
            EXPECT_TRUE(doc.IsModified());
        }
    }

    // "UndoRedo" 0 turns both commands off, whatever the lists hold.
    m_app->m_settings.m_undoRedo = 0;
    EXPECT_FALSE(Enabled(Cmd::kEditUndo));
    EXPECT_FALSE(Enabled(Cmd::kEditRedo));
}

}  // namespace
