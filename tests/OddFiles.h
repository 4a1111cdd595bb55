#pragma once

// Files that are not regular files, and a tiny file system that can be filled, for the load and save tests.
// Unix only; elsewhere the helpers report that they cannot make them and the tests skip.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace quarn::test {

inline bool makeFifo(const QString& path)
{
#ifdef Q_OS_UNIX
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
#else
    Q_UNUSED(path);
    return false;
#endif
}

// A listening socket bound to `path`; it stays in the file system after the descriptor is closed.
inline bool makeSocket(const QString& path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    if (name.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    address.sun_family = AF_UNIX;
    std::copy(name.begin(), name.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
#else
    Q_UNUSED(path);
    return false;
#endif
}

// The mode bits of a file, or -1.
inline int modeOf(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
#else
    Q_UNUSED(path);
    return -1;
#endif
}

inline bool setMode(const QString& path, int mode)
{
#ifdef Q_OS_UNIX
    return ::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0;
#else
    Q_UNUSED(path);
    Q_UNUSED(mode);
    return false;
#endif
}

// Sets the umask for its lifetime.
class Umask
{
public:
#ifdef Q_OS_UNIX
    explicit Umask(int mask) : m_old(int(::umask(mode_t(mask)))) {}
    ~Umask()
    {
        ::umask(mode_t(m_old));
    }
#else
    explicit Umask(int) {}
#endif
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    int m_old = 0;
};

// Guards a load that might wait on a FIFO: if the code under test has not come back after `limit`, the
// guard opens the FIFO's writing end, so that a reader stuck in open() returns and the test can fail
// instead of hanging.
class FifoGuard
{
public:
    FifoGuard(const QString& fifo, std::chrono::milliseconds limit)
        : m_fifo(QFile::encodeName(fifo)), m_thread([this, limit] { watch(limit); })
    {}
    ~FifoGuard() { finish(); }
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    // Ends the watch; true when the guard had to free a blocked reader.
    bool finish()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
        return m_fired;
    }

private:
    void watch(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, limit, [this] { return m_done; }))
            return;
        m_fired = true;
#ifdef Q_OS_UNIX
        // Keep trying until the reader is freed: it may not have reached open() yet.
        while (!m_done) {
            const int fd = ::open(m_fifo.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
            m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_done; });
        }
#endif
    }

    QByteArray m_fifo;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::atomic<bool> m_fired = false;
    std::thread m_thread;
};

// A file system of 64 KiB mounted for the test's lifetime (as root; mounting may be refused), which
// fill() leaves without a free byte.
class TinyFileSystem
{
public:
    explicit TinyFileSystem(const QString& folder) : m_folder(folder)
    {
#ifdef Q_OS_LINUX
        QProcess mount;
        mount.setProcessChannelMode(QProcess::MergedChannels);
        mount.start(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                              QStringLiteral("size=64k,mode=0755"), QStringLiteral("tmpfs"), folder});
        if (!mount.waitForFinished(20000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0)
            m_refusal = QString::fromLocal8Bit(mount.readAll()).trimmed() + QLatin1Char(' ') + mount.errorString();
        else
            m_mounted = true;
#else
        m_refusal = QStringLiteral("tmpfs only on Linux");
#endif
    }
    ~TinyFileSystem()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_folder});
    }
    TinyFileSystem(const TinyFileSystem&) = delete;
    TinyFileSystem& operator=(const TinyFileSystem&) = delete;

    bool mounted() const
    {
        return m_mounted;
    }
    QString refusal() const
    {
        return m_refusal;
    }

    // Writes a filler file until the system refuses a byte; true when it is full.
    bool fill()
    {
        QFile filler(QDir(m_folder).filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(512, 'F');
        while (filler.write(block) == block.size()) {
        }
        // The last partial block may have taken some of it; one more byte must fail.
        return filler.write("F", 1) != 1;
    }

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_refusal;
};

} // namespace quarn::test
