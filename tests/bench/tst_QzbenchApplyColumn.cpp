// qzbench apply runs Create Rectangle, Create Cylinder and Create Pyramid from a script: the
// columns and the pyramid are built in a box room, a footprint that leaves too little of the
// surface and an apex beyond the ceiling are refused and write nothing, and undo gives back the
// level as opened.

#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/OpenedLevel.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

class QzbenchApplyColumnTest : public QzbenchApplyFileTest {
protected:
    QzbenchApplyColumnTest() : QzbenchApplyFileTest("qz_apply_column") {}

    void SetUp() override { SaveBoxRoom({0, 0, 0}, {4, 3, 4}); }
};

// The floor of the 4 x 3 x 4 room, depth along z from (1.5, 0, 1.5).
const std::string kFloor = "create-column sector=0 surface=0 node=1.5,0,1.5 node=1.5,0,2.5";
const std::string kPyramid =
    "create-pyramid sector=0 surface=0 node=1.5,0,1.5 node=1.5,0,2.5 sides=6 radius=0.5";

TEST_F(QzbenchApplyColumnTest, BuildsAndUndoGivesBackTheOpenedLevel)
{
    struct {
        std::string words;
        std::size_t sectors;
    } const cases[] = {
        // A capped column: the room cut into four pieces around the column, one above it and the
        // column's own, which goes.
        {kFloor + " width=1 depth=1 height=1", 4 + 1},
        // A hexagonal column: six pieces around it, one above it and its own, which goes.
        {"create-cylinder sector=0 surface=0 node=1.5,0,1.5 node=1.5,0,2.5 sides=6 radius=0.5 "
         "height=1",
         1 + 6},
        // Without nodes the floor's own corners are the footprint: the column fills the room
        // below its cap, the piece above it stays.
        {"create-cylinder sector=0 surface=0 height=1", 1},
        // A hexagonal pyramid: six pieces around the prism, which becomes six wedges.
        {kPyramid + " height=1", 1 + 6 + 5},
    };
    for (const auto& c : cases)
        ExpectBuildsAndUndoes(c.words, c.sectors);
}

TEST_F(QzbenchApplyColumnTest, FootprintOffTheSurfaceIsRefused)
{
    EXPECT_TRUE(ApplyRefuses(In(), Out(),
                             "create-column sector=0 surface=0 node=3.9,0,3.9 node=3.9,0,4 "
                             "width=4 depth=4",
                             "too many grid nodes"));
    EXPECT_TRUE(ApplyRefuses(In(), Out(), "create-column sector=0", "create-column needs"));
    EXPECT_TRUE(ApplyRefuses(In(), Out(),
                             "create-cylinder sector=0 surface=0 node=3.9,0,3.9 node=3.9,0,4 "
                             "radius=20",
                             "too many grid nodes"));
    EXPECT_TRUE(ApplyRefuses(In(), Out(),
                             "create-cylinder sector=0 surface=0 node=2,0,2 node=2,0,3 sides=25",
                             "create-cylinder takes 3 to 24 sides."));
    EXPECT_TRUE(ApplyRefuses(In(), Out(), "create-cylinder sector=0 surface=0 node=2,0,2",
                             "create-cylinder needs"));
}

TEST_F(QzbenchApplyColumnTest, PyramidThroughTheCeilingIsRefused)
{
    EXPECT_TRUE(ApplyRefuses(In(), Out(), kPyramid + " height=3",
                             "The specified height exceeds the current sector."));
    EXPECT_TRUE(ApplyRefuses(In(), Out(), "create-pyramid sector=0 surface=0 node=1.5,0,1.5",
                             "create-pyramid needs"));
}

}  // namespace
