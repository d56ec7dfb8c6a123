#pragma once
// The switch cogs of an elevator: the surfaces the elevator's carves recorded, three to a cog.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kElevatorSwitchCogScript = "00_elev_switch.cog";

// The values of each switch cog, in order: while first or second still holds a surface, three
// surface values (taken from the front of first, then of second, "-1" when both are spent), "-1"
// and the elevator thing's index.
[[nodiscard]] std::vector<std::vector<std::string>>
ElevatorSwitchCogValues(const std::vector<std::int32_t>& first,
                        const std::vector<std::int32_t>& second, int elevatorThing);
