// qzbench apply runs the surface effects and the conveyor belt from a script: with the game given
// (game=) water gives both sides of the adjoin its material and makes the room behind underwater;
// without it the missing texture is named and nothing is written; the conveyor needs no game.

#include "SyntheticGame.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "level/QzlCog.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

TEST(QzbenchApplySurfaceEffects, WaterWithTheGameAndConveyorWithout)
{
    const CTempFolder temp("qz_apply_surface_effects");
    const CQzlSections rooms = MakeTwoJoinedRooms();
    const int front = BoxSurface(rooms, 0, kBoxXHigh);
    const int back = BoxSurface(rooms, 1, kBoxXLow);
    {
        CQzlSections level = MakeTwoJoinedRooms();
        SaveQzeFile(temp / "in.qze", level, CDocumentFields{});
    }
    BuildSyntheticGame(temp / "game");
    const std::string water = "create-water sector=0 surface=" + std::to_string(front);

    int status = -1;
    std::string output =
        RunQzbenchApply(temp / "in.qze", temp / "none.qze", water + " answer=yes", status);
    EXPECT_EQ(status, 2) << output;
    EXPECT_NE(output.find("Cannot find the texture 00fwater.mat."), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(temp / "none.qze"));

    output = RunQzbenchApply(temp / "in.qze", temp / "water.qze",
                             water + " answer=yes game='" + (temp / "game").string() + "'", status);
    ASSERT_EQ(status, 0) << output;
    const CQzlSections wet = std::move(LoadLevelFile(temp / "water.qze", 0).m_contents.m_level);
    EXPECT_TRUE(LevelIsSound(wet));
    for (const int s : {front, back}) {
        const CQzlSurface& surface = *wet.m_surfaces[static_cast<std::size_t>(s)];
        ASSERT_GE(surface.m_material, 0);
        EXPECT_EQ(wet.m_materials[static_cast<std::size_t>(surface.m_material)]->m_name,
                  "00fwater.mat");
        EXPECT_EQ(surface.m_surfaceFlags, 0x20006U);
    }
    EXPECT_EQ(wet.m_sectors[1]->m_flags, 0x1006U);
    ASSERT_GE(wet.m_sectors[1]->m_sound, 0);
    EXPECT_EQ(wet.m_sounds[static_cast<std::size_t>(wet.m_sectors[1]->m_sound)],
              "00underwater.wav");

    output = RunQzbenchApply(temp / "in.qze", temp / "belt.qze",
                             "create-conveyor-belt answer=yes sector=0 surface=0 node=0,0,0 "
                             "node=0,0,1",
                             status);
    ASSERT_EQ(status, 0) << output;
    const CQzlSections belt = std::move(LoadLevelFile(temp / "belt.qze", 0).m_contents.m_level);
    ASSERT_EQ(belt.m_cogs.size(), 1U);
    EXPECT_EQ(belt.m_cogs[0]->m_script, "00_conveyor.cog");
    ASSERT_FALSE(belt.m_cogs[0]->m_values.empty());
    EXPECT_EQ(belt.m_cogs[0]->m_values[0], "(0.0/1.0/0.0)");
}
