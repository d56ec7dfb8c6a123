#pragma once
// Extrude Surface: the current surface is pulled out of the current sector and the volume it
// sweeps is built: one new corner per corner at the far end, one four-cornered side surface per
// edge and, unless the sweep stays inside the current sector, a new sector joined to the current
// one through the current surface. The Extrude Surface command runs it with the dialog's values;
// the door, elevator, dome, stairs and switch builders run it with their own.

#include <string_view>

class C3dView;

// The four kinds of extrusion.
enum class EExtrudeType : int {
    NewSector = 0,        // a new sector behind the surface, joined through it
    KeepWithSector = 1,   // the surface moves out and the current sector grows with it
    ConnectOpposite = 2,  // a new sector up to the surface facing it across the gap
    NewSectorHidden = 3,  // as NewSector, the surface keeping its look while joined
};

// The values of one extrusion. The defaults are those every builder but the command passes.
struct CExtrudeParams {
    float m_depth = 1.0f;           // the sweep's length; with chosen vertices the first vertex's
    float m_indent = 0.0f;          // how far the far corners are pulled in (types 0 and 3)
    float m_upDownAngle = 0.0f;     // degrees of tilt along grid node 0 to grid node 1
    float m_leftRightAngle = 0.0f;  // degrees of tilt across that direction
    EExtrudeType m_type = EExtrudeType::NewSector;
    float m_depth2 = 0.0f;  // depth at the second chosen vertex
    float m_depth3 = 0.0f;  // depth at the third chosen vertex
    int m_vertex1 = -1;     // corner taking m_depth; -1: every corner takes it
    int m_vertex2 = -1;     // corner taking m_depth2
    int m_vertex3 = -1;     // corner taking m_depth3
    int m_shape = 0;        // 0 parallelogram, 1 end surface turned towards the sweep
    // How the indent pulls the far corners in: both set, towards the surface's centroid; only
    // the first, across the grid nodes; only the second, along them; neither, not at all.
    bool m_indentAcross = true;
    bool m_indentAlong = true;
};

// The messages of the refusals.
inline constexpr std::string_view kExtrudeNoOppositeText =
    "Extruding to opposite surface cannot take,\nplace since no unique opposite surface exist.";
inline constexpr std::string_view kExtrudeAdjoinedText =
    "Cannot extrude Surface.\n\nThe surface is already adjoined.";
inline constexpr std::string_view kExtrudeVerticesText =
    "Cannot extrude Surface.\n\nThe three vertices must be different vertices of the surface.";
inline constexpr std::string_view kExtrudePlaneText =
    "Cannot extrude Surface.\n\nThe depths of the three vertices give an end surface that not "
    "every vertex reaches.";

// Extrudes the current surface F (normal n, k corners V(i)) of the current sector S.
//
// The far corner W(i) of each corner:
// - types 0, 1, 3: V(i) - depth(i) n. depth(i) is m_depth for every corner unless, for types 0
//   and 3, m_vertex1 names a corner: then the three chosen corners take m_depth, m_depth2 and
//   m_depth3 and every other corner the distance along -n (up to 1000) to the plane through the
//   three far points. For types 0 and 3 the indent then moves W(i) (see m_indentAcross), and
//   with exactly two grid nodes picked the angles tilt it by tan(angle) x depth(i) along the
//   node direction g and against n x g. Shape 1 then turns the end surface: each far corner
//   slides along its side edge until it is as far from M as its V(i) is, M being the midpoint
//   of the side edge whose far corner lies farthest from F's centroid.
// - type 2: the points where the corners swept against n (tilted by the angles along the grid
//   nodes) meet the opposite surface (CalcExtrudeEndPolygon); that surface is cut to their
//   outline (CutSurfaceToPolygon) and the piece G gets a corner at each point its outline lacks.
//   When G already lies in F's plane facing it, G is linked to F and nothing else is made.
//
// Made: the end surface T (F's copy, on the far corners, each a new world vertex); per edge i a
// side surface on F's corners i, i + 1 and T's corners i + 1, i, which continues the texture of
// the first surface along edge i (FindEdgeNeighbours; the material too when it has one) or else
// gets the 320 x 320 coordinates. Type 1: the side surfaces go into S, F takes T's corners and T
// is dropped. Other types: a new sector NS (S's attributes) of the back surface B (F reversed),
// T and the side surfaces; F and B are joined by a new adjoin pair and take the portal look
// (type 3: F keeps its look); NS joins S's visible set and S NS's; type 2 links G and T.
// Afterwards the visibility pass runs and the sectors are rebuilt; for types 0, 2 and 3 NS and
// T are current and the current vertex is cleared.
//
// Refused with a message before any change: a current surface with an adjoin
// (kExtrudeAdjoinedText); chosen vertices that are not three different corners of F
// (kExtrudeVerticesText); chosen depths that are not positive, three far points on one line, or
// a corner whose 1000-unit way along -n does not reach their plane at a positive depth
// (kExtrudePlaneText); type 2 without two different grid nodes, without one opposite surface for
// every corner, with an opposite surface that is adjoined or touches F only in part, or whose
// cut piece does not match the corners or cannot be linked (kExtrudeNoOppositeText; a cut made
// is taken back, the level as it was). Refused without a message: no current sector or surface,
// a surface of fewer than 3 corners.
bool ExtrudeSurface(C3dView& view, const CExtrudeParams& params);

// ---- The Extrude Surface command ("&Extrude Surface... E") ----

// Enabled when a sector and a surface are current.
[[nodiscard]] bool CanExtrudeSurface(const C3dView& view);
// ExtrudeSurface inside an undo step: a refusal leaves no step.
bool RunExtrudeSurfaceCommand(C3dView& view, const CExtrudeParams& params);
