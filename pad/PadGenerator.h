#pragma once

#include "RandomSource.h"

#include <string>

namespace quarn {

// A pad: 100 distinct five-digit groups (00000 to 99998), each followed by a blank, in the order drawn.
class PadGenerator
{
public:
    static constexpr int GroupCount = 100;
    static constexpr std::uint32_t ValueRange = 99999; // 99999 itself is never drawn
    static constexpr std::size_t PadLength = 600;

    static std::string generate(RandomSource& source);
};

} // namespace quarn
