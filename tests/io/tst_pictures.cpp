#include "GlyphLoader.h"
#include "JpegLoader.h"
#include "Messages.h"
#include "ResourceFiles.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QTest>

using namespace quarn;

namespace {

using test::readResource;
using test::resourcePath;

// Why a picture was refused, in words; empty for none.
QString refusal(const JpegImage& result)
{
    return result.failure ? QString::fromStdString(Messages::text(*result.failure)) : QString();
}

// Offset of the first start-of-scan marker's segment.
qsizetype startOfScan(const QByteArray& jpeg)
{
    return jpeg.indexOf(QByteArray("\xFF\xDA", 2));
}

QByteArray bmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

bool sameImage(const QImage& a, const QImage& b)
{
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void decodesAtTheSmallestCoveringScale_data();
    void decodesAtTheSmallestCoveringScale();
    void scaledDecodeLooksLikeTheFullOne();
    void stretchedToItsBox_data();
    void stretchedToItsBox();
    void damagedData_data();
    void damagedData();
    void missingFile();
    void committedGlyph_data();
    void committedGlyph();
    void glyphTransparency_data();
    void glyphTransparency();
    void notAGlyph_data();
    void notAGlyph();
};

void TestPictures::decodesAtTheSmallestCoveringScale_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("progressive");
    const QString card = QStringLiteral("QuarnKarte.jpg");
    const QString sheet = QStringLiteral("QuarnKarte1.jpg");
    QTest::newRow("card without a box comes at full size") << card << QSize() << QSize(577, 355) << false;
    QTest::newRow("card for its window box comes at 6/8") << card << QSize(385, 257) << QSize(433, 267) << false;
    QTest::newRow("card for a box of its own size is not scaled")
        << card << QSize(577, 355) << QSize(577, 355) << false;
    QTest::newRow("card for a box larger than itself is not enlarged")
        << card << QSize(1000, 1000) << QSize(577, 355) << false;
    QTest::newRow("card for a tiny box comes at 1/8") << card << QSize(1, 1) << QSize(73, 45) << false;
    QTest::newRow("card for exactly 1/8 comes at 1/8") << card << QSize(73, 45) << QSize(73, 45) << false;
    QTest::newRow("card one pixel wider than 1/8 comes at 2/8") << card << QSize(74, 45) << QSize(145, 89) << false;
    QTest::newRow("card: the height alone can decide") << card << QSize(10, 300) << QSize(505, 311) << false;
    QTest::newRow("sheet without a box comes at full size") << sheet << QSize() << QSize(880, 1190) << true;
    QTest::newRow("sheet for its window box comes at 3/8") << sheet << QSize(265, 433) << QSize(330, 447) << true;
    QTest::newRow("sheet for a tiny box comes at 1/8") << sheet << QSize(50, 50) << QSize(110, 149) << true;
    QTest::newRow("sheet for a box just under full size comes at 8/8")
        << sheet << QSize(879, 1189) << QSize(880, 1190) << true;
}

void TestPictures::decodesAtTheSmallestCoveringScale()
{
    QFETCH(QString, file);
    QFETCH(QSize, box);
    QFETCH(QSize, size);
    QFETCH(bool, progressive);
    const JpegImage result = JpegLoader::load(resourcePath(file), box);
    QVERIFY2(result.ok(), qPrintable(refusal(result)));
    QCOMPARE(result.image.size(), size);
    QCOMPARE(result.progressive, progressive);
}

void TestPictures::scaledDecodeLooksLikeTheFullOne()
{
    const JpegImage full = JpegLoader::load(resourcePath(QStringLiteral("QuarnKarte.jpg")));
    const JpegImage small = JpegLoader::load(resourcePath(QStringLiteral("QuarnKarte.jpg")), QSize(385, 257));
    QVERIFY(full.ok() && small.ok());
    const QImage reference = full.image.scaled(small.image.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x)
            sum += std::abs(qGray(reference.pixel(x, y)) - qGray(small.image.pixel(x, y)));
    }
    QVERIFY(sum / (reference.width() * reference.height()) < 12);
}

void TestPictures::stretchedToItsBox_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("box");
    QTest::newRow("the card fills its window box") << QStringLiteral("QuarnKarte.jpg") << QSize(385, 257);
    QTest::newRow("the sheet fills its window box") << QStringLiteral("QuarnKarte1.jpg") << QSize(265, 433);
}

void TestPictures::stretchedToItsBox()
{
    // As the window shows them: decoded for the box, then stretched into it. With QUARN_PREVIEW_DIR set the
    // results are written there, to be looked at.
    QFETCH(QString, file);
    QFETCH(QSize, box);
    const JpegImage result = JpegLoader::load(resourcePath(file), box);
    QVERIFY(result.ok());
    const QImage shown = result.image.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QCOMPARE(shown.size(), box);
    // Printed matter on paper: mostly light, with dark print on at least a hundredth of it.
    int light = 0;
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const int g = qGray(shown.pixel(x, y));
            light += g > 150;
            dark += g < 90;
        }
    }
    const int all = box.width() * box.height();
    QVERIFY2(light > all / 2 && dark > all / 100, qPrintable(QStringLiteral("%1 light, %2 dark").arg(light).arg(dark)));
    const QString dir = qEnvironmentVariable("QUARN_PREVIEW_DIR");
    if (!dir.isEmpty())
        QVERIFY(shown.save(dir + QLatin1Char('/') + QFileInfo(file).completeBaseName() + QStringLiteral("-box.png")));
}

void TestPictures::damagedData_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("why"); // part of the message, where it matters
    const QByteArray card = readResource(QStringLiteral("QuarnKarte.jpg"));
    const QByteArray sheet = readResource(QStringLiteral("QuarnKarte1.jpg"));
    QVERIFY(!card.isEmpty() && !sheet.isEmpty());

    QTest::newRow("no data at all") << QByteArray() << QString();
    QTest::newRow("text is no JPEG") << QByteArray("QUARN-TAFEL Nr. 0427\r\n") << QString();
    QTest::newRow("a start marker and nothing else") << QByteArray("\xFF\xD8", 2) << QString();
    QTest::newRow("the card cut off before its scan") << card.left(startOfScan(card)) << QString();
    QTest::newRow("the card cut off in the middle") << card.left(card.size() / 2) << QString();
    QTest::newRow("the card without its last bytes") << card.left(card.size() - 40) << QString();
    QTest::newRow("the sheet cut off in the middle") << sheet.left(sheet.size() / 2) << QString();
    QTest::newRow("the sheet cut off after its first scan")
        << sheet.left(startOfScan(sheet.mid(startOfScan(sheet) + 2)) + startOfScan(sheet) + 2) << QString();

    QByteArray zeroWidth = card;
    const qsizetype sof = zeroWidth.indexOf(QByteArray("\xFF\xC0", 2));
    zeroWidth[sof + 7] = 0;
    zeroWidth[sof + 8] = 0;
    QTest::newRow("a frame header that says zero width") << zeroWidth << QString();

    // Tens of gigabytes claimed in four bytes: refused before anything is allocated for it.
    QByteArray huge = card;
    huge[sof + 5] = char(0xFF);
    huge[sof + 6] = char(0xDC);
    huge[sof + 7] = char(0xFF);
    huge[sof + 8] = char(0xDC);
    QTest::newRow("a frame header that claims 65500 by 65500 pixels") << huge << QStringLiteral("zu gro\u00DF");

    QByteArray noTables = card;
    const qsizetype dqt = noTables.indexOf(QByteArray("\xFF\xDB", 2));
    noTables[dqt + 1] = char(0xFE); // the quantisation table becomes a comment
    QTest::newRow("a card whose quantisation table is gone") << noTables << QString();

    QByteArray garbled = card;
    for (qsizetype i = startOfScan(card) + 40; i < garbled.size() - 2; i += 97)
        garbled[i] = char(0xFF);
    QTest::newRow("a card whose scan is strewn with marker bytes") << garbled << QString();
}

void TestPictures::damagedData()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, why);
    // At full size and scaled: the two take different roads through the decoder.
    for (const QSize box : {QSize(), QSize(385, 257)}) {
        const JpegImage result = JpegLoader::decode(data, box);
        QVERIFY(!result.ok());
        QVERIFY(result.image.isNull());
        QVERIFY(result.failure);
        QVERIFY2(refusal(result).contains(why), qPrintable(refusal(result)));
    }
}

void TestPictures::missingFile()
{
    const QString path = QStringLiteral("/nonexistent/QuarnKarte.jpg");
    const JpegImage result = JpegLoader::load(path);
    QVERIFY(!result.ok());
    QCOMPARE(result.failure->kind, Failure::Kind::FileNotFound);
    QCOMPARE(QString::fromStdString(result.failure->file), path);
}

void TestPictures::committedGlyph_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"key", "pages", "open", "save", "print"})
        QTest::newRow(qPrintable(QStringLiteral("%1 gives a normal and a disabled picture").arg(name)))
            << QString::fromLatin1(name);
}

void TestPictures::committedGlyph()
{
    QFETCH(QString, name);
    const QString path = resourcePath(QStringLiteral("glyphs/") + name + QStringLiteral(".bmp"));
    const QIcon icon = GlyphLoader::load(path);
    QVERIFY(!icon.isNull());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const GlyphImages glyph = GlyphLoader::images(file.readAll());
    QCOMPARE(glyph.normal.size(), QSize(16, 16));
    QCOMPARE(glyph.disabled.size(), QSize(16, 16));
    QVERIFY(!sameImage(glyph.normal, glyph.disabled));
    for (const QImage& image : {glyph.normal, glyph.disabled}) {
        QCOMPARE(qAlpha(image.pixel(0, 15)), 0);
        int opaque = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x)
                opaque += qAlpha(image.pixel(x, y)) == 255;
        }
        QVERIFY2(opaque > 20 && opaque < 250, qPrintable(QString::number(opaque)));
    }
    QVERIFY(sameImage(icon.pixmap(16, 16, QIcon::Normal).toImage(), glyph.normal));
    QVERIFY(sameImage(icon.pixmap(16, 16, QIcon::Disabled).toImage(), glyph.disabled));
}

void TestPictures::glyphTransparency_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<bool>("transparent");
    const QRgb corner = qRgb(128, 0, 128);
    QTest::newRow("the corner's colour inside the first picture is clear") << QPoint(7, 7) << corner << true;
    QTest::newRow("the corner's colour in the second picture is clear") << QPoint(20, 3) << corner << true;
    QTest::newRow("a colour one step off the corner's stays") << QPoint(7, 7) << qRgb(128, 0, 129) << false;
    QTest::newRow("black stays") << QPoint(3, 12) << qRgb(0, 0, 0) << false;
    QTest::newRow("olive stays when purple is clear") << QPoint(25, 9) << qRgb(128, 128, 0) << false;
}

void TestPictures::glyphTransparency()
{
    QFETCH(QPoint, pixel);
    QFETCH(QRgb, colour);
    QFETCH(bool, transparent);
    // Every other pixel is white, so only the corner decides what is clear.
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 15, qRgb(128, 0, 128));
    image.setPixel(pixel, colour);
    const GlyphImages glyph = GlyphLoader::images(bmp(image));
    QVERIFY(!glyph.isNull());
    const QImage& half = pixel.x() < 16 ? glyph.normal : glyph.disabled;
    const QRgb got = half.pixel(pixel.x() % 16, pixel.y());
    QCOMPARE(qAlpha(got) == 0, transparent);
    if (!transparent)
        QCOMPARE(got, colour);
    QCOMPARE(qAlpha(glyph.normal.pixel(5, 5)), 255);
}

void TestPictures::notAGlyph_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("no data") << QByteArray();
    QTest::newRow("text") << QByteArray("key.bmp");
    QTest::newRow("a bitmap header cut short") << bmp(QImage(32, 16, QImage::Format_RGB32)).left(20);
}

void TestPictures::notAGlyph()
{
    QFETCH(QByteArray, data);
    QVERIFY(GlyphLoader::images(data).isNull());
    QVERIFY(GlyphLoader::fromData(data).isNull());
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
