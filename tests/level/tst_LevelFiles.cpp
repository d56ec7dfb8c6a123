// The level's own files as the Files in Level dialog edits them: the folder a file is added to by
// its type, which entries a folder lists, replacing by exact path, delete with the offsets after
// it, rename keeping the index sorted and the path in step, the size check of every read, and
// extraction that never leaves the chosen folder.

#include "framework/Exceptions.h"
#include "framework/StringUtil.h"
#include "level/LevelFiles.h"
#include "resources/Tree.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(std::size_t count, std::uint8_t value = 'x')
{
    return std::vector<std::uint8_t>(count, value);
}

// Names, paths and offsets of the index in order, "name path offset;" each.
std::string Listing(const CTree& files)
{
    std::string text;
    for (const auto& entry : files.m_entries)
        text += entry->m_name + " " + entry->m_path + " " + std::to_string(entry->m_offset) + ";";
    return text;
}

CTree ThreeFiles()
{
    CTree files;
    AddLevelFile(files, "door.cog", "cog\\door.cog", Bytes(10));
    AddLevelFile(files, "wall.mat", "mat\\wall.mat", Bytes(20));
    AddLevelFile(files, "bang.wav", "sound\\bang.wav", Bytes(5));
    return files;
}

}  // namespace

TEST(LevelFiles, AddFolderByTypeAndCurrentFolder)
{
    struct Case {
        const char* name;
        const char* current;
        const char* want;
    };
    const Case cases[] = {
        {"x.cog", "", "cog\\"},           {"X.COG", "mat\\", "cog\\"},
        {"ship.3do", "", "3do\\"},        {"walk.key", "", "3do\\key\\"},
        {"a.mat", "3do\\", "3do\\mat\\"}, {"a.mat", "3do\\mat\\", "3do\\mat\\"},
        {"a.mat", "cog\\", "mat\\"},      {"a.mat", "", "mat\\"},
        {"b.ai", "", "misc\\ai\\"},       {"c.cmp", "", "misc\\cmp\\"},
        {"d.par", "", "misc\\par\\"},     {"e.per", "", "misc\\per\\"},
        {"f.pup", "", "misc\\pup\\"},     {"g.snd", "", "misc\\snd\\"},
        {"h.spr", "", "misc\\spr\\"},     {"i.wav", "", "sound\\"},
        {"x.cog.wav", "", "cog\\"},  // the first type in the fixed order wins
        {"readme.txt", "", ""},           {"cog", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LevelFileFolderFor(c.name, c.current), c.want) << c.name << " in " << c.current;
}

TEST(LevelFiles, FolderTreeAndWhatEachFolderLists)
{
    const auto folders = LevelFileFolders();
    ASSERT_EQ(folders.size(), 15U);
    EXPECT_STREQ(folders[kLevelFilesRoot].m_label, "Level Files");
    EXPECT_STREQ(folders[kLevelFilesCog].m_path, "cog\\");
    EXPECT_STREQ(folders[14].m_label, "wav");
    EXPECT_STREQ(folders[14].m_path, "sound\\");
    EXPECT_EQ(folders[3].m_parent, 1);  // "3do\mat\" under "3do"

    CTree files = ThreeFiles();
    AddLevelFile(files, "ship.3do", "3do\\ship.3do", Bytes(1));
    AddLevelFile(files, "ship.mat", "3do\\mat\\ship.mat", Bytes(1));
    const auto names = [&](int folder) {
        std::string text;
        for (const int i : LevelFilesInFolder(files, folders[static_cast<std::size_t>(folder)]))
            text += files.m_entries[static_cast<std::size_t>(i)]->m_name + ";";
        return text;
    };
    EXPECT_EQ(names(kLevelFilesRoot), "");
    EXPECT_EQ(names(6), "");  // misc
    EXPECT_EQ(names(kLevelFilesCog), "door.cog;");
    EXPECT_EQ(names(1), "ship.3do;");
    EXPECT_EQ(names(3), "ship.mat;");
    EXPECT_EQ(names(5), "wall.mat;");
    EXPECT_EQ(names(14), "bang.wav;");

    // The folder a new entry is shown in.
    EXPECT_EQ(LevelFileFolderOf("3do\\mat\\a.mat"), 3);
    EXPECT_EQ(LevelFileFolderOf("mat\\a.mat"), 5);
    EXPECT_EQ(LevelFileFolderOf("3do\\key\\a.key"), 2);
    EXPECT_EQ(LevelFileFolderOf("sound\\a.wav"), 14);
    EXPECT_EQ(LevelFileFolderOf("x\\a.txt"), -1);
    EXPECT_EQ(MaterialNameForBitmap("b.bmp"), "b.mat");
    EXPECT_EQ(MaterialNameForBitmap("b.x.bmp"), "b.mat");
}

TEST(LevelFiles, AddKeepsTheIndexSortedAndReplacesOnlyTheSamePath)
{
    CTree files = ThreeFiles();
    EXPECT_EQ(Listing(files), "bang.wav sound\\bang.wav 0;door.cog cog\\door.cog 5;"
                              "wall.mat mat\\wall.mat 15;");

    // The same name in another folder is another file; "door.cog" is not touched by "oor.cog".
    AddLevelFile(files, "oor.cog", "cog\\oor.cog", Bytes(3));
    AddLevelFile(files, "door.cog", "3do\\door.cog", Bytes(2));
    EXPECT_EQ(files.m_entries.size(), 5U);

    // The same path, whatever its letter case, replaces the entry.
    const int at = AddLevelFile(files, "DOOR.COG", "COG\\DOOR.COG", Bytes(7, 'n'));
    ASSERT_EQ(files.m_entries.size(), 5U);
    EXPECT_EQ(files.m_entries[static_cast<std::size_t>(at)]->m_size, 7);
    EXPECT_EQ(FindLevelFileByPath(files, "cog\\door.cog"), at);
    EXPECT_EQ(FindLevelFileByPath(files, "cog\\nothere.cog"), -1);
    std::int32_t sum = 0;
    for (std::size_t i = 0; i < files.m_entries.size(); ++i) {
        EXPECT_EQ(files.m_entries[i]->m_offset, sum);
        sum += files.m_entries[i]->m_size;
        if (i > 0) {
            EXPECT_LE(CompareNoCase(files.m_entries[i - 1]->m_name, files.m_entries[i]->m_name), 0);
        }
    }
}

TEST(LevelFiles, DeleteRecomputesTheOffsetsAfterIt)
{
    CTree files = ThreeFiles();
    DeleteLevelFile(files, 1);
    EXPECT_EQ(Listing(files), "bang.wav sound\\bang.wav 0;wall.mat mat\\wall.mat 5;");
    DeleteLevelFile(files, 7);  // out of range: nothing
    DeleteLevelFile(files, -1);
    EXPECT_EQ(files.m_entries.size(), 2U);
}

TEST(LevelFiles, RenameMovesTheEntryToItsSortedPlaceWithItsPath)
{
    struct Case {
        const char* name;
        ERenameResult want;
        const char* listing;
    };
    const char* const start =
        "bang.wav sound\\bang.wav 0;door.cog cog\\door.cog 5;wall.mat mat\\wall.mat 15;";
    const Case cases[] = {
        {"zap.cog", ERenameResult::renamed,
         "bang.wav sound\\bang.wav 0;wall.mat mat\\wall.mat 5;zap.cog cog\\zap.cog 25;"},
        {"Door.cog", ERenameResult::renamed,
         "bang.wav sound\\bang.wav 0;Door.cog cog\\Door.cog 5;wall.mat mat\\wall.mat 15;"},
        {"door.cog", ERenameResult::unchanged, start},
        {"", ERenameResult::unchanged, start},
        {"..\\x.cog", ERenameResult::badName, start},
        {"a/b.cog", ERenameResult::badName, start},
        {"c:x.cog", ERenameResult::badName, start},
        {"x\t.cog", ERenameResult::badName, start},
    };
    for (const Case& c : cases) {
        CTree files = ThreeFiles();
        int index = 1;
        EXPECT_EQ(RenameLevelFile(files, index, c.name), c.want) << c.name;
        EXPECT_EQ(Listing(files), c.listing) << c.name;
        int found = -1;
        if (c.want == ERenameResult::renamed) {
            ASSERT_TRUE(files.Find(c.name, found)) << c.name;
            EXPECT_EQ(found, index);
        }
    }
    // A name whose path another entry has is refused.
    CTree files = ThreeFiles();
    AddLevelFile(files, "other.cog", "cog\\other.cog", Bytes(1));
    int index = 1;
    EXPECT_EQ(RenameLevelFile(files, index, "OTHER.cog"), ERenameResult::exists);
}

TEST(LevelFiles, ReadsCheckTheSizeAndTextStopsAtNul)
{
    CTreeObject entry("a.cog", {'a', 'b', 0, 'c'}, 0);
    entry.m_path = "cog\\a.cog";
    EXPECT_EQ(LevelFileBytes(entry).size(), 4U);
    EXPECT_EQ(LevelFileText(entry), "ab");
    entry.m_size = 9;
    EXPECT_THROW(LevelFileBytes(entry), CArchiveException);
    entry.m_size = -1;
    EXPECT_THROW(LevelFileText(entry), CArchiveException);
    entry.m_data.reset();
    entry.m_size = 1;
    EXPECT_THROW(LevelFileBytes(entry), CArchiveException);
}

TEST(LevelFiles, EditorTitlesAndSaveFilters)
{
    EXPECT_STREQ(LevelFileEditorTitle("x.COG"), "Cog Editor");
    EXPECT_STREQ(LevelFileEditorTitle("x.3do"), "3DO Editor");
    EXPECT_STREQ(LevelFileEditorTitle("x.key"), "Key Editor");
    EXPECT_EQ(LevelFileEditorTitle("x.wav"), nullptr);
    EXPECT_STREQ(LevelFileSaveType("x.per").m_filter, "PER Files (*.per)|*.per||");
    EXPECT_STREQ(LevelFileSaveType("x.mat").m_extension, "mat");
    EXPECT_STREQ(LevelFileSaveType("x.txt").m_filter, "");
}

TEST(LevelFiles, ExtractionNeverLeavesTheChosenFolder)
{
    const CTempFolder temp("qz_level_files");
    const std::filesystem::path root = temp.Path();
    const std::filesystem::path folder = root / "out";
    std::filesystem::create_directories(folder);
    const char* const hostile[] = {
        "../evil.cog", "..\\evil.cog", "/tmp/evil.cog", "c:evil.cog", "a\x01.cog", "..", ".", ""};
    for (const char* name : hostile) {
        CTreeObject entry(name, Bytes(3), 0);
        EXPECT_FALSE(IsSafeLevelFileName(name)) << name;
        EXPECT_THROW(ExtractLevelFile(entry, folder), CFileException) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(root / "evil.cog"));
    EXPECT_TRUE(std::filesystem::is_empty(folder));

    CTreeObject entry("good.cog", Bytes(3, 'g'), 0);
    const std::filesystem::path written = ExtractLevelFile(entry, folder);
    EXPECT_EQ(written, folder / "good.cog");
    EXPECT_EQ(std::filesystem::file_size(written), 3U);
}
