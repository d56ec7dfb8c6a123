// Whole-file reading refuses what is not a regular file; the safe write goes through symbolic
// links to their file and keeps the permissions of the file it replaces.

#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

class FileIOTest : public ::testing::Test {
protected:
    static unsigned Mode(const fs::path& path)
    {
        struct stat st {};
        EXPECT_EQ(::lstat(path.c_str(), &st), 0);
        return st.st_mode & 07777;
    }

    // The message of the CFileException that reading path throws.
    static std::string ReadError(const fs::path& path)
    {
        try {
            ReadFileBytes(path);
        } catch (const CFileException& e) {
            return e.what();
        }
        ADD_FAILURE() << path << " was read";
        return {};
    }

    CTempFolder m_temp{"qz_fileio"};
    const fs::path& m_dir = m_temp.Path();
};

TEST_F(FileIOTest, OnlyARegularFileIsRead)
{
    fs::create_directory(m_dir / "level.qzl");
    const std::string folder = ReadError(m_dir / "level.qzl");
    EXPECT_NE(folder.find("level.qzl\": it is a folder"), std::string::npos) << folder;

    // A named pipe without a writer: refused at once instead of waiting for one.
    ASSERT_EQ(::mkfifo((m_dir / "pipe.qze").c_str(), 0600), 0);
    const std::string pipe = ReadError(m_dir / "pipe.qze");
    EXPECT_NE(pipe.find("pipe.qze\": it is not a regular file"), std::string::npos) << pipe;

    const std::string missing = ReadError(m_dir / "missing.qze");
    EXPECT_NE(missing.find("Cannot open \"" + (m_dir / "missing.qze").string()), std::string::npos)
        << missing;

    // A link to a regular file is read as that file.
    WriteFileAtomic(m_dir / "real.qze", Bytes{1, 2, 3});
    fs::create_symlink("real.qze", m_dir / "link.qze");
    EXPECT_EQ(ReadFileBytes(m_dir / "link.qze"), (Bytes{1, 2, 3}));
}

TEST_F(FileIOTest, WritingThroughALinkWritesItsFileAndKeepsTheLink)
{
    fs::create_directory(m_dir / "store");
    WriteFileAtomic(m_dir / "store" / "level.qze", Bytes{1});
    fs::permissions(m_dir / "store" / "level.qze", fs::perms::owner_read | fs::perms::owner_write);
    // A relative link, and a link to that link from another folder.
    fs::create_symlink("store/level.qze", m_dir / "near.qze");
    fs::create_directory(m_dir / "work");
    fs::create_symlink(m_dir / "near.qze", m_dir / "work" / "far.qze");

    WriteFileAtomic(m_dir / "work" / "far.qze", Bytes{7, 8});
    EXPECT_TRUE(fs::is_symlink(m_dir / "work" / "far.qze"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "near.qze"));
    EXPECT_EQ(ReadFileBytes(m_dir / "store" / "level.qze"), (Bytes{7, 8}));
    EXPECT_EQ(Mode(m_dir / "store" / "level.qze"), 0600u);
    // Nothing is left beside the links or the file.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "work"), {}), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "store"), {}), 1);

    // A link to a file that does not exist yet makes that file.
    fs::create_symlink("store/new.qzl", m_dir / "dangling.qzl");
    WriteFileAtomic(m_dir / "dangling.qzl", Bytes{5});
    EXPECT_TRUE(fs::is_symlink(m_dir / "dangling.qzl"));
    EXPECT_EQ(ReadFileBytes(m_dir / "store" / "new.qzl"), Bytes{5});

    // A loop of links is an error, not a hang.
    fs::create_symlink("loop-b", m_dir / "loop-a");
    fs::create_symlink("loop-a", m_dir / "loop-b");
    EXPECT_THROW(WriteFileAtomic(m_dir / "loop-a", Bytes{1}), CFileException);
}

TEST_F(FileIOTest, AReplacedFileKeepsItsPermissionBits)
{
    for (const unsigned mode : {0600u, 0640u, 0755u, 0444u}) {
        SCOPED_TRACE(mode);
        const fs::path file = m_dir / ("mode" + std::to_string(mode) + ".qze");
        WriteFileAtomic(file, Bytes{1});
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        WriteFileAtomic(file, Bytes{2, 3});
        EXPECT_EQ(ReadFileBytes(file), (Bytes{2, 3}));
        EXPECT_EQ(Mode(file), mode);
    }
    // A new file: what the process's umask allows.
    const ::mode_t mask = ::umask(022);
    WriteFileAtomic(m_dir / "fresh.qze", Bytes{1});
    ::umask(mask);
    EXPECT_EQ(Mode(m_dir / "fresh.qze"), 0644u);
}

TEST_F(FileIOTest, AFileLargerThanItsStatedSizeIsReadWhole)
{
    // The process's detailed map file states a size of 0 and holds tens of kilobytes in every
    // build (about 1 kB per mapping): the read goes on past the size the file stated, over more
    // than one buffer.
    const CFileBytes bytes = ReadFileBuffer("/proc/self/smaps");
    ASSERT_GT(bytes.size(), 8192u);
    EXPECT_EQ(bytes.data()[bytes.size() - 1], '\n');
    EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("qz_test_framework"), std::string::npos);

    // A file of its stated size, and an empty one.
    const Bytes data(100000, 0x5A);
    WriteFileAtomic(m_dir / "big.qze", data);
    EXPECT_EQ(ReadFileBytes(m_dir / "big.qze"), data);
    WriteFileAtomic(m_dir / "empty.qze", Bytes{});
    EXPECT_EQ(ReadFileBuffer(m_dir / "empty.qze").size(), 0u);
}

}  // namespace
