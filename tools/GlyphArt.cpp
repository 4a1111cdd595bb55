#include "GlyphArt.h"

#include "ImageWriters.h"

#include <QPainter>

namespace quarn {

namespace {

// One letter per colour of the standard palette; '.' is the glyph's background.
QRgb colourOf(char c, QRgb background)
{
    static const char kLetters[] = "kmgonptsdrlybfcw";
    if (c == '.')
        return background;
    const QList<QRgb> palette = ImageWriters::standardPalette();
    for (int i = 0; i < 16; ++i) {
        if (kLetters[i] == c)
            return palette[i];
    }
    return background;
}

QImage fromRows(const char* const rows[16], QRgb background)
{
    QImage image(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, colourOf(rows[y][x], background));
    }
    return image;
}

const QRgb kPurple = qRgb(128, 0, 128);
const QRgb kOlive = qRgb(128, 128, 0);

// k black, m maroon, g green, o olive, n navy, p purple, t teal, s silver, d grey, r red, l lime, y yellow,
// b blue, f fuchsia, c aqua, w white.
const char* const kKey[16] = {
    "................", "................", "................", "................",
    "..kkkk..........", ".kyyyyk.........", "kyyooyyk........", "kyo..oykkkkkkkkk",
    "kyo..oyyyyyyyyyk", "kyyooyykkkyykyyk", ".kyyyyk..kyykyyk", "..kkkk...kkkkkkk",
    "................", "................", "................", "................",
};

const char* const kPages[16] = {
    "......kkkkkkkk..", "......kwwwwwwk..", "....kkkkkkkkwk..", "....kwwwwwwkwk..",
    "..kkkkkkkkwkwk..", "..kwwwwwwkwkwk..", "..kwnnnnwkwkwk..", "..kwwwwwwkwkwk..",
    "..kwnnnnwkwkwk..", "..kwwwwwwkwkkk..", "..kwnnnwwkwk....", "..kwwwwwwkkk....",
    "..kwnnnnwk......", "..kwwwwwwk......", "..kkkkkkkk......", "................",
};

const char* const kOpen[16] = {
    "................", "........kkkkk...", "........kwwwk...", ".kkkk...kwnwk...",
    "kyyyyk..kwwwk...", "kyyyyykkkwnwkk..", "kyyyyyyykwwwkyk.", "kyyyyyyykwnwkyk.",
    "kyyyykkkkkkkkkkk", "kyyyykyyyyyyyyok", "kyyykyyyyyyyyyok", "kyyykyyyyyyyyok.",
    "kyykyyyyyyyyyok.", "kyykyyyyyyyyok..", "kkkkkkkkkkkkkk..", "................",
};

const char* const kSave[16] = {
    "kkkkk...........", "kwwwkk..........", "kwnnwk..........", "kwwwwk..........",
    "kwnnwk.kkkkkkkkk", "kwwwwk.knsssssnk", "kkkkkk.knssnssnk", "..rr...knsssssnk",
    "..rr...knnnnnnnk", "..rr...knwwwwwnk", "rrrrrr.knwdddwnk", ".rrrr..knwwwwwnk",
    "..rr...knwdddwnk", ".......knwwwwwnk", ".......kkkkkkkkk", "................",
};

const char* const kPrint[16] = {
    "................", "....kkkkkkk.....", "....kwwwwwk.....", "....kwnnnwk.....",
    "....kwwwwwk.....", "....kwnnnwk.....", "..kkkkkkkkkkk...", ".kssssssssssdk..",
    "kwwwwwwwwwwwsdk.", "ksssssssssslsdk.", "kssssssssssssdk.", "kdddddddddddddk.",
    "kkkkkkkkkkkkkkk.", "................", "................", "................",
};

bool isDark(QRgb c)
{
    return qGray(c) <= 128;
}

Glyph make(const QString& name, const char* const rows[16], QRgb background)
{
    const QImage enabled = fromRows(rows, background);
    QImage both(32, 16, QImage::Format_RGB32);
    QPainter p(&both);
    p.drawImage(0, 0, enabled);
    p.drawImage(16, 0, GlyphArt::disabledFrom(enabled, background));
    p.end();
    return {name, background, both};
}

} // namespace

QImage GlyphArt::disabledFrom(const QImage& enabled, QRgb background)
{
    QImage out(enabled.size(), QImage::Format_RGB32);
    out.fill(background);
    const int w = enabled.width();
    const int h = enabled.height();
    auto dark = [&](int x, int y) {
        return x < w && y < h && enabled.pixel(x, y) != background && isDark(enabled.pixel(x, y));
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (dark(x, y) && x + 1 < w && y + 1 < h && !dark(x + 1, y + 1))
                out.setPixel(x + 1, y + 1, qRgb(255, 255, 255));
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (dark(x, y))
                out.setPixel(x, y, qRgb(128, 128, 128));
        }
    }
    // The transparent colour must stay in the corner that names it.
    out.setPixel(0, h - 1, background);
    return out;
}

QList<Glyph> GlyphArt::glyphs()
{
    return {make(QStringLiteral("key"), kKey, kPurple), make(QStringLiteral("pages"), kPages, kPurple),
            make(QStringLiteral("open"), kOpen, kPurple), make(QStringLiteral("save"), kSave, kOlive),
            make(QStringLiteral("print"), kPrint, kOlive)};
}

} // namespace quarn
