// The program's data files with the user's copies over them: a read takes the user's copy when
// there is one, else the installed default; a write makes or replaces the user's copy only.

#include "framework/DataFolders.h"

#include "framework/Exceptions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

void WriteText(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string ReadText(const CDataFolders& folders, const char* name)
{
    const std::vector<std::uint8_t> bytes = folders.Read(name);
    return {bytes.begin(), bytes.end()};
}

TEST(DataFolders, ReadsTheDefaultUntilTheUserWritesACopy)
{
    CTempFolder temp;
    const CDataFolders folders{temp / "program", temp / "user" / "QzEdit"};
    WriteText(temp / "program" / "korvath.dat", "default\n");

    EXPECT_EQ(folders.ReadPath("korvath.dat"), temp / "program" / "korvath.dat");
    EXPECT_EQ(ReadText(folders, "korvath.dat"), "default\n");

    // The first write makes the user's folder.
    folders.Write("korvath.dat", Bytes("mine\n"));
    EXPECT_EQ(folders.ReadPath("korvath.dat"), temp / "user" / "QzEdit" / "korvath.dat");
    EXPECT_EQ(ReadText(folders, "korvath.dat"), "mine\n");
    folders.Write("korvath.dat", Bytes("mine again\n"));
    EXPECT_EQ(ReadText(folders, "korvath.dat"), "mine again\n");
    // The default is never written, and no temporary file stays behind.
    EXPECT_EQ(ReadText(CDataFolders{temp / "program", {}}, "korvath.dat"), "default\n");
    EXPECT_EQ(
        std::distance(fs::directory_iterator(temp / "user" / "QzEdit"), fs::directory_iterator()),
        1);

    // Other names still come from the program folder; a name found in neither cannot be read.
    WriteText(temp / "program" / "qzedit_start.cog", "start\n");
    EXPECT_EQ(ReadText(folders, "qzedit_start.cog"), "start\n");
    EXPECT_THROW(folders.Read("varnok.dat"), CFileException);
}

TEST(DataFolders, OnlyARegularFileCountsAsTheUsersCopy)
{
    CTempFolder temp;
    const CDataFolders folders{temp / "program", temp / "user"};
    WriteText(temp / "program" / "materials.dat", "switch a.mat\n");
    fs::create_directories(temp / "user" / "materials.dat");
    EXPECT_EQ(ReadText(folders, "materials.dat"), "switch a.mat\n");

    WriteText(temp / "elsewhere.dat", "linked\n");
    fs::create_symlink(temp / "elsewhere.dat", temp / "user" / "varnok.dat");
    WriteText(temp / "program" / "varnok.dat", "default\n");
    EXPECT_EQ(ReadText(folders, "varnok.dat"), "linked\n");
}

TEST(DataFolders, RefusesNamesThatLeaveTheFoldersAndWritesWithoutAUserFolder)
{
    CTempFolder temp;
    const CDataFolders folders{temp / "program", temp / "user"};
    for (const char* name :
         {"", ".", "..", "../korvath.dat", "sub/korvath.dat", "/etc/passwd", "a\\b.dat"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(folders.ReadPath(name).empty());
        EXPECT_TRUE(folders.UserPath(name).empty());
        EXPECT_THROW(folders.Read(name), CFileException);
        EXPECT_THROW(folders.Write(name, Bytes("x")), CFileException);
    }
    EXPECT_FALSE(fs::exists(temp / "user"));

    const CDataFolders noUser{temp / "program", {}};
    EXPECT_TRUE(noUser.UserPath("korvath.dat").empty());
    EXPECT_THROW(noUser.Write("korvath.dat", Bytes("x")), CFileException);
    EXPECT_FALSE(fs::exists(temp / "program" / "korvath.dat"));

    // A user folder that cannot be made: a file stands where it should be.
    WriteText(temp / "blocked", "");
    const CDataFolders blocked{temp / "program", temp / "blocked" / "user"};
    EXPECT_THROW(blocked.Write("korvath.dat", Bytes("x")), CFileException);
}

}  // namespace
