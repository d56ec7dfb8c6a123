#include "level/ResourceLists.h"

#include "framework/StringUtil.h"
#include "level/CogSymbols.h"
#include "level/GameResources.h"
#include "level/NameLists.h"
#include "level/QzlLines.h"
#include "level/QzlSections.h"
#include "level/TemplateParams.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// Game data: the templates that every level of the base game, or of the expansion, carries.
constexpr const char* kBuiltInTemplatesBase[] = {
    "player",       "playercorpse", "ghost",       "camera",        "fists",          "+fistpunch",
    "blade",        "+bladeslash",  "pistol",      "+pistolbolt",   "+pistolspark",   "rifle",
    "+riflebolt",   "+riflespark",  "crossbow",    "+crossbowbolt", "launcher",       "+rocket",
    "+rocketblast", "mine",         "+mineblast",  "+smoke",        "+dust",          "+sparks",
    "+splash",      "+ripple",      "+bloodspray", "+fleshhit",     "+metalhit",      "+stonehit",
    "+woodhit",     "+glassshard",  "+metalshard", "+stoneshard",   "+woodshard",     "+firesmall",
    "+firelarge",   "+steam",       "+bubble",     "+lightflash",   "+teleportflash", "healthsmall",
    "healthlarge",  "shieldsmall",  "shieldlarge", "ammopistol",    "ammorifle",      "ammobolts",
    "ammorockets",  "ammomines",    "keyred",      "keyblue",       "keyyellow",      "backpack",
    "+respawnglow", "+ricochet",
};
constexpr const char* kBuiltInTemplatesExpansion[] = {
    "player",         "playercorpse", "ghost",         "camera",       "fists",
    "+fistpunch",     "blade",        "+bladeslash",   "pistol",       "+pistolbolt",
    "+pistolspark",   "rifle",        "+riflebolt",    "+riflespark",  "crossbow",
    "+crossbowbolt",  "launcher",     "+rocket",       "+rocketblast", "mine",
    "+mineblast",     "+smoke",       "+dust",         "+sparks",      "+splash",
    "+ripple",        "+bloodspray",  "+fleshhit",     "+metalhit",    "+stonehit",
    "+woodhit",       "+glassshard",  "+metalshard",   "+stoneshard",  "+woodshard",
    "+firesmall",     "+firelarge",   "+steam",        "+bubble",      "+lightflash",
    "+teleportflash", "healthsmall",  "healthlarge",   "shieldsmall",  "shieldlarge",
    "ammopistol",     "ammorifle",    "ammobolts",     "ammorockets",  "ammomines",
    "keyred",         "keyblue",      "keyyellow",     "backpack",     "+respawnglow",
    "+ricochet",      "+playerlimb",  "shockcaster",   "+shockbolt",   "+shockarc",
    "+shockhit",      "flamer",       "+flamejet",     "+flameburst",  "+scorch",
    "sniper",         "+sniperbolt",  "+sniperflash",  "grapple",      "+grapplehook",
    "+grappleline",   "stunbaton",    "+stunarc",      "cryogun",      "+cryoshard",
    "+cryomist",      "+icehit",      "+frostcloud",   "+snowpuff",    "+ash",
    "+ember",         "+cinder",      "+acidsplash",   "+acidpool",    "+toxiccloud",
    "+spore",         "+pollen",      "+leaf",         "+rainsplash",  "+lavaflow",
    "+lavaburst",     "ammoshock",    "ammofuel",      "ammosniper",   "ammocryo",
    "armorsmall",     "armorlarge",   "energycell",    "keygreen",     "keyviolet",
    "keywhite",       "keyblack",     "relic",         "+relicglow",   "map",
    "+mapglow",       "+shieldflare", "+cloakshimmer", "+warpripple",  "+geyser",
    "+quakedust",
};

constexpr const char* kFixedModels[] = {
    "fpfists.3do",    "fpblade.3do",    "fppistol.3do", "fprifle.3do",
    "fpcrossbow.3do", "fplauncher.3do", "fpmine.3do",
};

struct CharacterLimb {
    const char* m_character;
    const char* m_limb;
};

constexpr CharacterLimb kCharacterLimbs[] = {
    {"ranger", "+rangerarm"},
    {"warden", "+wardenarm"},
    {"brute", "+brutearm"},
};

constexpr const char* kDefaultAiClass = "noweapon.ai";

// The bytes of the entry of index named name, read from the game archive; false when the index or
// the archive has none.
bool ReadFromIndex(const CGameResources& game, const CTree& index, std::string_view name,
                   std::vector<std::uint8_t>& bytes)
{
    int position = 0;
    if (!index.Find(name, position))
        return false;
    const auto& entry = index.m_entries[static_cast<std::size_t>(position)];
    return entry && ReadIndexedEntry(game.m_archive, *entry, bytes);
}

// Step by step as the lists depend on each other: templates first, then what they name.
void CollectThingTemplates(CQzlSections& level,
                           const std::vector<std::unique_ptr<CQzlTemplate>>& master,
                           std::unordered_set<std::string>& collected)
{
    // A name collected once in this pass is complete with everything it depends on; collecting it
    // again would only copy the same texts again.
    const auto collect = [&level, &master, &collected](std::string_view name) {
        if (collected.insert(ToLowerAscii(name)).second)
            CollectTemplateRefs(level, master, name);
    };
    for (const auto& thing : level.m_things) {
        if (!thing)
            continue;
        collect(thing->m_name);
        if (const char* limb = GetLimbTemplate(thing->m_name))
            collect(limb);
        if (!thing->m_aiClass.empty())
            InsertUniqueSorted(level.m_aiClasses, thing->m_aiClass);
    }
}

void CollectPuppetKeyframes(CQzlSections& level, const CGameResources& game)
{
    std::vector<std::uint8_t> bytes;
    std::string line;
    for (const std::string& puppet : level.m_puppets) {
        if (!ReadFromIndex(game, game.m_treePuppets, puppet, bytes))
            continue;
        CQzlLineReader reader(bytes);
        while (reader.ReadNextLine(line)) {
            const std::string_view name = ExtractFileName(line, ".key");
            if (!name.empty())
                InsertUniqueSorted(level.m_keyframes, name);
        }
    }
}

void CollectModelFiles(CQzlSections& level, const CGameResources& game)
{
    for (const std::string& model : level.m_models) {
        const std::string stem = ToLowerAscii(model.substr(0, model.find('.')));
        if (stem.empty())
            continue;  // an empty stem would draw in every file of the folder
        for (const auto& entry : game.m_tree3do.m_entries) {
            if (!entry)
                continue;
            const std::string name = ToLowerAscii(entry->m_name);
            if (!name.starts_with(stem))
                continue;
            if (name.find(".mat") != std::string::npos) {
                bool listed = false;
                for (const auto& material : level.m_materials)
                    listed = listed || (material && EqualsNoCase(material->m_name, name));
                if (!listed)
                    level.m_materials.push_back(std::make_unique<CQzlMaterial>(entry->m_name));
            } else if (name.find(".key") != std::string::npos) {
                InsertUniqueSorted(level.m_keyframes, entry->m_name);
            }
        }
    }
}

void CollectSoundClassSounds(CQzlSections& level, const CGameResources& game)
{
    std::unordered_set<std::string> listed;
    for (const std::string& sound : level.m_sounds)
        listed.insert(ToLowerAscii(sound));
    std::vector<std::uint8_t> bytes;
    std::string line;
    for (const std::string& soundClass : level.m_soundClasses) {
        if (!ReadFromIndex(game, game.m_treeSnd, soundClass, bytes))
            continue;
        CQzlLineReader reader(bytes);
        while (reader.ReadNextLine(line)) {
            const std::string_view name = ExtractFileName(line, ".wav");
            if (!name.empty() && listed.insert(ToLowerAscii(name)).second)
                level.m_sounds.emplace_back(name);
        }
    }
}

// Keeps the first of every group of equal sound names and points the sectors at it.
void MergeDuplicateSounds(CQzlSections& level)
{
    std::vector<std::string> sounds;
    std::vector<int> newIndex(level.m_sounds.size());
    std::unordered_map<std::string, int> positions;
    for (std::size_t i = 0; i < level.m_sounds.size(); ++i) {
        const auto [at, added] =
            positions.emplace(ToLowerAscii(level.m_sounds[i]), static_cast<int>(sounds.size()));
        if (added)
            sounds.push_back(level.m_sounds[i]);
        newIndex[i] = at->second;
    }
    for (const auto& sector : level.m_sectors) {
        // An index that names no sound is left as it is.
        if (sector && sector->m_sound >= 0 &&
            static_cast<std::size_t>(sector->m_sound) < newIndex.size())
            sector->m_sound = newIndex[static_cast<std::size_t>(sector->m_sound)];
    }
    level.m_sounds = std::move(sounds);
}

}  // namespace

std::span<const char* const> GetBuiltInTemplates(int product)
{
    if (product == 0)
        return kBuiltInTemplatesBase;
    return kBuiltInTemplatesExpansion;
}

std::span<const char* const> GetFixedModels()
{
    return kFixedModels;
}

const char* GetLimbTemplate(std::string_view characterTemplate)
{
    for (const CharacterLimb& entry : kCharacterLimbs) {
        if (EqualsNoCase(entry.m_character, characterTemplate))
            return entry.m_limb;
    }
    return nullptr;
}

std::string_view ExtractFileName(std::string_view line, std::string_view extension)
{
    const std::size_t at = line.find(extension);
    if (at == std::string_view::npos)
        return {};
    std::size_t start = at;
    while (start > 0 && static_cast<unsigned char>(line[start - 1]) > '/')
        --start;
    if (start == at)
        return {};
    return line.substr(start, at + extension.size() - start);
}

void BuildResourceLists(CQzlSections& level, const CGameResources& game)
{
    level.m_models.clear();
    level.m_puppets.clear();
    level.m_soundClasses.clear();
    level.m_aiClasses.clear();
    level.m_sprites.clear();
    level.m_keyframes.clear();

    // The templates are collected from the product's master list; the level's own templates that
    // the master list lacks stay available, so a level written without the game installed (or
    // holding templates of its own) keeps the templates its things use.
    std::vector<std::unique_ptr<CQzlTemplate>> master;
    master.reserve(game.m_templates.size() + level.m_templates.size());
    for (const auto& t : game.m_templates)
        if (t)
            master.push_back(std::make_unique<CQzlTemplate>(*t));
    for (auto& t : level.m_templates) {
        if (!t)
            continue;
        bool inMaster = false;
        for (const auto& g : game.m_templates)
            inMaster = inMaster || (g && EqualsNoCase(g->m_name, t->m_name));
        if (!inMaster)
            master.push_back(std::move(t));
    }
    level.m_templates.clear();
    level.m_aiClasses.emplace_back(kDefaultAiClass);

    std::unordered_set<std::string> collected;
    CollectThingTemplates(level, master, collected);

    ReadCogScripts(level, game);
    for (const auto& cog : level.m_cogs) {
        if (!cog)
            continue;
        bool listed = false;
        for (const std::string& script : level.m_cogScripts)
            listed = listed || EqualsNoCase(script, cog->m_script);
        if (!listed)
            level.m_cogScripts.push_back(cog->m_script);
    }

    for (const char* name : GetBuiltInTemplates(game.m_product)) {
        if (collected.insert(name).second)
            CollectTemplateRefs(level, master, name);
    }
    for (std::size_t i = 0; i < level.m_templates.size(); ++i) {
        if (level.m_templates[i])
            CollectTemplateResources(level, level.m_templates[i]->m_params);
    }

    // The game's files: keyframes named by puppets, the files stored with each model, and the
    // sounds of the sound classes. Without the game archive none of them can be looked at.
    if (game.m_archive)
        CollectPuppetKeyframes(level, game);
    for (const char* model : GetFixedModels())
        InsertUniqueSorted(level.m_models, model);
    if (game.m_archive) {
        CollectModelFiles(level, game);
        CollectSoundClassSounds(level, game);
    }

    MergeDuplicateSounds(level);
}
