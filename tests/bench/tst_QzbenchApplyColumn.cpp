// qzbench apply runs Create Rectangle from a script: the column is built in a box room, a
// footprint that leaves too little of the surface is refused and writes nothing, and undo gives
// back the level as opened.

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

class QzbenchApplyColumnTest : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifndef QZ_QZBENCH
        GTEST_SKIP() << "qzbench is not built";
#endif
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
        FinishFixture(level);
        SaveQzeFile(m_temp / "in.qze", level, CDocumentFields{});
    }

    CTempFolder m_temp{"qz_apply_column"};
};

// The floor of the 4 x 3 x 4 room, depth along z from (1.5, 0, 1.5).
const std::string kFloor = "create-column sector=0 surface=0 node=1.5,0,1.5 node=1.5,0,2.5";

TEST_F(QzbenchApplyColumnTest, BuildsTheColumnAndUndoGivesBackTheOpenedLevel)
{
    int status = -1;
    std::string output = RunQzbenchApply(m_temp / "in.qze", m_temp / "out.qze",
                                         kFloor + " width=1 depth=1 height=1", status);
    ASSERT_EQ(status, 0) << output;
    const CQzlSections out = LoadLevelFile(m_temp / "out.qze", 0).m_contents.m_level;
    EXPECT_TRUE(LevelIsSound(out));
    EXPECT_GT(out.m_sectors.size(), 1u);

    const std::vector<std::uint8_t> opened = OpenedLevelBytes(m_temp / "in.qze");
    output = RunQzbenchApply(m_temp / "in.qze", m_temp / "out.qze",
                             "undo " + kFloor + " width=1 depth=1 height=1", status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(ReadFileBytes(m_temp / "out.qze"), opened);
}

TEST_F(QzbenchApplyColumnTest, FootprintOffTheSurfaceIsRefused)
{
    EXPECT_TRUE(ApplyRefuses(m_temp / "in.qze", m_temp / "out.qze",
                             "create-column sector=0 surface=0 node=3.9,0,3.9 node=3.9,0,4 "
                             "width=4 depth=4",
                             "too many grid nodes"));
    EXPECT_TRUE(ApplyRefuses(m_temp / "in.qze", m_temp / "out.qze", "create-column sector=0",
                             "create-column needs"));
}

}  // namespace
