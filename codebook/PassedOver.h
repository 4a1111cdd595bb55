#pragma once

#include <string>
#include <string_view>

namespace quarn {

// What the encoder passes over without a word, so that the window and quarn-cli can tell the user: a
// character missing from the table changes the message.
class PassedOver
{
public:
    // The characters of `text` (code points, after upper-casing) that have no place in the table: those
    // without a Windows-1252 form and those the table has no row for. Each once, in order of first appearance.
    static std::u32string characters(std::u32string_view text);

    // "Nicht in der Quarn-Tafel, daher übergangen: Ü ß Ö" in UTF-8; empty when `characters` is. Control
    // characters and the five bytes Windows-1252 leaves undefined are written \n, \r, \t or \xNN.
    static std::string notice(std::u32string_view characters);

    // One character as a message shows it (UTF-8), by the rule above.
    static std::string readable(char32_t character);
};

} // namespace quarn
