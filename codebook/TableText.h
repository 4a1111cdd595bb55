#pragma once

#include <array>
#include <string>

namespace quarn {

// A rule of the usage notes with its worked example. Windows-1252 bytes.
struct UsageRule
{
    const char* text;
    const char* plain;
    const char* digits; // as printed, a blank between codes
    bool decodeOnly;    // a code that only a hand-made digit string holds
};

// What the window's two pictures say, as text for those who cannot see them. The card's text is made from the
// table itself, so it cannot drift from what the encoder does; the notes' rules are the ones the sheet prints.
class TableText
{
public:
    static std::string card();

    static const char* notesTitle();
    static const std::array<UsageRule, 5>& notesRules();
    static std::string notes();
};

} // namespace quarn
