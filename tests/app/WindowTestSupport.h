#pragma once

#include "RandomSource.h"

#include <QString>
#include <cstdint>

namespace quarn::test {

// The two questions that guard a pad, as the window asks them.
inline const QString ReuseQuestion =
    QStringLiteral("Dieses OTP wurde schon für eine andere Nachricht benutzt. Ein OTP darf nur "
                   "einmal verwendet werden. Trotzdem chiffrieren?");
inline const QString CloseQuestion =
    QStringLiteral("Das OTP der letzten Nachricht wurde weder gespeichert noch gedruckt. Ohne "
                   "dieses OTP lässt sich die Nachricht nicht mehr dechiffrieren. Trotzdem "
                   "beenden?");

// Pads that are the same in every run: a linear congruential sequence.
class SequenceSource final : public RandomSource
{
public:
    explicit SequenceSource(std::uint32_t seed = 1) : m_state(seed) {}
    std::uint32_t draw(std::uint32_t n) override
    {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) % n;
    }

private:
    std::uint32_t m_state;
};

} // namespace quarn::test
