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

class QzbenchApplyLayerDomeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {2, 1, 2});
        FinishFixture(level);
        SaveQzeFile(m_temp / "in.qze", level, CDocumentFields{});
    }

    CTempFolder m_temp{"qz_apply_layer_dome"};
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
    const std::vector<std::uint8_t> opened = OpenedLevelBytes(m_temp / "in.qze");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        int status = -1;
        std::string output =
            RunQzbenchApply(m_temp / "in.qze", m_temp / "out.qze", c.words, status);
        ASSERT_EQ(status, 0) << output;
        const CQzlSections out = LoadLevelFile(m_temp / "out.qze", 0).m_contents.m_level;
        EXPECT_TRUE(LevelIsSound(out));
        EXPECT_EQ(out.m_sectors.size(), c.sectors);

        output = RunQzbenchApply(m_temp / "in.qze", m_temp / "out.qze", "undo " + c.words, status);
        ASSERT_EQ(status, 0) << output;
        EXPECT_EQ(ReadFileBytes(m_temp / "out.qze"), opened);
    }
}

TEST_F(QzbenchApplyLayerDomeTest, RefusalsWriteNothing)
{
    EXPECT_TRUE(ApplyRefuses(m_temp / "in.qze", m_temp / "out.qze",
                             "create-layer sector=0 surface=0 height=2",
                             "which has an allowable height of 0.99900."));
    EXPECT_TRUE(ApplyRefuses(m_temp / "in.qze", m_temp / "out.qze",
                             "create-dome sector=0 surface=1 material=7",
                             "The level has no material 7."));
    EXPECT_TRUE(ApplyRefuses(m_temp / "in.qze", m_temp / "out.qze", "create-layer sector=0",
                             "create-layer needs a current sector and surface."));
}

}  // namespace
