#pragma once
// A level taken out of the game's GOB/GOO archive, and the project: a ".qzp" file beside a folder
// of the same name that holds the episode file, the level, the message file and the level's own
// files in the game's folder layout.

#include "level/QzeFile.h"
#include "level/QzlSections.h"
#include "resources/Tree.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class GameArchive;
struct CDataFolders;
struct CGameArchiveEntry;
struct CGameResources;

// ---- The archive import ----

// One kind of archive entry: the text its lower-cased path holds, and the place of its entries
// when they are copied into the level's files (1 first; 0 for the levels, which are not copied).
struct CArchiveEntryKind {
    const char* m_text;
    int m_copyOrder;
};
inline constexpr int kArchiveKindCount = 12;
inline constexpr int kArchiveLevelKind = 2;  // ".qzl"
inline constexpr int kArchiveCogKind = 3;    // ".cog"
// The kinds in the order they are tested: ".mat", ".3do", ".qzl", ".cog", ".wav", ".ai", ".cmp",
// ".par", ".per", ".pup", ".snd", ".key".
std::span<const CArchiveEntryKind, kArchiveKindCount> ArchiveEntryKinds();
// The first kind whose text occurs anywhere in path (letter case ignored); -1 when none does
// ("episode.qz", "misc\cogstrings.uni", sprites).
int ArchiveEntryKindOf(std::string_view path);

// The working lists: one per kind, each sorted by name (a second entry of one name goes before
// the first), made of the lower-cased paths, offsets and sizes of the directory.
using CArchiveKindLists = std::array<CTree, kArchiveKindCount>;
CArchiveKindLists SortArchiveEntries(const std::vector<CGameArchiveEntry>& entries);

// Shows the levels (the ".qzl" list) and gives the position of the one chosen; nullopt for cancel.
using LevelChooser = std::function<std::optional<int>(const CTree& levels)>;

struct CImportedLevel {
    CQzlSections m_level;  // with the archive's files as its own
    std::string m_name;    // the chosen entry's name: lower case, without folders
};

// The level that choose picks among the archive's levels, read as a whole text level of product,
// with the archive's models, key frames, materials, the cog scripts that its cogs use (names
// compared without letter case), sounds and the other resources as its own files at their sorted
// places, offsets running from 0. nullopt when choose cancels. Throws CArchiveException or
// CFileException, with a message for the user, when the level or an entry cannot be read, or
// when choose gives a position that is not in the list.
std::optional<CImportedLevel> ImportArchiveLevel(const GameArchive& archive, int product,
                                                 const LevelChooser& choose);

// ---- The project ----

// A row of the project layout: a folder inside the project folder (backslashes, "\" for the
// project folder itself) and the mask of its files.
struct CProjectRow {
    const char* m_folder;
    const char* m_mask;
};
inline constexpr int kProjectRowCount = 16;
inline constexpr int kProjectEpisodeRow = 0;
inline constexpr int kProjectLevelRow = 5;
inline constexpr int kProjectMessageRow = 7;
std::span<const CProjectRow, kProjectRowCount> ProjectRows();

// The project folder of a ".qzp" path: the path up to the last "." of its file name (a file
// name without one: the whole path), so "/my.levels/a.qzp" gives "/my.levels/a".
std::filesystem::path ProjectFolder(const std::filesystem::path& projectFile);

// True when name matches mask "*.ext", letter case ignored.
bool MatchesProjectMask(std::string_view name, std::string_view mask);

struct CProjectContents {
    CDocumentFields m_fields;  // the fields the episode files set, over those given
    CQzlSections m_level;      // the last level file read, with the files found as its own
    // Files that were found and left out, one sentence each.
    std::vector<std::string> m_skipped;
};

// Reads the project of projectFile over fields. Every row's files are read in the order of their
// names (letter case ignored); where several episode, level or message files are found, the last
// one read wins. Throws CFileException when the ".qzp" file cannot be opened, CArchiveException
// with a message for the user when a level file is not a whole level or the level's files would
// exceed 2 GB. A missing folder is passed over; a file that cannot be read or whose name cannot
// be a level file's is listed in m_skipped.
CProjectContents ReadProject(const std::filesystem::path& projectFile, CDocumentFields fields,
                             int product);

struct CProjectExport {
    // Items that were not written, one sentence each, in the order met.
    std::vector<std::string> m_skipped;
};

// Writes the project of projectFile: the empty ".qzp" file, the folder and its sub-folders, then
// "episode.qz", "qzl\" + the level file name (lower case), "misc\cogstrings.uni", the start and
// goals cog by their switches (the user's copy first, then the installed default), and every file
// of the level at its path inside the project folder. Every path is made from the project
// folder; the working folder is neither used nor changed. The level's bounds and planes are
// recomputed before it is written. A path that would lead outside the project folder, a file that
// cannot be written and a cog that cannot be read are left out and listed. Throws CFileException
// when the ".qzp" file or the project folder cannot be made (nothing else is written then, and a
// ".qzp" file that this call made is removed again).
CProjectExport WriteProject(const std::filesystem::path& projectFile, CDocumentFields& fields,
                            CQzlSections& level, const CGameResources& game, int product,
                            const CDataFolders& data);
