// The test archive: its entries, their order in the directory and their bytes; the start and
// goals cogs by their switches; names that cannot be stored left out and listed; a failed build
// leaving the file that was there.

#include "episode/EpisodeFile.h"
#include "episode/StartGoalsCogs.h"
#include "episode/TestArchive.h"
#include "framework/Exceptions.h"
#include "geometry/SectorBounds.h"
#include "level/GameResources.h"
#include "level/QzlSections.h"
#include "level/QzlWriter.h"
#include "resources/GobArchive.h"
#include "resources/TreeObject.h"
#include "support/FixtureLevels.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::vector<std::string> Paths(const CGobArchive& archive)
{
    std::vector<std::string> paths;
    for (const CGobEntry& entry : archive.GetEntries())
        paths.push_back(entry.m_path);
    return paths;
}

Bytes Data(const CGobArchive& archive, const std::string& path)
{
    for (std::size_t i = 0; i < archive.GetEntries().size(); ++i)
        if (archive.GetEntries()[i].m_path == path) {
            const auto data = archive.GetData(i);
            return Bytes(data.begin(), data.end());
        }
    ADD_FAILURE() << "no entry " << path;
    return {};
}

// A box room with one material file of its own under "mat\a.mat".
CQzlSections LevelWithOwnFile()
{
    CQzlSections level = MakeBoxRoom();
    AddLevelFile(level, "a.mat", "MAT-bytes");
    level.m_levelFiles.m_entries[0]->m_path = "mat\\a.mat";
    return level;
}

CTestArchiveCogs BothCogs()
{
    return {ToBytes("# start\r\n"), ToBytes("# goals\r\n")};
}

}  // namespace

TEST(TestArchive, EntriesOrderAndBytes)
{
    CQzlSections level = LevelWithOwnFile();
    CDocumentFields fields = DefaultDocumentFields();
    fields.m_levelFileName = "Room.QZL";
    const CGameResources game;
    const CTestArchive built = BuildTestArchive(level, fields, BothCogs(), game, 0);
    EXPECT_TRUE(built.m_skipped.empty());

    // Added as episode, level, messages, start cog, goals cog, own file; the directory holds them
    // where the archive's ordering rule puts each one.
    EXPECT_EQ(
        Paths(built.m_archive),
        (std::vector<std::string>{"episode.qz", "cog\\qzedit_goals.cog", "cog\\qzedit_start.cog",
                                  "mat\\a.mat", "misc\\cogstrings.uni", "qzl\\room.qzl"}));

    // The episode names the level as the entry does: lower-cased.
    EXPECT_EQ(fields.m_levelFileName, "room.qzl");
    CDocumentFields episodeFields = fields;
    EXPECT_EQ(Data(built.m_archive, "episode.qz"), ToBytes(WriteEpisode(episodeFields)));
    CQzlSections expected = LevelWithOwnFile();
    UpdateSectorBounds(expected, true);
    EXPECT_EQ(Data(built.m_archive, "qzl\\room.qzl"), ToBytes(WriteQzl(expected, game, 0)));
    EXPECT_EQ(Data(built.m_archive, "misc\\cogstrings.uni"), ToBytes(kDefaultMessageText));
    EXPECT_EQ(Data(built.m_archive, "cog\\qzedit_start.cog"), ToBytes("# start\r\n"));
    EXPECT_EQ(Data(built.m_archive, "cog\\qzedit_goals.cog"), ToBytes("# goals\r\n"));
    EXPECT_EQ(Data(built.m_archive, "mat\\a.mat"), ToBytes("MAT-bytes"));

    // The product decides the level's text form.
    CQzlSections varnok = LevelWithOwnFile();
    CDocumentFields varnokFields = fields;
    const CTestArchive built1 = BuildTestArchive(varnok, varnokFields, BothCogs(), game, 1);
    CQzlSections expected1 = LevelWithOwnFile();
    UpdateSectorBounds(expected1, true);
    EXPECT_EQ(Data(built1.m_archive, "qzl\\room.qzl"), ToBytes(WriteQzl(expected1, game, 1)));
}

TEST(TestArchive, CogsFollowTheirSwitchesAndFiles)
{
    const struct {
        int startOn, goalsOn;
        bool startThere, goalsThere;
        bool wantStart, wantGoals;
    } cases[] = {
        {1, 1, true, true, true, true},     {0, 1, true, true, false, true},
        {1, 0, true, true, true, false},    {0, 0, true, true, false, false},
        {1, 1, false, true, false, true},   {1, 1, true, false, true, false},
        {1, 1, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.startOn << c.goalsOn << c.startThere << c.goalsThere);
        CQzlSections level = MakeBoxRoom();
        CDocumentFields fields = DefaultDocumentFields();
        fields.m_startCogOn = c.startOn;
        fields.m_goalsCogOn = c.goalsOn;
        CTestArchiveCogs cogs = BothCogs();
        if (!c.startThere)
            cogs.m_start.reset();
        if (!c.goalsThere)
            cogs.m_goals.reset();
        const CTestArchive built = BuildTestArchive(level, fields, cogs, CGameResources{}, 0);
        const std::vector<std::string> paths = Paths(built.m_archive);
        auto has = [&paths](const char* p) {
            return std::find(paths.begin(), paths.end(), p) != paths.end();
        };
        EXPECT_EQ(has("cog\\qzedit_start.cog"), c.wantStart);
        EXPECT_EQ(has("cog\\qzedit_goals.cog"), c.wantGoals);
        EXPECT_EQ(paths.size(), 3u + (c.wantStart ? 1 : 0) + (c.wantGoals ? 1 : 0));
        EXPECT_TRUE(built.m_skipped.empty());
    }
}

TEST(TestArchive, NamesThatCannotBeStoredAreLeftOutAndListed)
{
    const auto makeLevel = [] {
        CQzlSections level = MakeBoxRoom();
        AddLevelFile(level, "door.cog", "script");  // bare name: stored in its folder
        AddLevelFile(level, "x.mat", "long");
        level.m_levelFiles.m_entries[1]->m_path = "mat\\" + std::string(130, 'x') + ".mat";
        AddLevelFile(level, "y.mat", "none");
        level.m_levelFiles.m_entries[2]->m_path = "mat\\y.mat";
        level.m_levelFiles.m_entries[2]->m_data.reset();
        return level;
    };

    const struct {
        const char* levelName;
        const char* levelEntry;  // null: left out
    } cases[] = {
        {"", "qzl\\qzedit.qzl"},
        {"..\\up.qzl", nullptr},
        {"sub/level.qzl", nullptr},
        {"good.qzl", "qzl\\good.qzl"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.levelName);
        CQzlSections copy = makeLevel();
        CDocumentFields fields = DefaultDocumentFields();
        fields.m_levelFileName = c.levelName;
        const CTestArchive built = BuildTestArchive(copy, fields, BothCogs(), CGameResources{}, 0);
        const std::vector<std::string> paths = Paths(built.m_archive);
        int levels = 0;
        for (const std::string& p : paths)
            levels += p.rfind("qzl\\", 0) == 0 ? 1 : 0;
        EXPECT_EQ(levels, c.levelEntry ? 1 : 0);
        if (c.levelEntry) {
            EXPECT_NE(std::find(paths.begin(), paths.end(), c.levelEntry), paths.end());
        }
        EXPECT_NE(std::find(paths.begin(), paths.end(), "cog\\door.cog"), paths.end());
        EXPECT_EQ(std::count_if(paths.begin(), paths.end(),
                                [](const std::string& p) { return p.rfind("mat\\", 0) == 0; }),
                  0);

        const std::size_t skipped = c.levelEntry ? 2u : 3u;
        ASSERT_EQ(built.m_skipped.size(), skipped);
        if (!c.levelEntry) {
            EXPECT_NE(built.m_skipped[0].find(c.levelName), std::string::npos);
        }
        EXPECT_NE(built.m_skipped[skipped - 1].find("mat\\y.mat"), std::string::npos);
        // A document without a level file name keeps it empty; the episode names the default.
        if (*c.levelName == '\0') {
            EXPECT_EQ(fields.m_levelFileName, "");
            const Bytes episode = Data(built.m_archive, "episode.qz");
            EXPECT_NE(std::string(episode.begin(), episode.end()).find("qzedit.qzl"),
                      std::string::npos);
        }
    }
}

class TestArchiveFile : public TempFolderTest {};

TEST_F(TestArchiveFile, SavedOnceAndAFailedBuildLeavesTheOldFile)
{
    const auto path = m_dir / "QzEdit.gob";
    CQzlSections level = LevelWithOwnFile();
    CDocumentFields fields = DefaultDocumentFields();
    const CGameResources game;
    EXPECT_TRUE(SaveTestArchive(path, level, fields, BothCogs(), game, 0).m_skipped.empty());
    CQzlSections again = LevelWithOwnFile();
    CDocumentFields againFields = DefaultDocumentFields();
    EXPECT_EQ(CGobArchive::Load(path).GetBytes(),
              BuildTestArchive(again, againFields, BothCogs(), game, 0).m_archive.GetBytes());
    const std::uintmax_t size = std::filesystem::file_size(path);

    // A level the text form cannot hold, and a folder that cannot take the file.
    CQzlSections broken = MakeBoxRoom();
    broken.m_sectors[0]->m_surfaces.push_back(999);
    EXPECT_THROW(SaveTestArchive(path, broken, fields, BothCogs(), game, 0), CArchiveException);
    EXPECT_EQ(std::filesystem::file_size(path), size);
    std::ofstream(m_dir / "file") << "x";
    CQzlSections box = MakeBoxRoom();
    EXPECT_THROW(SaveTestArchive(m_dir / "file" / "QzEdit.gob", box, fields, BothCogs(), game, 0),
                 CFileException);
}
