#pragma once

#include <string>
#include <string_view>

namespace quarn {

// Digit string back to text. Non-digits are passed over; a line break comes out as CR LF.
// The whole input is decoded: there is no length cut.
class CodeDecoder
{
public:
    static std::string decode(std::string_view digits);
};

} // namespace quarn
