#pragma once
// Create Stairs: a flight of steps built out of the current surface. The first step is an
// extrusion of the surface, each further step a rectangular expansion of the end surface the step
// before left current, shifted up or down along the picked grid nodes (node 0 towards node 1 is
// up). Every step is total depth / n deep; each one stands total height / n above (or below) the
// one before, so that the last ends (n - 1) x total height / n from the first.

class C3dView;

// The Create Stairs dialog's values, with its defaults and ranges.
struct CStairsParams {
    int m_count = 5;             // number of stairs, 1 to 100
    float m_totalHeight = 0.1f;  // 0.1 to 100.0
    float m_totalDepth = 0.5f;   // 0.1 to 100.0
    bool m_up = true;            // "Up": each step above the one before; "Down": below it
};
inline constexpr int kStairsFewest = 1;
inline constexpr int kStairsMost = 100;
inline constexpr float kStairsSmallestSize = 0.1f;
inline constexpr float kStairsLargestSize = 100.0f;

// The refusal of a step that would not meet the one before: the shift is as large as the surface
// is high along the grid nodes.
inline constexpr const char* kStairsNoOverlap =
    "Cannot create stairs.\n\nEach step must meet the step before it. Please select a smaller "
    "height or more stairs.";
// How much of the surface's height a step must keep in common with the one before.
inline constexpr float kStairsJoinSlack = 0.005f;

// Builds the flight on the current surface: ExtrudeSurface (depth = total depth / n, a new
// sector, no indent or angles), then n - 1 times, with the picked grid nodes given back as they
// were before the build, a box total depth / n deep out of the end surface the step before left
// current, standing s = total height / n (negated for down) against it along the nodes (the box
// ExpandSurfaceRect makes with top = s and bottom = -s). As the box's front covers only a part of
// that end surface, the end surface is first split where the box's edge meets it (SplitSurface,
// grid on around the call) and the covered piece expanded with the margin |s| on the side of the
// shift; the strip beside it stays a solid riser. Ends with the picked nodes as the user picked
// them, the visibility pass and an update of all views. When one of the steps refuses (its own
// message shown, or kStairsNoOverlap), the steps made before it are taken back: the level, the
// selection and the document's switches as they were. True when the flight was built.
bool CreateStairs(C3dView& view, int count, float totalHeight, float totalDepth, bool up);

// CreateStairs inside an undo step (a refusal leaves no step).
bool RunCreateStairsCommand(C3dView& view, const CStairsParams& params);
