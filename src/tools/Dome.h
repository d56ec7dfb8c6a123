#pragma once
// Create Dome: the current surface turned into a dome of rings. Outside, the rings are extruded
// out of the surface and merged into its sector (a vault, a bulge); inside, each ring is a layer
// raised on the one before (a stepped mound).

#include "edit/Carve.h"

#include <string_view>
#include <vector>

class C3dView;

struct CDomeParams {
    float m_depth = 0.4f;  // total rise along the surface's normal
    int m_splits = 4;      // number of rings
    CCarveLook m_look;
    bool m_curveAroundUp = true;  // indent modes of the extrusions (outside only)
    bool m_curveAroundPlane = true;
    bool m_outside = true;  // extrude and merge into the same sector; else layers inside
};

// One ring of the dome: its height along the normal and its indent.
struct CDomeRing {
    float m_height = 0.0f;
    float m_indent = 0.0f;
};

// The ring profile: radius 0 gives the quarter circle of steps depth/splits long; another radius
// the vault across the line of two grid nodes.
[[nodiscard]] std::vector<CDomeRing> DomeRingSteps(float depth, int splits, float radius);

// The refusal of an outside dome whose merged rings would leave the sector not a closed convex
// room (a surface meeting its neighbours at an angle); the level is then as it was.
inline constexpr std::string_view kDomeShapeText =
    "Cannot create Dome.\n\nThe dome does not fit the shape of the current sector.";

// Builds the dome on the current surface. True when the level changed.
bool CreateDome(C3dView& view, const CDomeParams& params);

// CreateDome inside an undo step (a refusal leaves no step).
bool RunCreateDomeCommand(C3dView& view, const CDomeParams& params);
