#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarn {

// Whether the groups, and the result the cipher made of them, still belong to the input as it stands. Once the
// input is changed after "Kodieren" or "Dekodieren", neither may be taken for the message on screen: they are
// emptied, and the cipher waits for the next "Kodieren" or "Dekodieren". (Following the input instead would
// encode at every key, with the notices and the umlaut question at every key, and would show a deciphered text
// that "Dekodieren" has not yet put on screen.)
class InputGroups
{
public:
    struct Stale
    {
        bool groups = false;
        bool result = false;
    };

    // "Kodieren" or "Dekodieren" made the groups from `input`.
    void made(std::u32string input)
    {
        m_input = std::move(input);
        m_result = false;
    }
    // The cipher wrote its output from the groups.
    void resultMade() { m_result = m_input.has_value(); }
    // The groups are gone or about to be made anew (a change of direction, "Kodieren" under way).
    void forget()
    {
        m_input.reset();
        m_result = false;
    }

    // The input now reads `input`: what is no longer current. Once stale, they are forgotten.
    Stale inputIs(std::u32string_view input)
    {
        if (!m_input || *m_input == input)
            return {};
        const Stale stale{true, m_result};
        forget();
        return stale;
    }

private:
    std::optional<std::u32string> m_input;
    bool m_result = false;
};

} // namespace quarn
