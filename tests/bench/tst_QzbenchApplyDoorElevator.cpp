// qzbench apply runs the Door and Elevator commands from a script: the door thing and its cog,
// the elevator's shaft, thing and switch cogs are written; the dialogs' checks refuse an opening
// or footprint too large for the surface, a door join with nothing behind, an elevator join with
// nothing beyond takes its build back, and undo gives back the level as opened.

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

struct SRefusal {
    std::string words;
    const char* message;
};

// A room from (0, 0, 0) to (4, 3, 4): the door goes into its wall z = 0 from (2, 0, 0) up, the
// elevator's footprint is centred on (2, 0, 2) of its floor.
class QzbenchApplyDoorElevatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
        FinishFixture(level);
        m_wall = "create-door sector=0 surface=" + std::to_string(BoxSurface(level, 0, kBoxZLow)) +
                 " node=2,0,0 node=2,1,0";
        m_floor =
            "create-elevator sector=0 surface=" + std::to_string(BoxSurface(level, 0, kBoxFloor)) +
            " node=2,0,2 node=2,0,3";
        SaveQzeFile(m_temp / "in.qze", level, CDocumentFields{});
    }

    std::string Apply(const std::string& words, int& status)
    {
        return RunQzbenchApply(m_temp / "in.qze", m_temp / "out.qze", words, status);
    }

    CQzlSections Built(const std::string& words)
    {
        int status = -1;
        const std::string output = Apply(words, status);
        EXPECT_EQ(status, 0) << output;
        CQzlSections out = std::move(LoadLevelFile(m_temp / "out.qze", 0).m_contents.m_level);
        EXPECT_TRUE(LevelIsSound(out));
        return out;
    }

    // Each case refuses with its message and writes nothing; the operation of undoWords undone
    // writes the level as opened.
    void ExpectRefusals(const std::vector<SRefusal>& cases, const std::string& undoWords)
    {
        for (const SRefusal& c : cases)
            EXPECT_TRUE(ApplyRefuses(m_temp / "in.qze", m_temp / "out.qze", c.words, c.message))
                << c.words;
        const std::vector<std::uint8_t> opened = OpenedLevelBytes(m_temp / "in.qze");
        int status = -1;
        const std::string output = Apply("undo " + undoWords, status);
        ASSERT_EQ(status, 0) << output;
        EXPECT_EQ(ReadFileBytes(m_temp / "out.qze"), opened);
    }

    CTempFolder m_temp{"qz_apply_door_elevator"};
    std::string m_wall;
    std::string m_floor;
};

TEST_F(QzbenchApplyDoorElevatorTest, TheDoorItsThingAndItsCogAreWritten)
{
    const CQzlSections out = Built(m_wall + " template=door front=0.5 direction=left");
    ASSERT_EQ(out.m_things.size(), 1u);
    EXPECT_EQ(out.m_things[0]->m_frames.size(), 2u);
    ASSERT_EQ(out.m_cogs.size(), 1u);
    EXPECT_EQ(out.m_cogs[0]->m_script, "00_door.cog");
}

TEST_F(QzbenchApplyDoorElevatorTest, TheShaftTheElevatorAndItsSwitchCogsAreWritten)
{
    const CQzlSections out = Built(m_floor + " template=lift direction=down shaft=2 sub-shaft=0.5");
    // The room carved round the column, the shaft and the sub-shaft.
    EXPECT_EQ(out.m_sectors.size(), 7u);
    ASSERT_EQ(out.m_things.size(), 1u);
    EXPECT_EQ(out.m_things[0]->m_template, "lift");
    EXPECT_EQ(out.m_things[0]->m_frames.size(), 2u);
    ASSERT_EQ(out.m_cogs.size(), 2u);
    EXPECT_EQ(out.m_cogs[0]->m_script, "00_elev_switch.cog");
    EXPECT_EQ(out.m_cogs[1]->m_values.back(), "0");
}

TEST_F(QzbenchApplyDoorElevatorTest, DoorRefusalsWriteNothingAndUndoGivesBackTheOpenedLevel)
{
    ExpectRefusals(
        {
            {m_wall + " height=3.5", "exceeds the current"},
            {m_wall + " back=0.5 connect=yes", "no unique opposite surface"},
            {m_wall + " direction=sideways", "direction takes"},
        },
        m_wall);
}

TEST_F(QzbenchApplyDoorElevatorTest, ElevatorRefusalsWriteNothingAndUndoGivesBackTheOpenedLevel)
{
    ExpectRefusals(
        {
            {m_floor + " width=5", "exceeds the current"},
            {m_floor + " direction=down connect=yes", "Cannot create elevator."},
            {m_floor + " shaft=0", "shaft takes"},
            {m_floor + " direction=sideways", "direction takes"},
        },
        m_floor);
}

}  // namespace
