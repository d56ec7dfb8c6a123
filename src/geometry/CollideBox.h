#pragma once
// The collide box of a sector: an axis-aligned box inside the sector that the game uses for fast
// collision tests. It is grown from the sector's centre until its faces touch the sector's
// surfaces; a search that narrows the box's x extent keeps the box of largest volume.
//
// It reads the sector's surfaces (their corners, normals and planes), its bounding box and its
// centre, so those must be current (UpdateSectorBounds).

#include "math/BoundingBox.h"

class CQzlSections;

// Sector flag bit: the sector has a collide box (the text writer emits it).
inline constexpr unsigned kSectorHasCollideBox = 0x1000u;

// The collide box of sector; the caller stores it in the sector. When no box can be made the
// sector's flag bit kSectorHasCollideBox is cleared and a fallback comes back: the sector's
// bounding box for a sector with fewer than 6 surfaces, for one with an edge that no other of its
// surfaces shares (not closed), or for one that names a surface or world vertex that does not
// exist; the box of the last complete trial when a corner of the growing box meets no surface.
// A sector index out of range gives a default box and changes nothing.
CBoundingBox ComputeCollideBox(CQzlSections& level, int sector);
