#include "NewFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quarn::cli {

namespace {

const char* const Exists = "existiert bereits; ein OTP wird nie \xC3\xBC"
                           "berschrieben";

} // namespace

#ifdef _WIN32

namespace {

std::string reason(DWORD error)
{
    switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return Exists;
    case ERROR_PATH_NOT_FOUND:
        return "Ordner nicht gefunden";
    case ERROR_ACCESS_DENIED:
        return "Zugriff verweigert";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "Datentr\xC3\xA4ger voll";
    default:
        return "Schreibfehler";
    }
}

} // namespace

std::string writeNewFile(const std::string& path, std::string_view bytes)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? "ist ein Ordner" : Exists;
    const std::string temp = path + ".tmp" + std::to_string(GetCurrentProcessId());
    const HANDLE file =
        CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return reason(GetLastError());
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size() &&
              FlushFileBuffers(file);
    DWORD error = ok ? 0 : GetLastError();
    ok = CloseHandle(file) && ok;
    // Without MOVEFILE_REPLACE_EXISTING the move fails when a file has taken the name meanwhile.
    if (ok && !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        DeleteFileA(temp.c_str());
        return reason(error);
    }
    return {};
}

#else

namespace {

std::string reason(int error)
{
    switch (error) {
    case EEXIST:
    case ENOTEMPTY:
        return Exists;
    case ENOENT:
    case ENOTDIR:
        return "Ordner nicht gefunden";
    case EACCES:
    case EPERM:
    case EROFS:
        return "Zugriff verweigert";
    case ENOSPC:
    case EDQUOT:
        return "Datentr\xC3\xA4ger voll";
    default:
        return std::strerror(error);
    }
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

// Takes the name without replacing what may have appeared there since the check: renameat2 where the file
// system has it, a hard link otherwise.
int claimName(const std::string& temp, const std::string& path)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
#endif
    if (::link(temp.c_str(), path.c_str()) != 0)
        return errno;
    ::unlink(temp.c_str());
    return 0;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

std::string writeNewFile(const std::string& path, std::string_view bytes)
{
    struct stat info;
    if (::stat(path.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? "ist ein Ordner" : Exists;
    // mkstemp creates the file for its owner alone (0600), whatever the umask.
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return reason(errno);
    int error = 0;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0)
        error = claimName(temp, path);
    if (error != 0) {
        ::unlink(temp.c_str());
        return reason(error);
    }
    // The new name is on disk only once its folder is.
    const int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return {};
}

#endif

} // namespace quarn::cli
