#pragma once

#include "PadCipher.h"

#include <cstddef>
#include <string>

namespace quarn {

// What the chosen direction sets: the input's limits and the captions that name them.
struct DirectionRules
{
    std::size_t typedLimit;  // characters the user may type or paste
    std::size_t loadedLimit; // characters a load puts into the field
    std::string inputCaption;
    std::string cipherButton;
    std::string loadButton;

    // How many characters a load reads: a little more than it keeps, for the line break that ends a file.
    std::size_t loadReadLimit() const;

    static const DirectionRules& of(CipherDirection direction);
};

// A loaded input: the line break that ends the file's last line is no part of it, and what is too long for
// the field is cut with a notice. `readCut`: the file held more than was read.
struct LoadedInput
{
    std::u32string text;
    bool tooLarge = false;

    static LoadedInput of(std::u32string text, bool readCut, CipherDirection direction);
};

} // namespace quarn
