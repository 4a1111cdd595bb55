#include "SystemCalls.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace quarn::SystemCalls {

OpenResult openRegularForReading(QFile& file)
{
    // Asking first spares a device the open itself (a tape rewinds, a terminal may wait).
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile())
        return OpenResult::NotRegular;
#ifdef Q_OS_UNIX
    // The path may change between the question and the open: open without waiting and ask the open file.
    int fd;
    do
        fd = ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return OpenResult::Failed;
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return OpenResult::NotRegular;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return OpenResult::Failed;
    }
    return OpenResult::Opened;
#else
    if (!info.exists())
        return OpenResult::Failed;
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? OpenResult::Opened : OpenResult::Failed;
#endif
}

bool syncToDisk(QFileDevice& file)
{
#ifdef Q_OS_UNIX
    const int fd = file.handle();
    if (fd < 0)
        return false;
    int result;
    do
        result = ::fsync(fd);
    while (result != 0 && errno == EINTR);
    // A file system that cannot sync (EINVAL) has nothing more to write.
    return result == 0 || errno == EINVAL || errno == EROFS;
#else
    // Windows reserves the room when the bytes are written, so a failed write has been seen already.
    Q_UNUSED(file);
    return true;
#endif
}

void switchOffCoreDumps()
{
#ifdef Q_OS_UNIX
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
#endif
#ifdef Q_OS_LINUX
    // Also where cores go to a collecting program, which may ignore the limit.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

} // namespace quarn::SystemCalls
