#include "Clock.h"

namespace quarn {

QDate SystemClock::today() const
{
    return QDate::currentDate();
}

} // namespace quarn
