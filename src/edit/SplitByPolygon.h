#pragma once
// Split by Polygon: a regular polygon cut into the current surface. The user picks two grid nodes
// on it, A the polygon's centre and B the direction of its first side; the Split by Polygon
// dialog chooses the number of sides, the radius and the snapping, turns the picked nodes into
// the polygon's corners (clipped to the surface), and the command cuts the surface to them.

#include "math/Vector3.h"

#include <optional>
#include <vector>

class C3dView;

// What the dialog chooses: sides 3 to 24, radius (the distance from the centre to the middle of
// each side) 0.1 to 100.0, and whether each corner snaps to the grid.
struct CSplitPolygonValues {
    static constexpr int kFewestSides = 3;
    static constexpr int kMostSides = 24;
    static constexpr float kSmallestRadius = 0.1f;
    static constexpr float kLargestRadius = 100.0f;

    int m_sides = 4;
    float m_radius = 0.1f;
    bool m_snap = false;
};

// The arrows of the two spin controls; delta is the control's (-1 for the up arrow, +1 for down).
// Sides step by one and wrap: below 3 to 24, above 24 to 3. The radius steps by 0.01: below 0.1
// it becomes 100.0, above 100.0 it becomes 0.1.
[[nodiscard]] int StepPolygonSides(int sides, int delta);
[[nodiscard]] float StepPolygonRadius(float radius, int delta);

// The polygon's corners for centre a and direction point b on the current surface S (normal n):
// u = unit(b - a), w = n x u, R = radius / cos(pi / sides); corner k at
// a + R cos((k + 0.5) step) w + R sin((k + 0.5) step) u, snapped to the grid when asked. Clipped
// to S: each corner inside S (or within 0.001 of its edges) is kept, and where a side leaves or
// enters S its crossing with S's edge is added. The list starts at its first side running along u
// (within 0.1), else at its first corner.
// Nothing without a current surface, or when a and b are the same point (the direction of the
// sides is then unknown).
[[nodiscard]] std::optional<std::vector<CVector3>>
ComputeSplitPolygon(const C3dView& view, const CVector3& a, const CVector3& b,
                    const CSplitPolygonValues& values);

// The polygon becomes the picked grid nodes, with their markers, and a frame is drawn.
void ShowSplitPolygon(C3dView& view, const std::vector<CVector3>& corners);

// Why the corners cannot be cut into the surface; null when they can.
// Two corners at exactly the same point: "The snap to grid options causes grid nodes\nto overlap.
// Please select a smaller grid size."; fewer than 3: "The specified radius causes too many grid
// nodes to be\noutside the current surface. Please select a smaller radius.".
[[nodiscard]] const char* SplitPolygonRefusal(const std::vector<CVector3>& corners);

// The message of two picked nodes at the same point.
inline constexpr const char* kSplitPolygonSameNodes =
    "The two grid nodes are at the same place.\nPlease pick the centre and then a second node in "
    "the direction of the first side.";

// ---- The "Split by Poly&gon... K" command ----

// Enabled when exactly two grid nodes are picked and a surface is current.
[[nodiscard]] bool CanSplitByPolygon(const C3dView& view);

// After the dialog has put the polygon into the picked grid nodes: the current surface is cut to
// them (SplitSurface with rebuilding), the grid goes off, the current sector is rebuilt and the
// views are updated. False, with nothing changed, when there is no current surface, the picked
// nodes are no polygon (SplitPolygonRefusal) or the cut was refused.
bool SplitByPolygon(C3dView& view);
// SplitByPolygon inside an undo step (dropped when it refuses).
bool RunSplitByPolygon(C3dView& view);
