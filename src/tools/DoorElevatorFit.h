#pragma once
// The checks the Create Door and Create Elevator dialogs make before their builder runs: the
// model's outline on the current surface, seen from the two picked grid nodes, must lie in that
// surface, and a door joined to the room behind must find one surface there.

#include "math/Vector3.h"

#include <array>
#include <string_view>

class CQzlSections;

inline constexpr std::string_view kDoorExceedsText =
    "The selected door object exceeds the current\nsurface. Please select a smaller door object.";
inline constexpr std::string_view kElevatorExceedsText =
    "The selected elevator object exceeds the current\nsurface. Please select a smaller elevator "
    "object.";
inline constexpr std::string_view kDoorNoOppositeText =
    "Connecting to opposite surface cannot take,\nplace since no unique opposite surface exist.";

// The door's opening for g0 (the middle of its lower edge), the unit surface normal n and the unit
// up direction d, width along c = n x d and height along d: g0 - c w/2, g0 - c w/2 + d h,
// g0 + c w/2 + d h, g0 + c w/2.
[[nodiscard]] std::array<CVector3, 4> DoorOutline(const CVector3& g0, const CVector3& n,
                                                  const CVector3& d, float width, float height);
// The elevator's footprint centred on g0, width along c and depth along d: g0 - c w/2 - d z/2,
// g0 - c w/2 + d z/2, g0 + c w/2 + d z/2, g0 + c w/2 - d z/2.
[[nodiscard]] std::array<CVector3, 4> ElevatorFootprint(const CVector3& g0, const CVector3& n,
                                                        const CVector3& d, float width,
                                                        float depth);

// Whether every corner lies in surface's polygon or within 0.001 of an edge.
[[nodiscard]] bool OutlineFitsSurface(const CQzlSections& level, int surface,
                                      const std::array<CVector3, 4>& outline);

// Whether the segments from each corner (moved 0.001 towards the surface's centroid) 5000 units
// along -n first meet the level's sectors on one and the same surface, every corner with a hit.
[[nodiscard]] bool HasUniqueOppositeSurface(const CQzlSections& level, int surface,
                                            const std::array<CVector3, 4>& outline);
