#include "CodeDecoder.h"

#include "CodeTable.h"

namespace quarn {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

const char* const kFiveBlock[10] = {"B", "BE", "C", "CH", "D", "DE", "F", "G", "GE", "H"};
const char* const kSixBlock[10] = {"J", "K", "L", "M", "O", "", "", "P", "Q", "S"};
const char* const kSevenBlock[10] = {"T", "TE", "U", "UN", "V", "", "W", "X", "Y", "Z"};
const char* const kNineFigures[10] = {":", ",", "-", "/", "(", ")", "+", "=", "\"", "9"};

} // namespace

std::string CodeDecoder::decode(std::string_view in)
{
    std::string out;
    auto mode = ShiftMode::LetterMode;
    const std::size_t len = in.size();

    // Each code is its first digit and, where the table has a two-digit code for it, the next character;
    // the decoder never backs up.
    for (std::size_t i = 0; i < len; ++i) {
        const char c = in[i];
        if (!isDigit(c))
            continue;
        const bool hasNext = i + 1 < len;

        if (c == '8' && hasNext) {
            const char n = in[++i];
            switch (n) {
            case '0': out += "\r\n"; break;
            case '1': mode = ShiftMode::LetterMode; break;
            case '2': mode = ShiftMode::FigureMode; break;
            case '3': out += ' '; break;
            case '4': out += "-code-"; break;
            case '5': out += "rpt"; break;
            case '8':
                if (mode == ShiftMode::FigureMode)
                    out += '8';
                break;
            case '9':
                if (mode == ShiftMode::FigureMode)
                    out += '.';
                break;
            default: break; // 86, 87 and a non-digit mean nothing
            }
            continue;
        }

        if (mode == ShiftMode::FigureMode) {
            if (!hasNext)
                continue; // a trailing digit in figures means nothing
            const char n = in[++i];
            if (c == '9') {
                if (isDigit(n))
                    out += kNineFigures[n - '0'];
            } else if (n == c) {
                out += c; // 00, 11, ... 77
            }
            continue;
        }

        // LetterMode
        if (c >= '0' && c <= '4') {
            out += "AEINR"[c - '0'];
        } else if (c >= '5' && c <= '7' && hasNext) {
            const char n = in[++i];
            if (isDigit(n)) {
                const char* const* block = c == '5' ? kFiveBlock : c == '6' ? kSixBlock : kSevenBlock;
                out += block[n - '0'];
            }
        }
        // a trailing 5, 6, 7 or 8, and any 9, use up one digit and mean nothing
    }
    return out;
}

} // namespace quarn
