#include "level/LevelFiles.h"

#include "framework/Exceptions.h"
#include "framework/FileIO.h"
#include "framework/StringUtil.h"
#include "resources/EntryHostPath.h"
#include "resources/Tree.h"

#include <array>
#include <cstring>
#include <limits>
#include <utility>

namespace {

constexpr std::array<CLevelFileFolder, 15> kFolders{{
    {"Level Files", "Level Files", -1},
    {"3do", "3do\\", 0},
    {"key", "3do\\key\\", 1},
    {"mat", "3do\\mat\\", 1},
    {"cog", "cog\\", 0},
    {"mat", "mat\\", 0},
    {"misc", "misc\\", 0},
    {"ai", "misc\\ai\\", 6},
    {"cmp", "misc\\cmp\\", 6},
    {"par", "misc\\par\\", 6},
    {"per", "misc\\per\\", 6},
    {"pup", "misc\\pup\\", 6},
    {"snd", "misc\\snd\\", 6},
    {"spr", "misc\\spr\\", 6},
    {"wav", "sound\\", 0},
}};

struct TypeRule {
    const char* type;
    const char* folder;
};

// Tested in this order; the first type the lower-cased name holds wins. A material's folder
// depends on the folder selected (LevelFileFolderFor).
constexpr TypeRule kAddRules[] = {
    {".cog", "cog\\"},       {".3do", "3do\\"},       {".key", "3do\\key\\"},
    {".mat", "mat\\"},       {".ai", "misc\\ai\\"},   {".cmp", "misc\\cmp\\"},
    {".par", "misc\\par\\"}, {".per", "misc\\per\\"}, {".pup", "misc\\pup\\"},
    {".snd", "misc\\snd\\"}, {".spr", "misc\\spr\\"}, {".wav", "sound\\"},
};

struct EditorRule {
    const char* type;
    const char* title;
};

constexpr EditorRule kEditorRules[] = {
    {".cog", "Cog Editor"}, {".3do", "3DO Editor"}, {".snd", "Snd Editor"}, {".ai", "Ai Editor"},
    {".par", "Par Editor"}, {".pup", "Pup Editor"}, {".key", "Key Editor"},
};

struct SaveRule {
    const char* type;
    CLevelFileSaveType save;
};

constexpr SaveRule kSaveRules[] = {
    {".cog", {"COG Files (*.cog)|*.cog||", "cog"}}, {".3do", {"3DO Files (*.3do)|*.3do||", "3do"}},
    {".mat", {"MAT Files (*.mat)|*.mat||", "mat"}}, {".wav", {"WAV Files (*.wav)|*.wav||", "wav"}},
    {".ai", {"AI Files (*.ai)|*.ai||", "ai"}},      {".cmp", {"CMP Files (*.cmp)|*.cmp||", "cmp"}},
    {".par", {"PAR Files (*.par)|*.par||", "par"}}, {".per", {"PER Files (*.per)|*.per||", "per"}},
    {".pup", {"PUP Files (*.pup)|*.pup||", "pup"}}, {".snd", {"SND Files (*.snd)|*.snd||", "snd"}},
    {".spr", {"SPR Files (*.spr)|*.spr||", "spr"}}, {".key", {"KEY Files (*.key)|*.key||", "key"}},
};

bool Holds(std::string_view lowerName, const char* type)
{
    return lowerName.find(type) != std::string_view::npos;
}

void CheckTotalSize(const CTree& files, std::size_t added, const std::string& path)
{
    std::int64_t total = static_cast<std::int64_t>(added);
    for (const auto& entry : files.m_entries)
        total += entry->m_size;
    if (total > std::numeric_limits<std::int32_t>::max())
        throw CArchiveException(CArchiveException::badFormat,
                                "The level's files would exceed 2 GB with \"" + path + "\".");
}

int InsertSorted(CTree& files, std::unique_ptr<CTreeObject> entry)
{
    int position = 0;
    files.Find(entry->m_name, position);
    files.m_entries.insert(files.m_entries.begin() + position, std::move(entry));
    RecomputeLevelFileOffsets(files);
    return position;
}

}  // namespace

std::span<const CLevelFileFolder> LevelFileFolders()
{
    return kFolders;
}

std::vector<int> LevelFilesInFolder(const CTree& files, const CLevelFileFolder& folder)
{
    std::vector<int> listed;
    if (folder.m_parent < 0)
        return listed;
    const std::string path = ToLowerAscii(folder.m_path);
    const std::string type = "." + ToLowerAscii(folder.m_label);
    for (std::size_t i = 0; i < files.m_entries.size(); ++i) {
        const CTreeObject& entry = *files.m_entries[i];
        if (StartsWithNoCase(entry.m_path, path) &&
            ToLowerAscii(entry.m_name).find(type) != std::string::npos)
            listed.push_back(static_cast<int>(i));
    }
    return listed;
}

std::string LevelFileFolderFor(std::string_view name, std::string_view currentFolder)
{
    const std::string lower = ToLowerAscii(name);
    for (const TypeRule& rule : kAddRules) {
        if (!Holds(lower, rule.type))
            continue;
        if (std::strcmp(rule.type, ".mat") == 0 &&
            (currentFolder == "3do\\" || currentFolder == "3do\\mat\\"))
            return "3do\\mat\\";
        return rule.folder;
    }
    return {};
}

int LevelFileFolderOf(std::string_view path)
{
    const std::string lower = ToLowerAscii(path);
    struct Choice {
        const char* type;
        int folder;
    };
    // The first match wins; a material under "3do\mat\" shows in that folder.
    static constexpr Choice kChoices[] = {
        {".cog", 4}, {".3do", 1},  {".mat", -2}, {".wav", 14}, {".ai", 7},   {".cmp", 8},
        {".par", 9}, {".per", 10}, {".pup", 11}, {".snd", 12}, {".spr", 13}, {".key", 2},
    };
    for (const Choice& choice : kChoices) {
        if (!Holds(lower, choice.type))
            continue;
        if (choice.folder == -2)
            return Holds(lower, "3do\\mat\\") ? 3 : 5;
        return choice.folder;
    }
    return -1;
}

std::string MaterialNameForBitmap(std::string_view fileName)
{
    const std::size_t dot = fileName.find('.');
    return std::string(fileName.substr(0, dot)) + ".mat";
}

int FindLevelFileByPath(const CTree& files, std::string_view path)
{
    for (std::size_t i = 0; i < files.m_entries.size(); ++i)
        if (files.m_entries[i] && EqualsNoCase(files.m_entries[i]->m_path, path))
            return static_cast<int>(i);
    return -1;
}

void RecomputeLevelFileOffsets(CTree& files)
{
    std::int32_t offset = 0;
    for (const auto& entry : files.m_entries) {
        if (!entry)
            continue;
        entry->m_offset = offset;
        offset += entry->m_size;
    }
}

int AddLevelFile(CTree& files, std::string name, std::string path, std::vector<std::uint8_t> data)
{
    const int existing = FindLevelFileByPath(files, path);
    const std::size_t replaced =
        existing >= 0
            ? static_cast<std::size_t>(files.m_entries[static_cast<std::size_t>(existing)]->m_size)
            : 0;
    CheckTotalSize(files, data.size() > replaced ? data.size() - replaced : 0, path);
    auto entry = std::make_unique<CTreeObject>(std::move(name), std::move(data), 0);
    entry->m_path = std::move(path);
    if (existing >= 0)
        files.m_entries.erase(files.m_entries.begin() + existing);
    return InsertSorted(files, std::move(entry));
}

void DeleteLevelFile(CTree& files, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= files.m_entries.size())
        return;
    files.m_entries.erase(files.m_entries.begin() + index);
    RecomputeLevelFileOffsets(files);
}

ERenameResult RenameLevelFile(CTree& files, int& index, const std::string& newName)
{
    if (index < 0 || static_cast<std::size_t>(index) >= files.m_entries.size())
        return ERenameResult::unchanged;
    CTreeObject& entry = *files.m_entries[static_cast<std::size_t>(index)];
    if (newName.empty() || newName == entry.m_name)
        return ERenameResult::unchanged;
    if (!IsSafeLevelFileName(newName))
        return ERenameResult::badName;
    const std::size_t slash = entry.m_path.rfind('\\');
    const std::string folder =
        slash == std::string::npos ? std::string() : entry.m_path.substr(0, slash + 1);
    const std::string path = folder + newName;
    const int same = FindLevelFileByPath(files, path);
    if (same >= 0 && same != index)
        return ERenameResult::exists;

    std::unique_ptr<CTreeObject> moved =
        std::move(files.m_entries[static_cast<std::size_t>(index)]);
    files.m_entries.erase(files.m_entries.begin() + index);
    moved->m_name = newName;
    moved->m_path = path;
    index = InsertSorted(files, std::move(moved));
    return ERenameResult::renamed;
}

std::span<const std::uint8_t> LevelFileBytes(const CTreeObject& entry)
{
    const std::size_t held = entry.m_data ? entry.m_data->size() : 0;
    if (entry.m_size < 0 || static_cast<std::size_t>(entry.m_size) > held)
        throw CArchiveException(CArchiveException::endOfFile,
                                "The level file \"" + entry.m_path + "\" claims " +
                                    std::to_string(entry.m_size) + " bytes but holds " +
                                    std::to_string(held) + ".");
    if (entry.m_size == 0)
        return {};
    return std::span<const std::uint8_t>(entry.m_data->data(),
                                         static_cast<std::size_t>(entry.m_size));
}

std::string LevelFileText(const CTreeObject& entry)
{
    const std::span<const std::uint8_t> bytes = LevelFileBytes(entry);
    std::string text;
    for (const std::uint8_t byte : bytes) {
        if (byte == 0)
            break;
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

const char* LevelFileEditorTitle(std::string_view name)
{
    const std::string lower = ToLowerAscii(name);
    for (const EditorRule& rule : kEditorRules)
        if (Holds(lower, rule.type))
            return rule.title;
    return nullptr;
}

CLevelFileSaveType LevelFileSaveType(std::string_view name)
{
    const std::string lower = ToLowerAscii(name);
    for (const SaveRule& rule : kSaveRules)
        if (Holds(lower, rule.type))
            return rule.save;
    return {"", ""};
}

bool IsSafeLevelFileName(std::string_view name)
{
    // A plain name (no folder part) that the host path rule of archive entries takes as it is.
    return name.find_first_of("/\\") == std::string_view::npos &&
           EntryHostPath(std::filesystem::path("."), name).has_value();
}

std::filesystem::path ExtractLevelFile(const CTreeObject& entry,
                                       const std::filesystem::path& folder)
{
    if (!IsSafeLevelFileName(entry.m_name))
        throw CFileException("The file name \"" + entry.m_name +
                             "\" cannot be written: it would leave the folder.");
    const std::span<const std::uint8_t> bytes = LevelFileBytes(entry);
    const std::filesystem::path path = *EntryHostPath(folder, entry.m_name);
    WriteFileAtomic(path, bytes);
    return path;
}
