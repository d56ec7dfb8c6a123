#include "framework/DataFolders.h"
#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "level/QzlTemplate.h"
#include "level/TemplateList.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace {

CTemplateEntries Entries(std::initializer_list<std::array<std::string_view, 3>> rows)
{
    CTemplateEntries entries;
    for (const auto& row : rows)
        entries.push_back(MakeTemplate(row[0], row[1], row[2]));
    return entries;
}

std::vector<std::string> Names(const CTemplateEntries& entries)
{
    std::vector<std::string> names;
    for (const auto& entry : entries)
        names.push_back(entry->m_name);
    return names;
}

TEST(TemplateListFile, WrittenEntriesReadBackAsTheyWere)
{
    struct Case {
        std::string_view name, basedOn, params;
        std::string_view line;                            // as written
        std::string_view readName, readBase, readParams;  // as read back
    };
    const Case cases[] = {
        {"crate", "_decor", "model3d=crate.3do size=0.1",
         "crate                _decor               model3d=crate.3do size=0.1\n", "crate",
         "_decor", "model3d=crate.3do size=0.1"},
        // A long name is written whole, followed by one blank.
        {"abcdefghijklmnopqrstuvwxy", "_base", "type=x",
         "abcdefghijklmnopqrstuvwxy _base                type=x\n", "abcdefghijklmnopqrstuvwxy",
         "_base", "type=x"},
        // Capitals come back lower-cased; inner blanks of the parameters stay.
        {"BigCrate", "_Decor", "Model3d=Crate.3do  size=1",
         "BigCrate             _Decor               Model3d=Crate.3do  size=1\n", "bigcrate",
         "_decor", "model3d=crate.3do  size=1"},
        // An empty based-on is the game's root, never blanks the reader would skip.
        {"orphan", "", "type=decor", "orphan               none                 type=decor\n",
         "orphan", "none", "type=decor"},
        // A line break in the parameters never reaches the file.
        {"lamp", "_decor", "model3d=lamp.3do\r\nsize=0.2\n",
         "lamp                 _decor               model3d=lamp.3do  size=0.2\n", "lamp", "_decor",
         "model3d=lamp.3do  size=0.2"},
        {"bare", "_fx", "", "bare                 _fx                  \n", "bare", "_fx", ""},
    };
    CTemplateEntries entries;
    std::string expected;
    for (const Case& c : cases) {
        entries.push_back(MakeTemplate(c.name, c.basedOn, c.params));
        EXPECT_EQ(TemplateFileLine(*entries.back()), c.line) << c.name;
        expected += c.line;
    }
    std::string text;
    std::string problem;
    ASSERT_TRUE(TemplateListText(entries, text, problem)) << problem;
    EXPECT_EQ(text, expected);

    const CTemplateEntries read = ReadTemplateList(text);
    ASSERT_EQ(read.size(), std::size(cases));
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i]->m_name, cases[i].readName);
        EXPECT_EQ(read[i]->m_basedOn, cases[i].readBase) << cases[i].name;
        EXPECT_EQ(read[i]->m_params, cases[i].readParams) << cases[i].name;
    }
    EXPECT_EQ(read[0]->m_model, "crate.3do");
    EXPECT_EQ(read[2]->m_model, "crate.3do");
    EXPECT_EQ(read[3]->m_model, "");
}

TEST(TemplateListFile, RefusesNamesTheReaderWouldSplit)
{
    const struct {
        std::string_view name, basedOn;
        std::string_view problem;
    } cases[] = {
        {"two words", "_base",
         "Template #2: The template name \"two words\" cannot hold blanks, "
         "tabs or line breaks."},
        {"tab\tname", "_base",
         "Template #2: The template name \"tab\tname\" cannot hold blanks, "
         "tabs or line breaks."},
        {"", "_base", "Template #2: The template name is empty."},
        {"ok", "my base",
         "Template #2: The template based-on name \"my base\" cannot hold "
         "blanks, tabs or line breaks."},
    };
    for (const auto& c : cases) {
        const CTemplateEntries entries = Entries({{"_base", "none", ""}, {c.name, c.basedOn, ""}});
        std::string text = "old";
        std::string problem;
        EXPECT_FALSE(TemplateListText(entries, text, problem));
        EXPECT_EQ(problem, c.problem);
    }
}

class TemplateListSave : public TempFolderTest {};

TEST_F(TemplateListSave, WritesTheUserCopyThenReplacesTheList)
{
    const CDataFolders folders{m_dir / "program", m_dir / "user"};
    CGameResources resources;
    resources.m_templates = Entries({{"old", "none", ""}});
    const CTemplateEntries entries =
        Entries({{"_base", "none", "size=1"}, {"Crate", "_base", "model3d=crate.3do"}});

    EXPECT_EQ(SaveTemplateList(resources, folders, "varnok.dat", entries), "");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "program" / "varnok.dat"));
    const std::vector<std::uint8_t> bytes = ReadFileBytes(m_dir / "user" / "varnok.dat");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "_base                none                 size=1\n"
              "Crate                _base                model3d=crate.3do\n");
    // The list now is what the next set-up reads.
    EXPECT_EQ(Names(resources.m_templates), (std::vector<std::string>{"_base", "crate"}));
    EXPECT_EQ(resources.m_templates[1]->m_model, "crate.3do");
}

TEST_F(TemplateListSave, AFailedWriteKeepsTheListAndSaysSo)
{
    // The user folder's place is taken by a file: nothing can be written there.
    WriteFileAtomic(m_dir / "user", std::vector<std::uint8_t>{'x'});
    const CDataFolders folders{m_dir / "program", m_dir / "user"};
    CGameResources resources;
    resources.m_templates = Entries({{"old", "none", ""}});
    const std::string message =
        SaveTemplateList(resources, folders, "korvath.dat", Entries({{"new", "none", ""}}));
    EXPECT_NE(message.find("korvath.dat"), std::string::npos) << message;
    EXPECT_NE(message.find("The template list was not changed."), std::string::npos);
    EXPECT_EQ(Names(resources.m_templates), std::vector<std::string>{"old"});

    // A name that cannot be written refuses the whole save before anything is written.
    const CDataFolders good{m_dir / "program", m_dir / "user2"};
    EXPECT_NE(SaveTemplateList(resources, good, "korvath.dat", Entries({{"a b", "none", ""}})), "");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "user2" / "korvath.dat"));
    EXPECT_EQ(Names(resources.m_templates), std::vector<std::string>{"old"});
}

TEST(TemplateListEdits, AddRefusesDuplicatesIgnoringCase)
{
    CTemplateEntries entries = Entries({{"_base", "none", ""}, {"crate", "_base", "size=1"}});
    EXPECT_EQ(AddTemplateEntry(entries, "CRATE", "_base", "size=2"), kTemplateNameExists);
    EXPECT_EQ(AddTemplateEntry(entries, "big crate", "_base", ""),
              "The template name \"big crate\" cannot hold blanks, tabs or line breaks.");
    EXPECT_EQ(entries.size(), 2U);
    EXPECT_EQ(AddTemplateEntry(entries, "crate2", "_base", "model3d=a.3do size=2"), "");
    ASSERT_EQ(entries.size(), 3U);
    EXPECT_EQ(entries[2]->m_basedOn, "_base");
    EXPECT_EQ(entries[2]->m_model, "a.3do");
}

TEST(TemplateListEdits, DeleteRefusesAReferencedEntry)
{
    CTemplateEntries entries = Entries({{"_base", "none", ""},
                                        {"_decor", "_base", ""},
                                        {"self", "SELF", ""},
                                        {"crate", "_DECOR", ""},
                                        {"lamp", "_decor", ""}});
    EXPECT_EQ(DeleteTemplateEntry(entries, 1), "The selected template entry at #2 cannot be\n"
                                               "deleted since it is referenced at entry #4.");
    EXPECT_EQ(DeleteTemplateEntry(entries, 0), "The selected template entry at #1 cannot be\n"
                                               "deleted since it is referenced at entry #2.");
    EXPECT_EQ(entries.size(), 5U);
    // An entry based on itself is not a reference from another entry.
    EXPECT_EQ(DeleteTemplateEntry(entries, 2), "");
    EXPECT_EQ(DeleteTemplateEntry(entries, 2), "");
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"_base", "_decor", "lamp"}));
}

TEST(TemplateListEdits, Filters)
{
    const CTemplateEntries level = Entries({{"crate", "", ""}, {"+smoke", "", ""}});
    const struct {
        std::string_view name;
        bool used, simple, usedAndSimple;
    } cases[] = {
        {"crate", true, true, true},
        {"Crate", false, true, false},  // the level's names are compared exactly
        {"+smoke", true, false, false},
        {"_base", false, false, false},
        {"lamp", false, true, false},
    };
    for (const auto& c : cases) {
        const auto entry = MakeTemplate(c.name, "", "");
        EXPECT_TRUE(TemplateShown(*entry, &level, false, false)) << c.name;
        EXPECT_EQ(TemplateShown(*entry, &level, true, false), c.used) << c.name;
        EXPECT_EQ(TemplateShown(*entry, &level, false, true), c.simple) << c.name;
        EXPECT_EQ(TemplateShown(*entry, &level, true, true), c.usedAndSimple) << c.name;
        // Without a level every entry is shown.
        EXPECT_TRUE(TemplateShown(*entry, nullptr, true, true)) << c.name;
    }
}

TEST(TemplateListSplices, AddModel)
{
    const struct {
        std::string_view params, expected;
    } cases[] = {
        {"model3d=old.3do size=0.25 movesize=0.2 mass=3",
         "model3d=new.3do size=0.5 movesize=0.5 mass=3"},
        {"type=decor", "type=decor model3d=new.3do"},
        {"", " model3d=new.3do"},
        // movesize= before size=: the first "size=" is the one inside "movesize=".
        {"movesize=0.1 model3d=a.3do size=0.3", "movesize=0.5 model3d=new.3do size=0.3"},
        // A number-less size gets the radius in front of what follows.
        {"size= x=1", "size=0.5 x=1 model3d=new.3do"},
        // "3do" only before "model3d=": the value is replaced, nothing is repeated.
        {"debris=chunk.3do model3d=old size=1", "debris=chunk.3do model3d=new.3do size=0.5"},
        {"model3d= size=1", "model3d=new.3do size=0.5"},
        {"model3d=old.3do", "model3d=new.3do"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpliceModelParams(c.params, "new.3do", "0.5"), c.expected) << c.params;
}

TEST(TemplateListSplices, AddCog)
{
    const struct {
        std::string_view params, expected;
    } cases[] = {
        {"type=item", "type=item cog=new.cog"},
        {"cog=old.cog size=1", "cog=new.cog size=1"},
        {"x=a.cog cog=old size=1", "x=a.cog cog=new.cog size=1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpliceCogParams(c.params, "new.cog"), c.expected) << c.params;
}

TEST(TemplateListSplices, ModelRadius)
{
    EXPECT_EQ(ModelRadiusText("3DO 2.1\r\nGEOMETRY\r\n  RADIUS   0.125  \r\nradius 9\r\n"),
              "0.125");
    EXPECT_EQ(ModelRadiusText("3DO 2.1\nINSERT OFFSET 0 0 0\n"), "");
    EXPECT_EQ(ModelRadiusText(""), "");
}

}  // namespace
