#include "cases/CliCases.h"

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
    void failureNamesTheCharacterOnOneLine_data();
    void failureNamesTheCharacterOnOneLine();
    void padFromStandardInput();
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
    for (const auto& [name, content] : quarn::cases::cliFiles())
        writeFile(QString::fromStdString(name), QByteArray::fromStdString(content));
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

    for (const auto& c : quarn::cases::CliCases) {
        QStringList args;
        for (const std::string& a : quarn::cases::splitArgs(c.args))
            args << QString::fromStdString(a);
        QTest::newRow(c.name.data()) << args << QByteArray(c.input.data(), qsizetype(c.input.size())) << c.exitCode
                                     << QByteArray(c.out.data(), qsizetype(c.out.size()));
    }
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

void TestCli::failureNamesTheCharacterOnOneLine_data()
{
    QTest::addColumn<QByteArray>("cipher");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("a letter") << QByteArray("12a45")
                              << QByteArray("quarn-cli: 'a' ist kein g\xC3\xBCltiger Integerwert.\n");
    QTest::newRow("a line break inside the cipher text")
        << QByteArray("12345\n67890") << QByteArray("quarn-cli: '\\n' ist kein g\xC3\xBCltiger Integerwert.\n");
    QTest::newRow("a CR") << QByteArray("12345\r\r\n")
                          << QByteArray("quarn-cli: '\\r' ist kein g\xC3\xBCltiger Integerwert.\n");
    QTest::newRow("a control character") << QByteArray("1\x01")
                                         << QByteArray("quarn-cli: '\\x01' ist kein g\xC3\xBCltiger Integerwert.\n");
    QTest::newRow("a byte Windows-1252 leaves undefined")
        << QByteArray("1\x81") << QByteArray("quarn-cli: '\\x81' ist kein g\xC3\xBCltiger Integerwert.\n");
    QTest::newRow("a Windows-1252 umlaut")
        << QByteArray("1\xE4") << QByteArray("quarn-cli: '\xC3\xA4' ist kein g\xC3\xBCltiger Integerwert.\n");
}

void TestCli::failureNamesTheCharacterOnOneLine()
{
    QFETCH(QByteArray, cipher);
    QFETCH(QByteArray, err);
    const Run r = run({"decipher", "zero.OTP"}, cipher);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.err, err);
}

void TestCli::padFromStandardInput()
{
    if (QFile::exists(QStringLiteral("/dev/zero"))) {
        const Run zeros = run({"encipher", "/dev/zero"}, "11111"); // bytes 0 without end: a bounded read
        QCOMPARE(zeros.exitCode, 1);
    }
    const Run r = run({"encipher", "-", "digits.crp"}, m_zeroPad + "\r\n");
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray("8011\n"));
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
