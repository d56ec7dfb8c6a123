#pragma once
// The playable episode built from a list of levels: the episode file "episode.qz" (one line per
// level), the message file "misc\cogstrings.uni" (every level's title, goals, texts and cog
// strings) and the GOB/GOO archive that holds both, every level in the text level format and the
// cog, 3DO, material and sound files each level carries. Both text files end every line in CR LF.

#include "episode/EpisodeFile.h"
#include "episode/MultiLevelItem.h"
#include "level/LevelFiles.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CQzlSections;
struct CGameResources;

// CMultiLevelEditorDlg::WriteEpisodeFile: the episode file's text.
std::string WriteEpisodeFile(const std::string& masterTitle, std::int32_t masterType,
                             const std::vector<std::unique_ptr<CMultiLevelItem>>& items);
// CMultiLevelEditorDlg::WriteCogStrings: the message file's text.
std::string WriteCogStrings(const std::vector<std::unique_ptr<CMultiLevelItem>>& items);

// Names from level and list files become the last part of an entry path only when
// IsSafeLevelFileName takes them.

// Opens a level file for the archive; null when it cannot be opened.
using EpisodeLevelOpener =
    std::function<std::unique_ptr<CQzlSections>(const std::filesystem::path& levelPath)>;
// The opener of level files of either form (LoadLevelFile) for the given product.
EpisodeLevelOpener LevelFileOpener(int product);

struct CEpisodeArchiveResult {
    std::size_t m_levelsWritten = 0;
    // One sentence for each level or file left out, in the order met.
    std::vector<std::string> m_skipped;
};

// CMultiLevelEditorDlg::BuildEpisodeArchive: builds the archive in memory, entries added in
// order at their ordered places: "episode.qz", "misc\cogstrings.uni", then per level
// "qzl\<file name>.qzl" (lower-cased) and the level's embedded files whose lower-cased names
// contain ".cog", ".3do", ".mat" or ".wav" as "cog\", "3do\", "mat\", "sound\" + that name (a name
// with two of them gives two entries). A level that does not open, cannot be written, or whose
// name is not a plain file name is left out, as is an embedded file of such a name; each is
// listed in the result. The file is written through a temporary file and a rename; CFileException
// when it cannot be written (an existing file is then left as it was), CArchiveException when
// the archive would outgrow 32-bit offsets (nothing is written).
CEpisodeArchiveResult
BuildEpisodeArchive(const std::filesystem::path& path, const std::string& masterTitle,
                    std::int32_t masterType,
                    const std::vector<std::unique_ptr<CMultiLevelItem>>& items,
                    const EpisodeLevelOpener& openLevel, const CGameResources& game, int product);
