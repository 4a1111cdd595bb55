#include "CodeTable.h"

namespace quarn {

namespace {

using K = LetterKind;

// Row order matters: followers are row positions (E is row 2, N row 4, H row 11, P row 17).
constexpr std::array<LetterRow, CodeTable::LetterRowCount> kLetterRows{{
    {'A', 0, K::Single, 0},         {'E', 1, K::Single, 0},         {'I', 2, K::Single, 0},
    {'N', 3, K::Single, 0},         {'R', 4, K::OpensTrigraph, 17}, {'B', 50, K::OpensDigraph, 2},
    {'C', 52, K::OpensDigraph, 11}, {'D', 54, K::OpensDigraph, 2},  {'F', 56, K::Single, 0},
    {'G', 57, K::OpensDigraph, 2},  {'H', 59, K::Single, 0},        {'J', 60, K::Single, 0},
    {'K', 61, K::Single, 0},        {'L', 62, K::Single, 0},        {'M', 63, K::Single, 0},
    {'O', 64, K::Single, 0},        {'P', 67, K::Single, 0},        {'Q', 68, K::Single, 0},
    {'S', 69, K::Single, 0},        {'T', 70, K::OpensDigraph, 2},  {'U', 72, K::OpensDigraph, 4},
    {'V', 74, K::Single, 0},        {'W', 76, K::Single, 0},        {'X', 77, K::Single, 0},
    {'Y', 78, K::Single, 0},        {'Z', 79, K::Single, 0},        {' ', 83, K::Single, 0},
}};

constexpr std::array<FigureRow, CodeTable::FigureRowCount> kFigureRows{{
    {'.', 89}, {':', 90}, {',', 91}, {'-', 92}, {'/', 93}, {'(', 94}, {')', 95},
    {'+', 96}, {'=', 97}, {'"', 98}, {'0', 0},  {'1', 11}, {'2', 22}, {'3', 33},
    {'4', 44}, {'5', 55}, {'6', 66}, {'7', 77}, {'8', 88}, {'9', 99},
}};

} // namespace

const std::array<LetterRow, CodeTable::LetterRowCount>& CodeTable::letterRows()
{
    return kLetterRows;
}

const std::array<FigureRow, CodeTable::FigureRowCount>& CodeTable::figureRows()
{
    return kFigureRows;
}

const LetterRow* CodeTable::findLetter(char c)
{
    for (const auto& row : kLetterRows) {
        if (row.character == c)
            return &row;
    }
    return nullptr;
}

const FigureRow* CodeTable::findFigure(char c)
{
    for (const auto& row : kFigureRows) {
        if (row.character == c)
            return &row;
    }
    return nullptr;
}

char CodeTable::followerCharacter(const LetterRow& row)
{
    if (row.follower == 0 || row.follower > kLetterRows.size())
        return '\0';
    return kLetterRows[row.follower - 1].character;
}

} // namespace quarn
