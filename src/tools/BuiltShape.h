#pragma once
// The last look a builder takes at what it made before it keeps it: the sectors it touched must
// each still be a closed convex room of flat surfaces. Some shapes (a wall meeting its neighbours
// at an angle, a surface shared with the sector behind a portal) would take a builder's cuts to a
// shape the engine cannot show or walk; the builder then takes its work back and refuses.

#include <cstdint>
#include <vector>

class CQzlSections;

// The sectors given and every sector one of their surfaces adjoins, once each, in ascending
// order (indices out of range are dropped).
[[nodiscard]] std::vector<std::int32_t>
SectorsAndNeighbours(const CQzlSections& level, const std::vector<std::int32_t>& sectors);

// Whether every sector given is sound: it has surfaces, each surface has at least three corners,
// an area and lies flat, all the sector's corners lie on the inner side of each surface's plane,
// and each edge of its surfaces, cut at the sector's corners that lie on it, is used once each way.
// Corners closer than 0.0001 are one point.
[[nodiscard]] bool SectorsAreSound(const CQzlSections& level,
                                   const std::vector<std::int32_t>& sectors);
