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

OpenResult openRegularForReading(QFile& file, const std::filesystem::path& native, int& error)
{
    error = 0;
#ifdef Q_OS_UNIX
    // Asking first spares a device the open itself (a tape rewinds, a terminal may wait).
    struct stat before;
    if (::stat(native.c_str(), &before) == 0 && !S_ISREG(before.st_mode))
        return OpenResult::NotRegular;
    // The path may change between the question and the open: open without waiting and ask the open file.
    int fd;
    do
        fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
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
    const QFileInfo info(QString::fromStdWString(native.wstring()));
    if (info.exists() && !info.isFile())
        return OpenResult::NotRegular;
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
