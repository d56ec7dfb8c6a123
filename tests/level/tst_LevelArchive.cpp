#include "GridLevel.h"

#include "framework/Archive.h"
#include "level/LevelArchive.h"
#include "level/LevelClassRegistry.h"
#include "level/LevelValidator.h"
#include "level/QzeFile.h"

#include "ByteBuilder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

CQzlSections SmallLevel(int sectors = 4)
{
    CQzlSections level;
    GenerateGridLevel(level, sectors);
    return level;
}

// Replaces the first occurrence of `from` in data by `to` (same length).
void Patch(Bytes& data, const std::string& from, const std::string& to, std::size_t skip = 0)
{
    ASSERT_EQ(from.size(), to.size());
    auto it = data.begin();
    for (std::size_t i = 0; i <= skip; ++i) {
        it = std::search(i ? it + 1 : it, data.end(), from.begin(), from.end());
        ASSERT_NE(it, data.end()) << from;
    }
    std::copy(to.begin(), to.end(), it);
}

std::size_t Find(const Bytes& data, const std::string& what)
{
    auto it = std::search(data.begin(), data.end(), what.begin(), what.end());
    EXPECT_NE(it, data.end()) << what;
    return static_cast<std::size_t>(it - data.begin());
}

CArchiveException::Cause ReadFails(const Bytes& data)
{
    try {
        ReadQzeBytes(data);
    } catch (const CArchiveException& e) {
        EXPECT_STRNE(e.what(), "");
        return e.GetCause();
    }
    ADD_FAILURE() << "the damaged file was accepted";
    return CArchiveException::badFormat;
}

// Writes a level archive of an older version by hand: one surface of three corners stored with
// corner schema 2 (texture-vertex indices), three world vertices, three texture vertices and
// one bookmark.
Bytes OldLevel(const std::string& tag, bool withFilesAndBookmarks, std::int32_t textureIndex = 2)
{
    ByteBuilder b;
    b.U8(static_cast<std::uint8_t>(tag.size())).Text(tag);
    b.NewClass("CObArray", 0).U16(0);  // materials: class 1, object 2
    b.U16(0x8001).U16(0);              // adjoins: object 3
    b.U16(0x8001).U16(1);              // surfaces: object 4
    b.NewClass("CQzlSurface", 1);      // class 5, object 6
    b.U32(0xFFFFFFFFu).U32(0).U32(0).U32(4).U32(3).U32(1).U32(0xFFFFFFFFu).F32(0.0f);
    b.U16(0x8001).U16(3);         // corner list: object 7
    b.NewClass("CQzlVertex", 2);  // class 8
    for (std::int32_t v = 0; v < 3; ++v)
        b.U32(static_cast<std::uint32_t>(v))
            .U32(static_cast<std::uint32_t>(v == 0 ? textureIndex : 0))
            .F32(1)
            .F32(1)
            .F32(1)
            .F32(1)
            .U16(v < 2 ? 0x8008 : 0);
    b.b.resize(b.b.size() - 2);  // the last corner needs no next tag
    b.F32(0).F32(1).F32(0);      // normal (schema 1 ends with it)
    b.U16(0x8001).U16(0);        // sectors
    b.U16(0x8001).U16(0);        // cogs
    b.U16(0x8001).U16(0);        // templates
    b.U16(0x8001).U16(0);        // things
    b.U16(0);                    // notices
    b.Zeros(76);                 // header
    b.U16(0).U16(0);             // sounds, colormaps
    b.U16(3);                    // world vertices
    for (int v = 0; v < 3; ++v)
        b.F32(static_cast<float>(v)).F32(0).F32(static_cast<float>(v == 2)).Zeros(24);
    b.U16(3);  // texture vertices: u, v in floats 7 and 8
    for (int v = 0; v < 3; ++v)
        b.Zeros(24).F32(v == 2 ? 12.3456f : 1.0f).F32(v == 2 ? 7.0001f : 2.0f).Zeros(4);
    b.Zeros(2 * 7);  // AI classes ... cog scripts
    if (withFilesAndBookmarks) {
        b.U16(0);  // level files
        b.U16(1).F32(100).F32(50).F32(-25).F32(1).F32(0).F32(0).F32(0).F32(0).F32(1);
    }
    return b.b;
}

CQzlSections LoadLevelPart(const Bytes& data, int& version)
{
    return ReadLevelBytes(data, version);
}

}  // namespace

TEST(LevelArchive, EmptyLevelGoldenBytes)
{
    CQzlSections level;
    const Bytes bytes = WriteLevelBytes(level);
    ByteBuilder expected;
    expected.U8(3).Text("QZ5");
    expected.NewClass("CObArray", 0).U16(0);
    for (int list = 0; list < 6; ++list)
        expected.U16(0x8001).U16(0);
    expected.U16(0);        // notices
    expected.Zeros(76);     // header
    expected.Zeros(2 * 4);  // sounds, colormaps, world and texture vertices
    expected.Zeros(2 * 7);  // seven name lists
    expected.Zeros(2 * 2);  // level files, bookmarks
    EXPECT_EQ(bytes, expected.b);
    EXPECT_EQ(level.m_gameTag, "QZ");
}

TEST(LevelArchive, StoreLoadStoreIsByteIdentical)
{
    CQzlSections level = SmallLevel(30);
    level.m_textureVertices.push_back({});  // emptied by the store
    CDocumentFields doc;
    doc.m_episodeTitle = "The Pit";
    doc.m_levelFileName = "01pit.qzl";
    doc.m_messageText = std::string(300, 'm');
    doc.m_lightPower = 3;
    doc.m_goalsCogOn = 1;
    const Bytes first = WriteQzeBytes(level, doc);
    EXPECT_TRUE(level.m_textureVertices.empty());
    EXPECT_EQ(level.m_gameTag, "QZ");

    CQzeContents back = ReadQzeBytes(first);
    EXPECT_EQ(back.m_version, 5);
    EXPECT_EQ(back.m_level.m_gameTag, "QZ");
    EXPECT_EQ(back.m_document, doc);
    EXPECT_EQ(back.m_level.m_sectors.size(), 30u);
    EXPECT_EQ(back.m_level.m_worldVertices, level.m_worldVertices);
    EXPECT_EQ(back.m_level.m_bookmarks, level.m_bookmarks);
    EXPECT_EQ(back.m_level.m_useCounts.size(), back.m_level.m_worldVertices.size());
    ASSERT_EQ(back.m_level.m_levelFiles.m_entries.size(), 1u);
    EXPECT_EQ(back.m_level.m_levelFiles.m_entries[0]->m_data,
              level.m_levelFiles.m_entries[0]->m_data);
    EXPECT_EQ(WriteQzeBytes(back.m_level, back.m_document), first);
}

TEST(LevelArchive, OlderVersionsAreConverted)
{
    struct Case {
        std::string tag;
        bool filesAndBookmarks;
        float u, v;
        CWorldVertex bookmark;  // as loaded
        std::size_t bookmarks;
    };
    auto mark = [](float x, float y, float z, float a2x, float a2y, float a2z) {
        CWorldVertex w;
        w.x = x;
        w.y = y;
        w.z = z;
        w.extra[0] = 1;
        w.extra[3] = a2x;
        w.extra[4] = a2y;
        w.extra[5] = a2z;
        return w;
    };
    const Case cases[] = {
        // Version 3: texture vertices become u, v snapped to thousandths; bookmark scaled.
        {"QZ3", true, 12.346f, 7.0f, mark(2, 1, -0.5f, 0, 0, 1), 1},
        // Version 4: u, v stay as the corner holds them; bookmark scaled.
        {"QZ4", true, 0.0f, 0.0f, mark(2, 1, -0.5f, 0, 0, 1), 1},
        // Version 1: all three conversions; the second axis becomes (0, 1, 0).
        {"QZ1", true, 12.346f, 7.0f, mark(2, 1, -0.5f, 0, 1, 0), 1},
        // Version 0 (a digit 0, or no digit at all): no level files, no bookmarks.
        {"QZ0", false, 12.346f, 7.0f, {}, 0},
        {"QZ", false, 12.346f, 7.0f, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        int version = -1;
        CQzlSections level = LoadLevelPart(OldLevel(c.tag, c.filesAndBookmarks), version);
        EXPECT_EQ(version, c.tag.size() > 2 ? c.tag[2] - '0' : 0);
        EXPECT_EQ(level.m_gameTag, "QZ");
        ASSERT_EQ(level.m_surfaces.size(), 1u);
        const CQzlVertex& corner = level.m_surfaces[0]->m_vertices[0];
        EXPECT_FLOAT_EQ(corner.m_u, c.u);
        EXPECT_FLOAT_EQ(corner.m_v, c.v);
        EXPECT_EQ(level.m_surfaces[0]->m_startVertex, 0);
        EXPECT_FLOAT_EQ(level.m_surfaces[0]->m_uScale, 320.0f);
        ASSERT_EQ(level.m_bookmarks.size(), c.bookmarks);
        if (c.bookmarks) {
            EXPECT_EQ(level.m_bookmarks[0], c.bookmark);
        }
        EXPECT_TRUE(level.m_levelFiles.m_entries.empty());
    }
}

TEST(LevelArchive, VersionProblemsAreErrors)
{
    int version = 0;
    // A corner naming a texture vertex the file does not hold.
    EXPECT_THROW(LoadLevelPart(OldLevel("QZ3", true, 7), version), CArchiveException);
    EXPECT_THROW(LoadLevelPart(OldLevel("QZ3", true, -1), version), CArchiveException);
    // A version newer than this editor writes.
    Bytes newer = OldLevel("QZ5", true);
    Patch(newer, "QZ5", "QZ6");
    try {
        LoadLevelPart(newer, version);
        ADD_FAILURE();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::badSchema);
    }
    EXPECT_EQ(LevelTagVersion("QZ"), 0);
    EXPECT_EQ(LevelTagVersion("QZ12"), 12);
    EXPECT_EQ(LevelTagVersion("Q"), 0);
}

TEST(LevelArchive, DamagedFilesGiveClearErrors)
{
    CQzlSections level = SmallLevel(4);
    const Bytes good = WriteQzeBytes(level, {});
    using C = CArchiveException;
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
        C::Cause cause;
    };
    const std::size_t filePath = Find(good, "cog\\door.cog");
    const Case cases[] = {
        {"foreign class name", [](Bytes& d) { Patch(d, "CQzlMaterial", "CQzlMaterizl"); },
         C::badClass},
        {"wrong record class in a list", [](Bytes& d) { Patch(d, "CQzlAdjoin", "CQzlSector"); },
         C::badClass},
        {"newer record schema",
         [](Bytes& d) {
             const std::size_t at = Find(d, "CQzlSurface") - 4;
             d[at] = 4;
         },
         C::badSchema},
        {"level file with a negative size",
         [filePath](Bytes& d) {
             const std::size_t at = filePath + std::strlen("cog\\door.cog");
             d[at + 3] = 0x80;
         },
         C::badFormat},
        {"level file larger than the file",
         [filePath](Bytes& d) {
             const std::size_t at = filePath + std::strlen("cog\\door.cog");
             d[at + 2] = 0x10;
         },
         C::badFormat},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bad = good;
        c.damage(bad);
        const C::Cause cause = ReadFails(bad);
        if (c.cause == C::badFormat)
            EXPECT_TRUE(cause == C::badFormat || cause == C::endOfFile) << cause;
        else
            EXPECT_EQ(cause, c.cause);
    }
}

// Indices outside their arrays: the file opens with them as stored, unless they leave no geometry
// to show (a corner's world vertex, a sector's surface).
TEST(LevelArchive, IndicesOutsideTheirArraysOpenUnlessTheGeometryIsUnreadable)
{
    struct Case {
        const char* what;
        std::function<void(CQzlSections&)> damage;
        bool opens;
    };
    const Case cases[] = {
        {"surface material", [](CQzlSections& l) { l.m_surfaces[3]->m_material = 99; }, true},
        {"surface adjoin", [](CQzlSections& l) { l.m_surfaces[0]->m_adjoin = -2; }, true},
        {"corner world vertex",
         [](CQzlSections& l) { l.m_surfaces[5]->m_vertices[1].m_worldVertex = 1000; }, false},
        {"adjoin mirror", [](CQzlSections& l) { l.m_adjoins[0]->m_mirror = 77; }, true},
        {"adjoin mirror not pointing back", [](CQzlSections& l) { l.m_adjoins[0]->m_mirror = 0; },
         true},
        {"sector surface", [](CQzlSections& l) { l.m_sectors[1]->m_surfaces.push_back(24); },
         false},
        {"sector colormap", [](CQzlSections& l) { l.m_sectors[1]->m_colormap = 1; }, true},
        {"sector sound", [](CQzlSections& l) { l.m_sectors[2]->m_sound = 5; }, true},
        {"thing sector", [](CQzlSections& l) { l.m_things[0]->m_sector = 4; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQzlSections level = SmallLevel(4);
        ASSERT_TRUE(ValidateLevel(level).empty());
        c.damage(level);
        const std::vector<std::string> problems = ValidateLevel(level);
        EXPECT_FALSE(problems.empty());
        const std::vector<std::uint8_t> bytes = WriteQzeBytes(level, {});
        if (c.opens)
            EXPECT_EQ(ValidateLevel(ReadQzeBytes(bytes).m_level), problems);
        else
            EXPECT_EQ(ReadFails(bytes), CArchiveException::badIndex);
    }
}

TEST(LevelArchive, TruncatedFilesAreErrorsAndLeaveTheOpenLevelAlone)
{
    CQzlSections level = SmallLevel(2);
    const Bytes full = WriteQzeBytes(level, {});
    const Bytes levelPart = WriteLevelBytes(level);

    CQzlSections open = SmallLevel(3);
    const Bytes openBefore = WriteLevelBytes(open);
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        const Bytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
        try {
            CQzeContents c = ReadQzeBytes(part);
            // Only a file that ends exactly behind the level part is whole.
            EXPECT_EQ(cut, levelPart.size());
            open = std::move(c.m_level);
            open = SmallLevel(3);
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.GetCause(), CArchiveException::endOfFile)
                << "cut at " << cut << ": " << e.what();
        }
    }
    EXPECT_EQ(WriteLevelBytes(open), openBefore);
}

TEST(LevelArchive, FilesOnDisk)
{
    const CTempFolder temp("qz_levelarchive");
    const std::filesystem::path& dir = temp.Path();
    CQzlSections level = SmallLevel(9);
    SaveQzeFile(dir / "a.qze", level, {});
    const CQzeContents back = LoadQzeFile(dir / "a.qze");
    EXPECT_EQ(back.m_level.m_sectors.size(), 9u);
    EXPECT_EQ(back.m_level.m_adjoins.size(), 24u);
    EXPECT_THROW(LoadQzeFile(dir / "missing.qze"), CFileException);
}
