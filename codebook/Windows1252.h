#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarn {

// The program's texts are Windows-1252 bytes; these convert them at the edges (files, widgets, terminal).
class Windows1252
{
public:
    // Unicode code point of a byte; the five bytes that Windows-1252 leaves undefined map to U+0081 etc.
    static char32_t toUnicode(unsigned char byte);
    // The byte of a code point, or nothing when Windows-1252 has no such character.
    static std::optional<unsigned char> fromUnicode(char32_t codePoint);

    // Upper case as the code page maps it: a letter whose upper-case partner lies outside Windows-1252
    // (ß, µ) stays as it is.
    static unsigned char toUpper(unsigned char byte);
    static std::string toUpper(std::string_view text);

    static std::string toUtf8(std::string_view text);
    // Appends one code point in UTF-8, as messages and notices are written.
    static void appendUtf8(std::string& out, char32_t codePoint);
};

} // namespace quarn
