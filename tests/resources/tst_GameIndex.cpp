#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/QzlTemplate.h"
#include "level/TemplateList.h"
#include "resources/GameIndex.h"
#include "resources/MemoryGameArchive.h"
#include "resources/Tree.h"
#include "resources/TreeObject.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes DataFor(const std::string& path)
{
    return Bytes(path.size() + 3, static_cast<std::uint8_t>(path.size()));
}

CMemoryGameArchive ArchiveOf(const std::vector<std::string>& paths)
{
    CMemoryGameArchive archive;
    for (const std::string& path : paths)
        archive.Add(path, DataFor(path));
    return archive;
}

std::vector<std::string> Paths(const CTree& tree)
{
    std::vector<std::string> paths;
    for (const auto& entry : tree.m_entries)
        paths.push_back(entry->m_path);
    return paths;
}

// An archive whose directory is whatever the test says, to reach entries no real file of a test's
// size can hold.
class CListedArchive final : public GameArchive {
public:
    explicit CListedArchive(std::vector<CGameArchiveEntry> entries) : m_entries(std::move(entries))
    {}
    const std::vector<CGameArchiveEntry>& GetEntries() const override { return m_entries; }
    std::vector<std::uint8_t> ReadBytes(std::uint32_t, std::uint32_t) const override { return {}; }

private:
    std::vector<CGameArchiveEntry> m_entries;
};

class TempFolder : public TempFolderTest {
protected:
    void Touch(const std::filesystem::path& relative, const std::string& text = "x")
    {
        std::filesystem::create_directories((m_dir / relative).parent_path());
        std::ofstream(m_dir / relative, std::ios::binary) << text;
    }
};

}  // namespace

TEST(GameIndex, EntriesGoToTheFirstIndexWhosePathTestTheyPass)
{
    struct Case {
        const char* path;
        const char* index;  // "" = not indexed
    };
    const Case cases[] = {
        {"mat\\Wall.MAT", "materials"},
        {"3do\\mat\\xyz.mat", "3do"},  // a material under a 3do folder is a model file
        {"misc\\cmp\\dflt.cmp", "colormaps"},
        {"3do\\cmp\\model.cmp", "3do"},
        {"misc\\xyz.snd", "snd"},
        {"3do\\snd\\engine.snd", "snd"},  // ".snd" is tested before "3do"
        {"cogs2\\readme.txt", "cogs"},    // "cog" inside a folder name
        {"cog\\door.cog", "cogs"},
        {"cog\\puppet.pup", "cogs"},  // "cog" is tested before "pup"
        {"misc\\pup\\ranger.pup", "puppets"},
        {"mat\\cog.mat", "materials"},
        {"3do\\ranger.3do", "3do"},
        {"3do\\key\\walk.key", "3do"},
        {"sound\\door.wav", ""},  // sounds come from the sound archive only
        {"episode.qz", ""},
        {"misc\\ai\\noweapon.ai", ""},
    };
    std::vector<std::string> paths;
    for (const Case& c : cases)
        paths.emplace_back(c.path);
    const CMemoryGameArchive archive = ArchiveOf(paths);

    CGameResources resources;
    IndexMainArchive(resources, archive);
    EXPECT_EQ(resources.m_archive, &archive);

    const std::map<std::string, const CTree*> trees = {
        {"materials", &resources.m_treeMaterials},
        {"colormaps", &resources.m_treeColorMaps},
        {"snd", &resources.m_treeSnd},
        {"3do", &resources.m_tree3do},
        {"cogs", &resources.m_treeCogs},
        {"puppets", &resources.m_treePuppets},
    };
    std::size_t indexed = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string lower = ToLowerAscii(c.path);
        for (const auto& [name, tree] : trees) {
            const auto inTree = Paths(*tree);
            const bool there = std::find(inTree.begin(), inTree.end(), lower) != inTree.end();
            EXPECT_EQ(there, name == c.index) << name;
        }
        indexed += *c.index ? 1 : 0;
    }
    std::size_t total = 0;
    for (const auto& [name, tree] : trees)
        total += tree->m_entries.size();
    EXPECT_EQ(total, indexed);
    EXPECT_TRUE(resources.m_treeSounds.m_entries.empty());
}

TEST(GameIndex, AnEntryHoldsItsLowerCasedPathNameOffsetAndSize)
{
    const CMemoryGameArchive archive = ArchiveOf({"episode.qz", "MAT\\Brick.Mat", "mat\\a.mat"});
    CGameResources resources;
    IndexMainArchive(resources, archive);

    ASSERT_EQ(resources.m_treeMaterials.m_entries.size(), 2u);
    const CTreeObject& brick = *resources.m_treeMaterials.m_entries[1];
    const CGameArchiveEntry& source = archive.GetEntries()[1];
    EXPECT_EQ(brick.m_name, "brick.mat");
    EXPECT_EQ(brick.m_path, "mat\\brick.mat");
    EXPECT_EQ(brick.m_offset, static_cast<std::int32_t>(source.m_offset));
    EXPECT_EQ(brick.m_size, static_cast<std::int32_t>(source.m_size));
    EXPECT_FALSE(brick.HasData());
    EXPECT_EQ(archive.ReadEntry(source), DataFor("MAT\\Brick.Mat"));
}

TEST(GameIndex, EqualNamesFromDifferentFoldersAreKeptSideBySide)
{
    const CMemoryGameArchive archive =
        ArchiveOf({"mat\\zeta.mat", "mat\\a\\Same.mat", "mat\\alpha.mat", "mat\\b\\same.mat",
                   "mat\\c\\SAME.MAT"});
    CGameResources resources;
    IndexMainArchive(resources, archive);

    std::vector<std::string> names;
    for (const auto& entry : resources.m_treeMaterials.m_entries)
        names.push_back(entry->m_name);
    EXPECT_EQ(names, (std::vector<std::string>{"alpha.mat", "same.mat", "same.mat", "same.mat",
                                               "zeta.mat"}));
    auto paths = Paths(resources.m_treeMaterials);
    std::sort(paths.begin() + 1, paths.begin() + 4);
    EXPECT_EQ(paths,
              (std::vector<std::string>{"mat\\alpha.mat", "mat\\a\\same.mat", "mat\\b\\same.mat",
                                        "mat\\c\\same.mat", "mat\\zeta.mat"}));
}

TEST(GameIndex, SoundIndexTakesTheWavEntriesOfTheSoundArchive)
{
    const CMemoryGameArchive sounds =
        ArchiveOf({"sound\\Door.WAV", "sound\\readme.txt", "voice\\hello.wav", "sound\\a.wave"});
    CGameResources resources;
    IndexSoundArchive(resources, sounds);
    EXPECT_EQ(resources.m_soundArchive, &sounds);
    EXPECT_EQ(Paths(resources.m_treeSounds),
              (std::vector<std::string>{"sound\\a.wave", "sound\\door.wav", "voice\\hello.wav"}));
    EXPECT_TRUE(resources.m_treeMaterials.m_entries.empty());
}

TEST(GameIndex, IndexingAgainReplacesTheIndexes)
{
    // Switching products indexes another archive: nothing of the first may stay.
    const CMemoryGameArchive first = ArchiveOf({"mat\\one.mat", "cog\\one.cog", "3do\\one.3do"});
    const CMemoryGameArchive second = ArchiveOf({"mat\\two.mat"});
    const CMemoryGameArchive firstSounds = ArchiveOf({"sound\\one.wav"});
    const CMemoryGameArchive secondSounds = ArchiveOf({"sound\\two.wav"});
    CGameResources resources;
    IndexMainArchive(resources, first);
    IndexSoundArchive(resources, firstSounds);
    IndexMainArchive(resources, second);
    IndexSoundArchive(resources, secondSounds);

    EXPECT_EQ(Paths(resources.m_treeMaterials), std::vector<std::string>{"mat\\two.mat"});
    EXPECT_TRUE(resources.m_treeCogs.m_entries.empty());
    EXPECT_TRUE(resources.m_tree3do.m_entries.empty());
    EXPECT_EQ(Paths(resources.m_treeSounds), std::vector<std::string>{"sound\\two.wav"});
    EXPECT_EQ(resources.m_archive, &second);
}

TEST(GameIndex, AnEntryBeyondWhatAnIndexHoldsIsRefusedAndChangesNothing)
{
    const CMemoryGameArchive good = ArchiveOf({"mat\\good.mat"});
    CGameResources resources;
    IndexMainArchive(resources, good);

    for (const CGameArchiveEntry& bad : {CGameArchiveEntry{"mat\\far.mat", 0x80000000u, 4},
                                         CGameArchiveEntry{"cog\\huge.cog", 16, 0xFFFFFFF0u}}) {
        const CListedArchive archive({{"mat\\first.mat", 152, 4}, bad});
        EXPECT_THROW(IndexMainArchive(resources, archive), CArchiveException);
        EXPECT_EQ(Paths(resources.m_treeMaterials), std::vector<std::string>{"mat\\good.mat"});
        EXPECT_EQ(resources.m_archive, &good);
    }
}

TEST(GameIndex, TemplateLines)
{
    struct Case {
        const char* line;
        const char* name;
        const char* basedOn;
        const char* params;
        const char* model;
    };
    const Case cases[] = {
        {"Lamp   Base\tmodel3d=Lamp.3do mass=5", "lamp", "base", "model3d=lamp.3do mass=5",
         "lamp.3do"},
        {"lamp", "lamp", "", "", ""},
        {"lamp base", "lamp", "base", "", ""},
        // inner and trailing blanks of the parameter text are kept
        {"a b  c   d  ", "a", "b", "c   d  ", ""},
        // the model ends at a blank or a tab; the first "model3d=" counts
        {"x y size=1 model3d=m.3do\tmass=2", "x", "y", "size=1 model3d=m.3do\tmass=2", "m.3do"},
        {"x y model3d=a.3do model3d=b.3do", "x", "y", "model3d=a.3do model3d=b.3do", "a.3do"},
        {"x y model3d=", "x", "y", "model3d=", ""},
        // a line written with an empty based-on name: the first parameter becomes the based-on
        {"bare                                      type=fx timer=1", "bare", "type=fx", "timer=1",
         ""},
        // a name longer than its column is written whole and read back whole
        {"averyveryverylongtemplate _base mass=1", "averyveryverylongtemplate", "_base", "mass=1",
         ""},
        // a CR before the line feed is part of the line end
        {"crate _decor model3d=crate.3do\r", "crate", "_decor", "model3d=crate.3do", "crate.3do"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto list = ReadTemplateList(std::string(c.line) + "\n");
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0]->m_name, c.name);
        EXPECT_EQ(list[0]->m_basedOn, c.basedOn);
        EXPECT_EQ(list[0]->m_params, c.params);
        EXPECT_EQ(list[0]->m_model, c.model);
        EXPECT_EQ(list[0]->m_runtimeText, "");
    }
}

TEST(GameIndex, TemplateListEndsAtTheFirstEmptyLine)
{
    struct Case {
        const char* text;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"one none a=1\ntwo one b=2\n\nthree two c=3\nfour three\n", {"one", "two"}},
        {"one none\r\ntwo one\r\n\r\nthree two\r\n", {"one", "two"}},
        {"one none\ntwo one", {"one", "two"}},  // no line end after the last line
        {"\none none\n", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> names;
        for (const auto& entry : ReadTemplateList(c.text))
            names.push_back(entry->m_name);
        EXPECT_EQ(names, c.names);
    }
}

TEST_F(TempFolder, TemplateFileReplacesTheListOnlyWhenItCanBeRead)
{
    CGameResources resources;
    resources.m_templates = ReadTemplateList("old none\n");

    EXPECT_FALSE(LoadTemplateFile(resources, m_dir / "missing.dat"));
    ASSERT_EQ(resources.m_templates.size(), 1u);
    EXPECT_EQ(resources.m_templates[0]->m_name, "old");

    Touch("korvath.dat", "New none MODEL3D=N.3do\nnewer new\n");
    EXPECT_TRUE(LoadTemplateFile(resources, m_dir / "korvath.dat"));
    ASSERT_EQ(resources.m_templates.size(), 2u);
    EXPECT_EQ(resources.m_templates[0]->m_name, "new");
    EXPECT_EQ(resources.m_templates[0]->m_model, "n.3do");
    EXPECT_EQ(resources.m_templates[1]->m_basedOn, "new");
}

TEST(GameIndex, ProductFiles)
{
    const CProductFiles* korvath = GetProductFiles(0);
    const CProductFiles* varnok = GetProductFiles(1);
    ASSERT_NE(korvath, nullptr);
    ASSERT_NE(varnok, nullptr);
    EXPECT_STREQ(korvath->m_mainArchive, "resource/res2.gob");
    EXPECT_STREQ(korvath->m_cdMainArchive, "gamedata/resource/res2.gob");
    EXPECT_STREQ(korvath->m_soundArchive, "resource/res1hi.gob");
    EXPECT_STREQ(korvath->m_soundArchive2, "resource/res1low.gob");
    EXPECT_STREQ(korvath->m_templateFile, "korvath.dat");
    EXPECT_STREQ(varnok->m_mainArchive, "resource/qzvres.goo");
    EXPECT_STREQ(varnok->m_cdMainArchive, "gamedata/resource/qzvres.goo");
    EXPECT_STREQ(varnok->m_soundArchive, "resource/qzvsndhi.goo");
    EXPECT_STREQ(varnok->m_soundArchive2, "resource/qzvsndlo.goo");
    EXPECT_STREQ(varnok->m_templateFile, "varnok.dat");
    EXPECT_EQ(GetProductFiles(2), nullptr);
    EXPECT_EQ(GetProductFiles(-1), nullptr);
}

TEST_F(TempFolder, FindPathIgnoresLetterCase)
{
    Touch("Resource/RES2.GOB");
    Touch("resource/Res1Hi.gob");  // a second spelling of the folder
    Touch("Korvath.DAT");
    Touch("korvath.dat");

    struct Case {
        const char* relative;
        const char* found;  // "" = none
    };
    const Case cases[] = {
        {"resource/res2.gob", "Resource/RES2.GOB"},  // not in the exact spelling: try the other
        {"resource/res1hi.gob", "resource/Res1Hi.gob"},
        {"RESOURCE/res1hi.GOB", "resource/Res1Hi.gob"},
        {"./resource//res1hi.gob", "resource/Res1Hi.gob"},
        {"korvath.dat", "korvath.dat"},  // the exact spelling wins
        {"KORVATH.dat", "Korvath.DAT"},  // else the first in byte order
        {"varnok.dat", ""},
        {"resource/res2.gob/x", ""},
        {"resource/../korvath.dat", ""},
        {"/resource/res2.gob", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.relative);
        const std::filesystem::path expected = *c.found ? m_dir / c.found : std::filesystem::path();
        EXPECT_EQ(FindPathNoCase(m_dir, c.relative), expected);
    }
    EXPECT_EQ(FindPathNoCase(m_dir / "nowhere", "korvath.dat"), std::filesystem::path());
}
