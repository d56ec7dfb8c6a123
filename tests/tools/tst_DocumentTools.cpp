// The document's selection tools (Select Sound, Restore Surface, Update Vertices) and the Create
// menu's rules: which commands a selection enables, and the question of the surface effects,
// which "Warning" turns off and whose No leaves no undo step.

#include "engine/CommandIds.h"
#include "engine/Undo.h"
#include "level/QzlAdjoin.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"
#include "tools/CreateMenu.h"
#include "tools/DocumentTools.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using ECall = CRecordingEngineHost::ECall;

// ---- Select Sound ----

// Four boxes along x: sector 0 from 0 to 1, sector 1 from 3 to 4 (3.0 away), sector 2 from 1 to 2
// (1.0 away) and sector 3 from 7 to 8. Sector 0 sees itself and sectors 1 and 2; its volume is 1,
// the others' 0.8.
CQzlSections MakeSoundRow()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1, 1, 1});
    AddBoxSector(level, {3, 0, 0}, {4, 1, 1});
    AddBoxSector(level, {1, 0, 0}, {2, 1, 1});
    AddBoxSector(level, {7, 0, 0}, {8, 1, 1});
    FinishFixture(level);
    level.m_sounds = {"drip.wav"};
    for (auto& sector : level.m_sectors)
        sector->m_soundVolume = 0.8f;
    level.m_sectors[0]->m_soundVolume = 1.0f;
    level.m_sectors[0]->m_visible = {0, 1, 2};
    return level;
}

TEST(SelectSound, VisibleSectorsTakeTheSoundAtAVolumeFallingWithDistance)
{
    struct Case {
        const char* pick;
        std::vector<std::string> sounds;  // afterwards
        int index;
    };
    const Case cases[] = {
        {"wind.wav", {"drip.wav", "wind.wav"}, 1},
        {"drip.wav", {"drip.wav"}, 0},  // a name already listed is reused
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pick);
        CFixtureEngine fixture(MakeSoundRow());
        C3dView& view = fixture.m_view;
        view.m_selection.m_sector = 0;
        fixture.m_host.m_soundChoices.push_back(c.pick);
        ASSERT_TRUE(RunSelectSoundCommand(view));
        const CQzlSections& level = fixture.m_level;
        EXPECT_EQ(level.m_sounds, c.sounds);
        const float volumes[] = {1.0f, 0.25f, 0.5f, 0.8f};
        for (std::size_t s = 0; s < 4; ++s) {
            EXPECT_EQ(level.m_sectors[s]->m_sound, s < 3 ? c.index : -1) << s;
            EXPECT_FLOAT_EQ(level.m_sectors[s]->m_soundVolume, volumes[s]) << s;
        }
        EXPECT_TRUE(CanUndo(view));
        // The picker of sounds to add, with no name at the start.
        bool asked = false;
        for (const auto& call : fixture.m_host.m_calls)
            asked = asked || (call.kind == ECall::PickSound && call.text.empty() &&
                              call.number == kPickToAdd);
        EXPECT_TRUE(asked);
    }
}

TEST(SelectSound, CancelOrNoSectorChangesNothing)
{
    CFixtureEngine fixture(MakeSoundRow());
    C3dView& view = fixture.m_view;
    EXPECT_FALSE(CanSelectSound(view));
    fixture.m_host.m_soundChoices.push_back("wind.wav");
    EXPECT_FALSE(RunSelectSoundCommand(view));
    view.m_selection.m_sector = 0;
    fixture.m_host.m_soundChoices = {std::nullopt};
    EXPECT_FALSE(RunSelectSoundCommand(view));
    EXPECT_FALSE(CanUndo(view));
    EXPECT_EQ(fixture.m_level.m_sounds.size(), 1U);
    EXPECT_EQ(fixture.m_host.Count(ECall::SetModifiedFlag), 0U);
}

TEST(SelectSound, UndoGivesBackTheLevel)
{
    CFixtureEngine fixture(MakeSoundRow());
    C3dView& view = fixture.m_view;
    view.m_selection.m_sector = 0;
    EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] { return SelectSound(view, "wind.wav"); }));
}

// ---- Restore Surface ----

TEST(RestoreSurface, BothSidesOfThePortalGetThePortalLookBack)
{
    CFixtureEngine fixture(MakeTwoJoinedRooms());
    CQzlSections& level = fixture.m_level;
    C3dView& view = fixture.m_view;
    const int portal = BoxSurface(level, 0, kBoxXHigh);
    const int twin = BoxSurface(level, 1, kBoxXLow);
    for (const int f : {portal, twin}) {
        CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(f)];
        surface.m_material = 0;
        surface.m_surfaceFlags = 4;
        surface.m_faceFlags = 2;
        surface.m_geo = 4;
        surface.m_light = 1;
        surface.m_tex = 0;
        surface.m_extraLight = 0.5f;
        level.m_adjoins[static_cast<std::size_t>(surface.m_adjoin)]->m_flags = 1;
    }
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = portal;
    EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] { return RestoreSurface(view); }));
    for (const int f : {portal, twin}) {
        SCOPED_TRACE(f);
        const CQzlSurface& surface = *level.m_surfaces[static_cast<std::size_t>(f)];
        EXPECT_EQ(surface.m_material, -1);
        EXPECT_EQ(surface.m_surfaceFlags, 0U);
        EXPECT_EQ(surface.m_faceFlags, 0U);
        EXPECT_EQ(surface.m_geo, 0);
        EXPECT_EQ(surface.m_light, 3);
        EXPECT_EQ(surface.m_tex, 1);
        EXPECT_EQ(surface.m_extraLight, 0.0f);
        EXPECT_EQ(level.m_adjoins[static_cast<std::size_t>(surface.m_adjoin)]->m_flags, 7U);
    }
    EXPECT_TRUE(LevelIsSound(level));
}

TEST(RestoreSurface, AWallIsNotRestored)
{
    CFixtureEngine fixture(MakeTwoJoinedRooms());
    C3dView& view = fixture.m_view;
    view.m_selection.m_sector = 0;
    view.m_selection.m_surface = BoxSurface(fixture.m_level, 0, kBoxFloor);
    EXPECT_FALSE(CanRestoreSurface(view));
    EXPECT_FALSE(RunRestoreSurfaceCommand(view));
    EXPECT_FALSE(CanUndo(view));
}

TEST(UpdateVertices, RunsInsideAnUndoStep)
{
    CFixtureEngine fixture(MakeTwoJoinedRooms());
    C3dView& view = fixture.m_view;
    view.m_selection.m_sector = 1;
    EXPECT_TRUE(RunUpdateVerticesCommand(view));
    EXPECT_TRUE(CanUndo(view));
    EXPECT_TRUE(LevelIsSound(fixture.m_level));
}

// ---- The Create menu ----

std::set<int> EnabledCreateCommands(const C3dView& view, const CDocumentState& document)
{
    std::set<int> ids;
    for (const CCreateCommand& command : CreateCommands())
        if (CreateRuleHolds(command.m_rule, &view, document))
            ids.insert(command.m_id);
    return ids;
}

TEST(CreateMenu, EnableTable)
{
    const std::set<int> twoNode = {
        Cmd::kCreateDoor,      Cmd::kCreateElevator, Cmd::kCreateStairs,      Cmd::kCreatePyramid,
        Cmd::kCreateLandscape, Cmd::kCreateSwitch,   Cmd::kCreateConveyorBelt};
    const std::set<int> effects = {Cmd::kCreateWater, Cmd::kCreateForceField,
                                   Cmd::kCreateBreakingGlass, Cmd::kCreateSlashableGrate};
    const auto with = [](std::set<int> ids, std::initializer_list<int> more) {
        ids.insert(more);
        return ids;
    };
    struct Case {
        const char* name;
        bool adjoined;  // the current surface is the portal (else the floor)
        bool surface;   // a surface is current
        int nodes;
        int lightMode;
        std::set<int> enabled;
    };
    const Case cases[] = {
        {"sector only, light on", false, false, 0, 1, {Cmd::kCreateLight}},
        {"sector only, light off", false, false, 2, 0, {}},
        {"wall, no node",
         false,
         true,
         0,
         0,
         {Cmd::kCreateCylinder, Cmd::kCreateDome, Cmd::kCreateLayer}},
        {"wall, one node", false, true, 1, 0, {Cmd::kCreateDome, Cmd::kCreateLayer}},
        {"wall, two nodes", false, true, 2, 0,
         with(twoNode,
              {Cmd::kCreateRectangle, Cmd::kCreateCylinder, Cmd::kCreateDome, Cmd::kCreateLayer})},
        {"wall, three nodes",
         false,
         true,
         3,
         1,
         {Cmd::kCreateLight, Cmd::kCreateRectangle, Cmd::kCreateCylinder, Cmd::kCreateDome,
          Cmd::kCreateLayer}},
        {"portal, no node", true, true, 0, 0, with(effects, {Cmd::kCreateCylinder})},
        {"portal, two nodes", true, true, 2, 0,
         with(with(twoNode, {Cmd::kCreateRectangle, Cmd::kCreateCylinder}),
              {Cmd::kCreateWater, Cmd::kCreateForceField, Cmd::kCreateBreakingGlass,
               Cmd::kCreateSlashableGrate})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine fixture(MakeTwoJoinedRooms());
        C3dView& view = fixture.m_view;
        view.m_selection.m_sector = 0;
        if (c.surface)
            view.m_selection.m_surface =
                BoxSurface(fixture.m_level, 0, c.adjoined ? kBoxXHigh : kBoxFloor);
        view.m_selection.m_pickedNodes.assign(static_cast<std::size_t>(c.nodes), CVector3{});
        fixture.m_document.m_lightMode = c.lightMode;
        EXPECT_EQ(EnabledCreateCommands(view, fixture.m_document), c.enabled);
    }
    // Light needs a sector of the level current: a surface or a vertex alone is not enough;
    // nothing without an engine.
    CFixtureEngine fixture(MakeBoxRoom());
    CSelection& selection = fixture.m_view.m_selection;
    selection.m_surface = selection.m_vertexSurface = 0;
    selection.m_vertex = 0;
    EXPECT_FALSE(CreateRuleHolds(ECreateRule::Light, &fixture.m_view, fixture.m_document));
    selection.m_sector = 1;
    EXPECT_FALSE(CreateRuleHolds(ECreateRule::Light, &fixture.m_view, fixture.m_document));
    selection.m_sector = 0;
    EXPECT_TRUE(CreateRuleHolds(ECreateRule::Light, &fixture.m_view, fixture.m_document));
    EXPECT_FALSE(CreateRuleHolds(ECreateRule::Light, nullptr, fixture.m_document));
}

TEST(CreateMenu, SurfaceEffectQuestions)
{
    const std::pair<int, const char*> questions[] = {
        {Cmd::kCreateWater, "Do you want to create a water sector?"},
        {Cmd::kCreateForceField, "Do you want to create a Force Field?"},
        {Cmd::kCreateBreakingGlass, "Do you want to create a Breaking Glass?"},
        {Cmd::kCreateSlashableGrate, "Do you want to create a Slashable Grate?"},
        {Cmd::kCreateConveyorBelt, "Do you want to create a Conveyor Belt?"},
    };
    std::size_t asking = 0;
    for (const CCreateCommand& command : CreateCommands())
        asking += command.m_question != nullptr ? 1 : 0;
    EXPECT_EQ(asking, std::size(questions));
    for (const auto& [id, text] : questions) {
        ASSERT_NE(FindCreateCommand(id), nullptr);
        EXPECT_STREQ(FindCreateCommand(id)->m_question, text);
    }
    EXPECT_EQ(CreateQuestionHelpContext(Cmd::kCreateWater), 0x10000U + 2089U);
}

TEST(CreateMenu, TheQuestionGatesTheBuilderAndItsUndoStep)
{
    struct Case {
        const char* name;
        int warning;
        bool answer;
        bool builderAgrees;
        bool asked;
        bool built;  // the builder ran and its undo step stays
    };
    const Case cases[] = {
        {"Yes", 1, true, true, true, true},
        {"No: no snapshot", 1, false, true, true, false},
        {"Warning off: not asked", 0, false, true, false, true},
        {"the builder refuses", 0, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine fixture(MakeTwoJoinedRooms());
        C3dView& view = fixture.m_view;
        fixture.m_settings.m_warning = c.warning;
        // An undo and a redo step from before.
        ASSERT_TRUE(RunUndoable(view, [] { return true; }));
        ASSERT_TRUE(RunUndoable(view, [] { return true; }));
        ASSERT_TRUE(Undo(view));
        const std::size_t undo = fixture.m_level.m_undoList.size();
        fixture.m_host.Clear();
        fixture.m_host.ScriptAnswers({c.answer});
        int runs = 0;
        const bool built =
            RunConfirmedCreate(view, *FindCreateCommand(Cmd::kCreateForceField), [&] {
                ++runs;
                return c.builderAgrees;
            });
        EXPECT_EQ(built, c.built);
        EXPECT_EQ(fixture.m_host.Count(ECall::AskYesNo), c.asked ? 1U : 0U);
        EXPECT_EQ(runs, c.asked && !c.answer ? 0 : 1);
        EXPECT_EQ(fixture.m_level.m_undoList.size(), undo + (c.built ? 1 : 0));
        EXPECT_EQ(fixture.m_level.m_redoList.size(), c.built ? 0U : 1U);
        EXPECT_EQ(fixture.m_host.Count(ECall::SetModifiedFlag), c.built ? 1U : 0U);
    }
}

}  // namespace
