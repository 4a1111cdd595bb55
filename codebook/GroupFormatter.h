#pragma once

#include <string>
#include <string_view>

namespace quarn {

struct GroupLayout
{
    std::string text;       // groups of five digits, each followed by one blank
    bool limitReached = false; // the digit string held 500 digits or more
};

class GroupFormatter
{
public:
    static constexpr std::size_t MaxDigits = 500;
    static constexpr std::size_t GroupSize = 5;

    static GroupLayout format(std::string_view digits);
};

} // namespace quarn
