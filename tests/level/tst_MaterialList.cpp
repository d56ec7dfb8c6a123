// The material picker's list and changes without a screen: the level's materials that the game or
// the level's files hold, the materials to add filtered by a group, the sectors a deletion
// touches (each once, in order), deleting material 3 of 6 with the list renumbered, and adding a
// material the level already has reusing its record; each change checked by the level oracle and
// undone to the exact bytes.

#include "level/MaterialList.h"

#include "level/DeleteRenumber.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "resources/MaterialGroupIndex.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Items = std::vector<CMaterialListItem>;

// A game whose material index holds names (sorted here).
CGameResources GameWith(const std::vector<std::string>& names)
{
    CGameResources game;
    for (const std::string& name : names) {
        auto entry = std::make_unique<CTreeObject>("mat\\" + name, 0, 0);
        int position = 0;
        game.m_treeMaterials.Find(entry->m_name, position);
        game.m_treeMaterials.m_entries.insert(game.m_treeMaterials.m_entries.begin() + position,
                                              std::move(entry));
    }
    return game;
}

// The L corridor with six materials; material 3 on sector 0's first surface and on two surfaces
// of sector 2, material 4 on one of sector 1, material 5 on one of sector 2.
CQzlSections SixMaterials()
{
    CQzlSections level = MakeLCorridor();
    level.m_materials.clear();
    for (const char* name :
         {"DFLT.MAT", "BRICK.MAT", "FLOOR.MAT", "SKY.MAT", "LAVA.MAT", "RED.MAT"})
        level.m_materials.push_back(std::make_unique<CQzlMaterial>(name));
    for (const auto& surface : level.m_surfaces)
        surface->m_material = 0;
    const auto put = [&level](int sector, int nth, int material) {
        const int surface = level.m_sectors[static_cast<std::size_t>(sector)]
                                ->m_surfaces[static_cast<std::size_t>(nth)];
        level.m_surfaces[static_cast<std::size_t>(surface)]->m_material = material;
    };
    put(0, 0, 3);
    put(1, 2, 4);
    put(2, 1, 3);
    put(2, 4, 3);
    put(2, 5, 5);
    return level;
}

TEST(MaterialList, LevelModeListsWhatTheGameOrTheLevelsFilesHold)
{
    CQzlSections level = MakeBoxRoom();
    level.m_materials.clear();
    for (const char* name : {"DFLT.MAT", "Gone.mat", "MINE.MAT", "BRICK.MAT"})
        level.m_materials.push_back(std::make_unique<CQzlMaterial>(name));
    AddLevelFile(level, "mine.mat", "x");
    const CGameResources game = GameWith({"dflt.mat", "brick.mat"});
    Items items = LevelMaterialItems(level, game);
    EXPECT_EQ(items, (Items{{"dflt.mat", 0}, {"mine.mat", 2}, {"brick.mat", 3}}));
    SortMaterialItems(items);
    EXPECT_EQ(items, (Items{{"brick.mat", 3}, {"dflt.mat", 0}, {"mine.mat", 2}}));
}

TEST(MaterialList, AddModeFiltersByGroupAndListsANameInBothTwice)
{
    CQzlSections level = MakeBoxRoom();
    AddLevelFile(level, "lava.mat", "x");
    AddLevelFile(level, "notes.txt", "x");
    AddLevelFile(level, "Own.MAT", "x");
    const CGameResources game = GameWith({"brick.mat", "LAVA.MAT", "sky.mat"});
    const CTree groups =
        BuildMaterialGroupIndex(ReadMaterialGroups("switch lava.mat\n own.mat\nsky sky.mat\n"));

    EXPECT_EQ(AddMaterialItems(level, game, groups, kAllMaterialGroups), (Items{{"brick.mat", -1},
                                                                                {"lava.mat", -1},
                                                                                {"sky.mat", -1},
                                                                                {"lava.mat", -1},
                                                                                {"own.mat", -1}}));
    EXPECT_EQ(AddMaterialItems(level, game, groups, "Switch"),
              (Items{{"lava.mat", -1}, {"lava.mat", -1}, {"own.mat", -1}}));
    EXPECT_EQ(AddMaterialItems(level, game, groups, "Sky"), (Items{{"sky.mat", -1}}));
    EXPECT_TRUE(AddMaterialItems(level, game, groups, "Wall").empty());
}

TEST(MaterialList, DeletingMaterialThreeOfSixRenumbersTheListAndTheSurfaces)
{
    CFixtureEngine engine(SixMaterials());
    CQzlSections& level = engine.m_level;
    ASSERT_TRUE(LevelIsSound(level));
    // Each sector that uses it once, in sector order.
    EXPECT_EQ(SectorsUsingMaterial(level, 3), (std::vector<int>{0, 2}));
    EXPECT_EQ(SectorsUsingMaterial(level, 4), (std::vector<int>{1}));
    EXPECT_TRUE(SectorsUsingMaterial(level, 1).empty());

    std::vector<int> before;
    for (const auto& surface : level.m_surfaces)
        before.push_back(surface->m_material);
    EXPECT_TRUE(UndoGivesBackExactBytes(engine.m_view, [&level] {
        DeleteMaterial(level, 3);
        return true;
    }));
    ASSERT_EQ(level.m_materials.size(), 5u);
    EXPECT_EQ(level.m_materials[3]->m_name, "LAVA.MAT");
    for (std::size_t s = 0; s < level.m_surfaces.size(); ++s) {
        const int want = before[s] == 3 ? 0 : before[s] > 3 ? before[s] - 1 : before[s];
        EXPECT_EQ(level.m_surfaces[s]->m_material, want) << s;
    }
    EXPECT_TRUE(LevelIsSound(level));

    // The list as the picker shows it, sorted: numbered 0 to 4 afterwards, "dflt.mat" selected.
    Items items = {{"brick.mat", 1}, {"dflt.mat", 0}, {"floor.mat", 2},
                   {"lava.mat", 4},  {"red.mat", 5},  {"sky.mat", 3}};
    EXPECT_EQ(RenumberMaterialItems(items, 3), 1);
    EXPECT_EQ(
        items,
        (Items{
            {"brick.mat", 1}, {"dflt.mat", 0}, {"floor.mat", 2}, {"lava.mat", 3}, {"red.mat", 4}}));
    // Without "dflt.mat" in the list the row that took the deleted one's place, none after the
    // last.
    Items noDefault = {{"brick.mat", 1}, {"floor.mat", 2}, {"sky.mat", 3}};
    EXPECT_EQ(RenumberMaterialItems(noDefault, 2), 1);
    EXPECT_EQ(noDefault, (Items{{"brick.mat", 1}, {"sky.mat", 2}}));
    EXPECT_EQ(RenumberMaterialItems(noDefault, 2), -1);
}

TEST(MaterialList, AddingAMaterialTheLevelHasReusesItsRecord)
{
    CFixtureEngine engine(SixMaterials());
    CQzlSections& level = engine.m_level;
    bool appended = true;
    EXPECT_TRUE(UndoGivesBackExactBytes(
        engine.m_view, [&] { return AddLevelMaterial(level, "lava.mat", appended) == 4; }));
    EXPECT_FALSE(appended);
    EXPECT_EQ(level.m_materials.size(), 6u);

    EXPECT_TRUE(UndoGivesBackExactBytes(
        engine.m_view, [&] { return AddLevelMaterial(level, "ice.mat", appended) == 6; }));
    EXPECT_TRUE(appended);
    ASSERT_EQ(level.m_materials.size(), 7u);
    EXPECT_EQ(level.m_materials[6]->m_name, "ICE.MAT");
    EXPECT_EQ(level.m_materials[6]->m_xTile, 1.0f);
    EXPECT_EQ(level.m_materials[6]->m_yTile, 1.0f);
    EXPECT_TRUE(LevelIsSound(level));

    // The tiles OK writes: a change, or none.
    EXPECT_TRUE(UndoGivesBackExactBytes(engine.m_view,
                                        [&] { return SetMaterialTiles(level, 1, 2.0f, 3.5f); }));
    EXPECT_EQ(level.m_materials[1]->m_xTile, 2.0f);
    EXPECT_EQ(level.m_materials[1]->m_yTile, 3.5f);
    EXPECT_FALSE(SetMaterialTiles(level, 1, 2.0f, 3.5f));
    EXPECT_FALSE(SetMaterialTiles(level, 9, 2.0f, 3.5f));
}

}  // namespace
