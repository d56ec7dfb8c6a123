// qzbench apply runs Create Landscape from a script: with a seed the same ground each run and
// other ground with another seed, undo gives back the level as opened, and a depth beyond the
// ceiling or values out of the dialog's ranges are refused and write nothing.

#include "framework/FileIO.h"
#include "level/LevelFile.h"
#include "level/QzeFile.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/OpenedLevel.h"
#include "support/QzbenchProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

class QzbenchApplyLandscapeTest : public QzbenchApplyFileTest {
protected:
    QzbenchApplyLandscapeTest() : QzbenchApplyFileTest("qz_apply_landscape") {}

    void SetUp() override { SaveBoxRoom({0, 0, 0}, {4, 3, 4}); }
};

// The floor of the 4 x 3 x 4 room, the wedges' axis along z from (1, 0, 1).
const std::string kFloor = "create-landscape sector=0 surface=0 node=1,0,1 node=1,0,3";

TEST_F(QzbenchApplyLandscapeTest, SeededRunsRepeatAndUndoGivesBackTheOpenedLevel)
{
    const std::vector<std::uint8_t> first = Apply(kFloor + " splits=2 max=1 seed=42");
    const CQzlSections out = LoadLevelFile(Out(), 0).m_contents.m_level;
    EXPECT_TRUE(LevelIsSound(out));
    EXPECT_EQ(out.m_sectors.size(), 12u);
    EXPECT_EQ(Apply(kFloor + " splits=2 max=1 seed=42"), first);
    EXPECT_NE(Apply(kFloor + " splits=2 max=1 seed=43"), first);
    EXPECT_EQ(Apply("undo " + kFloor + " splits=2 max=1 seed=42"), OpenedLevelBytes(In()));
}

TEST_F(QzbenchApplyLandscapeTest, RefusalsWriteNothing)
{
    struct {
        const char* words;
        const char* message;
    } const cases[] = {
        {" max=3", "The specified height exceeds the current sector."},
        {" splits=5", "create-landscape takes 1 to 4 splits."},
        {" max=101", "create-landscape takes a max from 0 to 100."},
        {" min=0.5", "create-landscape takes a min from -100 to 0."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        EXPECT_TRUE(ApplyRefuses(In(), Out(), kFloor + c.words, c.message));
    }
    EXPECT_TRUE(ApplyRefuses(In(), Out(), "create-landscape sector=0 surface=0 node=1,0,1",
                             "create-landscape needs"));
}

}  // namespace
