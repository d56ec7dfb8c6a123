#pragma once
class C3dView;

// The footprint of a column or a pyramid on the surface that carries it: the outline the Create
// Rectangle and Create Cylinder/Pyramid dialogs lay out, clipped to the surface and turned so
// that it starts with the edge that runs along the dialog's depth axis.

#include "math/Vector3.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

// Clips the outline corners to the surface polygon (its corner positions in order, normal its
// normal) edge by edge: a corner inside the surface (or within 0.001 of its outline) stays;
// where an edge of the outline leaves or enters the surface, the point where it crosses the
// surface's outline comes in after the corner the edge starts at; an edge with both ends
// outside gives nothing. The result begins at the first point whose edge to the next point
// (wrapping around) runs along axis (its unit direction closer than 0.1 to axis), or at the
// first point when none does.
[[nodiscard]] std::vector<CVector3> ClipFootprint(std::span<const CVector3> corners,
                                                  std::span<const CVector3> surface,
                                                  const CVector3& normal, const CVector3& axis);

// The unit normal of the footprint edge from a to b that lies in the surface: normal x (b - a),
// normalised (zero for a = b).
[[nodiscard]] CVector3 FootprintEdgeNormal(const CVector3& normal, const CVector3& a,
                                           const CVector3& b);

// True when two different entries of the footprint are the same point in all three coordinates.
[[nodiscard]] bool FootprintHasOverlap(std::span<const CVector3> footprint);

// The Create Rectangle dialog's corners: a rectangle centred on base, width along widthAxis and
// depth along depthAxis: base - w/2 C - d/2 B, base - w/2 C + d/2 B, base + w/2 C + d/2 B,
// base + w/2 C - d/2 B.
[[nodiscard]] std::vector<CVector3> RectangleCorners(const CVector3& base, float width, float depth,
                                                     const CVector3& depthAxis,
                                                     const CVector3& widthAxis);

// The Create Cylinder dialog's outline: a regular polygon of sides corners around centre whose
// edges touch the circle of radius; corner i lies at the angle step/2 + i step (step = 360 /
// sides) from widthAxis towards depthAxis, at radius / cos(step/2).
[[nodiscard]] std::vector<CVector3> CylinderOutline(const CVector3& centre, int sides, float radius,
                                                    const CVector3& depthAxis,
                                                    const CVector3& widthAxis);

// The Sides and Radius spins of the Create Cylinder dialog: a step of delta (the spin's
// notification; up is negative) changes Sides by -delta, wrapping from below 3 to 24 and from
// above 24 to 3, and Radius by -delta * 0.01, wrapping from below 0.1 to 100 and from above 100
// to 0.1.
[[nodiscard]] int SpinSides(int sides, int delta);
[[nodiscard]] float SpinRadius(float radius, int delta);

// ---- The dialogs' footprint, laid on the engine ----

// The axes of a footprint on the current surface: N its normal, B = (second - base) normalised,
// C = N x B.
struct CFootprintAxes {
    CVector3 m_normal;
    CVector3 m_depthAxis;
    CVector3 m_widthAxis;
};
[[nodiscard]] CFootprintAxes FootprintAxes(const C3dView& view, const CVector3& base,
                                           const CVector3& second);

// Lays corners out as the footprint: snapped to the grid when snap is set, clipped to the
// current surface (ClipFootprint, starting along the depth axis), made the picked grid nodes,
// their markers rebuilt and a frame drawn at once. Nothing without a current surface.
void LayOutFootprint(C3dView& view, std::vector<CVector3> corners, bool snap,
                     const CFootprintAxes& axes);

// Puts nodes back as the picked grid nodes (what the user had picked before a dialog laid out its
// footprint), their markers rebuilt and a frame drawn at once.
void RestorePickedNodes(C3dView& view, std::vector<CVector3> nodes);

inline constexpr std::string_view kFootprintOverlap =
    "The snap to grid options causes grid nodes\nto overlap. Please select a smaller grid size.";
inline constexpr std::string_view kRectangleOutside =
    "The specified width or depth causes too many grid nodes to be\noutside the current "
    "surface. Please select a smaller values.";
inline constexpr std::string_view kCylinderOutside =
    "The specified radius causes too many grid nodes to be\noutside the current surface. "
    "Please select a smaller radius.";

// Why OK may not close the dialog with the footprint of the picked grid nodes: two nodes on one
// point (kFootprintOverlap), or fewer than fewest nodes (outside, the dialog's message); none
// when it may.
[[nodiscard]] std::optional<std::string_view>
FootprintProblem(const C3dView& view, std::size_t fewest, std::string_view outside);
