#pragma once
// Expand Surface: one new sector grown on the outside of the current surface and joined to the
// current sector through it. Three shapes: a box whose front face covers the surface with margins
// (rectangular), a prism lying with one side face against the surface (cylindrical), and a globe
// of flat faces in bands around an axis with one face of its middle band against the surface
// (circular).
//
// The frame of every shape: n = the current surface's normal (pointing into the current sector,
// so the new sector lies on the side of -n); A = the direction from picked grid node 0 to node 1
// brought into the surface's plane and made unit (the up direction); B = n x A, which is the
// right hand of a user who looks at the surface from the current sector with A up; C = the
// surface's area-weighted centroid. The surface's extents are measured from C along +A, -A, -B
// and +B.
//
// Each builder checks everything first and refuses (false) with its message through the host,
// the level as it was. A new sector that cannot be joined to the current surface is taken away
// again: the level, the selection and the grid and edit-mode switches go back to what they were
// (all render data rebuilt) and kExpandNotJoined is shown.

#include "math/Vector3.h"

#include <string>

class C3dView;
class CQzlSections;

// The refusals.
inline constexpr const char* kExpandAdjoined =
    "Cannot expand Surface.\n\nThe surface is already adjoined.";
inline constexpr const char* kExpandNeedsNodes =
    "Cannot expand Surface.\n\nPick two grid nodes: the direction from the first to the second "
    "is up.";
inline constexpr const char* kExpandNoUpDirection =
    "Cannot expand Surface.\n\nThe two grid nodes give no up direction in the plane of the "
    "surface.";
inline constexpr const char* kExpandNoArea = "Cannot expand Surface.\n\nThe surface has no area.";
inline constexpr const char* kExpandNotJoined =
    "Cannot expand Surface.\n\nThe new sector cannot be joined to the surface.";

// The largest extents of a surface from C on the four half-axes: the distance of its farthest
// corner on that side from the line through C along the other axis.
struct CExpandBox {
    float m_upPlus = 0.0f;     // a+: along +A
    float m_upMinus = 0.0f;    // a-: along -A
    float m_sideMinus = 0.0f;  // b-: along -B (the user's left)
    float m_sidePlus = 0.0f;   // b+: along +B (the user's right)
};

// For each corner P of surface with d = P - c: when d . a >= 0, a+ grows to P's distance from the
// line through c -/+ 100 b, else a- does; when d . b >= 0, b+ grows to P's distance from the line
// through c -/+ 100 a, else b- does. All four start at 0. Zero for a surface out of range.
[[nodiscard]] CExpandBox CalcExpandBox(const CQzlSections& level, int surface, const CVector3& c,
                                       const CVector3& a, const CVector3& b);

// Each of the four light intensities averaged over the surface's corners; 0 for a surface out of
// range or without corners.
void AverageVertexLight(const CQzlSections& level, int surface, float light[4]);

// The frame of an expansion of the current surface (see above), with the extents.
struct CExpandFrame {
    CVector3 m_normal;  // n
    CVector3 m_up;      // A
    CVector3 m_side;    // B
    CVector3 m_centre;  // C
    CExpandBox m_box;
    // The middle of the extents: C + (a+ - a-)/2 A + (b+ - b-)/2 B; C for a surface symmetric
    // about its centroid. The prism and the globe are centred on it, so that a face as high and
    // wide as the extents together covers the whole surface.
    CVector3 m_middle;
};

// The frame of the current selection. False when there is no current sector and surface (message
// empty), the current surface has an adjoin (kExpandAdjoined), no area (kExpandNoArea), fewer
// than two grid nodes are picked (kExpandNeedsNodes) or nodes 0 and 1 lie on a line square to the
// surface (kExpandNoUpDirection).
bool GetExpandFrame(const C3dView& view, CExpandFrame& frame, std::string& refusal);

// The bound of a prism's or globe's height along A and width along B: value + kExpandSlack must
// lie between the surface's extents on that axis together and kExpandLargest, so that the face
// against the surface is at least as large as the surface.
inline constexpr float kExpandSlack = 0.0001f;
inline constexpr float kExpandLargest = 1000.0f;
[[nodiscard]] bool ExpandSizeFits(float value, float extents);

// ---- The builders ----

// A box sector behind the current surface, depth deep along -n: its front face lies in the
// surface's plane and reaches a+ + top along +A, a- + bottom along -A, b- + left along -B and
// b+ + right along +B from C, so that each margin grows the box on its own side as the user sees
// it. Faces: front, -B side, back, +B side, -A end, +A end (all with the current surface's look,
// the light its corners average, the 320 x 320 texture coordinates, and corners shared with
// world vertices within 0.0001). The ends take the look of a neighbour of the surface facing
// their way, the first side touching a neighbour that neighbour's, each later side the look of
// the side fitted before it when they share an edge. The front face is cut to the surface's
// outline (CutSurfaceToPolygon) and the piece is linked to the surface; the side textures are
// then fitted (FitSideTextures) without giving a portal a material. The grid switch and the edit
// mode become 0; the new sector and its back face become current, with no current vertex.
// Margins may be negative (a caller's step down) as long as the box keeps a size.
bool ExpandSurfaceRect(C3dView& view, float depth, float left, float right, float top,
                       float bottom);

// A prism of sides faces (3 to 24) each width wide and height high, its axis along A behind the
// surface: side face sides - 1 lies in the surface's plane centred on the middle of the extents.
// height must be at least a+ + a- and width at least b- + b+ (less 0.0001 each), both at most
// 1000. The bottom end (at -A) and the top end are made first, then the side faces; ends and
// sides share world vertices. The current surface is linked to the face against it, then the side
// textures are fitted. The current sector and surface stay current, with no current vertex.
bool ExpandSurfaceCylinder(C3dView& view, float height, float width, int sides);

// A globe of 2m + 1 bands of sides faces (6 to 24; m = sides / 4), triangles at the two apexes
// on the axis along A: face 0 of the middle band lies in the surface's plane, width wide and
// height high, centred on the middle of the extents (the same bounds on height and width as the
// prism). Every corner gets its texture coordinates from the face's place in the bands and the
// current surface's U and V scales. The current surface is linked to the face against it. The
// current sector and surface stay current, with no current vertex.
bool ExpandSurfaceCircle(C3dView& view, float height, float width, int sides);
