#pragma once

#include <array>
#include <cstdint>

namespace quarn {

// The two states of the table's shift mechanism: 82 leads into figures, 81 back to letters.
enum class ShiftMode
{
    LetterMode,
    FigureMode
};

enum class LetterKind : std::uint8_t
{
    Single = 0,       // the letter stands alone
    OpensDigraph = 1, // BE, CH, DE, GE, TE, UN
    OpensTrigraph = 2 // RPT
};

struct LetterRow
{
    char character;
    std::uint8_t code;
    LetterKind kind;
    std::uint8_t follower; // 1-based row of the completing letter, 0 for none
};

struct FigureRow
{
    char character;
    std::uint8_t code;
};

class CodeTable
{
public:
    // A digit of a code, as the decoder and the cipher read it.
    static constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

    static constexpr int LetterRowCount = 27;
    static constexpr int FigureRowCount = 20;

    static constexpr std::uint8_t LineBreakCode = 80;
    static constexpr std::uint8_t ToLettersCode = 81;
    static constexpr std::uint8_t ToFiguresCode = 82;
    static constexpr std::uint8_t CodeMarkCode = 84;
    static constexpr std::uint8_t TrigraphCode = 85;

    static const std::array<LetterRow, LetterRowCount>& letterRows();
    static const std::array<FigureRow, FigureRowCount>& figureRows();

    // nullptr for a character the table has no row for.
    static const LetterRow* findLetter(char c);
    static const FigureRow* findFigure(char c);

    static char followerCharacter(const LetterRow& row);
};

} // namespace quarn
