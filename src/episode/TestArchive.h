#pragma once
// The archive that Test Level hands to the game, and that a level saved as a ".gob" or ".goo"
// file becomes: the episode file, the level in the text level format, the message file, the start
// and goals cogs by the document's switches and the level's own files. Built in memory, then
// written once through a temporary file and a rename.

#include "level/QzeFile.h"
#include "resources/GobArchive.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class CQzlSections;
struct CGameResources;

// The level file name of a document that has none.
inline constexpr const char* kDefaultLevelFileName = "qzedit.qzl";
// The names of the archive that Test Level writes into the game's episode folder.
inline constexpr const char* kTestArchiveGob = "QzEdit.gob";
inline constexpr const char* kTestArchiveGoo = "QzEdit.goo";

struct CTestArchiveCogs {
    // The whole script of "qzedit_start.cog" and "qzedit_goals.cog"; none when the file could not
    // be read (its entry is then left out without a message).
    std::optional<std::vector<std::uint8_t>> m_start;
    std::optional<std::vector<std::uint8_t>> m_goals;
};

struct CTestArchive {
    CGobArchive m_archive;
    // One sentence for each item left out because its name cannot be stored, in the order met.
    std::vector<std::string> m_skipped;
    // What the text level's writer says for the status bar (empty when all went as usual).
    std::string m_status;
};

// The archive of level, entries added in this order, each at its ordered place: "episode.qz"
// (WriteEpisode of fields, which lower-cases the level file name), "qzl\" + the level file name
// (kDefaultLevelFileName when empty; the text level written after every sector's bounds, planes
// and collide box were recomputed), "misc\cogstrings.uni" (the message text byte for byte),
// "cog\qzedit_start.cog" and "cog\qzedit_goals.cog" when their switch is on and the script is
// there, then each of the level's own files under its path, in list order. A level file name that
// is not a plain file name, and an own file without data or whose path cannot be stored, are left
// out and listed. Throws CArchiveException when the level cannot be written in the text format or
// the archive would outgrow 32-bit offsets.
CTestArchive BuildTestArchive(CQzlSections& level, CDocumentFields& fields,
                              const CTestArchiveCogs& cogs, const CGameResources& game,
                              int product);

// BuildTestArchive, then the archive written at path through a temporary file and a rename (the
// file that was there stays as it was when anything fails); returns what was built. Throws
// CArchiveException as BuildTestArchive does and CFileException when the file cannot be written.
CTestArchive SaveTestArchive(const std::filesystem::path& path, CQzlSections& level,
                             CDocumentFields& fields, const CTestArchiveCogs& cogs,
                             const CGameResources& game, int product);
