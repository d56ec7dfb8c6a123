#include "level/DeleteRenumber.h"

#include "SyntheticGame.h"
#include "level/GameResources.h"
#include "level/LevelValidator.h"
#include "level/QzeFile.h"
#include "level/QzlReader.h"
#include "level/QzlSections.h"
#include "level/QzlWriter.h"
#include "level/VertexUses.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Ints = std::vector<std::int32_t>;
using Strings = std::vector<std::string>;

void ExpectValid(const CQzlSections& level)
{
    EXPECT_EQ(ValidateLevel(level, {.checkUseCounts = true}), Strings{});
}

int AddSurface(CQzlSections& level, std::initializer_list<std::int32_t> worldVertices,
               std::int32_t material = -1, std::int32_t adjoin = -1)
{
    auto surface = std::make_unique<CQzlSurface>();
    surface->m_material = material;
    surface->m_adjoin = adjoin;
    for (const std::int32_t w : worldVertices) {
        CQzlVertex corner;
        corner.m_worldVertex = w;
        surface->m_vertices.push_back(corner);
    }
    level.m_surfaces.push_back(std::move(surface));
    return static_cast<int>(level.m_surfaces.size()) - 1;
}

void AddSector(CQzlSections& level, Ints surfaces)
{
    auto sector = std::make_unique<CQzlSector>();
    sector->m_surfaces = std::move(surfaces);
    sector->m_colormap = -1;
    level.m_sectors.push_back(std::move(sector));
}

void AddVertices(CQzlSections& level, int count)
{
    for (int i = 0; i < count; ++i)
        level.m_worldVertices.push_back({static_cast<float>(i), 0.0f, static_cast<float>(i * i)});
}

Ints Corners(const CQzlSections& level, int surface)
{
    Ints corners;
    for (const CQzlVertex& c : level.m_surfaces[static_cast<std::size_t>(surface)]->m_vertices)
        corners.push_back(c.m_worldVertex);
    return corners;
}

Strings MaterialNames(const CQzlSections& level)
{
    Strings names;
    for (const auto& m : level.m_materials)
        names.push_back(m->m_name);
    return names;
}

Ints SurfaceMaterials(const CQzlSections& level)
{
    Ints materials;
    for (const auto& s : level.m_surfaces)
        materials.push_back(s->m_material);
    return materials;
}

TEST(DeleteSurface, RenumbersSectorListsCornersAndDropsUnusedVertices)
{
    CQzlSections level;
    AddVertices(level, 7);
    AddSurface(level, {0, 1, 2});
    AddSurface(level, {0, 2, 3});
    AddSurface(level, {1, 5, 2});  // the only user of vertex 5
    AddSurface(level, {0, 4, 6});
    AddSurface(level, {4, 6, 1});
    AddSurface(level, {6, 0, 4});  // listed by no sector: renumbered all the same
    AddSector(level, {0, 2, 1});
    AddSector(level, {4, 3});
    CountVertexUses(level);
    const CWorldVertex vertex6 = level.m_worldVertices[6];

    DeleteSurface(level, CGameResources{}, 2);

    ASSERT_EQ(level.m_surfaces.size(), 5u);
    EXPECT_EQ(level.m_sectors[0]->m_surfaces, (Ints{0, 1}));
    EXPECT_EQ(level.m_sectors[1]->m_surfaces, (Ints{3, 2}));
    ASSERT_EQ(level.m_worldVertices.size(), 6u);
    EXPECT_EQ(level.m_worldVertices[5], vertex6);
    EXPECT_EQ(Corners(level, 0), (Ints{0, 1, 2}));
    EXPECT_EQ(Corners(level, 1), (Ints{0, 2, 3}));
    EXPECT_EQ(Corners(level, 2), (Ints{0, 4, 5}));
    EXPECT_EQ(Corners(level, 3), (Ints{4, 5, 1}));
    EXPECT_EQ(Corners(level, 4), (Ints{5, 0, 4}));
    EXPECT_EQ(level.m_useCounts, (Ints{4, 2, 2, 1, 3, 3}));
    ExpectValid(level);
}

TEST(DeleteSurface, OutOfRangeIndexLeavesTheLevel)
{
    CQzlSections level = MakeBoxRoom();
    const CGameResources game;
    for (const int bad : {-1, 100}) {
        DeleteSurface(level, game, bad);
        DeleteThing(level, game, bad);
        DeleteSector(level, game, bad);
        DeleteAdjoin(level, bad);
        DeleteMaterial(level, bad);
        RemoveVertexRefs(level, bad, true);
    }
    DeleteSurface(level, game, 6);
    DeleteThing(level, game, 0);
    DeleteSector(level, game, 1);
    DeleteAdjoin(level, 0);
    DeleteMaterial(level, 1);
    RemoveVertexRefs(level, 8, true);

    EXPECT_EQ(level.m_surfaces.size(), 6u);
    EXPECT_EQ(level.m_sectors.size(), 1u);
    EXPECT_EQ(level.m_worldVertices.size(), 8u);
    EXPECT_EQ(level.m_materials.size(), 1u);
    ExpectValid(level);
}

TEST(RemoveVertexRefs, RemovesTheCornersThatUseTheVertexWhenAsked)
{
    CQzlSections level;
    AddVertices(level, 5);
    AddSurface(level, {0, 2, 3, 4});
    AddSurface(level, {2, 1, 4});  // listed by no sector
    AddSector(level, {0});
    CountVertexUses(level);

    RemoveVertexRefs(level, 2, true);

    EXPECT_EQ(Corners(level, 0), (Ints{0, 2, 3}));
    EXPECT_EQ(Corners(level, 1), (Ints{1, 3}));
    EXPECT_EQ(level.m_useCounts, (Ints{1, 1, 1, 2}));
    ExpectValid(level);
}

struct AdjoinCase {
    const char* name;
    Ints mirrors;  // adjoin i's mirror; surface i has adjoin i
    int deleted;
    Ints mirrorsAfter;
    Ints surfaceAdjoinsAfter;
};

TEST(DeleteAdjoin, RemovesThePairOrTheBrokenRecordAlone)
{
    const AdjoinCase cases[] = {
        {"pair 3/6 from 3",
         {1, 0, 7, 6, 5, 4, 3, 2},
         3,
         {1, 0, 5, 4, 3, 2},
         {0, 1, 2, -1, 3, 4, -1, 5}},
        {"pair 3/6 from 6",
         {1, 0, 7, 6, 5, 4, 3, 2},
         6,
         {1, 0, 5, 4, 3, 2},
         {0, 1, 2, -1, 3, 4, -1, 5}},
        {"mirror -1", {-1, 2, 1}, 0, {1, 0}, {-1, 0, 1}},
        {"mirror itself", {2, 1, 0}, 1, {1, 0}, {0, -1, 1}},
        {"mirror -1, last record", {1, 0, -1}, 2, {1, 0}, {0, 1, -1}},
    };
    for (const AdjoinCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level;
        AddVertices(level, 3);
        for (std::size_t a = 0; a < c.mirrors.size(); ++a) {
            auto adjoin = std::make_unique<CQzlAdjoin>();
            adjoin->m_mirror = c.mirrors[a];
            level.m_adjoins.push_back(std::move(adjoin));
            AddSurface(level, {0, 1, 2}, -1, static_cast<std::int32_t>(a));
        }
        CountVertexUses(level);

        DeleteAdjoin(level, c.deleted);

        Ints mirrors;
        for (const auto& a : level.m_adjoins)
            mirrors.push_back(a->m_mirror);
        Ints adjoins;
        for (const auto& s : level.m_surfaces)
            adjoins.push_back(s->m_adjoin);
        EXPECT_EQ(mirrors, c.mirrorsAfter);
        EXPECT_EQ(adjoins, c.surfaceAdjoinsAfter);
        ExpectValid(level);
    }
}

struct MaterialCase {
    const char* name;
    Strings materials;
    Ints surfaceMaterials;  // the last surface is listed by no sector
    int deleted;
    Strings materialsAfter;
    Ints surfaceMaterialsAfter;
};

TEST(DeleteMaterial, SurfacesOfTheDeletedMaterialTakeTheDefault)
{
    const MaterialCase cases[] = {
        {"dflt.mat at 4",
         {"a.mat", "b.mat", "c.mat", "d.mat", "dflt.mat", "e.mat"},
         {0, 1, 2, 3, 4, 5, -1, 1},
         1,
         {"a.mat", "c.mat", "d.mat", "dflt.mat", "e.mat"},
         {0, 3, 1, 2, 3, 4, -1, 3}},
        {"dflt.mat before the deleted one, in capitals",
         {"DFLT.MAT", "b.mat", "c.mat"},
         {2, 1, 0, 1},
         1,
         {"DFLT.MAT", "c.mat"},
         {1, 0, 0, 0}},
        {"no dflt.mat: appended first",
         {"a.mat", "b.mat", "c.mat"},
         {0, 1, 2, 1},
         1,
         {"a.mat", "c.mat", "dflt.mat"},
         {0, 2, 1, 2}},
        {"dflt.mat itself, last: named again at the end",
         {"a.mat", "dflt.mat"},
         {1, 0, 1},
         1,
         {"a.mat", "dflt.mat"},
         {1, 0, 1}},
        {"dflt.mat itself, first",
         {"dflt.mat", "a.mat"},
         {0, 1, 0},
         0,
         {"a.mat", "dflt.mat"},
         {1, 0, 1}},
    };
    for (const MaterialCase& c : cases) {
        SCOPED_TRACE(c.name);
        CQzlSections level;
        AddVertices(level, 3);
        for (const std::string& name : c.materials)
            level.m_materials.push_back(std::make_unique<CQzlMaterial>(name));
        Ints listed;
        for (const std::int32_t m : c.surfaceMaterials)
            listed.push_back(AddSurface(level, {0, 1, 2}, m));
        listed.pop_back();
        AddSector(level, listed);
        CountVertexUses(level);

        DeleteMaterial(level, c.deleted);

        EXPECT_EQ(MaterialNames(level), c.materialsAfter);
        EXPECT_EQ(SurfaceMaterials(level), c.surfaceMaterialsAfter);
        ExpectValid(level);
    }
}

TEST(CompactMaterials, KeepsTheUsedMaterialsInOrderOfFirstUse)
{
    CQzlSections level;
    AddVertices(level, 3);
    for (int i = 0; i < 6; ++i) {
        auto m = std::make_unique<CQzlMaterial>("m" + std::to_string(i) + ".mat");
        m->m_xTile = static_cast<float>(i);
        m->m_yTile = 0.5f;
        level.m_materials.push_back(std::move(m));
    }
    level.m_materials[3]->m_name = "M5.MAT";  // same name as material 5, letter case aside
    for (const std::int32_t m : {5, 2, 5, -1, 3})
        AddSurface(level, {0, 1, 2}, m);
    CountVertexUses(level);

    CompactMaterials(level);

    EXPECT_EQ(MaterialNames(level), (Strings{"m5.mat", "m2.mat"}));
    EXPECT_FLOAT_EQ(level.m_materials[0]->m_xTile, 5.0f);
    EXPECT_FLOAT_EQ(level.m_materials[1]->m_xTile, 2.0f);
    EXPECT_FLOAT_EQ(level.m_materials[1]->m_yTile, 0.5f);
    EXPECT_EQ(SurfaceMaterials(level), (Ints{0, 1, 0, -1, 0}));
    ExpectValid(level);
}

// --- Cog values ---

std::vector<std::uint8_t> ToBytes(std::string_view text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

void AddThing(CQzlSections& level, std::int32_t sector)
{
    auto thing = std::make_unique<CQzlThing>();
    thing->m_template = "crate";
    thing->m_sector = sector;
    level.m_things.push_back(std::move(thing));
}

// The L corridor with three things (sectors 0, 1, 0) and two scripts among the level's files:
// lift.cog (sector, surface, thing) and a door.cog of the level's own that differs from the
// game's (thing, surface).
CQzlSections MakeCogLevel()
{
    CQzlSections level = MakeLCorridor();
    AddThing(level, 0);
    AddThing(level, 1);
    AddThing(level, 0);
    AddLevelFile(level, "lift.cog",
                 "symbols\nsector lift\nsurface button desc=the call button\nint floors=2 local\n"
                 "thing rider\nend\ncode\nend\n");
    CountVertexUses(level);
    return level;
}

// What a case deletes: a surface, sector or thing, by index.
enum EDelete {
    kSurface,
    kSector,
    kThing
};

struct CogCase {
    const char* name;
    const char* script;  // door.cog is the game's, lift.cog the level's own
    EDelete kind;
    int index;
    Strings values;
    Strings valuesAfter;  // empty: the cog is removed
};

TEST(DeleteRenumber, CogValuesFollowThroughTheScripts)
{
    const CogCase cases[] = {
        {"game, thing above", "door.cog", kThing, 1, {"4", "1", "2", "x"}, {"4", "1", "1", "x"}},
        {"game, thing equal", "door.cog", kThing, 1, {"4", "1", "1"}, {"4", "1", "-1"}},
        {"game, last live reference gone", "door.cog", kThing, 0, {"-1", "-1", "0", "2.5"}, {}},
        {"game, only a value above", "door.cog", kThing, 0, {"-1", "-1", "2"}, {"-1", "-1", "1"}},
        {"game, surface", "door.cog", kSurface, 2, {"7", "2", "-1"}, {"6", "2", "-1"}},
        {"game, sector", "door.cog", kSector, 2, {"-1", "2", "-1"}, {}},
        {"level, surface equal", "lift.cog", kSurface, 2, {"1", "2", "0"}, {"1", "-1", "0"}},
        {"level, sector gone", "lift.cog", kSector, 2, {"2", "-1", "-1"}, {}},
        {"level, thing above", "lift.cog", kThing, 0, {"2", "5", "2"}, {"2", "5", "1"}},
        {"script found nowhere", "gone.cog", kThing, 0, {"0", "0", "0"}, {"0", "0", "0"}},
    };
    const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(0);
    const CGameResources noGame;
    for (const CogCase& c : cases) {
        for (const CGameResources* resources : {&std::as_const(game->m_resources), &noGame}) {
            const bool withGame = resources == &game->m_resources;
            if (!withGame && std::string_view(c.script) == "door.cog")
                continue;
            SCOPED_TRACE(std::string(c.name) + (withGame ? ", with the game" : ", without"));
            CQzlSections level = MakeCogLevel();
            auto cog = std::make_unique<CQzlCog>(c.script);
            cog->m_values = c.values;
            level.m_cogs.push_back(std::move(cog));
            const std::size_t surfaces = level.m_surfaces.size();
            const std::size_t things = level.m_things.size();

            switch (c.kind) {
            case kSurface:
                DeleteSurface(level, *resources, c.index);
                EXPECT_EQ(level.m_surfaces.size(), surfaces - 1);
                break;
            case kSector:
                DeleteSector(level, *resources, c.index);
                EXPECT_EQ(level.m_sectors.size(), 2u);
                break;
            case kThing:
                DeleteThing(level, *resources, c.index);
                EXPECT_EQ(level.m_things.size(), things - 1);
                break;
            }

            if (c.valuesAfter.empty()) {
                EXPECT_TRUE(level.m_cogs.empty());
            } else {
                ASSERT_EQ(level.m_cogs.size(), 1u);
                EXPECT_EQ(level.m_cogs[0]->m_values, c.valuesAfter);
            }
            ExpectValid(level);
        }
    }
}

TEST(DeleteRenumber, AScriptAmongTheLevelFilesComesBeforeTheGames)
{
    const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(0);
    CQzlSections level = MakeCogLevel();
    // The game's door.cog takes a surface first; the level's own takes a thing first.
    AddLevelFile(level, "DOOR.COG", "symbols\nthing who\nsurface where\nend\n");
    auto cog = std::make_unique<CQzlCog>("door.cog");
    cog->m_values = {"1", "1"};
    level.m_cogs.push_back(std::move(cog));

    DeleteThing(level, game->m_resources, 1);

    ASSERT_EQ(level.m_cogs.size(), 1u);
    EXPECT_EQ(level.m_cogs[0]->m_values, (Strings{"-1", "1"}));
}

// Delete Sector as the editing operation composes it: the adjoins of the sector's surfaces (and
// their mirrors), its things, its surfaces from the highest index down, the sector fields of the
// remaining things, and finally the sector record.
void DeleteWholeSector(CQzlSections& level, const CGameResources& game, int sector)
{
    const auto surfaces = [&] {
        return level.m_sectors[static_cast<std::size_t>(sector)]->m_surfaces;
    };
    for (const std::int32_t s : surfaces()) {
        const std::int32_t a = level.m_surfaces[static_cast<std::size_t>(s)]->m_adjoin;
        if (a >= 0)
            DeleteAdjoin(level, a);
    }
    for (std::size_t t = level.m_things.size(); t-- > 0;) {
        if (level.m_things[t]->m_sector == sector)
            DeleteThing(level, game, static_cast<int>(t));
    }
    while (!surfaces().empty()) {
        const Ints list = surfaces();
        DeleteSurface(level, game, *std::max_element(list.begin(), list.end()));
    }
    for (const auto& thing : level.m_things) {
        if (thing->m_sector > sector)
            --thing->m_sector;
    }
    DeleteSector(level, game, sector);
}

TEST(DeleteRenumber, DeletingAJoinedSectorKeepsTheLevelSound)
{
    const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(0);
    CQzlSections level = MakeCogLevel();
    AddThing(level, 2);
    auto door = std::make_unique<CQzlCog>("door.cog");
    door->m_values = {"14", "2", "3"};  // sector 2's surface, sector 2, the thing in sector 2
    level.m_cogs.push_back(std::move(door));
    auto lift = std::make_unique<CQzlCog>("lift.cog");
    lift->m_values = {"1", "7", "1"};  // only references to sector 1
    level.m_cogs.push_back(std::move(lift));

    DeleteWholeSector(level, game->m_resources, 1);

    EXPECT_EQ(level.m_sectors.size(), 2u);
    EXPECT_EQ(level.m_surfaces.size(), 12u);
    EXPECT_TRUE(level.m_adjoins.empty());
    // Of sector 1's corners only (2, 0, 0) and (2, 1, 0) were its own.
    EXPECT_EQ(level.m_worldVertices.size(), 14u);
    EXPECT_EQ(level.m_sectors[1]->m_surfaces, (Ints{6, 7, 8, 9, 10, 11}));
    ASSERT_EQ(level.m_things.size(), 3u);
    EXPECT_EQ(level.m_things[2]->m_sector, 1);
    ASSERT_EQ(level.m_cogs.size(), 1u);
    EXPECT_EQ(level.m_cogs[0]->m_values, (Strings{"8", "1", "2"}));
    for (const auto& s : level.m_surfaces)
        EXPECT_EQ(s->m_adjoin, -1);
    ExpectValid(level);
}

TEST(VertexUses, EveryLoadCountsTheCorners)
{
    CQzlSections level = MakeLCorridor();
    const Ints counts = level.m_useCounts;
    ASSERT_EQ(ValidateLevel(level, {.checkUseCounts = true}), Strings{});

    int version = 0;
    const CQzlSections fromArchive = ReadLevelBytes(WriteLevelBytes(level), version);
    EXPECT_EQ(fromArchive.m_useCounts, counts);
    ExpectValid(fromArchive);

    const CQzeContents fromFile = ReadQzeBytes(WriteQzeBytes(level, CDocumentFields{}));
    EXPECT_EQ(fromFile.m_level.m_useCounts, counts);
    ExpectValid(fromFile.m_level);

    const std::string text = WriteQzl(level, CGameResources{}, 0);
    CQzlSections fromText;
    ReadQzl(fromText, ToBytes(text), 0);
    ExpectValid(fromText);
}

}  // namespace
