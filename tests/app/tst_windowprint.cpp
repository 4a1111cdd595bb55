#include "FormWidgets.h"
#include "MessageBoxes.h"
#include "PrintSession.h"
#include "PrinterDialog.h"
#include "PrivatePrintServer.h"
#include "TForm1.h"
#include "TextBytes.h"
#include "WindowFakes.h"
#include "WindowTestSupport.h"
#include "Worksheet.h"

#include <QAction>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QtTest>

using namespace quarn;

namespace {

const QString queue = QStringLiteral("Quarn_Fenster");

} // namespace

// The window's print buttons, printing through a print server of the test's own.
class TestWindowPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void padIsPrintedAsTheFieldShowsIt();
    void cipherGroupsArePrintedInEncodeDirection();
    void decodedTextIsPrintedInDecodeDirection();
    void aChangeOfDirectionPrintsTheCipherStillOnScreen();
    void cancelPrintsNothingAndSaysNothing();
    void aPrintedPadIsKeptButACancelledPrintKeepsNothing();
    void dialogOffersCopiesButNoRangeSelectionOrFile();
    void theWorksheetIsPrintedAsItsLinesAndKeepsThePad();
    // Last: it takes the queue away.
    void printerGoneAndNoPrinterAtAllAreReported();

private:
    const test::FormWidgets* ui() { return test::widgetsOf(*m_form); }
    void encipher(const QString& text);
    // Clicks the button with the dialog confirmed; the printed PDF's lines with text.
    QStringList printAndRead(QAbstractButton* button);
    QStringList printAndRead(const std::function<void()>& print);

    PrivatePrintServer m_server;
    test::WindowFakes m_fakes;
    std::unique_ptr<TForm1> m_form;
};

void TestWindowPrint::initTestCase()
{
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
    QVERIFY2(m_server.addPdfQueue(queue, true), qPrintable(m_server.error()));
}

void TestWindowPrint::init()
{
    m_fakes = test::WindowFakes();
    QFile::remove(m_server.outputFile(queue));
    m_form = std::make_unique<TForm1>(m_fakes.seams(std::make_shared<test::SequenceSource>()));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestWindowPrint::cleanup()
{
    m_form.reset();
    QVERIFY(!m_fakes.printer->hasNextAnswer());
}

// Closing asks about a used pad that is neither saved nor printed; only a print that happened counts.
void TestWindowPrint::aPrintedPadIsKeptButACancelledPrintKeepsNothing()
{
    encipher(QStringLiteral("HALLO"));
    m_fakes.printer->setNextAnswer(false);
    ui()->bt_OTPPrint->click();
    m_fakes.boxes->setNextAnswer(test::Answer::No);
    QVERIFY(!m_form->close());
    QCOMPARE(m_fakes.boxes->takeRecords().size(), 1);

    QCOMPARE(printAndRead(ui()->bt_OTPPrint).join(u' '), ui()->OTPOut->fieldText().simplified());
    QVERIFY(m_form->close());
    QCOMPARE(m_fakes.boxes->takeRecords().size(), 0);
}

void TestWindowPrint::encipher(const QString& text)
{
    ui()->QuarnIn->setProgramText(text);
    ui()->bt_kodieren->click();
    ui()->bt_OTPkey->click();
    ui()->bt_OTPCrypt->click();
    QVERIFY(ui()->bt_QuarnDecryptPrint->isEnabled());
}

QStringList TestWindowPrint::printAndRead(QAbstractButton* button)
{
    return printAndRead([button] { button->click(); });
}

QStringList TestWindowPrint::printAndRead(const std::function<void()>& print)
{
    const int before = m_server.completedJobs(queue);
    if (before < 0)
        return {m_server.error()};
    m_fakes.printer->setNextAnswer(true);
    print();
    const QList<test::RecordingBoxes::Record> boxes = m_fakes.boxes->takeRecords();
    if (!boxes.isEmpty())
        return {QStringLiteral("box: ") + boxes.first().text};
    return m_server.waitForPrintedLines(queue, before);
}

void TestWindowPrint::padIsPrintedAsTheFieldShowsIt()
{
    ui()->bt_OTPkey->click();
    const QStringList shown = ui()->OTPOut->displayLines();
    QVERIFY(shown.size() >= 10);
    const QStringList printed = printAndRead(ui()->bt_OTPPrint);
    QCOMPARE(printed, PrivatePrintServer::expectedLines(shown));
    QCOMPARE(printed.join(u' '), ui()->OTPOut->fieldText().simplified());
}

void TestWindowPrint::cipherGroupsArePrintedInEncodeDirection()
{
    encipher(QStringLiteral("TREFFEN MORGEN UM 14 UHR AM ALTEN BAHNHOF. BITTE PUENKTLICH SEIN"));
    const QStringList shown = ui()->OTPCryptOut->displayLines();
    QVERIFY(shown.size() >= 2);
    const QStringList printed = printAndRead(ui()->bt_QuarnDecryptPrint);
    QCOMPARE(printed, PrivatePrintServer::expectedLines(shown));
    QCOMPARE(printed.join(u' '), ui()->OTPCryptOut->fieldText().simplified());
}

void TestWindowPrint::decodedTextIsPrintedInDecodeDirection()
{
    const QString text = QStringLiteral("TREFFEN MORGEN UM 14 UHR AM ALTEN BAHNHOF");
    encipher(text);
    const QString cipher = ui()->OTPCryptOut->fieldText();
    ui()->rb_QuarnDecod->click();
    ui()->QuarnIn->setProgramText(cipher);
    ui()->bt_kodieren->click();
    ui()->bt_OTPCrypt->click();
    QCOMPARE(ui()->QuarnDecrypt->fieldText(), text);
    QCOMPARE(printAndRead(ui()->bt_QuarnDecryptPrint),
             PrivatePrintServer::expectedLines(ui()->QuarnDecrypt->displayLines()));
}

// After the change of direction the cipher is still on screen, and it is what is printed; once Dekodieren has
// put the emptied decoded text on screen, there is nothing to print, and the user is told so.
void TestWindowPrint::aChangeOfDirectionPrintsTheCipherStillOnScreen()
{
    encipher(QStringLiteral("GEHEIM"));
    ui()->rb_QuarnDecod->click();
    QVERIFY(ui()->OTPCryptOut->isVisible());
    QCOMPARE(printAndRead(ui()->bt_QuarnDecryptPrint),
             PrivatePrintServer::expectedLines(ui()->OTPCryptOut->displayLines()));
    ui()->QuarnIn->setProgramText(QStringLiteral("12345 "));
    ui()->bt_kodieren->click();
    QVERIFY(ui()->bt_QuarnDecryptPrint->isEnabled());
    ui()->bt_QuarnDecryptPrint->click();
    const QList<test::RecordingBoxes::Record> boxes = m_fakes.boxes->takeRecords();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().text, QStringLiteral("Keine Ausgabe vorhanden, nichts gedruckt!"));
}

void TestWindowPrint::cancelPrintsNothingAndSaysNothing()
{
    ui()->bt_OTPkey->click();
    const int before = m_server.completedJobs(queue);
    m_fakes.printer->setNextAnswer(false);
    ui()->bt_OTPPrint->click();
    QVERIFY(m_fakes.boxes->takeRecords().isEmpty());
    QTest::qWait(500);
    QCOMPARE(m_server.completedJobs(queue), before);
    QVERIFY(!QFile::exists(m_server.outputFile(queue)));
}

void TestWindowPrint::dialogOffersCopiesButNoRangeSelectionOrFile()
{
    WindowSeams seams = m_fakes.seams(std::make_shared<test::SequenceSource>());
    seams.printer = std::make_shared<SystemPrinterChooser>();
    m_form = std::make_unique<TForm1>(seams);
    m_form->show();
    ui()->bt_OTPkey->click();
    QList<bool> options;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (auto option : {QAbstractPrintDialog::PrintCollateCopies, QAbstractPrintDialog::PrintPageRange,
                            QAbstractPrintDialog::PrintSelection, QAbstractPrintDialog::PrintToFile,
                            QAbstractPrintDialog::PrintCurrentPage})
            options << dialog->testOption(option);
        options << (dialog->printer()->printerName() == queue);
        dialog->reject();
    });
    ui()->bt_OTPPrint->click();
    QCOMPARE(options, (QList<bool>{true, false, false, false, false, true}));
    QVERIFY(m_fakes.boxes->takeRecords().isEmpty());
}

// Last: removes the queue.
void TestWindowPrint::printerGoneAndNoPrinterAtAllAreReported()
{
    ui()->bt_OTPkey->click();
    QCOMPARE(printAndRead(ui()->bt_OTPPrint).join(u' '), ui()->OTPOut->fieldText().simplified());
    QFile::remove(m_server.outputFile(queue));
    QVERIFY2(m_server.removeQueue(queue), qPrintable(m_server.error()));

    m_fakes.printer->setNextAnswer(true);
    ui()->bt_OTPPrint->click();
    QList<test::RecordingBoxes::Record> boxes = m_fakes.boxes->takeRecords();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().kind, MessageBoxes::Kind::Error);
    QCOMPARE(boxes.first().caption, QStringLiteral("QUARN"));
    QCOMPARE(boxes.first().text, QStringLiteral("Operation auf ausgewähltem Drucker nicht verfügbar."));

    // A new run of the program has no printer chosen yet, and the system has none: no dialog at all.
    m_form = std::make_unique<TForm1>(m_fakes.seams(std::make_shared<test::SequenceSource>()));
    ui()->bt_OTPkey->click();
    m_fakes.printer->setNextAnswer(true);
    ui()->bt_OTPPrint->click();
    QVERIFY(m_fakes.printer->hasNextAnswer()); // the dialog was not shown
    m_fakes.printer->clearNextAnswers();
    boxes = m_fakes.boxes->takeRecords();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().text, QStringLiteral("Zur Zeit ist kein Standard-Drucker gewählt."));
    QVERIFY(!QFile::exists(m_server.outputFile(queue)));
}

// The sheet on paper holds what the sheet's own lines say, and so it keeps the pad as a printed pad does.
void TestWindowPrint::theWorksheetIsPrintedAsItsLinesAndKeepsThePad()
{
    encipher(QStringLiteral("TREFFEN UM 12.30 UHR"));
    const QStringList printed = printAndRead([this] { m_form->ArbeitsblattDrucken1->trigger(); });
    const Worksheet sheet =
        *Worksheet::build("TREFFEN UM 12.30 UHR", toWindows1252(ui()->OTPOut->fieldText()), CipherDirection::Encode);
    QStringList lines;
    const auto pages = sheet.pages(Paper::A4, {2000, 1, 1});
    for (const std::string& line : pages.at(0))
        lines << fromWindows1252(line);
    // The date is the day's; everything else is the sheet's.
    QCOMPARE(printed.mid(1), PrivatePrintServer::expectedLines(lines).mid(1));
    QVERIFY(m_form->close());
    QCOMPARE(m_fakes.boxes->takeRecords().size(), 0);
}

QTEST_MAIN(TestWindowPrint)
#include "tst_windowprint.moc"
