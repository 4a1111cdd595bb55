#pragma once

#include "PadFormat.h"
#include "RandomSource.h"

#include <string>

namespace quarn {

// A pad: 100 distinct five-digit groups (00000 to 99998), each followed by a blank, in the order drawn.
class PadGenerator
{
public:
    static constexpr int GroupCount = PadFormat::GroupCount;
    static constexpr std::uint32_t ValueRange = 99999; // 99999 itself is never drawn
    static constexpr std::size_t PadLength = PadFormat::Length;
    // A fair source repeats a group about once in twenty pads; this many repeats mean it is stuck.
    static constexpr int MaxRejectedDraws = 1000;

    // Throws Failed (SourceNotRandom) after MaxRejectedDraws repeats, so a stuck source fails
    // instead of hanging; whatever the source throws passes through.
    static std::string generate(RandomSource& source);
};

} // namespace quarn
