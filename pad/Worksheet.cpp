#include "Worksheet.h"

#include "CardLayout.h"
#include "CodeDecoder.h"
#include "CodeEncoder.h"
#include "GroupFormatter.h"
#include "PassedOver.h"
#include "Windows1252.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace quarn {

namespace {

constexpr std::size_t LabelWidth = 12;                              // "= Chiffrat " and a blank
constexpr std::size_t DigitsPerLine = Worksheet::GroupsPerLine * 5; // 25
constexpr std::size_t GroupWidth = 5 * 2 + 2;                       // digits with a blank each, two more
constexpr std::size_t MaxPassedOverShown = 8;

// The column of a digit within its line: the digits stand apart so that a pencil fits between them.
std::size_t columnOf(std::size_t digit)
{
    const std::size_t inLine = digit % DigitsPerLine;
    return LabelWidth + inLine / 5 * GroupWidth + inLine % 5 * 2;
}

std::string padded(std::string_view label)
{
    std::string out(label);
    out.resize(LabelWidth, ' ');
    return out;
}

// A row of digits from `first` up to the line's end, each in its column.
std::string digitRow(std::string_view label, std::string_view digits, std::size_t first)
{
    std::string row = padded(label);
    const std::size_t end = std::min(digits.size(), first + DigitsPerLine);
    for (std::size_t d = first; d < end; ++d) {
        row.resize(columnOf(d), ' ');
        row += digits[d];
    }
    return row;
}

// The labels of one line, each at its digit's column; one that would touch the label before it goes to a
// further row below, so none hides another. A run passed over after the last of `total` digits stands after it.
std::vector<std::string> labelRows(std::string_view title, const std::vector<Worksheet::Label>& labels,
                                   std::size_t first, std::size_t total)
{
    std::vector<std::string> rows{padded(title)};
    for (const Worksheet::Label& label : labels) {
        const bool afterLast = label.digit == total && total % DigitsPerLine == 0;
        const std::size_t digit = afterLast ? label.digit - 1 : label.digit;
        if (label.text.empty() || digit < first || digit >= first + DigitsPerLine)
            continue;
        // A label never runs past the margin: one that would is moved left, to a row of its own if need be.
        const std::size_t wanted = columnOf(digit) + (afterLast ? 2 : 0);
        const std::size_t column =
            std::min(wanted, Worksheet::MaxColumns - std::min(label.text.size(), Worksheet::MaxColumns - LabelWidth));
        auto row = std::find_if(rows.begin(), rows.end(),
                                [&](const std::string& r) { return r.size() <= LabelWidth || r.size() < column; });
        if (row == rows.end())
            row = rows.insert(rows.end(), padded(""));
        row->resize(column, ' ');
        *row += label.text;
    }
    return rows;
}

// The card's marks in small letters, so that they stand apart from a message's capitals.
std::string mark(std::string_view cardMark)
{
    std::string out(cardMark);
    for (char& c : out)
        c = static_cast<char>(c - 'A' + 'a');
    return out;
}

const std::string blankMark = mark(CardLayout::blankMark());
const std::string lineBreakMark = mark(CardLayout::lineBreakMark());
const std::string toFiguresMark = mark(CardLayout::toFiguresMark());
const std::string toLettersMark = mark(CardLayout::toLettersMark());

// What a code of the encoder stands for, in the words of the table's card where it has a sign of its own.
std::string shownCharacters(std::string_view characters)
{
    return characters == " " ? blankMark : std::string(characters);
}

std::string passedOverLabel(std::string_view run)
{
    std::string shown(run.substr(0, MaxPassedOverShown));
    for (char& c : shown)
        if (PassedOver::isControl(Windows1252::toUnicode(static_cast<unsigned char>(c))))
            c = '?'; // a control character would break the line
    if (run.size() > MaxPassedOverShown)
        shown += '\x85'; // the ellipsis
    return "{" + shown + "}";
}

// The three digit rows, as the pad cipher read and wrote them; the cipher's failure when it stopped.
Result<> cipherRows(Worksheet& sheet, std::string_view groups, std::string_view pad)
{
    const PadCipherResult result = PadCipher::run(groups, pad, sheet.direction);
    const bool encode = sheet.direction == CipherDirection::Encode;
    sheet.padDigits = result.padRead;
    (encode ? sheet.codeDigits : sheet.cipherDigits) = result.read;
    (encode ? sheet.cipherDigits : sheet.codeDigits) = result.digits;
    if (result.failure)
        return *result.failure;
    return {};
}

Result<> buildEncode(Worksheet& sheet, std::string_view text, std::string_view pad)
{
    const std::vector<EncodedCode> codes = CodeEncoder::codes(text, GroupFormatter::MaxDigits);
    std::string digits;
    std::size_t covered = 0;
    for (const EncodedCode& code : codes) {
        // What was passed over before this code stands with it, under the code's own characters.
        std::string passedOver;
        if (code.textStart > covered)
            passedOver = passedOverLabel(text.substr(covered, code.textStart - covered));
        covered = std::max(covered, code.textStart + code.textLength);
        const std::string shown = code.kind == EncodedCode::Kind::ToFigures ? toFiguresMark
                                  : code.kind == EncodedCode::Kind::ToLetters
                                      ? toLettersMark
                                      : shownCharacters(text.substr(code.textStart, code.textLength));
        if (digits.size() < GroupFormatter::MaxDigits) {
            sheet.labels.push_back({digits.size(), shown});
            if (!passedOver.empty())
                sheet.labels.push_back({digits.size(), passedOver});
        }
        digits += code.digits;
    }
    // Characters after the last code are passed over only when the encoder got that far.
    if (covered < text.size() && digits.size() < GroupFormatter::MaxDigits)
        sheet.labels.push_back({digits.size(), passedOverLabel(text.substr(covered))});

    return cipherRows(sheet, GroupFormatter::format(digits).text, pad);
}

Result<> buildDecode(Worksheet& sheet, std::string_view cipher, std::string_view pad)
{
    if (Result<> rows = cipherRows(sheet, cipher, pad); !rows)
        return rows;
    for (const DecodedCode& code : CodeDecoder::codes(sheet.codeDigits)) {
        std::string shown = code.kind == DecodedCode::Kind::ToFigures   ? toFiguresMark
                            : code.kind == DecodedCode::Kind::ToLetters ? toLettersMark
                            : code.text == "\r\n"                       ? lineBreakMark
                                                                        : shownCharacters(code.text);
        sheet.labels.push_back({code.start, std::move(shown)});
    }
    return {};
}

std::vector<std::string> header(CipherDirection direction, Worksheet::Date date, std::size_t page,
                                std::size_t pageCount)
{
    const bool encode = direction == CipherDirection::Encode;
    char when[64];
    std::snprintf(when, sizeof when, "%02d.%02d.%04d, Seite %zu von %zu", date.day, date.month, date.year, page,
                  pageCount);
    std::string title = encode ? "Quarn-Arbeitsblatt: Chiffrieren" : "Quarn-Arbeitsblatt: Dechiffrieren";
    title.resize(Worksheet::MaxColumns - std::string_view(when).size(), ' ');
    return {
        title + when,
        "ACHTUNG: Dieses Blatt enth\xE4lt das OTP. Nach Gebrauch vernichten!",
        encode ? "Code + OTP = Chiffrat, Ziffer f\xFCr Ziffer ohne \xDC"
                 "bertrag (modulo 10)."
               : "Chiffrat - OTP = Code, Ziffer f\xFCr Ziffer ohne \xDC"
                 "bertrag (modulo 10).",
        toFiguresMark + ", " + toLettersMark + ": Umschaltung auf Ziffern, auf Buchstaben; " + blankMark +
            ": Zwischenraum;",
        lineBreakMark + ": neue Zeile; {...}: nicht in der Quarn-Tafel, daher \xFC"
                        "bergangen.",
        "",
    };
}

} // namespace

Result<Worksheet> Worksheet::build(std::string_view input, std::string_view pad, CipherDirection direction)
{
    Worksheet sheet;
    sheet.direction = direction;
    const Result<> rows =
        direction == CipherDirection::Encode ? buildEncode(sheet, input, pad) : buildDecode(sheet, input, pad);
    if (!rows)
        return rows.failure();
    if (sheet.codeDigits.empty())
        return Failure{Failure::Kind::NothingToWorkOut};
    return sheet;
}

std::vector<std::vector<std::string>> Worksheet::pages(Paper paper, Date date) const
{
    std::vector<std::vector<std::string>> blocks;
    const bool encode = direction == CipherDirection::Encode;
    for (std::size_t first = 0; first < codeDigits.size(); first += DigitsPerLine) {
        const std::vector<std::string> text = labelRows("Klartext", labels, first, codeDigits.size());
        std::vector<std::string> block;
        if (encode) {
            block = text;
            block.push_back(digitRow("Code", codeDigits, first));
            block.push_back(digitRow("+ OTP", padDigits, first));
            block.push_back(digitRow("= Chiffrat", cipherDigits, first));
        } else {
            block.push_back(digitRow("Chiffrat", cipherDigits, first));
            block.push_back(digitRow("- OTP", padDigits, first));
            block.push_back(digitRow("= Code", codeDigits, first));
            block.insert(block.end(), text.begin(), text.end());
        }
        block.emplace_back();
        blocks.push_back(std::move(block));
    }

    // Whole blocks on each page, below the header.
    const std::size_t headerLines = header(direction, date, 1, 1).size();
    const auto perPage = static_cast<std::size_t>((pageHeight(paper) - 2 * MarginPoints) / LinePoints);
    std::vector<std::vector<std::string>> bodies(1);
    for (auto& block : blocks) {
        if (!bodies.back().empty() && headerLines + bodies.back().size() + block.size() > perPage)
            bodies.emplace_back();
        bodies.back().insert(bodies.back().end(), block.begin(), block.end());
    }
    std::vector<std::vector<std::string>> out;
    for (std::size_t p = 0; p < bodies.size(); ++p) {
        std::vector<std::string> page = header(direction, date, p + 1, bodies.size());
        page.insert(page.end(), bodies[p].begin(), bodies[p].end());
        out.push_back(std::move(page));
    }
    return out;
}

double Worksheet::pageHeight(Paper paper)
{
    return paper == Paper::Letter ? 792 : 841.89;
}

Paper Worksheet::paperFor(std::string_view localeName)
{
    const std::size_t underscore = localeName.find('_');
    if (underscore == std::string_view::npos)
        return Paper::A4;
    const std::string_view territory = localeName.substr(underscore + 1, 2);
    static constexpr std::array<std::string_view, 12> letter{"US", "CA", "MX", "PR", "PH", "CL",
                                                             "CO", "VE", "CR", "GT", "PA", "SV"};
    return std::find(letter.begin(), letter.end(), territory) != letter.end() ? Paper::Letter : Paper::A4;
}

} // namespace quarn
