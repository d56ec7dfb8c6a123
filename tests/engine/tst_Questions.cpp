// What operations ask the user: confirmations that the "Warning" setting turns off, and what the
// pickers list and hand back for each kind and mode, over the synthetic game and a level with
// files of its own.

#include "engine/Questions.h"

#include "SyntheticGame.h"
#include "engine/C3dView.h"
#include "framework/DocumentState.h"
#include "framework/Settings.h"
#include "level/QzlSections.h"
#include "resources/TreeObject.h"
#include "support/FixtureLevels.h"
#include "support/RecordingEngineHost.h"
#include "support/ScriptedInput.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// An engine over a box room with the synthetic Korvath game. The level has the materials
// "dflt.mat", "BRICK.MAT" (tiled 2 x 3) and "nowhere.mat", the colour maps "dflt.cmp" and
// "WARM.CMP", the sounds "Door.wav" and "jump.wav", the templates "crate", "door" and "lost" (whose
// model "lost.3do" is nowhere), and files of its own: "Own.mat" (8 x 16), "own.cmp", "own.wav" and
// "readme.txt".
struct CPickerEngine : CFixtureEngine {
    CPickerEngine() : CFixtureEngine(MakeBoxRoom()), m_synthetic(MakeSyntheticGame(0))
    {
        // The engine reads the game through m_game; the archives stay with m_synthetic.
        m_game = std::move(m_synthetic->m_resources);
        auto brick = std::make_unique<CQzlMaterial>("BRICK.MAT");
        brick->m_xTile = 2.0f;
        brick->m_yTile = 3.0f;
        m_level.m_materials.push_back(std::move(brick));
        m_level.m_materials.push_back(std::make_unique<CQzlMaterial>("nowhere.mat"));
        m_level.m_colormaps = {"dflt.cmp", "WARM.CMP"};
        m_level.m_sounds = {"Door.wav", "jump.wav"};
        for (const char* name : {"crate", "door", "lost"}) {
            auto entry = std::make_unique<CQzlTemplate>();
            entry->m_name = name;
            entry->m_basedOn = "_decor";
            m_level.m_templates.push_back(std::move(entry));
        }
        m_level.m_templates.back()->m_model = "lost.3do";
        // In the index's order (names sorted without regard to case).
        AddFile("own.cmp", MakeSyntheticCmp(SyntheticPalette(0)));
        AddFile("Own.mat", MakeSyntheticMat(8, 16, 1, 0));
        AddFile("own.wav", MakeSyntheticWav(20, 8, 1));
        AddFile("readme.txt", {'h', 'i'});
    }

    void AddFile(const char* name, std::vector<std::uint8_t> bytes)
    {
        m_level.m_levelFiles.m_entries.push_back(
            std::make_unique<CTreeObject>(name, std::move(bytes), 0));
    }

    std::unique_ptr<CSyntheticGame> m_synthetic;
};

void ExpectNear(const CVector3& actual, const CVector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

TEST(Questions, ConfirmAsksOnlyWhileWarningIsOn)
{
    const struct {
        int warning;
        bool answer;
        bool result;
        std::size_t questions;
    } cases[] = {
        {1, true, true, 1},
        {1, false, false, 1},
        {0, false, true, 0},  // no question: the operation goes on
        {2, false, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.warning);
        CFixtureEngine e(MakeBoxRoom());
        e.m_settings.m_warning = c.warning;
        e.m_host.ScriptAnswers({c.answer});
        EXPECT_EQ(Confirm(e.m_view, "Are you sure?"), c.result);
        EXPECT_EQ(e.m_host.Questions(), Names(c.questions, "Are you sure?"));
    }
}

TEST(Questions, PickerCaptionsNameKindAndMode)
{
    const struct {
        EPicker kind;
        const char* level;
        const char* add;
    } cases[] = {
        {EPicker::Material, "Materials in level", "Add Material to level"},
        {EPicker::Template, "Templates in level", "Add Template to level"},
        {EPicker::ColorMap, "Color Maps in level", "Add Color Map to level"},
        {EPicker::Sound, "Sounds in level", "Add Sound to level"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(PickerCaption(c.kind, kPickInLevel), c.level);
        EXPECT_STREQ(PickerCaption(c.kind, kPickToAdd), c.add);
    }
}

TEST(Questions, PickersListTheLevelsOrTheGamesNames)
{
    CPickerEngine e;
    const CGameResources& game = e.m_game;
    ASSERT_FALSE(game.m_templates.empty());
    Names productTemplates;
    for (const auto& entry : game.m_templates)
        productTemplates.push_back(entry->m_name);
    Names gameSounds;
    for (const auto& entry : game.m_treeSounds.m_entries)
        gameSounds.push_back(entry->m_name);
    ASSERT_FALSE(gameSounds.empty());
    gameSounds.push_back("own.wav");

    const struct {
        EPicker kind;
        int mode;
        Names names;
    } cases[] = {
        {EPicker::Material, kPickInLevel, {"dflt.mat", "brick.mat", "nowhere.mat"}},
        {EPicker::Material,
         kPickToAdd,
         {"00red.mat", "brick.mat", "dflt.mat", "floor.mat", "lava.mat", "red.mat", "sky.mat",
          "own.mat"}},
        {EPicker::ColorMap, kPickInLevel, {"dflt.cmp", "warm.cmp"}},
        {EPicker::ColorMap, kPickToAdd, {"dflt.cmp", "warm.cmp", "own.cmp"}},
        {EPicker::Sound, kPickInLevel, {"door.wav", "jump.wav"}},
        {EPicker::Sound, kPickToAdd, gameSounds},
        {EPicker::Template, kPickInLevel, {"crate", "door", "lost"}},
        {EPicker::Template, kPickToAdd, productTemplates},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(PickerCaption(c.kind, c.mode));
        EXPECT_EQ(PickerNames(e.m_level, game, c.kind, c.mode), c.names);
    }
}

TEST(Questions, ChosenMaterialGivesIndexTilingAndTextureSize)
{
    CPickerEngine e;
    const CGameResources& game = e.m_game;
    // Level mode: the material at that index as it stands.
    EXPECT_EQ(ChooseMaterial(e.m_level, game, kPickInLevel, 1),
              (CMaterialChoice{1, "brick.mat", 64, 32, 2.0f, 3.0f}));
    // A material found nowhere decodes as the game's "dflt.mat".
    EXPECT_EQ(ChooseMaterial(e.m_level, game, kPickInLevel, 2),
              (CMaterialChoice{2, "nowhere.mat", 64, 64, 1.0f, 1.0f}));
    EXPECT_EQ(ChooseMaterial(e.m_level, game, kPickInLevel, 3), std::nullopt);
    EXPECT_EQ(ChooseMaterial(e.m_level, game, kPickInLevel, -1), std::nullopt);
    EXPECT_EQ(e.m_level.m_materials.size(), 3u);

    // Add mode: a new material is appended in upper case, once; one the level has is taken.
    const Names offered = PickerNames(e.m_level, game, EPicker::Material, kPickToAdd);
    const int lava = 4;
    ASSERT_EQ(offered[lava], "lava.mat");
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(ChooseMaterial(e.m_level, game, kPickToAdd, lava),
                  (CMaterialChoice{3, "lava.mat", 32, 32, 1.0f, 1.0f}));
        ASSERT_EQ(e.m_level.m_materials.size(), 4u);
        EXPECT_EQ(e.m_level.m_materials[3]->m_name, "LAVA.MAT");
    }
    EXPECT_EQ(ChooseMaterial(e.m_level, game, kPickToAdd, 1),
              (CMaterialChoice{1, "brick.mat", 64, 32, 2.0f, 3.0f}));
    // The level's own file, decoded from its bytes.
    EXPECT_EQ(ChooseMaterial(e.m_level, game, kPickToAdd, 7),
              (CMaterialChoice{4, "own.mat", 8, 16, 1.0f, 1.0f}));
    EXPECT_EQ(e.m_level.m_materials[4]->m_name, "OWN.MAT");
    EXPECT_EQ(ChooseMaterial(e.m_level, game, kPickToAdd, 8), std::nullopt);
    EXPECT_EQ(e.m_level.m_materials.size(), 5u);
}

TEST(Questions, ChosenTemplateMeasuresItsModel)
{
    CPickerEngine e;
    // The level's "door" has no model of its own: the product's list gives door.3do, a box of
    // half sizes 0.1, 0.01 and 0.15 in the file's axes (z up).
    const auto door = ChooseTemplate(e.m_view, kPickInLevel, 1);
    ASSERT_TRUE(door.has_value());
    EXPECT_EQ(door->m_name, "door");
    ExpectNear(door->m_extents, {0.2f, 0.3f, 0.02f});
    // A model found nowhere measures 0.
    const auto lost = ChooseTemplate(e.m_view, kPickInLevel, 2);
    ASSERT_TRUE(lost.has_value());
    ExpectNear(lost->m_extents, {0.0f, 0.0f, 0.0f});

    const auto& list = e.m_game.m_templates;
    const auto position = [&list](const std::string& name) {
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i]->m_name == name)
                return static_cast<int>(i);
        return -1;
    };
    const struct {
        const char* name;
        CVector3 extents;
    } cases[] = {
        {"lamp", {0.04f, 0.16f, 0.04f}},    // its own model3d=
        {"warden", {0.06f, 0.18f, 0.04f}},  // its own, not its base's
        {"_decor", {0.02f, 0.02f, 0.02f}},  // no model anywhere up the chain: the ghost cube
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto choice = ChooseTemplate(e.m_view, kPickToAdd, position(c.name));
        ASSERT_TRUE(choice.has_value());
        EXPECT_EQ(choice->m_name, c.name);
        ExpectNear(choice->m_extents, c.extents);
    }
    EXPECT_EQ(ChooseTemplate(e.m_view, kPickInLevel, 3), std::nullopt);
}

// The recording host answers the pickers from its scripts, records each call with its initial
// name and mode, and cancels once a script is used up; a host without pickers cancels.
TEST(Questions, HostPickersAreScriptedAndRecorded)
{
    CRecordingEngineHost host;
    host.m_materialChoices = {CMaterialChoice{2, "lava.mat", 32, 32, 1.0f, 1.0f}, std::nullopt};
    host.m_templateChoices = {CTemplateChoice{"crate", {0.1f, 0.1f, 0.1f}}};
    host.m_colorMapChoices = {std::string("warm.cmp")};
    host.m_soundChoices = {std::string("jump.wav")};

    EXPECT_EQ(host.PickMaterial("la", kPickInLevel)->m_index, 2);
    EXPECT_EQ(host.PickMaterial("", kPickInLevel), std::nullopt);
    EXPECT_EQ(host.PickMaterial("", kPickToAdd), std::nullopt);
    EXPECT_EQ(host.PickTemplate("cr", kPickToAdd)->m_name, "crate");
    EXPECT_EQ(host.PickTemplate("", kPickInLevel), std::nullopt);
    EXPECT_EQ(host.PickColorMap("", kPickInLevel), "warm.cmp");
    EXPECT_EQ(host.PickSound("j", kPickToAdd), "jump.wav");
    EXPECT_EQ(host.PickSound("", kPickToAdd), std::nullopt);
    using ECall = CRecordingEngineHost::ECall;
    EXPECT_EQ(host.Numbers(ECall::PickMaterial), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(host.Count(ECall::PickTemplate), 2u);
    EXPECT_EQ(host.m_calls.front().text, "la");

    class CSilentHost : public CRecordingEngineHost {
    public:
        std::optional<CMaterialChoice> PickMaterial(std::string_view initial, int mode) override
        {
            return CEngineHost::PickMaterial(initial, mode);
        }
    } silent;
    silent.m_materialChoices = {CMaterialChoice{}};
    EXPECT_EQ(silent.PickMaterial("", kPickInLevel), std::nullopt);
}

}  // namespace
