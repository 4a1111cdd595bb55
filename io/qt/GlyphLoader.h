#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

namespace quarn {

// The two pictures of a button glyph: enabled and disabled, with the transparent colour already cleared.
struct GlyphImages
{
    QImage normal;
    QImage disabled; // null when the bitmap holds only one picture
    bool isNull() const { return normal.isNull(); }
};

// Button glyphs: a bitmap of square pictures side by side, the first for the enabled button, the second for the
// disabled one. Every pixel in the colour of the bitmap's bottom-left pixel is transparent.
class GlyphLoader
{
public:
    static GlyphImages images(const QByteArray& bitmap);
    static QIcon fromData(const QByteArray& bitmap); // a null icon when the data is no picture
    static QIcon load(const QString& path);
};

} // namespace quarn
