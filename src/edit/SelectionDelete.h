#pragma once
// Deleting what is selected in the 3D view: the current vertex, surface, thing or sector. The
// level container's deletes (level/DeleteRenumber.h) do the index keeping; these decide what goes,
// what is unlinked first, what the selection becomes and what is rebuilt afterwards.
//
// Each delete refuses (false, with the level untouched) when there is nothing of its kind
// selected, and where it says so with its message through the host.

#include <optional>

class C3dView;

// What the Delete command removes.
enum class EDeleteTarget {
    Vertex,
    Surface,
    Thing,
    Sector,
};

// The first of the current vertex, surface, thing and sector that there is; nothing when none is.
[[nodiscard]] std::optional<EDeleteTarget> CurrentDeleteTarget(const C3dView& view);

// The question the Delete command asks before it removes target: "Do you want to delete the
// current vertex?", "... surface?", "... object?", "... sector?".
[[nodiscard]] const char* DeleteQuestion(EDeleteTarget target);

// Removes the world vertex of the current vertex from the whole level: every corner of every
// surface that uses it goes, so every surface sharing it loses its corner there. Refuses with
// "Cannot delete Vertex.\n\nSurfaces must have at least 3 vertices." when one of those surfaces
// would keep fewer than 3 corners. A surface that loses a corner before its start vertex keeps
// its start vertex on the same corner. Afterwards the current vertex is -1 (its surface stays
// recorded) and every sector holding a surface that lost a corner is rebuilt, the current sector
// among them.
bool DeleteSelectedVertex(C3dView& view);

// Removes the current surface; when it has an adjoin, the surface is unlinked first (its twin
// gets the plain solid look, both sectors are rebuilt) and the visibility pass runs afterwards.
// The current surface and the current vertex become -1 and the current sector is rebuilt.
bool DeleteSelectedSurface(C3dView& view);

// Removes the current thing and its model; the current thing becomes -1, a frame is drawn and
// the document is marked modified.
bool DeleteSelectedThing(C3dView& view);

// Removes the current sector with its surfaces (each adjoined one unlinked first, so its twin
// becomes a solid wall) and the things standing in it; the things of later sectors follow their
// sector's new index, the later sectors take their new positions as their numbers. Refuses with
// "Cannot delete Sector.\n\nThere must be at least 1 sector." when it is the only sector. The
// document's grid goes off and its edit mode to 0; the current surface, vertex and sector become
// -1, the current thing follows its record (-1 when it went with the sector). The sectors behind
// it and those of the former twins are rebuilt, then the visibility pass runs.
bool DeleteSelectedSector(C3dView& view);

// Removes the things standing in sector with their models; the things of later sectors take
// their sector's index after sector's removal (one lower), the current thing follows its record
// (-1 when it went). The sector itself stays: its caller removes it next.
void DeleteSectorThings(C3dView& view, int sector);

// The delete of target.
bool DeleteSelected(C3dView& view, EDeleteTarget target);

// ---- The Delete command ("&Delete Ctrl+D, Del") ----

// Enabled when a sector, a surface or a thing is current.
[[nodiscard]] bool CanDelete(const C3dView& view);

// Asks target's question (while "Warning" is on; any answer but Yes ends the command), then
// deletes target inside an undo step. True when something was deleted. The Delete command passes
// CurrentDeleteTarget; Cut passes what its Copy took.
bool RunDeleteCommand(C3dView& view, EDeleteTarget target);
// The Delete command: RunDeleteCommand with CurrentDeleteTarget; false when nothing is selected.
bool RunDeleteCommand(C3dView& view);
