#include "DateFileName.h"

#include "Clock.h"

namespace quarn {

QString DateFileName::forDate(QDate date, const QString& extension)
{
    // Built by hand, not by a locale format, so that the digits never depend on the user's settings.
    return QStringLiteral("%1%2%3")
               .arg(date.day(), 2, 10, QLatin1Char('0'))
               .arg(date.month(), 2, 10, QLatin1Char('0'))
               .arg(date.year(), 4, 10, QLatin1Char('0')) +
           extension;
}

QString DateFileName::today(const Clock& clock, const QString& extension)
{
    return forDate(clock.today(), extension);
}

} // namespace quarn
