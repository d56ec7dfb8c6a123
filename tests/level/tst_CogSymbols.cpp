#include "framework/Exceptions.h"
#include "level/CogSymbols.h"
#include "level/GameResources.h"
#include "level/NameLists.h"
#include "level/QzlSections.h"
#include "resources/MemoryGameArchive.h"
#include "support/FixtureLevels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

Bytes ToBytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

// A script whose symbols section holds the given lines.
std::string Script(std::initializer_list<std::string_view> symbols)
{
    std::string text = "# test script\nsymbols\n";
    for (const std::string_view line : symbols)
        text.append(line).append("\n");
    return text + "end\ncode\nstartup:\n  return;\nend\n";
}

// A game of one archive whose cog scripts are indexed as the application indexes them.
struct TestGame {
    CMemoryGameArchive m_archive;
    CGameResources m_resources;

    void Add(const std::string& path, std::string_view text) { m_archive.Add(path, ToBytes(text)); }

    // Indexes every entry added so far (offsets change while entries are added).
    void Open()
    {
        m_resources.m_archive = &m_archive;
        for (const CGameArchiveEntry& entry : m_archive.GetEntries()) {
            auto indexed = std::make_unique<CTreeObject>(entry.m_path,
                                                         static_cast<std::int32_t>(entry.m_offset),
                                                         static_cast<std::int32_t>(entry.m_size));
            CTree& tree = m_resources.m_treeCogs;
            int position = 0;
            tree.Find(indexed->m_name, position);
            tree.m_entries.insert(tree.m_entries.begin() + position, std::move(indexed));
        }
    }
};

std::string MaterialNames(const CQzlSections& level)
{
    std::string names;
    for (const auto& material : level.m_materials)
        names += (names.empty() ? "" : ",") + material->m_name;
    return names;
}

}  // namespace

TEST(CogSymbols, ParsesTheSymbolsSection)
{
    const std::string script = "# header comment\r\n"
                               "flex before_section\n"
                               "Symbols\r\n"
                               "  INT count=3 desc=how many // things\n"
                               "\tflex speed=1.5\tlocal\n"
                               "surface door=5\r"
                               "template proj_thing\n"
                               "thing victim // local, but only in a comment\n"
                               "material localglow.mat\n"
                               "message activated\n"
                               "sound hum.wav mask=0x400\n"
                               "\n"
                               "vector dir\n"
                               "cog master_cog\n"
                               "ai guard.ai\n"
                               "keyframe open.key nolink\n"
                               "sector room\n"
                               "float rate=2 local\n"
                               "#surface commented_out\n"
                               "surfaces plural\n"
                               "END\n"
                               "surface after_end\n";
    Strings labels{"kept"};
    Strings defaults{"kept"};
    Strings types{"kept"};
    ParseCogSymbols(ToBytes(script), labels, defaults, types);
    EXPECT_EQ(labels, (Strings{"kept", "count=3 (int)", "door=5 (surface)", "proj_thing (template)",
                               "victim (thing)", "localglow.mat (material)", "hum.wav (sound)",
                               "dir (vector)", "master_cog (cog)", "guard.ai (ai)",
                               "open.key (keyframe)", "room (sector)"}));
    EXPECT_EQ(defaults, (Strings{"kept", "3", "5", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(types, (Strings{"kept", "int", "surface", "template", "thing", "material", "sound",
                              "vector", "cog", "ai", "keyframe", "sector"}));

    // Local symbols are part of the section, they just take no value.
    const std::vector<CCogSymbol> symbols = ReadCogSymbolSection(ToBytes(script));
    ASSERT_EQ(symbols.size(), 13u);
    EXPECT_EQ(symbols[1].GetLabel(), "speed=1.5 (flex)");
    EXPECT_TRUE(symbols[1].m_local);
    EXPECT_EQ(symbols[1].m_default, "1.5");
    EXPECT_EQ(symbols[12].m_nameText, "rate=2");
    EXPECT_TRUE(symbols[12].m_local);
}

TEST(CogSymbols, HostileScriptsEndWithoutHarm)
{
    std::string garbage;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage.push_back(static_cast<char>(seed >> 24));
    }
    const std::string hugeLine = "symbols\nsurface " + std::string(4 << 20, 'x') + "\nend\n";
    std::string endless = "symbols\n";
    for (int i = 0; i < 50000; ++i)
        endless += "thing t" + std::to_string(i) + "\n";
    static constexpr char kWithNul[] = "symbols\nsurface a\0 local\nthing b\n";
    const std::string withNul(kWithNul, sizeof kWithNul - 1);

    struct Case {
        const char* what;
        const std::string& text;
        std::size_t typed;
    };
    const Case cases[] = {
        {"binary garbage", garbage, 0},
        {"a 4 MB line", hugeLine, 1},
        {"no end of the section", endless, 50000},
        {"a NUL byte ends its line", withNul, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Strings labels, defaults, types;
        ParseCogSymbols(ToBytes(c.text), labels, defaults, types);
        EXPECT_EQ(types.size(), c.typed);
    }
}

TEST(CogSymbols, RenumberAfterDelete)
{
    struct Case {
        const char* what;
        std::initializer_list<std::string_view> symbols;
        Strings values;
        const char* type;
        int deleted;
        Strings expected;  // empty: the cog is removed
    };
    const Case cases[] = {
        {"a thing keeps the cog alive",
         {"surface a", "surface b local", "thing t"},
         {"3", "7"},
         "surface",
         3,
         {"-1", "7"}},
        {"the last live reference goes",
         {"surface a", "surface b local", "thing t"},
         {"-1", "7"},
         "thing",
         7,
         {}},
        {"values behind the deleted index move down",
         {"surface x", "surface y"},
         {"5", "8"},
         "surface",
         5,
         {"-1", "7"}},
        {"values before it stay", {"surface x"}, {"4"}, "surface", 9, {"4"}},
        {"a cog symbol takes a value position",
         {"cog c", "surface s"},
         {"3", "3"},
         "surface",
         2,
         {"3", "2"}},
        {"a value that is no number reads as 0", {"surface s"}, {"abc"}, "surface", 0, {}},
        {"only the deleted type moves",
         {"sector r", "surface s"},
         {"5", "5"},
         "sector",
         1,
         {"4", "5"}},
        {"a template named like a thing is a template",
         {"template proj_thing", "thing t"},
         {"5", "6"},
         "thing",
         5,
         {"5", "5"}},
        {"a name beginning with local is not the local flag",
         {"surface localdoor", "thing t"},
         {"2", "9"},
         "thing",
         9,
         {"2", "-1"}},
        {"more values than symbols", {"sector r"}, {"1", "1"}, "sector", 0, {"0", "1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CQzlSections level;
        AddLevelFile(level, "test.cog", Script(c.symbols));
        AddCog(level, "TEST.COG", c.values);
        RenumberCogSymbols(level, CGameResources{}, c.type, c.deleted);
        if (c.expected.empty()) {
            EXPECT_TRUE(level.m_cogs.empty());
        } else {
            ASSERT_EQ(level.m_cogs.size(), 1u);
            EXPECT_EQ(level.m_cogs[0]->m_values, c.expected);
        }
    }
}

TEST(CogSymbols, RenumberRemovesOnlyDeadCogsAndSkipsUnknownScripts)
{
    CQzlSections level;
    AddLevelFile(level, "one.cog", Script({"surface a", "surface b local", "thing t"}));
    AddCog(level, "one.cog", {"3", "7"});
    AddCog(level, "unknown.cog", {"7"});
    AddCog(level, "one.cog", {"-1", "7"});
    AddCog(level, "one.cog", {"3", "8"});

    RenumberCogSymbols(level, CGameResources{}, "surface", 3);
    RenumberCogSymbols(level, CGameResources{}, "thing", 7);
    ASSERT_EQ(level.m_cogs.size(), 2u);
    EXPECT_EQ(level.m_cogs[0]->m_script, "unknown.cog");
    EXPECT_EQ(level.m_cogs[0]->m_values, (Strings{"7"}));
    EXPECT_EQ(level.m_cogs[1]->m_values, (Strings{"-1", "7"}));
}

TEST(CogSymbols, RemapForTheSurfaceReorder)
{
    // Old surface 4 becomes 0, 0 becomes 1, and so on.
    const std::vector<int> map{1, 2, 3, 4, 0};
    struct Case {
        const char* what;
        std::initializer_list<std::string_view> symbols;
        Strings values;
        int type;
        Strings expected;
    };
    const Case cases[] = {
        {"a surface value", {"surface s"}, {"4"}, 0, {"0"}},
        {"the surface after a cog symbol", {"cog c", "surface s"}, {"4", "4"}, 0, {"4", "0"}},
        {"the surface after an ai symbol", {"ai brain", "surface s"}, {"4", "4"}, 0, {"4", "0"}},
        {"a local symbol takes no value", {"surface a local", "surface s"}, {"4"}, 0, {"0"}},
        {"values outside the map stay",
         {"surface a", "surface b", "surface c"},
         {"-1", "5", "x"},
         0,
         {"-1", "5", "1"}},
        {"other types stay", {"sector r", "thing t", "int n"}, {"4", "4", "4"}, 0, {"4", "4", "4"}},
        {"sectors when asked for", {"sector r", "surface s"}, {"4", "4"}, 1, {"0", "4"}},
        {"fewer values than symbols", {"surface a", "surface b"}, {"2"}, 0, {"3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The script lies among the level's files only, and there is no game archive.
        CQzlSections level;
        AddLevelFile(level, "remap.cog", Script(c.symbols));
        AddCog(level, "Remap.cog", c.values);
        RemapCogSymbols(level, CGameResources{}, map, c.type);
        EXPECT_EQ(level.m_cogs[0]->m_values, c.expected);
    }
}

TEST(CogSymbols, ScriptLookupOrder)
{
    // The level's copy and the game's copy of one script declare different symbols.
    const std::string levelCopy = Script({"surface s", "thing t", "material m=level.mat local"});
    const std::string gameCopy = Script({"thing t", "surface s", "material m=game.mat local"});
    const std::vector<int> map{0, 1, 3, 3, 1};

    const auto makeLevel = [&levelCopy] {
        CQzlSections level;
        AddLevelFile(level, "dual.cog", levelCopy);
        AddCog(level, "dual.cog", {"4", "2"});
        return level;
    };
    TestGame game;
    game.Add("cog\\DUAL.COG", gameCopy);
    game.Add("cog\\broken.cog", "symbols\nsurface s\nend\n");
    game.Open();

    // GetCogSymbols and the deletes read the level's copy.
    CQzlSections level = makeLevel();
    Strings labels, defaults, types;
    GetCogSymbols(level, game.m_resources, *level.m_cogs[0], labels, defaults, types);
    EXPECT_EQ(types, (Strings{"surface", "thing"}));
    RenumberCogSymbols(level, game.m_resources, "surface", 0);
    EXPECT_EQ(level.m_cogs[0]->m_values, (Strings{"3", "2"}));

    // The remap and the resource collection read the game's copy first.
    level = makeLevel();
    RemapCogSymbols(level, game.m_resources, map, 0);
    EXPECT_EQ(level.m_cogs[0]->m_values, (Strings{"4", "3"}));
    ReadCogScripts(level, game.m_resources);
    EXPECT_EQ(MaterialNames(level), "game.mat");

    // Without the game archive the level's copy serves both.
    CGameResources noArchive;
    level = makeLevel();
    RemapCogSymbols(level, noArchive, map, 0);
    EXPECT_EQ(level.m_cogs[0]->m_values, (Strings{"1", "2"}));
    ReadCogScripts(level, noArchive);
    EXPECT_EQ(MaterialNames(level), "level.mat");

    // An index entry whose bytes do not lie in the archive counts as absent.
    game.m_resources.m_treeCogs.m_entries.front()->m_offset = 1 << 30;  // broken.cog
    level = CQzlSections{};
    AddLevelFile(level, "broken.cog", Script({"thing t", "surface s"}));
    AddCog(level, "broken.cog", {"4", "4"});
    RemapCogSymbols(level, game.m_resources, map, 0);
    EXPECT_EQ(level.m_cogs[0]->m_values, (Strings{"4", "1"}));

    // A script found nowhere leaves the cog alone.
    level = CQzlSections{};
    AddCog(level, "nowhere.cog", {"4"});
    RemapCogSymbols(level, game.m_resources, map, 0);
    ReadCogScripts(level, game.m_resources);
    labels.clear();
    GetCogSymbols(level, game.m_resources, *level.m_cogs[0], labels, defaults, types);
    EXPECT_EQ(level.m_cogs[0]->m_values, (Strings{"4"}));
    EXPECT_TRUE(labels.empty());
    EXPECT_TRUE(level.m_materials.empty());
}

TEST(CogSymbols, CollectResourcesFromValuesAndDefaults)
{
    CGameResources game;
    for (const char* name : {"_fx", "+fancy"}) {
        auto entry = std::make_unique<CQzlTemplate>();
        entry->m_name = name;
        entry->m_basedOn = name[0] == '+' ? "_fx" : "none";
        game.m_templates.push_back(std::move(entry));
    }
    CQzlSections level;
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("GLASS.mat"));
    level.m_sounds = {"Hum.wav"};
    level.m_keyframes = {"M.KEY"};
    level.m_aiClasses = {"noweapon.ai"};
    AddLevelFile(level, "res.cog",
                 Script({"material wall=dflt.mat", "material glass", "template shot=+plain",
                         "sound hum=hum.wav", "sound roar=roar.wav", "keyframe open=z.key",
                         "keyframe close=a.key local", "ai brain=guard.ai", "surface s=3",
                         "material spare=spare.mat local", "int n=7"}));
    // wall: "-1" names nothing (not even the default); glass: already listed; the template and
    // the rest take their defaults, the local ones always.
    AddCog(level, "res.cog", {"-1", "Glass.MAT", "+FANCY"});

    ReadCogScripts(level, game);
    EXPECT_EQ(MaterialNames(level), "GLASS.mat,spare.mat");
    ASSERT_EQ(level.m_templates.size(), 2u);
    EXPECT_EQ(level.m_templates[0]->m_name, "_fx");
    EXPECT_EQ(level.m_templates[1]->m_name, "+fancy");
    EXPECT_EQ(level.m_sounds, (Strings{"Hum.wav", "ROAR.WAV"}));
    // The keyframe and AI-class lists stay sorted.
    EXPECT_EQ(level.m_keyframes, (Strings{"A.KEY", "M.KEY", "Z.KEY"}));
    EXPECT_EQ(level.m_aiClasses, (Strings{"GUARD.AI", "noweapon.ai"}));
}

TEST(CogSymbols, CopyArchiveEntries)
{
    TestGame game;
    game.Add("mat\\a.mat", "AAAA");
    game.Add("cog\\b.cog", "BB");
    game.Open();
    const CTree& index = game.m_resources.m_treeCogs;  // holds every entry of the test game

    CQzlSections level;
    AddLevelFile(level, "c.cog", "CCC");
    CopyArchiveEntries(level, game.m_archive, index);

    const auto& files = level.m_levelFiles.m_entries;
    ASSERT_EQ(files.size(), 3u);
    struct Expected {
        const char* name;
        const char* path;
        const char* data;
        int offset;
    };
    const Expected expected[] = {
        {"a.mat", "mat\\a.mat", "AAAA", 0},
        {"b.cog", "cog\\b.cog", "BB", 4},
        {"c.cog", "", "CCC", 6},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(files[i]->m_name, expected[i].name);
        EXPECT_EQ(files[i]->m_path, expected[i].path);
        ASSERT_TRUE(files[i]->HasData());
        EXPECT_EQ(*files[i]->m_data, ToBytes(expected[i].data));
        EXPECT_EQ(files[i]->m_size, static_cast<std::int32_t>(files[i]->m_data->size()));
        EXPECT_EQ(files[i]->m_offset, expected[i].offset);
    }

    // An entry that does not lie in the archive: an error, and the level's files stay as they were.
    CTree bad;
    const CTreeObject& good = *index.m_entries[0];
    bad.m_entries.push_back(std::make_unique<CTreeObject>(good.m_path, good.m_offset, good.m_size));
    bad.m_entries.push_back(std::make_unique<CTreeObject>("cog\\e.cog", 1 << 30, 10));
    CQzlSections other;
    AddLevelFile(other, "c.cog", "CCC");
    EXPECT_THROW(CopyArchiveEntries(other, game.m_archive, bad), CArchiveException);
    ASSERT_EQ(other.m_levelFiles.m_entries.size(), 1u);
    EXPECT_EQ(other.m_levelFiles.m_entries[0]->m_name, "c.cog");
}
