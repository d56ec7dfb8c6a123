#pragma once
// Insert: one new element next to the current selection. A current vertex gets a new corner
// after it, a current surface an overlay (a copy lifted off it, for a decal), a current sector a
// new thing at the focus point. Each operation shows the wait cursor while it runs, refuses
// (false) before it changes anything, and rebuilds what it changed.

class C3dView;

// The message of a surface that cannot take another corner.
inline constexpr const char* kInsertVertexRefused =
    "Cannot insert Vertex.\n\nSurfaces must have less than 24 vertices.";

// A new corner after the current vertex, halfway to the next corner (after the last corner the
// new one goes first in the list): a new world vertex at the midpoint of the two (its other six
// floats those of the current corner's), appended with use count 1 even when another lies there
// already; the current corner's texture-vertex index, the means of the two corners' u, v and
// intensities. The start vertex moves up by one when the current corner lies before it. The
// selection stays as it is; the current sector is rebuilt.
// Refused with kInsertVertexRefused when the surface has 23 corners or more; refused silently
// without a current vertex.
bool InsertVertex(C3dView& view);

// Asks for a material of the level (the picker proposes the current surface's material name,
// lower-cased); Cancel ends it. Then a new surface with the current surface's normal, flags,
// geometry, light and texture modes and extra light, the first material of the level bearing the
// current surface's material name (letter case ignored; -1 when none does) with its tiling, and
// for each corner a new world vertex 0.1 along the normal (use count 1) with the corner's
// intensities and u = v = 0. It joins the current sector's list, becomes the current surface and
// the current sector is rebuilt. The material chosen in the picker is not read back.
// Refused silently without a current surface and sector.
bool InsertOverlaySurface(C3dView& view);

// Asks for a template: with a current thing its template is proposed from the level's templates,
// else nothing is proposed from the product's template list; Cancel ends it. The new thing is of
// the chosen template (lower-cased, its name the same), in the current sector at the focus point
// lifted by 0.75 of the model's height less 0.15, each coordinate rounded to 0.01. It becomes the
// current thing, the level's resource lists are rebuilt, and the thing is shown (ShowNewThing:
// with the ghost when its model is found nowhere, as without the game's archive).
// Refused silently without a current sector.
bool InsertThing(C3dView& view);

// ---- The Insert command ("&Insert Ctrl+I, Ins") ----

// Enabled while a sector, a surface or a thing is current.
[[nodiscard]] bool CanInsert(const C3dView& view);

// Inside an undo step, the first that applies: a current vertex InsertVertex, a current surface
// InsertOverlaySurface, a current sector InsertThing. False, with the undo step dropped, when the
// command is disabled, nothing applies, or the operation refused.
bool RunInsertCommand(C3dView& view);
