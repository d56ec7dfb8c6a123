#pragma once
// The level's own files (cog scripts, models, materials, sounds, ...) as the Files in Level dialog
// edits them: the fixed tree of type folders, the folder a file is added to by its type, and the
// edits of the level's file index (add, replace, delete, rename). The index stays sorted by name
// (letter case ignored) and every entry's offset is the running sum of the sizes before it.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CTree;
class CTreeObject;

// One folder of the Files in Level tree: its label, its folder path and the index of its parent
// in LevelFileFolders() (-1 for the root).
struct CLevelFileFolder {
    const char* m_label;
    const char* m_path;
    int m_parent;
};

// The root and its fourteen folders in the order the tree is built: "Level Files" (the root),
// "3do", "key", "mat", "cog", "mat", "misc", "ai", "cmp", "par", "per", "pup", "snd", "spr", "wav".
std::span<const CLevelFileFolder> LevelFileFolders();
inline constexpr int kLevelFilesRoot = 0;
inline constexpr int kLevelFilesCog = 4;

// The indices of the entries of files that the folder lists, in index order: those whose path
// begins with the folder's path and whose name holds "." followed by its label (letter case
// ignored). The root and "misc" list nothing.
std::vector<int> LevelFilesInFolder(const CTree& files, const CLevelFileFolder& folder);

// The folder path a file of that name is added to: the folder of the first type its lower-cased
// name holds (".cog", ".3do", ".key", ".mat", ".ai", ".cmp", ".par", ".per", ".pup", ".snd",
// ".spr", ".wav"). A material goes to "3do\mat\" while the current folder is "3do\" or
// "3do\mat\", else to "mat\". Empty for a name of no known type.
std::string LevelFileFolderFor(std::string_view name, std::string_view currentFolder);

// The index in LevelFileFolders() of the folder that shows an entry of that path, -1 for none.
int LevelFileFolderOf(std::string_view path);

// The name a bitmap gets as a material: the file name with everything from its first "."
// replaced by ".mat".
std::string MaterialNameForBitmap(std::string_view fileName);

// The first entry whose path equals path, letter case ignored (archive paths are looked up
// without regard to case, so two such entries would be the same file in the game), -1 for none.
int FindLevelFileByPath(const CTree& files, std::string_view path);

// Walks the index from the start and gives each entry the sum of the sizes before it.
void RecomputeLevelFileOffsets(CTree& files);

// Inserts a new entry holding data with that name and path at its sorted place, after removing
// the entry of the same path (FindLevelFileByPath) when there is one; the offsets are
// recomputed. Gives the new entry's index. Throws CArchiveException when the files would exceed
// 2 GB; the index is then unchanged.
int AddLevelFile(CTree& files, std::string name, std::string path, std::vector<std::uint8_t> data);

// Removes entry index; the offsets are recomputed. An index out of range changes nothing.
void DeleteLevelFile(CTree& files, int index);

// Why RenameLevelFile refused, or none.
enum class ERenameResult {
    renamed,
    unchanged,  // the new name is empty or the name the entry has
    badName,    // holds a folder separator, "..", a drive letter or a control character
    exists,     // another entry already has the path the new name gives
};
// Gives entry index the new name and the path of the same folder with that name, and moves it to
// its sorted place (offsets recomputed); index becomes the entry's new index. Refused names
// change nothing.
ERenameResult RenameLevelFile(CTree& files, int& index, const std::string& newName);

// The bytes of a level file: exactly its size, checked against the bytes it holds. Throws
// CArchiveException naming the file when it holds fewer bytes than its size says or none.
std::span<const std::uint8_t> LevelFileBytes(const CTreeObject& entry);

// The text of a level file as the text editor gets it: its bytes up to the first NUL.
std::string LevelFileText(const CTreeObject& entry);

// The title of the text editor for a file of that name ("Cog Editor", "3DO Editor", "Snd
// Editor", "Ai Editor", "Par Editor", "Pup Editor", "Key Editor"); null for a type without one.
const char* LevelFileEditorTitle(std::string_view name);

// The save dialog's filter and default extension for a file of that name; both empty for a name
// of no known type.
struct CLevelFileSaveType {
    const char* m_filter;
    const char* m_extension;
};
CLevelFileSaveType LevelFileSaveType(std::string_view name);

// Whether a file name taken from a level or an archive is a plain name that may become a file
// inside a chosen folder: no "/" or "\", and taken as it is by EntryHostPath (not empty, "." or
// "..", no colon, no control character).
bool IsSafeLevelFileName(std::string_view name);

// Writes the bytes of entry into folder under its name, replacing a file of that name. Gives the
// path written. Throws CFileException for a name that IsSafeLevelFileName refuses (nothing is
// written) or a file that cannot be written, CArchiveException for an entry whose bytes do not
// match its size.
std::filesystem::path ExtractLevelFile(const CTreeObject& entry,
                                       const std::filesystem::path& folder);
