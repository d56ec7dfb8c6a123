#include "level/NameLists.h"

int FindSortedString(const std::vector<std::string>& list, std::string_view name, int& position)
{
    return FindSortedNoCase(
        static_cast<int>(list.size()),
        [&list](int i) -> const std::string& { return list[static_cast<std::size_t>(i)]; }, name,
        position);
}

int InsertUniqueSorted(std::vector<std::string>& list, std::string_view name)
{
    int position = 0;
    if (!FindSortedString(list, name, position))
        list.insert(list.begin() + position, std::string(name));
    return position;
}

std::string ParamValue(std::string_view params, std::string_view key, bool& found)
{
    const std::size_t at = params.find(key);
    found = at != std::string_view::npos;
    if (!found)
        return {};
    const std::string_view rest = params.substr(at + key.size());
    return std::string(rest.substr(0, rest.find_first_of(" \t")));
}

int FindParamString(std::string_view params, std::string_view key,
                    const std::vector<std::string>& list, std::string& value)
{
    bool found = false;
    value = ParamValue(params, key, found);
    if (!found)
        return -1;
    int index = -1;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (EqualsNoCase(list[i], value)) {
            index = static_cast<int>(i);
            break;
        }
    }
    if (EqualsNoCase(value, "none"))
        value.clear();
    return index;
}
