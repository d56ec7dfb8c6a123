#pragma once
// Writer of the game's text level file (.qzl). Writing brings the level into the shape the format
// needs, and those changes stay: each sector's surfaces become one contiguous run in sector order
// (cog surface values follow), every corner's u and v are rounded to thousandths and the
// texture-vertex table is rebuilt, and the resource lists are rebuilt from what the level uses.

#include "level/QzlSections.h"

#include <filesystem>
#include <string>

struct CGameResources;

// The game tag that the writer gives every text level.
inline constexpr const char* kQzlGameTag = "QZ";

// CQzlSections::Write: prepares level and returns the whole file's text. product 1 (Varnok) writes
// four intensities per corner and the extra thing column. Every other index is written as the
// number stored, also one out of range, except a sector's sound, which the file names: one not in
// the sound list is written as none. Throws CArchiveException, before changing anything, when a
// sector lists a surface that does not exist, or when the surfaces cannot be renumbered
// (SortSurfacesBySector). status, when given, receives what SortSurfacesBySector says for the
// status bar.
std::string WriteQzl(CQzlSections& level, const CGameResources& game, int product,
                     std::string* status = nullptr);

// CQzlSections::Save: WriteQzl into path through a temporary file and a rename; returns the status
// text of WriteQzl. Throws CFileException when the file cannot be written.
std::string SaveQzlFile(const std::filesystem::path& path, CQzlSections& level,
                        const CGameResources& game, int product);

// CQzlSections::SortSurfacesBySector: renumbers the surfaces so that the sectors own consecutive
// runs in sector order, and remaps the cogs' surface values to the new numbers. A surface listed
// more than once (by two sectors, or twice by one) belongs to its first listing; every later
// listing gets a copy of it (corners included, without the adjoin, which belongs to one surface).
// Surfaces that no sector lists keep their data and follow the sectors' runs in their old order.
// Sector entries must be valid surface indices.
// A cog with values whose script is found nowhere (not in the game, not among the level's files)
// cannot have its surface values renumbered. Then the surfaces keep their order when the file
// can hold it (each sector lists one run of consecutive surfaces, none listed twice), and the
// result is a sentence for the status bar that says so; when it cannot, CArchiveException is
// thrown and nothing is changed. Otherwise the result is empty.
std::string SortSurfacesBySector(CQzlSections& level, const CGameResources& game);

// CQzlSections::BuildTextureVertices: rounds every corner's u and v to thousandths and rebuilds the
// texture-vertex table (u in extra[3], v in extra[4]) as the ascending list of distinct (u, v)
// pairs, ordered by u, then v; every corner's texture-vertex index is set to its pair's position.
void BuildTextureVertices(CQzlSections& level);

// CQzlSections::FindTextureVertex: binary search of the texture-vertex table with exact float
// comparisons. 1 with position = the pair's index when (u, v) is present, else 0 with position =
// where it belongs. NaN sorts after every number.
int FindTextureVertex(const CQzlSections& level, float u, float v, int& position);
