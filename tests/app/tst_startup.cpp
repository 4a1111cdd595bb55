#include "Startup.h"
#include "TForm1.h"
#include "WindowPictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace quarn;

namespace {

struct Shown
{
    QRect box;        // in window coordinates
    QSize pixmapSize; // what the box was given
};

QImage opaque(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

// Start-up as the user meets it: the program's own start with its worker, up to the window's first frame.
// Runs without a test application object, since the start-up makes its own.
class TestStartup : public QObject
{
    Q_OBJECT

private:
    WindowPictures m_expected;
    QImage m_firstFrame;
    QSize m_windowSize;
    QHash<QString, Shown> m_shown;

    static void pictureRows()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("the card") << QStringLiteral("QuarnKarte");
        QTest::newRow("the usage notes") << QStringLiteral("QuarnKarte1");
    }

    const BoxPicture& expected(const QString& name) const
    {
        return name == QLatin1String("QuarnKarte") ? m_expected.card : m_expected.sheet;
    }

private slots:
    void initTestCase()
    {
        m_expected = WindowPictures::decode();
        QVERIFY(!m_expected.card.failure);
        QVERIFY(!m_expected.sheet.failure);

        StartOptions options;
        options.quitAfterFirstPaint = true;
        options.firstFrame = [this](QWidget& window) {
            // What the platform holds of the window at this moment: its first frame.
            m_firstFrame = window.screen()->grabWindow(window.winId()).toImage();
            m_windowSize = window.size();
            for (const QString& name : {QStringLiteral("QuarnKarte"), QStringLiteral("QuarnKarte1")}) {
                const QLabel* box = window.findChild<QLabel*>(name);
                if (box)
                    m_shown.insert(name, {QRect(box->mapTo(&window, QPoint(0, 0)), box->size()), box->pixmap().size()});
            }
        };
        // A screen the window fits on, where it stays as it is laid out.
#ifdef Q_OS_WIN
        // Qt splits the platform's options at colons, a drive's too: the file lies below the working folder
        // and is named relative to it.
        QTemporaryDir dir(QDir::current().filePath(QStringLiteral("tst_startup-XXXXXX")));
#else
        QTemporaryDir dir;
#endif
        QFile config(dir.filePath(QStringLiteral("screen.json")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(R"({"screens": [{"name": "large", "x": 0, "y": 0, "width": 1920, "height": 1080,
                                      "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        config.close();
        QByteArray platform =
            "offscreen:configfile=" + QFile::encodeName(QDir::current().relativeFilePath(config.fileName()));
        int argc = 3;
        char name[] = "tst_startup";
        char option[] = "-platform";
        char* argv[] = {name, option, platform.data(), nullptr};
        QCOMPARE(runQuarn(argc, argv, options), 0);
        QVERIFY(!m_firstFrame.isNull());
        QCOMPARE(m_windowSize, QSize(800, 799));
    }

    void theFirstFrameShowsThePictureWhole_data()
    {
        pictureRows();
    }
    void theFirstFrameShowsThePictureWhole()
    {
        QFETCH(QString, name);
        QVERIFY(m_shown.contains(name));
        const Shown shown = m_shown.value(name);
        // The picture fitted ahead is the one shown: the boxes it was fitted for are the layout's.
        QCOMPARE(shown.pixmapSize, shown.box.size());
        QCOMPARE(opaque(m_firstFrame.copy(shown.box)), opaque(expected(name).fitted));
    }

    void aWindowBuiltOnItsOwnShowsThePicture_data()
    {
        pictureRows();
    }
    void aWindowBuiltOnItsOwnShowsThePicture()
    {
        QFETCH(QString, name);
        int argc = 1;
        char program[] = "tst_startup";
        char* argv[] = {program, nullptr};
        QApplication application(argc, argv);
        TForm1 window;
        const QLabel* box = window.findChild<QLabel*>(name);
        QVERIFY(box);
        QVERIFY(box->hasScaledContents());
        QCOMPARE(opaque(box->pixmap().toImage()), opaque(expected(name).fitted));
    }
};

QTEST_APPLESS_MAIN(TestStartup)
#include "tst_startup.moc"
