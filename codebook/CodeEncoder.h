#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// One code the encoder wrote, and the characters of the text it stands for.
struct EncodedCode
{
    enum class Kind
    {
        Characters, // a letter, digraph, trigraph, the blank or a figure
        ToFigures,  // the shift into figures (82), standing for no character
        ToLetters   // the shift back (81)
    };
    Kind kind = Kind::Characters;
    std::size_t textStart = 0;  // first character it stands for; for a shift, the one that caused it
    std::size_t textLength = 0; // 0 for a shift
    std::string digits;
};

// Plain text (Windows-1252 bytes) to its digit string. Characters the table does not know are passed over.
class CodeEncoder
{
public:
    // With `enough`, it stops once that many digits are written: they are the start of the whole encoding,
    // and a long text costs no more than what the caller can show.
    static std::string encode(std::string_view text, std::size_t enough = std::string::npos);
    // The same encoding code by code, for a layout that shows which characters each code came from.
    static std::vector<EncodedCode> codes(std::string_view text, std::size_t enough = std::string::npos);
};

} // namespace quarn
