#include "episode/EpisodeArchive.h"
#include "episode/MultiLevelItem.h"
#include "framework/Archive.h"
#include "framework/Exceptions.h"
#include "level/GameResources.h"
#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "level/QzlWriter.h"
#include "resources/GobArchive.h"
#include "support/FixtureLevels.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Items = std::vector<std::unique_ptr<CMultiLevelItem>>;
using Strings = std::vector<std::string>;

struct ItemSpec {
    std::string file, title;
    int line, gotoA, gotoB, type, light, dark, base;
    Strings goals, texts, cogs;
};

Items MakeItems(const std::vector<ItemSpec>& specs)
{
    Items items;
    for (const auto& s : specs) {
        auto item = std::make_unique<CMultiLevelItem>();
        item->m_levelPath = "/levels/" + s.file + ".qze";
        item->m_fileName = s.file;
        item->m_levelTitle = s.title;
        item->m_lineNumber = s.line;
        item->m_gotoA = s.gotoA;
        item->m_gotoB = s.gotoB;
        item->m_levelType = s.type;
        item->m_lightPower = s.light;
        item->m_darkPower = s.dark;
        item->m_goalsBase = s.base;
        item->m_cogsBase = s.base;
        item->m_goals = s.goals;
        item->m_texts = s.texts;
        item->m_cogs = s.cogs;
        items.push_back(std::move(item));
    }
    return items;
}

std::string Lines(const Strings& lines)
{
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

const Strings kEpisodeHead = {
    "# Title must be first line. A translated version is looked up in qzStrings.uni",
};
const Strings kEpisodeMiddle = {
    "# <lightpow> and <darkpow> are the inventory bin numbers for that power.",
    "",
    "# <line> <cd>  <level>  <type>   <file>         <lightpow>  <darkpow>   <gotoA>  <gotoB>",
    "",
};
const std::string kRule = "#***************************";

Strings Concat(std::initializer_list<Strings> parts)
{
    Strings out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct GoldenCase {
    const char* name;
    std::string title;
    int masterType;
    std::vector<ItemSpec> levels;
    Strings episode;
    Strings messages;
};

std::vector<GoldenCase> GoldenCases()
{
    return {
        {"two levels, padded names, empty goal, no cogs",
         "Two",
         3,
         {{"a", "Alpha", 10, 20, -1, 0, 2, 6, 1000, {"a", "", "b"}, {}, {}},
          {"level02", "Second", 20, -1, -1, 1, 4, 7, 2000, {}, {"x"}, {}}},
         Concat({{"\"Two\""},
                 kEpisodeHead,
                 {"", "TYPE 16", "", "SEQ 2", ""},
                 kEpisodeMiddle,
                 {"10:        1      1     LEVEL     a.qzl              21         31         20 "
                  "      -1",
                  "20:        1      2     CUT       level02.qzl        23         32         -1 "
                  "      -1",
                  "", "end"}}),
         {"MSGS 6",
          "",
          "#  \"<key>\"     <unused number>   \"<string>\"",
          "",
          kRule,
          "#  Names of Levels",
          kRule,
          "",
          "   \"a\"        0    \"Alpha\"",
          "   \"level02\"  0    \"Second\"",
          "",
          kRule,
          "#  Objective descriptions",
          kRule,
          "",
          "#  Level 1 - a - messages.",
          "",
          "   \"GOAL_01000\"\t0\t\"a\"",
          "   \"GOAL_01001\"\t0\t\"\"",
          "   \"GOAL_01002\"\t0\t\"b\"",
          "",
          "",
          "#  Level 2 - level02 - messages.",
          "",
          "",
          "   \"level02_TEXT_00\"\t0\t\"x\"",
          "",
          "END"}},
        {"three levels, all types, long name, cog strings",
         "Three",
         0,
         {{"a", "Alpha", 10, 20, -1, 0, 1, 5, 1000, {"Find key", "Exit"}, {"t0", "t1", "t2"}, {}},
          {"Level02", "Cut", 20, 100, -1, 1, 0, 0, 2000, {}, {}, {"Door open"}},
          {"decide_level_number3", "Choose", 100, -1, 10, 2, 8, 8, 3000, {"g"}, {}, {"c1", "c2"}}},
         Concat({{"\"Three\""},
                 kEpisodeHead,
                 {"", "TYPE 1", "", "SEQ 3", ""},
                 kEpisodeMiddle,
                 {"10:        1      1     LEVEL     a.qzl              22         30         20 "
                  "      -1",
                  "20:        1      2     CUT       level02.qzl        0          0          100"
                  "       -1",
                  "100:       1      3     DECIDE    decide_level_number3.qzl 28         33       "
                  "  -1       10",
                  "", "end"}}),
         {"MSGS 12",
          "",
          "#  \"<key>\"     <unused number>   \"<string>\"",
          "",
          kRule,
          "#  Names of Levels",
          kRule,
          "",
          "   \"a\"                     0    \"Alpha\"",
          "   \"Level02\"               0    \"Cut\"",
          "   \"decide_level_number3\"  0    \"Choose\"",
          "",
          kRule,
          "#  Objective descriptions",
          kRule,
          "",
          "#  Level 1 - a - messages.",
          "",
          "   \"GOAL_01000\"\t0\t\"Find key\"",
          "   \"GOAL_01001\"\t0\t\"Exit\"",
          "",
          "   \"a_TEXT_00\"\t0\t\"t0\"",
          "   \"a_TEXT_01\"\t0\t\"t1\"",
          "   \"a_TEXT_02\"\t0\t\"t2\"",
          "",
          "#  Level 2 - Level02 - messages.",
          "",
          "",
          "",
          "   \"COG_02000\"\t0\t\"Door open\"",
          "",
          "#  Level 3 - decide_level_number3 - messages.",
          "",
          "   \"GOAL_03000\"\t0\t\"g\"",
          "",
          "",
          "   \"COG_03000\"\t0\t\"c1\"",
          "   \"COG_03001\"\t0\t\"c2\"",
          "",
          "END"}},
    };
}

TEST(EpisodeArchive, EpisodeAndMessageFilesAreTheGoldenText)
{
    for (const auto& c : GoldenCases()) {
        SCOPED_TRACE(c.name);
        const Items items = MakeItems(c.levels);
        EXPECT_EQ(WriteEpisodeFile(c.title, c.masterType, items), Lines(c.episode));
        EXPECT_EQ(WriteCogStrings(items), Lines(c.messages));
    }
}

TEST(EpisodeArchive, MasterTypeLine)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "TYPE 1"}, {1, "TYPE 2"}, {2, "TYPE 8"}, {3, "TYPE 16"}, {4, ""}, {-1, ""}};
    for (const auto& [type, expected] : cases) {
        SCOPED_TRACE(type);
        const std::string text = WriteEpisodeFile("T", type, {});
        const std::string head = Lines(Concat({{"\"T\""}, kEpisodeHead, {""}}));
        ASSERT_EQ(text.substr(0, head.size()), head);
        const std::string rest = text.substr(head.size());
        EXPECT_EQ(rest.substr(0, rest.find("SEQ 0")),
                  expected.empty() ? "\r\n" : expected + "\r\n\r\n");
    }
}

TEST(EpisodeArchive, PowerBinsOutOfRangeAreNone)
{
    EXPECT_EQ(LightPowerBin(8), 28);
    EXPECT_EQ(DarkPowerBin(5), 30);
    for (int index : {-1, 9, 1000}) {
        EXPECT_EQ(LightPowerBin(index), 0);
        EXPECT_EQ(DarkPowerBin(index), 0);
    }
}

TEST(EpisodeArchive, PlainEntryNames)
{
    for (const char* good : {"door.cog", "a", "odd.cog.wav", "..x.mat"})
        EXPECT_TRUE(IsSafeLevelFileName(good)) << good;
    for (const char* bad : {"", ".", "..", "..\\evil.cog", "../evil.cog", "/etc/x.cog", "\\x.cog",
                            "c:x.cog", "sub\\x.cog", "a\tb.cog", "a\x7f.cog"})
        EXPECT_FALSE(IsSafeLevelFileName(bad)) << bad;
}

CQzlSections MakeLevel(int variant)
{
    CQzlSections level = MakeEmptyLevel();
    AddBoxSector(level, {0, 0, 0}, {1.0f + static_cast<float>(variant), 1, 1});
    return level;
}

std::vector<std::uint8_t> Bytes(const std::string& s)
{
    return {s.begin(), s.end()};
}

class EpisodeArchiveFiles : public TempFolderTest {};

TEST_F(EpisodeArchiveFiles, ArchiveHoldsTheFilesAndLevelsInOrder)
{
    const Items items = MakeItems({
        {"A", "Alpha", 10, 20, -1, 0, 1, 1, 1000, {"g"}, {}, {}},
        {"missing", "Gone", 20, 30, -1, 1, 0, 0, 2000, {}, {}, {}},
        {"..\\up", "Bad", 30, 40, -1, 0, 0, 0, 3000, {}, {}, {}},
        {"Last", "Omega", 40, -1, -1, 2, 0, 0, 4000, {}, {}, {}},
    });
    std::map<std::string, std::string> carried = {
        {"Crate.3DO", "model"},     {"door.cog", "script"}, {"hum.wav", "sound"},
        {"odd.cog.wav", "both"},    {"readme.txt", "text"}, {"wall.mat", "material"},
        {"..\\evil.cog", "escape"},
    };
    int opened = 0;
    const EpisodeLevelOpener opener = [&](const std::filesystem::path& p) {
        ++opened;
        std::unique_ptr<CQzlSections> level;
        if (p == "/levels/A.qze") {
            level = std::make_unique<CQzlSections>(MakeLevel(0));
            for (const auto& [name, text] : carried)
                AddLevelFile(*level, name, text);
        } else if (p == "/levels/Last.qze") {
            level = std::make_unique<CQzlSections>(MakeLevel(1));
        }
        return level;
    };
    CGameResources game;
    const auto path = m_dir / "episode.gob";
    const CEpisodeArchiveResult result =
        BuildEpisodeArchive(path, "Master", 0, items, opener, game, 0);
    EXPECT_EQ(opened, 3);  // the level of an unsafe name is not even opened
    EXPECT_EQ(result.m_levelsWritten, 2u);
    ASSERT_EQ(result.m_skipped.size(), 3u);
    EXPECT_NE(result.m_skipped[0].find("..\\evil.cog"), std::string::npos);
    EXPECT_NE(result.m_skipped[1].find("/levels/missing.qze"), std::string::npos);
    EXPECT_NE(result.m_skipped[2].find("..\\up"), std::string::npos);

    CQzlSections levelA = MakeLevel(0);
    CQzlSections levelLast = MakeLevel(1);
    // The entries in the order they are added; the archive then places each by its rule.
    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> added = {
        {"episode.qz", Bytes(WriteEpisodeFile("Master", 0, items))},
        {"misc\\cogstrings.uni", Bytes(WriteCogStrings(items))},
        {"qzl\\a.qzl", Bytes(WriteQzl(levelA, game, 0))},
        {"3do\\crate.3do", Bytes("model")},
        {"cog\\door.cog", Bytes("script")},
        {"sound\\hum.wav", Bytes("sound")},
        {"cog\\odd.cog.wav", Bytes("both")},
        {"sound\\odd.cog.wav", Bytes("both")},
        {"mat\\wall.mat", Bytes("material")},
        {"qzl\\last.qzl", Bytes(WriteQzl(levelLast, game, 0))},
    };
    CGobArchive expected;
    for (const auto& [entryPath, data] : added)
        expected.Add(entryPath, data);

    const CGobArchive written = CGobArchive::Load(path);
    ASSERT_EQ(written.GetEntries().size(), added.size());
    for (std::size_t i = 0; i < added.size(); ++i) {
        SCOPED_TRACE(expected.GetEntries()[i].m_path);
        EXPECT_EQ(written.GetEntries()[i].m_path, expected.GetEntries()[i].m_path);
        const auto got = written.GetData(i);
        const auto want = expected.GetData(i);
        EXPECT_EQ(std::vector<std::uint8_t>(got.begin(), got.end()),
                  std::vector<std::uint8_t>(want.begin(), want.end()));
    }
}

TEST_F(EpisodeArchiveFiles, LevelFilesOpenFromDiskAndUnwritableArchiveFails)
{
    CQzlSections level = MakeLevel(2);
    AddLevelFile(level, "door.cog", "script");
    level.m_levelFiles.m_entries[0]->m_path = "cog\\door.cog";
    {
        const auto bytes = WriteQzeBytes(level, CDocumentFields{});
        std::ofstream(m_dir / "one.qze", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    std::ofstream(m_dir / "junk.qze", std::ios::binary) << "\x05QZ junk";
    Items items = MakeItems({{"one", "One", 10, 20, -1, 0, 0, 0, 1000, {}, {}, {}},
                             {"two", "Two", 20, -1, -1, 0, 0, 0, 2000, {}, {}, {}},
                             {"junk", "Junk", 30, -1, -1, 0, 0, 0, 3000, {}, {}, {}}});
    items[0]->m_levelPath = (m_dir / "one.qze").string();
    items[1]->m_levelPath = (m_dir / "absent.qze").string();
    items[2]->m_levelPath = (m_dir / "junk.qze").string();
    CGameResources game;
    const auto path = m_dir / "episode.goo";
    const auto result = BuildEpisodeArchive(path, "M", 1, items, LevelFileOpener(0), game, 0);
    EXPECT_EQ(result.m_levelsWritten, 1u);
    EXPECT_EQ(result.m_skipped.size(), 2u);

    CQzlSections reread = ReadQzeBytes(WriteQzeBytes(level, CDocumentFields{})).m_level;
    const std::string qzl = WriteQzl(reread, game, 0);
    const CGobArchive written = CGobArchive::Load(path);
    std::map<std::string, std::string> entries;
    for (std::size_t i = 0; i < written.GetEntries().size(); ++i) {
        const auto data = written.GetData(i);
        entries[written.GetEntries()[i].m_path] = std::string(data.begin(), data.end());
    }
    EXPECT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries["qzl\\one.qzl"], qzl);
    EXPECT_EQ(entries["cog\\door.cog"], "script");

    // A folder that does not exist: the failure is reported, nothing is created.
    const auto nowhere = m_dir / "no" / "such" / "episode.gob";
    EXPECT_THROW(BuildEpisodeArchive(nowhere, "M", 0, items, LevelFileOpener(0), game, 0),
                 CFileException);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

std::vector<std::uint8_t> Store(const CMultiLevelItem& item)
{
    CClassRegistry registry;
    CArchive ar(registry);
    const_cast<CMultiLevelItem&>(item).Serialize(ar);
    return ar.TakeBuffer();
}

void Load(CMultiLevelItem& item, const std::vector<std::uint8_t>& bytes)
{
    CClassRegistry registry;
    CArchive ar(registry, bytes);
    item.Serialize(ar);
}

TEST(MultiLevelItem, NewRecordBytesAndRoundTrip)
{
    const std::vector<std::uint8_t> fresh = {
        1,    0,    0,    0,                                         // version
        0,    0,    0,                                               // path, title, file name
        0,    0,    0,    0,                                         // line number
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,              // goto A, goto B
        0,    0,    0,    0,    0,    0,    0,    0,    0, 0, 0, 0,  // type, light, dark
        0xE8, 3,    0,    0,    0xE8, 3,    0,    0,                 // goals base, cogs base
        0,    0,    0,    0,    0,    0,                             // goals, texts, cogs
    };
    EXPECT_EQ(Store(CMultiLevelItem{}), fresh);

    const Items items =
        MakeItems({{"level01", "Title", 10, 20, 30, 2, 8, 7, 1000, {"a", ""}, {"t"}, {"c"}},
                   {"b", std::string(300, 'x'), 20, -1, -1, 1, 0, 1, 2000, {}, {}, {}}});
    for (const auto& item : items) {
        CMultiLevelItem back;
        Load(back, Store(*item));
        EXPECT_EQ(back, *item);
    }

    CMultiLevelList list;
    for (const auto& item : items)
        list.m_items.push_back(std::make_unique<CMultiLevelItem>(*item));
    list.m_masterTitle = "Master";
    list.m_masterType = 2;
    const auto bytes = WriteMultiLevelBytes(list);
    const CMultiLevelList back = ReadMultiLevelBytes(bytes);
    ASSERT_EQ(back.m_items.size(), 2u);
    EXPECT_EQ(*back.m_items[0], *items[0]);
    EXPECT_EQ(*back.m_items[1], *items[1]);
    EXPECT_EQ(back.m_masterTitle, "Master");
    EXPECT_EQ(back.m_masterType, 2);
}

TEST(MultiLevelItem, DamagedBytesAreRefused)
{
    const Items items = MakeItems({{"lvl", "T", 10, 20, -1, 1, 3, 4, 1000, {"g"}, {"t"}, {"c"}}});
    const auto good = Store(*items[0]);

    // Every cut leaves the record short.
    for (std::size_t n = 0; n < good.size(); ++n) {
        CMultiLevelItem item = *items[0];
        item.m_levelTitle = "kept";
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
        EXPECT_THROW(Load(item, cut), CArchiveException) << n;
        EXPECT_EQ(item.m_levelTitle, "kept");
    }
    // A word at the offset given made impossible.
    // version, the path, "T", "lvl", line number, goto A, goto B
    const std::size_t typeAt = 4 + (1 + items[0]->m_levelPath.size()) + 2 + 4 + 12;
    struct Damage {
        const char* what;
        std::size_t at;
        std::int32_t value;
    };
    for (const Damage& d :
         {Damage{"version", 0, 2}, Damage{"level type", typeAt, 3},
          Damage{"negative type", typeAt, -1}, Damage{"light power", typeAt + 4, 9},
          Damage{"dark power", typeAt + 8, -1}}) {
        SCOPED_TRACE(d.what);
        auto bad = good;
        std::memcpy(bad.data() + d.at, &d.value, 4);
        CMultiLevelItem item;
        EXPECT_THROW(Load(item, bad), CArchiveException);
        EXPECT_EQ(item, CMultiLevelItem{});
    }

    CMultiLevelList list;
    list.m_items.push_back(std::make_unique<CMultiLevelItem>(*items[0]));
    const auto file = WriteMultiLevelBytes(list);
    std::vector<std::vector<std::uint8_t>> badFiles;
    for (std::int32_t count : {-1, 2, 0x7FFFFFFF}) {
        auto bad = file;
        std::memcpy(bad.data(), &count, 4);
        badFiles.push_back(bad);
    }
    badFiles.push_back(file);
    badFiles.back().push_back(0);
    badFiles.push_back(std::vector<std::uint8_t>(file.begin(), file.end() - 1));
    for (const auto& bad : badFiles)
        EXPECT_THROW(ReadMultiLevelBytes(bad), CArchiveException);
}

}  // namespace
