// qzbench apply runs the Door command from a script: the door thing and its cog are written, the
// dialog's checks refuse an opening too large for the surface or a join with nothing behind, and
// undo gives back the level as opened.

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

class QzbenchApplyDoorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifndef QZ_QZBENCH
        GTEST_SKIP() << "qzbench is not built";
#endif
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
        FinishFixture(level);
        m_wall = "create-door sector=0 surface=" + std::to_string(BoxSurface(level, 0, kBoxZLow)) +
                 " node=2,0,0 node=2,1,0";
        SaveQzeFile(m_temp / "in.qze", level, CDocumentFields{});
    }

    std::string Apply(const std::string& words, int& status)
    {
        return RunQzbenchApply(m_temp / "in.qze", m_temp / "out.qze", words, status);
    }

    CTempFolder m_temp{"qz_apply_door"};
    std::string m_wall;
};

TEST_F(QzbenchApplyDoorTest, TheDoorItsThingAndItsCogAreWritten)
{
    int status = -1;
    const std::string output = Apply(m_wall + " template=door front=0.5 direction=left", status);
    ASSERT_EQ(status, 0) << output;
    const CQzlSections out = std::move(LoadLevelFile(m_temp / "out.qze", 0).m_contents.m_level);
    EXPECT_TRUE(LevelIsSound(out));
    ASSERT_EQ(out.m_things.size(), 1u);
    EXPECT_EQ(out.m_things[0]->m_frames.size(), 2u);
    ASSERT_EQ(out.m_cogs.size(), 1u);
    EXPECT_EQ(out.m_cogs[0]->m_script, "00_door.cog");
}

TEST_F(QzbenchApplyDoorTest, RefusalsWriteNothingAndUndoGivesBackTheOpenedLevel)
{
    const struct {
        std::string words;
        const char* message;
    } cases[] = {
        {m_wall + " height=3.5", "exceeds the current"},
        {m_wall + " back=0.5 connect=yes", "no unique opposite surface"},
        {m_wall + " direction=sideways", "direction takes"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(ApplyRefuses(m_temp / "in.qze", m_temp / "out.qze", c.words, c.message))
            << c.words;

    const std::vector<std::uint8_t> opened = OpenedLevelBytes(m_temp / "in.qze");
    int status = -1;
    const std::string output = Apply("undo " + m_wall, status);
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(ReadFileBytes(m_temp / "out.qze"), opened);
}

}  // namespace
