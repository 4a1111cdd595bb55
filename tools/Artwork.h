#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace quarn {

// A worked example printed under a rule: the plain text and the digits, the latter with a blank between codes.
struct SheetExample
{
    QByteArray plain;  // Windows-1252
    QByteArray digits; // as printed, e.g. "82 11 89 55"
    bool decodeOnly;   // a code that only a hand-made digit string contains
};

struct SheetRule
{
    QString text;
    SheetExample example;
};

// The two pictures of the main window: the code-table card and the sheet of usage notes, printed and scanned.
class Artwork
{
public:
    static constexpr int CardWidth = 577;
    static constexpr int CardHeight = 355;
    static constexpr int SheetWidth = 880;
    static constexpr int SheetHeight = 1190;
    static constexpr int CardQuality = 88; // JPEG quality of the files written
    static constexpr int SheetQuality = 84;

    static QString cardTitle();
    static QString copyNumber();
    static QImage card();

    static QString sheetTitle();
    static QList<SheetRule> sheetRules();
    static QImage sheet();

    // True when the fonts the pictures are set in are installed; the pictures are wrong without them.
    static bool fontsAvailable(QString* missing);
};

} // namespace quarn
