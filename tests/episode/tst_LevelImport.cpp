#include "episode/LevelImport.h"

#include "episode/EpisodeFile.h"
#include "episode/StartGoalsCogs.h"
#include "framework/DataFolders.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "level/GameResources.h"
#include "level/QzlCog.h"
#include "level/QzlWriter.h"
#include "resources/EntryHostPath.h"
#include "resources/MemoryGameArchive.h"
#include "support/FixtureLevels.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::string ReadText(const fs::path& path)
{
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

void WriteText(const fs::path& path, std::string_view text)
{
    fs::create_directories(path.parent_path());
    WriteFileAtomic(path, Bytes(text));
}

// A box room whose one cog runs script.
CQzlSections RoomWithCog(const std::string& script)
{
    CQzlSections level = MakeBoxRoom();
    level.m_cogScripts.push_back(script);
    AddCog(level, script, {});
    return level;
}

struct CFileRow {
    std::string name, path, data;
    std::int32_t offset;
};

std::vector<CFileRow> Files(const CQzlSections& level)
{
    std::vector<CFileRow> rows;
    for (const auto& entry : level.m_levelFiles.m_entries) {
        const std::vector<std::uint8_t> data = entry->m_data.value_or(std::vector<std::uint8_t>{});
        rows.push_back({entry->m_name, entry->m_path, {data.begin(), data.end()}, entry->m_offset});
        EXPECT_EQ(entry->m_size, static_cast<std::int32_t>(data.size())) << entry->m_name;
    }
    return rows;
}

void ExpectFiles(const CQzlSections& level, const std::vector<CFileRow>& expected)
{
    const std::vector<CFileRow> actual = Files(level);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(actual[i].name, expected[i].name);
        EXPECT_EQ(actual[i].path, expected[i].path);
        EXPECT_EQ(actual[i].data, expected[i].data);
        EXPECT_EQ(actual[i].offset, expected[i].offset);
    }
}

}  // namespace

TEST(LevelImport, EntryKindsAreTestedInTableOrder)
{
    const struct {
        const char* path;
        int kind;  // index in the test order, -1 for not taken
    } cases[] = {
        {"misc\\ai\\guard.ai", 5},
        {"3do\\mat\\wall.mat", 0},
        {"3DO\\CRATE.3DO", 1},
        {"qzl\\canyon.qzl", 2},
        {"cog\\door.cog", 3},
        {"sound\\boom.wav", 4},
        {"misc\\cmp\\dark.cmp", 6},
        {"misc\\par\\a.par", 7},
        {"misc\\per\\a.per", 8},
        {"misc\\pup\\a.pup", 9},
        {"misc\\snd\\a.snd", 10},
        {"3do\\key\\walk.key", 11},
        {"episode.qz", -1},
        {"misc\\cogstrings.uni", -1},
        {"misc\\spr\\glow.spr", -1},
        // The first text that occurs decides, wherever it stands.
        {"3do\\x.mat.3do", 0},
        {"cog\\a.cog.wav", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ArchiveEntryKindOf(c.path), c.kind);
    }
    // Copy order: ".3do", ".key", ".mat", ".cog", ".wav", ".ai", ".cmp", ".par", ".per", ".pup",
    // ".snd".
    std::vector<std::string> copied(11);
    for (const CArchiveEntryKind& kind : ArchiveEntryKinds())
        if (kind.m_copyOrder > 0)
            copied[static_cast<std::size_t>(kind.m_copyOrder - 1)] = kind.m_text;
    EXPECT_EQ(copied, (std::vector<std::string>{".3do", ".key", ".mat", ".cog", ".wav", ".ai",
                                                ".cmp", ".par", ".per", ".pup", ".snd"}));
}

class LevelImportArchive : public ::testing::Test {
protected:
    void SetUp() override
    {
        const CGameResources game;
        CQzlSections a = RoomWithCog("door.cog");
        CQzlSections b = RoomWithCog("LIFT.COG");
        m_levelB = WriteQzl(b, game, 0);
        m_archive.Add("episode.qz", Bytes("episode"));
        m_archive.Add("qzl\\b.qzl", Bytes(m_levelB));
        m_archive.Add("qzl\\a.qzl", Bytes(WriteQzl(a, game, 0)));
        m_archive.Add("cog\\door.cog", Bytes("door script"));
        m_archive.Add("COG\\Lift.cog", Bytes("lift script"));
        m_archive.Add("sound\\boom.wav", Bytes("boom!"));
        m_archive.Add("3do\\mat\\dirt.mat", Bytes("dirt"));
        m_archive.Add("mat\\wall.mat", Bytes("wall mat"));
        m_archive.Add("3do\\crate.3do", Bytes("crate model"));
        m_archive.Add("3do\\key\\walk.key", Bytes("walk"));
        m_archive.Add("misc\\ai\\guard.ai", Bytes("ai"));
        m_archive.Add("misc\\spr\\glow.spr", Bytes("sprite"));
        m_archive.Add("misc\\cogstrings.uni", Bytes("MSGS 0"));
    }

    CMemoryGameArchive m_archive;
    std::string m_levelB;
};

TEST_F(LevelImportArchive, TakesTheChosenLevelItsOwnCogsAndEveryOtherFile)
{
    std::vector<std::string> shown;
    std::optional<CImportedLevel> imported =
        ImportArchiveLevel(m_archive, 0, [&](const CTree& levels) -> std::optional<int> {
            for (const auto& entry : levels.m_entries)
                shown.push_back(entry->m_name);
            return 1;
        });
    EXPECT_EQ(shown, (std::vector<std::string>{"a.qzl", "b.qzl"}));
    ASSERT_TRUE(imported.has_value());
    EXPECT_EQ(imported->m_name, "b.qzl");
    ASSERT_EQ(imported->m_level.m_cogs.size(), 1u);
    EXPECT_EQ(imported->m_level.m_cogs[0]->m_script, "LIFT.COG");
    // door.cog is used only by the other level; names and paths in lower case, offsets in name
    // order running from 0.
    ExpectFiles(imported->m_level, {
                                       {"boom.wav", "sound\\boom.wav", "boom!", 0},
                                       {"crate.3do", "3do\\crate.3do", "crate model", 5},
                                       {"dirt.mat", "3do\\mat\\dirt.mat", "dirt", 16},
                                       {"guard.ai", "misc\\ai\\guard.ai", "ai", 20},
                                       {"lift.cog", "cog\\lift.cog", "lift script", 22},
                                       {"walk.key", "3do\\key\\walk.key", "walk", 33},
                                       {"wall.mat", "mat\\wall.mat", "wall mat", 37},
                                   });
    // The level itself is as the archive holds it.
    CQzlSections level = std::move(imported->m_level);
    level.m_levelFiles.m_entries.clear();
    EXPECT_EQ(WriteQzl(level, CGameResources(), 0), m_levelB);
}

TEST_F(LevelImportArchive, CancelBadChoiceAndBadLevel)
{
    EXPECT_FALSE(
        ImportArchiveLevel(m_archive, 0, [](const CTree&) { return std::nullopt; }).has_value());
    EXPECT_THROW(ImportArchiveLevel(m_archive, 0, [](const CTree&) { return 2; }),
                 CArchiveException);

    // A level cut short is refused, not taken for all of it.
    CMemoryGameArchive bad;
    bad.Add("qzl\\short.qzl", Bytes(m_levelB.substr(0, m_levelB.size() / 2)));
    EXPECT_THROW(ImportArchiveLevel(bad, 0, [](const CTree&) { return 0; }), CArchiveException);

    // No level at all: the chooser sees an empty list.
    CMemoryGameArchive none;
    none.Add("cog\\door.cog", Bytes("x"));
    std::size_t count = 99;
    EXPECT_FALSE(ImportArchiveLevel(none, 0, [&](const CTree& levels) -> std::optional<int> {
                     count = levels.m_entries.size();
                     return std::nullopt;
                 }).has_value());
    EXPECT_EQ(count, 0u);
}

TEST(LevelImport, RelativeEntryPathsStayInsideTheFolder)
{
    const fs::path folder = "/projects/p";
    const struct {
        const char* path;
        const char* host;  // nullptr: refused
    } cases[] = {
        {"3do\\mat\\wall.mat", "/projects/p/3do/mat/wall.mat"},
        {"cog/door.cog", "/projects/p/cog/door.cog"},
        {"wall.mat", "/projects/p/wall.mat"},
        {"..\\..\\evil.cog", nullptr},
        {"cog\\..\\..\\evil.cog", nullptr},
        {"\\etc\\passwd", nullptr},
        {"/etc/passwd", nullptr},
        {"C:\\x.cog", nullptr},
        {"cog\\a\x01.cog", nullptr},
        {"cog\\\\a.cog", nullptr},
        {"cog\\", nullptr},
        {"cog\\.\\a.cog", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const std::optional<fs::path> host = EntryRelativeHostPath(folder, c.path);
        if (c.host == nullptr)
            EXPECT_FALSE(host);
        else
            EXPECT_EQ(host, fs::path(c.host));
    }
}

TEST(LevelImport, ProjectFolderIsCutAtTheLastDotOfTheFileName)
{
    EXPECT_EQ(ProjectFolder("/my.levels/a.qzp"), fs::path("/my.levels/a"));
    EXPECT_EQ(ProjectFolder("/levels/canyon.v2.qzp"), fs::path("/levels/canyon.v2"));
    EXPECT_EQ(ProjectFolder("/my.levels/plain"), fs::path("/my.levels/plain"));
}

class LevelProject : public TempFolderTest {
protected:
    LevelProject()
    {
        m_fields = DefaultDocumentFields();
        m_fields.m_episodeTitle = "Canyon Run";
        m_fields.m_levelFileName = "Canyon.QZL";
        m_fields.m_messageText = "MSGS 1\r\n\"QZEDIT\"\t0\t\"Canyon\"\r\nEND\r\n";
        m_fields.m_episodeType = 2;
        m_fields.m_levelKind = 1;
        m_fields.m_lightPower = 3;
        m_fields.m_darkPower = 4;
        WriteText(m_dir / "program" / kStartCogScript, "installed start");
        WriteText(m_dir / "program" / kGoalsCogScript, "installed goals");
        WriteText(m_dir / "user" / kGoalsCogScript, "user goals");
        m_data = {m_dir / "program", m_dir / "user"};
    }

    CDocumentFields m_fields;
    CDataFolders m_data;
};

TEST_F(LevelProject, ExportThenImportGivesTheSameFieldsLevelTextAndFiles)
{
    CQzlSections level = RoomWithCog("door.cog");
    AddLevelFile(level, "door.cog", "door script");
    level.m_levelFiles.m_entries[0]->m_path = "cog\\door.cog";
    AddLevelFile(level, "dirt.mat", "dirt");
    AddLevelFile(level, "boom.wav", "boom!");  // no path: its kind's folder
    level.m_levelFiles.m_entries[1]->m_path = "3do\\mat\\dirt.mat";

    const fs::path project = m_dir / "canyon.qzp";
    const CProjectExport written =
        WriteProject(project, m_fields, level, CGameResources(), 0, m_data);
    EXPECT_TRUE(written.m_skipped.empty()) << written.m_skipped.front();
    EXPECT_EQ(fs::file_size(project), 0u);
    const fs::path folder = m_dir / "canyon";
    const std::string levelText = WriteQzl(level, CGameResources(), 0);
    EXPECT_EQ(ReadText(folder / "qzl" / "canyon.qzl"), levelText);
    EXPECT_EQ(ReadText(folder / "cog" / kStartCogScript), "installed start");
    EXPECT_EQ(ReadText(folder / "cog" / kGoalsCogScript), "user goals");
    EXPECT_EQ(ReadText(folder / "sound" / "boom.wav"), "boom!");
    EXPECT_EQ(ReadText(folder / "misc" / "cogstrings.uni"), m_fields.m_messageText);
    for (const char* sub : {"3do/key", "misc/spr", "misc/pup", "mat"})
        EXPECT_TRUE(fs::is_directory(folder / sub)) << sub;

    CProjectContents read = ReadProject(project, DefaultDocumentFields(), 0);
    EXPECT_TRUE(read.m_skipped.empty());
    // The export lower-cased the level file name, the episode reader reads its lines in lower
    // case.
    EXPECT_EQ(m_fields.m_levelFileName, "canyon.qzl");
    CDocumentFields expected = m_fields;
    expected.m_episodeTitle = "canyon run";
    EXPECT_EQ(read.m_fields, expected);
    CQzlSections again = std::move(read.m_level);
    ExpectFiles(again, {
                           {"boom.wav", "sound\\boom.wav", "boom!", 0},
                           {"dirt.mat", "3do\\mat\\dirt.mat", "dirt", 5},
                           {"door.cog", "cog\\door.cog", "door script", 9},
                           {"qzedit_goals.cog", "cog\\qzedit_goals.cog", "user goals", 20},
                           {"qzedit_start.cog", "cog\\qzedit_start.cog", "installed start", 30},
                       });
    again.m_levelFiles.m_entries.clear();
    EXPECT_EQ(WriteQzl(again, CGameResources(), 0), levelText);
}

TEST_F(LevelProject, ExportRefusesPathsOutsideTheProjectAndListsThem)
{
    CQzlSections level = MakeBoxRoom();
    const char* hostile[] = {"..\\..\\evil.cog", "\\abs.cog", "C:\\drive.cog", "cog\\bad\x07.cog"};
    for (const char* path : hostile) {
        AddLevelFile(
            level, std::string("x") + std::to_string(level.m_levelFiles.m_entries.size()) + ".cog",
            "bad");
        level.m_levelFiles.m_entries.back()->m_path = path;
    }
    m_fields.m_levelFileName = "../../escape.qzl";
    m_fields.m_startCogOn = m_fields.m_goalsCogOn = 0;
    fs::create_directories(m_dir / "deep" / "er");
    const CProjectExport written =
        WriteProject(m_dir / "deep" / "er" / "p.qzp", m_fields, level, CGameResources(), 0, m_data);
    EXPECT_EQ(written.m_skipped.size(), 5u);
    EXPECT_FALSE(fs::exists(m_dir / "evil.cog"));
    EXPECT_FALSE(fs::exists(m_dir / "deep" / "evil.cog"));
    EXPECT_FALSE(fs::exists(m_dir / "escape.qzl"));
    EXPECT_FALSE(fs::exists(m_dir / "deep" / "escape.qzl"));
    EXPECT_FALSE(fs::exists("/abs.cog"));
    EXPECT_TRUE(fs::exists(m_dir / "deep" / "er" / "p" / "episode.qz"));

    // A project file that cannot be made stops the export before any folder is made.
    EXPECT_THROW(
        WriteProject(m_dir / "missing" / "p.qzp", m_fields, level, CGameResources(), 0, m_data),
        CFileException);
    EXPECT_FALSE(fs::exists(m_dir / "missing"));

    // A file where the project folder should be: refused, and the new project file goes again.
    WriteText(m_dir / "blocked", "a file");
    EXPECT_THROW(WriteProject(m_dir / "blocked.qzp", m_fields, level, CGameResources(), 0, m_data),
                 CFileException);
    EXPECT_FALSE(fs::exists(m_dir / "blocked.qzp"));
    EXPECT_EQ(ReadText(m_dir / "blocked"), "a file");
}

TEST_F(LevelProject, ImportReadsEveryRowInNameOrder)
{
    const fs::path project = m_dir / "my.levels" / "a.qzp";
    WriteText(project, "");
    const fs::path folder = m_dir / "my.levels" / "a";
    WriteText(folder / "misc" / "b.uni", "second");
    WriteText(folder / "misc" / std::string("a.uni"), std::string("first\0tail", 10));
    WriteText(folder / "3do" / "mat" / "dirt.mat", "dirt");
    WriteText(folder / "mat" / "WALL.MAT", "wall");
    WriteText(folder / "misc" / "spr" / "glow.spr", "glow");
    WriteText(folder / "mat" / "readme.txt", "not a material");
    WriteText(folder / "mat" / "back\\slash.mat", "a name no level file can have");

    const CProjectContents read = ReadProject(project, DefaultDocumentFields(), 0);
    EXPECT_EQ(read.m_fields.m_messageText, "second");  // the last one read wins
    EXPECT_EQ(read.m_skipped.size(), 1u);
    ExpectFiles(read.m_level, {
                                  {"dirt.mat", "3do\\mat\\dirt.mat", "dirt", 0},
                                  {"glow.spr", "misc\\spr\\glow.spr", "glow", 4},
                                  {"WALL.MAT", "mat\\WALL.MAT", "wall", 8},
                              });

    // The text up to a NUL byte.
    fs::remove(folder / "misc" / "b.uni");
    EXPECT_EQ(ReadProject(project, DefaultDocumentFields(), 0).m_fields.m_messageText, "first");

    // A level that is not whole refuses the import and names the file.
    WriteText(folder / "qzl" / "broken.qzl", "SECTION: GEORESOURCE\nWorld vertices 99999999\n");
    try {
        ReadProject(project, DefaultDocumentFields(), 0);
        ADD_FAILURE() << "a broken level was taken";
    } catch (const CArchiveException& e) {
        EXPECT_NE(std::string(e.what()).find("broken.qzl"), std::string::npos) << e.what();
    }

    EXPECT_THROW(ReadProject(m_dir / "none.qzp", DefaultDocumentFields(), 0), CFileException);
}
