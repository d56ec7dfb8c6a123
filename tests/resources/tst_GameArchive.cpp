#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "resources/GobArchive.h"
#include "resources/GobGameArchive.h"
#include "resources/MemoryGameArchive.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes DataFor(const std::string& path)
{
    Bytes d;
    for (char c : path)
        d.push_back(static_cast<std::uint8_t>(c ^ 0x5A));
    return d;
}

// The same small game in both kinds of archive: a GOB file written by CGobArchive, and a memory
// archive holding the same files in the file's directory order.
class GameArchives : public TempFolderTest {
protected:
    void SetUp() override
    {
        CGobArchive gob;
        for (const char* path :
             {"episode.qz", "cog\\Door.cog", "mat\\Wall.MAT", "3do\\mat\\wall.mat",
              "3do\\key\\walk.key", "misc\\cmp\\dflt.cmp", "misc\\empty.dat"})
            gob.Add(path, path == std::string("misc\\empty.dat") ? Bytes{} : DataFor(path));
        gob.Save(m_file);

        auto memory = std::make_unique<CMemoryGameArchive>();
        for (std::size_t i = 0; i < gob.GetEntries().size(); ++i)
            memory->Add(gob.GetEntries()[i].m_path, gob.GetData(i));
        m_archives.push_back(std::make_unique<CGobGameArchive>(m_file));
        m_archives.push_back(std::move(memory));
    }
    const std::filesystem::path m_file = m_dir / "res2.gob";
    std::vector<std::unique_ptr<GameArchive>> m_archives;
};

}  // namespace

TEST_F(GameArchives, BothKindsListTheSameEntries)
{
    const CGobDirectory dir = CGobArchive::ReadDirectory(m_file);
    std::vector<CGameArchiveEntry> expected;
    for (const CGobEntry& e : dir.m_entries)
        expected.push_back({e.m_path, e.m_offset, e.m_size});
    ASSERT_EQ(expected.size(), 7u);
    for (const auto& archive : m_archives)
        EXPECT_EQ(archive->GetEntries(), expected);
}

TEST_F(GameArchives, FindAndRead)
{
    struct Case {
        const char* key;
        bool byPath;
        const char* found;  // nullptr: no entry
    };
    const Case cases[] = {
        {"door.cog", false, "cog\\Door.cog"},
        {"DOOR.COG", false, "cog\\Door.cog"},
        {"WALK.key", false, "3do\\key\\walk.key"},
        {"episode.qz", false, "episode.qz"},
        // Two entries of one name: the first in directory order.
        {"wall.mat", false, "3do\\mat\\wall.mat"},
        {"cog", false, nullptr},
        {"door", false, nullptr},
        {"missing.cog", false, nullptr},
        {"COG\\door.COG", true, "cog\\Door.cog"},
        {"mat\\wall.mat", true, "mat\\Wall.MAT"},
        {"MISC\\CMP\\DFLT.CMP", true, "misc\\cmp\\dflt.cmp"},
        {"door.cog", true, nullptr},
        {"cog/door.cog", true, nullptr},
        {"cog\\door.cog ", true, nullptr},
    };
    for (const auto& archive : m_archives) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.key) + (c.byPath ? " by path" : " by name"));
            const CGameArchiveEntry* entry =
                c.byPath ? archive->FindByPath(c.key) : archive->FindByName(c.key);
            if (!c.found) {
                EXPECT_EQ(entry, nullptr);
                continue;
            }
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->m_path, c.found);
            EXPECT_EQ(archive->ReadEntry(*entry), DataFor(c.found));
        }
        const CGameArchiveEntry* empty = archive->FindByName("EMPTY.DAT");
        ASSERT_NE(empty, nullptr);
        EXPECT_TRUE(archive->ReadEntry(*empty).empty());
    }
}

TEST_F(GameArchives, ReadsOutsideTheArchiveAreRefused)
{
    const std::uint32_t end = static_cast<std::uint32_t>(std::filesystem::file_size(m_file));
    struct Case {
        std::uint32_t offset;
        std::uint32_t size;
    };
    const Case cases[] = {
        {end, 1}, {end - 1, 2}, {end + 100, 0}, {0xFFFFFF00u, 0x200}, {1000, 0xFFFFFFFFu}};
    for (const auto& archive : m_archives) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.offset) + "+" + std::to_string(c.size));
            EXPECT_THROW(archive->ReadBytes(c.offset, c.size), CArchiveException);
        }
        EXPECT_EQ(archive->ReadBytes(end - 1, 1).size(), 1u);
        EXPECT_TRUE(archive->ReadBytes(end, 0).empty());
    }
}

TEST_F(GameArchives, FileArchiveChecksTheFile)
{
    CGobGameArchive& gob = dynamic_cast<CGobGameArchive&>(*m_archives[0]);
    const CGameArchiveEntry door = *gob.FindByName("door.cog");

    // Replacing the file (as every rewrite does) leaves the open archive reading what its
    // directory describes.
    CGobArchive::WriteArchive(m_file, "a.qz", Bytes(300, 0x11));
    EXPECT_EQ(gob.ReadEntry(door), DataFor("cog\\Door.cog"));

    // A file cut short after its directory was read: the missing bytes are an error, not garbage.
    {
        CGobGameArchive reopened(m_file);
        const CGameArchiveEntry cut = *reopened.FindByName("door.cog");
        std::filesystem::resize_file(m_file, cut.m_offset + cut.m_size - 1);
        EXPECT_THROW(reopened.ReadEntry(cut), CArchiveException);
        EXPECT_EQ(reopened.ReadBytes(cut.m_offset, cut.m_size - 1).size(), cut.m_size - 1);
    }

    EXPECT_THROW(CGobGameArchive(m_dir / "missing.gob"), CFileException);
    WriteFileAtomic(m_dir / "bad.gob",
                    Bytes{'G', 'O', 'B', ' ', 0x14, 0, 0, 0, 12, 0, 0, 0, 9, 0, 0, 0});
    EXPECT_THROW(CGobGameArchive(m_dir / "bad.gob"), CArchiveException);
}

TEST(MemoryGameArchive, RefusesWhatAnArchiveCannotHold)
{
    CMemoryGameArchive archive;
    EXPECT_THROW(archive.Add(std::string(128, 'x'), Bytes{}), CArchiveException);
    EXPECT_TRUE(archive.GetEntries().empty());
    EXPECT_EQ(archive.FindByName("x"), nullptr);
}
