#include "GroupFormatter.h"

#include <algorithm>

namespace quarn {

GroupLayout GroupFormatter::format(std::string_view digits)
{
    GroupLayout layout;
    const std::size_t n = std::min(digits.size(), MaxDigits);
    layout.text.reserve(n + n / GroupSize);
    for (std::size_t i = 1; i <= n; ++i) {
        layout.text += digits[i - 1];
        if (i % GroupSize == 0)
            layout.text += ' ';
    }
    layout.limitReached = digits.size() >= MaxDigits;
    return layout;
}

} // namespace quarn
