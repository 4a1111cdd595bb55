#include "CodeEncoder.h"

#include "CodeTable.h"

namespace quarn {

std::string CodeEncoder::encode(std::string_view text, std::size_t enough)
{
    std::string out;
    auto mode = ShiftMode::LetterMode;
    const std::size_t size = text.size();

    for (std::size_t i = 0; i < size && out.size() < enough; ++i) {
        const char c = text[i];
        if (const LetterRow* row = CodeTable::findLetter(c)) {
            if (mode == ShiftMode::FigureMode) {
                out += std::to_string(CodeTable::ToLettersCode);
                mode = ShiftMode::LetterMode;
            }
            int code = row->code;
            const char follower = CodeTable::followerCharacter(*row);
            // Only the next one or two characters are looked at; nothing further ahead or back.
            if (row->kind == LetterKind::OpensDigraph && i + 1 < size && text[i + 1] == follower) {
                code += 1;
                i += 1;
            } else if (row->kind == LetterKind::OpensTrigraph && i + 2 < size && text[i + 1] == follower &&
                       text[i + 2] == 'T') {
                code = CodeTable::TrigraphCode;
                i += 2;
            }
            out += std::to_string(code);
        } else if (const FigureRow* row = CodeTable::findFigure(c)) {
            if (mode == ShiftMode::LetterMode) {
                out += std::to_string(CodeTable::ToFiguresCode);
                mode = ShiftMode::FigureMode;
            }
            // Figures are always two digits: "0" is written as 00.
            out += row->code == 0 ? std::string("00") : std::to_string(row->code);
        }
    }
    return out;
}

} // namespace quarn
