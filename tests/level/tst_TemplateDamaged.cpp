// The template data file, the working list's edits and the Template dialog's core against hostile
// files and damaged lists: line ends of CR only, tabs, a 100 KB line, NUL bytes, a last line
// without line end, an empty file; empty records in the lists; templates with empty names, based
// on themselves or on each other in a cycle; parameters without "=" or with "model3d=" at the end.

#include "engine/C3dView.h"
#include "engine/TemplatePreview.h"
#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/QzlTemplate.h"
#include "level/TemplateList.h"
#include "level/TemplateTree.h"
#include "support/FixtureLevels.h"
#include "support/LevelOracle.h"
#include "support/TempFolder.h"
#include "support/UndoCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

Strings Names(const CTemplateEntries& entries)
{
    Strings names;
    for (const auto& entry : entries)
        names.push_back(entry ? entry->m_name : std::string("<null>"));
    return names;
}

CTemplateEntries Read(std::string_view text)
{
    return ReadTemplateList(text);
}

}  // namespace

TEST(TemplateFileDamaged, HostileTextsReadAsTheGrammarSaysAndWriteBackStably)
{
    const std::string longParams(100000, 'x');
    const std::string nulName("a\0b", 3);
    struct Case {
        const char* what;
        std::string text;
        Strings names;
        std::string firstBase, firstParams, firstModel;
        std::string writeProblem;  // empty: the list writes, and what it writes reads back alike
    };
    const Case cases[] = {
        {"empty file", "", {}, "", "", "", ""},
        {"only a line end", "\n", {}, "", "", "", ""},
        {"last line without line end",
         "crate none model3d=crate.3do size=0.1",
         {"crate"},
         "none",
         "model3d=crate.3do size=0.1",
         "crate.3do",
         ""},
        {"CR only: one line, the inner CRs kept in the parameters",
         "a b c=1\rd e f=2\r",
         {"a"},
         "b",
         "c=1\rd e f=2",
         "",
         ""},
        {"tabs between the words and inside the parameters",
         "lamp\t_decor\tmodel3d=lamp.3do\tsize=0.2\n",
         {"lamp"},
         "_decor",
         "model3d=lamp.3do\tsize=0.2",
         "lamp.3do",
         ""},
        {"a 100 KB line", "big none " + longParams + "\n", {"big"}, "none", longParams, "", ""},
        {"NUL bytes inside a name", nulName + " none c=1\n", {nulName}, "none", "c=1", "", ""},
        {"CRLF, the empty line ends the data",
         "Crate NONE X=1\r\n\r\nlost none y=2\r\n",
         {"crate"},
         "none",
         "x=1",
         "",
         ""},
        {"a name only", "alone\n", {"alone"}, "", "", "", ""},
        {"parameters without \"=\"",
         "odd none words only here\n",
         {"odd"},
         "none",
         "words only here",
         "",
         ""},
        {"\"model3d=\" at the very end",
         "tail none size=1 model3d=\n",
         {"tail"},
         "none",
         "size=1 model3d=",
         "",
         ""},
        {"a line that starts with a blank has an empty name",
         " lead none x=1\n",
         {""},
         "lead",
         "none x=1",
         "",
         "Template #1: The template name is empty."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CTemplateEntries read = Read(c.text);
        EXPECT_EQ(Names(read), c.names);
        if (read.empty())
            continue;
        EXPECT_EQ(read[0]->m_basedOn, c.firstBase);
        EXPECT_EQ(read[0]->m_params, c.firstParams);
        EXPECT_EQ(read[0]->m_model, c.firstModel);

        std::string text;
        std::string problem;
        EXPECT_EQ(TemplateListText(read, text, problem), c.writeProblem.empty());
        EXPECT_EQ(problem, c.writeProblem);
        if (!c.writeProblem.empty())
            continue;
        // What was written reads back to the same text again.
        const CTemplateEntries again = Read(text);
        EXPECT_EQ(Names(again), c.names);
        std::string second;
        EXPECT_TRUE(TemplateListText(again, second, problem));
        EXPECT_EQ(second, text);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
                  static_cast<std::ptrdiff_t>(c.names.size()));
        EXPECT_EQ(text.find('\r'), std::string::npos);
    }
}

TEST(TemplateFileDamaged, AFileThatCannotBeReadKeepsTheList)
{
    const CTempFolder temp;
    CGameResources resources;
    resources.m_templates = Read("kept none x=1\n");
    std::filesystem::create_directories(temp.Path() / "folder.dat");
    EXPECT_FALSE(LoadTemplateFile(resources, temp.Path() / "folder.dat"));
    EXPECT_FALSE(LoadTemplateFile(resources, temp.Path() / "missing.dat"));
    EXPECT_EQ(Names(resources.m_templates), Strings{"kept"});

    const std::string text("a none x=1\r\nb\tnone\ty=\0z\n", 24);
    WriteFileAtomic(temp.Path() / "t.dat", std::vector<std::uint8_t>(text.begin(), text.end()));
    EXPECT_TRUE(LoadTemplateFile(resources, temp.Path() / "t.dat"));
    EXPECT_EQ(Names(resources.m_templates), (Strings{"a", "b"}));
    EXPECT_EQ(resources.m_templates[1]->m_params, std::string("y=\0z", 4));
}

TEST(TemplateFileDamaged, EmptyRecordsInTheListsAreSkippedNeverRead)
{
    CTemplateEntries entries;
    entries.push_back(nullptr);
    entries.push_back(MakeTemplate("_base", "none", "size=0.1"));
    entries.push_back(nullptr);
    entries.push_back(MakeTemplate("crate", "_base", "model3d=crate.3do"));

    std::string text;
    std::string problem;
    ASSERT_TRUE(TemplateListText(entries, text, problem));
    EXPECT_EQ(Names(Read(text)), (Strings{"_base", "crate"}));

    EXPECT_EQ(AddTemplateEntry(entries, "CRATE", "_base", ""), kTemplateNameExists);
    EXPECT_EQ(AddTemplateEntry(entries, "lamp", "_base", "model3d="), "");
    EXPECT_EQ(entries.size(), 5U);

    // An empty record deletes as nothing; a referenced base is refused past the empty records.
    EXPECT_EQ(DeleteTemplateEntry(entries, 0), "");
    EXPECT_EQ(entries.size(), 5U);
    EXPECT_NE(DeleteTemplateEntry(entries, 1), "");
    EXPECT_EQ(DeleteTemplateEntry(entries, 3), "");
    EXPECT_EQ(Names(entries), (Strings{"<null>", "_base", "<null>", "lamp"}));

    CTemplateEntries level;
    level.push_back(nullptr);
    level.push_back(MakeTemplate("lamp", "", ""));
    EXPECT_TRUE(TemplateShown(*entries[3], &level, true, true));
    EXPECT_FALSE(TemplateShown(*entries[1], &level, true, false));
}

TEST(TemplateFileDamaged, AddModelOnHostileModelTexts)
{
    const std::string nul("radius\0 0.5\n", 12);
    struct Case {
        const char* what;
        std::string model;
        std::string radius;
    };
    const Case cases[] = {
        {"an empty file", "", ""},
        {"no radius line", "3do 2.1\nsections: 1\n", ""},
        {"CR only: the radius is not at a line's start", "3do 2.1\rradius 0.5\r", ""},
        {"CR only, the radius first: the rest of the file follows", "radius 0.5\rinsert\r",
         "0.5\rinsert"},
        {"a last line without line end", "3do\n  RADIUS\t0.25", "0.25"},
        {"NUL bytes", nul, std::string("\0 0.5", 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ModelRadiusText(c.model), c.radius);
    }
    // "model3d=" at the very end, and parameters without any "=".
    EXPECT_EQ(SpliceModelParams("size=1 model3d=", "box.3do", "0.5"), "size=0.5 model3d=box.3do");
    EXPECT_EQ(SpliceModelParams("words only", "box.3do", "0.5"), "words only model3d=box.3do");
    EXPECT_EQ(SpliceModelParams("", "box.3do", "0.5"), " model3d=box.3do");
    EXPECT_EQ(SpliceCogParams("cog=", "a.cog"), "cog=a.cog");
}

TEST(TemplateTreeDamaged, CyclesSelfBasedTemplatesEmptyNamesAndEmptyRecords)
{
    CTemplateList list = Read("a b x=1\n"
                              "b a y=1\n"
                              "self self z=1\n");
    list.push_back(nullptr);
    list.push_back(MakeTemplate("", "a", "empty=1"));
    list.push_back(MakeTemplate("child", "", "w=1"));
    // Each hangs under an earlier entry only: the cycle and the self-based template cannot loop.
    EXPECT_EQ(TemplateTreeParents(list), (std::vector<int>{-1, 0, -1, -1, 0, 4}));
    EXPECT_EQ(FindTemplateItem(list, ""), 4);
    EXPECT_EQ(FindChosenTemplate(list, "SELF"), 2);
    EXPECT_EQ(FindChosenTemplate(list, "gone"), -1);
    EXPECT_EQ(SearchTemplate(list, ""), 0);
    EXPECT_EQ(SearchTemplate(list, "c"), 5);
    EXPECT_EQ(SearchTemplate(list, "zz"), -1);
}

TEST(TemplateTreeDamaged, DeleteAndAddEndOnCyclesAndSelfBasedTemplates)
{
    struct Case {
        const char* what;
        const char* name;
        Strings removed;
        Strings left;
    };
    const Case cases[] = {
        {"the second of a cycle: its base stays for the others",
         "b",
         {"b"},
         {"a", "self", "", "child"}},
        {"the first of a cycle takes the second", "a", {"a", "b"}, {"self", "", "child"}},
        {"a template based on itself", "self", {"self"}, {"a", "b", "", "child"}},
        {"an empty name, based on a shared base", "", {""}, {"a", "b", "self", "child"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CFixtureEngine engine(MakeBoxRoom());
        CTemplateList& templates = engine.m_level.m_templates;
        templates = Read("a b x=1\nb a y=1\nself self z=1\n");
        templates.push_back(MakeTemplate("", "a", "empty=1"));
        templates.push_back(MakeTemplate("child", "a", "w=1"));
        CTemplateDeletion deletion;
        EXPECT_TRUE(UndoGivesBackExactBytes(engine.m_view, [&] {
            deletion = DeleteLevelTemplate(engine.m_level, FindTemplateItem(templates, c.name));
            return !deletion.m_removed.empty();
        }));
        EXPECT_EQ(deletion.m_removed, c.removed);
        EXPECT_EQ(Names(templates), c.left);
        EXPECT_TRUE(LevelIsSound(engine.m_level));
    }

    // An empty record among the level's templates deletes as nothing.
    CQzlSections level = MakeBoxRoom();
    level.m_templates = Read("a none x=1\n");
    level.m_templates.insert(level.m_templates.begin(), nullptr);
    EXPECT_TRUE(DeleteLevelTemplate(level, 0).m_removed.empty());
    EXPECT_EQ(DeleteLevelTemplate(level, 1).m_removed, Strings{"a"});

    // Adding from a product list with a cycle, a self-based template and an empty record.
    CTemplateList master = Read("+a +b model3d=a.3do\n+b +a x=+self\nself self y=+a\n");
    master.insert(master.begin() + 1, nullptr);
    CFixtureEngine engine(MakeBoxRoom());
    engine.m_level.m_templates.clear();
    EXPECT_TRUE(UndoGivesBackExactBytes(
        engine.m_view, [&] { return AddLevelTemplate(engine.m_level, master, "SELF"); }));
    Strings names = Names(engine.m_level.m_templates);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Strings{"+a", "+b", "self"}));
    EXPECT_TRUE(LevelIsSound(engine.m_level));
    EXPECT_FALSE(AddLevelTemplate(engine.m_level, master, ""));
}

TEST(TemplatePreviewDamaged, ModelAtTheEndAndBasesInACycleGiveNoModel)
{
    CFixtureEngine engine(MakeBoxRoom());
    engine.m_game.m_templates = Read("a b x=1\nb a y=1\nself self z=1\n");
    engine.m_game.m_templates.push_back(nullptr);
    struct Case {
        const char* what;
        const char* line;
        CTemplatePreview preview;
    };
    const Case cases[] = {
        {"\"model3d=\" at the very end", "t none size=1 model3d=", {ETemplatePreview::kModel, ""}},
        {"\"material=\" at the very end", "t none material=", {ETemplatePreview::kMaterial, ""}},
        {"bases in a cycle", "a b x=1", {ETemplatePreview::kModel, ""}},
        {"based on itself", "self self z=1", {ETemplatePreview::kModel, ""}},
        {"an empty name", " none", {ETemplatePreview::kModel, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CTemplateEntries entry = Read(c.line);
        ASSERT_EQ(entry.size(), 1U);
        EXPECT_EQ(TemplatePreviewOf(engine.m_view, *entry[0]), c.preview);
    }
}
