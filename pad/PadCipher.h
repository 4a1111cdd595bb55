#pragma once

#include "Failure.h"
#include "PadGenerator.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quarn {

enum class CipherDirection
{
    Encode, // add the pad digit by digit, modulo 10
    Decode  // subtract it, then decode the digits into text
};

struct PadCipherResult
{
    std::string output;  // result digits with a blank after every fifth
    std::string digits;  // result digits alone
    std::string read;    // the digits of G that were read, one for each result digit
    std::string padRead; // the pad digits they met
    std::string decoded; // decode direction: the digits decoded into text
    std::string pad;     // the pad that was used (a new one if the caller was asked for it)
    // Why it stopped early: a short pad, or a character that is no digit at its position (0-based) in G and P
    // alike. What was produced until then is kept above.
    std::optional<Failure> failure;
};

struct PadCipherCallbacks
{
    // Asked for a pad when the given one is shorter than PadLength.
    std::function<std::string()> newPad;
};

class PadCipher
{
public:
    static constexpr std::size_t PadLength = PadGenerator::PadLength;

    static PadCipherResult run(std::string_view groups, std::string_view pad, CipherDirection direction,
                               const PadCipherCallbacks& callbacks = {});
};

} // namespace quarn
