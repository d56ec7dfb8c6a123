#pragma once
// The sector record a builder starts a new sector with.

#include "level/QzlSector.h"

#include <memory>

// A new sector with every attribute of source (number, flags, light, colour map, tint, both
// boxes, sound, centre, radius, group name); its surface list and visible set are empty and its
// run-time words and render stamp 0.
[[nodiscard]] std::unique_ptr<CQzlSector> NewSectorLike(const CQzlSector& source);
