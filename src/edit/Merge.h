#pragma once
// Merging: the current surface with a neighbour of its sector that shares an edge with it and
// faces the same way (one polygon), and the current sector with a sector it adjoins (one sector,
// the portals between them gone). The Merge dialog lists the partners; the commands run the
// merges on the partner chosen.
//
// Both merges work with or without the game's archive: the deletes renumber the cogs' values
// through the scripts they find (level/DeleteRenumber.h).

#include <vector>

class C3dView;

// What the Merge dialog merges.
enum class EMergeMode {
    Sectors = 0,
    Surfaces = 1,
};

// The message shown when the dialog has no partner to offer: "Cannot merge surfaces, since no
// shared surface edge exist." or "Cannot merge sectors, since no adjoined surface exist.".
[[nodiscard]] const char* MergeRefusal(EMergeMode mode);

// The partners the dialog lists, in its order.
// Surfaces: the surfaces of the current sector that share an edge with the current surface (end
// points within 0.002, normals within 0.01; adjoined ones too), one entry per shared edge, in
// ascending order with duplicates kept.
// Sectors: after the adjoins' other sides are brought up to date, the sector across each adjoin of
// the current sector's surfaces, in surface-list order: a sector joined by two pairs is listed
// twice.
// Empty without a current surface (or sector).
[[nodiscard]] std::vector<int> MergeCandidates(C3dView& view, EMergeMode mode);

// Merges surfaces first and second of the current sector: S1, the smaller index, keeps its
// record and look and takes S2's corners, S2 goes. The shared edge is the first edge of S1
// (corner i to i+1) that one of S2's edges (corner j back to j-1, j from the last down) runs back
// along, both ends within 0.01, the normals within 0.01 of each other. S2's corners after j up to
// the one before j-1 go into S1 after corner i, their u and v moved by S1's corner i less S2's
// corner j; S1's offsets are brought back (NormalizeTextureOffsets) and its start vertex stays on
// its corner. When both are adjoined into the same sector, both pairs are unlinked, the twins are
// merged in their sector alike, and the merged surface is linked to the merged twin afterwards.
// The two end points of the shared edge, the one on the higher world vertex first, then leave
// every surface that uses them when they lie on straight edges everywhere (DeleteSelectedVertex).
// Afterwards S1 is the current surface and the surface of the current vertex, the current vertex
// is -1 and the current sector is rebuilt.
// Refused (false, nothing changed, no message): no current sector, indices not two different
// surfaces of it, one adjoined and the other not, adjoins into different sectors, no shared edge,
// or adjoined surfaces whose twins share no edge.
bool MergeSurfaces(C3dView& view, int first, int second);

// Merges sectors first and second: A, the smaller index, keeps its record and takes B's surfaces
// and things; B goes. Each adjoin pair between them (A's surfaces from the last, each with the
// last of B's surfaces on its mirror) is unlinked with its sectors rebuilt and both surfaces are
// deleted. B's surfaces then follow A's in A's list, B's things stand in A, and B is deleted as
// the Delete command deletes a sector (DeleteSelectedSector: later sectors move down, the grid
// goes off, the visibility pass runs). A ends current, with no current surface, and rebuilt.
// Refused (false, nothing changed, no message) unless first and second are two different
// sectors joined by at least one adjoin pair: a merge of sectors that do not meet would make one
// sector of two separate rooms.
bool MergeSectors(C3dView& view, int first, int second);

// ---- The "Merge Surfaces..." and "Merge Sectors..." commands ----

// Merge Surfaces: enabled when a sector and a surface are current. Merge Sectors: enabled when a
// sector is current.
[[nodiscard]] bool CanMergeSurfaces(const C3dView& view);
[[nodiscard]] bool CanMergeSectors(const C3dView& view);

// The merge of the current surface (or sector) with chosen, the number taken from the dialog,
// inside an undo step. False, with the undo step dropped, when the command is disabled or the
// merge was refused.
bool RunMergeCommand(C3dView& view, EMergeMode mode, int chosen);
