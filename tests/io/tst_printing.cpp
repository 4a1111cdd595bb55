#include "CliCommands.h"
#include "CodeEncoder.h"
#include "GroupFormatter.h"
#include "PrintSession.h"
#include "PrinterCanvas.h"
#include "PrinterTextDevice.h"
#include "RecordingCanvas.h"
#include "TextBytes.h"
#include "WorksheetDocument.h"
#include "WorksheetPdf.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace quarn;

// Draws written as "page x,y text", so that expected layouts read like the page.
static QStringList drawn(const RecordingCanvas& canvas)
{
    QStringList lines;
    for (const RecordingCanvas::Draw& d : canvas.draws())
        lines << QStringLiteral("%1 %2,%3 %4").arg(d.page).arg(d.x).arg(d.y).arg(d.text);
    return lines;
}

// Whether a print started now is refused because a job is being written. A print that is not refused
// shows no dialog and prints nothing: it has none to confirm it.
static bool printRefusedAsBusy()
{
    PrintSession session;
    const Result<bool> printed = session.print(QStringList{}, QFont(), PrintSession::Dialog{});
    return !printed && printed.failure().kind == Failure::Kind::PrintingBusy;
}

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void displayLines_data();
    void displayLines();
    void fontGoesToTheCanvas();
    void secondPrintDuringAJobIsRefused();
    void printerCanvasWritesThePage();
    void unwritablePrinterIsInvalid();
    void worksheetPdfReadsBackAsTheSheet_data();
    void worksheetPdfReadsBackAsTheSheet();
    void paperFollowsThePaperLocale();
};

// Metrics of the recording canvas: characters 10 wide, a text line 20 + 2 high, an empty line 17, tab stops
// every 80; the page is 800 by 1000 unless a row says otherwise.
void TestPrinting::layout_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QPoint>("end");

    const QSize page(800, 1000);
    QTest::newRow("a text starts at the printable area's top-left corner")
        << "ABC" << page << QStringList{"1 0,0 ABC"} << 1 << QPoint(30, 0);
    QTest::newRow("a line with text is as high as its text and two units")
        << "AB\r\nCD" << page << QStringList{"1 0,0 AB", "1 0,22 CD"} << 1 << QPoint(20, 22);
    QTest::newRow("an empty line is as high as a character")
        << "\r\n\r\nA" << page << QStringList{"1 0,34 A"} << 1 << QPoint(10, 34);
    QTest::newRow("three lines with text and seven empty ones")
        << "A\r\nB\r\nC\r\n" + QString("\r\n").repeated(7) + "X" << page
        << QStringList{"1 0,0 A", "1 0,22 B", "1 0,44 C", "1 0,185 X"} << 1 << QPoint(10, 185);
    QTest::newRow("LF alone starts a new line")
        << "A\nB" << page << QStringList{"1 0,0 A", "1 0,22 B"} << 1 << QPoint(10, 22);
    QTest::newRow("CR alone stays on the line")
        << "AB\rCD" << page << QStringList{"1 0,0 AB", "1 20,0 CD"} << 1 << QPoint(40, 0);
    QTest::newRow("a text wider than the page is carried over")
        << "ABCDEFGH" << QSize(50, 1000) << QStringList{"1 0,0 ABCDE", "1 0,22 FGH"} << 1 << QPoint(30, 22);
    QTest::newRow("a text is carried over as often as it needs")
        << "ABCDEFGH" << QSize(30, 1000) << QStringList{"1 0,0 ABC", "1 0,22 DEF", "1 0,44 GH"} << 1 << QPoint(20, 44);
    QTest::newRow("a text after another fills the rest of the line first")
        << "ABC\rDEFG" << QSize(50, 1000) << QStringList{"1 0,0 ABC", "1 30,0 DE", "1 0,22 FG"} << 1 << QPoint(20, 22);
    QTest::newRow("a text that fits exactly stays on its line")
        << "ABCDE" << QSize(50, 1000) << QStringList{"1 0,0 ABCDE"} << 1 << QPoint(50, 0);
    QTest::newRow("a page narrower than a character gets one per line")
        << "AB" << QSize(5, 1000) << QStringList{"1 0,0 A", "1 0,22 B"} << 1 << QPoint(10, 22);
    QTest::newRow("TAB at the line start goes to the first stop")
        << "\tA" << page << QStringList{"1 80,0 A"} << 1 << QPoint(90, 0);
    QTest::newRow("TAB just before a stop goes to that stop")
        << "ABCDEFG\tX" << page << QStringList{"1 0,0 ABCDEFG", "1 80,0 X"} << 1 << QPoint(90, 0);
    QTest::newRow("TAB on a stop goes to the next one")
        << "ABCDEFGH\tX" << page << QStringList{"1 0,0 ABCDEFGH", "1 160,0 X"} << 1 << QPoint(170, 0);
    QTest::newRow("TAB past the page width starts a new line")
        << "ABCDEFGHI\tX" << QSize(100, 1000) << QStringList{"1 0,0 ABCDEFGHI", "1 0,22 X"} << 1 << QPoint(10, 22);
    QTest::newRow("FF begins a page at its top and keeps the line's height")
        << "AB\f\r\nE" << page << QStringList{"1 0,0 AB", "2 0,22 E"} << 2 << QPoint(10, 22);
    QTest::newRow("FF mid-line draws the rest on the new page")
        << "AB\fCD" << page << QStringList{"1 0,0 AB", "2 0,0 CD"} << 2 << QPoint(20, 0);
    QTest::newRow("text lines break the page two line heights above the bottom")
        << "A\r\nB\r\nC\r\nD" << QSize(800, 100) << QStringList{"1 0,0 A", "1 0,22 B", "1 0,44 C", "2 0,0 D"} << 2
        << QPoint(10, 0);
    QTest::newRow("empty lines may reach the bottom")
        << QString("\r\n").repeated(5) + "A" << QSize(800, 100) << QStringList{"1 0,85 A"} << 1 << QPoint(10, 85);
    QTest::newRow("an empty line past the bottom breaks the page")
        << QString("\r\n").repeated(6) + "A" << QSize(800, 100) << QStringList{"2 0,0 A"} << 2 << QPoint(10, 0);
    QTest::newRow("a carried-over text breaks the page like a line")
        << "ABCDEFGHIJKL" << QSize(30, 60) << QStringList{"1 0,0 ABC", "2 0,0 DEF", "3 0,0 GHI", "4 0,0 JKL"} << 4
        << QPoint(30, 0);
    QTest::newRow("umlauts are text like any other")
        << "GR\u00dcSSE \u00c4\u00d6" << page << QStringList{"1 0,0 GR\u00dcSSE \u00c4\u00d6"} << 1 << QPoint(90, 0);
}

void TestPrinting::layout()
{
    QFETCH(QString, text);
    QFETCH(QSize, page);
    QFETCH(QStringList, draws);
    QFETCH(int, pages);
    QFETCH(QPoint, end);

    RecordingCanvas::Metrics metrics;
    metrics.printable = page;
    RecordingCanvas canvas(metrics);
    PrinterTextDevice device(canvas);
    device.write(text);
    QCOMPARE(drawn(canvas), draws);
    QCOMPARE(canvas.pageCount(), pages);
    QCOMPARE(device.position(), end);
    QVERIFY(!canvas.isFinished());
    device.close();
    QVERIFY(canvas.isFinished());
}

// On a page 160 high ten empty lines just pass the bottom (the tenth moves to 170), so the page count tells
// whether a short field was filled up to ten lines.
void TestPrinting::displayLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<int>("pages");

    QTest::newRow("an empty field writes ten empty lines") << QStringList{} << QStringList{} << 2;
    QTest::newRow("nine empty lines are filled up to ten") << QStringList(9, QString()) << QStringList{} << 2;
    QTest::newRow("three lines are followed by seven empty ones")
        << QStringList{"A", "B", "C"} << QStringList{"1 0,0 A", "1 0,22 B", "1 0,44 C"} << 2;

    QStringList twelve;
    QStringList twelveDrawn;
    for (int n = 0; n < 12; ++n) {
        twelve << QStringLiteral("L%1").arg(n);
        // Six text lines to a page: the sixth ends at 132, past 160 - 2 * 22.
        twelveDrawn << QStringLiteral("%1 0,%2 L%3").arg(1 + n / 6).arg(22 * (n % 6)).arg(n);
    }
    QTest::newRow("a field of twelve lines is printed whole") << twelve << twelveDrawn << 3;
}

void TestPrinting::displayLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, draws);
    QFETCH(int, pages);

    RecordingCanvas::Metrics metrics;
    metrics.printable = QSize(800, 160);
    RecordingCanvas canvas(metrics);
    printDisplayLines(canvas, QFont(), lines);
    QCOMPARE(drawn(canvas), draws);
    QCOMPARE(canvas.pageCount(), pages);
    QVERIFY(canvas.isFinished());
    QVERIFY(!printRefusedAsBusy());
}

void TestPrinting::fontGoesToTheCanvas()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(11);
    font.setBold(true);
    RecordingCanvas canvas;
    printDisplayLines(canvas, font, {QStringLiteral("A")});
    QCOMPARE(canvas.font(), font);

    QFont pixels = font;
    pixels.setPixelSize(16);
    QVERIFY(PrinterCanvas::inPoints(pixels).pointSizeF() > 0);
    QCOMPARE(PrinterCanvas::inPoints(font), font);
}

// A print button pressed while pages are being ended must not start a second job.
void TestPrinting::secondPrintDuringAJobIsRefused()
{
    PrintSession session;
    RecordingCanvas canvas;
    QList<Failure::Kind> answers;
    bool dialogShown = false;
    canvas.onPageEnd = [&] {
        QVERIFY(printRefusedAsBusy());
        const Result<bool> printed =
            session.print({QStringLiteral("X")}, QFont(), [&](QPrinter&) { return dialogShown = true; });
        answers << (printed ? Failure::Kind{} : printed.failure().kind);
    };
    printDisplayLines(canvas, QFont(), {QStringLiteral("A")});
    QCOMPARE(answers, QList{Failure::Kind::PrintingBusy});
    QVERIFY(!dialogShown);
    QVERIFY(!printRefusedAsBusy());
}

static QString pdfText(const QString& path, const QStringList& options = {})
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  QStringList{QStringLiteral("-layout")} + options + QStringList{path, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("pdftotext failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

void TestPrinting::printerCanvasWritesThePage()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("SKIP: pdftotext (poppler-utils) is not installed; the page cannot be read back");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(10);
    {
        PrinterCanvas canvas(printer);
        QVERIFY(canvas.isActive());
        QVERIFY(canvas.printableSize().width() > 0 && canvas.printableSize().height() > 0);
        printDisplayLines(canvas, font, {QStringLiteral("12345 67890"), QString(), QStringLiteral("GR\u00dcSSE")});
        QVERIFY(!canvas.isActive());
    }
    const QStringList text = pdfText(dir.filePath(QStringLiteral("page.pdf"))).split(u'\n');
    QStringList words;
    for (const QString& line : text)
        words << line.simplified();
    while (!words.isEmpty() && words.last().isEmpty())
        words.removeLast();
    QCOMPARE(words.value(0), QStringLiteral("12345 67890"));
    QCOMPARE(words.mid(1).join(u'|').remove(u'|').simplified(), QStringLiteral("GR\u00dcSSE"));
}

void TestPrinting::unwritablePrinterIsInvalid()
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/nonexistent-folder/of/quarn/page.pdf"));
    PrinterCanvas canvas(printer);
    QVERIFY(!canvas.isActive());
}

void TestPrinting::worksheetPdfReadsBackAsTheSheet_data()
{
    QTest::addColumn<bool>("fromCli");
    QTest::addColumn<bool>("decode");
    QTest::newRow("the window's PDF of an encipherment") << false << false;
    QTest::newRow("quarn-cli's PDF of the same encipherment") << true << false;
    QTest::newRow("quarn-cli's PDF of the decipherment") << true << true;
}

// The PDF read back as text, column for column: it holds the sheet's lines, every column adds up, and every
// character stands above (or beneath) a digit of the code row.
void TestPrinting::worksheetPdfReadsBackAsTheSheet()
{
    QFETCH(bool, fromCli);
    QFETCH(bool, decode);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("SKIP: pdftotext (poppler-utils) is not installed; the worksheet PDF cannot be read back");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    std::string pad;
    for (int i = 0; i < 100; ++i)
        pad += std::to_string(10000 + i * 791) + " ";
    const std::string text = "TREFFEN UM 12.30 UHR AM BAHNHOF, GLEIS 3 (RPT)";
    const std::string cipher =
        PadCipher::run(GroupFormatter::format(CodeEncoder::encode(text)).text, pad, CipherDirection::Encode).output;
    const auto direction = decode ? CipherDirection::Decode : CipherDirection::Encode;
    const Result<Worksheet> built = Worksheet::build(decode ? cipher : text, pad, direction);
    QVERIFY(built.ok());
    const Worksheet& sheet = *built;
    const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
    if (fromCli) {
        for (const auto& [name, bytes] : {std::pair{"pad.OTP", pad}, std::pair{"input.txt", decode ? cipher : text}}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes.data(), qint64(bytes.size())));
        }
        SystemRandomSource random;
        std::vector<std::string> args{"worksheet", dir.filePath("pad.OTP").toStdString(),
                                      dir.filePath("input.txt").toStdString(), "-o", path.toStdString()};
        if (decode)
            args.push_back("--decipher");
        const cli::CliOutcome outcome = cli::runCli(
            args, random, [](char*, std::size_t) { return std::size_t(0); }, cli::worksheetPdf);
        QCOMPARE(QString::fromStdString(outcome.err), QString());
        QCOMPARE(outcome.exitCode, 0);
    } else {
        const QByteArray pdf = *WorksheetDocument::pdf(sheet, QDate::currentDate(), Paper::A4);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size());
    }

    // The face travels inside the file, so the columns hold in a reader that lacks it.
    QProcess pdffonts;
    pdffonts.start(QStringLiteral("pdffonts"), {path});
    QVERIFY(pdffonts.waitForFinished(30000) && pdffonts.exitCode() == 0);
    const QStringList fonts = QString::fromUtf8(pdffonts.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(fonts.size(), 3); // the heading, its rule and the one face
    const QStringList face = fonts[2].simplified().split(u' ');
    QCOMPARE(face.value(face.size() - 5), QStringLiteral("yes")); // its "emb" column

    // At the face's pitch pdftotext keeps every column where it is.
    const double pitch = Worksheet::ColumnPoints;
    QStringList lines = pdfText(path, {QStringLiteral("-fixed"), QString::number(pitch)}).split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    const qsizetype indent = qRound(Worksheet::MarginPoints / pitch);
    const auto rightTrimmed = [](QString line) { return line.remove(QRegularExpression(QStringLiteral("\\s+$"))); };
    for (QString& line : lines)
        line = rightTrimmed(line.mid(indent));
    QStringList wanted;
    const auto pages = sheet.pages(Paper::A4, WorksheetDocument::dateOf(QDate::currentDate()));
    for (const std::string& line : pages.at(0))
        wanted << rightTrimmed(fromWindows1252(line));
    while (!wanted.isEmpty() && wanted.last().isEmpty())
        wanted.removeLast();
    QCOMPARE(lines, wanted);

    const auto row = [&](const QString& label, qsizetype from) {
        for (qsizetype i = from; i < lines.size(); ++i)
            if (lines[i].startsWith(label))
                return i;
        return qsizetype(-1);
    };
    const QString codeLabel = decode ? QStringLiteral("= Code  ") : QStringLiteral("Code  ");
    int columns = 0;
    for (qsizetype code = row(codeLabel, 0); code >= 0; code = row(codeLabel, code + 1)) {
        const QString sum = lines[decode ? code - 2 : code + 2];
        const QString& padRow = lines[decode ? code - 1 : code + 1];
        for (qsizetype x = 12; x < lines[code].size(); ++x) {
            if (!lines[code][x].isDigit())
                continue;
            QVERIFY2(padRow.size() > x && sum.size() > x && padRow[x].isDigit() && sum[x].isDigit(),
                     qPrintable(QStringLiteral("column %1 of %2").arg(x).arg(lines[code])));
            QCOMPARE((lines[code][x].digitValue() + padRow[x].digitValue()) % 10, sum[x].digitValue());
            ++columns;
        }
        // The character rows: above the code in encode direction, beneath it in decode direction.
        for (qsizetype r = decode ? code + 1 : code - 1; r >= 0 && r < lines.size() && !lines[r].isEmpty() &&
                                                         !lines[r].startsWith(u'=') && !lines[r].startsWith(u'-');
             r += decode ? 1 : -1) {
            for (qsizetype x = 12; x < lines[r].size(); ++x)
                if (lines[r][x] != u' ' && (x == 12 || lines[r][x - 1] == u' '))
                    QVERIFY2(lines[code].size() > x && lines[code][x].isDigit(),
                             qPrintable(QStringLiteral("'%1' at %2 stands over no digit").arg(lines[r][x]).arg(x)));
        }
    }
    QCOMPARE(columns, int(sheet.codeDigits.size()));
}

void TestPrinting::paperFollowsThePaperLocale()
{
    const QByteArray all = qgetenv("LC_ALL"), paper = qgetenv("LC_PAPER"), lang = qgetenv("LANG");
    qunsetenv("LC_ALL");
    qputenv("LANG", "de_DE.UTF-8");
    qputenv("LC_PAPER", "en_US.UTF-8");
    const Paper fromPaper = WorksheetDocument::preferredPaper();
    qputenv("LC_ALL", "de_DE.UTF-8");
    const Paper fromAll = WorksheetDocument::preferredPaper();
    qputenv("LC_ALL", all);
    qputenv("LC_PAPER", paper);
    qputenv("LANG", lang);
    QCOMPARE(fromPaper, Paper::Letter);
    QCOMPARE(fromAll, Paper::A4);

    // A printer's paper is the sheet's: nine blocks fill an A4 page, and on Letter they take two.
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("SKIP: pdftotext (poppler-utils) is not installed; the printed pages cannot be counted");
    const Worksheet sheet = *Worksheet::build(
        "\xC4" + std::string(225, 'A'), QByteArray("00000 ").repeated(100).toStdString(), CipherDirection::Encode);
    QCOMPARE(sheet.pages(Paper::A4, {2026, 12, 9}).size(), std::size_t(1));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("sheet.pdf")));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    QVERIFY(WorksheetDocument::printJob(sheet, QDate(2026, 12, 9))(printer));
    QCOMPARE(pdfText(dir.filePath(QStringLiteral("sheet.pdf"))).count(u'\f'), qsizetype(2));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
