#include "SyntheticGame.h"
#include "episode/StartGoalsCogs.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

void AddCog(CQzlSections& level, const std::string& script, Strings values = {})
{
    auto cog = std::make_unique<CQzlCog>(script);
    cog->m_values = std::move(values);
    level.m_cogs.push_back(std::move(cog));
}

// A script carried among the level's own files.
void AddLevelScript(CQzlSections& level, const std::string& name, std::string_view symbols)
{
    const std::string text = "# test\nsymbols\n" + std::string(symbols) + "end\ncode\nend\n";
    auto entry =
        std::make_unique<CTreeObject>(name, std::vector<std::uint8_t>(text.begin(), text.end()), 0);
    int position = 0;
    level.m_levelFiles.Find(name, position);
    level.m_levelFiles.m_entries.insert(level.m_levelFiles.m_entries.begin() + position,
                                        std::move(entry));
}

Strings Scripts(const CQzlSections& level)
{
    Strings names;
    for (const auto& cog : level.m_cogs)
        names.push_back(cog->m_script);
    return names;
}

TEST(StartGoalsCogs, SwitchedOnAddsOneInstanceOfEachAndListsItsScript)
{
    CQzlSections level;
    AddCog(level, "door.cog", {"3"});
    level.m_cogScripts = {"door.cog", "QZEDIT_GOALS.COG"};  // listed already, in other letters

    ImportStartGoalsCogs(level, true, true);
    EXPECT_EQ(Scripts(level), (Strings{"door.cog", kStartCogScript, kGoalsCogScript}));
    EXPECT_TRUE(level.m_cogs[1]->m_values.empty());
    EXPECT_TRUE(level.m_cogs[2]->m_values.empty());
    EXPECT_EQ(level.m_cogScripts, (Strings{"door.cog", "QZEDIT_GOALS.COG", kStartCogScript}));
    EXPECT_EQ(level.m_cogs[0]->m_values, Strings{"3"});

    // Applying again, or with an instance named in other letters, adds nothing.
    level.m_cogs[1]->m_script = "QzEdit_Start.cog";
    ImportStartGoalsCogs(level, true, true);
    EXPECT_EQ(level.m_cogs.size(), 3u);
    EXPECT_EQ(level.m_cogScripts.size(), 3u);
}

// Cog 0 links to other cogs by index; the start and goals cogs stand between it and the cogs it
// names. Removing them moves the later cogs down, and the links follow.
TEST(StartGoalsCogs, SwitchedOffRemovesTheInstancesAndLinksToLaterCogsFollow)
{
    CQzlSections level;
    AddLevelScript(level, "linker.cog",
                   "cog         first\n"
                   "thing       someone\n"
                   "cog         second\n"
                   "int         skipped         local\n"
                   "cog         third\n"
                   "cog         fourth\n");
    AddCog(level, "linker.cog", {"1", "3", "4", "0", "word"});
    AddCog(level, kStartCogScript);
    AddCog(level, "door.cog");
    AddCog(level, "QZEDIT_GOALS.COG");
    AddCog(level, "mystery.cog", {"3", "4"});  // its script is found nowhere
    level.m_cogScripts = {"linker.cog", kStartCogScript, "door.cog", kGoalsCogScript,
                          "mystery.cog"};

    ImportStartGoalsCogs(level, false, false);

    EXPECT_EQ(Scripts(level), (Strings{"linker.cog", "door.cog", "mystery.cog"}));
    EXPECT_EQ(level.m_cogScripts, (Strings{"linker.cog", "door.cog", "mystery.cog"}));
    // first named the start cog: none now. The thing value 3 is no cog and stays. second named
    // the mystery cog (4, now 2); third named cog 0 (unchanged); fourth holds no number.
    EXPECT_EQ(level.m_cogs[0]->m_values, (Strings{"-1", "3", "2", "0", "word"}));
    EXPECT_EQ(level.m_cogs[2]->m_values, (Strings{"3", "4"}));
}

TEST(StartGoalsCogs, LinksFollowWithTheGamesScripts)
{
    const std::unique_ptr<CSyntheticGame> game = MakeSyntheticGame(0);
    CQzlSections level;
    AddCog(level, kStartCogScript);
    // switch.cog: switchface, offmat, onmat, spawn, target (a cog), pullanim, guard, uses, click.
    AddCog(level, "switch.cog",
           {"0", "floor.mat", "red.mat", "+sparks", "2", "walk.key", "noweapon.ai", "2",
            "switch.wav"});
    AddCog(level, "door.cog");

    ImportStartGoalsCogs(level, false, true, game->m_resources);

    EXPECT_EQ(Scripts(level), (Strings{"switch.cog", "door.cog", kGoalsCogScript}));
    EXPECT_EQ(level.m_cogs[0]->m_values, (Strings{"0", "floor.mat", "red.mat", "+sparks", "1",
                                                  "walk.key", "noweapon.ai", "2", "switch.wav"}));
}

TEST(StartGoalsCogs, NewDocumentFields)
{
    const CDocumentFields fields = DefaultDocumentFields();
    EXPECT_EQ(fields.m_episodeTitle, "QzEdit Level");
    EXPECT_EQ(fields.m_levelFileName, "qzedit.qzl");
    EXPECT_EQ(fields.m_messageText, "MSGS 4\r\n\"QZEDIT\"\t\t\t0\t\"Testing Custom Level\"\r\n"
                                    "\"QZEDIT_TEXT_00\"\t0\t\"^Objectives\"\r\n"
                                    "\"QZEDIT_TEXT_01\"\t0\t\"Mission Description.\"\r\n"
                                    "\"GOAL_01000\"\t\t0\t\"Goal Description.\"\r\nEND\r\n");
    EXPECT_EQ(fields.m_episodeType, 0);
    EXPECT_EQ(fields.m_levelKind, 0);
    EXPECT_EQ(fields.m_lightPower, 0);
    EXPECT_EQ(fields.m_darkPower, 0);
    EXPECT_EQ(fields.m_startCogOn, 1);
    EXPECT_EQ(fields.m_goalsCogOn, 1);
}

}  // namespace
