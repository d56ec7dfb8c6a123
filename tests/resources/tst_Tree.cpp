#include "support/LevelBytes.h"

#include "level/QzlMaterial.h"
#include "resources/Tree.h"

#include <gtest/gtest.h>

namespace {

CTree TreeOf(std::initializer_list<const char*> names)
{
    CTree tree;
    for (const char* name : names)
        tree.m_entries.push_back(std::make_unique<CTreeObject>(std::string(name), 0, 0));
    return tree;
}

// A stored tree of one entry with the given stored path, size and data bytes.
Bytes OneEntry(const std::string& path, std::int32_t size, const Bytes& data)
{
    ByteBuilder b;
    b.Count(1).NewClass("CTreeObject", 1).Str(path).I32(size).I32(0);
    b.b.insert(b.b.end(), data.begin(), data.end());
    return b.b;
}

}  // namespace

TEST(Tree, Find)
{
    struct Case {
        std::initializer_list<const char*> names;
        const char* key;
        int found;
        int position;
    };
    const Case cases[] = {
        {{}, "a.cog", 0, 0},
        {{"a.cog", "c.cog"}, "b.cog", 0, 1},
        {{"a.cog", "c.cog"}, "0.cog", 0, 0},
        {{"a.cog", "c.cog"}, "d.cog", 0, 2},
        {{"Alpha.mat", "beta.mat", "GAMMA.mat"}, "ALPHA.MAT", 1, 0},
        {{"Alpha.mat", "beta.mat", "GAMMA.mat"}, "Beta.Mat", 1, 1},
        {{"Alpha.mat", "beta.mat", "GAMMA.mat"}, "gamma.mat", 1, 2},
        // Letters fold to lower case, so '_' (0x5F) sorts before 'a'.
        {{"_x.mat", "a.mat"}, "A.MAT", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const CTree tree = TreeOf(c.names);
        int position = -7;
        EXPECT_EQ(tree.Find(c.key, position), c.found);
        EXPECT_EQ(position, c.position);
    }
}

TEST(Tree, EntryConstructors)
{
    const CTreeObject archived("3do\\key\\walk.key", 120, 64);
    EXPECT_EQ(archived.m_name, "walk.key");
    EXPECT_EQ(archived.m_offset, 120);
    EXPECT_EQ(archived.m_size, 64);
    EXPECT_FALSE(archived.HasData());

    const CTreeObject held("door.cog", Bytes{1, 2, 3}, 0);
    EXPECT_EQ(held.m_name, "door.cog");
    EXPECT_TRUE(held.m_path.empty());
    EXPECT_EQ(held.m_size, 3);
    ASSERT_TRUE(held.HasData());
    EXPECT_EQ(*held.m_data, (Bytes{1, 2, 3}));
}

TEST(Tree, StoredForm)
{
    CTree tree;
    auto entry = std::make_unique<CTreeObject>("door.cog", Bytes{0xAA, 0xBB}, 16);
    entry->m_path = "cog\\door.cog";
    tree.m_entries.push_back(std::move(entry));
    tree.m_entries.push_back(std::make_unique<CTreeObject>("x.mat", Bytes{}, 0));

    CArchive out(LevelClassRegistry());
    tree.Serialize(out);
    const Bytes expected = ByteBuilder{}
                               .Count(2)
                               .NewClass("CTreeObject", 1)
                               .Str("cog\\door.cog")
                               .I32(2)
                               .I32(16)
                               .U8(0xAA)
                               .U8(0xBB)
                               .ClassRef(1)
                               .Str("")
                               .I32(0)
                               .I32(0)
                               .b;
    EXPECT_EQ(out.Buffer(), expected);
}

// A bare file name is put into the folder of its kind; the first substring in table order wins.
TEST(Tree, FolderOfBareNamesOnLoad)
{
    struct Case {
        const char* stored;
        const char* path;
        const char* name;
    };
    const Case cases[] = {
        {"x.cog", "cog\\x.cog", "x.cog"},
        {"a.cogx", "cog\\a.cogx", "a.cogx"},
        {"mat\\x.cog", "mat\\x.cog", "x.cog"},
        {"my\\deep\\door.3do", "my\\deep\\door.3do", "door.3do"},
        {".wav", "sound\\.wav", ".wav"},
        {"boom.wav", "sound\\boom.wav", "boom.wav"},
        {"walk.key", "3do\\key\\walk.key", "walk.key"},
        {"walk.key.3do", "3do\\walk.key.3do", "walk.key.3do"},
        {"door.3do.cog", "cog\\door.3do.cog", "door.3do.cog"},
        {"wall.mat", "mat\\wall.mat", "wall.mat"},
        {"grunt.ai", "misc\\ai\\grunt.ai", "grunt.ai"},
        {"x.mat.ai", "mat\\x.mat.ai", "x.mat.ai"},
        {"grunt.par", "misc\\par\\grunt.par", "grunt.par"},
        {"grunt.per", "misc\\per\\grunt.per", "grunt.per"},
        {"grunt.pup", "misc\\pup\\grunt.pup", "grunt.pup"},
        {"grunt.snd", "misc\\snd\\grunt.snd", "grunt.snd"},
        {"fire.spr", "misc\\spr\\fire.spr", "fire.spr"},
        {"X.COG", "X.COG", "X.COG"},
        {"readme.txt", "readme.txt", "readme.txt"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const Bytes bytes = OneEntry(c.stored, 3, Bytes{7, 8, 9});
        CArchive in(LevelClassRegistry(), bytes);
        CTree tree;
        tree.Serialize(in);
        EXPECT_TRUE(in.AtEnd());
        ASSERT_EQ(tree.m_entries.size(), 1u);
        const CTreeObject& e = *tree.m_entries[0];
        EXPECT_EQ(e.m_path, c.path);
        EXPECT_EQ(e.m_name, c.name);
        EXPECT_EQ(e.m_size, 3);
        ASSERT_TRUE(e.HasData());
        EXPECT_EQ(*e.m_data, (Bytes{7, 8, 9}));
    }
}

// Sizes come from the file: a size that is negative or larger than what is left, or an entry of
// another class, is refused with a clear error before anything is allocated.
TEST(Tree, HostileEntries)
{
    struct Case {
        const char* name;
        Bytes bytes;
        CArchiveException::Cause cause;
    };
    const Case cases[] = {
        {"negative size", OneEntry("x.cog", -1, Bytes{1, 2, 3}), CArchiveException::badFormat},
        {"most negative size", OneEntry("x.cog", INT32_MIN, Bytes{}), CArchiveException::badFormat},
        {"size past the end", OneEntry("x.cog", 4, Bytes{1, 2, 3}), CArchiveException::endOfFile},
        {"huge size", OneEntry("x.cog", INT32_MAX, Bytes{1}), CArchiveException::endOfFile},
        {"count past the end", ByteBuilder{}.Count(500).NewClass("CTreeObject", 1).b,
         CArchiveException::endOfFile},
        {"entry of another class",
         ByteBuilder{}.Count(1).NewClass("CQzlMaterial", 1).Str("x.mat").Floats(1.0f, 1.0f).b,
         CArchiveException::badClass},
        {"null entry", ByteBuilder{}.Count(1).U16(0).b, CArchiveException::badFormat},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTree tree = TreeOf({"kept.cog"});
        EXPECT_EQ(LoadFailure(c.bytes, [&tree](CArchive& ar) { tree.Serialize(ar); }), c.cause);
        // A failed load leaves the tree as it was.
        ASSERT_EQ(tree.m_entries.size(), 1u);
        EXPECT_EQ(tree.m_entries[0]->m_name, "kept.cog");
    }
}

TEST(Tree, StoreAndReload)
{
    CTree tree;
    auto cog = std::make_unique<CTreeObject>("door.cog", Bytes{'#', ' ', 'x'}, 0);
    cog->m_path = "cog\\door.cog";
    tree.m_entries.push_back(std::move(cog));
    // An index entry of a game archive holds no bytes: it is stored as an empty file, so the
    // stored size always matches the bytes that follow.
    tree.m_entries.push_back(std::make_unique<CTreeObject>("mat\\wall.mat", 4096, 500));

    CArchive out(LevelClassRegistry());
    tree.Serialize(out);
    CArchive in(LevelClassRegistry(), out.Buffer());
    CTree loaded;
    loaded.Serialize(in);
    EXPECT_TRUE(in.AtEnd());
    ASSERT_EQ(loaded.m_entries.size(), 2u);
    EXPECT_EQ(loaded.m_entries[0]->m_path, "cog\\door.cog");
    EXPECT_EQ(*loaded.m_entries[0]->m_data, (Bytes{'#', ' ', 'x'}));
    EXPECT_EQ(loaded.m_entries[1]->m_path, "mat\\wall.mat");
    EXPECT_EQ(loaded.m_entries[1]->m_name, "wall.mat");
    EXPECT_EQ(loaded.m_entries[1]->m_offset, 4096);
    EXPECT_EQ(loaded.m_entries[1]->m_size, 0);
    EXPECT_TRUE(loaded.m_entries[1]->m_data->empty());
}
