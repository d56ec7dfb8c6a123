#pragma once
// Split Surface: one flat polygon of a sector becomes two polygons of the same sector, divided
// along a straight line in its plane. The line is given
// - grid on: by the picked grid nodes 0 and 1 (the line through them, perpendicular to the
//   surface); with three or more nodes and the split-sector switch off the surface is cut to the
//   nodes' polygon instead (CutSurfaceToPolygon, edit/CutToPolygon.h);
// - grid off: by the two corners of the surface the user marked.
// An adjoined surface's twin is split along the same points and the four pieces are paired by two
// adjoins each, so that every piece of the portal owns exactly one adjoin of a pair.

class C3dView;

// Splits the current surface of the current sector. The surface keeps its index with the corners
// from the second split point on, wrapping round to the first; the new piece, the level's new last
// surface (appended to the sector's list), holds the corners from the first split point to the
// second, and copies every other field of the surface. An edge A-B counts as crossed at
// t = -0.00001 to 1.00001 along it; within 0.0001 of either end (in t), or at a point within
// 0.0001 of A or B, that corner is the split point; elsewhere a corner is inserted at the crossing
// (its world vertex reused within 0.0001; u and v interpolated and rounded to 0.001, intensities
// interpolated). Every surface's plane and box and every sector's bounds are recomputed; the
// current vertex is -1 and no corner of the surface stays marked. With rebuild the current sector
// and, for an adjoined surface, its twin's sector are rebuilt.
//
// Refused (false, no message, the level as it was; the corners' marks are cleared once the line
// was accepted): no current sector or surface, fewer than two grid nodes with the grid on, a line
// that runs along an edge of the surface over one of the two or that misses it, fewer than two
// marked corners with the grid off, a piece of fewer than 3 corners, or an adjoined surface whose
// twin does not split into pieces matching its own. The polygon cut returns true whatever it cut.
bool SplitSurface(C3dView& view, bool rebuild);

// Whether the current surface can be split (the Split command's update rule in surface mode).
// Grid on: at least two grid nodes are picked and the split-sector switch is off. Grid off: exactly
// two corners of the current surface are marked and neither the piece between them nor the whole
// surface has a zero area along its normal. False without a current surface.
bool CanSplitSurface(const C3dView& view);
