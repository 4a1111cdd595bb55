#include "CodeEncoder.h"

#include "CodeTable.h"

namespace quarn {

namespace {

// The one walk through the text; `emit` receives each code as it is written and returns the digits so far.
template <typename Emit> void encodeWith(std::string_view text, std::size_t enough, Emit&& emit)
{
    auto mode = ShiftMode::LetterMode;
    const std::size_t size = text.size();
    std::size_t written = 0;

    for (std::size_t i = 0; i < size && written < enough; ++i) {
        const char c = text[i];
        if (const LetterRow* row = CodeTable::findLetter(c)) {
            if (mode == ShiftMode::FigureMode) {
                written = emit(EncodedCode::Kind::ToLetters, i, 0, std::to_string(CodeTable::ToLettersCode));
                mode = ShiftMode::LetterMode;
            }
            int code = row->code;
            std::size_t length = 1;
            const char follower = CodeTable::followerCharacter(*row);
            // Only the next one or two characters are looked at; nothing further ahead or back.
            if (row->kind == LetterKind::OpensDigraph && i + 1 < size && text[i + 1] == follower) {
                code += 1;
                length = 2;
            } else if (row->kind == LetterKind::OpensTrigraph && i + 2 < size && text[i + 1] == follower &&
                       text[i + 2] == 'T') {
                code = CodeTable::TrigraphCode;
                length = 3;
            }
            written = emit(EncodedCode::Kind::Characters, i, length, std::to_string(code));
            i += length - 1;
        } else if (const FigureRow* row = CodeTable::findFigure(c)) {
            if (mode == ShiftMode::LetterMode) {
                written = emit(EncodedCode::Kind::ToFigures, i, 0, std::to_string(CodeTable::ToFiguresCode));
                mode = ShiftMode::FigureMode;
            }
            // Figures are always two digits: "0" is written as 00.
            written = emit(EncodedCode::Kind::Characters, i, 1,
                           row->code == 0 ? std::string("00") : std::to_string(row->code));
        }
    }
}

} // namespace

std::string CodeEncoder::encode(std::string_view text, std::size_t enough)
{
    std::string out;
    encodeWith(text, enough, [&out](EncodedCode::Kind, std::size_t, std::size_t, const std::string& digits) {
        out += digits;
        return out.size();
    });
    return out;
}

std::vector<EncodedCode> CodeEncoder::codes(std::string_view text, std::size_t enough)
{
    std::vector<EncodedCode> out;
    std::size_t written = 0;
    encodeWith(text, enough,
               [&](EncodedCode::Kind kind, std::size_t start, std::size_t length, const std::string& digits) {
                   out.push_back({kind, start, length, digits});
                   written += digits.size();
                   return written;
               });
    return out;
}

} // namespace quarn
