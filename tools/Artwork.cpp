#include "Artwork.h"

#include "CardLayout.h"
#include "TableText.h"
#include "Windows1252.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quarn {

namespace {

const QString kSans = QStringLiteral("Liberation Sans");
const QString kSerif = QStringLiteral("Liberation Serif");
const QString kMono = QStringLiteral("Liberation Mono");

// A fixed generator, so that the tool makes the same files on every run.
class Noise
{
public:
    explicit Noise(std::uint32_t seed) : m_state(seed ? seed : 1) {}
    std::uint32_t next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    double unit() { return double(next() >> 8) / double(1u << 24); } // [0, 1)

private:
    std::uint32_t m_state;
};

// A slowly varying field in [0, 1], bilinearly spread from a coarse random grid.
QImage smoothField(QSize size, int cellsAcross, Noise& noise)
{
    const int gw = std::max(2, cellsAcross);
    const int gh = std::max(2, cellsAcross * size.height() / std::max(1, size.width()));
    QImage grid(gw, gh, QImage::Format_Grayscale8);
    for (int y = 0; y < gh; ++y) {
        for (int x = 0; x < gw; ++x)
            grid.scanLine(y)[x] = uchar(noise.next() & 0xFF);
    }
    return grid.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QFont font(const QString& family, int pixels, bool bold = false, bool italic = false)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// The print (dark on white, drawn at twice the size) laid onto paper as a scanner sees it: slightly turned,
// ink a little uneven, paper toned with fibres and grain, a soft shadow where the sheet met the scanner lid.
QImage scan(const QImage& print2x, QSize size, QRgb paper, double degrees, std::uint32_t seed, double grainLevels)
{
    QImage ink(size, QImage::Format_RGB32);
    ink.fill(Qt::white);
    {
        QPainter p(&ink);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(size.width() / 2.0, size.height() / 2.0);
        p.rotate(degrees);
        p.scale(0.5, 0.5);
        p.translate(-print2x.width() / 2.0, -print2x.height() / 2.0);
        p.drawImage(0, 0, print2x);
    }

    Noise noise(seed);
    const QImage tone = smoothField(size, 9, noise);
    const QImage inkField = smoothField(size, 23, noise);
    QImage out(size, QImage::Format_RGB32);
    const int w = size.width();
    const int h = size.height();
    for (int y = 0; y < h; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(ink.constScanLine(y));
        const uchar* t = tone.constScanLine(y);
        const uchar* k = inkField.constScanLine(y);
        QRgb* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            // Paper: tone varies by about 5 per cent, grain by a few levels, darker towards the edges.
            const double edge = std::min({x + 1.0, y + 1.0, w - double(x), h - double(y)});
            const double shade = 1.0 - 0.10 * std::exp(-edge / 3.5);
            const double lit = (0.955 + 0.05 * t[x] / 255.0) * shade;
            const double grain = (noise.unit() - 0.5) * grainLevels;
            // Ink: the print's darkness, applied 88 to 100 per cent.
            const double strength = 0.88 + 0.12 * k[x] / 255.0;
            auto channel = [&](int paperC, int printC) {
                const double printed = 1.0 - strength * (1.0 - printC / 255.0);
                return std::clamp(int(std::lround(paperC * lit * printed + grain)), 0, 255);
            };
            o[x] = qRgb(channel(qRed(paper), qRed(in[x])), channel(qGreen(paper), qGreen(in[x])),
                        channel(qBlue(paper), qBlue(in[x])));
        }
    }

    // A few paper fibres.
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < w * h / 9000; ++i) {
        const double x = noise.unit() * w;
        const double y = noise.unit() * h;
        const double a = noise.unit() * 6.283;
        const double len = 2.0 + noise.unit() * 6.0;
        p.setPen(QPen(QColor(120, 100, 70, 40 + int(noise.unit() * 40)), 0.6));
        p.drawLine(QPointF(x, y), QPointF(x + len * std::cos(a), y + len * std::sin(a)));
    }
    return out;
}

QColor cellColour(CellKind kind)
{
    switch (kind) {
    case CellKind::SingleDigitLetter:
        return QColor(238, 160, 150); // rose
    case CellKind::TwoDigitLetter:
        return QColor(244, 226, 140); // straw
    case CellKind::Combination:
        return QColor(170, 214, 150); // green
    case CellKind::Control:
        return QColor(150, 192, 228); // blue
    case CellKind::Figure:
        return QColor(205, 185, 222); // lilac
    }
    return Qt::white;
}

// Largest bold pixel size, at most `pixels`, at which `text` fits `width`.
QFont fitted(const QString& family, int pixels, const QString& text, int width)
{
    for (int px = pixels; px > 8; --px) {
        const QFont f = font(family, px, true);
        if (QFontMetrics(f).horizontalAdvance(text) <= width)
            return f;
    }
    return font(family, 8, true);
}

QStringList wrap(const QString& text, const QFont& f, int width)
{
    const QFontMetrics fm(f);
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && fm.horizontalAdvance(candidate) > width) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

const QColor kInk(28, 26, 30);
const QColor kRedInk(170, 30, 28);

} // namespace

QString Artwork::cardTitle()
{
    return QStringLiteral("QUARN-TAFEL");
}

QString Artwork::copyNumber()
{
    return QStringLiteral("0427");
}

QImage Artwork::card()
{
    // Drawn at twice the size; all measures below are in final pixels.
    QImage print(CardWidth * 2, CardHeight * 2, QImage::Format_RGB32);
    print.fill(Qt::white);
    QPainter p(&print);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(2, 2);

    const int margin = 10;
    const int gridTop = 54;
    const int footer = 22;

    // Header: table name, what it is for, copy number.
    p.setPen(kInk);
    p.setFont(font(kSerif, 30, true));
    p.drawText(QRect(margin + 2, 6, 340, 34), Qt::AlignLeft | Qt::AlignVCenter, cardTitle());
    p.setFont(font(kSans, 12));
    p.drawText(QRect(margin + 2, 36, 360, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Buchstaben, Zeichen und Ziffern  \u00B7  Handverfahren"));
    p.setPen(kRedInk);
    p.setFont(font(kMono, 22, true));
    p.drawText(QRect(CardWidth - margin - 160, 8, 158, 28), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Nr. ") + copyNumber());
    p.setPen(kInk);
    p.setFont(font(kSans, 11));
    p.drawText(QRect(CardWidth - margin - 200, 36, 198, 14), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Ausfertigung"));
    p.setPen(QPen(kInk, 1.6));
    p.drawLine(QPointF(margin, gridTop - 4), QPointF(CardWidth - margin, gridTop - 4));

    // The grid.
    const auto cells = CardLayout::cells();
    const int rows = CardLayout::rowCount();
    const double cw = double(CardWidth - 2 * margin) / CardLayout::Columns;
    const double ch = double(CardHeight - gridTop - footer - 4) / rows;
    p.setPen(Qt::NoPen);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < CardLayout::Columns; ++c) {
            // Unused places are hatched, as a printer marks a field that is left free.
            const QRectF box(margin + c * cw, gridTop + r * ch, cw, ch);
            p.save();
            p.setClipRect(box);
            p.setPen(QPen(QColor(150, 150, 150), 0.8));
            for (double d = -ch; d < cw; d += 6)
                p.drawLine(QPointF(box.left() + d, box.bottom()), QPointF(box.left() + d + ch, box.top()));
            p.restore();
        }
    }
    for (const CardCell& cell : cells) {
        const QRectF box(margin + cell.column * cw, gridTop + cell.row * ch, cw, ch);
        p.fillRect(box, Qt::white);
        p.fillRect(box.adjusted(1.5, 1.5, -1.5, -1.5), cellColour(cell.kind));
        const QString unit = QString::fromLatin1(cell.unit.c_str());
        const QString code = QString::fromLatin1(cell.code.c_str());
        p.setPen(kInk);
        // A lone punctuation mark is small in any font; print it larger so that it reads at a glance.
        const bool mark = cell.kind == CellKind::Figure && !(cell.unit[0] >= '0' && cell.unit[0] <= '9');
        p.setFont(mark ? font(kSans, 30, true) : fitted(kSans, 22, unit, int(cw) - 8));
        p.drawText(box.adjusted(2, 2, -2, -ch * 0.40), Qt::AlignHCenter | Qt::AlignBottom, unit);
        p.setFont(font(kMono, 17, true));
        p.drawText(box.adjusted(2, ch * 0.58, -2, -2), Qt::AlignHCenter | Qt::AlignTop, code);
    }
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::NoBrush);
    for (int r = 0; r <= rows; ++r)
        p.drawLine(QPointF(margin, gridTop + r * ch), QPointF(CardWidth - margin, gridTop + r * ch));
    for (int c = 0; c <= CardLayout::Columns; ++c)
        p.drawLine(QPointF(margin + c * cw, gridTop), QPointF(margin + c * cw, gridTop + rows * ch));
    p.setPen(QPen(kInk, 2.0));
    p.drawRect(QRectF(margin, gridTop, CardWidth - 2 * margin, rows * ch));

    // Footer: the colour key in small print.
    const struct
    {
        CellKind kind;
        const char* label;
    } keys[] = {{CellKind::SingleDigitLetter, "einstellig"},
                {CellKind::TwoDigitLetter, "zweistellig"},
                {CellKind::Combination, "Buchstabengruppe"},
                {CellKind::Control, "Umschaltung, Steuerzeichen"},
                {CellKind::Figure, "Satzzeichen, Ziffern (nach ZI)"}};
    p.setFont(font(kSans, 10));
    double x = margin;
    const double y = CardHeight - footer + 6;
    for (const auto& key : keys) {
        p.fillRect(QRectF(x, y + 1, 10, 10), cellColour(key.kind));
        p.setPen(QPen(kInk, 0.8));
        p.drawRect(QRectF(x, y + 1, 10, 10));
        const QString label = QString::fromUtf8(key.label);
        p.drawText(QPointF(x + 14, y + 10), label);
        x += 14 + QFontMetrics(p.font()).horizontalAdvance(label) + 14;
    }
    p.end();
    return scan(print, QSize(CardWidth, CardHeight), qRgb(240, 233, 214), -0.35, 0x51A7u, 7.0);
}

namespace {

QString fromCodePage(const char* text)
{
    return QString::fromStdString(Windows1252::toUtf8(text));
}

} // namespace

QString Artwork::sheetTitle()
{
    return fromCodePage(TableText::notesTitle());
}

// The rules are kept with the table, where the window's text alternative reads them too.
QList<SheetRule> Artwork::sheetRules()
{
    QList<SheetRule> rules;
    for (const UsageRule& rule : TableText::notesRules())
        rules.append({fromCodePage(rule.text), {QByteArray(rule.plain), QByteArray(rule.digits), rule.decodeOnly}});
    return rules;
}

QImage Artwork::sheet()
{
    QImage print(SheetWidth * 2, SheetHeight * 2, QImage::Format_RGB32);
    print.fill(Qt::white);
    QPainter p(&print);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(2, 2);

    const int left = 62;
    const int right = SheetWidth - 62;
    const int indent = 58;
    const auto rules = sheetRules();

    // Find the largest body size at which everything fits the page.
    int body = 40;
    for (; body > 20; --body) {
        const QFont f = font(kSans, body);
        const QFont ex = font(kMono, body - 4, true);
        int height = 0;
        for (const auto& rule : rules) {
            height += int(wrap(rule.text, f, right - left - indent).size()) * QFontMetrics(f).lineSpacing();
            height += QFontMetrics(ex).lineSpacing() + body / 2;
        }
        if (height <= SheetHeight - 330)
            break;
    }
    const QFont bodyFont = font(kSans, body);
    const QFont exampleFont = font(kMono, body - 4, true);
    const QFont numberFont = font(kSerif, body + 6, true);

    // Letterhead.
    p.setPen(kInk);
    p.setFont(font(kSans, 22));
    p.drawText(QRect(left, 48, right - left, 28), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Anlage zur Quarn-Tafel"));
    p.drawText(QRect(left, 48, right - left, 28), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Blatt 1"));
    p.setPen(QPen(kInk, 2));
    p.drawLine(left, 84, right, 84);

    p.setFont(fitted(kSerif, 60, sheetTitle(), right - left));
    p.drawText(QRect(left, 100, right - left, 90), Qt::AlignHCenter | Qt::AlignVCenter, sheetTitle());
    p.setPen(QPen(kRedInk, 3));
    p.drawLine(left + 120, 196, right - 120, 196);

    double y = 236;
    int number = 1;
    for (const auto& rule : rules) {
        p.setPen(kRedInk);
        p.setFont(numberFont);
        const QFontMetrics nm(numberFont);
        p.drawText(QPointF(left, y + nm.ascent()), QString::number(number++) + QLatin1Char('.'));
        p.setPen(kInk);
        p.setFont(bodyFont);
        const QFontMetrics bm(bodyFont);
        for (const QString& line : wrap(rule.text, bodyFont, right - left - indent)) {
            p.drawText(QPointF(left + indent, y + bm.ascent() + (nm.ascent() - bm.ascent())), line);
            y += bm.lineSpacing();
        }
        p.setFont(exampleFont);
        const QFontMetrics em(exampleFont);
        // A code that only a hand-made digit string holds is shown the way the decoder reads it.
        const QString plain = QString::fromLatin1(rule.example.plain);
        const QString digits = QString::fromLatin1(rule.example.digits);
        const QString example = rule.example.decodeOnly ? digits + QStringLiteral(" ergibt ") + plain
                                                        : plain + QStringLiteral(" = ") + digits;
        p.setPen(QColor(40, 40, 110));
        p.drawText(QPointF(left + indent + 24, y + em.ascent() + (nm.ascent() - bm.ascent())), example);
        y += em.lineSpacing() + body / 2;
    }

    p.setPen(QPen(kInk, 1.5));
    p.drawLine(left, SheetHeight - 78, right, SheetHeight - 78);
    p.setFont(font(kSans, 20));
    p.drawText(QRect(left, SheetHeight - 70, right - left, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Mit der Tafel Nr. ") + copyNumber() + QStringLiteral(" aufbewahren."));
    p.drawText(QRect(left, SheetHeight - 70, right - left, 30), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Nachdruck verboten"));
    p.end();
    // Finer grain on the large sheet: white noise is what makes a JPEG big and slow to decode.
    return scan(print, QSize(SheetWidth, SheetHeight), qRgb(243, 238, 224), 0.25, 0xC0FFEEu, 2.0);
}

bool Artwork::fontsAvailable(QString* missing)
{
    const QStringList families = QFontDatabase::families();
    for (const QString& family : {kSans, kSerif, kMono}) {
        if (!families.contains(family)) {
            if (missing)
                *missing = family;
            return false;
        }
    }
    return true;
}

} // namespace quarn
