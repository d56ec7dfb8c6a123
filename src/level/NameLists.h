#pragma once
// Lookups in the level's name lists: sorted string lists, and "key=value" parameters whose value
// names an entry of a list.

#include "framework/StringUtil.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Binary search of a list kept in ascending order ignoring letter case: 1 with the position when
// the name is present, else 0 with the position where it belongs.
int FindSortedString(const std::vector<std::string>& list, std::string_view name, int& position);
// Inserts name at its sorted place unless present; returns its position either way.
int InsertUniqueSorted(std::vector<std::string>& list, std::string_view name);

// The value of the parameter "key" in params: the text after the first occurrence of key up to the
// first blank or tab; empty when key is absent. found tells whether key occurs.
std::string ParamValue(std::string_view params, std::string_view key, bool& found);

// Index of the list entry equal to the value of parameter key (ignoring letter case), or -1; -1
// when key is absent. value receives the parameter value, or empty when it is "none" (the index
// of an entry named "none" is still returned).
int FindParamString(std::string_view params, std::string_view key,
                    const std::vector<std::string>& list, std::string& value);

// The same over a list of records whose name is m_name (materials, templates).
template <class T>
int FindParamObject(std::string_view params, std::string_view key,
                    const std::vector<std::unique_ptr<T>>& list, std::string& value)
{
    bool found = false;
    value = ParamValue(params, key, found);
    if (!found)
        return -1;
    int index = -1;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] && EqualsNoCase(list[i]->m_name, value)) {
            index = static_cast<int>(i);
            break;
        }
    }
    if (EqualsNoCase(value, "none"))
        value.clear();
    return index;
}
