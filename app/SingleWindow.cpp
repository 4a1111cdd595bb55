#include "SingleWindow.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace quarn {

namespace {

constexpr quint32 Magic = 0x51524e31; // "QRN1"
constexpr quint32 MostFiles = 100000;
constexpr qint64 LargestMessage = 64 * 1024 * 1024;
constexpr int ConnectWait = 2000;
// The running window answers from its event loop; on a busy machine its start may take seconds.
constexpr int AnswerWait = 15000;
constexpr char Taken = 'k';

struct Place
{
    QString serverName;
    QString lockFile;
};

// Per user: on Unix a socket in the user's own runtime folder (0700, which Qt checks), on Windows a pipe
// named after the user's own temporary folder, guarded by the pipe's user-only access.
std::optional<Place> place()
{
#ifdef Q_OS_WIN
    const QString folder = QDir::tempPath();
    if (folder.isEmpty())
        return std::nullopt;
    const QByteArray id = QCryptographicHash::hash(folder.toLower().toUtf8(), QCryptographicHash::Sha256).toHex();
    return Place{QStringLiteral("quarn-window-") + QString::fromLatin1(id.left(16)),
                 folder + QStringLiteral("/quarn-window.lock")};
#else
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return std::nullopt;
    return Place{folder + QStringLiteral("/quarn-window"), folder + QStringLiteral("/quarn-window.lock")};
#endif
}

QByteArray message(const QList<FilePath>& files)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << Magic << quint32(files.size());
    for (const FilePath& file : files)
        out << file.absolute().nativeBytes();
    QByteArray framed;
    QDataStream frame(&framed, QIODevice::WriteOnly);
    frame.setVersion(QDataStream::Qt_6_0);
    frame << body;
    return framed;
}

std::optional<QList<FilePath>> files(const QByteArray& body)
{
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, count = 0;
    in >> magic >> count;
    if (in.status() != QDataStream::Ok || magic != Magic || count > MostFiles)
        return std::nullopt;
    QList<FilePath> list;
    for (quint32 i = 0; i < count; ++i) {
        QByteArray name;
        in >> name;
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        list.append(FilePath::fromNative(name));
    }
    return list;
}

bool handOver(QLocalSocket& socket, const QList<FilePath>& files)
{
#ifdef Q_OS_WIN
    // Windows lets only the program in front bring a window forward; this start is, and lends it on.
    AllowSetForegroundWindow(ASFW_ANY);
#endif
    socket.write(message(files));
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(AnswerWait))
            return false;
    char answer = 0;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(AnswerWait))
            return false;
    return socket.getChar(&answer) && answer == Taken;
}

} // namespace

SingleWindow::SingleWindow(QObject* parent) : QObject(parent) {}

SingleWindow::~SingleWindow() = default;

SingleWindow::Role SingleWindow::claim(const QList<FilePath>& files)
{
    const std::optional<Place> where = place();
    if (!where)
        return Role::Alone;
    // Asking and taking the name is one step: of two starts at once, the second finds the first's window.
    QLockFile lock(where->lockFile);
    if (!lock.tryLock(AnswerWait))
        return Role::Alone;
    QLocalSocket socket;
    socket.connectToServer(where->serverName);
    if (socket.waitForConnected(ConnectWait)) {
        // A start without files asks for a window of its own.
        if (files.isEmpty())
            return Role::Alone;
        return handOver(socket, files) ? Role::HandedOver : Role::Alone;
    }
    // Nobody answers: a socket still there was left by a window that ended without closing it.
    QLocalServer::removeServer(where->serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(where->serverName)) {
        delete m_server;
        m_server = nullptr;
        return Role::Alone;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleWindow::receive);
    return Role::Serving;
}

void SingleWindow::receive()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // The whole message or nothing: it may come in parts.
            QDataStream in(socket);
            in.setVersion(QDataStream::Qt_6_0);
            in.startTransaction();
            quint32 size = 0;
            in >> size;
            if (in.status() == QDataStream::Ok && (size == 0xffffffff || size > LargestMessage)) {
                socket->abort();
                return;
            }
            in.rollbackTransaction();
            in.startTransaction();
            QByteArray body;
            in >> body;
            if (!in.commitTransaction())
                return;
            const std::optional<QList<FilePath>> given = files(body);
            if (!given) {
                socket->abort();
                return;
            }
            socket->putChar(Taken);
            socket->flush();
            emit filesHanded(*given);
        });
    }
}

} // namespace quarn
