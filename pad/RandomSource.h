#pragma once

#include <cstdint>
#include <functional>

namespace quarn {

// Where pads get their randomness. Tests hand the generator a scripted source.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // A value in 0 to n - 1, each equally likely; n must be at least 1.
    virtual std::uint32_t draw(std::uint32_t n) = 0;
};

// Why a pad could not be made from a source that gives the same few values over and over (UTF-8).
inline constexpr char SourceNotRandom[] =
    "Der Zufallsgenerator liefert keine zufälligen Werte, es wurde kein OTP erzeugt";

// Maps uniform 32-bit words onto 0 to n - 1 without bias: words from the incomplete last
// stretch of the 32-bit range are thrown away and drawn again. A random source is never thrown back
// MaxRejectedWords times in a row; a stuck one is, and std::runtime_error(SourceNotRandom) ends the draw.
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
