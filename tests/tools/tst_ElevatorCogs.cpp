// The elevator's switch cogs: the recorded surfaces three to a cog, the first list before the
// second, the last cog filled with -1, and no cog without a surface.

#include "tools/ElevatorCogs.h"

#include <gtest/gtest.h>

namespace {

using CValues = std::vector<std::vector<std::string>>;

TEST(ElevatorCogs, SurfacesGoThreeToACog)
{
    const struct {
        const char* name;
        std::vector<std::int32_t> first, second;
        CValues cogs;
    } cases[] = {
        {"none", {}, {}, {}},
        {"seven in the first list",
         {1, 2, 3, 4, 5, 6, 7},
         {},
         {{"1", "2", "3", "-1", "9"}, {"4", "5", "6", "-1", "9"}, {"7", "-1", "-1", "-1", "9"}}},
        {"the second list continues the first",
         {1, 2},
         {8, 9, 10},
         {{"1", "2", "8", "-1", "9"}, {"9", "10", "-1", "-1", "9"}}},
        {"only the second list", {}, {4}, {{"4", "-1", "-1", "-1", "9"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ElevatorSwitchCogValues(c.first, c.second, 9), c.cogs);
    }
}

}  // namespace
