// Product set-up over game folders on disk: which archives it finds, how it indexes them, when it
// reads the template list, and what it says when something is missing or damaged.

#include "SyntheticGame.h"
#include "framework/FileIO.h"
#include "level/ProductSetup.h"
#include "level/QzlTemplate.h"
#include "resources/GobArchive.h"
#include "resources/Tree.h"
#include "resources/TreeObject.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Paths(const CTree& tree)
{
    std::vector<std::string> paths;
    for (const auto& entry : tree.m_entries)
        paths.push_back(entry->m_path);
    return paths;
}

std::vector<std::string> Names(const std::vector<std::unique_ptr<CQzlTemplate>>& templates)
{
    std::vector<std::string> names;
    for (const auto& entry : templates)
        names.push_back(entry->m_name);
    return names;
}

// The seven indexes of resources, in a fixed order.
std::vector<const CTree*> Trees(const CGameResources& resources)
{
    return {&resources.m_treeMaterials, &resources.m_treeColorMaps, &resources.m_treeSounds,
            &resources.m_tree3do,       &resources.m_treeCogs,      &resources.m_treePuppets,
            &resources.m_treeSnd};
}

void WriteArchive(const fs::path& file, const std::vector<std::string>& paths)
{
    CGobArchive archive;
    for (const std::string& path : paths) {
        const std::vector<std::uint8_t> data(path.size(), 'x');
        archive.Add(path, data);
    }
    fs::create_directories(file.parent_path());
    archive.Save(file);
}

void WriteText(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

class ProductSetup : public TempFolderTest {
protected:
    CProductSetup m_setup;
};

TEST_F(ProductSetup, SwitchingProductReplacesEveryIndexAndTheTemplateList)
{
    const fs::path game = m_dir / "game";
    BuildSyntheticGame(game);
    const auto korvath = LoadSyntheticGame(game, 0);
    const auto varnok = LoadSyntheticGame(game, 1);

    for (const int product : {1, 0, 1}) {
        SCOPED_TRACE(product);
        const CGameResources& expected = product == 0 ? korvath->m_resources : varnok->m_resources;
        EXPECT_EQ(m_setup.Run(product, game, {}, game), "");
        const CGameResources& got = m_setup.m_resources;
        EXPECT_EQ(got.m_product, product);
        const auto gotTrees = Trees(got);
        const auto expectedTrees = Trees(expected);
        for (std::size_t i = 0; i < gotTrees.size(); ++i) {
            EXPECT_FALSE(gotTrees[i]->m_entries.empty()) << "index " << i;
            EXPECT_EQ(Paths(*gotTrees[i]), Paths(*expectedTrees[i])) << "index " << i;
        }
        EXPECT_EQ(Names(got.m_templates), Names(expected.m_templates));
        ASSERT_NE(got.m_archive, nullptr);
        ASSERT_NE(got.m_soundArchive, nullptr);
        EXPECT_EQ(got.m_archive->GetEntries(), expected.m_archive->GetEntries());
        EXPECT_EQ(got.m_soundArchive->GetEntries(), expected.m_soundArchive->GetEntries());
        // The indexed entries can be read through the archive the resources point to.
        const CTreeObject& first = *got.m_treeMaterials.m_entries.front();
        EXPECT_EQ(got.m_archive
                      ->ReadBytes(static_cast<std::uint32_t>(first.m_offset),
                                  static_cast<std::uint32_t>(first.m_size))
                      .size(),
                  static_cast<std::size_t>(first.m_size));
        EXPECT_EQ(m_setup.m_installPath, game);
        EXPECT_EQ(got.m_gameFolder, game);
        EXPECT_EQ(m_setup.m_episodePath, game / "episode");
        EXPECT_EQ(m_setup.m_archivePath.filename(), product == 0 ? "res2.gob" : "qzvres.goo");
        EXPECT_EQ(m_setup.m_soundArchivePath.filename(),
                  product == 0 ? "res1hi.gob" : "qzvsndhi.goo");
    }
}

// An archive of hand-picked paths, found under names of another letter case; the sound archive is
// the second choice; the template file shows the line rules.
TEST_F(ProductSetup, IndexesByPathSubstringsAndReadsTheTemplateFile)
{
    const fs::path install = m_dir / "install";
    WriteArchive(install / "Resource" / "RES2.Gob",
                 {"3do\\mat\\x.mat", "mat\\X.MAT", "misc\\x.snd", "misc\\cmp\\x.cmp", "3do\\x.cmp",
                  "3do\\box.3do", "cogs2\\readme.txt", "cog\\door.cog", "misc\\pup\\a.pup",
                  "a\\dup.mat", "b\\dup.mat", "other\\readme.txt", "sound\\lost.wav"});
    WriteArchive(install / "RESOURCE" / "res1LOW.gob",
                 {"sound\\b.wav", "sound\\A.WAV", "sound\\notes.txt"});
    const fs::path program = m_dir / "program";
    WriteText(program / "korvath.dat", "Lamp \t  Base\t\t model3d=Lamp.3do  mass=5\n"
                                       "OnlyName\n"
                                       "\n"
                                       "after the end\n");

    EXPECT_EQ(m_setup.Run(0, install, {}, program), "");
    const CGameResources& got = m_setup.m_resources;
    using V = std::vector<std::string>;
    // Both "dup.mat" stay, next to each other (their order between them is the index's).
    V materials = Paths(got.m_treeMaterials);
    ASSERT_EQ(materials.size(), 3u);
    std::sort(materials.begin(), materials.begin() + 2);
    EXPECT_EQ(materials, (V{"a\\dup.mat", "b\\dup.mat", "mat\\x.mat"}));
    EXPECT_EQ(Paths(got.m_treeColorMaps), (V{"misc\\cmp\\x.cmp"}));
    EXPECT_EQ(Paths(got.m_treeSnd), (V{"misc\\x.snd"}));
    EXPECT_EQ(Paths(got.m_tree3do), (V{"3do\\box.3do", "3do\\x.cmp", "3do\\mat\\x.mat"}));
    EXPECT_EQ(Paths(got.m_treeCogs), (V{"cog\\door.cog", "cogs2\\readme.txt"}));
    EXPECT_EQ(Paths(got.m_treePuppets), (V{"misc\\pup\\a.pup"}));
    EXPECT_EQ(Paths(got.m_treeSounds), (V{"sound\\a.wav", "sound\\b.wav"}));
    EXPECT_EQ(m_setup.m_soundArchivePath.filename(), "res1LOW.gob");

    ASSERT_EQ(got.m_templates.size(), 2u);
    const CQzlTemplate& lamp = *got.m_templates[0];
    EXPECT_EQ(lamp.m_name, "lamp");
    EXPECT_EQ(lamp.m_basedOn, "base");
    EXPECT_EQ(lamp.m_params, "model3d=lamp.3do  mass=5");
    EXPECT_EQ(lamp.m_model, "lamp.3do");
    const CQzlTemplate& only = *got.m_templates[1];
    EXPECT_EQ(only.m_name, "onlyname");
    EXPECT_EQ(only.m_basedOn, "");
    EXPECT_EQ(only.m_params, "");
    EXPECT_EQ(only.m_model, "");
}

TEST_F(ProductSetup, MainArchiveFromTheSourceFolderWhenTheInstallFolderLacksIt)
{
    const fs::path install = m_dir / "install";
    const fs::path source = m_dir / "cd";
    WriteArchive(source / "GameData" / "resource" / "qzvres.goo", {"mat\\cd.mat"});
    WriteArchive(install / "resource" / "qzvsndlo.goo", {"sound\\cd.wav"});
    WriteText(m_dir / "varnok.dat", "cdthing none\n");

    EXPECT_EQ(m_setup.Run(1, install, source, m_dir), "");
    EXPECT_EQ(Paths(m_setup.m_resources.m_treeMaterials), std::vector<std::string>{"mat\\cd.mat"});
    EXPECT_EQ(Paths(m_setup.m_resources.m_treeSounds), std::vector<std::string>{"sound\\cd.wav"});
    EXPECT_EQ(m_setup.m_archivePath, source / "GameData" / "resource" / "qzvres.goo");
    EXPECT_EQ(m_setup.m_resources.m_gameFolder, install);
    EXPECT_EQ(Names(m_setup.m_resources.m_templates), std::vector<std::string>{"cdthing"});

    // Without a source folder the copy is not looked for.
    EXPECT_EQ(m_setup.Run(1, install, {}, m_dir), CProductSetup::kMissingArchives);
    EXPECT_TRUE(m_setup.m_resources.m_treeMaterials.m_entries.empty());
    EXPECT_TRUE(m_setup.m_resources.m_gameFolder.empty());
}

// What is missing or damaged, and what set-up does then. Every case starts from a complete run of
// the synthetic game, so the previous template list and archives are there to be kept or dropped.
TEST_F(ProductSetup, MissingAndDamagedArchives)
{
    const fs::path game = m_dir / "game";
    BuildSyntheticGame(game);
    const std::string junk = "GOB this is no archive at all";
    struct Case {
        const char* name;
        std::vector<const char*> remove;
        std::vector<const char*> damage;
        bool missingMessage;  // the message is kMissingArchives (else the archive's own)
        bool mainIndexed;     // the six indexes of the main archive are filled
        bool templatesRead;   // the template list is read anew
    };
    const Case cases[] = {
        {"no main archive", {"resource/res2.gob"}, {}, true, false, true},
        {"no archive at all", {"resource/res2.gob", "resource/res1hi.gob"}, {}, true, false, true},
        {"no sound archive", {"resource/res1hi.gob"}, {}, true, true, false},
        {"damaged main archive", {}, {"resource/res2.gob"}, false, false, true},
        {"damaged sound archive", {}, {"resource/res1hi.gob"}, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildSyntheticGame(game);
        WriteText(game / "korvath.dat", "old\n");
        ASSERT_EQ(m_setup.Run(0, game, {}, game), "");
        ASSERT_EQ(Names(m_setup.m_resources.m_templates), std::vector<std::string>{"old"});

        for (const char* file : c.remove)
            fs::remove(game / file);
        for (const char* file : c.damage)
            WriteText(game / file, junk);
        WriteText(game / "korvath.dat", "new\n");

        const std::string message = m_setup.Run(0, game, {}, game);
        if (c.missingMessage) {
            EXPECT_EQ(message, CProductSetup::kMissingArchives);
        } else {
            EXPECT_TRUE(!message.empty() && message != CProductSetup::kMissingArchives) << message;
        }
        const CGameResources& got = m_setup.m_resources;
        EXPECT_EQ(!got.m_treeMaterials.m_entries.empty(), c.mainIndexed);
        EXPECT_EQ(!got.m_tree3do.m_entries.empty(), c.mainIndexed);
        EXPECT_EQ(got.m_archive != nullptr, c.mainIndexed);
        EXPECT_EQ(got.m_gameFolder, c.mainIndexed ? game : fs::path());
        // The sound index is never filled here: either the main archive or the sound archive is
        // missing, and in both cases no sound archive is used.
        EXPECT_TRUE(got.m_treeSounds.m_entries.empty());
        EXPECT_EQ(got.m_soundArchive, nullptr);
        if (!c.mainIndexed) {
            EXPECT_TRUE(m_setup.m_soundArchivePath.empty()) << "the sound archive is not sought";
        }
        EXPECT_EQ(Names(got.m_templates),
                  std::vector<std::string>{c.templatesRead ? "new" : "old"});
    }
}

TEST_F(ProductSetup, MissingTemplateFileKeepsThePreviousList)
{
    const fs::path game = m_dir / "game";
    BuildSyntheticGame(game);
    ASSERT_EQ(m_setup.Run(0, game, {}, game), "");
    const std::vector<std::string> before = Names(m_setup.m_resources.m_templates);
    ASSERT_FALSE(before.empty());
    fs::remove(game / "varnok.dat");
    EXPECT_EQ(m_setup.Run(1, game, {}, game), "");
    EXPECT_EQ(Names(m_setup.m_resources.m_templates), before);
    EXPECT_FALSE(m_setup.m_resources.m_treeMaterials.m_entries.empty());
}

TEST_F(ProductSetup, AnotherProductIndexesNothing)
{
    const fs::path game = m_dir / "game";
    BuildSyntheticGame(game);
    ASSERT_EQ(m_setup.Run(1, game, {}, game), "");
    EXPECT_EQ(m_setup.Run(2, game, {}, game), CProductSetup::kMissingArchives);
    for (const CTree* tree : Trees(m_setup.m_resources))
        EXPECT_TRUE(tree->m_entries.empty());
    EXPECT_EQ(m_setup.m_resources.m_archive, nullptr);
    EXPECT_EQ(m_setup.m_resources.m_soundArchive, nullptr);
    EXPECT_TRUE(m_setup.m_resources.m_gameFolder.empty());
    EXPECT_EQ(CProductSetup::Caption(2), nullptr);
    EXPECT_STREQ(CProductSetup::Caption(1), "QzEdit - Varnok mode");
}

}  // namespace

// The template list is the user's copy when there is one, else the program folder's.
TEST_F(ProductSetup, TemplateListFromTheUsersCopyOverTheDefault)
{
    const fs::path game = m_dir / "game";
    BuildSyntheticGame(game);
    const CDataFolders folders{m_dir / "program", m_dir / "user"};
    WriteText(m_dir / "program" / "korvath.dat", "installed none\n");
    ASSERT_EQ(m_setup.Run(0, game, {}, folders), "");
    EXPECT_EQ(Names(m_setup.m_resources.m_templates), std::vector<std::string>{"installed"});

    WriteText(m_dir / "user" / "korvath.dat", "mine none\nalso mine\n");
    ASSERT_EQ(m_setup.Run(0, game, {}, folders), "");
    EXPECT_EQ(Names(m_setup.m_resources.m_templates), (std::vector<std::string>{"mine", "also"}));
    // Varnok has no file of either kind: the previous list stays.
    ASSERT_EQ(m_setup.Run(1, game, {}, folders), "");
    EXPECT_EQ(Names(m_setup.m_resources.m_templates), (std::vector<std::string>{"mine", "also"}));
}
