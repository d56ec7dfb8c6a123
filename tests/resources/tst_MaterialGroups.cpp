// The material group file's grammar: groups and their materials as the material picker reads them,
// and the switch materials as the Create Switch dialog reads them.

#include "resources/MaterialGroups.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<CMaterialGroupLine>;
using Names = std::vector<std::string>;

TEST(MaterialGroups, LinesGiveGroupsAndMaterials)
{
    const struct {
        const char* what;
        std::string text;
        Lines lines;
        Names groups;
    } cases[] = {
        {"a group of three",
         "switch 00red.mat\n sw1.mat\n sw2.mat\n",
         {{"switch", "00red.mat", true},
          {"switch", "sw1.mat", false},
          {"switch", "sw2.mat", false}},
         {"Switch"}},
        {"lines are lower-cased whole, CR LF ends, no end on the last line",
         "Wall BRICK.MAT\r\n  Stone.Mat\r\nSky sky.mat",
         {{"wall", "brick.mat", true}, {"wall", "stone.mat", false}, {"sky", "sky.mat", true}},
         {"Wall", "Sky"}},
        {"a word alone is group and material",
         "switch\n",
         {{"switch", "switch", true}},
         {"Switch"}},
        {"three words: the first is the group, the last the material",
         "floor ignored tile.mat\n",
         {{"floor", "tile.mat", true}},
         {"Floor"}},
        {"a line ending in a blank has an empty material",
         "floor \n",
         {{"floor", "", true}},
         {"Floor"}},
        {"the same group twice is named twice",
         "wall a.mat\nwall b.mat\n",
         {{"wall", "a.mat", true}, {"wall", "b.mat", true}},
         {"Wall", "Wall"}},
        {"members before any group, and an empty line",
         " lone.mat\n\nsky s.mat\n",
         {{"", "lone.mat", false}, {"", "", false}, {"sky", "s.mat", true}},
         {"Sky"}},
        {"an empty file", "", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Lines lines = ReadMaterialGroups(c.text);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(MaterialGroupNames(lines), c.groups);
    }
    EXPECT_EQ(MaterialGroupDisplayName("switch"), "Switch");
    EXPECT_EQ(MaterialGroupDisplayName(""), "");
}

TEST(MaterialGroups, SwitchMaterialsRunToTheNextGroup)
{
    const struct {
        const char* what;
        std::string text;
        Names materials;
    } cases[] = {
        {"header and members up to the next group",
         "wall w.mat\nSWITCH 00Red.mat\n a.mat\n\n b.mat\nsky s.mat\n c.mat\n",
         {"00red.mat", "a.mat", "b.mat"}},
        {"a second switch line goes on",
         "switch a.mat\nswitch b.mat\n c.mat\n",
         {"a.mat", "b.mat", "c.mat"}},
        {"the word alone", "switch\n x.mat\n", {"switch", "x.mat"}},
        {"no switch group", "wall w.mat\n a.mat\n", {}},
        {"switches is another group", "switches a.mat\n", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadSwitchMaterials(c.text), c.materials);
    }
}

}  // namespace
