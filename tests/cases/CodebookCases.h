#pragma once

// Case tables shared by the QTest suites and the Qt-free runner that also runs on Windows.
#include <array>
#include <string>
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

struct InputCase
{
    std::string_view name;
    std::string_view bytes;
    bool cutShort;
    std::u32string_view characters;
};

// Bytes as the program reads them: UTF-8 when valid and not plain ASCII, Windows-1252 otherwise.
inline constexpr std::array InputTextCases{
    InputCase{"ASCII is ASCII", "Abc 12\r\n", false, U"Abc 12\r\n"},
    InputCase{"UTF-8 umlauts are one character each",
              "Gr\xC3\xBC\xC3\x9F"
              "e",
              false, U"Gr\u00FC\u00DFe"},
    InputCase{"Windows-1252 umlauts are one byte each",
              "Gr\xFC\xDF"
              "e",
              false, U"Gr\u00FC\u00DFe"},
    InputCase{"Windows-1252 bytes that form valid UTF-8 read as UTF-8", "\xC3\xBC", false, U"\u00FC"},
    InputCase{"one byte that is not UTF-8 makes it all Windows-1252", "\xC3\xBC\xFC", false, U"\u00C3\u00BC\u00FC"},
    InputCase{"the euro sign from either encoding", "\xE2\x82\xAC\x80", false, U"\u00E2\u201A\u00AC\u20AC"},
    InputCase{"UTF-8 euro sign", "\xE2\x82\xAC", false, U"\u20AC"},
    InputCase{"a character beyond the basic plane", "a\xF0\x9F\x98\x80", false, U"a\U0001F600"},
    InputCase{"an overlong form is not UTF-8", "\xC0\xAF", false, U"\u00C0\u00AF"},
    InputCase{"a surrogate is not UTF-8", "\xED\xA0\x80", false, U"\u00ED\u00A0\u20AC"},
    InputCase{"above U+10FFFF is not UTF-8", "\xF4\x90\x80\x80", false, U"\u00F4\u0090\u20AC\u20AC"},
    InputCase{"the largest code point is UTF-8", "\xF4\x8F\xBF\xBF", false, U"\U0010FFFF"},
    InputCase{"a sequence cut at the end of a whole text is not UTF-8", "\xC3\xBC\xC3", false, U"\u00C3\u00BC\u00C3"},
    InputCase{"a sequence cut where the reader stopped is left out", "\xC3\xBC\xE2\x82", true, U"\u00FC"},
    InputCase{"an undefined Windows-1252 byte keeps its own value", "\x81\x8D", false, U"\u0081\u008D"},
    InputCase{"a C1 control in UTF-8 is its own code point", "\xC2\x80", false, U"\u0080"},
    InputCase{"a byte 0 is a character", std::string_view("A\0\xC3\xBC", 4), false,
              std::u32string_view(U"A\0\u00FC", 3)},
};

} // namespace quarn::cases
