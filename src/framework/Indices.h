#pragma once
// Records of a level refer to each other by int index into vectors; these check and follow such an
// index.

#include <cstddef>
#include <vector>

// Whether index names an element of list (no negative index does).
template <typename T>
[[nodiscard]] constexpr bool InRange(const std::vector<T>& list, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

// The element index of list; index must be InRange.
template <typename T>
[[nodiscard]] constexpr T& At(std::vector<T>& list, int index)
{
    return list[static_cast<std::size_t>(index)];
}

template <typename T>
[[nodiscard]] constexpr const T& At(const std::vector<T>& list, int index)
{
    return list[static_cast<std::size_t>(index)];
}
