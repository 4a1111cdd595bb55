#include "JpegLoader.h"

#include <QFile>
#include <QTest>

using namespace quarn;

// A header may claim any size up to 65500 x 65500; the loader must refuse an oversized one before it
// takes memory for it, and tell why.
class TestJpegLimits : public QObject
{
    Q_OBJECT

private slots:
    void oversizedHeaders_data();
    void oversizedHeaders();
};

namespace {

QByteArray picture(const QString& name)
{
    QFile file(qEnvironmentVariable("QUARN_SOURCE_DIR") + QStringLiteral("/resources/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing picture %s", qPrintable(name));
    return file.readAll();
}

// The same file with the frame header claiming another size.
QByteArray withSize(QByteArray jpeg, int width, int height)
{
    for (qsizetype i = 2; i + 9 < jpeg.size();) {
        const auto marker = quint8(jpeg[i + 1]);
        const int length = (quint8(jpeg[i + 2]) << 8) | quint8(jpeg[i + 3]);
        if (marker >= 0xC0 && marker <= 0xC2) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            return jpeg;
        }
        i += 2 + length;
    }
    qFatal("no frame header");
}

} // namespace

void TestJpegLimits::oversizedHeaders_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<bool>("tooLarge");
    const QSize none;
    const QSize card(385, 257);
    QTest::newRow("the largest size a header can claim is refused")
        << "QuarnKarte.jpg" << 65500 << 65500 << none << true;
    QTest::newRow("scaled into a box it is still refused") << "QuarnKarte.jpg" << 65500 << 65500 << card << true;
    QTest::newRow("one row more than the decoded limit is refused") << "QuarnKarte.jpg" << 4096 << 4097 << none << true;
    QTest::newRow("exactly at the decoded limit the data decides") << "QuarnKarte.jpg" << 4096 << 4096 << none << false;
    QTest::newRow("a progressive file that scales below the limit is refused by its full size")
        << "QuarnKarte1.jpg" << 32000 << 32000 << card << true;
    QTest::newRow("one row more than the full-size limit is refused though it scales small")
        << "QuarnKarte.jpg" << 8192 << 8193 << card << true;
    QTest::newRow("exactly at the full-size limit and scaled small the data decides")
        << "QuarnKarte.jpg" << 8192 << 8192 << card << false;
}

void TestJpegLimits::oversizedHeaders()
{
    QFETCH(QString, file);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QSize, box);
    QFETCH(bool, tooLarge);
    const JpegImage result = JpegLoader::decode(withSize(picture(file), width, height), box);
    // The real data is far too short for the claimed size either way.
    QVERIFY(!result.ok());
    QVERIFY(result.image.isNull());
    QCOMPARE(result.failure && result.failure->kind == Failure::Kind::PictureTooLarge, tooLarge);
    // The unchanged file still loads.
    QVERIFY(JpegLoader::decode(picture(file), box).ok());
}

QTEST_APPLESS_MAIN(TestJpegLimits)
#include "tst_jpeglimits.moc"
