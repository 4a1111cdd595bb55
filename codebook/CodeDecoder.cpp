#include "CodeDecoder.h"

#include "CodeTable.h"

namespace quarn {

namespace {

constexpr auto isDigit = &CodeTable::isDigit;

const char* const kFiveBlock[10] = {"B", "BE", "C", "CH", "D", "DE", "F", "G", "GE", "H"};
const char* const kSixBlock[10] = {"J", "K", "L", "M", "O", "", "", "P", "Q", "S"};
const char* const kSevenBlock[10] = {"T", "TE", "U", "UN", "V", "", "W", "X", "Y", "Z"};
const char* const kNineFigures[10] = {":", ",", "-", "/", "(", ")", "+", "=", "\"", "9"};

// The one reading of the input; `emit` receives each code with its start and length.
template <typename Emit> void decodeWith(std::string_view in, Emit&& emit)
{
    using Kind = DecodedCode::Kind;
    auto mode = ShiftMode::LetterMode;
    const std::size_t len = in.size();

    // Each code is its first digit and, where the table has a two-digit code for it, the next character;
    // the decoder never backs up.
    for (std::size_t i = 0; i < len; ++i) {
        const std::size_t start = i;
        const char c = in[i];
        if (!isDigit(c))
            continue;
        const bool hasNext = i + 1 < len;
        const auto text = [&](std::string_view t) { emit(Kind::Text, start, i + 1 - start, t); };

        if (c == '8' && hasNext) {
            const char n = in[++i];
            switch (n) {
            case '0':
                text("\r\n");
                break;
            case '1':
                mode = ShiftMode::LetterMode;
                emit(Kind::ToLetters, start, 2, "");
                break;
            case '2':
                mode = ShiftMode::FigureMode;
                emit(Kind::ToFigures, start, 2, "");
                break;
            case '3':
                text(" ");
                break;
            case '4':
                text("-code-");
                break;
            case '5':
                text("rpt");
                break;
            case '8':
                text(mode == ShiftMode::FigureMode ? "8" : "");
                break;
            case '9':
                text(mode == ShiftMode::FigureMode ? "." : "");
                break;
            default:
                text("");
                break; // 86, 87 and a non-digit mean nothing
            }
            continue;
        }

        if (mode == ShiftMode::FigureMode) {
            if (!hasNext) {
                text(""); // a trailing digit in figures means nothing
                continue;
            }
            const char n = in[++i];
            if (c == '9')
                text(isDigit(n) ? kNineFigures[n - '0'] : "");
            else
                text(n == c ? std::string_view(&in[i], 1) : ""); // 00, 11, ... 77
            continue;
        }

        // LetterMode
        if (c >= '0' && c <= '4') {
            text(std::string_view(&"AEINR"[c - '0'], 1));
        } else if (c >= '5' && c <= '7' && hasNext) {
            const char n = in[++i];
            const char* const* block = c == '5' ? kFiveBlock : c == '6' ? kSixBlock : kSevenBlock;
            text(isDigit(n) ? block[n - '0'] : "");
        } else {
            text(""); // a trailing 5, 6, 7 or 8, and any 9, use up one digit and mean nothing
        }
    }
}

} // namespace

std::string CodeDecoder::decode(std::string_view in)
{
    std::string out;
    decodeWith(in, [&out](DecodedCode::Kind, std::size_t, std::size_t, std::string_view text) { out += text; });
    return out;
}

std::vector<DecodedCode> CodeDecoder::codes(std::string_view in)
{
    std::vector<DecodedCode> out;
    decodeWith(in, [&out](DecodedCode::Kind kind, std::size_t start, std::size_t length, std::string_view text) {
        out.push_back({kind, start, length, std::string(text)});
    });
    return out;
}

} // namespace quarn
