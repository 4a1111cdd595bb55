#pragma once

#include <QDate>

namespace quarn {

// Where today's local date comes from: the system in the program, a fixed day in tests.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class SystemClock : public Clock
{
public:
    QDate today() const override;
};

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
