#pragma once

#include <QImage>

namespace quarn {

// The program icon: a strip of five-channel punched paper tape, black on white. The punched columns spell
// the program's name in the five-bit telegraph alphabet.
class IconArt
{
public:
    // size 16, 32 or 128; a 1-bit image (black 0, white 1).
    static QImage tape(int size);

    // The five-bit column codes punched into the strip, channel 1 first.
    static const char* const* columns(int* count);
};

} // namespace quarn
