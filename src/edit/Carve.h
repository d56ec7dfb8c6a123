#pragma once
// Carve: cuts a prism-shaped piece out of the current sector. Its outline is a polygon of picked
// grid nodes (or the current surface's outline) and its side walls are the planes through each
// outline edge along a carve direction; each side is one Split Sector (edit/SplitSector.h). With
// "Create Catwalk" the piece is then deleted, so that it becomes solid, and the walls that faced it
// take a chosen look. The Carve command reaches CarveSector in sector mode and CarveAlongLine in
// surface mode; the builders cut with CutSectorsByPlane and CarveAlongLine directly.

#include "math/Vector3.h"

#include <cstdint>
#include <vector>

class C3dView;

// The look of the walls that faced a carved catwalk: the first takes these, the others continue
// it across their shared edges.
struct CCarveLook {
    int m_material = 0;
    float m_textureWidth = 128.0f;
    float m_textureHeight = 128.0f;
    float m_xTile = 1.0f;
    float m_yTile = 1.0f;
};

// Sector-mode carve of the current sector by the outline of the picked grid nodes g (three or
// more): n = ((g1 - g0) x (g2 - g1)) normalised. Refused (false, the level as it was) with
// - "Cannot carve sector. You must select 3 grid nodes not on a line." when g0, g1 and g2 are
//   collinear;
// - "Cannot carve sector. You must select grid nodes on the same plane." when a node lies more
//   than 0.5 off the plane of the first three;
// - "Cannot carve sector due to multiple surface overlap at one end." when the nodes, each moved
//   0.0002 towards their centre, do not all meet the surface the node before meets, along +n or
//   along -n (segments from 1 unit behind the node to 1000 units ahead; every surface counts);
// silently without a current sector or with fewer than 3 nodes. Otherwise the current surface
// becomes the one met along -n from the last node and CarveAlongLine runs bounded, with no
// angles.
bool CarveSector(C3dView& view, bool catwalk, const CCarveLook& look);

// Carve along the line of the picked grid nodes g0 and g1: U = (g1 - g0) normalised, N = the
// current surface's normal (none is needed when bounded), C = N x U; then CutSectorsByPlane.
// Refused with "Cannot carve surface. You must select 2 different grid nodes." when g0 and g1
// coincide, and silently with fewer than 2 nodes or, unbounded, without a current surface.
bool CarveAlongLine(C3dView& view, bool catwalk, float upDown, float leftRight,
                    const CCarveLook& look, bool bounded);

// The cut. T, the piece that holds the carved region, starts as the current sector.
// 1. The carve direction D: unbounded, D = n, leaning by the up/down angle a towards u
//    (+ u / tan(90 - a)) and by the left/right angle b away from c (- c / tan(90 - b)), and with
//    exactly 2 picked nodes the outline is the current surface's corner polygon; bounded,
//    D = ((g2 - g1) x (g3 - g2)) normalised (((g1 - g0) x (g2 - g1)) with 3 nodes), turned to
//    point into the sector.
// 2. The outline's edges are cut in this order: those lying in the plane of D and u first, then
//    those across u, each group latest first, then the others in outline order (the engine's
//    cut-edge list). An edge whose plane along D lies within 0.01 of a wall of T, or does not
//    cross T, makes no cut; any other splits T (SplitSector with messages). Of the two pieces T
//    becomes the one on the outline centre's side, the other is the outer piece (appended to
//    the engine's result list).
// 3. From the outline centre across each edge's middle, just inside along D, the portal of T
//    met leads to a wall: the surface on its other side (appended to the result list).
// 4. With catwalk, T is deleted (its portals become solid walls); the first wall takes look,
//    fitted from corner 0 at scale 320, the others continue the wall before them; all get the
//    floor flag, geometry mode 4, light mode 3 and texture mode 1. A material the level does not
//    have becomes -1.
// The visibility pass runs and every sector touched is rebuilt. The current sector becomes T and
// the current surface the surface of T at the outline centre (both -1 after a catwalk); the grid
// is off; the sector-mode switch is as it was.
// Refused (false) when there is no current sector, the outline has fewer than 3 points or D has
// no direction; a split or the catwalk's delete that refuses with its message puts the whole
// level back as it was before the carve and refuses too.
bool CutSectorsByPlane(C3dView& view, bool catwalk, const CVector3& n, const CVector3& u,
                       const CVector3& c, float upDown, float leftRight, const CCarveLook& look,
                       bool bounded);

// The walls that faced a piece deleted to make it solid: each gets the floor flag from its
// normal, geometry mode 4, light mode 3 and texture mode 1; the first takes look (a material the
// level does not have becomes -1), fitted from corner 0 at scale 320, each other one copies the
// look of the wall before it and continues its texture across their shared edge.
void DressCarvedWalls(C3dView& view, const std::vector<std::int32_t>& walls,
                      const CCarveLook& look);

// The new index of a surface after the surfaces in deleted (sorted) were removed.
[[nodiscard]] std::int32_t SurfaceAfterDeletes(std::int32_t surface,
                                               const std::vector<std::int32_t>& deleted);

// The lean of a carve direction or a column per unit of height: u / tan(90 - upDown) -
// c / tan(90 - leftRight), a term left out when its angle is exactly 0.
[[nodiscard]] CVector3 LeanOffset(const CVector3& u, const CVector3& c, float upDown,
                                  float leftRight);
