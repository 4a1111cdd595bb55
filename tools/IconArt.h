#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>

namespace quarn {

// The program icon: a strip of five-channel punched paper tape, black on white. The punched columns spell
// the program's name in the five-bit telegraph alphabet.
class IconArt
{
public:
    // The picture sizes the icon theme gets; each is laid out for its size.
    static QList<int> sizes() { return {16, 24, 32, 48, 64, 128, 256}; }

    // The black parts of the icon at one of sizes(): the tape's two edge lines, then the holes.
    struct Shape
    {
        QRect rect;
        bool round = false;
    };
    static QList<Shape> shapes(int size);

    // size one of sizes(); a 1-bit image (black 0, white 1).
    static QImage tape(int size);

    // The icons of the program's file types for Windows Explorer, at 16 or 32 pixels, 1-bit: a sheet with
    // a folded corner that holds rows of holes (a pad) or rows of five-digit groups (a cipher text).
    enum class Document
    {
        Pad,
        Cipher
    };
    static QImage document(int size, Document kind);

    // The scalable icon: the shapes of the SvgGrid pixel picture, as SVG.
    static QByteArray svg();
    static constexpr int SvgGrid = 128;

    // The five-bit column codes punched into the strip, channel 1 first.
    static const char* const* columns(int* count);
};

} // namespace quarn
