#pragma once

#include "Clock.h"

namespace quarn {

// A day that stays, for the default names of the save dialogs.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDate date) : m_date(date) {}
    QDate today() const override { return m_date; }
    void setDate(QDate date) { m_date = date; }

private:
    QDate m_date;
};

} // namespace quarn
