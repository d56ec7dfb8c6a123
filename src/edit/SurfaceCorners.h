#pragma once
// Corner insertion: putting a corner into a surface's corner list at the place its position
// asks for, as the sector splitters and the builders do when they assemble a surface from loose
// points.

#include "level/QzlVertex.h"

class CQzlSections;
class CQzlSurface;

// Inserts corner into surface at its place. corner counts as one of the level's corners already
// (the use count of its world vertex includes it).
// - A corner of surface closer than 0.0001 to corner's position stays where it is with its own
//   world vertex, texture vertex, u, v, intensities and spare index, and takes corner's mark;
//   the use count of corner's world vertex drops by one, since corner names it no more.
//   Returns false.
// - Otherwise corner goes into the first edge A-B (corner i to i+1, the closing edge is not
//   tried) whose line it lies on between A and B, or that has it on its outer side (seen along
//   the surface's normal); appended when there is none. When the corner after it and the one
//   after that then turn the wrong way around it, the corners from the one after it to the end
//   of the list are reversed. Returns true.
// A corner naming no world vertex of the level is not inserted (false).
bool InsertSurfaceVertex(CQzlSections& level, CQzlSurface& surface, CQzlVertex corner);

// Inserts a copy of corner (unmarked, spare index -1) with InsertSurfaceVertex; the use count of
// its world vertex goes up by one when the copy was added, and stays when it met a corner at its
// position. Returns whether it was added.
bool InsertVertexCopy(CQzlSections& level, CQzlSurface& surface, const CQzlVertex& corner);
