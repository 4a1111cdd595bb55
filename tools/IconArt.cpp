#include "IconArt.h"

#include <QPainter>

namespace quarn {

namespace {

// Q U A R N and the letter shift, channels 1 to 5, as punched.
const char* const kColumns[] = {"11101", "11100", "11000", "01010", "00110", "11111"};
constexpr int kColumnCount = 6;

struct Geometry
{
    int edgeTop;    // first row of the top edge line
    int edgeBottom; // last row of the bottom edge line
    int line;       // thickness of the edge lines
    int rows[6];    // top of each hole row: channels 1, 2, the feed row, channels 3, 4, 5
    int codeW, codeH;
    int feedW, feedH;
    int columns; // how many columns fit
    int firstX, pitch;
};

// Small sizes are laid out pixel by pixel so that every hole stays a clean block with a gap around it;
// multiples of 32 are the 32 pixel picture scaled, with round holes.
Geometry geometryFor(int size)
{
    switch (size) {
    case 16:
        return {1, 15, 1, {3, 5, 7, 9, 11, 13}, 2, 1, 1, 1, 5, 1, 3};
    case 24:
        return {2, 22, 1, {4, 7, 10, 13, 16, 19}, 2, 2, 1, 1, 6, 1, 4};
    case 32:
        return {2, 29, 1, {5, 9, 13, 17, 21, 25}, 3, 3, 1, 1, 6, 2, 5};
    case 48:
        return {3, 44, 2, {7, 13, 19, 25, 31, 37}, 4, 4, 2, 2, 6, 2, 8};
    default:
        break;
    }
    const int s = size / 32;
    return {2 * s, 29 * s + s - 1, s,    {5 * s, 9 * s, 13 * s, 17 * s, 21 * s, 25 * s}, 3 * s, 3 * s, 2 * s, 2 * s,
            6,     2 * s,          5 * s};
}

QString number(int n)
{
    return QString::number(n);
}

} // namespace

const char* const* IconArt::columns(int* count)
{
    if (count)
        *count = kColumnCount;
    return kColumns;
}

QList<IconArt::Shape> IconArt::shapes(int size)
{
    const Geometry g = geometryFor(size);
    const bool round = size >= 64;
    QList<Shape> out;
    out.append({QRect(0, g.edgeTop, size, g.line), false});
    out.append({QRect(0, g.edgeBottom - g.line + 1, size, g.line), false});
    for (int c = 0; c < g.columns && c < kColumnCount; ++c) {
        const int x = g.firstX + c * g.pitch;
        for (int r = 0; r < 6; ++r) {
            const bool feed = r == 2;
            const int channel = r < 2 ? r : r - 1;
            if (feed) {
                // The feed hole sits centred under the code holes.
                const int fx = x + (g.codeW - g.feedW) / 2;
                const int fy = g.rows[r] + (g.codeH - g.feedH + 1) / 2;
                out.append({QRect(fx, fy, g.feedW, g.feedH), round});
            } else if (kColumns[c][channel] == '1') {
                out.append({QRect(x, g.rows[r], g.codeW, g.codeH), round});
            }
        }
    }
    return out;
}

QImage IconArt::tape(int size)
{
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (const Shape& shape : shapes(size)) {
        if (shape.round)
            p.drawEllipse(shape.rect);
        else
            p.fillRect(shape.rect, Qt::black);
    }
    p.end();
    return img.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

QImage IconArt::document(int size, Document kind)
{
    const int u = size / 16;
    const int left = 2 * u, right = size - 2 * u - 1, bottom = size - 1, ear = 4 * u;
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.drawPolyline(
        QPolygon({QPoint(right - ear, 0), QPoint(left, 0), QPoint(left, bottom), QPoint(right, bottom),
                  QPoint(right, ear), QPoint(right - ear, 0), QPoint(right - ear, ear), QPoint(right, ear)}));
    for (int y = 6 * u; y <= 12 * u; y += 2 * u) {
        if (kind == Document::Pad) {
            for (int x = 4 * u; x <= 10 * u; x += 2 * u)
                p.fillRect(x, y, u, u, Qt::black);
        } else {
            p.fillRect(4 * u, y, 3 * u, u, Qt::black);
            p.fillRect(8 * u, y, 3 * u, u, Qt::black);
        }
    }
    p.end();
    return img.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

QByteArray IconArt::svg()
{
    const QString grid = number(SvgGrid);
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                                 "viewBox=\"0 0 %1 %1\">\n"
                                 "  <rect x=\"0\" y=\"0\" width=\"%1\" height=\"%1\" fill=\"#ffffff\"/>\n"
                                 "  <g fill=\"#000000\">\n")
                      .arg(grid);
    for (const Shape& shape : shapes(SvgGrid)) {
        const QRect& r = shape.rect;
        if (shape.round) {
            // Holes are circles of even diameter, so centre and radius stay whole numbers.
            out += QStringLiteral("    <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\"/>\n")
                       .arg(number(r.x() + r.width() / 2), number(r.y() + r.height() / 2), number(r.width() / 2),
                            number(r.height() / 2));
        } else {
            out += QStringLiteral("    <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"/>\n")
                       .arg(number(r.x()), number(r.y()), number(r.width()), number(r.height()));
        }
    }
    out += QStringLiteral("  </g>\n</svg>\n");
    return out.toUtf8();
}

} // namespace quarn
