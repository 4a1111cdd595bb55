#include "PrivatePrintServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

namespace quarn {

namespace {

const QString pdfDriver = QStringLiteral("lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd");

bool writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) == text.toUtf8().size();
}

QString findProgram(const QString& name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    return path;
}

} // namespace

PrivatePrintServer::PrivatePrintServer()
{
    m_server.setProcessChannelMode(QProcess::MergedChannels);
}

PrivatePrintServer::~PrivatePrintServer()
{
    stop();
}

bool PrivatePrintServer::fail(const QString& what)
{
    QFile log(m_dir.filePath(QStringLiteral("log/error_log")));
    m_error = what;
    if (log.open(QIODevice::ReadOnly))
        m_error += QStringLiteral("\nerror_log:\n") + QString::fromUtf8(log.readAll().right(4000));
    return false;
}

bool PrivatePrintServer::start()
{
    if (!m_dir.isValid())
        return fail(QStringLiteral("no temporary folder"));
    const QString dir = m_dir.path();
    // The filters run as an unprivileged user: they must reach the folder, write their temporary files and the
    // printed output.
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                   QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                   QFileDevice::ExeOther);
    QDir root(dir);
    for (const char* sub : {"spool", "cache", "state", "tmp", "log", "out"})
        root.mkpath(QString::fromLatin1(sub));
    const QFileDevice::Permissions all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                         QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                         QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QFile::setPermissions(root.filePath(QStringLiteral("tmp")), all);
    QFile::setPermissions(root.filePath(QStringLiteral("out")), all);

    const QString socket = root.filePath(QStringLiteral("cups.sock"));
    const QString serverConf = QStringLiteral("Listen %1\n"
                                              "Browsing Off\n"
                                              "LogLevel warn\n"
                                              "WebInterface No\n"
                                              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                              "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
                                              "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                                              "</Policy>\n")
                                   .arg(socket);
    const QString filesConf = QStringLiteral("ServerRoot %1\n"
                                             "RequestRoot %1/spool\n"
                                             "CacheDir %1/cache\n"
                                             "StateDir %1/state\n"
                                             "TempDir %1/tmp\n"
                                             "ErrorLog %1/log/error_log\n"
                                             "AccessLog %1/log/access_log\n"
                                             "PageLog %1/log/page_log\n"
                                             "FileDevice Yes\n"
                                             "SystemGroup root\n")
                                  .arg(dir);
    if (!writeFile(root.filePath(QStringLiteral("cupsd.conf")), serverConf) ||
        !writeFile(root.filePath(QStringLiteral("cups-files.conf")), filesConf))
        return fail(QStringLiteral("cannot write the configuration"));

    const QString cupsd = findProgram(QStringLiteral("cupsd"));
    if (cupsd.isEmpty())
        return fail(QStringLiteral("cupsd not found (package cups)"));
    // Clients of this process and of the tools below talk to the private server only.
    qputenv("CUPS_SERVER", socket.toLocal8Bit());
    qputenv("CUPS_SERVERROOT", dir.toLocal8Bit());
    m_server.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), root.filePath(QStringLiteral("cupsd.conf")),
                           QStringLiteral("-s"), root.filePath(QStringLiteral("cups-files.conf"))});
    if (!m_server.waitForStarted(10000))
        return fail(QStringLiteral("cupsd does not start: ") + m_server.errorString());

    QDeadlineTimer deadline(20000);
    QString status;
    while (!deadline.hasExpired()) {
        if (m_server.state() != QProcess::Running)
            return fail(QStringLiteral("cupsd ended: ") + QString::fromLocal8Bit(m_server.readAll()));
        if (run(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &status) &&
            status.contains(QStringLiteral("is running")))
            return true;
        QThread::msleep(100);
    }
    return fail(QStringLiteral("the scheduler does not come up: ") + status);
}

void PrivatePrintServer::stop()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(10000)) {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
}

bool PrivatePrintServer::run(const QString& program, const QStringList& arguments, QString* output)
{
    const QString path = findProgram(program);
    if (path.isEmpty())
        return fail(program + QStringLiteral(" not found"));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(path, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return fail(program + QStringLiteral(" does not finish"));
    }
    const QString text = QString::fromLocal8Bit(process.readAll());
    if (output)
        *output = text;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return fail(program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) + QStringLiteral(": ") + text);
    return true;
}

QString PrivatePrintServer::outputFile(const QString& name) const
{
    return m_dir.filePath(QStringLiteral("out/") + name + QStringLiteral(".pdf"));
}

bool PrivatePrintServer::addPdfQueue(const QString& name, bool makeDefault)
{
    if (!run(QStringLiteral("lpadmin"),
             {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
              QStringLiteral("file://") + outputFile(name), QStringLiteral("-m"), pdfDriver}))
        return false;
    return !makeDefault || run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name});
}

bool PrivatePrintServer::removeQueue(const QString& name)
{
    return run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name});
}

int PrivatePrintServer::completedJobs(const QString& name)
{
    QString output;
    if (!run(QStringLiteral("lpstat"), {QStringLiteral("-W"), QStringLiteral("completed"), QStringLiteral("-o"), name},
             &output))
        return -1;
    return int(output.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
}

QStringList PrivatePrintServer::pdfLines(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {QStringLiteral("pdftotext failed: ") + QString::fromLocal8Bit(process.readAllStandardError())};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (const QString words = line.simplified(); !words.isEmpty())
            lines << words;
    }
    return lines;
}

QStringList PrivatePrintServer::waitForPrintedLines(const QString& name, int before)
{
    const QString pdf = outputFile(name);
    const bool done = QTest::qWaitFor([&] { return completedJobs(name) > before && QFileInfo(pdf).size() > 0; }, 60000);
    if (!done)
        return {QStringLiteral("no job came out: ") + error()};
    return pdfLines(pdf);
}

QStringList PrivatePrintServer::expectedLines(const QStringList& lines)
{
    QStringList result;
    for (const QString& line : lines) {
        if (const QString simple = line.simplified(); !simple.isEmpty())
            result << simple;
    }
    return result;
}

} // namespace quarn
