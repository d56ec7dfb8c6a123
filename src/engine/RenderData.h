#pragma once
// The render data of the 3D view, kept inside the level records: each surface's plane, box,
// texture, tiling and lit vertices (one per corner, in reverse corner order, with the corner's
// colour and its u and v divided by the texture size), each sector's index, box, centre and
// radius, each adjoin's distance, the world vertices' use counts and the level box. Also the
// per-corner lighting, the grid snapping of points and the area of a surface.
//
// Everything here runs with or without the game's archive and with or without a render device:
// only the textures need the archive (without it every surface keeps a null texture and the
// texture size 768.0), and uploading them is the device's business.

#include "math/Vector3.h"

#include <cstdint>
#include <span>

class C3dView;
class CQzlSector;

// Texture size of a surface without a texture.
inline constexpr float kNoTextureSize = 768.0f;

// The nearest multiple of the "Grid" setting g, halves away from zero: v moved by g/2 away from
// zero, divided by g and truncated toward zero, times g; a result below 0.0001 in magnitude is 0.
// A grid that is not positive leaves v as it is.
[[nodiscard]] float SnapValue(const C3dView& view, float v);
// SnapValue of each of x, y and z.
void SnapPoint(const C3dView& view, CVector3& out, float x, float y, float z);

// |(sum over the edges of the cross product of their end points) . normal| x 0.5; 0 for a
// surface out of range.
[[nodiscard]] float SurfaceArea(const C3dView& view, int surface);

// The lit colour 0xAARRGGBB of a corner: its light intensity (tinted by the sector's tint, x 1.9,
// only when the intensity is exactly 1.0; the three coloured intensities in Varnok) plus the
// surface's and the sector's extra light, at most 1.0; full bright when the document's lighting
// flag is 0 or the surface's light mode is 0, black in light mode 1. A translucent adjoined
// surface (face flag 2) gets alpha 0x7F and 0.3 of each channel, others alpha 0xFF. Channels
// below 0 count as 0. Indices out of range give 0xFFFFFFFF.
[[nodiscard]] std::uint32_t VertexColor(const C3dView& view, int sector, int surface, int corner);

// Gives sector a new render stamp (m_renderVersion), never given before in this program: the
// frame routine uploads the sector's vertex buffer again. Everything that changes the render
// vertices of a sector's surfaces calls it; the builders below do.
void MarkSectorChanged(CQzlSector& sector);

// Builds one sector's render data: for each of its surfaces the plane, tiling, texture (through
// the engine's texture cache and the sector's colour map, when the game's archive is open), box
// and lit vertices, rounding each world vertex to 5 decimals in the level and adding 1 to its use
// count; then the sector's box, centre and radius and the distance of each of its adjoins.
// Surface and world-vertex indices out of range are passed over.
void BuildSectorSurfaces(C3dView& view, int sector);

// Builds everything after a load, undo or redo: clears the thing models, textures and markers,
// recounts the use counts, compacts the material list (not after an undo or redo, whose level must
// stay exactly as the snapshot held it), builds every sector and the level box,
// runs the visibility pass (not for Resources) and makes every thing's model. With resetCamera the
// scroll positions go to 0 and the camera goes to the player start (a "walkplayer" thing) or else
// to the middle of the level looking along +z; the saved camera follows. The focus points always
// become the camera position. Progress: "Parsing Sector Definitions..." (a step per sector), then
// "Parsing 3DO Definitions..." (a step per thing), under the wait cursor. The status messages of
// the visibility pass are cleared at the end.
enum class ERebuildAll {
    Load,     // a level read from a file
    Restore,  // a level given back by undo or redo: its material list is kept as it is
    // The game's files changed under a level that did not: the material list is kept and the
    // visibility pass is not run again (the visible sets are the level's own and still hold).
    Resources,
};
void RebuildAll(C3dView& view, bool resetCamera, ERebuildAll kind = ERebuildAll::Load);

// Why a sector is rebuilt: after an edit of the level, or to show the level anew after a look
// at it (a pick, a view command) that changed nothing stored.
enum class ERebuildCause {
    Edit,
    View,
};

// After an edit of sector (a sector out of range does nothing): takes its corners off the use
// counts, builds it again, empties the picked grid nodes and the markers and places the markers
// that the document's grid and sector switches ask for, recolours it, asks for a forced frame and
// marks the document modified. For ERebuildCause::View the document is marked modified only when
// the rebuild itself changed a value the level files store: a world vertex it rounded, or a
// surface normal, sector box, centre or radius or adjoin distance that no longer matched.
void RebuildSector(C3dView& view, int sector, ERebuildCause cause = ERebuildCause::Edit);

// RebuildSector (cause Edit) of each of sectors, the current sector last (the markers shown are
// its), and of the current sector when sectors does not hold it.
void RebuildSectors(C3dView& view, std::span<const int> sectors);

// Recolours a sector in place: the lit vertices of its surfaces (with "Adjoin" 0, adjoined
// surfaces without face flag 2 are left alone; so is a surface whose vertex count no longer
// matches its corners) and the models of its things: "ghost" things (any case) in "ColorGhost",
// the others grey by the sector's light, or white when the lighting flag is 0.
void RefreshSector(C3dView& view, int sector);
// RefreshSector for every sector, then a forced frame with the camera-jump flag set around it.
void RefreshAllSectors(C3dView& view);

// Refills one surface's lit vertices (after a change of its look) without rounding the world
// vertices or touching the use counts; with render, asks for a forced frame and marks the
// document modified.
void RebuildSurfaceVertices(C3dView& view, int sector, int surface, bool render);

// The Update Vertices command: every world vertex that lies strictly inside an edge of a surface
// (0.0001 < t < 0.9999) becomes a corner of that surface there, at most one per surface and world
// vertex, with u, v and the intensities interpolated; then everything is rebuilt and the current
// surface cleared. Progress "Updating Surface Vertices..." (a step per world vertex).
void UpdateSurfaceVertices(C3dView& view);
