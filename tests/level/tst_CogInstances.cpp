// The Cogs in Level window's core: list rows to working entries with two instances of one script,
// the first-symbol clamp and the scroll range, the value entry (defaults filled, upper case, empty
// values trimmed from the end), Delete's script-name rule (applied at Apply), the Apply merge with
// what the level has by then (value by value, and fast on long lists), and Apply on a level
// (sounds, resource lists, one undo step that gives back the bytes).

#include "level/CogInstances.h"

#include "SyntheticGame.h"
#include "engine/Undo.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using Values = std::vector<std::string>;

CQzlCog Cog(const char* script, Values values = {})
{
    CQzlCog cog{std::string(script)};
    cog.m_values = std::move(values);
    return cog;
}

// "script:v1,v2;" for each cog.
std::string Describe(const std::vector<CQzlCog>& cogs)
{
    std::string text;
    for (const CQzlCog& cog : cogs) {
        text += cog.m_script + ":";
        for (std::size_t i = 0; i < cog.m_values.size(); ++i)
            text += (i > 0 ? "," : "") + cog.m_values[i];
        text += ";";
    }
    return text;
}

CCogWorkList ListOf(std::vector<CQzlCog> cogs)
{
    CQzlSections level;
    for (CQzlCog& cog : cogs)
        level.m_cogs.push_back(std::make_unique<CQzlCog>(std::move(cog)));
    return LoadCogWorkList(level);
}

}  // namespace

TEST(CogInstanceRows, TheKthRowOfATextIsTheKthInstanceOfItsScript)
{
    // Working list order: door, switch, door; the sorted list shows door, door, switch.
    const std::vector<CQzlCog> cogs = {Cog("DOOR.COG", {"1"}), Cog("switch.cog"),
                                       Cog("Door.cog", {"2"})};
    const std::vector<std::string> rows = {"door.cog", "door.cog", "switch.cog"};
    EXPECT_EQ(CogEntryOfRow(rows, 0, cogs), 0);
    EXPECT_EQ(CogEntryOfRow(rows, 1, cogs), 2);
    EXPECT_EQ(CogEntryOfRow(rows, 2, cogs), 1);
    EXPECT_EQ(CogEntryOfRow(rows, -1, cogs), -1);
    EXPECT_EQ(CogEntryOfRow(rows, 3, cogs), -1);
    // A third "door.cog" row has no third instance.
    const std::vector<std::string> more = {"door.cog", "door.cog", "door.cog"};
    EXPECT_EQ(CogEntryOfRow(more, 2, cogs), -1);
}

TEST(CogInstanceRows, FirstSymbolClampAndScrollRange)
{
    const struct {
        int count, first, want;
    } cases[] = {
        {0, 0, 0},  {0, 3, 0},    {5, 0, 0},    {5, 4, 0},    {14, 0, 0},
        {14, 1, 0}, {15, 0, 0},   {15, 1, 1},   {15, 2, 1},   {15, -1, 0},
        {30, 0, 0}, {30, 10, 10}, {30, 16, 16}, {30, 17, 16}, {30, 99, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " symbols, first " << c.first);
        EXPECT_EQ(ClampFirstCogSymbol(c.first, c.count), c.want);
    }
    const struct {
        int count, maximum;
        bool shown;
    } ranges[] = {{0, 0, false}, {5, 0, false}, {14, 0, false}, {15, 1, true}, {30, 16, true}};
    for (const auto& r : ranges) {
        SCOPED_TRACE(r.count);
        EXPECT_EQ(CogScrollMaximum(r.count), r.maximum);
        EXPECT_EQ(CogScrollShown(r.count), r.shown);
    }
}

TEST(CogValueEntry, FillsDefaultsUpperCasesAndTrimsTheEnd)
{
    const Values defaults = {"-1", "-1", "door.wav", "2.5", "", "7"};
    const struct {
        Values before;
        int symbol;
        const char* text;
        Values want;
    } cases[] = {
        // Row 5 of an instance with two values: values 3 and 4 take the defaults.
        {{"3", "4"}, 4, "ab", {"3", "4", "door.wav", "2.5", "AB"}},
        {{}, 0, "Lava.mat", {"LAVA.MAT"}},
        {{"1", "2", "3"}, 1, "x", {"1", "X", "3"}},
        // Clearing the last value drops it and every empty value before it.
        {{"1", "", "", "5"}, 3, "", {"1"}},
        // A default that is empty itself is trimmed when it ends the list.
        {{"1"}, 5, "", {"1", "-1", "door.wav", "2.5"}},
        // Beyond the defaults the missing values stay empty.
        {{}, 7, "z", {"-1", "-1", "door.wav", "2.5", "", "7", "", "Z"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.symbol);
        CQzlCog cog = Cog("door.cog", c.before);
        SetCogValue(cog, defaults, c.symbol, c.text);
        EXPECT_EQ(cog.m_values, c.want);
    }
}

// A level with the given instances and cog-script names (no game: the scripts are not found).
std::unique_ptr<CQzlSections> LevelOf(std::vector<CQzlCog> cogs, Values scripts)
{
    auto level = std::make_unique<CQzlSections>();
    for (CQzlCog& cog : cogs)
        level->m_cogs.push_back(std::make_unique<CQzlCog>(std::move(cog)));
    level->m_cogScripts = std::move(scripts);
    return level;
}

TEST(CogWorkList, DeleteReleasesTheScriptNameOnlyAtApplyWhenNothingUsesIt)
{
    const CGameResources game;
    auto level =
        LevelOf({Cog("door.cog"), Cog("switch.cog"), Cog("DOOR.COG")}, {"DOOR.COG", "SWITCH.COG"});
    CCogWorkList list = LoadCogWorkList(*level);
    DeleteCogFromWorkList(list, 0);
    DeleteCogFromWorkList(list, 1);  // the last door
    EXPECT_EQ(Describe(list.m_cogs), "switch.cog:;");
    EXPECT_EQ(list.m_origins, std::vector<int>{1});
    // The level's doors are still there until Apply (Cancel would keep them): so are their names.
    EXPECT_EQ(level->m_cogScripts, (Values{"DOOR.COG", "SWITCH.COG"}));
    DeleteCogFromWorkList(list, 5);  // out of range: nothing
    EXPECT_EQ(list.m_cogs.size(), 1U);
    ApplyCogWorkList(*level, game, list);
    EXPECT_EQ(level->m_cogScripts, Values{"SWITCH.COG"});

    // A name listed twice stays; so does one that a template of the level runs under "cog=".
    level = LevelOf({Cog("switch.cog"), Cog("lamp.cog")}, {"switch.cog", "SWITCH.COG", "LAMP.COG"});
    level->m_templates.push_back(std::make_unique<CQzlTemplate>());
    level->m_templates.back()->m_name = "lamp";
    level->m_templates.back()->m_params = "type=actor cog=Lamp.cog";
    list = LoadCogWorkList(*level);
    DeleteCogFromWorkList(list, 1);
    DeleteCogFromWorkList(list, 0);
    ApplyCogWorkList(*level, game, list);
    EXPECT_TRUE(level->m_cogs.empty());
    EXPECT_EQ(level->m_cogScripts, (Values{"switch.cog", "SWITCH.COG", "LAMP.COG"}));

    // Add lists a script once, whatever its letter case; one added and deleted again goes.
    level = LevelOf({}, {"switch.cog"});
    list = LoadCogWorkList(*level);
    EXPECT_EQ(AddCogToWorkList(list, *level, "Switch.cog"), 0);
    EXPECT_EQ(AddCogToWorkList(list, *level, "LAMP.COG"), 1);
    EXPECT_EQ(level->m_cogScripts, (Values{"switch.cog", "LAMP.COG"}));
    EXPECT_EQ(list.m_origins, (std::vector<int>{-1, -1}));
    DeleteCogFromWorkList(list, 1);
    ApplyCogWorkList(*level, game, list);
    EXPECT_EQ(level->m_cogScripts, Values{"switch.cog"});
}

TEST(CogWorkList, ApplyMergesWithWhatTheLevelHasNow)
{
    const std::vector<CQzlCog> loaded = {Cog("a.cog", {"5"}), Cog("b.cog", {"7", "3"}),
                                         Cog("c.cog", {"9"})};
    const struct {
        const char* name;
        // What the window does to its copy of loaded.
        void (*window)(CCogWorkList&);
        // What the level has at Apply.
        std::vector<CQzlCog> current;
        const char* want;
    } cases[] = {
        {"nothing on either side", [](CCogWorkList&) {}, loaded, "a.cog:5;b.cog:7,3;c.cog:9;"},
        {"untouched instance renumbered behind the window keeps the level's values",
         [](CCogWorkList& l) { l.m_cogs[0].m_values = {"1"}; },
         {Cog("a.cog", {"5"}), Cog("b.cog", {"6"}), Cog("c.cog", {"8"})},
         "a.cog:1;b.cog:6;c.cog:8;"},
        {"edited instance takes the window's values over the level's",
         [](CCogWorkList& l) { l.m_cogs[1].m_values = {"70"}; },
         {Cog("a.cog", {"5"}), Cog("b.cog", {"6"}), Cog("c.cog", {"9"})},
         "a.cog:5;b.cog:70;c.cog:9;"},
        {"instance added behind the window stays, the window's added one follows",
         [](CCogWorkList& l) {
             l.m_cogs.push_back(Cog("new.cog"));
             l.m_origins.push_back(-1);
         },
         {Cog("a.cog", {"5"}), Cog("b.cog", {"7", "3"}), Cog("c.cog", {"9"}),
          Cog("belt.cog", {"1"})},
         "a.cog:5;b.cog:7,3;c.cog:9;belt.cog:1;new.cog:;"},
        {"instance deleted in the window goes though the level renumbered it",
         [](CCogWorkList& l) {
             l.m_cogs.erase(l.m_cogs.begin());
             l.m_origins.erase(l.m_origins.begin());
         },
         {Cog("a.cog", {"4"}), Cog("b.cog", {"7", "3"}), Cog("c.cog", {"9"})},
         "b.cog:7,3;c.cog:9;"},
        {"instance deleted behind the window stays gone, the others keep their edits",
         [](CCogWorkList& l) { l.m_cogs[2].m_values = {"90"}; },
         {Cog("a.cog", {"5"}), Cog("c.cog", {"8"})},
         "a.cog:5;c.cog:90;"},
        {"two values: the window's edit of value 0 keeps value 1 renumbered behind it",
         [](CCogWorkList& l) {
             l.m_cogs[1].m_values = {"0", "3"};
         },
         {Cog("a.cog", {"5"}), Cog("b.cog", {"7", "2"}), Cog("c.cog", {"9"})},
         "a.cog:5;b.cog:0,2;c.cog:9;"},
        {"values the window appended follow the level's renumbered ones",
         [](CCogWorkList& l) {
             l.m_cogs[0].m_values = {"5", "", "X"};
         },
         {Cog("a.cog", {"4"}), Cog("b.cog", {"7", "3"}), Cog("c.cog", {"9"})},
         "a.cog:4,,X;b.cog:7,3;c.cog:9;"},
        {"a value the window cleared stays cleared though the level renumbered it",
         [](CCogWorkList& l) { l.m_cogs[2].m_values = {}; },
         {Cog("a.cog", {"5"}), Cog("b.cog", {"7", "3"}), Cog("c.cog", {"8"})},
         "a.cog:5;b.cog:7,3;c.cog:;"},
        {"undo behind the window took every instance away",
         [](CCogWorkList& l) { l.m_cogs[0].m_values = {"1"}; },
         {},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CCogWorkList list = ListOf(loaded);
        c.window(list);
        EXPECT_EQ(Describe(MergeCogInstances(list, c.current)), c.want);
    }
}

TEST(CogWorkList, TwoInstancesOfAScriptMatchTheOneWithEqualValues)
{
    // The level lost the first door behind the window; the window edited the second.
    CCogWorkList list = ListOf({Cog("door.cog", {"1"}), Cog("door.cog", {"2"})});
    list.m_cogs[1].m_values = {"20"};
    EXPECT_EQ(Describe(MergeCogInstances(list, std::vector<CQzlCog>{Cog("door.cog", {"2"})})),
              "door.cog:20;");
}

TEST(CogWorkList, MergeOfLongListsIsFast)
{
    // 20,000 instances: the level renumbered one behind the window, the window edited another,
    // and then the level renumbered every one (no table of the whole lists is made either way).
    std::vector<CQzlCog> cogs;
    for (int i = 0; i < 20000; ++i)
        cogs.push_back(Cog(i % 3 == 0 ? "door.cog" : "lamp.cog", {std::to_string(i)}));
    CCogWorkList list = ListOf(cogs);
    list.m_cogs[5000].m_values = {"EDITED"};
    std::vector<CQzlCog> current = cogs;
    current[12000].m_values = {"RENUMBERED"};
    std::vector<CQzlCog> everyOne = cogs;
    for (CQzlCog& cog : everyOne)
        cog.m_values.push_back("1");

    const auto start = std::chrono::steady_clock::now();
    const std::vector<CQzlCog> merged = MergeCogInstances(list, current);
    const std::vector<CQzlCog> mergedAll = MergeCogInstances(list, everyOne);
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 2.0);
    ASSERT_EQ(merged.size(), cogs.size());
    EXPECT_EQ(merged[5000].m_values, Values{"EDITED"});
    EXPECT_EQ(merged[12000].m_values, Values{"RENUMBERED"});
    EXPECT_EQ(merged[4999].m_values, Values{"4999"});
    ASSERT_EQ(mergedAll.size(), cogs.size());
    EXPECT_EQ(mergedAll[5000].m_values, (Values{"EDITED", "1"}));
    EXPECT_EQ(mergedAll[19999].m_values, (Values{"19999", "1"}));
}

TEST(CogWorkList, ApplyIsOneUndoStepWithSoundsAndResourceLists)
{
    const auto synthetic = MakeSyntheticGame(0);
    CFixtureEngine engine(MakeBoxRoom());
    engine.m_game = std::move(synthetic->m_resources);
    C3dView& view = engine.m_view;
    CQzlSections& level = engine.m_level;
    level.m_cogs.push_back(std::make_unique<CQzlCog>(Cog("switch.cog", {"0"})));
    level.m_cogScripts = {"switch.cog"};

    // The switch's defaults, its click (value 8) last.
    const Values switchDefaults = {"",         "floor.mat",   "red.mat", "+sparks",   "",
                                   "walk.key", "noweapon.ai", "3",       "switch.wav"};
    CCogWorkList list = LoadCogWorkList(level);
    EXPECT_TRUE(UndoGivesBackExactBytes(view, [&] {
        const int added = AddCogToWorkList(list, level, "00_LAMPBANK.COG");
        SetCogValue(list.m_cogs[static_cast<std::size_t>(added)], {}, 0, "3");
        SetCogValue(list.m_cogs[0], switchDefaults, 8, "Click.WAV");
        ApplyCogWorkList(level, engine.m_game, list);
        return true;
    }));
    EXPECT_TRUE(LevelIsSound(level));
    ASSERT_EQ(level.m_cogs.size(), 2U);
    EXPECT_EQ(level.m_cogs[0]->m_values.back(), "CLICK.WAV");
    EXPECT_EQ(level.m_cogs[1]->m_script, "00_LAMPBANK.COG");
    EXPECT_EQ(level.m_cogs[1]->m_values, Values{"3"});
    const auto listed = [](const std::vector<std::string>& names, const char* name) {
        for (const std::string& n : names)
            if (EqualsNoCase(n, name))
                return true;
        return false;
    };
    EXPECT_TRUE(listed(level.m_sounds, "CLICK.WAV"));
    EXPECT_TRUE(listed(level.m_cogScripts, "00_LAMPBANK.COG"));
    // The cog scripts were read again: the lamp bank's sound default is listed.
    EXPECT_TRUE(listed(level.m_sounds, "switch.wav"));
    // The list goes on from what the level has now.
    EXPECT_EQ(Describe(list.m_cogs), Describe(list.m_loaded));
    EXPECT_EQ(list.m_origins, (std::vector<int>{0, 1}));
}
