// The 3D view's edit commands in the running application, on an engine without a render device
// given to the document: Cut, Copy, Paste, Insert, Delete, Move, Rotate, Link, Unlink and Split
// through the window's keys, its menu and the router. Each command is greyed while its rule does
// not hold; it asks its question, runs on the selection, marks the document modified through its
// undo step, and Ctrl+Z gives back the level's bytes (Ctrl+Y those after the command). A refusal
// or a No leaves the level, the undo list and the modified flag as they were.

#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/QzEditDoc.h"
#include "app/QzEditView.h"
#include "edit/CopyPaste.h"
#include "engine/C3dView.h"
#include "engine/RenderData.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"

#include <QAction>
#include <QGuiApplication>
#include <QTest>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <set>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Rules = std::set<EOracleRule>;

struct Counts {
    std::size_t sectors, surfaces, adjoins, vertices, things;
    friend bool operator==(const Counts&, const Counts&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Counts& c)
    {
        return out << c.sectors << " sectors, " << c.surfaces << " surfaces, " << c.adjoins
                   << " adjoins, " << c.vertices << " vertices, " << c.things << " things";
    }
};

Counts CountsOf(const CQzlSections& level)
{
    return {level.m_sectors.size(), level.m_surfaces.size(), level.m_adjoins.size(),
            level.m_worldVertices.size(), level.m_things.size()};
}

Rules BrokenRules(const CQzlSections& level)
{
    Rules rules;
    for (const COracleProblem& problem : CheckLevelOracle(level))
        rules.insert(problem.rule);
    return rules;
}

// The fixtures: the two joined rooms hold 2 sectors, 12 surfaces, 2 adjoins and 12 vertices, the
// box room 1, 6, 0 and 8.
CQzlSections TwoRoomsWithCrate()
{
    CQzlSections level = MakeTwoJoinedRooms();
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    return level;
}

// Two boxes side by side whose walls at x = 1 touch without an adjoin.
CQzlSections TwoLooseRooms()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f});
    AddBoxSector(level, {1.0f, 0.0f, 0.0f}, {2.0f, 1.0f, 1.0f});
    FinishFixture(level);
    return level;
}

// ---- Selections ----

using Select = std::function<void(C3dView&)>;

Select Side(int sector, EBoxSide side)
{
    return [sector, side](C3dView& engine) {
        engine.m_selection.m_sector = sector;
        engine.m_selection.m_surface = BoxSurface(engine.GetLevel(), sector, side);
    };
}

// Corner `corner` of the side picked: the current vertex, marked as a pick marks it.
Select Corner(int sector, EBoxSide side, int corner)
{
    return [sector, side, corner](C3dView& engine) {
        Side(sector, side)(engine);
        const std::int32_t surface = engine.m_selection.m_surface;
        engine.m_selection.m_vertex = corner;
        engine.m_selection.m_vertexSurface = surface;
        engine.GetLevel()
            .m_surfaces[static_cast<std::size_t>(surface)]
            ->m_vertices[static_cast<std::size_t>(corner)]
            .m_marked = 1;
    };
}

Select SectorOnly(int sector)
{
    return [sector](C3dView& engine) { engine.m_selection.m_sector = sector; };
}

Select Thing(int sector, int thing)
{
    return [sector, thing](C3dView& engine) {
        engine.m_selection.m_sector = sector;
        engine.m_selection.m_thing = thing;
    };
}

// first, then second: e.g. a copy made, then the selection to paste on.
Select Then(Select first, Select second)
{
    return [first, second](C3dView& engine) {
        first(engine);
        second(engine);
    };
}

// Copy of what is selected now, then the selection emptied.
Select CopyOf(Select what)
{
    return [what](C3dView& engine) {
        what(engine);
        RunCopyCommand(engine);
        engine.m_selection.m_sector = engine.m_selection.m_surface = -1;
        engine.m_selection.m_thing = engine.m_selection.m_vertex = -1;
        engine.m_selection.m_vertexSurface = -1;
    };
}

// The focus point, where Paste and Insert put a new thing.
Select Focus(float x, float y, float z)
{
    return [x, y, z](C3dView& engine) { engine.m_camera.m_focusPoint = CVector3(x, y, z); };
}

Select SectorMode(int editMode)
{
    return [editMode](C3dView& engine) {
        engine.GetDocument().m_sectorMode = 1;
        engine.GetDocument().m_editMode = editMode;
    };
}

// The grid on and two nodes picked across sector 0's wall x = 0 at z = 0.5.
Select NodesAcrossWall()
{
    return [](C3dView& engine) {
        Side(0, kBoxXLow)(engine);
        engine.GetDocument().m_gridOn = 1;
        engine.m_selection.m_pickedNodes = {{0.0f, 0.0f, 0.5f}, {0.0f, 1.0f, 0.5f}};
    };
}

// ---- Checks of the result ----

using Check = std::function<void(const C3dView&)>;

const CQzlSurface& SurfaceAt(const C3dView& engine, int sector, EBoxSide side)
{
    const CQzlSections& level = engine.GetLevel();
    return *level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, sector, side))];
}

// The lowest x (axis 0) or z (axis 2) of the corners of sector 0's side.
float Lowest(const C3dView& engine, EBoxSide side, int axis)
{
    const CQzlSections& level = engine.GetLevel();
    float lowest = 1e9f;
    for (const CQzlVertex& corner : SurfaceAt(engine, 0, side).m_vertices) {
        const CWorldVertex& v =
            level.m_worldVertices[static_cast<std::size_t>(corner.m_worldVertex)];
        lowest = std::min(lowest, axis == 0 ? v.x : v.z);
    }
    return lowest;
}

Check ClipboardHolds(bool surface, bool thing)
{
    return [surface, thing](const C3dView& engine) {
        EXPECT_EQ(engine.m_clipboard.m_surface != nullptr, surface);
        EXPECT_EQ(engine.m_clipboard.m_thing != nullptr, thing);
    };
}

enum class EOutcome : std::uint8_t {
    Disabled,   // greyed; sent anyway it does nothing
    Unchanged,  // runs, but the level stays as it was without an undo step
    Changed,    // the level changed inside one undo step
};

const char* const kDeleteSurface = "Do you want to delete the current surface?";
const char* const kDeleteObject = "Do you want to delete the current object?";
const char* const kDeleteSector = "Do you want to delete the current sector?";
const char* const kSplitSurface = "Do you want to split the current surface?";
const char* const kLastSector = "Cannot delete Sector.\n\nThere must be at least 1 sector.";

constexpr Counts kRooms{2, 12, 2, 12, 0};
constexpr Counts kRoomsCrate{2, 12, 2, 12, 1};
constexpr Counts kBox{1, 6, 0, 8, 0};

using Answers = std::vector<QMessageBox::StandardButton>;

struct EditCase {
    const char* name;
    CQzlSections (*level)();
    Select select;
    int command;
    std::optional<QKeyCombination> key;  // else the menu's item
    Answers answers;
    std::function<void(QDialog&)> picker;  // the picker it shows; none when empty
    EOutcome outcome;
    Counts after;
    QStringList messages;  // the message boxes shown, in order
    Rules broken = {};     // what the level oracle finds afterwards (a wall taken leaves a hole,
                           // which the checker sees as well)
    Check check = {};
    std::function<void(CTemplateDlg&)> templatePicker = {};  // the Template dialog it shows
};

class EditCommandsTest : public AppTest {
protected:
    CMainFrame& Frame() { return *m_app->m_pMainFrame; }

    bool Enabled(int id)
    {
        Frame().UpdateCommandUI();
        const QAction* action = Frame().Action(id);
        EXPECT_NE(action, nullptr) << id;
        return action != nullptr && action->isEnabled();
    }

    // The command of c through its key on the 3D view, or through its menu item.
    void Send(const EditCase& c)
    {
        if (c.key) {
            QTest::keyClick(View(), c.key->key(), c.key->keyboardModifiers());
            return;
        }
        Frame().UpdateCommandUI();
        Frame().Action(c.command)->trigger();
    }

    CQzEditView* View() { return m_doc->Frame()->View3d(); }

    // A picker that was shown took the focus with it: the main frame active again and the 3D
    // view focused, so that the view's keys reach their commands.
    // The modifier keys are read from the last key event on this platform: a key that no
    // command takes, without modifiers, so that Move and Rotate take their plain steps.
    bool Refocus()
    {
        Frame().activateWindow();
        if (!QTest::qWaitForWindowActive(&Frame()) || !FocusView3d(*m_doc))
            return false;
        QTest::keyClick(View(), Qt::Key_F24);
        return QGuiApplication::queryKeyboardModifiers() == Qt::NoModifier;
    }

    void Run(const EditCase& c)
    {
        SCOPED_TRACE(c.name);
        C3dView& engine = GiveDocumentEngine(*m_doc, c.level());
        CQzlSections& level = *m_doc->m_level;
        m_doc->m_state.m_sectorMode = 0;
        m_doc->m_state.m_editMode = 0;
        m_doc->m_state.m_gridOn = 0;
        // The level as the editor shows it: every sector built once.
        RebuildAll(engine, false, ERebuildAll::Restore);
        c.select(engine);
        m_doc->SetModifiedFlag(false);
        m_messages.clear();
        m_answers.assign(c.answers.begin(), c.answers.end());
        const Bytes before = WriteLevelBytes(level);
        const Counts counts = CountsOf(level);
        ASSERT_TRUE(Refocus());

        ASSERT_EQ(Enabled(c.command), c.outcome != EOutcome::Disabled);
        bool pickerShown = false;
        if (c.picker)
            OnPicker(m_doc, [&pickerShown, act = c.picker](QDialog& dialog) {
                pickerShown = true;
                act(dialog);
            });
        if (c.templatePicker)
            OnTemplateDlg(m_doc, [&pickerShown, act = c.templatePicker](CTemplateDlg& dialog) {
                pickerShown = true;
                act(dialog);
            });
        Send(c);
        if (c.outcome == EOutcome::Disabled) {
            EXPECT_FALSE(Frame().RouteCommand(c.command));
        }
        EXPECT_EQ(pickerShown, c.picker || c.templatePicker);
        EXPECT_EQ(m_messages, c.messages);
        EXPECT_EQ(BrokenRules(level), c.broken) << LevelIsSound(level).message();
        if (c.check)
            c.check(engine);
        if (c.outcome != EOutcome::Changed) {
            EXPECT_EQ(WriteLevelBytes(level), before);
            EXPECT_EQ(CountsOf(level), counts);
            EXPECT_FALSE(m_doc->IsModified());
            EXPECT_TRUE(level.m_undoList.empty());
            EXPECT_FALSE(Enabled(Cmd::kEditUndo));
            return;
        }
        EXPECT_EQ(CountsOf(level), c.after);
        const Bytes after = WriteLevelBytes(level);
        EXPECT_NE(after, before);
        EXPECT_TRUE(m_doc->IsModified());
        EXPECT_EQ(level.m_undoList.size(), 1u);

        // Ctrl+Z gives back the level, Ctrl+Y the command's result.
        ASSERT_TRUE(Refocus());
        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(WriteLevelBytes(level), before);
        QTest::keyClick(View(), Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(WriteLevelBytes(level), after);
    }

    CQzEditDoc* m_doc = nullptr;
};

TEST_F(EditCommandsTest, EachCommandFollowsItsRuleAndUndoGivesBackTheLevel)
{
    m_doc = StartShownWithDocument();
    ASSERT_NE(m_doc, nullptr);
    ASSERT_TRUE(FocusView3d(*m_doc));
    m_app->m_settings.m_warning = 1;
    const Answers yes{QMessageBox::Yes};
    const Answers no{QMessageBox::No};
    const auto ctrl = [](Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); };
    const auto plain = [](Qt::Key key) { return QKeyCombination(key); };
    const auto dflt = PickerChoose(QStringLiteral("dflt.mat"));

    const EditCase cases[] = {
        // ---- Cut ----
        {"Cut a wall", MakeTwoJoinedRooms, Side(0, kBoxXLow), Cmd::kEditCut, ctrl(Qt::Key_X), yes,
         {}, EOutcome::Changed, {2, 11, 2, 12, 0}, {kDeleteSurface}, {EOracleRule::Closed, EOracleRule::Checker},
         ClipboardHolds(true, false)},
        // Cut copies the surface of a current vertex, and deletes that surface, not the corner.
        {"Cut with a current vertex", MakeTwoJoinedRooms, Corner(0, kBoxFloor, 0), Cmd::kEditCut,
         QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete), yes, {}, EOutcome::Changed,
         {2, 11, 2, 12, 0}, {kDeleteSurface}, {EOracleRule::Closed, EOracleRule::Checker}, ClipboardHolds(true, false)},
        {"Cut a thing", TwoRoomsWithCrate, Then(Side(0, kBoxFloor), Thing(0, 0)), Cmd::kEditCut,
         ctrl(Qt::Key_X), yes, {}, EOutcome::Changed, kRooms, {kDeleteObject}, {},
         ClipboardHolds(false, true)},
        {"Cut answered No keeps the copy", MakeTwoJoinedRooms, Side(0, kBoxXLow), Cmd::kEditCut,
         ctrl(Qt::Key_X), no, {}, EOutcome::Unchanged, kRooms, {kDeleteSurface}, {},
         ClipboardHolds(true, false)},
        {"Cut with a sector only", MakeTwoJoinedRooms, SectorOnly(0), Cmd::kEditCut,
         ctrl(Qt::Key_X), {}, {}, EOutcome::Disabled, kRooms, {}},

        // ---- Copy ----
        {"Copy a wall", MakeTwoJoinedRooms, Side(0, kBoxXLow), Cmd::kEditCopy, plain(Qt::Key_C),
         {}, {}, EOutcome::Unchanged, kRooms, {}, {}, ClipboardHolds(true, false)},
        {"Copy the thing before the surface", TwoRoomsWithCrate,
         Then(Side(0, kBoxFloor), Thing(0, 0)), Cmd::kEditCopy, ctrl(Qt::Key_C), {}, {},
         EOutcome::Unchanged, kRoomsCrate, {}, {}, ClipboardHolds(false, true)},
        {"Copy with a sector only", MakeTwoJoinedRooms, SectorOnly(1), Cmd::kEditCopy,
         ctrl(Qt::Key_C), {}, {}, EOutcome::Disabled, kRooms, {}, {}, ClipboardHolds(false, false)},

        // ---- Paste ----
        // The portal's look on a wall: no material and geometry mode 0.
        {"Paste a surface's look", MakeTwoJoinedRooms,
         Then(CopyOf(Side(0, kBoxXHigh)), Side(0, kBoxXLow)), Cmd::kEditPaste, plain(Qt::Key_V),
         {}, {}, EOutcome::Changed, kRooms, {}, {},
         [](const C3dView& engine) {
             EXPECT_EQ(SurfaceAt(engine, 0, kBoxXLow).m_material, -1);
             EXPECT_EQ(SurfaceAt(engine, 0, kBoxXLow).m_geo, 0);
             EXPECT_EQ(SurfaceAt(engine, 0, kBoxXLow).m_adjoin, -1);
         }},
        {"Paste a thing into another sector", TwoRoomsWithCrate,
         Then(CopyOf(Thing(0, 0)), Then(SectorOnly(1), Focus(1.5f, 0.5f, 0.5f))), Cmd::kEditPaste, ctrl(Qt::Key_V), {}, {},
         EOutcome::Changed, {2, 12, 2, 12, 2}, {}, {},
         [](const C3dView& engine) {
             EXPECT_EQ(engine.GetLevel().m_things.back()->m_sector, 1);
             EXPECT_EQ(engine.m_selection.m_thing, 1);
         }},
        // Enabled by the clipboard thing, yet a current surface takes only a surface.
        {"Paste a thing onto a surface", TwoRoomsWithCrate,
         Then(CopyOf(Thing(0, 0)), Side(0, kBoxFloor)), Cmd::kEditPaste, ctrl(Qt::Key_V), {}, {},
         EOutcome::Unchanged, kRoomsCrate, {}},
        {"Paste with nothing copied", MakeTwoJoinedRooms, Side(0, kBoxXLow), Cmd::kEditPaste,
         ctrl(Qt::Key_V), {}, {}, EOutcome::Disabled, kRooms, {}},

        // ---- Insert ----
        {"Insert a corner", MakeBoxRoom, Corner(0, kBoxXLow, 0), Cmd::kInsert,
         plain(Qt::Key_Insert), {}, {}, EOutcome::Changed, {1, 6, 0, 9, 0}, {}, {},
         [](const C3dView& engine) {
             EXPECT_EQ(SurfaceAt(engine, 0, kBoxXLow).m_vertices.size(), 5u);
         }},
        // The overlay floats inside the room: neither closed nor convex with it.
        {"Insert an overlay", MakeBoxRoom, Side(0, kBoxFloor), Cmd::kInsert, ctrl(Qt::Key_I), {},
         dflt, EOutcome::Changed, {1, 7, 0, 12, 0}, {}, {EOracleRule::Closed,
         EOracleRule::Convex, EOracleRule::Checker}},
        {"Insert an overlay, the picker cancelled", MakeBoxRoom, Side(0, kBoxFloor), Cmd::kInsert,
         ctrl(Qt::Key_I), {}, PickerCancel, EOutcome::Unchanged, kBox, {}},
        {"Insert a thing", MakeBoxRoom, Then(SectorOnly(0), Focus(0.5f, 0.2f, 0.5f)), Cmd::kInsert, plain(Qt::Key_Insert), {},
         {}, EOutcome::Changed, {1, 6, 0, 8, 1}, {}, {},
         [](const C3dView& engine) {
             EXPECT_EQ(engine.GetLevel().m_things.back()->m_template, "lamp");
         }, TemplateChoose(QStringLiteral("lamp"))},
        {"Insert with nothing selected", MakeBoxRoom, [](C3dView&) {}, Cmd::kInsert,
         plain(Qt::Key_Insert), {}, {}, EOutcome::Disabled, kBox, {}},

        // ---- Delete ----
        {"Delete a wall", MakeTwoJoinedRooms, Side(1, kBoxXHigh), Cmd::kDelete,
         plain(Qt::Key_Delete), yes, {}, EOutcome::Changed, {2, 11, 2, 12, 0}, {kDeleteSurface},
         {EOracleRule::Closed, EOracleRule::Checker}},
        {"Delete answered No", MakeTwoJoinedRooms, Side(1, kBoxXHigh), Cmd::kDelete,
         ctrl(Qt::Key_D), no, {}, EOutcome::Unchanged, kRooms, {kDeleteSurface}},
        {"Delete a thing", TwoRoomsWithCrate, Thing(0, 0), Cmd::kDelete, plain(Qt::Key_Delete),
         yes, {}, EOutcome::Changed, kRooms, {kDeleteObject}},
        // The neighbour's portal becomes a wall.
        {"Delete a sector", MakeTwoJoinedRooms, SectorOnly(1), Cmd::kDelete,
         plain(Qt::Key_Delete), yes, {}, EOutcome::Changed, {1, 6, 0, 8, 0}, {kDeleteSector}},
        {"Delete the only sector", MakeBoxRoom, SectorOnly(0), Cmd::kDelete,
         plain(Qt::Key_Delete), yes, {}, EOutcome::Unchanged, kBox, {kDeleteSector, kLastSector}},
        {"Delete with nothing selected", MakeBoxRoom, [](C3dView&) {}, Cmd::kDelete,
         plain(Qt::Key_Delete), {}, {}, EOutcome::Disabled, kBox, {}},

        // ---- Move (0.05 a step) ----
        {"Move a wall left along X", MakeBoxRoom, Side(0, kBoxXLow), Cmd::kMoveLeftX, {}, {}, {},
         EOutcome::Changed, kBox, {}, {},
         [](const C3dView& engine) {
             EXPECT_NEAR(Lowest(engine, kBoxXLow, 0), -0.05f, 1e-5f);
         }},
        {"Move a thing up along Y", TwoRoomsWithCrate, Thing(0, 0), Cmd::kMoveUpY, {}, {}, {},
         EOutcome::Changed, kRoomsCrate, {}, {},
         [](const C3dView& engine) {
             EXPECT_NEAR(engine.GetLevel().m_things[0]->m_position.y, 0.55f, 1e-5f);
         }},
        // Every surface takes corners of its own first: 8 + 4 for each of the first four walls.
        {"Move the sector in Sector Mode", MakeBoxRoom, Then(SectorOnly(0), SectorMode(1)),
         Cmd::kMoveRightZ, {}, {}, {}, EOutcome::Changed, {1, 6, 0, 24, 0}, {}, {},
         [](const C3dView& engine) {
             EXPECT_NEAR(Lowest(engine, kBoxZLow, 2), 0.05f, 1e-5f);
         }},
        // Enabled by the Sector Mode switch alone, in another edit mode: nothing to move.
        {"Move in Sector Mode out of edit mode 1", MakeBoxRoom, SectorMode(4), Cmd::kMoveUpY, {},
         {}, {}, EOutcome::Unchanged, kBox, {}},
        {"Move with nothing selected", MakeBoxRoom, SectorOnly(0), Cmd::kMoveDownY, {}, {}, {},
         EOutcome::Disabled, kBox, {}},

        // ---- Rotate (6 degrees a step) ----
        {"Rotate a thing right around Y", TwoRoomsWithCrate, Thing(0, 0), Cmd::kRotateRightY, {},
         {}, {}, EOutcome::Changed, kRoomsCrate, {}, {},
         [](const C3dView& engine) {
             EXPECT_NEAR(engine.GetLevel().m_things[0]->m_yaw, 6.0f, 1e-4f);
         }},
        {"Rotate the sector in Sector Mode", MakeBoxRoom, Then(SectorOnly(0), SectorMode(1)),
         Cmd::kRotateLeftZ, {}, {}, {}, EOutcome::Changed, kBox, {}},
        {"Rotate a wall whose corners are shared", MakeBoxRoom, Side(0, kBoxXLow),
         Cmd::kRotateRightX, {}, {}, {}, EOutcome::Disabled, kBox, {}},
        {"Rotate a sector with an adjoin", MakeTwoJoinedRooms, Then(SectorOnly(0), SectorMode(1)),
         Cmd::kRotateLeftY, {}, {}, {}, EOutcome::Disabled, kRooms, {}},

        // ---- Link and Unlink ----
        {"Link touching walls", TwoLooseRooms, Side(0, kBoxXHigh), Cmd::kLink, {}, {}, {},
         EOutcome::Changed, {2, 12, 2, 12, 0}, {}, {},
         [](const C3dView& engine) { EXPECT_GE(SurfaceAt(engine, 0, kBoxXHigh).m_adjoin, 0); }},
        {"Link a wall that faces nothing", MakeBoxRoom, Side(0, kBoxXHigh), Cmd::kLink, {}, {},
         {}, EOutcome::Unchanged, kBox, {}},
        {"Link a portal", MakeTwoJoinedRooms, Side(0, kBoxXHigh), Cmd::kLink, {}, {}, {},
         EOutcome::Disabled, kRooms, {}},
        {"Unlink a portal", MakeTwoJoinedRooms, Side(0, kBoxXHigh), Cmd::kUnlink, {}, {}, {},
         EOutcome::Changed, {2, 12, 0, 12, 0}, {}, {},
         [](const C3dView& engine) {
             EXPECT_EQ(SurfaceAt(engine, 0, kBoxXHigh).m_adjoin, -1);
             EXPECT_EQ(SurfaceAt(engine, 1, kBoxXLow).m_adjoin, -1);
         }},
        // A box corner is shared by three walls: the current one gets a world vertex of its own.
        {"Unlink a shared corner", MakeBoxRoom, Corner(0, kBoxFloor, 0), Cmd::kUnlink, {}, {}, {},
         EOutcome::Changed, {1, 6, 0, 9, 0}, {}, {}},
        {"Unlink a corner used once", MakeBoxRoom,
         [](C3dView& engine) {
             // The corner's vertex taken apart first: its only user is the current corner.
             Corner(0, kBoxFloor, 0)(engine);
             CQzlSections& level = engine.GetLevel();
             CQzlVertex& corner = level.m_surfaces[static_cast<std::size_t>(
                                                       engine.m_selection.m_surface)]
                                      ->m_vertices[0];
             level.m_worldVertices.push_back(
                 level.m_worldVertices[static_cast<std::size_t>(corner.m_worldVertex)]);
             --level.m_useCounts[static_cast<std::size_t>(corner.m_worldVertex)];
             corner.m_worldVertex = static_cast<std::int32_t>(level.m_worldVertices.size() - 1);
             level.m_useCounts.push_back(1);
         },
         Cmd::kUnlink, {}, {}, {}, EOutcome::Disabled, {1, 6, 0, 9, 0}, {}},
        {"Unlink a wall", MakeBoxRoom, Side(0, kBoxXLow), Cmd::kUnlink, {}, {}, {},
         EOutcome::Disabled, kBox, {}},

        // ---- Split ----
        {"Split a wall along two nodes", MakeBoxRoom, NodesAcrossWall(), Cmd::kSplit,
         plain(Qt::Key_S), yes, {}, EOutcome::Changed, {1, 7, 0, 10, 0}, {kSplitSurface}},
        {"Split answered No", MakeBoxRoom, NodesAcrossWall(), Cmd::kSplit, plain(Qt::Key_S), no,
         {}, EOutcome::Unchanged, kBox, {kSplitSurface}},
        {"Split with one node", MakeBoxRoom,
         Then(NodesAcrossWall(),
              [](C3dView& engine) { engine.m_selection.m_pickedNodes.pop_back(); }),
         Cmd::kSplit, plain(Qt::Key_S), {}, {}, EOutcome::Disabled, kBox, {}},
        {"Split in Sector Mode", MakeBoxRoom, Then(NodesAcrossWall(), SectorMode(1)),
         Cmd::kSplit, plain(Qt::Key_S), {}, {}, EOutcome::Disabled, kBox, {}},
    };
    for (const EditCase& c : cases)
        Run(c);
}

// Without an engine every edit command is greyed, and sent past its rule does nothing.
TEST_F(EditCommandsTest, WithoutAnEngineTheCommandsAreGreyedAndHarmless)
{
    m_doc = StartShownWithDocument();
    ASSERT_NE(m_doc, nullptr);
    ASSERT_EQ(m_doc->m_pEngine, nullptr);
    const Bytes before = WriteLevelBytes(*m_doc->m_level);
    std::vector<int> ids = {Cmd::kEditCut, Cmd::kEditCopy, Cmd::kEditPaste, Cmd::kInsert,
                            Cmd::kDelete,  Cmd::kLink,     Cmd::kUnlink,    Cmd::kSplit};
    for (int id = Cmd::kMoveUpY; id <= Cmd::kMoveLeftZ; ++id)
        ids.push_back(id);
    for (int id = Cmd::kRotateRightX; id <= Cmd::kRotateRightZ; ++id)
        ids.push_back(id);
    for (const int id : ids) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(Enabled(id));
        EXPECT_FALSE(Frame().RouteCommand(id));
        EXPECT_TRUE(View()->OnCommand(id));
    }
    EXPECT_EQ(WriteLevelBytes(*m_doc->m_level), before);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral("; ")).toStdString();
}

}  // namespace
