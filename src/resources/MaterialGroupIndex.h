#pragma once
// The material group index of the material picker: one entry per line of "materials.dat", kept
// sorted by the line's material name (letter case ignored), its path holding the display name of
// the line's group ("Switch"). A material listed under two groups is found under one of them
// only, the one the binary search meets.

#include "resources/MaterialGroups.h"
#include "resources/Tree.h"

#include <string_view>
#include <vector>

// The index of lines: one entry per line, sorted by material (letter case ignored), the entry of
// a later line in front of those of earlier lines of an equal name. Offset, size and data stay 0
// and none.
[[nodiscard]] CTree BuildMaterialGroupIndex(const std::vector<CMaterialGroupLine>& lines);

// The group filter's name for every material.
inline constexpr const char* kAllMaterialGroups = "All";

// Whether material passes the filter selection: always under "All"; otherwise when the index
// holds material and that entry's group display name equals selection exactly.
[[nodiscard]] bool InMaterialGroup(const CTree& index, std::string_view material,
                                   std::string_view selection);
