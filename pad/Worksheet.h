#pragma once

#include "PadCipher.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

enum class Paper
{
    A4,
    Letter
};

// What a worksheet shows, so that a person can check the procedure with a pencil: in encode direction each
// plain-text character above the digits of its code, the code, the pad and their sum; in decode direction the
// cipher, the pad, their difference and the characters decoded from it. It is made by the encoder, the decoder
// and the pad cipher themselves, so it can never disagree with them. Texts are Windows-1252 bytes.
class Worksheet
{
public:
    // Every renderer lays the lines out alike: a monospaced face at this size, in points, on this pitch,
    // from this margin, so that the page breaks below hold on paper and in any PDF.
    static constexpr double FontPoints = 11;
    static constexpr double LinePoints = 14;
    static constexpr double MarginPoints = 56.7;             // 20 mm
    static constexpr double BaselinePoints = 9;              // the first line's baseline below the margin
    static constexpr double ColumnPoints = FontPoints * 0.6; // the advance of a monospaced face
    static constexpr std::size_t GroupsPerLine = 5;
    static constexpr std::size_t MaxColumns = 72; // what fits between the margins, on A4 and Letter

    struct Label
    {
        std::size_t digit; // the digit it stands at (a passed-over run after the last digit: one past it)
        std::string text;
    };
    struct Date
    {
        int year;
        int month;
        int day;
    };

    // `input` is the plain text as the encoder takes it (encode direction) or the cipher text (decode);
    // `pad` the pad field's text. Fails as the cipher does, or when there is nothing to work out.
    static Result<Worksheet> build(std::string_view input, std::string_view pad, CipherDirection direction);

    CipherDirection direction = CipherDirection::Encode;
    std::string codeDigits; // the code digits, without blanks
    std::string padDigits;  // the pad digit added to or taken from each
    std::string cipherDigits;
    std::vector<Label> labels; // the characters (or what a code stands for) by digit, in order

    // The sheet as lines, page by page: a header on every page (title, date, page, the warning that the sheet
    // holds the pad), then blocks of whole groups that a page never splits.
    std::vector<std::vector<std::string>> pages(Paper paper, Date date) const;

    static double pageHeight(Paper paper);
    // Letter for the territories that use it (the locale name's part after "_", as in "en_US.UTF-8").
    static Paper paperFor(std::string_view localeName);
};

} // namespace quarn
