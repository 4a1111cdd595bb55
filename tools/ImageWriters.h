#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

namespace quarn {

// Encoders for the formats the program ships. They write the bytes themselves (JPEG through libjpeg) so that
// the files do not depend on which image plugins a Qt installation carries.
class ImageWriters
{
public:
    // Colour JPEG; baseline, or progressive with libjpeg's simple progression. Empty on failure.
    static QByteArray jpeg(const QImage& image, bool progressive, int quality);

    // 4 bits per pixel Windows bitmap with the given 16-colour palette. Every pixel of `image` must be one of
    // the palette's colours (alpha ignored); an unknown colour gives an empty result.
    static QByteArray bmp4(const QImage& image, const QList<QRgb>& palette);

    // Windows icon of black-on-white images, one 1-bit entry each, in the given order.
    static QByteArray monochromeIco(const QList<QImage>& images);

    // The 16 colours of the standard Windows palette, in their usual order (purple at 5, olive at 3).
    static QList<QRgb> standardPalette();
};

} // namespace quarn
