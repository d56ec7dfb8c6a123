#include "level/TemplateTree.h"

#include "SyntheticGame.h"
#include "engine/C3dView.h"
#include "level/QzlCog.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "level/QzlThing.h"
#include "level/TemplateList.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Templates from lines "name based-on parameters".
CTemplateList Templates(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (const std::string_view line : lines)
        text += std::string(line) + "\n";
    return ReadTemplateList(text);
}

std::vector<std::string> Names(const CTemplateList& list)
{
    std::vector<std::string> names;
    for (const auto& entry : list)
        names.push_back(entry->m_name);
    return names;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(TemplateTree, EachTemplateHangsUnderTheNearestEarlierTemplateOfItsBase)
{
    const CTemplateList list = Templates({
        "_base none a=1",    // 0: root
        "_decor _base b=1",  // 1: under 0
        "crate _decor c=1",  // 2: under 1
        "early later d=1",   // 3: its base is listed after it: root
        "later none e=1",    // 4: root
        "orphan absent f",   // 5: its base is not listed: root
        "_decor _base g=1",  // 6: a second "_decor" under 0
        "box _decor h=1",    // 7: under the nearer "_decor", 6
        "self self i=1",     // 8: itself is not inserted yet: root
    });
    EXPECT_EQ(TemplateTreeParents(list), (std::vector<int>{-1, 0, 1, -1, -1, -1, 0, 6, -1}));

    // The comparison is exact: the list is read lower-cased, a base in other case is not found.
    CTemplateList mixed = Templates({"_base none", "crate _base"});
    mixed[1]->m_basedOn = "_BASE";
    EXPECT_EQ(TemplateTreeParents(mixed), (std::vector<int>{-1, -1}));
}

TEST(TemplateTree, LookupTakesTheLastExactNameAndSearchTheFirstBeginning)
{
    const CTemplateList list =
        Templates({"_base none", "crate _base", "cratechunk crate", "crate _base", "lamp _base"});
    struct Case {
        const char* text;
        int lookup;  // FindTemplateItem
        int search;  // SearchTemplate
    };
    const Case cases[] = {
        {"crate", 3, 1},   {"lamp", 4, 4},    {"cra", -1, 1},       {"", -1, 0},
        {"CRATE", -1, -1}, {"zebra", -1, -1}, {"cratechunk", 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FindTemplateItem(list, c.text), c.lookup);
        EXPECT_EQ(SearchTemplate(list, c.text), c.search);
    }
    EXPECT_EQ(SearchTemplate({}, ""), -1);
}

TEST(TemplateTree, DeleteWalksUpTheBasesThatNothingElseUses)
{
    struct Case {
        const char* name;
        const char* thingTemplate;  // a second thing's template, "" none
        Strings removed;
        bool stoppedByThing;
    };
    // A "crate" thing stands in the room.
    const Case cases[] = {
        // Shares its base with "crate": only itself.
        {"lamp", "", {"lamp"}, false},
        // The last derived template takes its bases with it up to the one still shared.
        {"brute", "", {"brute", "warden", "ranger"}, false},
        // Up to "none".
        {"leaf", "", {"leaf", "stem", "root"}, false},
        // A base a thing uses stays; what was removed before it stays removed.
        {"brute", "WARDEN", {"brute"}, true},
        // A template a thing uses is refused: nothing changes.
        {"crate", "", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFixtureEngine engine(MakeBoxRoom());
        engine.m_level.m_templates = Templates({
            "_base none type=default",
            "_decor _base type=decor",
            "crate _decor model3d=crate.3do",
            "lamp _decor model3d=lamp.3do",
            "ranger _base model3d=ranger.3do",
            "warden ranger model3d=warden.3do",
            "brute warden model3d=brute.3do",
            "root none type=x",
            "stem root type=y",
            "leaf stem type=z",
        });
        AddCrate(engine.m_level, 0, {0.5f, 0.5f, 0.5f});
        if (*c.thingTemplate != '\0') {
            AddCrate(engine.m_level, 0, {0.1f, 0.1f, 0.1f});
            engine.m_level.m_things.back()->m_template = c.thingTemplate;
        }
        const Strings before = Names(engine.m_level.m_templates);
        CTemplateDeletion deletion;
        const auto run = [&] {
            deletion = DeleteLevelTemplate(engine.m_level,
                                           FindTemplateItem(engine.m_level.m_templates, c.name));
            return !deletion.m_removed.empty();
        };
        if (c.removed.empty())
            EXPECT_FALSE(run());
        else
            EXPECT_TRUE(UndoGivesBackExactBytes(engine.m_view, run));
        EXPECT_EQ(deletion.m_removed, c.removed);
        EXPECT_EQ(deletion.m_stoppedByThing, c.stoppedByThing);
        EXPECT_TRUE(LevelIsSound(engine.m_level));
        Strings expected;
        for (const std::string& name : before)
            if (std::find(c.removed.begin(), c.removed.end(), name) == c.removed.end())
                expected.push_back(name);
        EXPECT_EQ(Names(engine.m_level.m_templates), expected);
    }
}

TEST(TemplateTree, DeleteReleasesOnlyTheResourcesNoRemainingTemplateNames)
{
    CQzlSections level = MakeBoxRoom();
    level.m_templates = Templates({
        "_base none type=default",
        "gone _base model3d=shared.3do cog=gone.cog soundclass=gone.snd puppet=gone.pup "
        "aiclass=gone.ai sprite=gone.spr",
        "kept _base model3d=shared.3do soundclass=kept.snd",
    });
    level.m_models = {"shared.3do", "other.3do"};
    level.m_cogScripts = {"gone.cog"};
    level.m_soundClasses = {"kept.snd", "gone.snd"};
    level.m_puppets = {"gone.pup"};
    level.m_aiClasses = {"gone.ai"};
    level.m_sprites = {"gone.spr"};
    const CTemplateDeletion deletion = DeleteLevelTemplate(level, 1);
    EXPECT_EQ(deletion.m_removed, Strings{"gone"});
    EXPECT_EQ(level.m_models, (Strings{"shared.3do", "other.3do"}));
    EXPECT_TRUE(level.m_cogScripts.empty());
    EXPECT_EQ(level.m_soundClasses, Strings{"kept.snd"});
    EXPECT_TRUE(level.m_puppets.empty());
    EXPECT_TRUE(level.m_aiClasses.empty());
    EXPECT_TRUE(level.m_sprites.empty());

    // An index outside the list changes nothing.
    EXPECT_TRUE(DeleteLevelTemplate(level, 5).m_removed.empty());
    EXPECT_TRUE(DeleteLevelTemplate(level, -1).m_removed.empty());
    EXPECT_EQ(level.m_templates.size(), 2U);
}

TEST(TemplateTree, DeleteKeepsTheCogScriptThatACogInstanceRuns)
{
    CQzlSections level = MakeBoxRoom();
    level.m_templates = Templates({"lamp none cog=lamp.cog", "fan none cog=fan.cog"});
    level.m_cogScripts = {"lamp.cog", "fan.cog"};
    level.m_cogs.push_back(std::make_unique<CQzlCog>(std::string("LAMP.COG")));
    EXPECT_EQ(DeleteLevelTemplate(level, 0).m_removed, Strings{"lamp"});
    EXPECT_EQ(level.m_cogScripts, (Strings{"lamp.cog", "fan.cog"}));
    EXPECT_EQ(DeleteLevelTemplate(level, 0).m_removed, Strings{"fan"});
    EXPECT_EQ(level.m_cogScripts, Strings{"lamp.cog"});
}

TEST(TemplateTree, AddTakesTheTemplateWithItsBasesAndReferences)
{
    CFixtureEngine engine(MakeBoxRoom());
    const CTemplateList master = ReadTemplateList(SyntheticTemplateList(0));
    engine.m_level.m_templates.clear();
    EXPECT_TRUE(UndoGivesBackExactBytes(
        engine.m_view, [&] { return AddLevelTemplate(engine.m_level, master, "CRATE"); }));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
    const Strings names = Names(engine.m_level.m_templates);
    for (const char* name : {"_base", "_decor", "crate", "+cratechunk", "_fx", "+crateburst"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    // Bases before the template.
    EXPECT_LT(std::find(names.begin(), names.end(), "_decor"),
              std::find(names.begin(), names.end(), "crate"));

    const std::size_t count = engine.m_level.m_templates.size();
    EXPECT_FALSE(AddLevelTemplate(engine.m_level, master, "nosuchthing"));
    EXPECT_EQ(engine.m_level.m_templates.size(), count);
}
