#pragma once

#include <QDate>
#include <QString>

namespace quarn {

class Clock;

// The name the save dialogs offer: day and month in two digits, the year in four, then the extension
// with its point, e.g. "06032026.OTP". No folder: the dialog offers it wherever it opens.
class DateFileName
{
public:
    static QString forDate(QDate date, const QString& extension);
    static QString today(const Clock& clock, const QString& extension);
};

} // namespace quarn
