#pragma once
// 8-bit string helpers. Level names are compared ignoring ASCII letter case only.

#include <string>
#include <string_view>
#include <vector>

// <0, 0, >0 like strcmp, with ASCII letters folded to lower case.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view s);
std::string ToLowerAscii(std::string_view s);
// Position of the first case-insensitive occurrence of needle in hay, or npos.
std::size_t FindNoCase(std::string_view hay, std::string_view needle);
// Strips leading and trailing blanks, tabs, CR and LF.
std::string TrimBlanks(std::string_view s);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
bool EndsWithNoCase(std::string_view s, std::string_view suffix);

// Binary search over `count` names kept in ascending case-insensitive order, where nameAt(i)
// gives the i-th name. Returns 1 with the index when found, else 0 with the insertion point.
template <class NameAt>
int FindSortedNoCase(int count, NameAt nameAt, std::string_view name, int& position)
{
    int low = 0;
    int high = count - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int cmp = CompareNoCase(nameAt(middle), name);
        if (cmp < 0) {
            low = middle + 1;
        } else if (cmp > 0) {
            high = middle - 1;
        } else {
            position = middle;
            return 1;
        }
    }
    position = low;
    return 0;
}
