#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Drives the real executable: exit statuses and the exact bytes on its streams.
class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void commands_data();
    void commands();
    void longInputReportsTheCut();
    void padIsAFreshPadText();
    void encipherAndDecipherWithAPadFile();

private:
    struct Run
    {
        int exitCode;
        QByteArray out;
        QByteArray err;
    };
    Run run(const QStringList& args, const QByteArray& input = {});
    QString writeFile(const QString& name, const QByteArray& bytes);

    QTemporaryDir m_dir;
    QByteArray m_zeroPad;
};

void TestCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (int i = 0; i < 100; ++i)
        m_zeroPad += "00000 ";
    writeFile("zero.OTP", m_zeroPad + "\r\n");
    writeFile("short.OTP", m_zeroPad.left(599));
    writeFile("ctrlz.OTP", m_zeroPad.left(300) + '\x1A' + m_zeroPad);
    writeFile("nul.OTP", QByteArray("0\0", 2) + m_zeroPad.mid(1));
    writeFile("plain.txt", "Abc\r\n");
}

TestCli::Run TestCli::run(const QStringList& args, const QByteArray& input)
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.start(QStringLiteral(QUARN_CLI_PATH), args);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
        return {-1, {}, {}};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QString TestCli::writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file");
    return file.fileName();
}

void TestCli::commands_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");

    QTest::newRow("encode a file, its line break dropped, letters upper-cased")
        << QStringList{"encode", "plain.txt"} << QByteArray() << 0 << QByteArray("05052 \n");
    QTest::newRow("encode standard input; sharp s stays and is passed over")
        << QStringList{"encode"} << QByteArray("stra\xDF" "e\n") << 0 << QByteArray("69704 01\n");
    QTest::newRow("only one trailing line break is dropped")
        << QStringList{"decode"} << QByteArray("8011\n\n") << 0 << QByteArray("\r\nEE\n");
    QTest::newRow("decode keeps a CR LF line break") << QStringList{"decode"} << QByteArray("8011\r\n") << 0
                                                    << QByteArray("\r\nEE\n");
    QTest::newRow("encode of nothing is an empty line") << QStringList{"encode"} << QByteArray("\xE4\xF6\xFC") << 0
                                                       << QByteArray("\n");
    QTest::newRow("decipher with the zero pad") << QStringList{"decipher", "zero.OTP"} << QByteArray("08211 81835 0")
                                                << 0 << QByteArray("A1 B\n");
    QTest::newRow("decipher --digits prints the output groups")
        << QStringList{"decipher", "--digits", "zero.OTP"} << QByteArray("08211 81835 0") << 0
        << QByteArray("08211 81835 0\n");
    QTest::newRow("a byte 0 in the pad never reaches it") << QStringList{"encipher", "nul.OTP"} << QByteArray("11111")
                                                          << 0 << QByteArray("11111 \n");
    QTest::newRow("a non-digit fails with nothing on standard output")
        << QStringList{"encipher", "zero.OTP"} << QByteArray("1234567") << 1 << QByteArray();
    QTest::newRow("a short pad fails") << QStringList{"encipher", "short.OTP"} << QByteArray("11111") << 1
                                       << QByteArray();
    QTest::newRow("a Ctrl-Z ends the pad file") << QStringList{"decipher", "ctrlz.OTP"} << QByteArray("11111") << 1
                                                << QByteArray();
    QTest::newRow("a missing pad file fails") << QStringList{"encipher", "none.OTP"} << QByteArray("11111") << 1
                                              << QByteArray();
    QTest::newRow("a missing input file fails") << QStringList{"encode", "none.txt"} << QByteArray() << 1
                                                << QByteArray();
    QTest::newRow("no command is wrong usage") << QStringList{} << QByteArray() << 2 << QByteArray();
    QTest::newRow("an unknown command is wrong usage") << QStringList{"frobnicate"} << QByteArray() << 2
                                                       << QByteArray();
    QTest::newRow("encipher without a pad file is wrong usage") << QStringList{"encipher"} << QByteArray() << 2
                                                                << QByteArray();
    QTest::newRow("an unknown option is wrong usage") << QStringList{"decode", "--fast"} << QByteArray() << 2
                                                      << QByteArray();
    QTest::newRow("too many files are wrong usage") << QStringList{"decode", "a", "b"} << QByteArray() << 2
                                                    << QByteArray();
}

void TestCli::commands()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    const Run r = run(args, input);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out, out);
    if (exitCode != 0)
        QVERIFY(!r.err.isEmpty());
    else
        QVERIFY(r.err.isEmpty());
}

void TestCli::longInputReportsTheCut()
{
    const Run r = run({"encode"}, QByteArray(200, 'B')); // 400 digits: no notice
    QCOMPARE(r.err, QByteArray());
    const Run cut = run({"encode"}, QByteArray(250, 'B')); // 500 digits: notice, still success
    QCOMPARE(cut.exitCode, 0);
    QCOMPARE(cut.out.size(), 601);
    QCOMPARE(cut.err, QByteArray("Ausgabe auf 500 Gruppen gek\xC3\xBCrzt!\n"));

    const Run help = run({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("encipher"));
}

void TestCli::padIsAFreshPadText()
{
    const Run a = run({"pad"});
    const Run b = run({"pad"});
    QCOMPARE(a.exitCode, 0);
    QCOMPARE(a.out.size(), 601);
    QVERIFY(a.out.endsWith(" \n"));
    QVERIFY(a.out != b.out);
}

void TestCli::encipherAndDecipherWithAPadFile()
{
    const QByteArray pad = run({"pad"}).out;
    writeFile("fresh.OTP", pad.left(600) + "\r\n");
    const QByteArray groups = run({"encode"}, "Treffpunkt 12.30 Uhr am Tor").out;
    const Run enc = run({"encipher", "fresh.OTP"}, groups);
    QCOMPARE(enc.exitCode, 0);
    QVERIFY(enc.out != groups);
    const Run digits = run({"decipher", "--digits", "fresh.OTP"}, enc.out);
    QCOMPARE(digits.out, groups);
    const Run text = run({"decipher", "fresh.OTP"}, enc.out);
    QCOMPARE(text.out, QByteArray("TREFFPUNKT 12.30 UHR AM TOR\n"));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
