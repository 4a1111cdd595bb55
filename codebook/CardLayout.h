#pragma once

#include <string>
#include <vector>

namespace quarn {

// What a cell of the printed card holds; the card colours its cells by this.
enum class CellKind
{
    SingleDigitLetter, // A E I N R
    TwoDigitLetter,    // the other letters
    Combination,       // digraphs and the trigraph
    Control,           // shifts, blank, line break, code mark
    Figure             // figures and punctuation
};

struct CardCell
{
    std::string unit; // as printed: a letter, digraph, mark or figure
    std::string code; // the digits written for it, e.g. "0", "51", "00"
    CellKind kind;
    int row; // 0-based position in the card's grid
    int column;
};

// The card's cells, made from the code table itself so that the card cannot disagree with it.
// Letters first in alphabetical order (digraphs and the trigraph after their opening letter), then the
// control signs, then punctuation and figures, each block starting on a new row.
class CardLayout
{
public:
    static constexpr int Columns = 10;

    static std::vector<CardCell> cells();
    static int rowCount();

    // The printed marks of the control codes.
    static const char* blankMark() { return "ZWR"; }
    static const char* lineBreakMark() { return "NZ"; }
    static const char* toLettersMark() { return "BU"; }
    static const char* toFiguresMark() { return "ZI"; }
    static const char* codeMarkMark() { return "CODE"; }
    static const char* trigraphMark() { return "RPT"; }
};

} // namespace quarn
