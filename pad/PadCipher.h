#pragma once

#include "PadGenerator.h"

#include <functional>
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
    bool completed = false;
    std::string failure;             // why it stopped early (UTF-8); what was produced until then is kept above
    std::size_t failurePosition = 0; // the position (0-based) read when it stopped, in G and P alike
    bool failureInGroups = false;    // the character named is G's, not the pad's
};

struct PadCipherCallbacks
{
    // After each result digit: the output text so far and, in decode direction, the decoded text so far.
    std::function<void(const std::string& output, const std::string& decoded)> progress;
    // Asked for a pad when the given one is shorter than PadLength.
    std::function<std::string()> newPad;
};

class PadCipher
{
public:
    static constexpr std::size_t PadLength = PadGenerator::PadLength;

    static PadCipherResult run(std::string_view groups, std::string_view pad, CipherDirection direction,
                               const PadCipherCallbacks& callbacks = {});

    // The failure text (UTF-8) for a character that should have been a digit.
    static std::string notADigitMessage(char32_t character);
};

} // namespace quarn
