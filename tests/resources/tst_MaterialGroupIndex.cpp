// The group index of the material picker over the material group file's grammar: the groups a
// file offers and which materials each group lets through, for the cases the picker meets (a
// group of three, a group started twice, a word alone, three words, a line ending in a blank, a
// material under two groups).

#include "resources/MaterialGroupIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CMembership {
    const char* selection;
    const char* material;
    bool member;
};

TEST(MaterialGroupIndex, GroupsLetTheirMembersThrough)
{
    const struct {
        const char* what;
        const char* text;
        std::vector<std::string> groups;
        std::vector<CMembership> members;
    } cases[] = {
        {"a group of three",
         "switch 00red.mat\n sw1.mat\n sw2.mat\n",
         {"Switch"},
         {{"Switch", "00red.mat", true},
          {"Switch", "SW1.MAT", true},
          {"Switch", "sw2.mat", true},
          {"Switch", "brick.mat", false},
          {"All", "brick.mat", true},
          {"switch", "sw1.mat", false}}},
        {"a group started twice is named twice, either name selects its members",
         "wall brick.mat\nwall stone.mat\n",
         {"Wall", "Wall"},
         {{"Wall", "brick.mat", true}, {"Wall", "stone.mat", true}, {"Wall", "sky.mat", false}}},
        {"a word alone is group and member",
         "switch\n",
         {"Switch"},
         {{"Switch", "switch", true}, {"Switch", "00red.mat", false}}},
        {"three words: the middle one is ignored",
         "floor ignored tile.mat\n",
         {"Floor"},
         {{"Floor", "tile.mat", true}, {"Floor", "ignored", false}}},
        {"a line ending in a blank has an empty material, which matches no file",
         "sky \n",
         {"Sky"},
         {{"Sky", "sky", false}, {"Sky", "sky.mat", false}}},
        {"a line before any group belongs to none",
         " loose.mat\nsky sky.mat\n",
         {"Sky"},
         {{"Sky", "loose.mat", false}, {"Sky", "sky.mat", true}, {"All", "loose.mat", true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<CMaterialGroupLine> lines = ReadMaterialGroups(c.text);
        EXPECT_EQ(MaterialGroupNames(lines), c.groups);
        const CTree index = BuildMaterialGroupIndex(lines);
        ASSERT_EQ(index.m_entries.size(), lines.size());
        for (std::size_t i = 1; i < index.m_entries.size(); ++i)
            EXPECT_LE(index.m_entries[i - 1]->m_name, index.m_entries[i]->m_name);
        for (const CMembership& m : c.members)
            EXPECT_EQ(InMaterialGroup(index, m.material, m.selection), m.member)
                << m.selection << " " << m.material;
    }
}

TEST(MaterialGroupIndex, AMaterialUnderTwoGroupsIsFoundUnderOne)
{
    const CTree index = BuildMaterialGroupIndex(
        ReadMaterialGroups("floor lava.mat\n floor.mat\nhot lava.mat\n fire.mat\n"));
    const bool floor = InMaterialGroup(index, "lava.mat", "Floor");
    const bool hot = InMaterialGroup(index, "lava.mat", "Hot");
    EXPECT_NE(floor, hot);
    EXPECT_TRUE(InMaterialGroup(index, "floor.mat", "Floor"));
    EXPECT_TRUE(InMaterialGroup(index, "fire.mat", "Hot"));
    // Entries hold the display name in the path and nothing else.
    for (const auto& entry : index.m_entries) {
        EXPECT_EQ(entry->m_offset, 0);
        EXPECT_EQ(entry->m_size, 0);
        EXPECT_FALSE(entry->HasData());
    }
}

}  // namespace
