#pragma once
// Clean Up: the Errors window's fixed set of automatic repairs of the level.
//
// In order:
// - indices naming no list entry are taken as none: a surface's adjoin becomes -1, its material
//   -1, a sector's colour map 0, its sound -1 with volume 0; a sector's surface entry or a corner
//   naming no record is dropped;
// - sectors from the last to the first, each one's surfaces from the last to the first: a surface
//   with an illegal link (its adjoin's mirror owned by no surface) is deleted; a corner that
//   repeats an earlier corner of its surface (the same world vertex, or one at exactly the same
//   position) is removed, its world vertex losing the use; a surface left with fewer than 3
//   corners is unlinked and deleted; then a sector left with fewer than 4 surfaces is deleted.
//   Without the game's archive the two surface deletions are skipped;
// - the adjoins are rebuilt: one pair per valid link (a surface and the first other surface owning
//   its adjoin's mirror, the mirror pointing back), kept in their order; every other adjoin goes
//   and its surface gets -1; the materials no surface uses are dropped;
// - empty sound names are removed, their sectors going without a sound, the later ones renumbered;
// - every thing takes the first sector holding its position; a thing in no sector is deleted;
// - the cogs' values beyond their scripts' parameters are dropped; the current surface becomes -1.

class C3dView;

// Runs the repairs on view's level (the caller holds the undo step and rebuilds the render data
// afterwards). Returns true when the level changed.
bool CleanUpLevel(C3dView& view);
