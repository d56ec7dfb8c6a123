#pragma once
// The look of a newly built sector taken from the surfaces around it: the walls, floor and
// ceiling along the edges of the surface it grows out of, found edge by edge, and the fitting of
// the new sector's faces to them, so that an extrusion or an expansion continues what it starts
// from. To fit a surface to another is to continue the other's texture onto it
// (AlignTextureToSurface, edit/SurfaceLook.h) and give it the other's material.
//
// Surfaces are named by their index in the level's surface list.

#include "math/Vector3.h"

#include <span>
#include <vector>

class C3dView;
class CQzlSections;

// Two normals closer than this are the same direction.
inline constexpr float kSameNormal = 0.0001f;

// The surfaces along each edge of a surface: entry i lists those along edge i (corner i to
// corner i + 1, the last corner to the first), in level order. An edge without neighbours has an
// empty entry, so entry i always belongs to edge i.
using CEdgeNeighbours = std::vector<std::vector<int>>;

// For each edge of surface, every sector of the level in order and every surface s of its list,
// leaving out surface itself and surfaces with an adjoin: s is a neighbour of the edge when one
// of its edges, walked backwards (corner j to corner j - 1, corner 0 to the last), lies on the
// edge's line running the same way (EdgesOverlap without bounds, s's edge first and, only when
// that fails, the edge first) with both parameters strictly between -0.001 and 1.001. A surface
// along several edges is listed under each of them. Empty for a surface out of range.
[[nodiscard]] CEdgeNeighbours FindEdgeNeighbours(const CQzlSections& level, int surface);

// Every neighbour in one list, edge by edge (a surface along two edges stands in it twice).
[[nodiscard]] std::vector<int> FlattenNeighbours(const CEdgeNeighbours& neighbours);

// The first surface of list (in list order, its edges from corner i back to corner i - 1 for i
// from 0) that has an edge on the line of the segment p-q running the same way (EdgesOverlap
// without bounds for (edge, segment) or, failing that, for (segment, edge)) and sharing a piece
// of it: the parameters of the one's ends along the other, taken from that test, must not both
// lie at or before 0.001 nor both at or beyond 0.999. -1 when none has.
[[nodiscard]] int FindSurfaceOnSegment(const CQzlSections& level, std::span<const int> list,
                                       const CVector3& p, const CVector3& q);

// The first surface of list whose normal differs from v by a length below kSameNormal; -1 when
// none does.
[[nodiscard]] int FindSurfaceByNormal(const CQzlSections& level, std::span<const int> list,
                                      const CVector3& v);

// The texture coordinates a new face takes when it has nothing to continue: ComputeTextureCoords
// (level/TextureFit.h) from corner 0, angle 0, U and V scales 320.0, offsets 0, no mirroring.
void GiveDefaultTextureCoords(CQzlSections& level, int surface);

// Fits target to source: source's texture continued onto target, then source's material.
void FitSurfaceTo(C3dView& view, int target, int source);

// Gives the surfaces of sector the look of the surfaces in list (the neighbours of the surface
// the sector grew from); v is the normal of one end face of the sector. A surface whose normal
// is within kSameNormal of v or of -v is an end face, every other one a side face.
// Pass 1, over the sector's surfaces in order: an end face with a surface of its normal in list
// (FindSurfaceByNormal) gets the 320 x 320 texture coordinates and is fitted to that surface; a
// side face is fitted, edge by edge, to the surface of list on each edge (FindSurfaceOnSegment)
// that is no end face itself, and is then appended to the list of fitted faces once per such
// edge (the last edge that finds one decides).
// Pass 2, over the side faces the first pass did not fit, in order: a face is fitted, edge by
// edge, to the fitted face on its edge (FindSurfaceOnSegment over the fitted faces, which grows
// as the pass goes on) unless that is the face itself, and is appended to the fitted faces.
// Nothing happens for a sector out of range; an empty list fits nothing.
void FitSideTextures(C3dView& view, int sector, std::span<const int> list, const CVector3& v);
