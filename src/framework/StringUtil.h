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
