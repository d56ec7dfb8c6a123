#pragma once
// Cog scripts' symbols: the type, label and default of every cog value, the renumbering of
// record-index values after deletes and reorders, and the resources that cog values name.
//
// A script's symbols section runs from the line that begins with "symbols" to the next line that
// begins with "end". Each line there whose first word is one of the type words below declares a
// symbol: type word, name text (e.g. "door=5"), then flags. A symbol flagged "local" takes no
// value of the cog; every other typed symbol takes the next one, in script order. Everything after
// "desc=" or "//" on a line is ignored. Type words and values are compared as exact text, script
// names without regard to letter case.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CQzlCog;
class CQzlSections;
class CTree;
class CTreeObject;
class GameArchive;
struct CGameResources;

// The type words; a word's position is its type index. Indices 0 to 2 (surface, sector, thing)
// are record indices of the level.
inline constexpr int kCogTypeCount = 13;
inline constexpr const char* kCogTypeWords[kCogTypeCount] = {
    "surface", "sector", "thing",    "vector",   "flex", "template", "sound",
    "float",   "int",    "material", "keyframe", "cog",  "ai"};

// Index of an exact type word, or -1.
int CogTypeIndex(std::string_view word);

// One typed symbol of a script's symbols section.
struct CCogSymbol {
    std::string m_type;      // the type word
    int m_typeIndex = -1;    // its position among the type words
    std::string m_nameText;  // the word after the type word, e.g. "door=5"
    std::string m_default;   // what follows the first '=' of the name text; empty without one
    bool m_local = false;    // flagged "local": takes no value of the cog

    // The name text, a blank and the type word in parentheses: "door=5 (surface)".
    std::string GetLabel() const;
};

// The bytes of an entry of one of the game's resource indexes, read through archive; false when
// there is no archive or the entry cannot be read from it (it does not lie inside the archive, or
// the archive's file fails).
bool ReadIndexedEntry(const GameArchive* archive, const CTreeObject& entry,
                      std::vector<std::uint8_t>& bytes);

// Every typed symbol of the script's symbols section, local ones included, in script order.
std::vector<CCogSymbol> ReadCogSymbolSection(std::span<const std::uint8_t> script);

// Appends one label, default and type word per symbol that takes a cog value, in script order.
void ParseCogSymbols(std::span<const std::uint8_t> script, std::vector<std::string>& labels,
                     std::vector<std::string>& defaults, std::vector<std::string>& types);

// Where a script is looked for first; the other place is tried when the first has none.
enum class CogScriptOrder {
    levelFilesFirst,
    gameArchiveFirst
};

// The bytes of the named script, from the level's own files (entries that hold data) or from the
// game's cog-script index read through its archive; false when neither has it (a game entry that
// cannot be read counts as absent).
bool FindCogScript(const CQzlSections& level, const CGameResources& game, std::string_view name,
                   CogScriptOrder order, std::vector<std::uint8_t>& script);

// The cog's symbols (level files first): appends labels, defaults and type words; adds nothing
// when the script is found nowhere.
void GetCogSymbols(const CQzlSections& level, const CGameResources& game, const CQzlCog& cog,
                   std::vector<std::string>& labels, std::vector<std::string>& defaults,
                   std::vector<std::string>& types);

// After the record of type typeWord ("surface", "sector", "thing", or "cog" for a removed cog) at
// deletedIndex was removed: values equal to it become "-1", greater ones go down by 1. A cog that
// lost a surface, sector or thing value this way and has no surface, sector or thing value above
// -1 left is deleted (losing a "cog" value deletes nothing). Cogs whose script is found nowhere
// stay as they are.
void RenumberCogSymbols(CQzlSections& level, const CGameResources& game, std::string_view typeWord,
                        int deletedIndex);

// Replaces each value of a symbol of type typeIndex (0 to 2) by its image under map (old index ->
// new index); values outside the map stay.
void RemapCogSymbolValues(std::span<const std::uint8_t> script, const std::vector<int>& map,
                          int typeIndex, std::vector<std::string>& values);

// Maps every cog value of the given type (0 surface, 1 sector, 2 thing) through map
// (old index -> new index). Scripts are looked up in the game first, then in the level's own
// files; a cog whose script is found nowhere stays as it is.
void RemapCogSymbols(CQzlSections& level, const CGameResources& game, const std::vector<int>& map,
                     int typeIndex);

// For every cog whose script is found (game first, then the level's files): the resources that
// its values, or the script's defaults, name are added to the level's lists.
void ReadCogScripts(CQzlSections& level, const CGameResources& game);

// Adds the materials, templates (with what they depend on, from the game's template list), sounds,
// keyframes and AI classes that the values name, a symbol without a value (or a local one) naming
// its default.
void CollectCogSymbolResources(CQzlSections& level, const CGameResources& game,
                               std::span<const std::uint8_t> script,
                               const std::vector<std::string>& values);

// Copies every entry of index out of archive into the level's own files (at their sorted place),
// then gives the level's files consecutive offsets from 0. Throws CArchiveException or
// CFileException when an entry cannot be read; the level is then unchanged.
void CopyArchiveEntries(CQzlSections& level, const GameArchive& archive, const CTree& index);
