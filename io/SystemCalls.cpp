#include "SystemCalls.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quarn::SystemCalls {

OpenResult openRegularForReading(QFile& file, int& error)
{
    error = 0;
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
    if (fd < 0) {
        error = errno;
        return OpenResult::Failed;
    }
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return OpenResult::NotRegular;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        error = EIO;
        ::close(fd);
        return OpenResult::Failed;
    }
    return OpenResult::Opened;
#else
    if (!info.exists()) {
        error = ENOENT;
        return OpenResult::Failed;
    }
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return OpenResult::Opened;
    // It is there and it is a file: the system refused it (rights, or a lock).
    error = EACCES;
    return OpenResult::Failed;
#endif
}

} // namespace quarn::SystemCalls
