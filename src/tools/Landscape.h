#pragma once
// Create Landscape: the current surface turned into rough ground. The surface is cut into fans of
// flat wedges, level after level (each wedge's base triangle is cut again), and afterwards every
// centre the fans placed is moved along its direction by a random amount between a minimum and a
// maximum depth.

#include "edit/Carve.h"
#include "math/Vector3.h"

#include <string_view>

class C3dView;

inline constexpr std::string_view kLandscapeTooHigh =
    "Cannot create Landscape. The specified height exceeds the current sector.";
inline constexpr std::string_view kLandscapeTooFine =
    "Cannot create Landscape. The surface is too small for the number of splits.";

// The refusal of a landscape whose moved centres would leave a sector that is not a closed convex
// room (a surface meeting its neighbours at an angle, a portal to the sector behind).
inline constexpr std::string_view kLandscapeShapeText =
    "Cannot create Landscape. The landscape does not fit the shape of the current sector.";

// The values the Create Landscape dialog hands to the builder.
struct CLandscapeParams {
    CVector3 m_node0;  // the first picked grid node
    CVector3 m_node1;  // the second: the direction of the wedges' depth axis from the first
    float m_minDepth = 0.0f;
    float m_maxDepth = 0.2f;
    int m_splits = 2;
    CCarveLook m_look{-1, 128.0f, 128.0f, 1.0f, 1.0f};
};

// The number of splits the dialog allows, both ends included, and the depth ranges.
inline constexpr int kLandscapeFewestSplits = 1;
inline constexpr int kLandscapeMostSplits = 4;
inline constexpr float kLandscapeMaxDepthLow = 0.0f;
inline constexpr float kLandscapeMaxDepthHigh = 100.0f;
inline constexpr float kLandscapeMinDepthLow = -100.0f;
inline constexpr float kLandscapeMinDepthHigh = 0.0f;

// The dialog's start values for view: the default splits and depths, the first two picked grid
// nodes (the origin for those missing) and the current surface's look.
[[nodiscard]] CLandscapeParams LandscapeDefaults(const C3dView& view);

// Builds the landscape on the current surface of the current sector. The segment from node 0
// (lifted 0.002 off the surface) to the maximum depth plus 0.02 above it must not cross a surface
// of the sector: kLandscapeTooHigh then, and the level and the selection as they were. The
// raised-vertex and raise-direction lists are emptied, BuildLandscapeLevel runs with the splits,
// and each raised vertex moves along its direction by
//     r = next() * (max - min) / 32767.0 + min
// with next() the engine's random generator (view.GetRandom(), which the caller seeds). Then the
// planes and bounds follow the moved vertices, the visibility pass runs, the views are updated and
// the current sector and every new sector rebuilt. False, with nothing changed, without a current
// sector and surface or when node 0 and node 1 coincide; false with the level and selection as
// they were when a split deeper down refuses (its message shown), also with kLandscapeTooFine
// when a surface to be split has two corners, or a corner and its centre, closer than 0.1.
bool CreateLandscape(C3dView& view, const CLandscapeParams& params);

// One level of the subdivision on the current sector and surface: BuildPyramid with height 0 and
// the axes n, d, s (no look copied, the walls cut on the first level only, no final pass), then,
// while levels remain, the same on each wedge's base triangle; at the end every base triangle of
// this level takes its floor flag from its normal. False when a BuildPyramid refused or a surface
// was too fine to split (kLandscapeTooFine shown); what was built stays for the caller to take
// back.
bool BuildLandscapeLevel(C3dView& view, const CVector3& n, const CVector3& d, const CVector3& s,
                         int levelsLeft, const CCarveLook& look, bool firstLevel);

// The Create Landscape command once its dialog closed with OK: CreateLandscape inside one undo
// step under the wait cursor; a refusal leaves no step. The generator is seeded by the caller.
bool RunCreateLandscapeCommand(C3dView& view, const CLandscapeParams& params);
