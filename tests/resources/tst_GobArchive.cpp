#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "resources/GobArchive.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t WordAt(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b.at(at)) | (static_cast<std::uint32_t>(b.at(at + 1)) << 8) |
           (static_cast<std::uint32_t>(b.at(at + 2)) << 16) |
           (static_cast<std::uint32_t>(b.at(at + 3)) << 24);
}

// Builds archive images byte by byte, as another tool (or a hostile one) might write them.
struct RawArchive {
    Bytes b;

    RawArchive& Word(std::uint32_t v)
    {
        for (int shift = 0; shift < 32; shift += 8)
            b.push_back(static_cast<std::uint8_t>(v >> shift));
        return *this;
    }
    RawArchive& Header(std::uint32_t count, std::uint32_t version = 0x14, std::uint32_t dir = 12)
    {
        b.insert(b.end(), {'G', 'O', 'B', ' '});
        return Word(version).Word(dir).Word(count);
    }
    // A record whose path field holds the text, then NULs.
    RawArchive& Record(std::uint32_t offset, std::uint32_t size, const std::string& path)
    {
        Word(offset).Word(size);
        b.insert(b.end(), path.begin(), path.end());
        b.insert(b.end(), 128 - path.size(), 0);
        return *this;
    }
    RawArchive& Data(const Bytes& d)
    {
        b.insert(b.end(), d.begin(), d.end());
        return *this;
    }
};

Bytes DataFor(const std::string& path, std::size_t size)
{
    Bytes d(size);
    for (std::size_t i = 0; i < size; ++i)
        d[i] = static_cast<std::uint8_t>(path.size() * 31 + i * 7 +
                                         static_cast<unsigned char>(path[i % path.size()]));
    return d;
}

std::vector<std::string> PathsOf(const std::vector<CGobEntry>& entries)
{
    std::vector<std::string> paths;
    for (const CGobEntry& e : entries)
        paths.push_back(e.m_path);
    return paths;
}

// Checks the packed layout of a whole archive image as written: every data offset is
// 16 + 136 x count plus the sizes before it, and the file ends with the last entry's data.
void ExpectPacked(const Bytes& image)
{
    ASSERT_GE(image.size(), 16u);
    const std::uint32_t count = WordAt(image, 12);
    std::uint64_t expected = 16 + 136ull * count;
    for (std::uint32_t i = 0; i < count; ++i) {
        EXPECT_EQ(WordAt(image, 16 + 136 * i), expected) << "entry " << i;
        expected += WordAt(image, 16 + 136 * i + 4);
    }
    EXPECT_EQ(image.size(), expected);
}

class GobArchiveFile : public TempFolderTest {
protected:
    // A new archive holding paths, added one after another.
    void MakeArchive(const std::vector<std::string>& paths)
    {
        CGobArchive::CreateEmptyArchive(m_file);
        for (const std::string& p : paths)
            CGobArchive::WriteArchive(m_file, p, DataFor(p, p.size() + 3));
    }
    // Writes a raw archive of paths in the given order, 4 bytes of data each.
    void WriteRaw(const std::vector<std::string>& paths)
    {
        RawArchive raw;
        raw.Header(static_cast<std::uint32_t>(paths.size()));
        std::uint32_t offset = 16 + 136 * static_cast<std::uint32_t>(paths.size());
        for (const std::string& p : paths) {
            raw.Record(offset, 4, p);
            offset += 4;
        }
        for (const std::string& p : paths)
            raw.Data(DataFor(p, 4));
        WriteFileAtomic(m_file, raw.b);
    }

    const std::filesystem::path m_file = m_dir / "test.gob";
};

}  // namespace

TEST_F(GobArchiveFile, EmptyArchive)
{
    WriteFileAtomic(m_file, Bytes(500, 0xEE));  // an existing file is replaced
    CGobArchive::CreateEmptyArchive(m_file);
    const Bytes expected = {'G', 'O', 'B', ' ', 0x14, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(ReadFileBytes(m_file), expected);
    EXPECT_EQ(CGobArchive::EmptyArchiveBytes(), expected);

    const CGobDirectory dir = CGobArchive::ReadDirectory(m_file);
    EXPECT_TRUE(dir.m_entries.empty());
    EXPECT_EQ(dir.m_version, 0x14u);
    EXPECT_EQ(dir.m_directoryOffset, 12u);
    const std::vector<CGobFolderItem> tree = CGobArchive::BuildFolderTree(dir, m_file);
    const std::vector<CGobFolderItem> root = {{-1, "test.gob", m_file.string(), 16, 0}};
    EXPECT_EQ(tree, root);
}

TEST_F(GobArchiveFile, AddToEmptyArchive)
{
    CGobArchive::CreateEmptyArchive(m_file);
    CGobArchive::WriteArchive(m_file, "episode.qz", Bytes{7, 8, 9});
    const Bytes image = ReadFileBytes(m_file);
    ASSERT_EQ(image.size(), 155u);
    EXPECT_EQ(WordAt(image, 12), 1u);
    EXPECT_EQ(WordAt(image, 16), 152u);
    EXPECT_EQ(WordAt(image, 20), 3u);
    const std::string field(image.begin() + 24, image.begin() + 152);
    EXPECT_EQ(field, std::string("episode.qz") + std::string(118, '\0'));
    EXPECT_EQ(Bytes(image.begin() + 152, image.end()), (Bytes{7, 8, 9}));
}

TEST(GobArchive, InsertionIndex)
{
    struct Case {
        std::vector<std::string> existing;
        std::string path;
        std::size_t index;
    };
    const Case cases[] = {
        {{}, "cog\\a.cog", 0},
        // Index 0 is never chosen while entries exist.
        {{"zzz.qz"}, "a.qz", 1},
        {{"cog\\b.cog", "mat\\m.mat"}, "3do\\a.3do", 1},
        {{"episode.qz", "cog\\b.cog", "qzl\\x.qzl"}, "cog\\a.cog", 1},
        // Deeper paths follow their parent folder's files ...
        {{"episode.qz", "3do\\x.3do", "cog\\b.cog"}, "3do\\key\\a.key", 2},
        // ... and a folder's files stand before its sub-folders.
        {{"a.qz", "3do\\x.3do", "3do\\key\\k.key", "cog\\c.cog"}, "3do\\y.3do", 2},
        {{"a.qz", "b.qz", "cog\\c.cog"}, "c.qz", 2},
        {{"a.qz", "cog\\c.cog", "cog\\e.cog"}, "cog\\d.cog", 2},
        {{"a.qz", "cog\\c.cog"}, "cog\\d.cog", 2},
        // A path already there goes before its twin (two entries).
        {{"episode.qz", "cog\\a.cog"}, "cog\\a.cog", 1},
        // Byte-wise: upper case sorts before lower case.
        {{"episode.qz", "cog\\a.cog"}, "COG\\x.cog", 1},
        // Unsigned: a byte above 0x7F sorts after every letter.
        {{"episode.qz", "cog\\a.cog"}, "\xE9t\\x.cog", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::vector<CGobEntry> entries;
        for (const std::string& p : c.existing)
            entries.push_back({p, 0, 0});
        EXPECT_EQ(CGobArchive::InsertionIndex(entries, c.path), c.index);
    }
}

TEST_F(GobArchiveFile, AddKeepsOrderAndData)
{
    struct Case {
        std::vector<std::string> existing;
        std::string added;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {{"episode.qz", "cog\\b.cog", "qzl\\x.qzl"},
         "cog\\a.cog",
         {"episode.qz", "cog\\a.cog", "cog\\b.cog", "qzl\\x.qzl"}},
        {{"episode.qz", "3do\\x.3do", "cog\\b.cog"},
         "3do\\key\\a.key",
         {"episode.qz", "3do\\x.3do", "3do\\key\\a.key", "cog\\b.cog"}},
        {{"zzz.qz"}, "aaa.qz", {"zzz.qz", "aaa.qz"}},
        {{"episode.qz", "cog\\a.cog"}, "cog\\a.cog", {"episode.qz", "cog\\a.cog", "cog\\a.cog"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.added);
        WriteRaw(c.existing);
        const Bytes added = {0xAB, 0xCD};
        CGobArchive::WriteArchive(m_file, c.added, added);
        const Bytes image = ReadFileBytes(m_file);
        ExpectPacked(image);
        const CGobArchive archive = CGobArchive::FromBytes(image, "test.gob");
        EXPECT_EQ(PathsOf(archive.GetEntries()), c.after);
        // The added entry holds the new bytes; every other keeps its own.
        bool seenAdded = false;
        for (std::size_t i = 0; i < archive.GetEntries().size(); ++i) {
            const Bytes data(archive.GetData(i).begin(), archive.GetData(i).end());
            const std::string& p = archive.GetEntries()[i].m_path;
            if (!seenAdded && p == c.added && data == added)
                seenAdded = true;
            else
                EXPECT_EQ(data, DataFor(p, 4)) << p;
        }
        EXPECT_TRUE(seenAdded);
    }
}

TEST_F(GobArchiveFile, Remove)
{
    // The only entry: an empty archive is left.
    MakeArchive({"episode.qz"});
    EXPECT_TRUE(CGobArchive::RewriteArchive(m_file, "episode.qz"));
    EXPECT_EQ(ReadFileBytes(m_file), CGobArchive::EmptyArchiveBytes());

    // A path that no entry carries (letter case counts) leaves the file as it was.
    MakeArchive({"episode.qz", "cog\\door.cog", "mat\\wall.mat"});
    const Bytes before = ReadFileBytes(m_file);
    for (const char* absent :
         {"COG\\door.cog", "door.cog", "cog\\door.co", "", "mat\\wall.mat\\x"}) {
        SCOPED_TRACE(absent);
        EXPECT_FALSE(CGobArchive::RewriteArchive(m_file, absent));
        EXPECT_EQ(ReadFileBytes(m_file), before);
    }

    // Of two entries with the same path, the first in directory order goes.
    CGobArchive archive = CGobArchive::Load(m_file);
    archive.Add("cog\\door.cog", Bytes{1});
    ASSERT_EQ(PathsOf(archive.GetEntries()),
              (std::vector<std::string>{"episode.qz", "cog\\door.cog", "cog\\door.cog",
                                        "mat\\wall.mat"}));
    archive.Save(m_file);
    EXPECT_TRUE(CGobArchive::RewriteArchive(m_file, "cog\\door.cog"));
    const CGobArchive after = CGobArchive::Load(m_file);
    ASSERT_EQ(PathsOf(after.GetEntries()),
              (std::vector<std::string>{"episode.qz", "cog\\door.cog", "mat\\wall.mat"}));
    EXPECT_EQ(Bytes(after.GetData(1).begin(), after.GetData(1).end()),
              DataFor("cog\\door.cog", 15));
    ExpectPacked(ReadFileBytes(m_file));
}

TEST_F(GobArchiveFile, RandomAddsAndRemovesStayPackedAndIntact)
{
    const std::vector<std::string> pool = {
        "episode.qz",    "readme.txt",     "cog\\a.cog",       "cog\\b.cog",
        "cog\\zz.cog",   "3do\\box.3do",   "3do\\key\\w.key",  "3do\\key\\r.key",
        "mat\\wall.mat", "mat\\Floor.mat", "misc\\cmp\\d.cmp", "misc\\ai\\x.ai",
        "misc\\m.uni",   "qzl\\level.qzl", "voiceuu\\s.wav",   "3do\\mat\\t.mat",
    };
    std::mt19937 random(20240611u);
    std::map<std::string, Bytes> model;
    CGobArchive::CreateEmptyArchive(m_file);
    for (int step = 0; step < 160; ++step) {
        const std::string& path = pool[random() % pool.size()];
        SCOPED_TRACE("step " + std::to_string(step) + " " + path);
        const Bytes before = ReadFileBytes(m_file);
        if (model.count(path) == 0 && random() % 3 != 0) {
            Bytes data = DataFor(path, random() % 200);
            if (!data.empty())
                data[0] = static_cast<std::uint8_t>(step);
            CGobArchive::WriteArchive(m_file, path, data);
            model[path] = data;
        } else {
            const bool present = model.erase(path) > 0;
            EXPECT_EQ(CGobArchive::RewriteArchive(m_file, path), present);
            if (!present) {
                EXPECT_EQ(ReadFileBytes(m_file), before);
            }
        }
        const Bytes image = ReadFileBytes(m_file);
        ExpectPacked(image);
        const CGobArchive archive = CGobArchive::FromBytes(image, "test.gob");
        ASSERT_EQ(archive.GetEntries().size(), model.size());
        for (std::size_t i = 0; i < archive.GetEntries().size(); ++i) {
            const CGobEntry& e = archive.GetEntries()[i];
            ASSERT_EQ(model.count(e.m_path), 1u) << e.m_path;
            EXPECT_EQ(Bytes(image.begin() + e.m_offset, image.begin() + e.m_offset + e.m_size),
                      model[e.m_path]);
        }
    }
}

TEST_F(GobArchiveFile, HeaderWordsOfAnotherToolSurvive)
{
    RawArchive raw;
    raw.Header(1, 0x99, 12).Record(16 + 136, 2, "episode.qz").Data({5, 6});
    WriteFileAtomic(m_file, raw.b);
    CGobArchive::WriteArchive(m_file, "cog\\a.cog", Bytes{1});
    Bytes image = ReadFileBytes(m_file);
    EXPECT_EQ(WordAt(image, 4), 0x99u);
    EXPECT_EQ(WordAt(image, 8), 12u);
    EXPECT_EQ(WordAt(image, 12), 2u);
    EXPECT_TRUE(CGobArchive::RewriteArchive(m_file, "episode.qz"));
    image = ReadFileBytes(m_file);
    EXPECT_EQ(WordAt(image, 4), 0x99u);
    EXPECT_EQ(WordAt(image, 8), 12u);
    EXPECT_EQ(WordAt(image, 12), 1u);
    ExpectPacked(image);
}

TEST(GobArchive, FolderTree)
{
    CGobDirectory dir;
    for (const char* p :
         {"episode.qz", "3do\\a.3do", "3do\\b.3do", "3do\\key\\k1.key", "3do\\key\\k2.key",
          "cog\\c.cog", "misc\\m.uni", "misc\\ai\\x.ai", "misc\\cmp\\y.cmp", "qzl\\l.qzl"})
        dir.m_entries.push_back({p, 0, 0});
    const std::vector<CGobFolderItem> expected = {
        {-1, "res.gob", "/games/k/res.gob", 16, 0},
        {0, "3do", "3do\\a.3do", 16 + 136 * 1, 1},
        {1, "key", "3do\\key\\k1.key", 16 + 136 * 3, 2},
        {0, "cog", "cog\\c.cog", 16 + 136 * 5, 1},
        {0, "misc", "misc\\m.uni", 16 + 136 * 6, 1},
        {4, "ai", "misc\\ai\\x.ai", 16 + 136 * 7, 2},
        {4, "cmp", "misc\\cmp\\y.cmp", 16 + 136 * 8, 2},
        {0, "qzl", "qzl\\l.qzl", 16 + 136 * 9, 1},
    };
    EXPECT_EQ(CGobArchive::BuildFolderTree(dir, "/games/k/res.gob"), expected);

    // An order no writer of ours makes (a deep folder first, then climbing past the root) still
    // gives parents that exist and stand before their children.
    CGobDirectory odd;
    for (const char* p : {"a\\b\\c\\x.y", "d\\e.x", "f\\g\\h.x", "i.x", "j\\k.x", "j\\l\\m\\n.x"})
        odd.m_entries.push_back({p, 0, 0});
    const std::vector<CGobFolderItem> items = CGobArchive::BuildFolderTree(odd, "odd.gob");
    ASSERT_EQ(items.size(), 6u);
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_GE(items[i].m_parent, -1);
        EXPECT_LT(items[i].m_parent, static_cast<int>(i));
    }
    EXPECT_EQ(items[1].m_label, "c");
    EXPECT_EQ(items[1].m_parent, 0);
    EXPECT_EQ(items[2].m_label, "d");
    EXPECT_EQ(items[2].m_parent, -1);  // one level up from the root: the top of the tree
}

TEST_F(GobArchiveFile, HostileFilesAreRefused)
{
    struct Case {
        const char* what;
        Bytes image;
    };
    RawArchive noNul;
    noNul.Header(1).Word(152).Word(0);
    noNul.b.insert(noNul.b.end(), 128, 'a');
    const Case cases[] = {
        {"empty file", {}},
        {"shorter than the header",
         [] {
             RawArchive r;
             r.Header(0);
             r.b.pop_back();
             return r.b;
         }()},
        {"wrong magic",
         [] {
             RawArchive r;
             r.Header(0);
             r.b[3] = 'X';
             return r.b;
         }()},
        {"count past the end", RawArchive().Header(2).Record(16 + 272, 0, "a.qz").b},
        {"count 0xFFFFFFFF in 16 bytes", RawArchive().Header(0xFFFFFFFFu).b},
        {"data past the end", RawArchive().Header(1).Record(152, 4, "a.qz").Data({1, 2, 3}).b},
        {"data offset at the end", RawArchive().Header(1).Record(153, 1, "a.qz").Data({1}).b},
        {"offset + size wraps 32 bits",
         RawArchive().Header(1).Record(0xFFFFFF00u, 0x200, "a.qz").Data(Bytes(0x100)).b},
        {"huge size", RawArchive().Header(1).Record(152, 0xFFFFFFFFu, "a.qz").b},
        {"path without NUL", noNul.b},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto expectRefused = [](const auto& call) {
            try {
                call();
                ADD_FAILURE() << "accepted";
            } catch (const CArchiveException& e) {
                EXPECT_EQ(e.GetCause(), CArchiveException::badFormat);
                EXPECT_EQ(std::string(e.what()).rfind("\"test.gob\" is not a game archive: ", 0),
                          0u)
                    << e.what();
            }
        };
        expectRefused([&] { CGobArchive::ReadDirectory(c.image, "test.gob"); });
        WriteFileAtomic(m_file, c.image);
        expectRefused([&] { CGobArchive::ReadDirectory(m_file); });
        expectRefused([&] { CGobArchive::WriteArchive(m_file, "b.qz", Bytes{1}); });
        expectRefused([&] { CGobArchive::RewriteArchive(m_file, "a.qz"); });
        EXPECT_EQ(ReadFileBytes(m_file), c.image);
    }

    // Entries that end exactly at the end of the file, or hold nothing, are fine.
    const Bytes edge =
        RawArchive().Header(2).Record(288, 0, "a.qz").Record(288, 2, "b.qz").Data({1, 2}).b;
    const CGobDirectory dir = CGobArchive::ReadDirectory(edge, "test.gob");
    ASSERT_EQ(dir.m_entries.size(), 2u);
    EXPECT_EQ(dir.m_entries[1], (CGobEntry{"b.qz", 288, 2}));
}

TEST_F(GobArchiveFile, PathsThatDoNotFitAreRefused)
{
    MakeArchive({"episode.qz"});
    const Bytes before = ReadFileBytes(m_file);
    for (const std::string& bad : {std::string(128, 'a'), "cog\\" + std::string(200, 'b'),
                                   std::string("cog\\a\0b.cog", 11)}) {
        SCOPED_TRACE(bad.size());
        EXPECT_THROW(CGobArchive::WriteArchive(m_file, bad, Bytes{1}), CArchiveException);
        EXPECT_EQ(ReadFileBytes(m_file), before);
    }
    const std::string longest = "cog\\" + std::string(123, 'c');
    ASSERT_EQ(longest.size(), 127u);
    CGobArchive::WriteArchive(m_file, longest, Bytes{4, 2});
    const CGobDirectory dir = CGobArchive::ReadDirectory(m_file);
    ASSERT_EQ(dir.m_entries.size(), 2u);
    EXPECT_EQ(dir.m_entries[1].m_path, longest);
}

TEST_F(GobArchiveFile, FileSystemFailuresAreReported)
{
    const auto missing = m_dir / "missing.gob";
    EXPECT_THROW(CGobArchive::ReadDirectory(missing), CFileException);
    EXPECT_THROW(CGobArchive::WriteArchive(missing, "a.qz", Bytes{1}), CFileException);
    EXPECT_THROW(CGobArchive::RewriteArchive(missing, "a.qz"), CFileException);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_THROW(CGobArchive::CreateEmptyArchive(m_dir / "no" / "such" / "x.gob"), CFileException);
    EXPECT_THROW(CGobArchive::ReadDirectory(m_dir), CFileException);  // a folder
}
