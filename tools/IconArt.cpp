#include "IconArt.h"

#include <QPainter>

namespace quarn {

namespace {

// Q U A R N and the letter shift, channels 1 to 5, as punched.
const char* const kColumns[] = {"11101", "11100", "11000", "01010", "00110", "11111"};
constexpr int kColumnCount = 6;

struct Geometry
{
    int edgeTop; // rows of the tape's two edge lines
    int edgeBottom;
    int rows[6]; // top of each hole row: channels 1, 2, the feed row, channels 3, 4, 5
    int codeW, codeH;
    int feedW, feedH;
    int columns; // how many columns fit
    int firstX, pitch;
};

Geometry geometryFor(int size)
{
    if (size <= 16)
        return {1, 15, {3, 5, 7, 9, 11, 13}, 2, 1, 1, 1, 5, 1, 3};
    if (size <= 32)
        return {2, 29, {5, 9, 13, 17, 21, 25}, 3, 3, 1, 1, 6, 2, 5};
    const int s = size / 32; // 128: everything four times the 32 pixel picture
    return {2 * s, 29 * s + s - 1, {5 * s, 9 * s, 13 * s, 17 * s, 21 * s, 25 * s}, 3 * s, 3 * s, 2 * s, 2 * s, 6,
            2 * s, 5 * s};
}

} // namespace

const char* const* IconArt::columns(int* count)
{
    if (count)
        *count = kColumnCount;
    return kColumns;
}

QImage IconArt::tape(int size)
{
    const Geometry g = geometryFor(size);
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int line = size >= 128 ? size / 32 : 1;
    p.fillRect(0, g.edgeTop, size, line, Qt::black);
    p.fillRect(0, g.edgeBottom - line + 1, size, line, Qt::black);

    // Small sizes are drawn as exact pixel blocks; the large one gets round holes.
    auto hole = [&](int x, int y, int w, int h) {
        if (size >= 128) {
            p.setBrush(Qt::black);
            p.setPen(Qt::NoPen);
            p.drawEllipse(x, y, w, h);
        } else {
            p.fillRect(x, y, w, h, Qt::black);
        }
    };

    for (int c = 0; c < g.columns && c < kColumnCount; ++c) {
        const int x = g.firstX + c * g.pitch;
        for (int r = 0; r < 6; ++r) {
            const bool feed = r == 2;
            const int channel = r < 2 ? r : r - 1;
            if (feed) {
                // The feed hole sits centred under the code holes.
                const int fx = x + (g.codeW - g.feedW) / 2;
                const int fy = g.rows[r] + (g.codeH - g.feedH + 1) / 2;
                hole(fx, fy, g.feedW, g.feedH);
            } else if (kColumns[c][channel] == '1') {
                hole(x, g.rows[r], g.codeW, g.codeH);
            }
        }
    }
    p.end();
    return img.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

} // namespace quarn
