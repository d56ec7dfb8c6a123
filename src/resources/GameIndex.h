#pragma once
// Product set-up, the part that reads archives: which files make up each product's game, finding
// them in an install folder, and indexing the entries of the game's archives by kind. The
// application runs these when a product is chosen; tests run them over the synthetic game.
//
// Host paths here are relative paths with forward slashes, joined with std::filesystem. Paths
// inside an archive keep their backslashes. The game was made for a file system that ignores
// letter case, so names on disk are matched without regard to case (FindPathNoCase).

#include <filesystem>
#include <string_view>

class GameArchive;
struct CGameArchives;

// The files of one product. Archive paths are relative to the game's install folder, the CD copy
// to the game's source folder, the template file to the editor's program folder.
struct CProductFiles {
    const char* m_mainArchive;    // "resource/res2.gob", "resource/qzvres.goo"
    const char* m_cdMainArchive;  // the main archive's copy on the game's CD
    const char* m_soundArchive;   // first choice: "resource/res1hi.gob", "resource/qzvsndhi.goo"
    const char* m_soundArchive2;  // second choice: "resource/res1low.gob", "resource/qzvsndlo.goo"
    const char* m_templateFile;   // "korvath.dat", "varnok.dat"
};

// The files of "Product" 0 (Korvath) or 1 (Varnok); nullptr for any other value.
const CProductFiles* GetProductFiles(int product);

// The entry that relative (components separated by '/') names under folder, each component
// matched without regard to ASCII letter case. Where a folder holds several spellings of a name,
// the exact one is tried first, then the others in byte order, and the first that leads to a
// whole match is taken. Empty when there is none, or when relative is empty, absolute or holds a
// ".." component.
std::filesystem::path FindPathNoCase(const std::filesystem::path& folder,
                                     std::string_view relative);

// Rebuilds the six indexes of the main archive (materials, colour maps, sound classes, 3do, cogs,
// puppets) from archive's directory and makes archive the game archive of resources; the archive
// must outlive that use. Each entry's path is lower-cased and the first of these tests it passes
// chooses its index (substring tests anywhere in the path):
//   ".mat" and no "3do"  -> materials        ".snd" -> sound classes     "cog" -> cogs
//   ".cmp" and no "3do"  -> colour maps      "3do"  -> 3do               "pup" -> puppets
// Entries that pass none are not indexed. An entry goes in at the place CTree::Find gives for its
// name, so entries of the same name from different folders are all kept, next to each other.
// Throws CArchiveException (badFormat) for an entry whose offset or size an index cannot hold;
// resources is then unchanged.
void IndexMainArchive(CGameArchives& resources, const GameArchive& archive);

// Rebuilds the sound index from the entries of archive whose path contains ".wav" (lower-cased
// as above) and makes archive the sound archive of resources; the archive must outlive that use.
void IndexSoundArchive(CGameArchives& resources, const GameArchive& archive);
