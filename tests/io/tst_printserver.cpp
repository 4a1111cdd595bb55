#include "Messages.h"
#include "PadGenerator.h"
#include "PrintSession.h"
#include "PrivatePrintServer.h"

#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTest>

using namespace quarn;

namespace {

const QString queue = QStringLiteral("Quarn_PDF");

// A pad as the pad field shows it: ten groups to a display line.
QStringList padLines()
{
    SystemRandomSource random;
    const QString pad = QString::fromLatin1(PadGenerator::generate(random));
    QStringList lines;
    for (int n = 0; n < 10; ++n)
        lines << pad.mid(60 * n, 60);
    return lines;
}

// A print's failure as the error box words it; empty when it printed or was cancelled.
QString shown(const Result<bool>& printed)
{
    return printed ? QString() : QString::fromStdString(Messages::text(printed.failure()));
}

QFont fieldFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(10);
    return font;
}

} // namespace

// Prints through a print server of the test's own, from the session down to the PDF that the queue writes.
class TestPrintServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void padComesOutTenGroupsToALine();
    void everyLineOfALongFieldIsPrinted();
    void cancelledDialogPrintsNothing();
    void chosenPrinterAndCopiesStayForTheNextPrint();
    void printerThatWentAwayIsNotAvailable();
    void withoutPrintersThereIsNoDefault();

private:
    // Prints and waits for the queue to finish the job; the PDF's lines with text.
    QStringList printAndRead(PrintSession& session, const QStringList& lines);
    // A dialog that answers as the user would; each one made must be shown.
    PrintSession::Dialog answering(bool confirm);

    int m_dialogsNotShown = 0;

    PrivatePrintServer m_server;
};

void TestPrintServer::initTestCase()
{
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
    QVERIFY2(m_server.addPdfQueue(queue, true), qPrintable(m_server.error()));
    QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), queue);
}

void TestPrintServer::init()
{
    QFile::remove(m_server.outputFile(queue));
    m_dialogsNotShown = 0;
}

void TestPrintServer::cleanup()
{
    QCOMPARE(m_dialogsNotShown, 0);
}

PrintSession::Dialog TestPrintServer::answering(bool confirm)
{
    ++m_dialogsNotShown;
    return [this, confirm](QPrinter&) {
        --m_dialogsNotShown;
        return confirm;
    };
}

QStringList TestPrintServer::printAndRead(PrintSession& session, const QStringList& lines)
{
    const int before = m_server.completedJobs(queue);
    if (before < 0)
        return {m_server.error()};
    const QString failure = shown(session.print(lines, fieldFont(), answering(true)));
    if (!failure.isEmpty())
        return {failure};
    return m_server.waitForPrintedLines(queue, before);
}

void TestPrintServer::padComesOutTenGroupsToALine()
{
    PrintSession session;
    const QStringList lines = padLines();
    QCOMPARE(printAndRead(session, lines), PrivatePrintServer::expectedLines(lines));
}

void TestPrintServer::everyLineOfALongFieldIsPrinted()
{
    PrintSession session;
    QStringList lines = padLines();
    lines << QStringLiteral("RUECKFRAGE ZU PUNKT 11") << QStringLiteral("ENDE");
    QCOMPARE(printAndRead(session, lines), PrivatePrintServer::expectedLines(lines));
}

void TestPrintServer::cancelledDialogPrintsNothing()
{
    PrintSession session;
    const int before = m_server.completedJobs(queue);
    const Result<bool> printed = session.print(padLines(), fieldFont(), answering(false));
    QCOMPARE(shown(printed), QString());
    QVERIFY(!*printed);
    QTest::qWait(500);
    QCOMPARE(m_server.completedJobs(queue), before);
    QVERIFY(!QFile::exists(m_server.outputFile(queue)));
}

void TestPrintServer::chosenPrinterAndCopiesStayForTheNextPrint()
{
    PrintSession session;
    QStringList seen;
    auto dialog = [&](QPrinter& printer) {
        seen << QStringLiteral("%1 x%2").arg(printer.printerName()).arg(printer.copyCount());
        printer.setCopyCount(2);
        return false;
    };
    QCOMPARE(shown(session.print({}, fieldFont(), dialog)), QString());
    QCOMPARE(shown(session.print({}, fieldFont(), dialog)), QString());
    QCOMPARE(seen, (QStringList{queue + " x1", queue + " x2"}));
}

// Run last but one: removes the queue.
void TestPrintServer::printerThatWentAwayIsNotAvailable()
{
    PrintSession session;
    QCOMPARE(printAndRead(session, {QStringLiteral("ERSTER DRUCK")}), QStringList{QStringLiteral("ERSTER DRUCK")});
    QFile::remove(m_server.outputFile(queue));
    QVERIFY2(m_server.removeQueue(queue), qPrintable(m_server.error()));
    QCOMPARE(shown(session.print({QStringLiteral("ZWEITER DRUCK")}, fieldFont(), answering(true))),
             QStringLiteral("Operation auf ausgewähltem Drucker nicht verfügbar"));
    QTest::qWait(500);
    QVERIFY(!QFile::exists(m_server.outputFile(queue)));
}

void TestPrintServer::withoutPrintersThereIsNoDefault()
{
    QVERIFY(QPrinterInfo::availablePrinters().isEmpty());
    PrintSession session;
    bool dialogShown = false;
    QCOMPARE(shown(session.print({QStringLiteral("A")}, fieldFont(), [&](QPrinter&) { return dialogShown = true; })),
             QStringLiteral("Zur Zeit ist kein Standard-Drucker gewählt"));
    QVERIFY(!dialogShown);
    // No printer was kept from the failed search: the next print looks again, rather than offering one
    // that is not there.
    QCOMPARE(shown(session.print({QStringLiteral("A")}, fieldFont(), [&](QPrinter&) { return dialogShown = true; })),
             QStringLiteral("Zur Zeit ist kein Standard-Drucker gewählt"));
    QVERIFY(!dialogShown);
}

QTEST_MAIN(TestPrintServer)
#include "tst_printserver.moc"
