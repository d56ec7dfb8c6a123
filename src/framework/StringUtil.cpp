#include "framework/StringUtil.h"

#include <algorithm>

namespace {

constexpr char FoldLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char FoldUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

int CompareNoCase(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(FoldLower(a[i]));
        const auto cb = static_cast<unsigned char>(FoldLower(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

std::string ToUpperAscii(std::string_view s)
{
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), FoldUpper);
    return r;
}

std::string ToLowerAscii(std::string_view s)
{
    std::string r(s);
    std::transform(r.begin(), r.end(), r.begin(), FoldLower);
    return r;
}

std::size_t FindNoCase(std::string_view hay, std::string_view needle)
{
    if (needle.size() > hay.size())
        return std::string_view::npos;
    for (std::size_t i = 0; i + needle.size() <= hay.size(); ++i)
        if (EqualsNoCase(hay.substr(i, needle.size()), needle))
            return i;
    return std::string_view::npos;
}

std::string TrimBlanks(std::string_view s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}
