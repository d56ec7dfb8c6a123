#pragma once
// The sector library: every sector carries a group name ("Default" for new sectors), and the
// library works on whole groups. It renames a group, deletes the sectors of a group, saves a
// group into a library file (the editor's archive form holding only that group) and loads a
// group of a library file into the level, in place of the level's group of that name.
//
// Group names are compared without regard to letter case throughout.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class C3dView;
class CQzlSections;
struct CDocumentFields;
struct CGameResources;

// The distinct non-empty group names of level's sectors in sector order, each in the spelling of
// its first sector (letter case ignored when telling them apart).
[[nodiscard]] std::vector<std::string> SectorGroupNames(const CQzlSections& level);

// Every sector whose group name equals oldName gets newName; the current sector, when there is
// one, is rebuilt. False, with nothing changed, when no sector is in the group.
bool RenameSectorGroup(C3dView& view, std::string_view oldName, std::string_view newName);

// Deletes the sectors of group name from the last to the first, under the wait cursor with the
// progress window "Deleting Sectors By Group Name..." (a step per sector): each one's surfaces
// (an adjoin pair of a surface goes with it, so a neighbour outside the group keeps its portal
// look without an adjoin, ready for a group loaded in its place), the things standing in it (the
// things of later sectors follow their sector's new index) and the sector itself. The level's
// last sector is never deleted, even when it is in the group. The document's grid goes off and
// its edit mode to 0; the sectors are renumbered, with rebuild every sector is rebuilt, the
// current sector, surface and vertex become -1 (the current thing follows its record), the
// visibility pass runs and a frame is drawn. The game's archive is not needed. Returns the number
// of sectors deleted.
int DeleteSectorGroup(C3dView& view, std::string_view name, bool rebuild);

// Loads group name of source (a level read from a library file) into the level: the level's group
// of that name is deleted first (DeleteSectorGroup without rebuilding), the adjoins of both levels
// are linked, the group is copied (CopySectorGroup), the resource lists and all render data are
// built again (the camera stays), and every loaded surface without flags and without an adjoin
// is linked to a coincident surface of the level when there is one (LinkSurface). The visibility
// pass runs; the current sector and surface are -1 afterwards. False, with the level as it was,
// when source cannot be copied from (the problem text is shown) or when the load changed nothing
// (the group is in neither level).
bool LoadSectorGroup(C3dView& view, std::string_view name, CQzlSections& source);

// ---- Library files ----

// Writes group name of level, with everything it uses, as a library file at path (the archive
// form with fields, through a temporary file and a rename, so a failed write leaves what was
// there). Throws CFileException or CArchiveException with the message for the user; a group that
// cannot be copied throws CArchiveException with the copy's problem.
void SaveLibraryFile(const std::filesystem::path& path, const CQzlSections& level,
                     std::string_view name, const CDocumentFields& fields,
                     const CGameResources& game);

// The level of the library file at path (either form, told by its content; product 1 reads the
// expansion's text). Throws CFileException or CArchiveException with the message for the user.
[[nodiscard]] CQzlSections ReadLibraryFile(const std::filesystem::path& path, int product);

// ---- The Library commands ----

// Each runs its operation inside an undo step; an operation that changes nothing leaves no step
// and the document's modified flag as it was. True when the level changed.
bool RunRenameGroupCommand(C3dView& view, std::string_view oldName, std::string_view newName);
bool RunDeleteGroupCommand(C3dView& view, std::string_view name);
bool RunLoadGroupCommand(C3dView& view, std::string_view name, CQzlSections& source);

// The group name the Rename and Delete dialogs start with: the current sector's, else empty.
[[nodiscard]] std::string CurrentGroupName(const C3dView& view);
