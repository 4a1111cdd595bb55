// Loading a text and a pad from a 1 GB file against a 1 KB file: a load reads only what it keeps.
#include "TForm1.h"
#include "app/FormWidgets.h"
#include "app/WindowFakes.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace quarn;

namespace {

// The text first, then the rest of the size as a hole, so the big file takes no disk space.
void makeFile(const QString& path, qint64 size)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray text;
    while (text.size() < 1024)
        text += "12345 ";
    text.truncate(1024);
    QCOMPARE(file.write(text), qint64(text.size()));
    QVERIFY(file.resize(size));
}

} // namespace

class BenchLoads : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    test::WindowFakes m_fakes;
    QHash<QString, double> m_msecs;

    double timeLoad(TForm1& form, void (TForm1::*handler)(), const QString& path)
    {
        constexpr int runs = 200;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < runs; ++i) {
            m_fakes.files->setNextAnswer(path);
            (form.*handler)();
            m_fakes.boxes->takeRecords();
        }
        return double(timer.nsecsElapsed()) / 1e6 / runs;
    }

private slots:
    void initTestCase()
    {
        makeFile(m_dir.filePath(QStringLiteral("klein.OTP")), 1024);
        makeFile(m_dir.filePath(QStringLiteral("gross.OTP")), qint64(1) << 30);
    }

    void loads_data()
    {
        QTest::addColumn<bool>("pad");
        QTest::newRow("Crypt Laden") << false;
        QTest::newRow("OTP Laden") << true;
    }

    void loads()
    {
        QFETCH(bool, pad);
        TForm1 form(m_fakes.seams());
        const test::FormWidgets* ui = test::widgetsOf(form);
        ui->rb_QuarnDecod->click();
        const auto handler = pad ? &TForm1::bt_OTPLoadClick : &TForm1::bt_QuarnInLoadClick;
        const double small = timeLoad(form, handler, m_dir.filePath(QStringLiteral("klein.OTP")));
        const double large = timeLoad(form, handler, m_dir.filePath(QStringLiteral("gross.OTP")));
        QVERIFY(pad ? ui->OTPOut->fieldText().size() == 600 : ui->QuarnIn->text().size() == 603);
        qInfo("%s: 1 KB %.3f ms, 1 GB %.3f ms, ratio %.2f", QTest::currentDataTag(), small, large, large / small);
    }
};

QTEST_MAIN(BenchLoads)
#include "bench_loads.moc"
