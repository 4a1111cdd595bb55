#pragma once

#include <cstddef>

namespace quarn::PadFormat {

// A pad as it is written, shown and read: groups of five digits, each followed by one blank.
inline constexpr std::size_t GroupDigits = 5;
inline constexpr std::size_t GroupWidth = GroupDigits + 1;
inline constexpr int GroupCount = 100;
inline constexpr std::size_t Length = GroupCount * GroupWidth;

// The group (from 1) that character `index` (from 0) of a pad belongs to, and its place in it (from 1; the
// blank's place is GroupWidth).
constexpr std::size_t groupOf(std::size_t index)
{
    return index / GroupWidth + 1;
}
constexpr std::size_t placeOf(std::size_t index)
{
    return index % GroupWidth + 1;
}

} // namespace quarn::PadFormat
