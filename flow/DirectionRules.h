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

    static const DirectionRules& of(CipherDirection direction);
};

} // namespace quarn
