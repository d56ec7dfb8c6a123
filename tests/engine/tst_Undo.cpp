#include "engine/Undo.h"

#include "framework/Exceptions.h"
#include "level/DeleteRenumber.h"
#include "level/LevelValidator.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;
using ECall = CRecordingEngineHost::ECall;

void ExpectValid(const CQzlSections& level)
{
    EXPECT_EQ(ValidateLevel(level, {.checkUseCounts = true}), Strings{});
}

void AddThing(CQzlSections& level, std::int32_t sector)
{
    auto thing = std::make_unique<CQzlThing>();
    thing->m_template = "crate";
    thing->m_sector = sector;
    level.m_things.push_back(std::move(thing));
}

void AddTemplate(CQzlSections& level, const std::string& name)
{
    auto t = std::make_unique<CQzlTemplate>();
    t->m_name = name;
    level.m_templates.push_back(std::move(t));
}

// The L corridor with a thing, a cog, a template, a sound and the engine's selection and camera
// set.
std::unique_ptr<CFixtureEngine> MakeEngine(std::int32_t depth)
{
    CQzlSections level = MakeLCorridor();
    AddThing(level, 1);
    AddTemplate(level, "crate");
    level.m_sounds = {"WIND.WAV"};
    level.m_sectors[1]->m_sound = 0;
    auto cog = std::make_unique<CQzlCog>("door.cog");
    cog->m_values = {"7", "1", "0"};
    level.m_cogs.push_back(std::move(cog));
    level.m_cogScripts = {"door.cog"};
    auto engine = std::make_unique<CFixtureEngine>(std::move(level));
    engine->m_settings.m_undoRedo = depth;
    return engine;
}

// The level's bytes in the editor's archive form: equal bytes, equal levels.
Bytes LevelBytes(CQzlSections& level)
{
    return WriteLevelBytes(level);
}

struct CViewState {
    std::int32_t sector, surface, thing, vertex, vertexSurface;
    CVector3 position, forward, up;
    friend bool operator==(const CViewState&, const CViewState&) = default;
};

CViewState ViewState(const C3dView& v)
{
    return {v.m_selection.m_sector,        v.m_selection.m_surface,
            v.m_selection.m_thing,         v.m_selection.m_vertex,
            v.m_selection.m_vertexSurface, v.m_camera.m_position,
            v.m_camera.m_forwardAxis,      v.m_camera.m_upAxis};
}

void SetViewState(C3dView& v, const CViewState& s)
{
    v.m_selection.m_sector = s.sector;
    v.m_selection.m_surface = s.surface;
    v.m_selection.m_thing = s.thing;
    v.m_selection.m_vertex = s.vertex;
    v.m_selection.m_vertexSurface = s.vertexSurface;
    v.m_camera.m_position = s.position;
    v.m_camera.m_forwardAxis = s.forward;
    v.m_camera.m_upAxis = s.up;
}

TEST(Undo, AnEditThenUndoRestoresTheLevelTheSelectionAndTheCamera)
{
    auto engine = MakeEngine(20);
    CQzlSections& level = engine->m_level;
    C3dView& view = engine->m_view;
    const CViewState atEdit{1, 7, 0, 2, 7, {0.5f, 0.5f, 0.25f}, {1, 0, 0}, {0, 1, 0}};
    SetViewState(view, atEdit);
    const Bytes before = LevelBytes(level);

    SaveUndoState(view);
    EXPECT_EQ(engine->m_host.Count(ECall::SetModifiedFlag), 1u);
    // The edit: the thing and a wall go, a vertex moves, and a resource-list rebuild changes the
    // sounds (the sector's index follows), the colour maps and the templates.
    DeleteThing(level, engine->m_game, 0);
    DeleteSurface(level, engine->m_game, 2);
    level.m_worldVertices[0].x = -3.0f;
    level.m_sounds = {"DOOR.WAV", "WIND.WAV"};
    level.m_sectors[1]->m_sound = 1;
    level.m_colormaps.push_back("warm.cmp");
    AddTemplate(level, "lamp");
    SetViewState(view, {0, 3, -1, -1, -1, {9, 9, 9}, {0, 0, 1}, {0, 1, 0}});
    // Not part of an undo step: the bookmarks and the level's own files stay as they are.
    level.m_bookmarks.push_back({1, 2, 3, {}});
    level.m_header.m_worldGravity = 7.5f;
    const std::vector<CWorldVertex> bookmarks = level.m_bookmarks;

    ASSERT_TRUE(Undo(view));

    EXPECT_EQ(ViewState(view), atEdit);
    EXPECT_EQ(level.m_bookmarks, bookmarks);
    EXPECT_FLOAT_EQ(level.m_header.m_worldGravity, 7.5f);
    level.m_bookmarks.clear();
    level.m_header.m_worldGravity = 4.0f;
    EXPECT_EQ(LevelBytes(level), before);
    EXPECT_TRUE(level.m_undoList.empty());
    EXPECT_EQ(level.m_redoList.size(), 1u);
    EXPECT_EQ(engine->m_host.Count(ECall::SetModifiedFlag), 2u);
    ExpectValid(level);
}

TEST(Undo, RedoReturnsToTheEditedStateAndAFurtherUndoBeforeIt)
{
    auto engine = MakeEngine(20);
    CQzlSections& level = engine->m_level;
    C3dView& view = engine->m_view;
    const Bytes before = LevelBytes(level);

    SaveUndoState(view);
    DeleteSurface(level, engine->m_game, 0);
    view.m_selection.m_surface = 4;
    const Bytes after = LevelBytes(level);

    ASSERT_TRUE(Undo(view));
    EXPECT_EQ(LevelBytes(level), before);
    ASSERT_TRUE(Redo(view));
    EXPECT_EQ(LevelBytes(level), after);
    EXPECT_EQ(view.m_selection.m_surface, 4);
    ExpectValid(level);
    ASSERT_TRUE(Undo(view));
    EXPECT_EQ(LevelBytes(level), before);
    EXPECT_EQ(view.m_selection.m_surface, -1);
    ExpectValid(level);
}

// A script of edits, undos and redos, one word per step: the operation and the state of the level
// afterwards. E is an edit, which sets world vertex 0's x to the next number (the level's state);
// U and R are Undo and Redo that act, u and r ones that return false and change nothing.
struct DepthCase {
    const char* name;
    std::int32_t depth;
    const char* script;
    std::size_t undoAfter;
    std::size_t redoAfter;
};

TEST(Undo, ListsFollowTheUndoRedoDepth)
{
    const DepthCase cases[] = {
        {"depth 0: nothing is kept", 0, "E1 E2 u2 r2", 0, 0},
        {"depth 1: the one step undoes and redoes", 1, "E1 E2 U1 u1 R2 r2", 1, 0},
        {"depth 2: the two newest of three edits", 2, "E1 E2 E3 U2 U1 u1", 0, 2},
        {"undo, redo, undo", 20, "E1 E2 U1 U0 R1 U0 R1 R2 r2 U1", 1, 1},
        {"a new edit clears the redo list", 20, "E1 E2 U1 U0 E3 r3 U0 R3", 1, 0},
        {"depth 2 on both lists", 2, "E1 E2 E3 U2 U1 R2 R3 U2 U1 u1", 0, 2},
    };
    for (const DepthCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = MakeEngine(c.depth);
        CQzlSections& level = engine->m_level;
        C3dView& view = engine->m_view;
        float next = 1.0f;
        for (const char* step = c.script; *step; step += step[2] ? 3 : 2) {
            SCOPED_TRACE(std::string(step, 2));
            const float state = static_cast<float>(step[1] - '0');
            switch (step[0]) {
            case 'E':
                SaveUndoState(view);
                level.m_worldVertices[0].x = next;
                next += 1.0f;
                break;
            case 'U':
            case 'u':
                EXPECT_EQ(Undo(view), step[0] == 'U');
                break;
            default:
                EXPECT_EQ(Redo(view), step[0] == 'R');
                break;
            }
            EXPECT_EQ(level.m_worldVertices[0].x, state);
        }
        EXPECT_EQ(level.m_undoList.size(), c.undoAfter);
        EXPECT_EQ(level.m_redoList.size(), c.redoAfter);
        ExpectValid(level);
    }
}

TEST(Undo, RestoringEmptiesTheClipboard)
{
    auto engine = MakeEngine(20);
    C3dView& view = engine->m_view;
    const auto fillClipboard = [&] {
        view.m_clipboard.m_surface = std::make_unique<CQzlSurface>();
        view.m_clipboard.m_thing = std::make_unique<CQzlThing>();
    };
    SaveUndoState(view);
    engine->m_level.m_worldVertices[0].x = 5.0f;

    fillClipboard();
    ASSERT_TRUE(Undo(view));
    EXPECT_EQ(view.m_clipboard.m_surface, nullptr);
    EXPECT_EQ(view.m_clipboard.m_thing, nullptr);

    fillClipboard();
    ASSERT_TRUE(Redo(view));
    EXPECT_EQ(view.m_clipboard.m_surface, nullptr);
    EXPECT_EQ(view.m_clipboard.m_thing, nullptr);

    // Nothing to restore: the clipboard stays.
    fillClipboard();
    EXPECT_FALSE(Redo(view));
    EXPECT_NE(view.m_clipboard.m_surface, nullptr);
    EXPECT_NE(view.m_clipboard.m_thing, nullptr);
}

TEST(Undo, RestoreStateTakesTheNewestSnapshotAndCountsTheCorners)
{
    auto engine = MakeEngine(20);
    CQzlSections& level = engine->m_level;
    C3dView& view = engine->m_view;
    SaveUndoState(view);
    DeleteSurface(level, engine->m_game, 5);
    SaveUndoState(view);
    const Bytes middle = LevelBytes(level);
    DeleteSurface(level, engine->m_game, 5);
    level.m_useCounts.assign(level.m_useCounts.size(), 0);  // whatever they were

    ASSERT_TRUE(RestoreState(view));
    EXPECT_EQ(LevelBytes(level), middle);
    EXPECT_EQ(level.m_undoList.size(), 1u);
    EXPECT_TRUE(level.m_redoList.empty());
    ExpectValid(level);
}

TEST(UndoSnapshot, ASnapshotThatDoesNotReadBackLeavesTheLevel)
{
    CQzlSections level = MakeTwoJoinedRooms();
    CUndoSnapshot snapshot;
    snapshot.StoreLevel(level);
    const Bytes before = LevelBytes(level);

    CUndoSnapshot truncated = snapshot;
    truncated.m_bytes.resize(truncated.m_bytes.size() / 2);
    CUndoSnapshot padded = snapshot;
    padded.m_bytes.push_back(0);
    CQzlSections other = MakeBoxRoom();
    for (const CUndoSnapshot* bad : {&truncated, &padded}) {
        EXPECT_THROW(bad->LoadLevel(other), CArchiveException);
        EXPECT_EQ(other.m_sectors.size(), 1u);
    }
    snapshot.LoadLevel(other);
    EXPECT_EQ(other.m_sectors.size(), 2u);
    EXPECT_EQ(LevelBytes(level), before);
}

}  // namespace
