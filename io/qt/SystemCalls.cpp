#include "SystemCalls.h"

#include "FileFailure.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quarn::SystemCalls {

namespace {

Failure notRegular(const std::filesystem::path& native)
{
    std::error_code ignored;
    return {std::filesystem::is_directory(native, ignored) ? Failure::Kind::IsFolder : Failure::Kind::NotRegular};
}

Failure failed(int error, const std::filesystem::path& native)
{
    return fileFailure(error, native, FileOperation::Reading);
}

} // namespace

Result<> openRegularForReading(QFile& file, const std::filesystem::path& native)
{
#ifdef Q_OS_UNIX
    // Asking first spares a device the open itself (a tape rewinds, a terminal may wait).
    struct stat before;
    if (::stat(native.c_str(), &before) == 0 && !S_ISREG(before.st_mode))
        return notRegular(native);
    // The path may change between the question and the open: open without waiting and ask the open file.
    int fd;
    do
        fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failed(errno, native);
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return notRegular(native);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failed(EIO, native);
    }
    return {};
#else
    const QFileInfo info(QString::fromStdWString(native.wstring()));
    if (info.exists() && !info.isFile())
        return notRegular(native);
    if (!info.exists())
        return failed(ENOENT, native);
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    // It is there and it is a file: the system refused it (rights, or a lock).
    return failed(EACCES, native);
#endif
}

} // namespace quarn::SystemCalls
