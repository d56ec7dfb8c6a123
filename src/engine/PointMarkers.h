#pragma once
// Point markers of the 3D view: small solid cubes that mark grid points and the corners of the
// current surface. The engine keeps them in one array sorted by their rounded position (x first,
// then y, then z, exact float comparison), so that a point is found by binary search and never
// marked twice. Which points are marked and in which colour is the callers' business.

#include "engine/3doMesh.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

struct CSettings;

// The engine's marker array: meshes without faces whose marker fields are set.
using CPointMarkerArray = std::vector<std::unique_ptr<C3doMesh>>;

// The 36 triangle indices of a cube into CubeCorners(), two triangles (a, b, c and a, c, d) per
// cube face. The ghost model takes its faces from the same table.
inline constexpr std::array<std::uint16_t, 36> kCubeIndices{0, 3, 2, 0, 2, 1, 3, 7, 6, 3, 6, 2,
                                                            4, 5, 6, 4, 6, 7, 0, 1, 5, 0, 5, 4,
                                                            0, 4, 7, 0, 7, 3, 2, 6, 5, 2, 5, 1};

// 1 and the index of the marker whose point is exactly (x, y, z); otherwise 0 and the index at
// which a marker of that point would keep the array sorted.
int FindPointMarker(const CPointMarkerArray& markers, float x, float y, float z, int& index);

// Adds a marker at (x, y, z) rounded to 1/10000, with color (0xAARRGGBB) and vertexNumber (-1
// for a grid point, else the corner's position in the current surface's corner list), unless
// that rounded point is already marked, or, for a grid point, the marker just before or at its
// place in the sort order lies closer than half the "Grid" setting to the unrounded point. The
// cube's half-size is "VertexScaling", a quarter of it when enlargedView is set.
void AddPointMarker(CPointMarkerArray& markers, float x, float y, float z, std::uint32_t color,
                    std::int32_t vertexNumber, const CSettings& settings, bool enlargedView);
