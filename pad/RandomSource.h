#pragma once

#include "Failure.h"

#include <cstdint>
#include <functional>

namespace quarn {

// Where pads get their randomness. Tests hand the generator a scripted source.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // A value in 0 to n - 1, each equally likely (0 for n = 0). A source that cannot give one throws Failed:
    // no pad is made, and the failure goes to the user as it is.
    virtual std::uint32_t draw(std::uint32_t n) = 0;
};

// Maps uniform 32-bit words onto 0 to n - 1 without bias: words from the incomplete last
// stretch of the 32-bit range are thrown away and drawn again. A random source is never thrown back
// MaxRejectedWords times in a row; a stuck one is, and Failed (SourceNotRandom) ends the draw.
std::uint32_t uniformBelow(std::uint32_t n, const std::function<std::uint32_t()>& nextWord);
inline constexpr int MaxRejectedWords = 64;

// The operating system's cryptographically secure generator.
class SystemRandomSource final : public RandomSource
{
public:
    std::uint32_t draw(std::uint32_t n) override;

private:
    std::uint32_t nextWord();

    // Entropy is fetched in blocks: one system call serves a whole pad.
    unsigned char m_buffer[512];
    std::size_t m_used = sizeof(m_buffer);
};

} // namespace quarn
