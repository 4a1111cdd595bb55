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

} // namespace quarn
