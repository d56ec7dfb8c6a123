#pragma once
// Create Layer: a solid platform raised on the current surface of the current sector. The sector
// is cut at the platform's top; the space above stays the sector's, with the top as a new floor
// piece, and the space beside the sloping platform sides becomes one wedge sector per edge of the
// base surface.

#include "edit/Carve.h"
#include "math/Vector3.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

class C3dView;
class CQzlSections;

struct CLayerParams {
    float m_height = 0.1f;  // along the base surface's normal
    float m_indent = 0.1f;  // each top corner drawn in towards the base's centroid by this much
    CCarveLook m_look;      // the platform top's material, texture size and tiling
};

// The refusal of a platform that does not fit under the sector's first textured surface above
// the base's centroid: "Cannot create Layer.\n\nThe specified height exceeds the current
// sector\nwhich has an allowable height of %.5f." with allowable.
[[nodiscard]] std::string LayerTooHighText(float allowable);

// The height a platform on surface of sector may have at most: the distance from the surface's
// centroid C to where the segment from C + 0.002 n to C + (height + 0.02) n leaves the sector
// through a surface with a material, less 0.001. None when the segment leaves through a portal
// without material or not at all: the sector sets no limit then.
[[nodiscard]] std::optional<float> LayerAllowableHeight(const CQzlSections& level, int sector,
                                                        int surface, float height);

// The refusal of a top polygon that does not lie inside the sector.
inline constexpr std::string_view kLayerTopOutsideText =
    "Cannot create Layer.\n\nThe top of the layer does not fit inside the current sector.";

// The refusal of a wall of the sector that the cut along a wedge's side plane cannot split.
inline constexpr std::string_view kLayerWallCutText =
    "Cannot create Layer.\n\nA wall of the current sector cannot be split along the layer.";

// The refusal of a layer whose cuts would leave a sector that is not a closed convex room (a wall
// meeting its neighbours at an angle, a base shared with the sector behind a portal); the level
// is then as it was.
inline constexpr std::string_view kLayerShapeText =
    "Cannot create Layer.\n\nThe layer does not fit the shape of the current sector.";

// Builds the layer on the current surface F (normal n, centroid C, base corners p(i)) of the
// current sector S. True when the level changed.
// - Refused with LayerTooHighText, nothing changed, when the segment from C + 0.002 n to
//   C + (height + 0.02) n crosses a textured surface of S closer than height + 0.001 to C; a
//   height below 0.01 changes nothing silently. An indent below 0.01 in magnitude is 0.
// - The top corners are q(i) = p(i) + height n + indent unit(C - p(i)); refused with
//   kLayerTopOutsideText, nothing changed, when one lies outside S (an outward indent on a base
//   that fills the sector's floor). S is split at the top's
//   plane; the cut surface is cut into the top polygon and one ring piece per top edge on both
//   sides of its adjoin (SplitLayerSurfaces), and the inner piece goes: the upper sector U's
//   piece becomes the platform top with the look of params (UnlinkSurface with the engine's
//   unlink look), fitted from corner 0 at scale 320.
// - The walls of the slab below are cut along the radial planes through C and each p(i)
//   (containing n); per base edge a wedge sector (S's attributes) takes the slab's surfaces whose
//   centroid lies between the radial planes of its two corners, the two radial faces closing it
//   (dropped without area), and the sloping platform side (F's look, then the look of the first
//   textured surface along that base edge) when a ring piece lies above. A wedge of fewer than 4
//   surfaces is not made: its surfaces stay with the slab. Neighbouring wedges are joined through
//   their radial faces. The slab goes with F; its things go to the wedge or to U when one of them
//   holds them.
// - Afterwards U is current with the platform top as current surface (or none when no such
//   piece was found), the current vertex is -1, the sectors are rebuilt and the visibility pass
//   has run. The unlink look is cleared (material -1) on every way out.
// A split along the way that refuses (the sector split with its own message, a wall cut with
// kLayerWallCutText) puts the level back as it was and refuses. False without a current sector
// and surface or with a base of fewer than 3 corners.
bool CreateLayer(C3dView& view, const CLayerParams& params);

// Cuts the current surface (a plane surface of the current sector) into the inner piece, the
// polygon, and one ring piece per polygon edge, on both sides of its adjoin; relink: the pieces
// are linked again to their counterparts and the current sector rebuilt.
void SplitLayerSurfaces(C3dView& view, std::span<const CVector3> polygon, const CVector3& centre,
                        bool relink);

// CreateLayer inside an undo step (a refusal leaves no step).
bool RunCreateLayerCommand(C3dView& view, const CLayerParams& params);
