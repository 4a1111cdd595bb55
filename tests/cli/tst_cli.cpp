#include "Windows1252.h"
#include "cases/CliCases.h"
#include "cases/CodebookProperties.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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
    void pipesGiveBackTheText_data();
    void pipesGiveBackTheText();
    void inputUpTo1MiB_data();
    void inputUpTo1MiB();
    void endlessOrHugeInputFailsFast_data();
    void endlessOrHugeInputFailsFast();
    void cipherTellsOfTheCut_data();
    void cipherTellsOfTheCut();
    void fileNamesStayOneLine_data();
    void fileNamesStayOneLine();
    void versionComesFromTheProject();
    void namesTheCodePageLacks();
    void padToANewFileForItsOwnerOnly();
    void onlyTheWorksheetStartsQtGui();
    void noCoreDumps();

private:
    struct Run
    {
        int exitCode;
        QByteArray out;
        QByteArray err;
    };
    Run run(const QStringList& args, const QByteArray& input = {}, const QString& inputFile = {},
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    QString writeFile(const QString& name, const QByteArray& bytes);

    QTemporaryDir m_dir;
    QByteArray m_zeroPad;
};

void TestCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Different groups: a pad whose groups repeat enciphers nothing.
    for (int i = 0; i < 100; ++i)
        m_zeroPad += QByteArray::number(i).rightJustified(5, '0') + ' ';
    for (const auto& [name, content] : quarn::cases::cliFiles())
        writeFile(QString::fromStdString(name), QByteArray::fromStdString(content));
}

TestCli::Run TestCli::run(const QStringList& args, const QByteArray& input, const QString& inputFile,
                          const QProcessEnvironment& environment)
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.setProcessEnvironment(environment);
    if (!inputFile.isEmpty())
        process.setStandardInputFile(inputFile);
#ifdef Q_OS_UNIX
    // No umask of the test's own must make a file look private.
    process.setChildProcessModifier([] { ::umask(0); });
#endif
    process.start(QStringLiteral(QUARN_CLI_PATH), args);
    if (inputFile.isEmpty()) {
        process.write(input);
        process.closeWriteChannel();
    }
    if (!process.waitForFinished(30000))
        return {-1, {}, {}};
    QByteArray errors = process.readAllStandardError();
#ifdef Q_OS_WIN
    // Messages go out in text mode, as Windows' consoles want them; the exact bytes are standard output's.
    errors.replace("\r\n", "\n");
#endif
    return {process.exitCode(), process.readAllStandardOutput(), errors};
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
    QTest::addColumn<QByteArray>("err");

    for (const auto& c : quarn::cases::CliCases) {
        QStringList args;
        for (const std::string& a : quarn::cases::splitArgs(c.args))
            args << QString::fromStdString(a);
        QTest::newRow(c.name.data()) << args << QByteArray(c.input.data(), qsizetype(c.input.size())) << c.exitCode
                                     << QByteArray(c.out.data(), qsizetype(c.out.size()))
                                     << QByteArray(c.err.data(), qsizetype(c.err.size()));
    }
}

void TestCli::commands()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    const Run r = run(args, input);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out, out);
    if (exitCode == 2)
        QVERIFY2(r.err.startsWith(err), r.err.constData());
    else
        QCOMPARE(r.err, err);
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
    QTest::newRow("the same umlaut in UTF-8")
        << QByteArray("1\xC3\xA4") << QByteArray("quarn-cli: '\xC3\xA4' ist kein g\xC3\xBCltiger Integerwert.\n");
    QTest::newRow("an escape sequence in UTF-8 input")
        << QByteArray("\xC3\xA4\x1B[2J") << QByteArray("quarn-cli: '\xC3\xA4' ist kein g\xC3\xBCltiger Integerwert.\n");
    QTest::newRow("an escape after digits")
        << QByteArray("12\x1B[2J") << QByteArray("quarn-cli: '\\x1B' ist kein g\xC3\xBCltiger Integerwert.\n");
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

namespace {

// Random texts of table characters and of characters the table passes over, some outside Windows-1252.
QString randomText(QRandomGenerator& random, int length)
{
    static const QString alphabet =
        QString::fromUtf8("ABCDEFGHRPTUNSZ abcrpt .:,-/()+=\"0123456789ÄÖÜäöüß€!?;\r\n\t→Ж😀");
    const QList<uint> characters = alphabet.toUcs4();
    QString text;
    for (int i = 0; i < length; ++i) {
        const char32_t cp = characters[random.bounded(int(characters.size()))];
        text += QString::fromUcs4(&cp, 1);
    }
    return text;
}

// What the encoder sees: Windows-1252 upper case, '?' for a character outside the code page.
std::string encoderBytes(const QString& text)
{
    std::string out;
    for (const uint cp : text.toUcs4()) {
        const auto byte = quarn::Windows1252::fromUnicode(cp);
        out += byte ? char(quarn::Windows1252::toUpper(*byte)) : '?';
    }
    return out;
}

QByteArray windows1252(const QString& text)
{
    QByteArray out;
    for (const uint cp : text.toUcs4())
        out += char(*quarn::Windows1252::fromUnicode(cp));
    return out;
}

} // namespace

void TestCli::pipesGiveBackTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("the README's example") << QStringLiteral("Treffen um 12.30 Uhr");
    QTest::newRow("umlauts and a line break") << QString::fromUtf8("Grüße an\r\nÄrger");
    QTest::newRow("RPT, digraphs and a shift at the end") << QStringLiteral("rpt SCHUNDE 7");
    QRandomGenerator random(20261208); // the same texts every run, so a failing row can be run again
    for (int i = 0; i < 24; ++i)
        QTest::newRow(qPrintable(QStringLiteral("random text %1").arg(i))) << randomText(random, random.bounded(1, 90));
}

void TestCli::pipesGiveBackTheText()
{
    QFETCH(QString, text);
    if (text.endsWith(u'\n')) // the one line break the reader drops would not reach the encoder
        text.chop(1);
    const Run groups = run({"encode"}, text.toUtf8());
    QCOMPARE(groups.exitCode, 0);
    const Run decoded = run({"decode"}, groups.out);
    QCOMPARE(decoded.exitCode, 0);
    QCOMPARE(decoded.out, QByteArray::fromStdString(quarn::cases::expectedRoundTrip(encoderBytes(text)) + "\n"));

    // A text the code page can write gives the same groups and notice from its Windows-1252 bytes.
    const bool inCodePage =
        std::ranges::all_of(text.toUcs4(), [](uint cp) { return quarn::Windows1252::fromUnicode(cp).has_value(); });
    if (inCodePage) {
        const Run again = run({"encode"}, windows1252(text));
        QCOMPARE(again.out, groups.out);
        QCOMPARE(again.err, groups.err);
    }

    writeFile("pipe.OTP", run({"pad"}).out);
    const Run cipher = run({"encipher", "pipe.OTP"}, groups.out);
    QCOMPARE(cipher.exitCode, 0);
    const Run digits = run({"decipher", "--digits", "pipe.OTP"}, cipher.out);
    QCOMPARE(digits.out, groups.out);
    const Run deciphered = run({"decipher", "pipe.OTP"}, cipher.out);
    QCOMPARE(run({"decode"}, digits.out).out, deciphered.out);
    QCOMPARE(deciphered.out, decoded.out);
}

void TestCli::inputUpTo1MiB_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("fromFile");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");

    const qsizetype mib = qsizetype(1) << 20;
    const QByteArray tooLargeFile("quarn-cli: input.txt: zu gro\xC3\x9F: mehr als 1 MiB\n");
    const QByteArray tooLargeInput("quarn-cli: Standardeingabe: zu gro\xC3\x9F: mehr als 1 MiB\n");
    const QByteArray groups = QByteArray("11111 ").repeated(mib / 6) + QByteArray(mib % 6, '1');
    QTest::newRow("a file of 1 MiB is encoded") << QStringList{"encode", "input.txt"} << QByteArray(mib, 'A') << true
                                                << 0 << QByteArray("00000 ").repeated(100) + '\n'
                                                << QByteArray("Ausgabe auf 500 Gruppen gek\xC3\xBCrzt!\n");
    QTest::newRow("a file of 1 MiB and a byte is too large")
        << QStringList{"encode", "input.txt"} << QByteArray(mib + 1, 'B') << true << 1 << QByteArray() << tooLargeFile;
    QTest::newRow("1 MiB ending in a line break on standard input is decoded")
        << QStringList{"decode"} << QByteArray(mib - 1, '0') + '\n'
        << false << 0 << QByteArray(mib - 1, 'A') + '\n'
        << QByteArray();
    QTest::newRow("1 MiB and a byte on standard input is too large")
        << QStringList{"decode"} << QByteArray(mib, '0') + '\n'
        << false << 1 << QByteArray() << tooLargeInput;
    QTest::newRow("groups of 1 MiB are deciphered as far as the pad reaches")
        << QStringList{"decipher", "--digits", "zero.OTP"} << groups << false << 0 << groups.left(600) + '\n'
        << QByteArray("zero.OTP enth\xC3\xA4lt 99 doppelte Gruppen und ist daher kein zuf\xC3\xA4lliges OTP\n"
                      "Eingabe nach 100 Gruppen gek\xC3\xBCrzt!\n");
    QTest::newRow("groups of 1 MiB and a byte are too large")
        << QStringList{"encipher", "count.OTP", "input.txt"} << groups + '1' << true << 1 << QByteArray()
        << tooLargeFile;
}

void TestCli::inputUpTo1MiB()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, content);
    QFETCH(bool, fromFile);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    if (fromFile)
        writeFile("input.txt", content);
    const Run r = run(args, fromFile ? QByteArray() : content);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.err, err);
    QVERIFY(r.out == out);
}

void TestCli::endlessOrHugeInputFailsFast_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("inputFile");
    QTest::addColumn<QByteArray>("err");

    const QByteArray tooLarge("quarn-cli: Standardeingabe: zu gro\xC3\x9F: mehr als 1 MiB\n");
    QTest::newRow("encode of /dev/zero on standard input") << QStringList{"encode"} << "/dev/zero" << tooLarge;
    QTest::newRow("decode of /dev/zero on standard input") << QStringList{"decode"} << "/dev/zero" << tooLarge;
    QTest::newRow("groups from /dev/zero on standard input")
        << QStringList{"decipher", "zero.OTP"} << "/dev/zero" << tooLarge;
    QTest::newRow("a pad from /dev/zero on standard input")
        << QStringList{"encipher", "-", "digits.crp"} << "/dev/zero"
        << QByteArray("quarn-cli: Standardeingabe: das OTP hat nur 0 statt 600 Zeichen\n");
    QTest::newRow("encode of a sparse file of 8 GiB")
        << QStringList{"encode", "huge.txt"} << QString()
        << QByteArray("quarn-cli: huge.txt: zu gro\xC3\x9F: mehr als 1 MiB\n");
}

void TestCli::endlessOrHugeInputFailsFast()
{
    QFETCH(QStringList, args);
    QFETCH(QString, inputFile);
    QFETCH(QByteArray, err);
    if (!inputFile.isEmpty() && !QFile::exists(inputFile))
        QSKIP("no /dev/zero here");
    if (args.contains("huge.txt")) {
        QFile file(m_dir.filePath("huge.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (!file.resize(qint64(8) << 30))
            QSKIP("no room for a sparse file");
    }
    QElapsedTimer timer;
    timer.start();
    const Run r = run(args, {}, inputFile);
    QVERIFY(timer.elapsed() < 10000);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.err, err);
    QFile::remove(m_dir.filePath("huge.txt"));
}

void TestCli::cipherTellsOfTheCut_data()
{
    QTest::addColumn<QByteArray>("groups");
    QTest::addColumn<QByteArray>("err");
    const QByteArray full = QByteArray("12345 ").repeated(100);
    const QByteArray cut("Eingabe nach 100 Gruppen gek\xC3\xBCrzt!\n");
    QTest::newRow("100 groups use all of the pad") << full << QByteArray();
    QTest::newRow("100 groups and a line break") << full + "\r\n" << QByteArray();
    QTest::newRow("a 101st group is cut and told") << full + "67890" << cut;
    QTest::newRow("one more character is cut and told") << full + "6" << cut;
    QTest::newRow("a 101st group in UTF-8 input is cut and told") << full + "\xC3\xA4" << cut;
    QTest::newRow("a second line is cut and told") << full + "\n67890 " << cut;
}

void TestCli::cipherTellsOfTheCut()
{
    QFETCH(QByteArray, groups);
    QFETCH(QByteArray, err);
    for (const char* command : {"encipher", "decipher"}) {
        const Run r = run({command, "--", "count.OTP"}, groups);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, err);
    }
    QCOMPARE(run({"decipher", "--digits", "zero.OTP"}, groups).out, QByteArray("12345 ").repeated(100) + '\n');
}

void TestCli::fileNamesStayOneLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("a line break in a file name")
        << QStringList{"encode", "a\nb.txt"} << QByteArray("quarn-cli: a\\nb.txt: Datei nicht gefunden\n");
    QTest::newRow("an escape sequence in a pad file name")
        << QStringList{"encipher", "\x1B]0;pwned\x07.OTP"}
        << QByteArray("quarn-cli: \\x1B]0;pwned\\x07.OTP: Datei nicht gefunden\n");
    QTest::newRow("a UTF-8 file name shows as it is") << QStringList{"decode", QString::fromUtf8("Grüße.crp")}
                                                      << QByteArray("quarn-cli: Gr\xC3\xBC\xC3\x9F"
                                                                    "e.crp: Datei nicht gefunden\n");
    QTest::newRow("a carriage return in a new pad's folder")
        << QStringList{"pad", "-o", "no\rne/x.OTP"} << QByteArray("quarn-cli: no\\rne/x.OTP: Ordner nicht gefunden\n");
    QTest::newRow("an escape in an unknown option")
        << QStringList{"decode", "--\x1B[2J"} << QByteArray("quarn-cli: unbekannte Option --\\x1B[2J\n");
}

void TestCli::fileNamesStayOneLine()
{
#ifndef Q_OS_UNIX
    QSKIP("such file names exist only on Unix");
#endif
    QFETCH(QStringList, args);
    QFETCH(QByteArray, err);
    const Run r = run(args, "11111");
    QVERIFY(r.exitCode != 0);
    QVERIFY2(r.err.startsWith(err), r.err.constData());
}

void TestCli::versionComesFromTheProject()
{
    for (const char* where : {"--version", "pad"}) {
        const Run r = run(QString(where) == "pad" ? QStringList{"pad", "--version"} : QStringList{"--version"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QByteArray("quarn-cli " QUARN_VERSION "\n"));
        QCOMPARE(r.err, QByteArray());
    }
}

void TestCli::namesTheCodePageLacks()
{
    // Windows has such names on its wide command line only; read and written, they are the same file.
    const QString pad = QString::fromUtf8("Łódź-κλειδί.OTP");
    writeFile(pad, m_zeroPad);
    const Run cipher = run({"encipher", "--", pad}, "12345 ");
    QVERIFY2(cipher.exitCode == 0, cipher.err.constData());
    const QString made = QString::fromUtf8("Łódź-neu.OTP");
    QCOMPARE(run({"pad", "-o", made}).exitCode, 0);
    QVERIFY(QFile::exists(m_dir.filePath(made)));
}

void TestCli::padToANewFileForItsOwnerOnly()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath("heute.OTP");
    const Run r = run({"pad", "-o", path});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(r.err, QByteArray());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pad = file.readAll();
    file.close();
    QVERIFY(QRegularExpression("^([0-9]{5} ){100}\n$").match(QString::fromLatin1(pad)).hasMatch());
#ifdef Q_OS_UNIX
    struct stat info;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0600)); // even with the umask 0 the test gives it
#endif
    // Nothing is left beside it, and a second pad never replaces the first.
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"heute.OTP"});
    const Run again = run({"pad", "-o", path});
    QCOMPARE(again.exitCode, 1);
    QCOMPARE(again.out, QByteArray());
    QCOMPARE(again.err, "quarn-cli: " + path.toUtf8() +
                            ": existiert bereits; ein OTP wird nie \xC3\xBC"
                            "berschrieben\n");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), pad);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"heute.OTP"});

    // "-" is standard output, as without -o.
    QCOMPARE(run({"pad", "-o", "-"}).out.size(), 601);
}

// The worksheet starts Qt's offscreen platform by itself, with no display; the other commands start no GUI, so
// a platform that cannot start does not touch them.
void TestCli::onlyTheWorksheetStartsQtGui()
{
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        noDisplay.remove(name);
    const Run sheet = run({"worksheet", "count.OTP", "plain.txt", "-o", "-"}, {}, {}, noDisplay);
    QCOMPARE(sheet.err, QByteArray());
    QCOMPARE(sheet.exitCode, 0);
    QVERIFY(sheet.out.startsWith("%PDF-"));

    QProcessEnvironment noPlatform = noDisplay;
    noPlatform.insert("QT_QPA_PLATFORM", "none-such");
    QCOMPARE(run({"encode", "plain.txt"}, {}, {}, noPlatform).out, QByteArray("05052 \n"));
    QCOMPARE(run({"pad", "-o", "-"}, {}, {}, noPlatform).out.size(), 601);
    // The user's choice of platform stands.
    const Run chosen = run({"worksheet", "count.OTP", "plain.txt", "-o", "-"}, {}, {}, noPlatform);
    QVERIFY2(chosen.err.contains("none-such") && chosen.out.isEmpty(), chosen.err.constData());

#ifdef Q_OS_LINUX
    // A system without fonts gets a failure, not a PDF of empty pages.
    QDir(m_dir.path()).mkdir("no-fonts");
    writeFile("no-fonts.conf", "<fontconfig><dir>" + m_dir.filePath("no-fonts").toUtf8() + "</dir></fontconfig>");
    QProcessEnvironment noFonts = noDisplay;
    noFonts.insert("FONTCONFIG_FILE", m_dir.filePath("no-fonts.conf"));
    const Run empty = run({"worksheet", "count.OTP", "plain.txt", "-o", "blank.pdf"}, {}, {}, noFonts);
    QCOMPARE(empty.exitCode, 1);
    QVERIFY2(empty.err.endsWith("quarn-cli: Das Arbeitsblatt lie\xC3\x9F sich nicht als PDF setzen.\n"),
             empty.err.constData());
    QVERIFY(!QFile::exists(m_dir.filePath("blank.pdf")));
#endif
}

void TestCli::noCoreDumps()
{
#ifdef Q_OS_LINUX
    // A command waiting for its input holds what it has read; the system must never write it to a core file.
    QProcess cli;
    cli.start(QUARN_CLI_PATH, {"decode"});
    QVERIFY(cli.waitForStarted());
    // Soft and hard limit both 0: inherited, the hard one would still let the process raise the soft one.
    const auto noCore = [&cli] {
        QFile limits(QStringLiteral("/proc/%1/limits").arg(cli.processId()));
        return limits.open(QIODevice::ReadOnly) && QRegularExpression(R"(Max core file size\s+0\s+0\s)")
                                                       .match(QString::fromLatin1(limits.readAll()))
                                                       .hasMatch();
    };
    QTRY_VERIFY(noCore());
    cli.closeWriteChannel();
    QVERIFY(cli.waitForFinished());
#else
    QSKIP("core dumps are switched off on Linux only");
#endif
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
