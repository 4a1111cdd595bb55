#pragma once

// Files that are not regular files, and a tiny file system that can be filled, for the load and save tests.
// Unix only, but for HeldFile and onlyTheOwnerMayOpen, their Windows counterparts; elsewhere the helpers
// report that they cannot make them and the tests skip.

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
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#ifdef Q_OS_LINUX
#include <sys/ioctl.h>
#endif
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <share.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h, which it needs.
#include <aclapi.h>
#endif

// A row that rests on what Windows lacks (Unix modes, FIFOs, symbolic links for every user) is left out
// there by name, with its reason.
#ifdef Q_OS_WIN
#define QUARN_UNIX_ONLY(why) QSKIP("SKIP on Windows: " why)
#else
#define QUARN_UNIX_ONLY(why) static_cast<void>(0)
#endif

namespace quarn::test {

#ifdef Q_OS_WIN
// On Windows a file is shut to its own user by a program that holds it open and shares it with nobody (an
// editor, a virus scanner), not by its rights: this one holds it for as long as it lives.
class HeldFile
{
public:
    explicit HeldFile(const QString& path)
    {
        _wsopen_s(&m_fd, reinterpret_cast<const wchar_t*>(path.utf16()), _O_RDONLY | _O_BINARY, _SH_DENYRW, 0);
    }
    ~HeldFile()
    {
        if (m_fd >= 0)
            _close(m_fd);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// Whether the file's access list lets in the user this test runs as and nobody else, whatever the folder
// passes on. wine keeps no access lists: it turns them into Unix modes and reads those back, unprotected and
// with the system account always let in.
inline bool onlyTheOwnerMayOpen(const QString& path)
{
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(reinterpret_cast<const wchar_t*>(path.utf16()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, &acl, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    bool only = acl && (wine || (control & SE_DACL_PROTECTED));
    bool ownerIn = false;
    HANDLE token = nullptr;
    BYTE user[256];
    DWORD size = sizeof user;
    only = only && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
           GetTokenInformation(token, TokenUser, user, size, &size);
    for (DWORD i = 0; only && i < acl->AceCount; ++i) {
        void* ace = nullptr;
        GetAce(acl, i, &ace);
        if (static_cast<ACE_HEADER*>(ace)->AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        const PSID sid = &static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
        if (EqualSid(sid, reinterpret_cast<TOKEN_USER*>(user)->User.Sid))
            ownerIn = true;
        else if (!wine || !IsWellKnownSid(sid, WinLocalSystemSid))
            only = false;
    }
    if (token)
        CloseHandle(token);
    LocalFree(descriptor);
    return only && ownerIn;
}
#endif

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

// A file system mounted on `folder` for the test's lifetime (as root; mounting may be refused elsewhere).
class MountedFolder
{
public:
    explicit MountedFolder(const QString& folder) : m_folder(folder) {}
    ~MountedFolder()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_folder});
    }
    MountedFolder(const MountedFolder&) = delete;
    MountedFolder& operator=(const MountedFolder&) = delete;

    bool mounted() const { return m_mounted; }
    QString refusal() const { return m_refusal; }

protected:
    // Runs a tool; on failure `refusal()` says why.
    bool run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            return true;
        m_refusal = program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll()).trimmed() +
                    QLatin1Char(' ') + process.errorString();
        return false;
    }

    QString m_folder;
    bool m_mounted = false;
    QString m_refusal;
};

// A file system of 64 KiB, which fill() leaves without a free byte, or fillInodes() without a free inode.
class TinyFileSystem : public MountedFolder
{
public:
    explicit TinyFileSystem(const QString& folder) : MountedFolder(folder)
    {
#ifdef Q_OS_LINUX
        m_mounted = run(QStringLiteral("mount"),
                        {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                         QStringLiteral("size=64k,nr_inodes=16,mode=0755"), QStringLiteral("tmpfs"), folder});
#else
        m_refusal = QStringLiteral("tmpfs only on Linux");
#endif
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

    // Creates empty files ("filler0", "filler1", ...) until the system refuses one; true when none is left.
    bool fillInodes()
    {
#ifdef Q_OS_UNIX
        for (int i = 0; i < 100; ++i) {
            const QString name = QDir(m_folder).filePath(QStringLiteral("filler%1").arg(i));
            const int fd = ::open(QFile::encodeName(name).constData(), O_CREAT | O_EXCL | O_WRONLY, 0600);
            if (fd < 0)
                return errno == ENOSPC;
            ::close(fd);
        }
#endif
        return false;
    }
};

// A small ext4 file system in a file, loop-mounted, whose power can be cut: cutPower() shuts it down at once,
// dropping its journal as a power cut would, and mounts it again.
class PowerCutDisk : public MountedFolder
{
public:
    explicit PowerCutDisk(const QString& folder) : MountedFolder(folder), m_image(folder + QStringLiteral(".img"))
    {
#ifdef Q_OS_LINUX
        QFile image(m_image);
        if (!image.open(QIODevice::WriteOnly) || !image.resize(16 << 20)) {
            m_refusal = image.errorString();
            return;
        }
        image.close();
        m_mounted = run(QStringLiteral("mkfs.ext4"), {QStringLiteral("-q"), QStringLiteral("-F"), m_image}) && mount();
#else
        m_refusal = QStringLiteral("ext4 only on Linux");
#endif
    }

    // Everything so far on disk for good, as an old file would be.
    void settle()
    {
#ifdef Q_OS_UNIX
        ::sync();
#endif
    }

    // Shuts the file system down without flushing its journal, unmounts it and mounts it again.
    bool cutPower()
    {
#ifdef Q_OS_LINUX
        const int fd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        // EXT4_IOC_SHUTDOWN with EXT4_GOING_FLAGS_NOLOGFLUSH.
        unsigned int flags = 2;
        const bool down = ::ioctl(fd, _IOR('X', 125, unsigned int), &flags) == 0;
        ::close(fd);
        m_mounted = !run(QStringLiteral("umount"), {m_folder});
        return down && !m_mounted && (m_mounted = mount());
#else
        return false;
#endif
    }

private:
    bool mount()
    {
        return run(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("loop"), m_image, m_folder});
    }

    QString m_image;
};

// A USB stick's file system in a file: FAT (vfat) or exFAT, loop-mounted where the kernel has it, else
// through FUSE (fusefat, exfat-fuse on a loop device), as a desktop mounts a stick. Needs root and the tools
// of dosfstools, exfatprogs, fusefat and exfat-fuse; refusal() says what was missing.
class FatStick : public MountedFolder
{
public:
    FatStick(const QString& folder, bool exfat)
        : MountedFolder(folder), m_image(folder + QStringLiteral(".img")), m_exfat(exfat)
    {
#ifdef Q_OS_LINUX
        QFile image(m_image);
        if (!image.open(QIODevice::WriteOnly) || !image.resize(8 << 20)) {
            m_refusal = image.errorString();
            return;
        }
        image.close();
        if (!run(exfat ? QStringLiteral("mkfs.exfat") : QStringLiteral("mkfs.vfat"), {m_image}))
            return;
        if (!QDir().mkpath(folder)) {
            m_refusal = QStringLiteral("no folder ") + folder;
            return;
        }
        QFile known(QStringLiteral("/proc/filesystems"));
        const bool kernel = known.open(QIODevice::ReadOnly) &&
                            known.readAll().contains(exfat ? QByteArray("\texfat\n") : QByteArray("\tvfat\n"));
        if (kernel) {
            m_mounted = run(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("loop"), m_image, folder});
        } else if (!exfat) {
            m_fuse = m_mounted =
                run(QStringLiteral("fusefat"), {QStringLiteral("-o"), QStringLiteral("rw+"), m_image, folder});
        } else {
            QProcess loop;
            loop.start(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), m_image});
            loop.waitForFinished(60000);
            m_loop = QString::fromLocal8Bit(loop.readAllStandardOutput()).trimmed();
            if (m_loop.isEmpty())
                m_refusal = QStringLiteral("losetup: ") + QString::fromLocal8Bit(loop.readAllStandardError()) +
                            loop.errorString();
            else
                m_fuse = m_mounted = run(QStringLiteral("mount.exfat-fuse"), {m_loop, folder});
        }
#else
        Q_UNUSED(exfat);
        m_refusal = QStringLiteral("FAT images only on Linux");
#endif
    }
    ~FatStick()
    {
        if (m_mounted)
            run(QStringLiteral("umount"), {m_folder});
        m_mounted = false;
        if (!m_loop.isEmpty())
            run(QStringLiteral("losetup"), {QStringLiteral("-d"), m_loop});
        QFile::remove(m_image);
    }

    bool throughFuse() const
    {
        return m_fuse;
    }

    // Fills the stick until it takes no byte more; true when it is full.
    bool fill()
    {
        QFile filler(QDir(m_folder).filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'F');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("F", 1) == 1) {
        }
        return true;
    }

private:
    QString m_image;
    QString m_loop;
    bool m_exfat;
    bool m_fuse = false;
};

} // namespace quarn::test
