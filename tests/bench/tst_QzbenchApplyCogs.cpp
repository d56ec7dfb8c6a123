// qzbench apply runs the Cogs in Level window's Add, Delete and value entry, each with its Apply,
// with the synthetic game (game=FOLDER): the cog and its script are written, a value takes the
// script's defaults before it, a deleted cog's script stays while another cog uses it, cogs and
// symbols the level lacks are refused with nothing written, and undo gives back the level as
// opened.

#include "SyntheticGame.h"
#include "level/LevelFile.h"
#include "level/QzlSections.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/QzbenchProcess.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Values = std::vector<std::string>;

class QzbenchApplyCogsTest : public QzbenchApplyFileTest {
protected:
    QzbenchApplyCogsTest() : QzbenchApplyFileTest("qz_apply_cogs") {}

    void SetUp() override
    {
        CQzlSections level = MakeEmptyLevel();
        AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
        FinishFixture(level);
        for (const char* script : {"switch.cog", "switch.cog"}) {
            level.m_cogs.push_back(std::make_unique<CQzlCog>(script));
            level.m_cogs.back()->m_values = {"0"};
        }
        level.m_cogScripts = {"switch.cog"};
        SaveIn(level);
        BuildSyntheticGame(m_temp / "game");
        m_game = " game='" + (m_temp / "game").string() + "'";
    }

    std::string m_game;
};

TEST_F(QzbenchApplyCogsTest, AddDeleteAndSetValueWriteTheCogs)
{
    CQzlSections out = Applied("add-cog script=00_lampbank.cog" + m_game);
    // The switches hold only their first value, so that setting a later one fills in defaults.
    EXPECT_TRUE(LevelIsSound(out, {"Cog switch.cog contains too few parameters"}));
    ASSERT_EQ(out.m_cogs.size(), 3U);
    EXPECT_EQ(out.m_cogs[2]->m_script, "00_LAMPBANK.COG");
    EXPECT_EQ(out.m_cogScripts, (Values{"switch.cog", "00_LAMPBANK.COG"}));

    // Value 3 of the second switch: its template and cog defaults fill values 1 and 2.
    out = Applied("set-cog-value index=1 symbol=3 value=+Crateburst" + m_game);
    ASSERT_EQ(out.m_cogs.size(), 2U);
    EXPECT_EQ(out.m_cogs[1]->m_values, (Values{"0", "floor.mat", "red.mat", "+CRATEBURST"}));

    out = Applied("delete-cog index=0" + m_game);
    ASSERT_EQ(out.m_cogs.size(), 1U);
    EXPECT_EQ(out.m_cogScripts, Values{"switch.cog"});

    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze", "delete-cog index=2" + m_game,
                             "The level has no cog 2."));
    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze",
                             "set-cog-value index=0 symbol=9 value=1" + m_game,
                             "The script of cog 0 has no symbol 9."));

    for (const char* words : {"add-cog script=00_lampbank.cog", "delete-cog index=1",
                              "set-cog-value index=0 symbol=8 value=click.wav"}) {
        SCOPED_TRACE(words);
        int status = -1;
        const std::string undone = Run(std::string("undo ") + words + m_game, status);
        ASSERT_EQ(status, 0) << undone;
        EXPECT_EQ(ReadFileBytes(Out()), OpenedLevelBytes(In()));
    }
}

// A cog with more values than its script has symbols, and one whose script is found nowhere: a
// value inside the symbols keeps the values past them, the script found nowhere has no symbol to
// set, and Delete takes it.
TEST_F(QzbenchApplyCogsTest, CogsWithMoreValuesThanSymbolsOrAScriptFoundNowhere)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {4, 3, 4});
    FinishFixture(level);
    Values many;
    for (int i = 0; i < 12; ++i)
        many.push_back(std::to_string(i));
    level.m_cogs.push_back(std::make_unique<CQzlCog>("switch.cog"));
    level.m_cogs.back()->m_values = many;
    level.m_cogs.push_back(std::make_unique<CQzlCog>("nowhere.cog"));
    level.m_cogs.back()->m_values = {"x"};
    level.m_cogScripts = {"switch.cog", "nowhere.cog"};
    SaveIn(level);

    CQzlSections out = Applied("set-cog-value index=0 symbol=1 value=Floor.mat" + m_game);
    EXPECT_TRUE(LevelIsSound(out, {"Cog switch.cog contains too many parameters"}));
    Values expected = many;
    expected[1] = "FLOOR.MAT";
    EXPECT_EQ(out.m_cogs[0]->m_values, expected);
    EXPECT_TRUE(ApplyRefuses(In(), m_temp / "out2.qze",
                             "set-cog-value index=1 symbol=0 value=1" + m_game,
                             "The script of cog 1 has no symbol 0."));
    out = Applied("delete-cog index=1" + m_game);
    ASSERT_EQ(out.m_cogs.size(), 1U);
    EXPECT_EQ(out.m_cogScripts, Values{"switch.cog"});
    for (const char* words : {"set-cog-value index=0 symbol=1 value=x", "delete-cog index=1"}) {
        SCOPED_TRACE(words);
        int status = -1;
        const std::string undone = Run(std::string("undo ") + words + m_game, status);
        ASSERT_EQ(status, 0) << undone;
        EXPECT_EQ(ReadFileBytes(Out()), OpenedLevelBytes(In()));
    }
}

}  // namespace
