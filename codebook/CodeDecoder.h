#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// One code the decoder read: where it lies in the input and what it gave.
struct DecodedCode
{
    enum class Kind
    {
        Text,      // appended `text`, which may be empty: a code that means nothing
        ToLetters, // 81
        ToFigures  // 82
    };
    Kind kind = Kind::Text;
    std::size_t start = 0;
    std::size_t length = 0; // characters of the input it used, one or two
    std::string text;
};

// Digit string back to text. Non-digits are passed over; a line break comes out as CR LF.
// The whole input is decoded: there is no length cut.
class CodeDecoder
{
public:
    static std::string decode(std::string_view digits);
    // The same reading code by code, so a layout can put each text beneath the digits it came from.
    // Non-digits passed over are left out.
    static std::vector<DecodedCode> codes(std::string_view digits);
};

} // namespace quarn
