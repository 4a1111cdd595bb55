#include "CardLayout.h"

#include "CodeTable.h"

#include <algorithm>

namespace quarn {

namespace {

std::string figureDigits(int code)
{
    // A figure is always written with two digits.
    std::string s = std::to_string(code);
    return s.size() == 1 ? "0" + s : s;
}

void place(std::vector<CardCell>& block, std::vector<CardCell>& out, int& row)
{
    int column = 0;
    for (auto& cell : block) {
        if (column == CardLayout::Columns) {
            column = 0;
            ++row;
        }
        cell.row = row;
        cell.column = column++;
        out.push_back(cell);
    }
    if (!block.empty())
        ++row;
}

} // namespace

std::vector<CardCell> CardLayout::cells()
{
    std::vector<CardCell> letters;
    std::vector<CardCell> controls;
    for (const LetterRow& r : CodeTable::letterRows()) {
        if (r.character == ' ') {
            controls.push_back({blankMark(), std::to_string(r.code), CellKind::Control, 0, 0});
            continue;
        }
        const CellKind kind = r.code < 10 ? CellKind::SingleDigitLetter : CellKind::TwoDigitLetter;
        letters.push_back({std::string(1, r.character), std::to_string(r.code), kind, 0, 0});
        const char follower = CodeTable::followerCharacter(r);
        if (r.kind == LetterKind::OpensDigraph) {
            letters.push_back(
                {std::string{r.character, follower}, std::to_string(r.code + 1), CellKind::Combination, 0, 0});
        } else if (r.kind == LetterKind::OpensTrigraph) {
            letters.push_back({trigraphMark(), std::to_string(CodeTable::TrigraphCode), CellKind::Combination, 0, 0});
        }
    }
    // Alphabetical, so that a clerk finds a letter where he looks for it; a digraph follows its opening letter.
    std::stable_sort(letters.begin(), letters.end(),
                     [](const CardCell& a, const CardCell& b) { return a.unit < b.unit; });

    controls.push_back({lineBreakMark(), std::to_string(CodeTable::LineBreakCode), CellKind::Control, 0, 0});
    controls.push_back({toLettersMark(), std::to_string(CodeTable::ToLettersCode), CellKind::Control, 0, 0});
    controls.push_back({toFiguresMark(), std::to_string(CodeTable::ToFiguresCode), CellKind::Control, 0, 0});
    controls.push_back({codeMarkMark(), std::to_string(CodeTable::CodeMarkCode), CellKind::Control, 0, 0});

    std::vector<CardCell> figures;
    for (const FigureRow& r : CodeTable::figureRows())
        figures.push_back({std::string(1, r.character), figureDigits(r.code), CellKind::Figure, 0, 0});

    // Letters and controls share rows so that the grid stays six rows high; figures start a fresh row.
    std::vector<CardCell> out;
    int row = 0;
    letters.insert(letters.end(), controls.begin(), controls.end());
    place(letters, out, row);
    place(figures, out, row);
    return out;
}

int CardLayout::rowCount()
{
    int rows = 0;
    for (const auto& cell : cells())
        rows = std::max(rows, cell.row + 1);
    return rows;
}

} // namespace quarn
