#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace quarn {

// A print server of the test's own: its configuration, spool and socket in a temporary folder, so that tests
// print for real without needing or touching a print system on the machine. start() points this process's
// print clients at it; that must happen before the first printer is looked up.
class PrivatePrintServer
{
public:
    PrivatePrintServer();
    ~PrivatePrintServer();
    PrivatePrintServer(const PrivatePrintServer&) = delete;
    PrivatePrintServer& operator=(const PrivatePrintServer&) = delete;

    bool start();
    void stop();
    // Why the last step failed, with the server's error log.
    QString error() const { return m_error; }

    // A queue that writes each job as a PDF to outputFile(name).
    bool addPdfQueue(const QString& name, bool makeDefault);
    bool removeQueue(const QString& name);
    QString outputFile(const QString& name) const;
    // Jobs of the queue that have finished; -1 when the server cannot say.
    int completedJobs(const QString& name);

    // Waits for a job of the queue past `before` to come out, then reads its text; on a timeout, one line
    // that says why.
    QStringList waitForPrintedLines(const QString& name, int before);

    // The text of a PDF as laid out on the page: its lines with text, each with single blanks between words.
    static QStringList pdfLines(const QString& path);
    // What pdfLines gives back for these lines of text: without empty lines, blanks made single.
    static QStringList expectedLines(const QStringList& lines);

private:
    bool run(const QString& program, const QStringList& arguments, QString* output = nullptr);
    bool fail(const QString& what);

    QTemporaryDir m_dir;
    QProcess m_server;
    QString m_error;
};

} // namespace quarn
