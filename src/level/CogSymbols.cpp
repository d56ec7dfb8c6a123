#include "level/CogSymbols.h"

#include "framework/CFormat.h"
#include "framework/Exceptions.h"
#include "framework/StringUtil.h"
#include "level/GameResources.h"
#include "level/NameLists.h"
#include "level/QzlLines.h"
#include "level/QzlSections.h"
#include "level/TemplateParams.h"
#include "resources/GameArchive.h"

#include <cstdint>
#include <limits>

namespace {

constexpr std::string_view kBlanks = " \t";

enum : int {
    kTypeSurface = 0,
    kTypeSector = 1,
    kTypeThing = 2,
    kTypeTemplate = 5,
    kTypeSound = 6,
    kTypeMaterial = 9,
    kTypeKeyframe = 10,
    kTypeAi = 12,
};

std::string_view LeadingWord(std::string_view text)
{
    return text.substr(0, text.find_first_of(kBlanks));
}

std::string_view SkipBlanks(std::string_view text)
{
    const std::size_t at = text.find_first_not_of(kBlanks);
    return at == std::string_view::npos ? std::string_view{} : text.substr(at);
}

void CutBefore(std::string_view& text, std::string_view marker)
{
    const std::size_t at = text.find(marker);
    if (at != std::string_view::npos)
        text = text.substr(0, at);
}

// True when one of the blank-separated words of text is exactly "local".
bool HasLocalFlag(std::string_view text)
{
    for (text = SkipBlanks(text); !text.empty(); text = SkipBlanks(text)) {
        const std::string_view word = LeadingWord(text);
        if (word == "local")
            return true;
        text.remove_prefix(word.size());
    }
    return false;
}

bool IsRecordType(int typeIndex)
{
    return typeIndex == kTypeSurface || typeIndex == kTypeSector || typeIndex == kTypeThing;
}

bool ContainsNoCase(const std::vector<std::string>& list, std::string_view name)
{
    for (const std::string& entry : list) {
        if (EqualsNoCase(entry, name))
            return true;
    }
    return false;
}

bool FindInLevelFiles(const CQzlSections& level, std::string_view name,
                      std::vector<std::uint8_t>& script)
{
    for (const auto& entry : level.m_levelFiles.m_entries) {
        if (entry && entry->HasData() && EqualsNoCase(entry->m_name, name)) {
            script = *entry->m_data;
            return true;
        }
    }
    return false;
}

bool FindInGame(const CGameResources& game, std::string_view name,
                std::vector<std::uint8_t>& script)
{
    if (!game.m_archive)
        return false;
    for (const auto& entry : game.m_treeCogs.m_entries) {
        if (entry && EqualsNoCase(entry->m_name, name))
            return ReadIndexedEntry(game.m_archive, *entry, script);
    }
    return false;
}

}  // namespace

int CogTypeIndex(std::string_view word)
{
    for (int i = 0; i < kCogTypeCount; ++i) {
        if (word == kCogTypeWords[i])
            return i;
    }
    return -1;
}

std::string CCogSymbol::GetLabel() const
{
    return m_nameText + " (" + m_type + ")";
}

bool ReadIndexedEntry(const GameArchive* archive, const CTreeObject& entry,
                      std::vector<std::uint8_t>& bytes)
{
    if (!archive || entry.m_offset < 0 || entry.m_size < 0)
        return false;
    try {
        bytes = archive->ReadBytes(static_cast<std::uint32_t>(entry.m_offset),
                                   static_cast<std::uint32_t>(entry.m_size));
        return true;
    } catch (const CArchiveException&) {
    } catch (const CFileException&) {
    }
    return false;
}

std::vector<CCogSymbol> ReadCogSymbolSection(std::span<const std::uint8_t> script)
{
    std::vector<CCogSymbol> symbols;
    bool inSection = false;
    CQzlLineReader reader(script);
    std::string text;
    while (reader.ReadNextLine(text)) {
        std::string_view line = text;
        const std::size_t first = line.find_first_not_of(" \t\f\v");
        line = first == std::string_view::npos ? std::string_view{} : line.substr(first);
        CutBefore(line, "desc=");
        CutBefore(line, "//");
        if (!inSection) {
            inSection = line.starts_with("symbols");
            continue;
        }
        if (line.starts_with("end"))
            break;
        const std::string_view type = LeadingWord(line);
        const int typeIndex = CogTypeIndex(type);
        if (typeIndex < 0)
            continue;
        const std::string_view rest = SkipBlanks(line.substr(type.size()));
        const std::string_view nameText = LeadingWord(rest);
        CCogSymbol symbol;
        symbol.m_type = std::string(type);
        symbol.m_typeIndex = typeIndex;
        symbol.m_nameText = std::string(nameText);
        if (const std::size_t equals = nameText.find('='); equals != std::string_view::npos)
            symbol.m_default = std::string(nameText.substr(equals + 1));
        symbol.m_local = HasLocalFlag(rest);
        symbols.push_back(std::move(symbol));
    }
    return symbols;
}

void ParseCogSymbols(std::span<const std::uint8_t> script, std::vector<std::string>& labels,
                     std::vector<std::string>& defaults, std::vector<std::string>& types)
{
    for (const CCogSymbol& symbol : ReadCogSymbolSection(script)) {
        if (symbol.m_local)
            continue;
        labels.push_back(symbol.GetLabel());
        defaults.push_back(symbol.m_default);
        types.push_back(symbol.m_type);
    }
}

bool FindCogScript(const CQzlSections& level, const CGameResources& game, std::string_view name,
                   CogScriptOrder order, std::vector<std::uint8_t>& script)
{
    if (order == CogScriptOrder::levelFilesFirst)
        return FindInLevelFiles(level, name, script) || FindInGame(game, name, script);
    return FindInGame(game, name, script) || FindInLevelFiles(level, name, script);
}

void GetCogSymbols(const CQzlSections& level, const CGameResources& game, const CQzlCog& cog,
                   std::vector<std::string>& labels, std::vector<std::string>& defaults,
                   std::vector<std::string>& types)
{
    std::vector<std::uint8_t> script;
    if (FindCogScript(level, game, cog.m_script, CogScriptOrder::levelFilesFirst, script))
        ParseCogSymbols(script, labels, defaults, types);
}

void RenumberCogSymbols(CQzlSections& level, const CGameResources& game, std::string_view typeWord,
                        int deletedIndex)
{
    for (std::size_t c = level.m_cogs.size(); c-- > 0;) {
        CQzlCog* cog = level.m_cogs[c].get();
        if (!cog)
            continue;
        std::vector<std::string> labels;
        std::vector<std::string> defaults;
        std::vector<std::string> types;
        GetCogSymbols(level, game, *cog, labels, defaults, types);
        std::vector<std::string>& values = cog->m_values;
        const std::size_t count = std::min(types.size(), values.size());

        bool hit = false;
        for (std::size_t i = 0; i < count; ++i) {
            if (types[i] != typeWord)
                continue;
            const int value = AtoiC(values[i].c_str());
            if (value == deletedIndex) {
                values[i] = "-1";
                hit = true;
            } else if (value > deletedIndex) {
                values[i] = FormatC("%d", value - 1);
            }
        }
        if (!hit || !IsRecordType(CogTypeIndex(typeWord)))
            continue;

        bool referencesRecord = false;
        for (std::size_t i = 0; i < count && !referencesRecord; ++i)
            referencesRecord =
                IsRecordType(CogTypeIndex(types[i])) && AtoiC(values[i].c_str()) > -1;
        if (!referencesRecord)
            level.m_cogs.erase(level.m_cogs.begin() + static_cast<std::ptrdiff_t>(c));
    }
}

void RemapCogSymbolValues(std::span<const std::uint8_t> script, const std::vector<int>& map,
                          int typeIndex, std::vector<std::string>& values)
{
    std::size_t k = 0;
    for (const CCogSymbol& symbol : ReadCogSymbolSection(script)) {
        if (symbol.m_local)
            continue;
        if (IsRecordType(symbol.m_typeIndex) && symbol.m_typeIndex == typeIndex &&
            k < values.size()) {
            const int value = AtoiC(values[k].c_str());
            if (value >= 0 && static_cast<std::size_t>(value) < map.size())
                values[k] = FormatC("%d", map[static_cast<std::size_t>(value)]);
        }
        ++k;
    }
}

void RemapCogSymbols(CQzlSections& level, const CGameResources& game, const std::vector<int>& map,
                     int typeIndex)
{
    std::vector<std::uint8_t> script;
    for (const auto& cog : level.m_cogs) {
        if (cog &&
            FindCogScript(level, game, cog->m_script, CogScriptOrder::gameArchiveFirst, script))
            RemapCogSymbolValues(script, map, typeIndex, cog->m_values);
    }
}

void ReadCogScripts(CQzlSections& level, const CGameResources& game)
{
    std::vector<std::uint8_t> script;
    for (std::size_t c = 0; c < level.m_cogs.size(); ++c) {
        const CQzlCog* cog = level.m_cogs[c].get();
        if (cog &&
            FindCogScript(level, game, cog->m_script, CogScriptOrder::gameArchiveFirst, script))
            CollectCogSymbolResources(level, game, script, cog->m_values);
    }
}

void CollectCogSymbolResources(CQzlSections& level, const CGameResources& game,
                               std::span<const std::uint8_t> script,
                               const std::vector<std::string>& values)
{
    std::size_t k = 0;
    for (const CCogSymbol& symbol : ReadCogSymbolSection(script)) {
        std::string value;
        if (!symbol.m_local && k < values.size())
            value = values[k] == "-1" ? std::string{} : ToLowerAscii(values[k]);
        else
            value = symbol.m_default;
        if (!symbol.m_local)
            ++k;
        if (value.empty())
            continue;

        switch (symbol.m_typeIndex) {
        case kTypeMaterial:
            level.FindMaterial(value);  // appended when the level has none of that name
            break;
        case kTypeTemplate:
            CollectTemplateRefs(level, game.m_templates, value);
            break;
        case kTypeSound:
            if (!ContainsNoCase(level.m_sounds, value))
                level.m_sounds.push_back(ToUpperAscii(value));
            break;
        // The keyframe and AI-class lists are kept sorted, so their entries go to their sorted
        // place; appended at the end they would defeat the binary searches of later inserts.
        case kTypeKeyframe:
            InsertUniqueSorted(level.m_keyframes, ToUpperAscii(value));
            break;
        case kTypeAi:
            InsertUniqueSorted(level.m_aiClasses, ToUpperAscii(value));
            break;
        default:
            break;
        }
    }
}

void CopyArchiveEntries(CQzlSections& level, const GameArchive& archive, const CTree& index)
{
    // Everything is read first, so a bad entry leaves the level's files as they were.
    std::vector<std::unique_ptr<CTreeObject>> copies;
    std::int64_t total = 0;
    for (const auto& file : level.m_levelFiles.m_entries)
        total += file ? file->m_size : 0;
    for (const auto& entry : index.m_entries) {
        if (!entry)
            continue;
        if (entry->m_offset < 0 || entry->m_size < 0)
            throw CArchiveException(CArchiveException::badFormat,
                                    "The archive entry \"" + entry->m_path +
                                        "\" has a negative offset or size.");
        auto copy = std::make_unique<CTreeObject>(
            entry->m_name,
            archive.ReadBytes(static_cast<std::uint32_t>(entry->m_offset),
                              static_cast<std::uint32_t>(entry->m_size)),
            0);
        copy->m_path = entry->m_path;
        total += copy->m_size;
        if (total > std::numeric_limits<std::int32_t>::max())
            throw CArchiveException(CArchiveException::badFormat,
                                    "The level's files would exceed 2 GB with \"" + entry->m_path +
                                        "\".");
        copies.push_back(std::move(copy));
    }

    CTree& files = level.m_levelFiles;
    for (auto& copy : copies) {
        int position = 0;
        files.Find(copy->m_name, position);
        files.m_entries.insert(files.m_entries.begin() + position, std::move(copy));
    }
    std::int32_t offset = 0;
    for (const auto& file : files.m_entries) {
        if (!file)
            continue;
        file->m_offset = offset;
        offset += file->m_size;
    }
}
