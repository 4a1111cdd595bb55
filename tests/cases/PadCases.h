#pragma once

// Pad cipher cases shared by the QTest suite and the Qt-free runner.
#include "CodeEncoder.h"
#include "GroupFormatter.h"
#include "Messages.h"
#include "Worksheet.h"

#include <array>
#include <string>
#include <string_view>

namespace quarn::cases {

enum class PadKind
{
    Zeros,          // 100 groups 00000
    Counting,       // 12345 67890, then zeros
    ZerosWithTail,  // the zero pad followed by CR LF and letters
    LineBreakAtTwo, // the zero pad with a LF as its third character
};

inline std::string padText(PadKind kind)
{
    std::string zeros;
    for (int i = 0; i < 100; ++i)
        zeros += "00000 ";
    switch (kind) {
    case PadKind::Zeros:
        return zeros;
    case PadKind::Counting:
        return "12345 67890 " + zeros.substr(12);
    case PadKind::ZerosWithTail:
        return zeros + "\r\nxyz";
    case PadKind::LineBreakAtTwo:
        zeros[2] = '\n';
        return zeros;
    }
    return zeros;
}

// A failure as the user reads it; empty for none.
inline std::string failureText(const std::optional<Failure>& failure)
{
    return failure ? Messages::text(*failure) : std::string();
}
inline std::string failureText(const Result<>& result)
{
    return result ? std::string() : Messages::text(result.failure());
}

struct CipherCase
{
    std::string_view name;
    std::string_view groups;
    PadKind pad;
    bool decode;
    std::string_view output;
};

inline constexpr std::array CipherCases{
    CipherCase{"a zero pad leaves the groups as they are", "12345 678", PadKind::Zeros, false, "12345 678"},
    CipherCase{"a zero pad deciphers to the same digits", "12345 678", PadKind::Zeros, true, "12345 678"},
    CipherCase{"digits that add up to ten encipher to zeros", "98765 ", PadKind::Counting, false, "00000 "},
    CipherCase{"and decipher back", "00000 ", PadKind::Counting, true, "98765 "},
    CipherCase{"addition is modulo 10", "55555 55555 ", PadKind::Counting, false, "67890 12345 "},
    CipherCase{"ten digits end with a blank even without one in the input", "00000 00000", PadKind::Counting, false,
               "12345 67890 "},
    CipherCase{"eight digits are a group, a blank and three digits", "00000 000", PadKind::Counting, false,
               "12345 678"},
    CipherCase{"an empty groups text gives an empty result", "", PadKind::Counting, false, ""},
    CipherCase{"a lone blank gives an empty result", " ", PadKind::Counting, false, ""},
    CipherCase{"characters after the 600th of the pad are never read", "11111", PadKind::ZerosWithTail, false,
               "11111 "},
};

struct CipherFailureCase
{
    std::string_view name;
    std::string_view groups;
    PadKind pad;
    std::string_view message;
    std::string_view partial; // what was produced before the failure
};

inline constexpr std::array CipherFailureCases{
    CipherFailureCase{"a missing blank names the pad's blank at its place", "12345678901", PadKind::Zeros,
                      "' ' ist kein g\xC3\xBCltiger Integerwert", "12345 "},
    CipherFailureCase{"two blanks in a row name the blank", "12345  67890", PadKind::Zeros,
                      "' ' ist kein g\xC3\xBCltiger Integerwert", "12345 "},
    CipherFailureCase{"a letter is named", "12A45", PadKind::Zeros, "'A' ist kein g\xC3\xBCltiger Integerwert", "12"},
    CipherFailureCase{"two trailing blanks step onto the last one", "12345  ", PadKind::Zeros,
                      "' ' ist kein g\xC3\xBCltiger Integerwert", "12345 "},
    CipherFailureCase{"a line break in the pad is named", "12345", PadKind::LineBreakAtTwo,
                      "'\n' ist kein g\xC3\xBCltiger Integerwert", "12"},
    CipherFailureCase{"the groups character is named first", "12X45", PadKind::LineBreakAtTwo,
                      "'X' ist kein g\xC3\xBCltiger Integerwert", "12"},
};

struct WorksheetCase
{
    std::string_view name;
    std::string_view input;
    PadKind pad;
    bool decode;
    std::string_view labels; // the first line's character rows, each ended by '|'
    std::size_t pages;       // on A4
    std::size_t blocks;
    std::string_view failure;
};

inline constexpr std::array WorksheetCases{
    WorksheetCase{"letters, digraphs and the trigraph stand above their codes", "BEIM RPT", PadKind::Counting, false,
                  "Klartext    BE  I M     zwr RPT|", 1, 1, ""},
    WorksheetCase{"figures sit between the shift codes, named as on the card", "A1 B", PadKind::Counting, false,
                  "Klartext    A zi  1     bu  zwr B|", 1, 1, ""},
    WorksheetCase{"a character the table lacks is marked as passed over, beneath the next one",
                  "A\xDC"
                  "B",
                  PadKind::Counting, false, "Klartext    A B|              {\xDC}|", 1, 1, ""},
    WorksheetCase{"decoded characters stand beneath the codes they came from", "08211 81835 0", PadKind::Zeros, true,
                  "Klartext    A zi  1     bu  zwr B|", 1, 1, ""},
    WorksheetCase{"a code that means nothing shows nothing", "65 85", PadKind::Zeros, true, "Klartext        rpt|", 1,
                  1, ""},
    WorksheetCase{"a message wraps in blocks of five whole groups", "AAAAAAAAAAAAAAAAAAAAAAAAAA", PadKind::Counting,
                  false, "Klartext    A A A A A   A A A A A   A A A A A   A A A A A   A A A A A|", 1, 2, ""},
    WorksheetCase{
        "a page takes whole blocks, the rest goes on the next pages",
        "BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB"
        "BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB"
        "BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB",
        PadKind::Counting, false, "Klartext    B   B   B     B   B     B   B   B     B   B     B   B   B|", 3, 20, ""},
    WorksheetCase{"a run passed over after a full line's last digit stands after it, within the margin",
                  "AAAAAAAAAAAAAAAAAAAAAAAAA\xC4", PadKind::Counting, false,
                  "Klartext    A A A A A   A A A A A   A A A A A   A A A A A   A A A A A|"
                  "                                                                     {\xC4}|",
                  1, 1, ""},
    WorksheetCase{
        "a long run after the last digit is moved left, never past the margin",
        "AAAAAAAAAAAAAAAAAAAAAAAAA\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4", PadKind::Counting, false,
        "Klartext    A A A A A   A A A A A   A A A A A   A A A A A   A A A A A|"
        "                                                             {\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\x85}|",
        1, 1, ""},
    WorksheetCase{"a run passed over after a short line's last group stands where the next group would", "AAAAA\xC4",
                  PadKind::Counting, false, "Klartext    A A A A A   {\xC4}|", 1, 1, ""},
    WorksheetCase{"a control character passed over shows as a question mark, so that the line stays whole", "A\tB",
                  PadKind::Counting, false, "Klartext    A B|              {?}|", 1, 1, ""},
    WorksheetCase{"eight characters passed over are shown whole",
                  "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4"
                  "A",
                  PadKind::Counting, false, "Klartext    A|            {\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4}|", 1, 1, ""},
    WorksheetCase{"nine are cut with an ellipsis",
                  "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4"
                  "A",
                  PadKind::Counting, false, "Klartext    A|            {\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\x85}|", 1, 1,
                  ""},
    WorksheetCase{"blocks that fill a page to its last line stay on it",
                  "\xC4"
                  "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
                  "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
                  "AAAAAAAAAAAAAAAAAAAAAAAAA",
                  PadKind::Counting, false,
                  "Klartext    A A A A A   A A A A A   A A A A A   A A A A A   A A A A A|"
                  "            {\xC4}|",
                  1, 9, ""},
    WorksheetCase{"one line more goes on a second page",
                  "\xC4"
                  "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
                  "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"
                  "AAAAAAAAAAAAAAAAAAAAAAAAAA",
                  PadKind::Counting, false,
                  "Klartext    A A A A A   A A A A A   A A A A A   A A A A A   A A A A A|"
                  "            {\xC4}|",
                  2, 10, ""},
    WorksheetCase{"a text of characters the table lacks gives no sheet", "\xC4\xD6", PadKind::Counting, false, "", 0, 0,
                  "Nichts zu rechnen: die Eingabe ergibt keine Ziffern"},
    WorksheetCase{"a cipher the pad cipher refuses gives its failure", "12A45", PadKind::Zeros, true, "", 0, 0,
                  "'A' ist kein g\xC3\xBCltiger Integerwert"},
};

// What is wrong with the worksheet of a case; empty when nothing is. Beyond the case's own figures, in every
// column code plus pad is the cipher, the digits are those of the encoder or of the cipher text, and no line
// is wider than the paper.
inline std::string worksheetProblem(const WorksheetCase& c)
{
    const auto direction = c.decode ? CipherDirection::Decode : CipherDirection::Encode;
    const Result<Worksheet> built = Worksheet::build(c.input, padText(c.pad), direction);
    const std::string failure = built ? std::string() : Messages::text(built.failure());
    if (failure != c.failure)
        return "failure '" + failure + "'";
    if (!c.failure.empty())
        return {};
    const Worksheet& sheet = *built;
    std::string wanted = c.decode ? std::string(c.input) : CodeEncoder::encode(c.input);
    std::erase(wanted, ' ');
    if ((c.decode ? sheet.cipherDigits : sheet.codeDigits) != wanted.substr(0, GroupFormatter::MaxDigits))
        return "digits " + sheet.codeDigits;
    if (sheet.padDigits.size() != sheet.codeDigits.size() || sheet.cipherDigits.size() != sheet.codeDigits.size())
        return "rows of different length";
    for (std::size_t i = 0; i < sheet.codeDigits.size(); ++i)
        if ((sheet.codeDigits[i] - '0' + sheet.padDigits[i] - '0') % 10 != sheet.cipherDigits[i] - '0')
            return "column " + std::to_string(i) + " does not add up";
    const auto pages = sheet.pages(Paper::A4, {2026, 12, 8});
    std::string labels;
    std::size_t blocks = 0;
    for (const auto& page : pages)
        for (const std::string& line : page) {
            if (line.size() > Worksheet::MaxColumns)
                return "line too wide: " + line;
            blocks += line.starts_with("+ OTP") || line.starts_with("- OTP");
            if (blocks == (c.decode ? 1 : 0) && (line.starts_with("Klartext") || line.starts_with("    ")))
                labels += line + "|";
        }
    if (pages.size() != c.pages || blocks != c.blocks)
        return std::to_string(pages.size()) + " pages, " + std::to_string(blocks) + " blocks";
    if (labels != c.labels)
        return "labels " + labels;
    return {};
}

// SHA-256 digests as the standard gives them; a repeated input is (text, times).
struct DigestCase
{
    std::string_view name;
    std::string_view text;
    int times;
    std::string_view hex;
};

inline constexpr std::array DigestCases{
    DigestCase{"the empty message", "", 1, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    DigestCase{"abc", "abc", 1, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    DigestCase{"two blocks of padding", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 1,
               "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    DigestCase{"a million a", "a", 1000000, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

} // namespace quarn::cases
