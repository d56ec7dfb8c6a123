#include "episode/LevelImport.h"

#include "episode/EpisodeArchive.h"
#include "episode/EpisodeFile.h"
#include "episode/StartGoalsCogs.h"
#include "framework/DataFolders.h"
#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"
#include "geometry/SectorBounds.h"
#include "level/CogSymbols.h"
#include "level/QzlCog.h"
#include "level/QzlReader.h"
#include "level/QzlWriter.h"
#include "resources/EntryHostPath.h"
#include "resources/GameArchive.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <memory>
#include <system_error>

namespace {

constexpr CArchiveEntryKind kKinds[kArchiveKindCount] = {
    {".mat", 3}, {".3do", 1}, {".qzl", 0}, {".cog", 4},  {".wav", 5},  {".ai", 6},
    {".cmp", 7}, {".par", 8}, {".per", 9}, {".pup", 10}, {".snd", 11}, {".key", 2},
};

constexpr CProjectRow kRows[kProjectRowCount] = {
    {"\\", "*.qz"},           {"3do\\", "*.3do"},       {"3do\\key\\", "*.key"},
    {"3do\\mat\\", "*.mat"},  {"cog\\", "*.cog"},       {"qzl\\", "*.qzl"},
    {"mat\\", "*.mat"},       {"misc\\", "*.uni"},      {"misc\\ai\\", "*.ai"},
    {"misc\\cmp\\", "*.cmp"}, {"misc\\par\\", "*.par"}, {"misc\\per\\", "*.per"},
    {"misc\\pup\\", "*.pup"}, {"misc\\snd\\", "*.snd"}, {"misc\\spr\\", "*.spr"},
    {"sound\\", "*.wav"},
};

// Inserts entry at the place CTree::Find gives for its name.
void InsertSorted(CTree& tree, std::unique_ptr<CTreeObject> entry)
{
    int position = 0;
    tree.Find(entry->m_name, position);
    tree.m_entries.insert(tree.m_entries.begin() + position, std::move(entry));
}

void RecomputeOffsets(CTree& files)
{
    std::int32_t offset = 0;
    for (const auto& file : files.m_entries)
        if (file) {
            file->m_offset = offset;
            offset += file->m_size;
        }
}

// The host folder of a row: its folder text with "/" for "\" inside folder.
std::filesystem::path RowFolder(const std::filesystem::path& folder, const CProjectRow& row)
{
    std::string relative = row.m_folder;
    if (relative == "\\")
        return folder;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return folder / relative;
}

std::string Quoted(const std::filesystem::path& path)
{
    return "\"" + path.string() + "\"";
}

}  // namespace

std::span<const CArchiveEntryKind, kArchiveKindCount> ArchiveEntryKinds()
{
    return kKinds;
}

int ArchiveEntryKindOf(std::string_view path)
{
    const std::string lower = ToLowerAscii(path);
    for (int kind = 0; kind < kArchiveKindCount; ++kind)
        if (lower.find(kKinds[kind].m_text) != std::string::npos)
            return kind;
    return -1;
}

CArchiveKindLists SortArchiveEntries(const std::vector<CGameArchiveEntry>& entries)
{
    CArchiveKindLists lists;
    for (const CGameArchiveEntry& entry : entries) {
        const int kind = ArchiveEntryKindOf(entry.m_path);
        if (kind < 0)
            continue;
        // The level's files keep 32-bit signed offsets and sizes; the archive reader has checked
        // that the data lie inside the file, CopyArchiveEntries refuses what does not fit.
        auto object = std::make_unique<CTreeObject>(ToLowerAscii(entry.m_path),
                                                    static_cast<std::int32_t>(entry.m_offset),
                                                    static_cast<std::int32_t>(entry.m_size));
        InsertSorted(lists[static_cast<std::size_t>(kind)], std::move(object));
    }
    return lists;
}

std::optional<CImportedLevel> ImportArchiveLevel(const GameArchive& archive, int product,
                                                 const LevelChooser& choose)
{
    CArchiveKindLists lists = SortArchiveEntries(archive.GetEntries());
    const CTree& levels = lists[kArchiveLevelKind];
    const std::optional<int> chosen = choose(levels);
    if (!chosen)
        return std::nullopt;
    if (*chosen < 0 || static_cast<std::size_t>(*chosen) >= levels.m_entries.size())
        throw CArchiveException(CArchiveException::badFormat, "The archive holds no such level.");
    const CTreeObject& entry = *levels.m_entries[static_cast<std::size_t>(*chosen)];
    if (entry.m_offset < 0 || entry.m_size < 0)
        throw CArchiveException(CArchiveException::badFormat,
                                "The level \"" + entry.m_path + "\" does not lie in the archive.");

    CImportedLevel result{ReadWholeQzl(archive.ReadBytes(static_cast<std::uint32_t>(entry.m_offset),
                                                         static_cast<std::uint32_t>(entry.m_size)),
                                       product),
                          entry.m_name};
    CQzlSections& level = result.m_level;

    // Only the cog scripts that the level's cogs use come along.
    auto& cogs = lists[kArchiveCogKind].m_entries;
    for (std::size_t i = cogs.size(); i-- > 0;) {
        const bool used =
            std::any_of(level.m_cogs.begin(), level.m_cogs.end(), [&](const auto& cog) {
                return cog && EqualsNoCase(cog->m_script, cogs[i]->m_name);
            });
        if (!used)
            cogs.erase(cogs.begin() + static_cast<std::ptrdiff_t>(i));
    }

    for (int order = 1; order < kArchiveKindCount; ++order)
        for (int kind = 0; kind < kArchiveKindCount; ++kind)
            if (kKinds[kind].m_copyOrder == order)
                CopyArchiveEntries(level, archive, lists[static_cast<std::size_t>(kind)]);
    return result;
}

// ---- The project ----

std::span<const CProjectRow, kProjectRowCount> ProjectRows()
{
    return kRows;
}

std::filesystem::path ProjectFolder(const std::filesystem::path& projectFile)
{
    const std::string name = projectFile.filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return projectFile;
    return projectFile.parent_path() / name.substr(0, dot);
}

bool MatchesProjectMask(std::string_view name, std::string_view mask)
{
    const std::string_view extension = mask.substr(1);  // "*.ext" -> ".ext"
    return name.size() > extension.size() &&
           EqualsNoCase(name.substr(name.size() - extension.size()), extension);
}

CProjectContents ReadProject(const std::filesystem::path& projectFile, CDocumentFields fields,
                             int product)
{
    // The ".qzp" file holds nothing; it only has to be there and readable.
    if (!std::filesystem::is_regular_file(projectFile) || !std::ifstream(projectFile))
        throw CFileException("The project file " + Quoted(projectFile) + " cannot be opened.");

    CProjectContents contents{std::move(fields), CQzlSections(), {}};
    CTree files;
    std::int64_t total = 0;
    const std::filesystem::path folder = ProjectFolder(projectFile);
    for (int row = 0; row < kProjectRowCount; ++row) {
        const CProjectRow& place = kRows[row];
        const std::filesystem::path rowFolder = RowFolder(folder, place);
        // The files in the order of their names, so that a project reads the same everywhere.
        std::vector<std::string> names;
        std::error_code error;
        for (std::filesystem::directory_iterator it(rowFolder, error), end; !error && it != end;
             it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (MatchesProjectMask(name, place.m_mask) && it->is_regular_file(error))
                names.push_back(name);
        }
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            const std::string la = ToLowerAscii(a);
            const std::string lb = ToLowerAscii(b);
            return la != lb ? la < lb : a < b;
        });

        for (const std::string& name : names) {
            const std::filesystem::path file = rowFolder / name;
            std::vector<std::uint8_t> bytes;
            try {
                bytes = ReadFileBytes(file);
            } catch (const CFileException& e) {
                contents.m_skipped.push_back(std::string(e.what()));
                continue;
            }
            if (row == kProjectEpisodeRow) {
                ReadEpisode(bytes, contents.m_fields);
            } else if (row == kProjectLevelRow) {
                try {
                    contents.m_level = ReadWholeQzl(bytes, product);
                } catch (const CArchiveException& e) {
                    throw CArchiveException(e.GetCause(), "The level " + Quoted(file) +
                                                              " cannot be read: " + e.what());
                }
            } else if (row == kProjectMessageRow) {
                const auto nul = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
                contents.m_fields.m_messageText.assign(bytes.begin(), nul);
            } else {
                if (!IsSafeLevelFileName(name)) {
                    contents.m_skipped.push_back("The file " + Quoted(file) +
                                                 " has a name that a level file cannot have.");
                    continue;
                }
                total += static_cast<std::int64_t>(bytes.size());
                if (total > std::numeric_limits<std::int32_t>::max())
                    throw CArchiveException(CArchiveException::badFormat,
                                            "The level's files would exceed 2 GB with " +
                                                Quoted(file) + ".");
                auto entry = std::make_unique<CTreeObject>(name, std::move(bytes), 0);
                entry->m_path = place.m_folder + name;
                InsertSorted(files, std::move(entry));
            }
        }
    }

    // The files found join the files of the level read (a text level brings none of its own).
    CTree& levelFiles = contents.m_level.m_levelFiles;
    for (auto& entry : files.m_entries)
        InsertSorted(levelFiles, std::move(entry));
    RecomputeOffsets(levelFiles);
    return contents;
}

CProjectExport WriteProject(const std::filesystem::path& projectFile, CDocumentFields& fields,
                            CQzlSections& level, const CGameResources& game, int product,
                            const CDataFolders& data)
{
    std::error_code error;
    const bool existed = std::filesystem::exists(projectFile, error);
    WriteFileAtomic(projectFile, {});
    const std::filesystem::path folder = ProjectFolder(projectFile);
    std::filesystem::create_directory(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        // Nothing of the project is left behind: a project file made here goes again.
        if (!existed)
            std::filesystem::remove(projectFile, error);
        throw CFileException("The project folder " + Quoted(folder) + " cannot be made.");
    }

    CProjectExport result;
    for (int row = 1; row < kProjectRowCount; ++row) {
        const std::filesystem::path sub = RowFolder(folder, kRows[row]);
        std::filesystem::create_directories(sub, error);
        if (!std::filesystem::is_directory(sub, error))
            result.m_skipped.push_back("The folder " + Quoted(sub) + " cannot be made.");
    }

    const auto write = [&](const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
        try {
            std::filesystem::create_directories(path.parent_path(), error);
            WriteFileAtomic(path, bytes);
        } catch (const CFileException& e) {
            result.m_skipped.push_back(std::string(e.what()));
        }
    };
    const auto text = [](const std::string& s) {
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(s.data()),
                                             s.size());
    };

    write(folder / "episode.qz", text(WriteEpisode(fields)));  // lower-cases the level file name
    if (IsSafeLevelFileName(fields.m_levelFileName)) {
        try {
            UpdateSectorBounds(level, true);
            write(folder / "qzl" / fields.m_levelFileName, text(WriteQzl(level, game, product)));
        } catch (const CArchiveException& e) {
            result.m_skipped.push_back("The level cannot be written: " + std::string(e.what()));
        }
    } else {
        result.m_skipped.push_back("The level file name \"" + fields.m_levelFileName +
                                   "\" is not a plain file name.");
    }
    write(folder / "misc" / "cogstrings.uni", text(fields.m_messageText));

    const std::pair<bool, const char*> cogs[] = {{fields.m_startCogOn != 0, kStartCogScript},
                                                 {fields.m_goalsCogOn != 0, kGoalsCogScript}};
    for (const auto& [on, name] : cogs) {
        if (!on)
            continue;
        try {
            write(folder / "cog" / name, data.Read(name));
        } catch (const CFileException& e) {
            result.m_skipped.push_back(std::string(e.what()));
        }
    }

    for (const auto& entry : level.m_levelFiles.m_entries) {
        if (!entry)
            continue;
        // A file added by name only goes to the folder of its kind, as when it is loaded.
        std::string relative = entry->m_path.empty() ? entry->m_name : entry->m_path;
        if (relative.find('\\') == std::string::npos)
            relative.insert(0, CTreeObject::FolderForFile(relative));
        const std::optional<std::filesystem::path> path = EntryRelativeHostPath(folder, relative);
        if (!path) {
            result.m_skipped.push_back("The level file \"" + entry->m_path +
                                       "\" has a path that leads outside the project folder.");
            continue;
        }
        static const std::vector<std::uint8_t> kNone;
        const std::vector<std::uint8_t>& bytes = entry->m_data ? *entry->m_data : kNone;
        const std::size_t size =
            std::min(bytes.size(), static_cast<std::size_t>(std::max(entry->m_size, 0)));
        write(*path, std::span(bytes.data(), size));
    }
    return result;
}
