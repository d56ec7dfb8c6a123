// The four surface effects on two joined rooms with the synthetic game: both sides of the adjoin
// take the effect's values (assigned, not combined), the material is appended once at the end,
// water makes the room behind underwater with its sound listed once, the cog effects add their
// cogs and list their scripts once. A missing texture is reported with the level left as it was.
// The commands ask their question while "Warning" is on; No leaves no undo step.

#include "tools/SpecialSurfaces.h"

#include "SyntheticGame.h"
#include "engine/Undo.h"
#include "level/QzeFile.h"
#include "level/QzlCog.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using Values = std::vector<std::string>;

// Two joined rooms with the synthetic game; sector 0's portal x = 1 current. Both portals and
// the room behind carry values of their own first, so that assigning is told from combining.
struct CEffectRooms {
    CEffectRooms()
        : m_synthetic(MakeSyntheticGame(0)), m_engine(MakeTwoJoinedRooms()),
          m_front(BoxSurface(m_engine.m_level, 0, kBoxXHigh)),
          m_back(BoxSurface(m_engine.m_level, 1, kBoxXLow))
    {
        m_engine.m_game = std::move(m_synthetic->m_resources);
        for (const int s : {m_front, m_back}) {
            Surface(s).m_surfaceFlags = 0x40001;
            Surface(s).m_faceFlags = 0x8;
            Surface(s).m_extraLight = 0.5f;
        }
        m_engine.m_level.m_sectors[1]->m_flags = 0x8;
        Select();
    }

    void Select()
    {
        m_engine.m_view.m_selection.m_sector = 0;
        m_engine.m_view.m_selection.m_surface = m_front;
    }

    CQzlSurface& Surface(int s)
    {
        return *m_engine.m_level.m_surfaces[static_cast<std::size_t>(s)];
    }
    std::uint32_t AdjoinFlags(int s)
    {
        return m_engine.m_level.m_adjoins[static_cast<std::size_t>(Surface(s).m_adjoin)]->m_flags;
    }
    std::vector<Values> CogValues(const std::string& script)
    {
        std::vector<Values> values;
        for (const auto& cog : m_engine.m_level.m_cogs) {
            EXPECT_EQ(cog->m_script, script);
            values.push_back(cog->m_values);
        }
        return values;
    }

    std::unique_ptr<CSyntheticGame> m_synthetic;
    CFixtureEngine m_engine;
    int m_front;
    int m_back;
};

void RemoveGameMaterial(CGameResources& game, const std::string& name)
{
    auto& entries = game.m_treeMaterials.m_entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&name](const auto& e) { return e->m_name == name; }),
                  entries.end());
}

struct SEffectCase {
    const char* name;
    bool (*build)(C3dView&);
    const CSurfaceEffect& effect;
    float width, height;  // of the material's texture
};

const SEffectCase kCases[] = {
    {"water", CreateWater, kWaterEffect, 64, 64},
    {"force field", CreateForceField, kForceFieldEffect, 32, 64},
    {"breaking glass", CreateBreakingGlass, kBreakingGlassEffect, 64, 32},
    {"slashable grate", CreateSlashableGrate, kSlashableGrateEffect, 32, 32},
};

}  // namespace

TEST(SurfaceEffects, EachEffectGivesBothSidesItsValues)
{
    for (const SEffectCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CEffectRooms fresh;
        CQzlSections& level = fresh.m_engine.m_level;
        ASSERT_TRUE(UndoGivesBackExactBytes(fresh.m_engine.m_view,
                                            [&] { return c.build(fresh.m_engine.m_view); }));
        EXPECT_TRUE(LevelIsSound(level));
        EXPECT_TRUE(fresh.m_engine.m_host.Messages().empty());
        // The material is appended once, at the end, and both sides use it.
        ASSERT_EQ(level.m_materials.size(), 2U);
        EXPECT_EQ(level.m_materials[1]->m_name, c.effect.m_material);
        for (const int s : {fresh.m_front, fresh.m_back}) {
            const CQzlSurface& surface = fresh.Surface(s);
            EXPECT_EQ(surface.m_material, 1);
            EXPECT_EQ(surface.m_surfaceFlags, c.effect.m_surfaceFlags);
            EXPECT_EQ(surface.m_faceFlags, c.effect.m_faceFlags);
            EXPECT_EQ(surface.m_geo, 4);
            EXPECT_EQ(surface.m_light, 3);
            EXPECT_EQ(surface.m_tex, 1);
            EXPECT_EQ(surface.m_extraLight, 0.0f);
            EXPECT_EQ(fresh.AdjoinFlags(s), c.effect.m_adjoinFlags);
            ASSERT_NE(surface.m_texture, nullptr);
            EXPECT_EQ(surface.m_textureWidth, c.width);
            EXPECT_EQ(surface.m_textureHeight, c.height);
        }
        EXPECT_EQ(fresh.m_engine.m_view.m_selection.m_sector, 0);
        EXPECT_EQ(fresh.m_engine.m_view.m_selection.m_surface, fresh.m_front);

        const CQzlSector& behind = *level.m_sectors[1];
        const std::string front = std::to_string(fresh.m_front);
        const std::string back = std::to_string(fresh.m_back);
        switch (c.effect.m_kind) {
        case ESurfaceEffectKind::Water:
            EXPECT_EQ(behind.m_flags, 0x1006U);
            ASSERT_GE(behind.m_sound, 0);
            EXPECT_EQ(level.m_sounds[static_cast<std::size_t>(behind.m_sound)], "00underwater.wav");
            EXPECT_EQ(behind.m_soundVolume, 3.0f);
            EXPECT_TRUE(level.m_cogs.empty());
            break;
        case ESurfaceEffectKind::TwoCogs:
            EXPECT_EQ(behind.m_flags, 0x8U);
            EXPECT_EQ(fresh.CogValues(c.effect.m_script), (std::vector<Values>{{front}, {back}}));
            break;
        case ESurfaceEffectKind::OneCogBoth:
            EXPECT_EQ(behind.m_flags, 0x8U);
            EXPECT_EQ(fresh.CogValues(c.effect.m_script), (std::vector<Values>{{front, back}}));
            break;
        }
        if (c.effect.m_script != nullptr) {
            EXPECT_EQ(level.m_cogScripts, Values{c.effect.m_script});
        }
    }
}

TEST(SurfaceEffects, RepeatingAnEffectListsItsNamesOnce)
{
    CEffectRooms rooms;
    CQzlSections& level = rooms.m_engine.m_level;
    level.m_sounds = {"drip.wav", "00UNDERWATER.WAV"};
    for (int i = 0; i < 2; ++i) {
        for (bool (*build)(C3dView&) : {CreateWater, CreateForceField, CreateBreakingGlass}) {
            rooms.Select();
            ASSERT_TRUE(build(rooms.m_engine.m_view));
        }
    }
    EXPECT_TRUE(LevelIsSound(level));
    EXPECT_EQ(level.m_sounds, (Values{"drip.wav", "00UNDERWATER.WAV"}));
    EXPECT_EQ(level.m_sectors[1]->m_sound, 1);
    std::vector<std::string> materials;
    for (const auto& material : level.m_materials)
        materials.push_back(material->m_name);
    EXPECT_EQ(materials, (Values{"dflt.mat", "00fwater.mat", "00wwarny.mat", "00wglas1.mat"}));
    EXPECT_EQ(level.m_cogs.size(), 6U);
    EXPECT_EQ(level.m_cogScripts, (Values{"00_forcefield.cog", "00_breakingglass.cog"}));
}

TEST(SurfaceEffects, AMissingTextureIsReportedAndChangesNothing)
{
    struct SCase {
        const char* name;
        bool withArchive;
    } const cases[] = {{"no game archive", false}, {"material not in the game", true}};
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        CEffectRooms fresh;
        CGameResources& game = fresh.m_engine.m_game;
        if (!c.withArchive)
            game.m_archive = nullptr;
        RemoveGameMaterial(game, "08tgrate.mat");
        CQzlSections& level = fresh.m_engine.m_level;
        const std::vector<std::uint8_t> before = WriteLevelBytes(level);
        EXPECT_FALSE(RunCreateSlashableGrateCommand(fresh.m_engine.m_view));
        EXPECT_EQ(WriteLevelBytes(level), before);
        EXPECT_FALSE(CanUndo(fresh.m_engine.m_view));
        EXPECT_EQ(fresh.m_engine.m_host.Messages(),
                  Values{"Cannot find the texture 08tgrate.mat."});
    }

    // The level's own copy of the material serves when the game lacks it.
    CEffectRooms own;
    RemoveGameMaterial(own.m_engine.m_game, "08tgrate.mat");
    const std::vector<std::uint8_t> mat = MakeSyntheticMat(16, 8, 1, 2);
    AddLevelFile(own.m_engine.m_level, "08tgrate.mat", std::string(mat.begin(), mat.end()));
    EXPECT_TRUE(CreateSlashableGrate(own.m_engine.m_view));
    EXPECT_EQ(own.Surface(own.m_front).m_textureWidth, 16.0f);
}

TEST(SurfaceEffects, WithoutASurfaceBehindOnlyTheCurrentSideChanges)
{
    // The adjoin names no mirror: no surface without an adjoin may be taken for the other side.
    CEffectRooms rooms;
    CQzlSections& level = rooms.m_engine.m_level;
    level.m_adjoins[static_cast<std::size_t>(rooms.Surface(rooms.m_front).m_adjoin)]->m_mirror = -1;
    ASSERT_TRUE(CreateBreakingGlass(rooms.m_engine.m_view));
    EXPECT_EQ(rooms.Surface(rooms.m_front).m_surfaceFlags, 0x6U);
    EXPECT_EQ(rooms.Surface(rooms.m_back).m_surfaceFlags, 0x40001U);
    for (const auto& surface : level.m_surfaces) {
        if (surface->m_adjoin < 0) {
            EXPECT_NE(surface->m_surfaceFlags, 0x6U);
        }
    }
    EXPECT_TRUE(level.m_cogs.empty());
    EXPECT_TRUE(level.m_cogScripts.empty());
}

TEST(SurfaceEffects, TheCommandsAskWhileWarningIsOn)
{
    struct SCase {
        const char* question;
        bool (*run)(C3dView&);
    } const cases[] = {
        {"Do you want to create a water sector?", RunCreateWaterCommand},
        {"Do you want to create a Force Field?", RunCreateForceFieldCommand},
        {"Do you want to create a Breaking Glass?", RunCreateBreakingGlassCommand},
        {"Do you want to create a Slashable Grate?", RunCreateSlashableGrateCommand},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.question);
        CEffectRooms fresh;
        C3dView& view = fresh.m_engine.m_view;
        const std::vector<std::uint8_t> before = WriteLevelBytes(fresh.m_engine.m_level);
        fresh.m_engine.m_host.ScriptAnswers({false});
        EXPECT_FALSE(c.run(view));
        EXPECT_EQ(fresh.m_engine.m_host.Questions(), Values{c.question});
        EXPECT_EQ(WriteLevelBytes(fresh.m_engine.m_level), before);
        EXPECT_FALSE(CanUndo(view));

        fresh.m_engine.m_host.Clear();
        EXPECT_TRUE(c.run(view));  // Yes
        EXPECT_TRUE(CanUndo(view));

        fresh.m_engine.m_host.Clear();
        fresh.m_engine.m_settings.m_warning = 0;
        fresh.Select();
        EXPECT_TRUE(c.run(view));
        EXPECT_TRUE(fresh.m_engine.m_host.Questions().empty());
        EXPECT_TRUE(LevelIsSound(fresh.m_engine.m_level));
    }
}
