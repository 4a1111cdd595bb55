#include "Artwork.h"
#include "CardLayout.h"
#include "CodeDecoder.h"
#include "CodeEncoder.h"
#include "CodeTable.h"
#include "GlyphArt.h"
#include "IconArt.h"
#include "ImageWriters.h"
#include "ResourceFiles.h"

#include <QFile>
#include <QPainter>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>
#include <set>
#include <vector>

using namespace quarn;

namespace {

using test::readResource;
using test::resourcePath;

unsigned le16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

unsigned le32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

struct Frame
{
    int marker = 0; // 0xC0 baseline, 0xC2 progressive; 0 when there is none
    int width = 0;
    int height = 0;
    int components = 0;
};

// Walks the marker segments up to the first start-of-frame.
Frame firstFrame(const QByteArray& jpeg)
{
    Frame f;
    if (jpeg.size() < 4 || uchar(jpeg[0]) != 0xFF || uchar(jpeg[1]) != 0xD8)
        return f;
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        const int marker = uchar(jpeg[at + 1]);
        const int length = (uchar(jpeg[at + 2]) << 8) | uchar(jpeg[at + 3]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            if (at + 10 > jpeg.size())
                return f;
            f.marker = marker;
            f.height = (uchar(jpeg[at + 5]) << 8) | uchar(jpeg[at + 6]);
            f.width = (uchar(jpeg[at + 7]) << 8) | uchar(jpeg[at + 8]);
            f.components = uchar(jpeg[at + 9]);
            return f;
        }
        at += 2 + length;
    }
    return f;
}

// Number of 4-connected black regions: each punched hole and each edge line of the tape is one.
int blackRegions(const QImage& image)
{
    const int w = image.width();
    std::vector<char> seen(std::size_t(w) * std::size_t(image.height()), 0);
    int regions = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) >= 128 || seen[std::size_t(y * w + x)])
                continue;
            ++regions;
            QList<QPoint> stack{{x, y}};
            seen[std::size_t(y * w + x)] = 1;
            while (!stack.isEmpty()) {
                const QPoint p = stack.takeLast();
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint q = p + d;
                    if (image.rect().contains(q) && qGray(image.pixel(q)) < 128 &&
                        !seen[std::size_t(q.y() * w + q.x())]) {
                        seen[std::size_t(q.y() * w + q.x())] = 1;
                        stack.append(q);
                    }
                }
            }
        }
    }
    return regions;
}

bool onlyBlackAndWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) | 0xFF000000u;
            if (c != qRgb(0, 0, 0) && c != qRgb(255, 255, 255))
                return false;
        }
    }
    return true;
}

// The ICO's images as 1-bit pictures, keyed by width.
QMap<int, QImage> icoImages(const QByteArray& ico, QString* why)
{
    QMap<int, QImage> out;
    if (ico.size() < 6 || le16(ico, 0) != 0 || le16(ico, 2) != 1) {
        *why = QStringLiteral("no icon header");
        return out;
    }
    const unsigned count = le16(ico, 4);
    for (unsigned i = 0; i < count; ++i) {
        const qsizetype entry = 6 + 16 * qsizetype(i);
        const int w = uchar(ico[entry]);
        const int h = uchar(ico[entry + 1]);
        const qsizetype size = le32(ico, entry + 8);
        const qsizetype at = le32(ico, entry + 12);
        if (at + size > ico.size() || le32(ico, at) != 40 || int(le32(ico, at + 4)) != w ||
            int(le32(ico, at + 8)) != 2 * h || le16(ico, at + 14) != 1) {
            *why = QStringLiteral("entry %1 is not a %2 pixel 1-bit bitmap").arg(i).arg(w);
            return {};
        }
        const qsizetype stride = ((w + 31) / 32) * 4;
        const qsizetype pixels = at + 40 + 8; // two palette entries
        QImage img(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y) {
            const char* row = ico.constData() + pixels + (h - 1 - y) * stride;
            for (int x = 0; x < w; ++x) {
                const int index = (uchar(row[x / 8]) >> (7 - x % 8)) & 1;
                const qsizetype entryAt = at + 40 + 4 * index;
                img.setPixel(x, y, qRgb(uchar(ico[entryAt + 2]), uchar(ico[entryAt + 1]), uchar(ico[entryAt])));
            }
        }
        out.insert(w, img);
    }
    return out;
}

QByteArray withoutBlanks(QByteArray s)
{
    return s.replace(' ', "");
}

} // namespace

class TestArtwork : public QObject
{
    Q_OBJECT

private slots:
    void cellAgreesWithCoder_data();
    void cellAgreesWithCoder();
    void cardHoldsEveryCodeOnce();
    void cellKinds_data();
    void cellKinds();
    void sheetExampleIsWhatTheProgramDoes_data();
    void sheetExampleIsWhatTheProgramDoes();
    void committedJpeg_data();
    void committedJpeg();
    void committedCardIsTheCurrentTable();
    void committedGlyph_data();
    void committedGlyph();
    void disabledGlyphIsGreyOutline_data();
    void disabledGlyphIsGreyOutline();
    void committedIcons_data();
    void committedIcons();
    void committedWindowsIconHoldsTheSmallPictures_data();
    void committedWindowsIconHoldsTheSmallPictures();
    void committedSvgDrawsTheLargePicture();
    void iconHolesStaySeparate_data();
    void iconHolesStaySeparate();
    void bitmapWriterRefusesColoursOutsideThePalette();
};

void TestArtwork::cellAgreesWithCoder_data()
{
    QTest::addColumn<QByteArray>("unit");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("kind");
    for (const CardCell& cell : CardLayout::cells()) {
        const QByteArray name =
            "cell " + QByteArray::fromStdString(cell.unit) + " reads " + QByteArray::fromStdString(cell.code);
        QTest::newRow(name.constData()) << QByteArray::fromStdString(cell.unit) << QByteArray::fromStdString(cell.code)
                                        << int(cell.kind);
    }
}

void TestArtwork::cellAgreesWithCoder()
{
    QFETCH(QByteArray, unit);
    QFETCH(QByteArray, code);
    QFETCH(int, kind);
    const auto decode = [](const QByteArray& digits) {
        return QByteArray::fromStdString(CodeDecoder::decode(digits.toStdString()));
    };
    const auto encode = [](const QByteArray& text) {
        return QByteArray::fromStdString(CodeEncoder::encode(text.toStdString()));
    };
    switch (CellKind(kind)) {
    case CellKind::SingleDigitLetter:
    case CellKind::TwoDigitLetter:
        QCOMPARE(encode(unit), code);
        QCOMPARE(decode(code), unit);
        break;
    case CellKind::Combination:
        QCOMPARE(encode(unit), code);
        // The trigraph is read back in lower case.
        QCOMPARE(decode(code).toUpper(), unit);
        break;
    case CellKind::Figure:
        QCOMPARE(encode(unit), "82" + code);
        QCOMPARE(decode("82" + code), unit);
        break;
    case CellKind::Control: {
        const QMap<QByteArray, QByteArray> meaning{
            {"ZWR", " "}, {"NZ", "\r\n"}, {"BU", ""}, {"ZI", ""}, {"CODE", "-code-"}};
        QVERIFY2(meaning.contains(unit), unit.constData());
        QCOMPARE(decode(code), meaning[unit]);
        if (unit == "ZWR")
            QCOMPARE(encode(" "), code);
        if (unit == "ZI")
            QCOMPARE(decode(code + "11"), QByteArray("1"));
        if (unit == "BU")
            QCOMPARE(decode("8211" + code + "0"), QByteArray("1A"));
        break;
    }
    }
}

void TestArtwork::cardHoldsEveryCodeOnce()
{
    const auto cells = CardLayout::cells();
    std::multiset<std::string> letterCodes;
    std::multiset<std::string> figureCodes;
    std::set<std::pair<int, int>> places;
    for (const auto& cell : cells) {
        (cell.kind == CellKind::Figure ? figureCodes : letterCodes).insert(cell.code);
        QVERIFY2(places.insert({cell.row, cell.column}).second, cell.unit.c_str());
        QVERIFY(cell.column >= 0 && cell.column < CardLayout::Columns);
        QVERIFY(cell.row >= 0 && cell.row < CardLayout::rowCount());
    }
    int combinations = 0;
    for (const LetterRow& r : CodeTable::letterRows()) {
        QCOMPARE(letterCodes.count(std::to_string(r.code)), std::size_t(1));
        combinations += r.kind != LetterKind::Single;
    }
    for (const FigureRow& r : CodeTable::figureRows())
        QCOMPARE(figureCodes.count(r.code == 0 ? std::string("00") : std::to_string(r.code)), std::size_t(1));
    for (int code : {80, 81, 82, 84, 85})
        QCOMPARE(letterCodes.count(std::to_string(code)), std::size_t(1));
    QCOMPARE(int(cells.size()), CodeTable::LetterRowCount + combinations + 4 + CodeTable::FigureRowCount);
    // The grid keeps the six rows the card's height is drawn for.
    QCOMPARE(CardLayout::rowCount(), 6);
}

void TestArtwork::cellKinds_data()
{
    QTest::addColumn<QByteArray>("unit");
    QTest::addColumn<int>("kind");
    QTest::newRow("A takes one digit") << QByteArray("A") << int(CellKind::SingleDigitLetter);
    QTest::newRow("R takes one digit") << QByteArray("R") << int(CellKind::SingleDigitLetter);
    QTest::newRow("B takes two") << QByteArray("B") << int(CellKind::TwoDigitLetter);
    QTest::newRow("Z takes two") << QByteArray("Z") << int(CellKind::TwoDigitLetter);
    QTest::newRow("CH is a letter group") << QByteArray("CH") << int(CellKind::Combination);
    QTest::newRow("RPT is a letter group") << QByteArray("RPT") << int(CellKind::Combination);
    QTest::newRow("the blank is a control sign") << QByteArray("ZWR") << int(CellKind::Control);
    QTest::newRow("the figure shift is a control sign") << QByteArray("ZI") << int(CellKind::Control);
    QTest::newRow("the point is a figure") << QByteArray(".") << int(CellKind::Figure);
    QTest::newRow("the double quote is a figure") << QByteArray("\"") << int(CellKind::Figure);
    QTest::newRow("9 is a figure") << QByteArray("9") << int(CellKind::Figure);
}

void TestArtwork::cellKinds()
{
    QFETCH(QByteArray, unit);
    QFETCH(int, kind);
    for (const auto& cell : CardLayout::cells()) {
        if (cell.unit == unit.toStdString()) {
            QCOMPARE(int(cell.kind), kind);
            return;
        }
    }
    QFAIL("no such cell");
}

void TestArtwork::sheetExampleIsWhatTheProgramDoes_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("digits");
    QTest::addColumn<bool>("decodeOnly");
    const auto rules = Artwork::sheetRules();
    QCOMPARE(rules.size(), 5);
    int n = 1;
    for (const auto& rule : rules) {
        QVERIFY(!rule.text.isEmpty());
        const QByteArray name = "rule " + QByteArray::number(n++) + "'s example " + rule.example.plain;
        QTest::newRow(name.constData()) << rule.example.plain << rule.example.digits << rule.example.decodeOnly;
    }
}

void TestArtwork::sheetExampleIsWhatTheProgramDoes()
{
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, digits);
    QFETCH(bool, decodeOnly);
    if (!decodeOnly)
        QCOMPARE(QByteArray::fromStdString(CodeEncoder::encode(plain.toStdString())), withoutBlanks(digits));
    QCOMPARE(QByteArray::fromStdString(CodeDecoder::decode(withoutBlanks(digits).toStdString())), plain);
}

void TestArtwork::committedJpeg_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("marker");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("the card is a baseline colour JPEG") << QStringLiteral("QuarnKarte.jpg") << 0xC0 << 577 << 355;
    QTest::newRow("the sheet is a progressive colour JPEG") << QStringLiteral("QuarnKarte1.jpg") << 0xC2 << 880 << 1190;
}

void TestArtwork::committedJpeg()
{
    QFETCH(QString, file);
    QFETCH(int, marker);
    QFETCH(int, width);
    QFETCH(int, height);
    const Frame f = firstFrame(readResource(file));
    QCOMPARE(f.marker, marker);
    QCOMPARE(f.width, width);
    QCOMPARE(f.height, height);
    QCOMPARE(f.components, 3);
}

void TestArtwork::committedCardIsTheCurrentTable()
{
    // What the tool draws now must be what is committed, or the card could show a table the code no longer has.
    // The drawing goes through the same JPEG encoder; then both are compared in small tiles, so that one
    // changed digit shows while a font rasterised a shade differently on another machine does not.
    constexpr int tile = 12;
    const QByteArray card = ImageWriters::jpeg(Artwork::card(), false, Artwork::CardQuality);
    const QByteArray sheet = ImageWriters::jpeg(Artwork::sheet(), true, Artwork::SheetQuality);
    for (const auto& [file, bytes] :
         {std::pair{QStringLiteral("QuarnKarte.jpg"), card}, std::pair{QStringLiteral("QuarnKarte1.jpg"), sheet}}) {
        QImage committed;
        QImage drawn;
        QVERIFY(committed.loadFromData(readResource(file)));
        QVERIFY(drawn.loadFromData(bytes));
        QCOMPARE(committed.size(), drawn.size());
        double worst = 0;
        for (int ty = 0; ty + tile <= drawn.height(); ty += tile) {
            for (int tx = 0; tx + tile <= drawn.width(); tx += tile) {
                double sum = 0;
                for (int y = ty; y < ty + tile; ++y) {
                    for (int x = tx; x < tx + tile; ++x)
                        sum += std::abs(qGray(drawn.pixel(x, y)) - qGray(committed.pixel(x, y)));
                }
                worst = std::max(worst, sum / (tile * tile));
            }
        }
        QVERIFY2(worst < 8, qPrintable(file + QStringLiteral(" differs from the drawing by %1 in a tile").arg(worst)));
    }
}

void TestArtwork::committedGlyph_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRgb>("transparent");
    const QRgb purple = qRgb(128, 0, 128);
    const QRgb olive = qRgb(128, 128, 0);
    QTest::newRow("key is see-through where purple") << QStringLiteral("key") << purple;
    QTest::newRow("pages is see-through where purple") << QStringLiteral("pages") << purple;
    QTest::newRow("open is see-through where purple") << QStringLiteral("open") << purple;
    QTest::newRow("save is see-through where olive") << QStringLiteral("save") << olive;
    QTest::newRow("print is see-through where olive") << QStringLiteral("print") << olive;
}

void TestArtwork::committedGlyph()
{
    QFETCH(QString, name);
    QFETCH(QRgb, transparent);
    const QByteArray bmp = readResource(QStringLiteral("glyphs/") + name + QStringLiteral(".bmp"));
    QVERIFY(bmp.size() > 54);
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(le32(bmp, 2), unsigned(bmp.size()));
    QCOMPARE(le32(bmp, 14), 40u); // a plain Windows bitmap header
    QCOMPARE(le32(bmp, 18), 32u); // two 16 x 16 pictures side by side
    QCOMPARE(le32(bmp, 22), 16u);
    QCOMPARE(le16(bmp, 28), 4u); // 16 colours
    QCOMPARE(le32(bmp, 30), 0u); // uncompressed
    const unsigned pixels = le32(bmp, 10);
    // Rows are stored bottom-up: the first pixel of the data is the bottom-left one.
    const int corner = uchar(bmp[pixels]) >> 4;
    const qsizetype entry = 14 + 40 + 4 * corner;
    QCOMPARE(qRgb(uchar(bmp[entry + 2]), uchar(bmp[entry + 1]), uchar(bmp[entry])), transparent);

    // The tool makes these from pixel maps alone, so the committed bytes must be exactly what it makes now.
    for (const Glyph& glyph : GlyphArt::glyphs()) {
        if (glyph.name == name) {
            QCOMPARE(glyph.transparent, transparent);
            QVERIFY(ImageWriters::bmp4(glyph.image, ImageWriters::standardPalette()) == bmp);
            return;
        }
    }
    QFAIL("the tool draws no such glyph");
}

void TestArtwork::disabledGlyphIsGreyOutline_data()
{
    QTest::addColumn<int>("index");
    int i = 0;
    for (const Glyph& glyph : GlyphArt::glyphs())
        QTest::newRow(qPrintable(glyph.name + QStringLiteral(" greys out"))) << i++;
}

void TestArtwork::disabledGlyphIsGreyOutline()
{
    QFETCH(int, index);
    const Glyph glyph = GlyphArt::glyphs().at(index);
    const QImage enabled = glyph.image.copy(0, 0, 16, 16);
    const QImage disabled = glyph.image.copy(16, 0, 16, 16);
    QCOMPARE(disabled, GlyphArt::disabledFrom(enabled, glyph.transparent));
    int grey = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb c = disabled.pixel(x, y) | 0xFF000000u;
            QVERIFY2(c == glyph.transparent || c == qRgb(128, 128, 128) || c == qRgb(255, 255, 255),
                     qPrintable(QStringLiteral("colour at %1,%2").arg(x).arg(y)));
            grey += c == qRgb(128, 128, 128);
        }
    }
    QVERIFY(grey > 20);
    QCOMPARE(enabled.pixel(0, 15) | 0xFF000000u, glyph.transparent);
    QCOMPARE(disabled.pixel(0, 15) | 0xFF000000u, glyph.transparent);
}

void TestArtwork::committedIcons_data()
{
    QTest::addColumn<int>("size");
    // Every size the icon theme gets; the window embeds 16, 32 and 128.
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        QTest::newRow(qPrintable(QStringLiteral("the %1 pixel icon is what the tool draws").arg(size))) << size;
}

void TestArtwork::committedIcons()
{
    QFETCH(int, size);
    QImage png;
    QVERIFY(png.loadFromData(readResource(QStringLiteral("icons/quarn-%1.png").arg(size))));
    QCOMPARE(png.size(), QSize(size, size));
    QVERIFY(onlyBlackAndWhite(png));
    QCOMPARE(png.convertToFormat(QImage::Format_RGB32), IconArt::tape(size).convertToFormat(QImage::Format_RGB32));
}

void TestArtwork::committedWindowsIconHoldsTheSmallPictures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("kind"); // -1: the program's tape, else an IconArt::Document

    QTest::newRow("the program's icon is the tape") << QStringLiteral("icons/quarn.ico") << -1;
    QTest::newRow("a pad's icon is a sheet of holes")
        << QStringLiteral("icons/quarn-pad.ico") << int(IconArt::Document::Pad);
    QTest::newRow("a cipher text's icon is a sheet of groups")
        << QStringLiteral("icons/quarn-cipher.ico") << int(IconArt::Document::Cipher);
}

void TestArtwork::committedWindowsIconHoldsTheSmallPictures()
{
    QFETCH(QString, file);
    QFETCH(int, kind);
    const auto picture = [kind](int size) {
        return kind < 0 ? IconArt::tape(size) : IconArt::document(size, IconArt::Document(kind));
    };
    QString why;
    const QByteArray ico = readResource(file);
    const QMap<int, QImage> images = icoImages(ico, &why);
    QVERIFY2(!images.isEmpty(), qPrintable(why));
    QCOMPARE(images.keys(), (QList<int>{16, 32}));
    QCOMPARE(le16(ico, 4), 2u);
    for (int size : images.keys())
        QCOMPARE(images[size], picture(size).convertToFormat(QImage::Format_RGB32));
    QVERIFY(ImageWriters::monochromeIco({picture(32), picture(16)}) == ico);
    // Explorer tells the file types apart by their icons.
    if (kind >= 0)
        QVERIFY(picture(16) != IconArt::document(16, IconArt::Document(1 - kind)));
}

void TestArtwork::committedSvgDrawsTheLargePicture()
{
    const QByteArray svg = readResource(QStringLiteral("icons/quarn.svg"));
    QVERIFY(svg == IconArt::svg());

    // Painted shape by shape, the vector icon must give the tool's picture at its grid size pixel for pixel:
    // then it shows the same tape, holes and edges.
    const int grid = IconArt::SvgGrid;
    QImage painted(grid, grid, QImage::Format_RGB32);
    painted.fill(Qt::magenta);
    QPainter p(&painted);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    QXmlStreamReader xml(svg);
    QColor fill;
    int shapes = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        const auto value = [&](const char* name) { return a.value(QLatin1String(name)).toDouble(); };
        if (xml.name() == QLatin1String("svg")) {
            QCOMPARE(a.value(QLatin1String("viewBox")).toString(), QStringLiteral("0 0 %1 %1").arg(grid));
        } else if (xml.name() == QLatin1String("g")) {
            fill = QColor(a.value(QLatin1String("fill")).toString());
        } else if (xml.name() == QLatin1String("rect")) {
            const QColor own(a.value(QLatin1String("fill")).toString());
            p.fillRect(QRectF(value("x"), value("y"), value("width"), value("height")), own.isValid() ? own : fill);
            ++shapes;
        } else if (xml.name() == QLatin1String("ellipse")) {
            p.setBrush(fill);
            p.drawEllipse(QPointF(value("cx"), value("cy")), value("rx"), value("ry"));
            ++shapes;
        } else {
            QFAIL(qPrintable(QStringLiteral("unexpected element %1").arg(xml.name())));
        }
    }
    p.end();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(shapes > 2);
    QCOMPARE(painted, IconArt::tape(grid).convertToFormat(QImage::Format_RGB32));
}

void TestArtwork::iconHolesStaySeparate_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("columns");
    QTest::newRow("16 pixels hold five columns") << 16 << 5;
    QTest::newRow("24 pixels hold six columns") << 24 << 6;
    QTest::newRow("32 pixels hold six columns") << 32 << 6;
    QTest::newRow("48 pixels hold six columns") << 48 << 6;
    QTest::newRow("64 pixels hold six columns") << 64 << 6;
    QTest::newRow("128 pixels hold six columns") << 128 << 6;
    QTest::newRow("256 pixels hold six columns") << 256 << 6;
}

void TestArtwork::iconHolesStaySeparate()
{
    QFETCH(int, size);
    QFETCH(int, columns);
    int count = 0;
    const char* const* codes = IconArt::columns(&count);
    int holes = 0;
    for (int c = 0; c < columns && c < count; ++c)
        holes += int(QByteArray(codes[c]).count('1')) + 1; // and its feed hole
    // Two edge lines and every hole on its own: a hole that touches another or an edge would merge.
    QCOMPARE(blackRegions(IconArt::tape(size)), 2 + holes);
}

void TestArtwork::bitmapWriterRefusesColoursOutsideThePalette()
{
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(qRgb(128, 0, 128));
    QCOMPARE(ImageWriters::bmp4(image, ImageWriters::standardPalette()).size(), 14 + 40 + 64 + 16 * 16);
    image.setPixel(3, 3, qRgb(1, 2, 3));
    QVERIFY(ImageWriters::bmp4(image, ImageWriters::standardPalette()).isEmpty());
}

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
