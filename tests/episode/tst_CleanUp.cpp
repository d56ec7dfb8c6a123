// Clean Up's repairs: repeated corners and the cascade they start (surface, then sector), one
// adjoin pair per link, things placed by containment (none skipped), empty sound names, the cogs'
// surplus values, and every damaged level repaired so that the checker finds nothing fatal. Each
// clean-up runs inside an undo step that gives back the exact bytes.

#include "SyntheticGame.h"
#include "engine/RenderData.h"
#include "episode/CleanUp.h"
#include "episode/LevelChecker.h"
#include "level/LevelValidator.h"
#include "level/QzeFile.h"
#include "level/VertexUses.h"
#include "support/DamagedLevels.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

// A tetrahedron sector next to whatever level holds, away from the fixture rooms.
int AddTetrahedron(CQzlSections& level)
{
    const int sector = AddEmptySector(level);
    const CVector3 p0{3, 0, 0};
    const CVector3 p1{4, 0, 0};
    const CVector3 p2{3, 0, 1};
    const CVector3 p3{3, 1, 0};
    const CVector3 inside{3.25f, 0.25f, 0.25f};
    AddFacingSurface(level, sector, inside, {p0, p1, p2});
    AddFacingSurface(level, sector, inside, {p0, p1, p3});
    AddFacingSurface(level, sector, inside, {p0, p2, p3});
    AddFacingSurface(level, sector, inside, {p1, p2, p3});
    return sector;
}

// The number of corners naming each world vertex.
std::vector<std::int32_t> CornerCounts(const CQzlSections& level)
{
    std::vector<std::int32_t> counts(level.m_worldVertices.size(), 0);
    for (const auto& surface : level.m_surfaces)
        for (const CQzlVertex& corner : surface->m_vertices)
            ++counts.at(static_cast<std::size_t>(corner.m_worldVertex));
    return counts;
}

class CleanUpTest : public ::testing::Test {
protected:
    // An engine over level, with the synthetic game unless withGame is false.
    C3dView& Open(CQzlSections level, bool withGame = true)
    {
        m_engine.reset();
        m_synthetic = MakeSyntheticGame(0);
        m_engine = std::make_unique<CFixtureEngine>(std::move(level));
        if (withGame)
            m_engine->m_game = std::move(m_synthetic->m_resources);
        return m_engine->m_view;
    }
    CQzlSections& Level() { return m_engine->m_level; }

    // Clean Up as the editor runs it (inside an undo step); checks that undo and redo give back
    // the exact bytes. The level afterwards is the cleaned one.
    void CleanUp()
    {
        bool changed = false;
        EXPECT_TRUE(UndoGivesBackExactBytes(m_engine->m_view, [&] {
            changed = CleanUpLevel(m_engine->m_view);
            // As Clean Up leaves them, before any rebuild counts them again.
            EXPECT_EQ(Level().m_useCounts, CornerCounts(Level()));
            return changed;
        }));
        EXPECT_TRUE(changed);
    }

    // The checker's result on the level, with the report in text.
    int Check(std::string& text)
    {
        CLevelChecker checker;
        return checker.CheckLevel(Level(), m_engine->m_game, {}, text);
    }

    // The engine's game: its archives outlive the engine.
    std::unique_ptr<CSyntheticGame> m_synthetic;
    std::unique_ptr<CFixtureEngine> m_engine;
};

// A box room with a tetrahedron whose first surface has a repeated corner: the corner goes; a
// triangle left with two corners goes with its sector.
TEST_F(CleanUpTest, RepeatedCornersGoAndTakeSurfaceAndSectorWithThem)
{
    struct Case {
        const char* name;
        void (*damage)(CQzlSections& level, CQzlSurface& triangle);
        std::size_t sectors;  // after Clean Up
        std::size_t corners;  // of the triangle, when its sector stays
    };
    const Case cases[] = {
        {"corner 3 repeats corner 1's world vertex",
         [](CQzlSections&, CQzlSurface& f) { f.m_vertices.push_back(f.m_vertices[1]); }, 2, 3},
        {"corner 3 is at exactly corner 1's position",
         [](CQzlSections& l, CQzlSurface& f) {
             l.m_worldVertices.push_back(
                 l.m_worldVertices[static_cast<std::size_t>(f.m_vertices[1].m_worldVertex)]);
             CQzlVertex corner = f.m_vertices[1];
             corner.m_worldVertex = static_cast<std::int32_t>(l.m_worldVertices.size()) - 1;
             f.m_vertices.push_back(corner);
         },
         2, 3},
        {"a triangle whose corner 2 repeats corner 0",
         [](CQzlSections&, CQzlSurface& f) { f.m_vertices[2] = f.m_vertices[0]; }, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeBoxRoom();
        const int tetra = AddTetrahedron(level);
        FinishFixture(level);
        const std::int32_t f = level.m_sectors[static_cast<std::size_t>(tetra)]->m_surfaces[0];
        CQzlSurface& triangle = *level.m_surfaces[static_cast<std::size_t>(f)];
        const std::vector<CQzlVertex> corners = triangle.m_vertices;
        const std::size_t worldVertices = level.m_worldVertices.size();
        c.damage(level, triangle);
        CountVertexUses(level);
        Open(std::move(level));

        CleanUp();
        EXPECT_EQ(Level().m_sectors.size(), c.sectors);
        EXPECT_TRUE(LevelIsSound(Level()));  // use counts among the rules
        if (c.sectors == 2) {
            const std::vector<CQzlVertex>& now =
                Level().m_surfaces[static_cast<std::size_t>(f)]->m_vertices;
            ASSERT_EQ(now.size(), c.corners);
            for (std::size_t i = 0; i < now.size(); ++i)
                EXPECT_EQ(now[i].m_worldVertex, corners[i].m_worldVertex);
            EXPECT_EQ(Level().m_worldVertices.size(), worldVertices);
        } else {
            EXPECT_EQ(Level().m_surfaces.size(), 6u);
            EXPECT_EQ(Level().m_worldVertices.size(), 8u);
        }
    }
}

// A portal left with two corners is unlinked before it goes: its twin becomes a solid wall and
// the adjoin pair leaves the list.
TEST_F(CleanUpTest, AnAdjoinedSurfaceLeftWithTwoCornersIsUnlinkedFirst)
{
    CQzlSections level = MakeTwoJoinedRooms();
    const int portal = BoxSurface(level, 0, kBoxXHigh);
    const int twin = BoxSurface(level, 1, kBoxXLow);
    std::vector<CQzlVertex>& corners =
        level.m_surfaces[static_cast<std::size_t>(portal)]->m_vertices;
    corners[2] = corners[0];
    corners[3] = corners[1];
    CountVertexUses(level);
    Open(std::move(level));
    CleanUp();
    EXPECT_EQ(Level().m_surfaces.size(), 11u);
    EXPECT_TRUE(Level().m_adjoins.empty());
    const CQzlSurface& wall = *Level().m_surfaces[static_cast<std::size_t>(twin - 1)];
    EXPECT_EQ(wall.m_adjoin, -1);
    EXPECT_EQ(wall.m_material, 0);
    EXPECT_EQ(wall.m_geo, 4);
    std::string text;
    EXPECT_EQ(Check(text), 0) << text;
}

// Sound levels stay byte for byte as they are, and Clean Up says it changed nothing.
TEST_F(CleanUpTest, SoundLevelsStayByteEqual)
{
    struct Case {
        const char* name;
        CQzlSections (*make)();
    };
    const Case cases[] = {
        {"box room", MakeBoxRoom},
        {"two joined rooms", MakeTwoJoinedRooms},
        {"L corridor", MakeLCorridor},
        {"room above room", MakeRoomAboveRoom},
        {"hexagonal room", MakeHexRoom},
        {"sloped ceiling", MakeSlopedCeilingRoom},
        {"crates, a sound and a cog", MakeUndamagedLevel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        C3dView& view = Open(c.make());
        RebuildAll(view, false);
        const std::vector<std::uint8_t> before = WriteLevelBytes(Level());
        EXPECT_FALSE(CleanUpLevel(view));
        EXPECT_EQ(WriteLevelBytes(Level()), before);
        EXPECT_TRUE(LevelIsSound(Level()));
    }
}

// The adjoin list is rebuilt with one pair per valid link: records no surface owns, or whose
// mirror is owned by the surface itself, go.
TEST_F(CleanUpTest, AdjoinRebuildMakesOnePairPerLink)
{
    struct Case {
        const char* name;
        CQzlSections (*make)();
        void (*damage)(CQzlSections& level);
        std::size_t links;  // after Clean Up
    };
    const Case cases[] = {
        {"two rooms with a record nobody owns", MakeTwoJoinedRooms,
         [](CQzlSections& l) {
             l.m_adjoins.push_back(std::make_unique<CQzlAdjoin>());
             l.m_adjoins.back()->m_mirror = 0;
         },
         1},
        {"three rooms with a pair nobody owns in the middle", MakeLCorridor,
         [](CQzlSections& l) {
             // Records 0, 1 | 2, 3 (orphans) | 4, 5: the second link's surfaces move to 4, 5.
             for (int k = 0; k < 2; ++k) {
                 auto copy = std::make_unique<CQzlAdjoin>(*l.m_adjoins[2 + k]);
                 l.m_adjoins.push_back(std::move(copy));
             }
             l.m_adjoins[4]->m_mirror = 5;
             l.m_adjoins[5]->m_mirror = 4;
             for (const auto& f : l.m_surfaces)
                 if (f->m_adjoin == 2 || f->m_adjoin == 3)
                     f->m_adjoin += 2;
         },
         2},
        {"a surface whose adjoin is its own mirror", MakeTwoJoinedRooms,
         [](CQzlSections& l) { l.m_adjoins[0]->m_mirror = 0; }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = c.make();
        c.damage(level);
        Open(std::move(level));
        CleanUp();
        ASSERT_EQ(Level().m_adjoins.size(), 2 * c.links);
        std::size_t owned = 0;
        for (const auto& f : Level().m_surfaces)
            owned += f->m_adjoin >= 0 ? 1 : 0;
        EXPECT_EQ(owned, 2 * c.links);
        std::string text;
        EXPECT_EQ(Check(text), 0) << text;
        if (c.links > 0) {
            EXPECT_TRUE(LevelIsSound(Level()));
        }
    }
}

// Every thing takes the first sector that holds it; things in no sector go, also two in a row.
TEST_F(CleanUpTest, ThingsTakeTheirSectorAndThoseInNoSectorGo)
{
    CQzlSections level = MakeTwoJoinedRooms();
    AddCrate(level, 0, {0.5f, 0.5f, 0.5f});
    AddCrate(level, 0, {5.0f, 5.0f, 5.0f});  // in no sector, twice in a row
    AddCrate(level, 1, {-3.0f, 0.5f, 0.5f});
    AddCrate(level, 0, {1.5f, 0.5f, 0.5f});  // in sector 1
    AddCrate(level, 0, {9.0f, 0.5f, 0.5f});  // in no sector, last
    AddCrate(level, 1, {1.0f, 0.5f, 0.5f});  // on the portal between the rooms: keeps sector 1
    FinishFixture(level);
    Open(std::move(level));
    CleanUp();
    ASSERT_EQ(Level().m_things.size(), 3u);
    EXPECT_EQ(Level().m_things[2]->m_sector, 1);
    EXPECT_EQ(Level().m_things[0]->m_position, (CVector3{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(Level().m_things[0]->m_sector, 0);
    EXPECT_EQ(Level().m_things[1]->m_position, (CVector3{1.5f, 0.5f, 0.5f}));
    EXPECT_EQ(Level().m_things[1]->m_sector, 1);
    EXPECT_TRUE(LevelIsSound(Level()));
}

// Empty sound names go from the last to the first: their sectors go without a sound (volume 0),
// sectors on later names follow them down.
TEST_F(CleanUpTest, EmptySoundNamesGoAndSectorsAreRenumbered)
{
    CQzlSections level = MakeEmptyLevel();
    for (int s = 0; s < 4; ++s)
        AddBoxSector(level, {2.0f * static_cast<float>(s), 0, 0},
                     {2.0f * static_cast<float>(s) + 1, 1, 1});
    FinishFixture(level);
    level.m_sounds = {"a.wav", "", "b.wav", ""};
    const std::int32_t sounds[] = {2, 1, 3, 0};
    for (std::size_t s = 0; s < 4; ++s) {
        level.m_sectors[s]->m_sound = sounds[s];
        level.m_sectors[s]->m_soundVolume = 0.5f;
    }
    Open(std::move(level));
    CleanUp();
    EXPECT_EQ(Level().m_sounds, (std::vector<std::string>{"a.wav", "b.wav"}));
    const std::int32_t expected[] = {1, -1, -1, 0};
    const float volumes[] = {0.5f, 0.0f, 0.0f, 0.5f};
    for (std::size_t s = 0; s < 4; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(Level().m_sectors[s]->m_sound, expected[s]);
        EXPECT_EQ(Level().m_sectors[s]->m_soundVolume, volumes[s]);
    }
    std::string text;
    EXPECT_EQ(Check(text), 0) << text;
}

// A cog with more values than its script has parameters loses the surplus.
TEST_F(CleanUpTest, CogSurplusValuesAreCut)
{
    CQzlSections level = MakeUndamagedLevel();
    const std::vector<std::string> values = level.m_cogs[0]->m_values;
    level.m_cogs[0]->m_values.push_back("7");
    level.m_cogs[0]->m_values.push_back("8");
    Open(std::move(level));
    CleanUp();
    EXPECT_EQ(Level().m_cogs[0]->m_values, values);
    std::string text;
    Check(text);
    EXPECT_EQ(text, "None");
}

// Every shared damaged level the loaders open is repaired: the checker finds nothing fatal
// afterwards and the oracle passes (a wall whose link was illegal stays, as a solid wall). A thing
// naming a sector that does not exist is placed already by the editor's opening of the level:
// Clean Up then finds nothing to do.
TEST_F(CleanUpTest, EveryDamagedLevelIsRepaired)
{
    for (const CDamagedLevel& damage : DamagedLevels()) {
        if (!damage.m_opens)
            continue;
        SCOPED_TRACE(damage.m_name);
        const std::string name = damage.m_name;
        const bool changes = name != "thing-sector-beyond" && name != "thing-sector-negative";
        C3dView& view = Open(MakeDamagedLevel(damage));
        if (changes) {
            CleanUp();
        } else {
            RebuildAll(view, false);
            const std::vector<std::uint8_t> before = WriteLevelBytes(Level());
            EXPECT_FALSE(CleanUpLevel(view));
            EXPECT_EQ(WriteLevelBytes(Level()), before);
        }
        std::string text;
        EXPECT_EQ(Check(text), 0) << text;
        EXPECT_EQ(Level().m_surfaces.size(), 12u);
        EXPECT_TRUE(LevelIsSound(Level()));
    }
}

// A wall whose link is illegal is repaired as any other once its link is gone: a repeated corner
// goes, and a wall left with two corners goes with it. A wall drawn with a material of its own
// keeps its look; a bare one, or one not drawn (geometry mode 0), takes the solid look.
TEST_F(CleanUpTest, AWallWithAnIllegalLinkIsRepairedAsAnyOther)
{
    struct Case {
        const char* name;
        void (*change)(CQzlSurface& wall);
        std::size_t corners;  // of the wall afterwards; 0: the wall is gone
        bool solidLook;
    };
    const Case cases[] = {
        {"repeated corner",
         [](CQzlSurface& wall) { wall.m_vertices.push_back(wall.m_vertices[1]); }, 4, true},
        {"two corners", [](CQzlSurface& wall) { wall.m_vertices.resize(2); }, 0, true},
        {"drawn with a material",
         [](CQzlSurface& wall) {
             wall.m_material = 0;
             wall.m_geo = 4;
             wall.m_light = 0;
         },
         4, false},
        {"a material, not drawn", [](CQzlSurface& wall) { wall.m_material = 0; }, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level = MakeUndamagedLevel();
        const int f = BoxSurface(level, 0, kBoxXHigh);
        level
            .m_adjoins[static_cast<std::size_t>(
                level.m_surfaces[static_cast<std::size_t>(f)]->m_adjoin)]
            ->m_mirror = -1;
        c.change(*level.m_surfaces[static_cast<std::size_t>(f)]);
        const std::size_t surfaces = level.m_surfaces.size();
        Open(std::move(level));
        CleanUp();
        std::string text;
        EXPECT_EQ(Check(text), 0) << text;
        EXPECT_TRUE(Level().m_adjoins.empty());
        if (c.corners == 0) {
            EXPECT_EQ(Level().m_surfaces.size(), surfaces - 1);
            continue;
        }
        EXPECT_TRUE(LevelIsSound(Level()));
        const CQzlSurface& wall = *Level().m_surfaces[static_cast<std::size_t>(f)];
        EXPECT_EQ(wall.m_vertices.size(), c.corners);
        EXPECT_EQ(wall.m_light, c.solidLook ? 3 : 0);
        EXPECT_EQ(wall.m_geo, 4);
    }
}

// The damage the loaders refuse never reaches the editor, but Clean Up on such a level in memory
// reads nothing outside a list and leaves every index naming an entry.
TEST_F(CleanUpTest, DamageTheLoadersRefuseIsDroppedSafely)
{
    for (const CDamagedLevel& damage : DamagedLevels()) {
        if (damage.m_opens)
            continue;
        SCOPED_TRACE(damage.m_name);
        C3dView& view = Open(MakeDamagedLevel(damage));
        EXPECT_TRUE(CleanUpLevel(view));
        EXPECT_TRUE(ValidateLevel(Level()).empty());
        std::string text;
        Check(text);
        EXPECT_EQ(text.find("illegal world vertex"), std::string::npos) << text;
        EXPECT_EQ(text.find("does not exist"), std::string::npos) << text;
    }
}

// An illegal link goes and its wall stays, as a solid wall with the default material, with or
// without the game's archive: deleting the wall would open the sector to the void. The other side,
// left without a mirror, becomes a solid wall too.
TEST_F(CleanUpTest, AnIllegalLinkGoesAndItsWallStays)
{
    const CDamagedLevel& mirrorNone = DamagedLevels()[0];
    ASSERT_STREQ(mirrorNone.m_name, "mirror-none");
    for (const bool withGame : {true, false}) {
        SCOPED_TRACE(withGame);
        Open(MakeDamagedLevel(mirrorNone), withGame);
        const CQzlSections before = MakeDamagedLevel(mirrorNone);
        CleanUp();
        EXPECT_EQ(Level().m_surfaces.size(), 12u);
        EXPECT_TRUE(Level().m_adjoins.empty());
        EXPECT_TRUE(LevelIsSound(Level()));
        for (std::size_t f = 0; f < Level().m_surfaces.size(); ++f)
            if (before.m_surfaces[f]->m_adjoin != -1) {
                EXPECT_EQ(Level().m_surfaces[f]->m_material, 0) << f;
                EXPECT_EQ(Level().m_surfaces[f]->m_geo, 4) << f;
            }
    }
}

}  // namespace
