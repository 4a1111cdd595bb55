#include "GlyphLoader.h"

#include <QFile>
#include <QPixmap>

namespace quarn {

GlyphImages GlyphLoader::images(const QByteArray& bitmap)
{
    QImage all;
    if (!all.loadFromData(bitmap) || all.width() < 1 || all.height() < 1)
        return {};
    all = all.convertToFormat(QImage::Format_ARGB32);
    const QRgb clear = all.pixel(0, all.height() - 1);
    for (int y = 0; y < all.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(all.scanLine(y));
        for (int x = 0; x < all.width(); ++x) {
            if (row[x] == clear)
                row[x] = 0;
        }
    }
    // Pictures are as wide as the bitmap is high; a bitmap narrower than that is one picture.
    const int side = all.height();
    GlyphImages result;
    if (all.width() < 2 * side) {
        result.normal = all;
        return result;
    }
    result.normal = all.copy(0, 0, side, side);
    result.disabled = all.copy(side, 0, side, side);
    return result;
}

QIcon GlyphLoader::fromData(const QByteArray& bitmap)
{
    const GlyphImages glyph = images(bitmap);
    QIcon icon;
    if (glyph.isNull())
        return icon;
    icon.addPixmap(QPixmap::fromImage(glyph.normal), QIcon::Normal);
    if (!glyph.disabled.isNull())
        icon.addPixmap(QPixmap::fromImage(glyph.disabled), QIcon::Disabled);
    return icon;
}

QIcon GlyphLoader::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromData(file.readAll());
}

} // namespace quarn
