#include "engine/Undo.h"

#include "SyntheticGame.h"
#include "engine/CommandIds.h"
#include "framework/Exceptions.h"
#include "level/DeleteRenumber.h"
#include "level/LevelValidator.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "level/ResourceLists.h"
#include "level/UndoSnapshot.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
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
    // No thing value: the engine has no game whose script would let deleting a thing renumber it.
    cog->m_values = {"7", "1", "-1"};
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
    // The Header dialog's edit is undone with the rest.
    level.m_header.m_worldGravity = 7.5f;
    SetViewState(view, {0, 3, -1, -1, -1, {9, 9, 9}, {0, 0, 1}, {0, 1, 0}});
    // Not part of an undo step: the bookmarks and the level's own files stay as they are.
    level.m_bookmarks.push_back({1, 2, 3, {}});
    const std::vector<CWorldVertex> bookmarks = level.m_bookmarks;

    ASSERT_TRUE(Undo(view));

    EXPECT_EQ(ViewState(view), atEdit);
    EXPECT_EQ(level.m_bookmarks, bookmarks);
    EXPECT_FLOAT_EQ(level.m_header.m_worldGravity, 4.0f);
    level.m_bookmarks.clear();
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

    // A block of the surfaces cut in half, a byte after the header.
    CUndoSnapshot truncated = snapshot;
    CUndoSnapshot::Block& cut = truncated.m_sections[2].front();
    cut = std::make_shared<const Bytes>(cut->begin(), cut->begin() + std::ssize(*cut) / 2);
    CUndoSnapshot padded = snapshot;
    CUndoSnapshot::Block& last = padded.m_sections.back().back();
    Bytes longer = *last;
    longer.push_back(0);
    last = std::make_shared<const Bytes>(std::move(longer));
    CQzlSections other = MakeBoxRoom();
    for (const CUndoSnapshot* bad : {&truncated, &padded}) {
        EXPECT_THROW(bad->LoadLevel(other), CArchiveException);
        EXPECT_EQ(other.m_sectors.size(), 1u);
    }
    snapshot.LoadLevel(other);
    EXPECT_EQ(other.m_sectors.size(), 2u);
    EXPECT_EQ(LevelBytes(level), before);
}

// ---- Undo steps of edits that may be refused ----

// The undo and redo lists by identity: which snapshot objects they hold, in order.
struct CLists {
    std::vector<const CUndoSnapshot*> undo;
    std::vector<const CUndoSnapshot*> redo;
    friend bool operator==(const CLists&, const CLists&) = default;
};

CLists Lists(const CQzlSections& level)
{
    CLists lists;
    for (const auto& snapshot : level.m_undoList)
        lists.undo.push_back(snapshot.get());
    for (const auto& snapshot : level.m_redoList)
        lists.redo.push_back(snapshot.get());
    return lists;
}

// An edit that sets world vertex 0's x to x.
void Edit(CFixtureEngine& engine, float x)
{
    SaveUndoState(engine.m_view);
    engine.m_level.m_worldVertices[0].x = x;
}

struct RefusalCase {
    const char* name;
    std::int32_t depth;
    int edits;                 // edits before the refused one
    int undos;                 // then undone (they fill the redo list)
    std::int32_t depthAtEdit;  // "UndoRedo" when the refused edit comes
    bool throws;
};

TEST(UndoStep, ARefusedEditLeavesBothListsAndTheModifiedFlag)
{
    const RefusalCase cases[] = {
        {"no history", 20, 0, 0, 20, false},
        {"an undo list and a redo list", 20, 3, 1, 20, false},
        {"an undo list full to the depth", 2, 3, 0, 2, false},
        {"the depth lowered below the undo list", 20, 4, 1, 1, false},
        {"the edit throws", 20, 2, 1, 20, true},
        {"undo off", 0, 2, 0, 0, false},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = MakeEngine(c.depth);
        C3dView& view = engine->m_view;
        for (int i = 0; i < c.edits; ++i)
            Edit(*engine, static_cast<float>(i + 1));
        for (int i = 0; i < c.undos; ++i)
            ASSERT_TRUE(Undo(view));
        engine->m_settings.m_undoRedo = c.depthAtEdit;
        const CLists lists = Lists(engine->m_level);
        const Bytes before = LevelBytes(engine->m_level);
        engine->m_host.Clear();

        const auto refuse = [&] {
            if (c.throws)
                throw std::runtime_error("refused by throwing");
            view.GetHost().ShowMessage("No.");
            return false;
        };
        if (c.throws)
            EXPECT_THROW(RunUndoable(view, refuse), std::runtime_error);
        else
            EXPECT_FALSE(RunUndoable(view, refuse));

        EXPECT_EQ(Lists(engine->m_level), lists);
        EXPECT_EQ(engine->m_host.Count(ECall::SetModifiedFlag), 0u);
        EXPECT_EQ(LevelBytes(engine->m_level), before);
    }
}

TEST(UndoStep, ACommittedEditIsOneUndoStepAndClearsTheRedoList)
{
    auto engine = MakeEngine(2);
    C3dView& view = engine->m_view;
    Edit(*engine, 1.0f);
    Edit(*engine, 2.0f);
    ASSERT_TRUE(Undo(view));
    const CUndoSnapshot* kept = engine->m_level.m_undoList.back().get();
    engine->m_host.Clear();

    EXPECT_TRUE(RunUndoable(view, [&] {
        engine->m_level.m_worldVertices[0].x = 3.0f;
        return true;
    }));
    EXPECT_EQ(engine->m_host.Numbers(ECall::SetModifiedFlag), std::vector<int>{1});
    ASSERT_EQ(engine->m_level.m_undoList.size(), 2u);
    EXPECT_EQ(engine->m_level.m_undoList.front().get(), kept);
    EXPECT_TRUE(engine->m_level.m_redoList.empty());
    ASSERT_TRUE(Undo(view));
    EXPECT_EQ(engine->m_level.m_worldVertices[0].x, 1.0f);
}

// With undo switched off ("UndoRedo" 0) an edit keeps no snapshot but still marks the document
// modified, so that closing it asks to save; a refused edit marks nothing.
TEST(UndoStep, WithUndoOffAnEditStillMarksTheDocumentModified)
{
    auto engine = MakeEngine(0);
    C3dView& view = engine->m_view;
    engine->m_host.Clear();
    EXPECT_FALSE(RunUndoable(view, [] { return false; }));
    EXPECT_EQ(engine->m_host.Count(ECall::SetModifiedFlag), 0u);
    EXPECT_TRUE(RunUndoable(view, [&] {
        engine->m_level.m_worldVertices[0].x = 3.0f;
        return true;
    }));
    EXPECT_EQ(engine->m_host.Numbers(ECall::SetModifiedFlag), std::vector<int>{1});
    EXPECT_TRUE(engine->m_level.m_undoList.empty());
    EXPECT_FALSE(CanUndo(view));
}

// ---- Undo gives back the exact stored bytes ----

TEST(Undo, RebuildingTheResourceListsIsUndoneExactly)
{
    // Placing a thing rebuilds the resource lists: templates, models, puppets, keyframes, sound
    // classes, AI classes, sounds and materials change with it.
    const auto game = MakeSyntheticGame(0);
    auto engine = MakeEngine(20);
    CQzlSections& level = engine->m_level;
    BuildResourceLists(level, game->m_resources);
    const Strings models = level.m_models;
    const Strings puppets = level.m_puppets;

    EXPECT_TRUE(UndoGivesBackExactBytes(engine->m_view, [&] {
        auto thing = std::make_unique<CQzlThing>();
        thing->m_template = "door";
        thing->m_name = "door";
        thing->m_position = {0.5f, 0.5f, 0.5f};
        thing->m_sector = 0;
        level.m_things.push_back(std::move(thing));
        BuildResourceLists(level, game->m_resources);
        return true;
    }));
    ASSERT_TRUE(Undo(engine->m_view));
    EXPECT_EQ(level.m_models, models);
    EXPECT_EQ(level.m_puppets, puppets);
}

// Each delete of the level container, as the editor's commands compose them, on the L corridor
// with a thing in every sector, a cog naming a sector, a surface and a thing, and a second
// material.
struct DeleteCase {
    const char* name;
    std::function<void(CQzlSections&, const CGameResources&)> run;
};

TEST(Undo, EveryDeleteIsUndoneAndRedoneExactly)
{
    const DeleteCase cases[] = {
        {"surface with its adjoin",
         [](CQzlSections& level, const CGameResources& game) {
             const int surface = BoxSurface(level, 1, kBoxZHigh);
             DeleteAdjoin(level, level.m_surfaces[static_cast<std::size_t>(surface)]->m_adjoin);
             DeleteSurface(level, game, surface);
         }},
        {"wall",
         [](CQzlSections& level, const CGameResources& game) {
             DeleteSurface(level, game, BoxSurface(level, 0, kBoxXLow));
         }},
        {"world vertex with its corners",
         [](CQzlSections& level, const CGameResources&) { RemoveVertexRefs(level, 0, true); }},
        {"adjoin pair", [](CQzlSections& level, const CGameResources&) { DeleteAdjoin(level, 3); }},
        {"material", [](CQzlSections& level, const CGameResources&) { DeleteMaterial(level, 0); }},
        {"thing",
         [](CQzlSections& level, const CGameResources& game) { DeleteThing(level, game, 1); }},
        {"sector with its things and surfaces",
         [](CQzlSections& level, const CGameResources& game) {
             DeleteThing(level, game, 2);
             const std::vector<std::int32_t> surfaces = level.m_sectors[2]->m_surfaces;
             DeleteAdjoin(level, 2);
             for (auto it = surfaces.rbegin(); it != surfaces.rend(); ++it)
                 DeleteSurface(level, game, *it);
             DeleteSector(level, game, 2);
             level.LinkAdjoins();
         }},
        {"unused materials",
         [](CQzlSections& level, const CGameResources&) { CompactMaterials(level); }},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto engine = MakeEngine(20);
        CQzlSections& level = engine->m_level;
        level.m_things[0]->m_position = {1.5f, 0.5f, 0.5f};
        for (const std::int32_t sector : {0, 2}) {
            AddThing(level, sector);
            level.m_things.back()->m_position = {sector == 0 ? 0.5f : 1.5f, 0.2f,
                                                 sector == 0 ? 0.5f : 1.5f};
        }
        level.m_materials.push_back(std::make_unique<CQzlMaterial>("stone.mat"));
        level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 2, kBoxFloor))]->m_material = 1;
        level.m_materials.push_back(std::make_unique<CQzlMaterial>("unused.mat"));
        ASSERT_TRUE(LevelIsSound(level));
        engine->m_view.m_selection.m_sector = 2;
        engine->m_view.m_selection.m_surface = BoxSurface(level, 2, kBoxFloor);
        const Bytes before = LevelBytes(level);

        EXPECT_TRUE(UndoGivesBackExactBytes(engine->m_view, [&] {
            c.run(level, engine->m_game);
            return true;
        }));
        EXPECT_NE(LevelBytes(level), before);  // redone: the delete took something
        ExpectValid(level);
    }
}

// ---- The document's Undo and Redo commands ----

TEST(Undo, TheCommandsRestoreAndShowTheLevel)
{
    auto engine = MakeEngine(20);
    C3dView& view = engine->m_view;
    CRecordingEngineHost& host = engine->m_host;

    // Nothing to restore: disabled, and nothing happens.
    EXPECT_FALSE(CanUndo(view));
    EXPECT_FALSE(CanRedo(view));
    EXPECT_FALSE(UndoCommand(view));
    EXPECT_FALSE(RedoCommand(view));
    EXPECT_TRUE(host.m_calls.empty());

    engine->m_level.m_things[0]->m_position = {1.5f, 0.5f, 0.5f};
    SaveUndoState(view);
    DeleteThing(engine->m_level, engine->m_game, 0);
    EXPECT_TRUE(CanUndo(view));
    EXPECT_FALSE(CanRedo(view));

    for (const bool undo : {true, false}) {
        SCOPED_TRACE(undo ? "Undo" : "Redo");
        host.Clear();
        view.m_selection.m_surface = 3;
        ASSERT_TRUE(undo ? UndoCommand(view) : RedoCommand(view));
        EXPECT_EQ(engine->m_level.m_things.size(), undo ? 1u : 0u);
        EXPECT_EQ(CanUndo(view), !undo);
        EXPECT_EQ(CanRedo(view), undo);
        // The Surface view, then the rebuild of every sector, then the views.
        EXPECT_EQ(host.Numbers(ECall::SwitchPropertyView),
                  std::vector<int>{PropertyView::kSurface});
        EXPECT_EQ(host.Numbers(ECall::UpdateAllViews), std::vector<int>{0});
        std::vector<ECall> order;
        for (const auto& call : host.m_calls)
            if (call.kind == ECall::SwitchPropertyView || call.kind == ECall::BeginProgress ||
                call.kind == ECall::UpdateAllViews)
                order.push_back(call.kind);
        EXPECT_EQ(order, (std::vector<ECall>{ECall::SwitchPropertyView, ECall::BeginProgress,
                                             ECall::BeginProgress, ECall::UpdateAllViews}));
        // The selection is the snapshot's (the redo step was taken with surface 3 current).
        EXPECT_EQ(view.m_selection.m_surface, undo ? -1 : 3);
        EXPECT_TRUE(LevelIsSound(engine->m_level));
    }

    // "UndoRedo" 0: both commands are off, whatever the lists hold.
    engine->m_settings.m_undoRedo = 0;
    EXPECT_FALSE(CanUndo(view));
    EXPECT_FALSE(CanRedo(view));
}

}  // namespace
