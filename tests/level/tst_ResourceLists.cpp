#include "SyntheticGame.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/NameLists.h"
#include "level/QzlSections.h"
#include "level/ResourceLists.h"
#include "resources/MemoryGameArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

Bytes ToBytes(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

void AddSorted(CTree& tree, std::unique_ptr<CTreeObject> entry)
{
    int position = 0;
    tree.Find(entry->m_name, position);
    tree.m_entries.insert(tree.m_entries.begin() + position, std::move(entry));
}

constexpr std::string_view kPuppet = "# walk  notme.key\n"
                                     "mode 0\n"
                                     "walk\t\twalk.key\n"
                                     "jump  a-b.key\r\n"
                                     "run  3do\\key\\Run.KEY  extra.key\n"
                                     "dead .key\n"
                                     "end\n";
constexpr std::string_view kSoundClass = "# door.wav is a comment\n"
                                         "activate   Door.WAV\n"
                                         "hurt  pain.wav 0x80\n"
                                         "fall x/fall.wav\n"
                                         "again door.wav\n";

// A small game: a template list that holds every built-in template, and one archive with models
// and the files stored with them, a puppet and a sound class.
struct TestGame {
    CMemoryGameArchive m_archive;
    CGameResources m_resources;

    explicit TestGame(std::string_view puppet = kPuppet, std::string_view soundClass = kSoundClass)
    {
        // Lines of the product's template file: name, based-on, parameter text.
        AddTemplate("_base", "none", "");
        AddTemplate("_actor", "_base", "model3d=none");
        AddTemplate("player", "_actor",
                    "model3d=player.3do puppet=hero.pup soundclass=hero.snd aiclass=none");
        AddTemplate("ranger", "_actor", "model3d=ranger.3do aiclass=ranger.ai");
        AddTemplate("+rangerarm", "_base", "model3d=rangerarm.3do");
        AddTemplate("crate", "_base", "model3d=crate.3do sprite=dust.spr material=wood.mat");
        for (const char* name : GetBuiltInTemplates(1)) {
            if (std::string_view(name) != "player")
                AddTemplate(name, "_base", "");
        }

        Add("3do\\fpfists.3do", "model");
        Add("3do\\player.3do", "model");
        Add("3do\\mat\\fpfists.mat", "mat");
        Add("3do\\mat\\fpfistsskin.mat", "mat");
        Add("3do\\mat\\player0.mat", "mat");
        Add("3do\\mat\\unrelated.mat", "mat");
        Add("3do\\key\\fpfistspunch.key", "key");
        Add("3do\\key\\playerwave.key", "key");
        Add("misc\\pup\\hero.pup", puppet);
        Add("misc\\snd\\hero.snd", soundClass);
        Open();
    }

    void AddTemplate(const char* name, const char* basedOn, const char* params)
    {
        auto entry = std::make_unique<CQzlTemplate>();
        entry->m_name = name;
        entry->m_basedOn = basedOn;
        entry->m_params = params;
        bool found = false;
        entry->m_model = ParamValue(params, "model3d=", found);
        m_resources.m_templates.push_back(std::move(entry));
    }

    void Add(const std::string& path, std::string_view text) { m_archive.Add(path, ToBytes(text)); }

    // Indexes the archive's entries by kind, as the application does at product set-up.
    void Open()
    {
        m_resources.m_archive = &m_archive;
        for (const CGameArchiveEntry& entry : m_archive.GetEntries()) {
            CTree* tree = nullptr;
            if (entry.m_path.find("3do") != std::string::npos)
                tree = &m_resources.m_tree3do;
            else if (entry.m_path.find("pup") != std::string::npos)
                tree = &m_resources.m_treePuppets;
            else if (entry.m_path.find(".snd") != std::string::npos)
                tree = &m_resources.m_treeSnd;
            if (tree)
                AddSorted(*tree, std::make_unique<CTreeObject>(
                                     entry.m_path, static_cast<std::int32_t>(entry.m_offset),
                                     static_cast<std::int32_t>(entry.m_size)));
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

Strings TemplateNames(const CQzlSections& level)
{
    Strings names;
    for (const auto& entry : level.m_templates)
        names.push_back(entry->m_name);
    return names;
}

Strings Sorted(Strings names)
{
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    return names;
}

}  // namespace

TEST(ResourceLists, EmptyLevelGetsTheBuiltInsAndTheirFiles)
{
    TestGame game;
    CQzlSections level;
    BuildResourceLists(level, game.m_resources);

    // The built-in templates in their order, each after what it is based on.
    const Strings templates = TemplateNames(level);
    ASSERT_EQ(templates.size(), 56u + 2u);
    EXPECT_EQ((Strings{templates[0], templates[1], templates[2], templates[3]}),
              (Strings{"_base", "_actor", "player", "playercorpse"}));
    EXPECT_EQ(level.m_aiClasses, (Strings{"noweapon.ai"}));

    Strings models(GetFixedModels().begin(), GetFixedModels().end());
    models.push_back("player.3do");
    EXPECT_EQ(level.m_models, Sorted(models));
    EXPECT_EQ(level.m_puppets, (Strings{"hero.pup"}));
    EXPECT_EQ(level.m_soundClasses, (Strings{"hero.snd"}));
    EXPECT_TRUE(level.m_sprites.empty());
    EXPECT_TRUE(level.m_cogScripts.empty());

    // From the puppet file (only the first ".key" of a line; a '-' ends a name, a backslash does
    // not) and from the keyframes stored with the models.
    EXPECT_EQ(level.m_keyframes, (Strings{"3do\\key\\run.key", "b.key", "fpfistspunch.key",
                                          "playerwave.key", "walk.key"}));
    // The materials stored with the models: every name that begins with a model's stem.
    EXPECT_EQ(MaterialNames(level), "fpfists.mat,fpfistsskin.mat,player0.mat");
    // From the sound class, each name once.
    EXPECT_EQ(level.m_sounds, (Strings{"door.wav", "pain.wav", "fall.wav"}));

    // A second run rebuilds the same lists; the growing lists do not grow again.
    BuildResourceLists(level, game.m_resources);
    EXPECT_EQ(TemplateNames(level), templates);
    EXPECT_EQ(MaterialNames(level), "fpfists.mat,fpfistsskin.mat,player0.mat");
    EXPECT_EQ(level.m_sounds, (Strings{"door.wav", "pain.wav", "fall.wav"}));
}

TEST(ResourceLists, SyntheticGame)
{
    for (const int product : {0, 1}) {
        SCOPED_TRACE(product);
        const auto game = MakeSyntheticGame(product);

        // An empty level: the built-ins bring the player, whose puppet and sound class are read.
        CQzlSections empty;
        BuildResourceLists(empty, game->m_resources);
        std::set<std::string> templates;
        for (const std::string& name : TemplateNames(empty))
            templates.insert(name);
        for (const char* name : GetBuiltInTemplates(product))
            EXPECT_TRUE(templates.count(name)) << name;
        EXPECT_EQ(empty.m_keyframes, (Strings{"run.key", "stand.key", "walk.key"}));
        Strings sounds{"step1.wav", "step2.wav", "jump.wav"};
        if (product == 1)
            sounds.push_back("relichum.wav");
        EXPECT_EQ(empty.m_sounds, sounds);
        EXPECT_NE(MaterialNames(empty).find("ranger.mat"), std::string::npos);

        // A door thing and a door cog name the same sounds in other spellings; a sector uses the
        // second of two spellings of one sound.
        CQzlSections level;
        level.m_sounds = {"DoorMove.wav", "doormove.wav"};
        auto sector = std::make_unique<CQzlSector>();
        sector->m_sound = 1;
        level.m_sectors.push_back(std::move(sector));
        auto thing = std::make_unique<CQzlThing>();
        thing->m_template = "door";
        thing->m_name = "door";
        level.m_things.push_back(std::move(thing));
        auto cog = std::make_unique<CQzlCog>("door.cog");
        cog->m_values = {"0", "0", "0"};
        level.m_cogs.push_back(std::move(cog));
        BuildResourceLists(level, game->m_resources);
        ASSERT_GE(level.m_sounds.size(), 3u);
        EXPECT_EQ((Strings(level.m_sounds.begin(), level.m_sounds.begin() + 3)),
                  (Strings{"DoorMove.wav", "DOOROPEN.WAV", "DOORCLOSE.WAV"}));
        EXPECT_EQ(level.m_sectors[0]->m_sound, 0);
        // The expansion's built-in relic template names its own script.
        const Strings scripts =
            product == 0 ? Strings{"door.cog"} : Strings{"door.cog", "relic.cog"};
        EXPECT_EQ(level.m_cogScripts, scripts);
    }
}

TEST(ResourceLists, ProductChoosesTheBuiltInTemplates)
{
    ASSERT_EQ(GetBuiltInTemplates(0).size(), 56u);
    ASSERT_EQ(GetBuiltInTemplates(1).size(), 111u);
    TestGame game;
    CQzlSections level;
    for (const int product : {0, 1, 0}) {
        SCOPED_TRACE(product);
        game.m_resources.m_product = product;
        BuildResourceLists(level, game.m_resources);
        EXPECT_EQ(level.m_templates.size(), GetBuiltInTemplates(product).size() + 2u);
    }
}

TEST(ResourceLists, WithoutGameArchiveOnlyTheTemplatesSpeak)
{
    TestGame game;
    game.m_resources.m_archive = nullptr;
    CQzlSections level;
    BuildResourceLists(level, game.m_resources);
    EXPECT_EQ(level.m_templates.size(), 58u);
    EXPECT_EQ(level.m_puppets, (Strings{"hero.pup"}));
    EXPECT_TRUE(level.m_keyframes.empty());
    EXPECT_TRUE(level.m_materials.empty());
    EXPECT_TRUE(level.m_sounds.empty());
    EXPECT_EQ(level.m_models.size(), 8u);

    // No game at all: the fixed entries only.
    CQzlSections bare;
    BuildResourceLists(bare, CGameResources{});
    EXPECT_TRUE(bare.m_templates.empty());
    EXPECT_EQ(bare.m_aiClasses, (Strings{"noweapon.ai"}));
    EXPECT_EQ(bare.m_models, Sorted(Strings(GetFixedModels().begin(), GetFixedModels().end())));
}

TEST(ResourceLists, LevelTemplatesSurviveWithoutTheGame)
{
    // A level read from a file declares its templates; rebuilding the lists without the game's
    // master list must not lose the ones its things use (and what they are based on).
    CQzlSections level;
    auto tpl = [](const char* name, const char* based, const char* params) {
        auto t = std::make_unique<CQzlTemplate>();
        t->m_name = name;
        t->m_basedOn = based;
        t->m_params = params;
        return t;
    };
    level.m_templates.push_back(tpl("_base", "none", "type=cog"));
    level.m_templates.push_back(tpl("lamp", "_base", "model3d=lamp.3do"));
    level.m_templates.push_back(tpl("unused", "none", "type=ghost"));
    auto thing = std::make_unique<CQzlThing>();
    thing->m_template = "lamp";
    thing->m_name = "lamp";
    level.m_things.push_back(std::move(thing));

    BuildResourceLists(level, CGameResources{});
    EXPECT_EQ(TemplateNames(level), (Strings{"_base", "lamp"}));
    EXPECT_NE(std::find(level.m_models.begin(), level.m_models.end(), "lamp.3do"),
              level.m_models.end());
}

TEST(ResourceLists, ThingsAndCogs)
{
    TestGame game;
    CQzlSections level;
    for (const auto& [name, ai] : {std::pair{"Ranger", "zeta.ai"}, std::pair{"crate", ""},
                                   std::pair{"unknown", "alpha.ai"}}) {
        auto thing = std::make_unique<CQzlThing>();
        thing->m_template = "anything";
        thing->m_name = name;
        thing->m_aiClass = ai;
        level.m_things.push_back(std::move(thing));
    }
    // Cogs whose script (among the level's files) names keyframes.
    auto script = std::make_unique<CTreeObject>(
        "anim.cog", ToBytes("symbols\nkeyframe k\nmaterial m\nend\n"), 0);
    level.m_levelFiles.m_entries.push_back(std::move(script));
    for (const char* key : {"z.key", "walk.key"}) {
        auto cog = std::make_unique<CQzlCog>("Anim.cog");
        cog->m_values = {key, "-1"};
        level.m_cogs.push_back(std::move(cog));
    }
    level.m_cogs.push_back(std::make_unique<CQzlCog>("missing.cog"));
    level.m_cogScripts = {"ANIM.COG", "old.cog"};
    level.m_materials.push_back(std::make_unique<CQzlMaterial>("Wood.MAT"));

    BuildResourceLists(level, game.m_resources);

    // The thing's name field picks the template; a character template brings its limb.
    const Strings templates = TemplateNames(level);
    ASSERT_GE(templates.size(), 6u);
    EXPECT_EQ((Strings(templates.begin(), templates.begin() + 6)),
              (Strings{"_base", "_actor", "ranger", "+rangerarm", "crate", "player"}));
    EXPECT_EQ(level.m_aiClasses, (Strings{"alpha.ai", "noweapon.ai", "ranger.ai", "zeta.ai"}));
    EXPECT_EQ(level.m_cogScripts, (Strings{"ANIM.COG", "old.cog", "missing.cog"}));
    EXPECT_EQ(level.m_sprites, (Strings{"dust.spr"}));
    EXPECT_EQ(MaterialNames(level), "Wood.MAT,fpfists.mat,fpfistsskin.mat,player0.mat");

    // The keyframes named by cogs and by the puppet share one sorted list without duplicates.
    EXPECT_EQ(level.m_keyframes, Sorted(level.m_keyframes));
    std::set<std::string> distinct;
    for (const std::string& key : level.m_keyframes)
        EXPECT_TRUE(distinct.insert(ToLowerAscii(key)).second) << key;
    EXPECT_TRUE(distinct.count("z.key"));
    EXPECT_TRUE(distinct.count("walk.key"));
}

TEST(ResourceLists, HostilePuppetAndSoundClassFiles)
{
    std::string garbage;
    std::uint32_t seed = 99;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage.push_back(static_cast<char>(seed >> 24));
    }
    garbage += "\nwalk walk.key\n";
    const std::string hugeLine = std::string(4 << 20, 'a') + ".wav\nok.wav\n";

    TestGame game(garbage, hugeLine);
    CQzlSections level;
    BuildResourceLists(level, game.m_resources);
    EXPECT_TRUE(std::find(level.m_keyframes.begin(), level.m_keyframes.end(), "walk.key") !=
                level.m_keyframes.end());
    ASSERT_EQ(level.m_sounds.size(), 2u);
    EXPECT_EQ(level.m_sounds[0].size(), (4u << 20) + 4u);
    EXPECT_EQ(level.m_sounds[1], "ok.wav");
}

TEST(ResourceLists, DuplicateSoundsMergeAndSectorsFollow)
{
    CQzlSections level;
    level.m_sounds = {"Door.wav", "x.wav", "door.wav", "X.WAV", "y.wav"};
    for (const int sound : {2, 3, -1, 4, 0, 99}) {
        auto sector = std::make_unique<CQzlSector>();
        sector->m_sound = sound;
        level.m_sectors.push_back(std::move(sector));
    }
    BuildResourceLists(level, CGameResources{});
    EXPECT_EQ(level.m_sounds, (Strings{"Door.wav", "x.wav", "y.wav"}));
    std::vector<int> sounds;
    for (const auto& sector : level.m_sectors)
        sounds.push_back(sector->m_sound);
    // An index that named no sound is left as it was.
    EXPECT_EQ(sounds, (std::vector<int>{0, 1, -1, 2, 0, 99}));
}

TEST(ResourceLists, ExtractFileName)
{
    struct Case {
        const char* line;
        const char* extension;
        const char* name;
    };
    const Case cases[] = {
        {"walk walk.key", ".key", "walk.key"},
        {"jump a-b.key", ".key", "b.key"},
        {"x:\\dir\\c_d.key", ".key", "x:\\dir\\c_d.key"},
        {"a.key b.key", ".key", "a.key"},
        {"no key here", ".key", ""},
        {"dead .key", ".key", ""},
        {"say hi!there.wav", ".wav", "there.wav"},
        {"fall x/fall.wav", ".wav", "fall.wav"},
        {"\x01"
         "ctl.wav",
         ".wav", "ctl.wav"},
        {"\xe9t\xe9.wav", ".wav", "\xe9t\xe9.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ExtractFileName(c.line, c.extension), c.name);
    }
}

TEST(ResourceLists, LimbTemplates)
{
    EXPECT_STREQ(GetLimbTemplate("RANGER"), "+rangerarm");
    EXPECT_NE(GetLimbTemplate("warden"), nullptr);
    EXPECT_NE(GetLimbTemplate("brute"), nullptr);
    EXPECT_EQ(GetLimbTemplate("player"), nullptr);
}
