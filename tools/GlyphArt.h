#pragma once

#include <QImage>
#include <QList>
#include <QRgb>
#include <QString>

namespace quarn {

struct Glyph
{
    QString name;     // file name without extension
    QRgb transparent; // the bottom-left pixel's colour, drawn as background
    QImage image;     // 32 x 16: enabled picture, then the disabled one
};

// The five button glyphs, drawn pixel by pixel in the 16 standard colours.
class GlyphArt
{
public:
    static QList<Glyph> glyphs();

    // The disabled picture: the enabled one's dark pixels in grey with a white edge below and right,
    // everything else background.
    static QImage disabledFrom(const QImage& enabled, QRgb background);
};

} // namespace quarn
