#pragma once

// Rights tests need a user whom the system refuses, but root may read and write everything. Run as root, a
// rights test hands itself to the user "nobody": a copy of this test program runs just that function under
// setpriv. Elsewhere (a normal user, Windows) the test runs in place.

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace quarn::test {

inline bool isRoot()
{
#ifdef Q_OS_UNIX
    return geteuid() == 0;
#else
    return false;
#endif
}

// At the top of a rights test: as root, runs the test again as "nobody", takes over its verdict and returns;
// skips when no such run is possible. Otherwise the test goes on in place.
#define QUARN_RUN_WITHOUT_ROOT(function)                                                                               \
    do {                                                                                                               \
        if (quarn::test::isRoot()) {                                                                                   \
            QString output_;                                                                                           \
            const int rc_ = quarn::test::runAsNobody(function, &output_);                                              \
            if (rc_ < 0)                                                                                               \
                QSKIP(qPrintable(QStringLiteral("kein Lauf ohne Root-Rechte möglich: ") + output_));                   \
            QVERIFY2(rc_ == 0, qPrintable(output_));                                                                   \
            return;                                                                                                    \
        }                                                                                                              \
    } while (false)

// The exit code of the unprivileged run, or -1 when it could not be started.
inline int runAsNobody(const char* function, QString* output)
{
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty()) {
        *output = QStringLiteral("setpriv fehlt");
        return -1;
    }
    // The build folder may be closed to other users: run a copy from a folder that everyone may enter,
    // which also serves the run as its temporary folder.
    QTemporaryDir dir;
    if (!dir.isValid()) {
        *output = dir.errorString();
        return -1;
    }
    const QFileDevice::Permissions open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                          QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                          QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QFile::setPermissions(dir.path(), open);
    const QString copy = dir.filePath(QStringLiteral("unprivileged-test"));
    if (!QFile::copy(QCoreApplication::applicationFilePath(), copy) || !QFile::setPermissions(copy, open)) {
        *output = QStringLiteral("Kopie des Testprogramms fehlgeschlagen");
        return -1;
    }

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), dir.path());
    env.insert(QStringLiteral("HOME"), dir.path());
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                        QStringLiteral("--clear-groups"), QStringLiteral("--"), copy, QString::fromLatin1(function)});
    if (!run.waitForStarted(10000)) {
        *output = run.errorString();
        return -1;
    }
    run.waitForFinished(120000);
    *output = QString::fromLocal8Bit(run.readAll());
    if (run.exitStatus() != QProcess::NormalExit)
        return 99;
    // setpriv itself failing (not allowed to change user in this sandbox, copy not executable) is no verdict.
    if (run.exitCode() == 126 || run.exitCode() == 127 || output->startsWith(QStringLiteral("setpriv:")))
        return -1;
    return run.exitCode();
}

} // namespace quarn::test
