#include "tools/ElevatorCogs.h"

#include <cstddef>

std::vector<std::vector<std::string>>
ElevatorSwitchCogValues(const std::vector<std::int32_t>& first,
                        const std::vector<std::int32_t>& second, int elevatorThing)
{
    std::vector<std::vector<std::string>> cogs;
    std::size_t nextFirst = 0;
    std::size_t nextSecond = 0;
    const auto take = [&]() -> std::string {
        if (nextFirst < first.size())
            return std::to_string(first[nextFirst++]);
        if (nextSecond < second.size())
            return std::to_string(second[nextSecond++]);
        return "-1";
    };
    while (nextFirst < first.size() || nextSecond < second.size()) {
        std::vector<std::string> values;
        for (int i = 0; i < 3; ++i)
            values.push_back(take());
        values.emplace_back("-1");
        values.push_back(std::to_string(elevatorThing));
        cogs.push_back(std::move(values));
    }
    return cogs;
}
