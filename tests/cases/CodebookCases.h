#pragma once

// Case tables shared by the QTest suites and the Qt-free runner that also runs on Windows.
#include <array>
#include <string_view>

namespace quarn::cases {

using namespace std::string_view_literals;

struct TextCase
{
    std::string_view name;
    std::string_view input;
    std::string_view expected;
};

// Plain text to digits.
inline constexpr std::array EncoderCases{
    TextCase{"single-digit letters", "EIN", "123"},
    TextCase{"A is one zero", "A", "0"},
    TextCase{"BE is a digraph", "BE", "51"},
    TextCase{"BEE uses only one E", "BEE", "511"},
    TextCase{"a blank breaks the digraph", "B E", "50831"},
    TextCase{"CH", "CH", "53"},
    TextCase{"SCH is S then CH", "SCH", "6953"},
    TextCase{"C alone", "C", "52"},
    TextCase{"UN TE GE DE", "UNTEGEDE", "73715855"},
    TextCase{"RPT is the trigraph", "RPT", "85"},
    TextCase{"RP is no trigraph", "RP", "467"},
    TextCase{"RPX is no trigraph", "RPX", "46777"},
    TextCase{"R opens no digraph", "RE", "41"},
    TextCase{"a figure after a letter shifts", "A1", "08211"},
    TextCase{"a blank leaves figures", "A1 B", "08211818350"},
    TextCase{"the figure 0 is written 00", "0", "8200"},
    TextCase{"figures and a point", "1.5", "82118955"},
    TextCase{"all punctuation", ".:,-/()+=\"", "8289909192939495969798"},
    TextCase{"umlauts and lower case are passed over",
             "\xC4\xD6\xDC\xDF"
             "abc!?;'*\t\r\n",
             ""},
    TextCase{"passed-over characters keep the mode", "1!2", "821122"},
    TextCase{"a digraph across a passed-over character is none", "B!E", "501"},
    TextCase{"a trigraph across a passed-over character is none", "R!PT", "46770"},
    TextCase{"no shift at the end", "9", "8299"},
    TextCase{"RPT at the very end, and RPTE", "ARPTE", "0851"},
    TextCase{"a byte 0 is passed over", "A\0E"sv, "01"},
};

// Digits to text.
inline constexpr std::array DecoderCases{
    TextCase{"single-digit letters", "0123", "AEIN"},
    TextCase{"digraphs", "5153", "BECH"},
    TextCase{"SCH", "6953", "SCH"},
    TextCase{"the trigraph is lower case", "85", "rpt"},
    TextCase{"the figure 0", "8200", "0"},
    TextCase{"figures with a point", "82118955", "1.5"},
    TextCase{"letters, figure, blank, letter", "08211818350", "A1 B"},
    TextCase{"line break", "8011", "\r\nEE"},
    TextCase{"code mark", "84", "-code-"},
    TextCase{"free letter codes", "656675", ""},
    TextCase{"86 and 87 mean nothing in both modes", "86878286871", ""},
    TextCase{"88 means nothing among letters", "88", ""},
    TextCase{"88 is 8 among figures", "8288", "8"},
    TextCase{"55 is DE among letters", "55", "DE"},
    TextCase{"55 is 5 among figures", "8255", "5"},
    TextCase{"unequal pair among figures uses both digits", "821211", "1"},
    TextCase{"trailing digit among figures", "82111", "1"},
    TextCase{"a 9 among letters is one digit", "90", "A"},
    TextCase{"nines among figures",
             "82909192939495969798"
             "99",
             ":,-/()+=\"9"},
    TextCase{"trailing 5, 6, 7 and 8 mean nothing", "05", "A"},
    TextCase{"trailing 6", "6", ""},
    TextCase{"trailing 7", "7", ""},
    TextCase{"trailing 8", "8", ""},
    TextCase{"trailing 4 is R", "4", "R"},
    TextCase{"non-digits are passed over", "0 1x2", "AEI"},
    TextCase{"a non-digit second digit is used up", "5x0", "A"},
    TextCase{"8 before a blank is used up with it", "8 0", "A"},
    TextCase{"9 before a blank among figures", "829 11", "1"},
    TextCase{"shift back to letters", "8211810", "1A"},
    TextCase{"empty input", "", ""},
};

// Windows-1252 upper case.
inline constexpr std::array UpperCaseCases{
    TextCase{"ASCII letters", "abc xyz", "ABC XYZ"},
    TextCase{"umlauts", "\xE4\xF6\xFC", "\xC4\xD6\xDC"},
    TextCase{"sharp s and micro stay", "\xDF\xB5", "\xDF\xB5"},
    TextCase{"division sign stays", "\xF7", "\xF7"},
    TextCase{"letters of the 0x80 block", "\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"},
    TextCase{"digits and marks stay", "12.,!", "12.,!"},
};

} // namespace quarn::cases
