#pragma once

#include <cstddef>
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

    // "Nicht in der Quarn-Tafel, daher übergangen: Ü ß Ö" in UTF-8; empty when `characters` is. Characters
    // one cannot see are named in words ("Zeilenumbruch", "Tabulator", ...), each name once; then the
    // names stand apart by commas, as a blank between them would read as part of a name.
    static std::string notice(std::u32string_view characters);

    // A control character (C0, DEL, C1): it cannot be seen, and it would break a line.
    static constexpr bool isControl(char32_t character)
    {
        return character < 0x20 || (character >= 0x7F && character < 0xA0);
    }

    // One character as the notice names it (UTF-8): itself, or words for one that cannot be seen.
    static std::string name(char32_t character);

    // One character as a failure or a file name shows it (UTF-8): control characters and the five bytes
    // Windows-1252 leaves undefined are written \n, \r, \t or \xNN, so the message stays one plain line.
    static std::string readable(char32_t character);

    // Ä, Ö, Ü or ß (either case) among `characters`: the table has none of them, and a person working it by
    // hand writes AE, OE, UE and SS instead.
    static bool hasGermanLetters(std::u32string_view characters);
    // `text` with Ä, Ö, Ü and ß (either case) written as AE, OE, UE and SS; everything else as it is.
    static std::u32string withGermanLettersSpelledOut(std::u32string_view text);
    // What the window asks in place of the notice when `hasGermanLetters` (UTF-8). Where writing them out
    // would take the text past `limit` and `lost` characters would be cut off its end, the question says so
    // and its default answer is "&Nein": Enter must not cut a message.
    struct Offer
    {
        std::string question;
        bool defaultYes = true;
    };
    static Offer germanLettersOffer(std::u32string_view characters, std::size_t lost = 0, std::size_t limit = 0);
};

} // namespace quarn
