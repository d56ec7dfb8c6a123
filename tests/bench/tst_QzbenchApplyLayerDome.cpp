// qzbench apply runs Create Layer and Create Dome from a script: the layer on the floor and the
// dome outside the ceiling and inside on the floor of a box room, each giving a sound level and
// undone to the level as opened; a layer above the ceiling and a material the level lacks are
// refused and write nothing.

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

class QzbenchApplyLayerDomeTest : public QzbenchApplyFileTest {
protected:
    QzbenchApplyLayerDomeTest() : QzbenchApplyFileTest("qz_apply_layer_dome") {}

    void SetUp() override { SaveBoxRoom({0, 0, 0}, {2, 1, 2}); }
};

TEST_F(QzbenchApplyLayerDomeTest, BuildsAndUndoGivesBackTheOpenedLevel)
{
    struct {
        std::string words;
        std::size_t sectors;
    } const cases[] = {
        {"create-layer sector=0 surface=0 height=0.3 indent=0.2", 1 + 4},
        {"create-dome sector=0 surface=1 depth=0.4 splits=4", 1},
        {"create-dome sector=0 surface=1 depth=0.4 splits=3 node=0,1,1 node=2,1,1 curve-up=yes "
         "curve-plane=no",
         1},
        {"create-dome sector=0 surface=0 depth=0.4 splits=4 outside=no material=0", 1 + 3 * 4},
    };
    for (const auto& c : cases)
        ExpectBuildsAndUndoes(c.words, c.sectors);
}

TEST_F(QzbenchApplyLayerDomeTest, RefusalsWriteNothing)
{
    EXPECT_TRUE(ApplyRefuses(In(), Out(), "create-layer sector=0 surface=0 height=2",
                             "which has an allowable height of 0.99900."));
    EXPECT_TRUE(ApplyRefuses(In(), Out(), "create-dome sector=0 surface=1 material=7",
                             "The level has no material 7."));
    EXPECT_TRUE(ApplyRefuses(In(), Out(), "create-layer sector=0",
                             "create-layer needs a current sector and surface."));
}

}  // namespace
