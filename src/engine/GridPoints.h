#pragma once
// Grid-point markers: the grid points the user can pick in grid mode, shown as small marker cubes
// in the grid colour ("ColorGrid") with vertex number -1.
//
// The layout of the current sector's markers follows the document's two switches: with "Surface
// Only" and "Edges Only" both off the grid fills the sector (the volume grid); otherwise it lies on
// each surface of the sector. On a surface, "Edges Only" divides every edge evenly; else the
// "Alignment" setting chooses the grid: -1 an axis grid in the surface's plane, -2 the same grid
// shifted so that a point falls on the surface's centroid, 0 or more a grid that follows that edge
// of each surface (the last edge when the surface has fewer).
//
// A layout that would probe more than kMaxGridProbes points (a tiny "Grid" over a large sector or
// surface) is refused: it adds no marker and says so in the status bar.

#include "math/Vector3.h"

#include <string_view>

class C3dView;
class CQzlSections;

inline constexpr double kMaxGridProbes = 1000000.0;
// Status text of a refused layout.
inline constexpr std::string_view kGridTooFineText =
    "Grid too fine: more than 1000000 grid points. Choose a larger grid size.";

// Deletes every marker, then places the markers of the current sector (see above). Returns false
// when the layout was refused (for any one of the sector's surfaces: the sector then has no
// marker); true otherwise, also when there is no current sector.
bool BuildGridPoints(C3dView& view);

// Adds the grid markers of one surface (see above); the markers already there stay. Points are
// kept when they lie inside the surface's polygon or within 0.001 of its edges (the edge division
// keeps every point). Returns false when the layout was refused; true otherwise, also for a
// surface out of range or without area, which gets no marker.
bool AddSurfaceGridMarkers(C3dView& view, int surface);

// The area-weighted centre of the surface's polygon: a fan from corner 0, each triangle weighted
// by the length of its edges' cross product. A polygon without area (all corners on a line or on
// one point) gives the average of its corners; a surface without corners, or out of range, gives
// (0, 0, 0).
[[nodiscard]] CVector3 SurfaceCentroid(const CQzlSections& level, int surface);
