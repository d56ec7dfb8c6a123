// The material picker's core on damaged levels and a hostile "materials.dat": a surface whose
// material index is out of range counts for no material (the list, the sectors a deletion
// touches, the delete renumbering, the tiles), a missing record in the level's lists or in its
// files is passed over, and every shape of group file reads to a clear set of lines.

#include "level/MaterialList.h"

#include "framework/StringUtil.h"
#include "level/DeleteRenumber.h"
#include "level/GameResources.h"
#include "level/LevelFiles.h"
#include "level/QzlSections.h"
#include "resources/MaterialGroupIndex.h"
#include "resources/MaterialGroups.h"
#include "support/FixtureLevels.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using Items = std::vector<CMaterialListItem>;
using Lines = std::vector<CMaterialGroupLine>;

// Two joined rooms with "DFLT.MAT", "BRICK.MAT" (on sector 1's floor) and "LAVA.MAT" (on sector
// 0's floor), and the level's own file "lava.mat".
CQzlSections ThreeMaterials()
{
    CQzlSections level = MakeTwoJoinedRooms();
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("BRICK.MAT"));
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("LAVA.MAT"));
    level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 1, kBoxFloor))]->m_material = 1;
    level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxFloor))]->m_material = 2;
    AddLevelFile(level.m_levelFiles, "lava.mat", "mat\\lava.mat", std::vector<std::uint8_t>(4));
    return level;
}

std::int32_t& CeilingMaterial(CQzlSections& level, int sector)
{
    return level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, sector, kBoxCeiling))]
        ->m_material;
}

TEST(MaterialsDamaged, AnOutOfRangeSurfaceMaterialIsNoMaterial)
{
    struct Case {
        const char* what;
        std::int32_t index;
        std::int32_t afterDelete;  // deleting "BRICK.MAT" (1): still naming nothing
    };
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const Case cases[] = {
        {"negative", -7, -7},
        {"the list's size", 3, 2},
        {"the largest int", kMax, kMax - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CFixtureEngine engine(ThreeMaterials());
        CQzlSections& level = engine.m_level;
        CeilingMaterial(level, 0) = c.index;
        EXPECT_EQ(SectorsUsingMaterial(level, 1), std::vector<int>{1});
        EXPECT_EQ(SectorsUsingMaterial(level, 2), std::vector<int>{0});
        EXPECT_FALSE(SetMaterialTiles(level, c.index, 2.0f, 2.0f));
        EXPECT_TRUE(UndoGivesBackExactBytes(engine.m_view, [&level] {
            DeleteMaterial(level, 1);
            return true;
        }));
        ASSERT_EQ(level.m_materials.size(), 2u);
        EXPECT_EQ(CeilingMaterial(level, 0), c.afterDelete);
        EXPECT_EQ(
            level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 1, kBoxFloor))]->m_material,
            0);
        EXPECT_EQ(
            level.m_surfaces[static_cast<std::size_t>(BoxSurface(level, 0, kBoxFloor))]->m_material,
            1);
    }
}

TEST(MaterialsDamaged, AMissingRecordIsPassedOver)
{
    struct Case {
        const char* what;
        std::function<void(CQzlSections&)> damage;
        Items levelItems;       // LevelMaterialItems
        Items addItems;         // AddMaterialItems under "All"
        std::vector<int> lava;  // the sectors using "LAVA.MAT"
    };
    const Items allThree = {{"lava.mat", 2}};
    const Case cases[] = {
        {"material",
         [](CQzlSections& l) { l.m_materials.insert(l.m_materials.begin() + 1, nullptr); },
         {{"lava.mat", 3}},
         {{"lava.mat", -1}},
         {}},
        {"sector",
         [](CQzlSections& l) { l.m_sectors[1].reset(); },
         allThree,
         {{"lava.mat", -1}},
         {0}},
        {"surface",
         [](CQzlSections& l) {
             l.m_surfaces[static_cast<std::size_t>(BoxSurface(l, 1, kBoxFloor))].reset();
         },
         allThree,
         {{"lava.mat", -1}},
         {0}},
        {"level file",
         [](CQzlSections& l) {
             l.m_levelFiles.m_entries.insert(l.m_levelFiles.m_entries.begin(), nullptr);
         },
         allThree,
         {{"lava.mat", -1}},
         {0}},
    };
    const CGameResources game;
    const CTree groups;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQzlSections level = ThreeMaterials();
        c.damage(level);
        EXPECT_EQ(LevelMaterialItems(level, game), c.levelItems);
        EXPECT_EQ(AddMaterialItems(level, game, groups, kAllMaterialGroups), c.addItems);
        const int lava = level.FindMaterial("LAVA.MAT");
        EXPECT_EQ(SectorsUsingMaterial(level, lava), c.lava);
        // Adding finds the record that is there, or appends one after the missing one.
        bool appended = true;
        EXPECT_EQ(AddLevelMaterial(level, "lava.mat", appended), lava);
        EXPECT_FALSE(appended);
        const std::size_t count = level.m_materials.size();
        EXPECT_EQ(AddLevelMaterial(level, "ice.mat", appended), static_cast<int>(count));
        EXPECT_TRUE(appended);
        // Deleting the record after "DFLT.MAT" renumbers what is there.
        DeleteMaterial(level, 1);
        EXPECT_EQ(level.m_materials.size(), count);
        EXPECT_EQ(level.FindMaterial("LAVA.MAT"), lava - 1);
    }
    // The tiles of a missing record: nothing to change.
    CQzlSections level = ThreeMaterials();
    level.m_materials[1].reset();
    EXPECT_FALSE(SetMaterialTiles(level, 1, 2.0f, 2.0f));
}

TEST(MaterialsDamaged, EveryShapeOfGroupFileReadsToClearLines)
{
    const std::string longName(100 * 1024, 'x');
    struct Case {
        const char* what;
        std::string text;
        Lines lines;
        std::vector<std::string> groups;
    };
    const Case cases[] = {
        {"empty", "", {}, {}},
        {"no last line end",
         "sky sky.mat\n a.mat",
         {{"sky", "sky.mat", true}, {"sky", "a.mat", false}},
         {"Sky"}},
        // Only LF ends a line: the text is one line, its last CR taken as the line end.
        {"CR only", "sky sky.mat\r a.mat\r", {{"sky", "a.mat", true}}, {"Sky"}},
        // A tab is no blank.
        {"tabs",
         "sky\tsky.mat\n\ta.mat\n",
         {{"sky\tsky.mat", "sky\tsky.mat", true}, {"\ta.mat", "\ta.mat", true}},
         {"Sky\tsky.mat", "\ta.mat"}},
        {"100 KB line", "sky " + longName + "\n", {{"sky", longName, true}}, {"Sky"}},
        {"NUL bytes",
         std::string("s\0y a.mat\n \0.mat\n", 17),
         {{std::string("s\0y", 3), "a.mat", true},
          {std::string("s\0y", 3), std::string("\0.mat", 5), false}},
         {std::string("S\0y", 3)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Lines lines = ReadMaterialGroups(c.text);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(MaterialGroupNames(lines), c.groups);
        const CTree index = BuildMaterialGroupIndex(lines);
        EXPECT_EQ(index.m_entries.size(), lines.size());
        for (const CMaterialGroupLine& line : lines)
            EXPECT_TRUE(
                InMaterialGroup(index, line.m_material, MaterialGroupDisplayName(line.m_group)));
        EXPECT_FALSE(InMaterialGroup(index, "none.mat", "Sky"));
    }
}

TEST(MaterialsDamaged, AGroupFileOfManyLinesIsIndexedWithoutDelay)
{
    // 100 000 lines in a scattered order: each found under its group, quickly (inserting line by
    // line took minutes here).
    constexpr int kLines = 100000;
    std::string text = "big m0.mat\n";
    for (int i = 1; i < kLines; ++i)
        text += " m" + std::to_string((i * 7919) % kLines) + ".mat\n";
    text += "hot m5.mat\n";
    const auto start = std::chrono::steady_clock::now();
    const CTree index = BuildMaterialGroupIndex(ReadMaterialGroups(text));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
    ASSERT_EQ(index.m_entries.size(), static_cast<std::size_t>(kLines) + 1);
    for (std::size_t i = 1; i < index.m_entries.size(); ++i)
        ASSERT_LE(CompareNoCase(index.m_entries[i - 1]->m_name, index.m_entries[i]->m_name), 0);
    for (const char* material : {"m1.mat", "m99999.mat", "m50000.mat"})
        EXPECT_TRUE(InMaterialGroup(index, material, "Big")) << material;
    // The later line of an equal name stands in front.
    int position = 0;
    ASSERT_TRUE(index.Find("m5.mat", position));
    EXPECT_EQ(index.m_entries[static_cast<std::size_t>(position)]->m_name, "m5.mat");
    const auto first = std::find_if(index.m_entries.begin(), index.m_entries.end(),
                                    [](const auto& e) { return e->m_name == "m5.mat"; });
    EXPECT_EQ((*first)->m_path, "Hot");
}

}  // namespace
