#pragma once
// The conveyor belt: a cog "00_conveyor.cog" that makes the current surface carry things along
// the direction from the first picked grid node to the second. No geometry or material changes.

#include "math/Vector3.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class C3dView;

inline constexpr std::string_view kConveyorCogScript = "00_conveyor.cog";
// Shown when the two grid nodes lie at one point: the belt would have no direction.
inline constexpr std::string_view kConveyorSameNodesText =
    "Cannot create conveyor belt.\n\nThe two grid nodes must be different.";

// The cog's ten values for a belt from p0 to p1 on surface: the unit direction written x, z, y as
// "(%.1f/%.1f/%.1f)", the speed 1 as "%.0f", the surface as "%d", then seven "-1". None when p0
// and p1 are closer than 0.0001.
[[nodiscard]] std::optional<std::vector<std::string>>
ConveyorCogValues(const CVector3& p0, const CVector3& p1, int surface);

// Adds the cog for the current surface and the first two picked grid nodes and lists its script
// once (letter case ignored); then the point markers and the picked grid nodes are emptied, the
// document's grid goes off and a frame is forced. The current surface and sector stay.
// Refused (false, level unchanged): no current surface, fewer than two grid nodes, or the two at
// one point (kConveyorSameNodesText is shown).
bool CreateConveyorBelt(C3dView& view);

// The menu command: its question (while "Warning" is on), then the builder in an undo step.
bool RunCreateConveyorBeltCommand(C3dView& view);
