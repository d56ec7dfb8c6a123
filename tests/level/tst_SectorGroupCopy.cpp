#include "level/SectorGroupCopy.h"

#include "SyntheticGame.h"
#include "level/GameResources.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

const CQzlAdjoin& AdjoinOf(const CQzlSections& level, std::int32_t surface)
{
    return *level.m_adjoins[static_cast<std::size_t>(
        level.m_surfaces[static_cast<std::size_t>(surface)]->m_adjoin)];
}

// The level part written and read back, as a library file holds it.
CQzlSections ThroughBytes(CQzlSections& level)
{
    int version = 0;
    return ReadLevelBytes(WriteLevelBytes(level), version);
}

// The L corridor with a crate in each sector; sectors 0 and 1 form the group "Piece", sector 2
// stays in "Default". The portal 0-1 has different flags and dist on its two sides, and so has
// the portal 1-2 (surfaces 11 and 16).
CQzlSections MakePieceSource()
{
    CQzlSections level = MakeLCorridor();
    level.m_sectors[0]->m_groupName = "Piece";
    level.m_sectors[1]->m_groupName = "PIECE";
    const CVector3 middles[] = {{0.5f, 0.5f, 0.5f}, {1.5f, 0.5f, 0.5f}, {1.5f, 0.5f, 1.5f}};
    for (int s = 0; s < 3; ++s)
        AddCrate(level, s, middles[s]);
    level.m_things[1]->m_aiClass = "guard.ai";
    level.m_things[1]->m_frames.push_back({1.5f, 0.25f, 0.5f, {10.0f, 20.0f, 30.0f}});
    const float dists[] = {0.25f, 0.5f, 0.75f, 1.0f};
    for (std::size_t a = 0; a < 4; ++a) {
        level.m_adjoins[a]->m_flags = 0x10 + static_cast<std::uint32_t>(a);
        level.m_adjoins[a]->m_dist = dists[a];
    }
    return level;
}

// A box room (4, 0, 0) to (5, 1, 1), clear of where the piece lands.
CQzlSections MakeBoxRoomAside()
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {4, 0, 0}, {5, 1, 1});
    FinishFixture(level);
    return level;
}

}  // namespace

TEST(SectorGroupCopy, TwoJoinedSectorsIntoAnEmptyLevel)
{
    CQzlSections source = MakePieceSource();
    CQzlSections library;
    const CSectorGroupCopy result = CopySectorGroup(library, source, "piece", CGameResources());
    EXPECT_EQ(result.m_problem, "");
    EXPECT_EQ(result.m_sectors, 2);
    EXPECT_EQ(result.m_surfaces, 12);
    EXPECT_EQ(result.m_things, 2);
    EXPECT_EQ(result.m_adjoinPairs, 1);
    EXPECT_TRUE(LevelIsSound(library));

    ASSERT_EQ(library.m_sectors.size(), 2u);
    EXPECT_EQ(library.m_sectors[1]->m_number, 1);
    EXPECT_EQ(library.m_sectors[1]->m_groupName, "PIECE");
    EXPECT_EQ(library.m_colormaps, Strings{"dflt.cmp"});
    ASSERT_EQ(library.m_materials.size(), 1u);
    EXPECT_EQ(library.m_materials[0]->m_name, "dflt.mat");

    // One pair, each side with the flags and dist of its own source adjoin.
    ASSERT_EQ(library.m_adjoins.size(), 2u);
    const std::int32_t x0 = BoxSurface(library, 0, kBoxXHigh);
    const std::int32_t x1 = BoxSurface(library, 1, kBoxXLow);
    EXPECT_EQ(AdjoinOf(library, x0).m_flags, 0x10u);
    EXPECT_EQ(AdjoinOf(library, x0).m_dist, 0.25f);
    EXPECT_EQ(AdjoinOf(library, x1).m_flags, 0x11u);
    EXPECT_EQ(AdjoinOf(library, x1).m_dist, 0.5f);
    EXPECT_EQ(AdjoinOf(library, x0).m_otherSurface, x1);
    EXPECT_EQ(AdjoinOf(library, x1).m_otherSector, 0);
    // The wall that faced sector 2 lost its neighbour.
    EXPECT_EQ(
        library.m_surfaces[static_cast<std::size_t>(BoxSurface(library, 1, kBoxZHigh))]->m_adjoin,
        -1);

    // The two sectors share four corner positions, not world vertices: 8 each, 3 corners apiece.
    EXPECT_EQ(library.m_worldVertices.size(), 16u);
    EXPECT_EQ(library.m_useCounts, std::vector<std::int32_t>(16, 3));

    ASSERT_EQ(library.m_things.size(), 2u);
    const CQzlThing& guard = *library.m_things[1];
    EXPECT_EQ(guard.m_sector, 1);
    EXPECT_EQ(guard.m_aiClass, "guard.ai");
    EXPECT_EQ(guard.m_frames, source.m_things[1]->m_frames);
    EXPECT_EQ(guard.m_position.x, 1.5f);

    // The library written and read back gives the same piece again.
    CQzlSections saved = ThroughBytes(library);
    CQzlSections again;
    ASSERT_EQ(CopySectorGroup(again, saved, "PIECE", CGameResources()).m_problem, "");
    EXPECT_TRUE(LevelIsSound(again));
    EXPECT_EQ(WriteLevelBytes(again), WriteLevelBytes(library));
}

// The piece's sector 1 is joined to sector 2, which stays behind. Copied (from the level written
// and read back) into a level where a sector stands in sector 2's place, the piece is joined to it
// again. Where that sector's wall has one corner more (a corner on an edge), or the wall is
// already joined, or there is no such sector, the piece's wall stays unadjoined.
TEST(SectorGroupCopy, CopyJoinsTheSectorItTouches)
{
    CQzlSections source = MakePieceSource();
    CQzlSections saved = ThroughBytes(source);

    enum Outer {
        kSame,
        kExtraCorner,
        kTaken,
        kNone
    };
    struct Case {
        const char* name;
        Outer outer;
        bool joined;
    };
    const Case cases[] = {
        {"the outer sector in place", kSame, true},
        {"its wall with a corner on an edge", kExtraCorner, false},
        {"its wall already joined", kTaken, false},
        {"no outer sector", kNone, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeEmptyLevel();
        std::int32_t wall = -1;
        if (c.outer != kNone) {
            const int outer = AddBoxSector(level, {1, 0, 1}, {2, 1, 2});
            wall = BoxSurface(level, outer, kBoxZLow);
        }
        if (c.outer == kExtraCorner) {
            // The wall runs backwards round the piece's wall: after the corner where the piece's
            // wall begins comes the one where it ends. A corner between the two lies on that edge.
            const CQzlSurface& piece =
                *saved.m_surfaces[static_cast<std::size_t>(BoxSurface(saved, 1, kBoxZHigh))];
            const CWorldVertex& first = saved.m_worldVertices[static_cast<std::size_t>(
                piece.m_vertices.front().m_worldVertex)];
            const CWorldVertex& last = saved.m_worldVertices[static_cast<std::size_t>(
                piece.m_vertices.back().m_worldVertex)];
            auto& corners = level.m_surfaces[static_cast<std::size_t>(wall)]->m_vertices;
            std::size_t at = 0;
            while (level.m_worldVertices[static_cast<std::size_t>(corners[at].m_worldVertex)] !=
                   first)
                ++at;
            CQzlVertex middle;
            middle.m_worldVertex = level.AddVertexXYZ(
                (first.x + last.x) / 2, (first.y + last.y) / 2, (first.z + last.z) / 2);
            corners.insert(corners.begin() + static_cast<std::ptrdiff_t>(at + 1), middle);
        }
        if (c.outer == kTaken) {
            const int front = AddBoxSector(level, {1, 0, 0}, {2, 1, 1});
            JoinSurfaces(level, wall, BoxSurface(level, front, kBoxZHigh));
        }
        FinishFixture(level);
        ASSERT_TRUE(LevelIsSound(level));
        const std::size_t adjoins = level.m_adjoins.size();

        const CSectorGroupCopy result = CopySectorGroup(level, saved, "piece", CGameResources());
        EXPECT_EQ(result.m_problem, "");
        if (c.outer == kTaken)
            // The piece's second room lands on the room that took the wall, crate and all.
            EXPECT_TRUE(LevelIsSound(
                level, {"Object 1 resides in sector 1, but has Sector #3 as parameter"}));
        else
            EXPECT_TRUE(LevelIsSound(level));
        const auto first = static_cast<int>(level.m_sectors.size()) - 2;
        const std::int32_t face = BoxSurface(level, first + 1, kBoxZHigh);
        if (c.joined) {
            EXPECT_EQ(result.m_adjoinPairs, 2);
            EXPECT_EQ(AdjoinOf(level, face).m_otherSurface, wall);
            // The piece's side keeps its flags; the level's side takes those of the side that
            // stayed behind.
            EXPECT_EQ(AdjoinOf(level, face).m_flags, 0x12u);
            EXPECT_EQ(AdjoinOf(level, wall).m_flags, 0x13u);
            EXPECT_EQ(AdjoinOf(level, wall).m_dist, 1.0f);
        } else {
            EXPECT_EQ(result.m_adjoinPairs, 1);
            EXPECT_EQ(level.m_surfaces[static_cast<std::size_t>(face)]->m_adjoin, -1);
            EXPECT_EQ(level.m_adjoins.size(), adjoins + 2);
        }
    }
}

TEST(SectorGroupCopy, NamesAreFoundOrAppended)
{
    CQzlSections source = MakePieceSource();
    source.m_colormaps = {"dflt.cmp", "Warm.cmp"};
    source.m_sounds = {"hum.wav", "drip.wav"};
    source.m_sectors[0]->m_colormap = 1;
    source.m_sectors[0]->m_sound = 1;
    source.m_sectors[0]->m_soundVolume = 0.5f;
    auto brick = std::make_unique<CQzlMaterial>("brick.mat");
    brick->m_xTile = 2.0f;
    brick->m_yTile = 0.5f;
    source.m_materials.push_back(std::move(brick));
    source.m_materials.push_back(std::make_unique<CQzlMaterial>("Floor.mat"));
    source.m_surfaces[0]->m_material = 1;
    source.m_surfaces[1]->m_material = 2;

    CQzlSections level = MakeBoxRoomAside();
    level.m_sounds = {"DRIP.WAV"};
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("FLOOR.MAT"));
    ASSERT_EQ(CopySectorGroup(level, source, "piece", CGameResources()).m_problem, "");
    EXPECT_TRUE(LevelIsSound(level));

    EXPECT_EQ(level.m_colormaps, (Strings{"dflt.cmp", "Warm.cmp"}));
    EXPECT_EQ(level.m_sounds, Strings{"DRIP.WAV"});
    const CQzlSector& copy = *level.m_sectors[1];
    EXPECT_EQ(copy.m_colormap, 1);
    EXPECT_EQ(copy.m_sound, 0);
    EXPECT_EQ(copy.m_soundVolume, 0.5f);
    EXPECT_EQ(level.m_sectors[2]->m_sound, -1);
    ASSERT_EQ(level.m_materials.size(), 3u);
    EXPECT_EQ(level.m_materials[2]->m_name, "brick.mat");
    EXPECT_EQ(level.m_materials[2]->m_xTile, 2.0f);
    EXPECT_EQ(level.m_materials[2]->m_yTile, 0.5f);
    EXPECT_EQ(level.m_surfaces[static_cast<std::size_t>(copy.m_surfaces[0])]->m_material, 2);
    EXPECT_EQ(level.m_surfaces[static_cast<std::size_t>(copy.m_surfaces[1])]->m_material, 1);
    EXPECT_EQ(level.m_surfaces[static_cast<std::size_t>(copy.m_surfaces[2])]->m_material, 0);
}

// Cog values that name copied surfaces, sectors and things name their copies, other such values
// become -1; a cog that takes nothing over comes only when the level has none of its script. The
// scripts come from the source's files, the game, or the level's files.
TEST(SectorGroupCopy, CogValuesFollowTheCopies)
{
    const std::unique_ptr<CSyntheticGame> synthetic = MakeSyntheticGame(0);
    const CGameResources noGame;
    // door.cog (game): surface, sector, thing, sound, sound, float, flex.
    // lift.cog (the source's files): thing, sector.  gate.cog (the level's files): surface.
    // switch.cog (game): surface, material, material, template, cog, ...
    struct Case {
        const char* name;
        const CGameResources* game;
        const char* script;
        Strings values;
        bool levelHasScript;  // the level already has a cog of this script
        bool copied;
        Strings after;
        int unchecked = 0;
        const char* finding = nullptr;  // the checker's line for a copy made short on purpose
    };
    const CGameResources* game = &synthetic->m_resources;
    // Sources indices: surfaces 0-5 sector 0, 6-11 sector 1, 12-17 sector 2; things 0 to 2. The
    // level (a box room and a crate) gets sector 0 -> 1, 1 -> 2, surfaces +6, things +1.
    const Case cases[] = {
        {"all named",
         game,
         "door.cog",
         {"8", "1", "1", "dooropen.wav", "x", "2.5"},
         true,
         true,
         {"14", "2", "2", "dooropen.wav", "x", "2.5"}},
        {"one named, the rest outside",
         game,
         "door.cog",
         {"13", "0", "2"},
         true,
         true,
         {"-1", "1", "-1"}},
        {"fewer values than symbols",
         game,
         "DOOR.COG",
         {"3"},
         false,
         true,
         {"9"},
         0,
         "Cog door.cog contains too few parameters"},
        {"nothing named, level has one", game, "door.cog", {"13", "2", "-1"}, true, false, {}},
        {"nothing named, level has none",
         game,
         "door.cog",
         {"13", "2", "02"},
         false,
         true,
         {"-1", "-1", "-1"}},
        {"no record values",
         game,
         "switch.cog",
         {},
         false,
         true,
         {},
         0,
         "Cog switch.cog contains too few parameters"},
        {"script in the source's files", &noGame, "lift.cog", {"0", "1"}, true, true, {"1", "2"}},
        {"the game without its archive", &noGame, "door.cog", {"8", "1"}, false, false, {}, 1},
        {"script in the level's files", &noGame, "gate.cog", {"11", "4"}, true, true, {"17", "4"}},
        {"script found nowhere", game, "gone.cog", {"8"}, false, false, {}, 1},
        {"script found nowhere, no values", game, "gone.cog", {}, false, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections source = MakePieceSource();
        AddLevelFile(source, "LIFT.COG", "symbols\nthing car\nsector shaft\nend\n");
        AddCog(source, c.script, c.values);
        CQzlSections level = MakeBoxRoomAside();
        AddCrate(level, 0, {4.5f, 0.5f, 0.5f});
        AddLevelFile(level, "gate.cog", "symbols\nsurface gateface\nint code\nend\n");
        if (c.levelHasScript)  // with a value for each plain parameter of its script
            AddCog(level, c.script,
                   std::string_view(c.script) == "gate.cog" ? Strings{"0", "0"}
                                                            : Strings{"0", "0", "0"});
        const std::size_t cogs = level.m_cogs.size();

        const CSectorGroupCopy result = CopySectorGroup(level, source, "Piece", *c.game);
        EXPECT_EQ(result.m_problem, "");
        if (c.finding != nullptr)
            EXPECT_TRUE(LevelIsSound(level, {c.finding}));
        else
            EXPECT_TRUE(LevelIsSound(level));
        EXPECT_EQ(result.m_cogs, c.copied ? 1 : 0);
        ASSERT_EQ(level.m_cogs.size(), cogs + (c.copied ? 1 : 0));
        if (c.copied) {
            EXPECT_EQ(level.m_cogs.back()->m_script, c.script);
            EXPECT_EQ(level.m_cogs.back()->m_values, c.after);
        }
        EXPECT_EQ(result.m_uncheckedCogs, c.unchecked);
    }
}

// A cog value that names a cog follows that cog to its copy, or becomes -1 when it stayed behind.
TEST(SectorGroupCopy, CogValuesNamingCogsFollowThem)
{
    const std::unique_ptr<CSyntheticGame> synthetic = MakeSyntheticGame(0);
    CQzlSections source = MakePieceSource();
    // Cog 0 names cog 2, copied after it; cog 2 names cog 0; cog 3 names cog 1, which names
    // nothing of the piece and stays behind (the level has a door cog).
    AddCog(source, "switch.cog", {"6", "floor.mat", "red.mat", "+sparks", "2"});
    AddCog(source, "door.cog", {"13"});
    AddCog(source, "switch.cog", {"7", "floor.mat", "red.mat", "+sparks", "0"});
    AddCog(source, "switch.cog", {"8", "floor.mat", "red.mat", "+sparks", "1"});
    CQzlSections level = MakeBoxRoomAside();
    AddCog(level, "door.cog", {"0", "0", "-1"});

    ASSERT_EQ(CopySectorGroup(level, source, "piece", synthetic->m_resources).m_problem, "");
    EXPECT_TRUE(LevelIsSound(level));
    ASSERT_EQ(level.m_cogs.size(), 4u);
    EXPECT_EQ(level.m_cogs[1]->m_values, (Strings{"12", "floor.mat", "red.mat", "+sparks", "2"}));
    EXPECT_EQ(level.m_cogs[2]->m_values, (Strings{"13", "floor.mat", "red.mat", "+sparks", "1"}));
    EXPECT_EQ(level.m_cogs[3]->m_values, (Strings{"14", "floor.mat", "red.mat", "+sparks", "-1"}));
}

TEST(SectorGroupCopy, RefusesADamagedSourceAndItself)
{
    struct Case {
        const char* name;
        void (*damage)(CQzlSections&);
        const char* problem;
    };
    const Case cases[] = {
        {"a corner outside the vertices",
         [](CQzlSections& l) { l.m_surfaces[7]->m_vertices[2].m_worldVertex = 99; },
         "The level to copy from is damaged: surface 7: world vertex 99 is out of range (16 in "
         "the level)."},
        {"a mirror that does not point back", [](CQzlSections& l) { l.m_adjoins[1]->m_mirror = 2; },
         "The level to copy from is damaged: adjoin 0: its mirror 1 points to 2 instead of back."},
        {"a colour map outside the list", [](CQzlSections& l) { l.m_sectors[1]->m_colormap = 4; },
         "The level to copy from is damaged: sector 1: colormap 4 is out of range (1 in the "
         "level)."},
        {"a thing outside the sectors", [](CQzlSections& l) { l.m_things[0]->m_sector = 3; },
         "The level to copy from is damaged: thing 0: sector 3 is out of range (3 in the level)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections source = MakePieceSource();
        c.damage(source);
        CQzlSections level = MakeBoxRoom();
        const Bytes before = WriteLevelBytes(level);
        const CSectorGroupCopy result = CopySectorGroup(level, source, "Piece", CGameResources());
        EXPECT_EQ(result.m_problem, c.problem);
        EXPECT_EQ(result.m_sectors, 0);
        EXPECT_EQ(WriteLevelBytes(level), before);
    }

    CQzlSections level = MakePieceSource();
    const Bytes before = WriteLevelBytes(level);
    EXPECT_EQ(CopySectorGroup(level, level, "Piece", CGameResources()).m_problem,
              "A sector group cannot be copied into the level it comes from.");
    EXPECT_EQ(WriteLevelBytes(level), before);
}

TEST(SectorGroupCopy, GroupsThatMatchNothingOrTheEmptyName)
{
    CQzlSections source = MakePieceSource();
    source.m_sectors[2]->m_groupName = "";
    CQzlSections level = MakeBoxRoom();

    CSectorGroupCopy result = CopySectorGroup(level, source, "Pieces", CGameResources());
    EXPECT_EQ(result.m_sectors, 0);
    EXPECT_EQ(level.m_sectors.size(), 1u);
    EXPECT_TRUE(LevelIsSound(level));

    result = CopySectorGroup(level, source, "", CGameResources());
    EXPECT_EQ(result.m_sectors, 1);
    EXPECT_EQ(result.m_things, 1);
    EXPECT_EQ(level.m_things.back()->m_sector, 1);
    EXPECT_TRUE(LevelIsSound(level));
}
