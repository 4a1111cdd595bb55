#include "RandomSource.h"

#include "SystemEntropy.h"

#include <cstring>

namespace quarn {

std::uint32_t uniformBelow(std::uint32_t n, const std::function<std::uint32_t()>& nextWord)
{
    // No value lies below 0: the one answer that is no division by zero.
    if (n == 0)
        return 0;
    // 2^32 mod n words at the bottom would make low values more likely; reject them.
    const std::uint32_t threshold = static_cast<std::uint32_t>(-n) % n;
    for (int rejected = 0; rejected < MaxRejectedWords; ++rejected) {
        const std::uint32_t word = nextWord();
        if (word >= threshold)
            return word % n;
    }
    throw Failed({Failure::Kind::SourceNotRandom});
}

std::uint32_t SystemRandomSource::draw(std::uint32_t n)
{
    return uniformBelow(n, [this] { return nextWord(); });
}

std::uint32_t SystemRandomSource::nextWord()
{
    if (m_used + sizeof(std::uint32_t) > sizeof(m_buffer)) {
        fillWithSystemEntropy(m_buffer, sizeof(m_buffer));
        m_used = 0;
    }
    std::uint32_t word;
    std::memcpy(&word, m_buffer + m_used, sizeof(word));
    // Spent bytes are wiped so the pad cannot be recovered from this object later.
    std::memset(m_buffer + m_used, 0, sizeof(word));
    m_used += sizeof(word);
    return word;
}

} // namespace quarn
