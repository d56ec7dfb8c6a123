// The Cogs in Level window's core against damaged levels: cogs with more values than their script
// has symbols, scripts with no symbols, scripts found nowhere, empty records among the cogs, the
// templates and the level's files, and a level file entry claiming bytes it does not hold.

#include "level/CogInstances.h"

#include "level/CogSymbols.h"
#include "level/GameResources.h"
#include "level/LevelFiles.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "level/TemplateList.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Values = std::vector<std::string>;

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

std::unique_ptr<CQzlCog> Cog(const char* script, Values values)
{
    auto cog = std::make_unique<CQzlCog>(std::string(script));
    cog->m_values = std::move(values);
    return cog;
}

// A box room with the scripts "two.cog" (two symbols) and "none.cog" (no symbols) as level files
// and the cogs of the cases; with emptyRecords also an entry named "hollow.cog" that claims bytes
// it does not hold, and empty records (which the editor's stored form cannot hold, so undo cannot
// run on them).
void Damage(CQzlSections& level, bool emptyRecords = true)
{
    AddLevelFile(level.m_levelFiles, "two.cog", "cog\\two.cog",
                 Bytes("symbols\r\nint a=1\r\nint b=2\r\nend\r\n"));
    AddLevelFile(level.m_levelFiles, "none.cog", "cog\\none.cog", Bytes("symbols\r\nend\r\n"));
    if (emptyRecords) {
        level.m_levelFiles.m_entries.push_back(nullptr);
        auto hollow = std::make_unique<CTreeObject>();
        hollow->m_name = "hollow.cog";
        hollow->m_path = "cog\\hollow.cog";
        hollow->m_size = 40;
        level.m_levelFiles.m_entries.push_back(std::move(hollow));
        level.m_cogs.push_back(nullptr);
    }
    level.m_cogs.push_back(Cog("two.cog", {"5", "6", "7", "8"}));  // more values than symbols
    level.m_cogs.push_back(Cog("none.cog", {"1"}));
    if (emptyRecords)
        level.m_cogs.push_back(nullptr);
    level.m_cogs.push_back(Cog("nowhere.cog", {"x"}));
    level.m_cogs.push_back(Cog("hollow.cog", {}));
    if (emptyRecords)
        level.m_templates.push_back(nullptr);
    level.m_templates.push_back(MakeTemplate("lamp", "none", "cog=two.cog"));
    level.m_cogScripts = {"two.cog", "none.cog", "nowhere.cog", "hollow.cog"};
}

}  // namespace

TEST(CogInstancesDamaged, SymbolsValuesAndEntriesOfDamagedCogs)
{
    CQzlSections level = MakeBoxRoom();
    Damage(level);
    const CGameResources game;

    const CCogWorkList list = LoadCogWorkList(level);
    ASSERT_EQ(list.m_cogs.size(), 4U);
    struct Case {
        int levelIndex;
        int entry;  // in the working list, -1 none
        std::size_t symbols;
    };
    const Case cases[] = {{0, -1, 0}, {1, 0, 2}, {2, 1, 0},  {3, -1, 0},
                          {4, 2, 0},  {5, 3, 0}, {6, -1, 0}, {-1, -1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.levelIndex);
        EXPECT_EQ(CogWorkEntryOfLevelCog(level, c.levelIndex), c.entry);
        if (c.entry < 0)
            continue;
        std::vector<std::string> labels;
        std::vector<std::string> defaults;
        std::vector<std::string> types;
        GetCogSymbols(level, game, list.m_cogs[static_cast<std::size_t>(c.entry)], labels, defaults,
                      types);
        EXPECT_EQ(labels.size(), c.symbols);
    }

    // A value of a cog with more values than symbols keeps the values past the symbols.
    CQzlCog cog = list.m_cogs[0];
    SetCogValue(cog, Values{"1", "2"}, 1, "b");
    EXPECT_EQ(cog.m_values, (Values{"5", "B", "7", "8"}));
    SetCogValue(cog, Values{}, 3, "");
    EXPECT_EQ(cog.m_values, (Values{"5", "B", "7"}));
    // A script without symbols has no defaults to fill in.
    CQzlCog bare = list.m_cogs[1];
    SetCogValue(bare, Values{}, 2, "z");
    EXPECT_EQ(bare.m_values, (Values{"1", "", "Z"}));

    EXPECT_TRUE(CogScriptUsed(level, "TWO.COG"));
    EXPECT_TRUE(CogScriptUsed(level, "nowhere.cog"));
    EXPECT_FALSE(CogScriptUsed(level, "gone.cog"));
}

TEST(CogInstancesDamaged, ApplyOnADamagedLevelIsOneUndoStepAndKeepsWhatItDidNotTouch)
{
    struct Case {
        const char* what;
        int deleteEntry;  // -1: none
        int valueEntry;   // -1: none
        Values scripts;   // of the level's cogs after Apply
        Values cogScripts;
    };
    const Case cases[] = {
        {"nothing changed",
         -1,
         -1,
         {"two.cog", "none.cog", "nowhere.cog", "hollow.cog"},
         {"two.cog", "none.cog", "nowhere.cog", "hollow.cog"}},
        {"the script found nowhere deleted",
         2,
         -1,
         {"two.cog", "none.cog", "hollow.cog"},
         {"two.cog", "none.cog", "hollow.cog"}},
        {"a template still runs the deleted cog's script",
         0,
         -1,
         {"none.cog", "nowhere.cog", "hollow.cog"},
         {"two.cog", "none.cog", "nowhere.cog", "hollow.cog"}},
        {"a value past the symbols of a script without any",
         -1,
         1,
         {"two.cog", "none.cog", "nowhere.cog", "hollow.cog"},
         {"two.cog", "none.cog", "nowhere.cog", "hollow.cog"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto apply = [&c](CQzlSections& level, const CGameResources& game) {
            CCogWorkList list = LoadCogWorkList(level);
            if (c.valueEntry >= 0)
                SetCogValue(list.m_cogs[static_cast<std::size_t>(c.valueEntry)], {}, 3, "q.wav");
            DeleteCogFromWorkList(list, c.deleteEntry);
            ApplyCogWorkList(level, game, list);
            EXPECT_EQ(list.m_cogs.size(), level.m_cogs.size());
            Values scripts;
            for (const auto& cog : level.m_cogs) {
                EXPECT_NE(cog, nullptr);
                scripts.push_back(cog ? cog->m_script : std::string());
            }
            EXPECT_EQ(scripts, c.scripts);
            EXPECT_EQ(level.m_cogScripts, c.cogScripts);
            // The values past the symbols stay where the window did not change them.
            if (!scripts.empty() && scripts.front() == "two.cog") {
                EXPECT_EQ(level.m_cogs[0]->m_values, (Values{"5", "6", "7", "8"}));
            }
            return true;
        };
        CFixtureEngine engine(MakeBoxRoom());
        Damage(engine.m_level, false);
        EXPECT_TRUE(UndoGivesBackExactBytes(engine.m_view,
                                            [&] { return apply(engine.m_level, engine.m_game); }));
        // The cogs keep, on purpose, more values than their scripts have symbols.
        EXPECT_TRUE(LevelIsSound(engine.m_level, {"Cog two.cog contains too many parameters",
                                                  "Cog none.cog contains too many parameters"}));

        // The same on a level with empty records: they are passed over and dropped.
        CQzlSections level = MakeBoxRoom();
        Damage(level);
        apply(level, engine.m_game);
    }
}
