#include "DurableFile.h"

#include <random>
#include <string>

#ifdef _WIN32
#include <vector>
#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>
#else
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/xattr.h>
#endif
#ifdef QUARN_HAVE_ACL
#include <acl/libacl.h>
#include <sys/acl.h>
#endif

namespace quarn::DurableFile {

namespace {

// A temporary name beside the target; random so that two saves into one folder never meet.
std::string temporaryName(const std::string& name)
{
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device random;
    // Short enough that a long name plus the suffix stays a valid name.
    std::string out = "." + name.substr(0, 200) + ".";
    for (int i = 0; i < 8; ++i)
        out += digits[random() % 36];
    return out;
}

} // namespace

#ifdef _WIN32

namespace {

FileFailure failureOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return FileFailure::Exists;
    case ERROR_PATH_NOT_FOUND:
        return FileFailure::FolderNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return FileFailure::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileFailure::DiskFull;
    case ERROR_CANT_RESOLVE_FILENAME:
        return FileFailure::SymlinkLoop;
    default:
        return FileFailure::WriteFailed;
    }
}

// A security descriptor that lets the user this process runs as, and nobody else, at a new file: its
// access list is protected from the folder's inherited entries. File systems without access lists (FAT)
// ignore it. Empty where the user cannot be found, so that the file gets the folder's usual rights.
class OwnerOnly
{
public:
    OwnerOnly()
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return;
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::vector<BYTE> user(size);
        LPWSTR sid = nullptr;
        if (size && GetTokenInformation(token, TokenUser, user.data(), size, &size) &&
            ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sid)) {
            std::wstring sddl = L"D:P(A;;FA;;;";
            sddl += sid;
            sddl += L")";
            LocalFree(sid);
            ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &m_descriptor, nullptr);
        }
        CloseHandle(token);
    }
    ~OwnerOnly()
    {
        if (m_descriptor)
            LocalFree(m_descriptor);
    }
    OwnerOnly(const OwnerOnly&) = delete;
    OwnerOnly& operator=(const OwnerOnly&) = delete;

    SECURITY_ATTRIBUTES* attributes()
    {
        m_attributes = {sizeof(m_attributes), m_descriptor, FALSE};
        return m_descriptor ? &m_attributes : nullptr;
    }

private:
    PSECURITY_DESCRIPTOR m_descriptor = nullptr;
    SECURITY_ATTRIBUTES m_attributes{};
};

} // namespace

Calls systemCalls()
{
    return {nullptr, nullptr};
}

Calls setCalls(const Calls& calls)
{
    return calls;
}

FileFailure write(const std::filesystem::path& path, std::string_view bytes, Existing existing, Access access)
{
    const std::wstring target = path.wstring();
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileFailure::IsFolder;
    if (exists && existing == Existing::Refuse)
        return FileFailure::Exists;
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    // Not the file's own name, which may hold characters the narrow code page lacks.
    const std::wstring temp = (folder / temporaryName("quarn")).wstring();
    // A file written over keeps its own rights (ReplaceFileW), as on Linux.
    OwnerOnly ownerOnly;
    SECURITY_ATTRIBUTES* security = access == Access::OwnerOnly && !exists ? ownerOnly.attributes() : nullptr;
    const HANDLE file =
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, security, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return failureOf(GetLastError());
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size() &&
              FlushFileBuffers(file);
    DWORD error = ok ? 0 : GetLastError();
    ok = CloseHandle(file) && ok;
    if (ok) {
        // ReplaceFile keeps the old file's security and attributes; a move without REPLACE_EXISTING fails
        // when a file has taken the name meanwhile.
        const bool placed = exists ? ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                                                  REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                                   : MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
        if (!placed) {
            ok = false;
            error = GetLastError();
        }
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
        return failureOf(error);
    }
    return FileFailure::None;
}

#else

namespace {

int systemSync(int fd)
{
    int result;
    do
        result = ::fsync(fd);
    while (result != 0 && errno == EINTR);
    return result;
}

int systemRename(int folder, const char* from, const char* to)
{
    return ::renameat(folder, from, folder, to);
}

Calls g_calls{systemSync, systemRename};

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

// A file system that cannot sync (EINVAL) has nothing more to write.
bool synced(int fd)
{
    return g_calls.sync(fd) == 0 || errno == EINVAL;
}

struct Target
{
    std::string path; // a link followed to the file it names
    std::string folder;
    std::string name;
    bool exists = false;
    struct stat old = {};
};

FileFailure locate(const std::filesystem::path& path, Existing existing, Target& target)
{
    target.path = path.string();
    struct stat info;
    if (::lstat(target.path.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return failureOf(errno, path, FileOperation::Writing);
    } else if (existing == Existing::Refuse) {
        return S_ISDIR(info.st_mode) ? FileFailure::IsFolder : FileFailure::Exists;
    } else {
        if (S_ISLNK(info.st_mode)) {
            // Written over is the file the link names; a loop or a link to nothing is no file to ask about.
            if (::stat(target.path.c_str(), &info) != 0)
                return errno == ENOENT ? FileFailure::Exists : failureOf(errno, path, FileOperation::Writing);
            char* real = ::realpath(target.path.c_str(), nullptr);
            if (!real)
                return failureOf(errno, path, FileOperation::Writing);
            target.path = real;
            std::free(real);
        }
        if (S_ISDIR(info.st_mode))
            return FileFailure::IsFolder;
        if (!S_ISREG(info.st_mode))
            return FileFailure::NotRegular;
        target.exists = true;
        target.old = info;
    }
    const auto slash = target.path.rfind('/');
    target.folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.path.substr(0, slash);
    target.name = slash == std::string::npos ? target.path : target.path.substr(slash + 1);
    if (target.name.empty())
        return FileFailure::IsFolder;
    return FileFailure::None;
}

#ifdef __linux__
// Extended attributes other than the ACL, where the file system has them. They are not rights, so one that
// cannot be copied (a security label only root may set) does not stop the save.
void copyAttributes(const std::string& from, int fd)
{
    ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
    if (size <= 0)
        return;
    std::string names(std::size_t(size), '\0');
    size = ::listxattr(from.c_str(), names.data(), names.size());
    if (size <= 0)
        return;
    names.resize(std::size_t(size));
    for (std::size_t at = 0; at < names.size();) {
        const std::string name = names.c_str() + at;
        at += name.size() + 1;
        if (name.rfind("system.posix_acl_", 0) == 0)
            continue;
        const ssize_t length = ::getxattr(from.c_str(), name.c_str(), nullptr, 0);
        if (length < 0)
            continue;
        std::string value(std::size_t(length), '\0');
        const ssize_t got = ::getxattr(from.c_str(), name.c_str(), value.data(), value.size());
        if (got >= 0)
            ::fsetxattr(fd, name.c_str(), value.data(), std::size_t(got), 0);
    }
}
#endif

// The new file takes the old one's owner, group, ACL and mode before it has a name. What cannot be carried
// over fails the save: the pad must not become readable to anyone the old file kept out.
FileFailure copyRights(const Target& target, int fd)
{
    struct stat now;
    if (::fstat(fd, &now) != 0)
        return FileFailure::RightsNotKept;
    if ((now.st_uid != target.old.st_uid || now.st_gid != target.old.st_gid) &&
        ::fchown(fd, target.old.st_uid, target.old.st_gid) != 0)
        return FileFailure::RightsNotKept;
#ifdef QUARN_HAVE_ACL
    if (const acl_t acl = ::acl_get_file(target.path.c_str(), ACL_TYPE_ACCESS)) {
        const int set = ::acl_set_fd(fd, acl);
        const int error = errno;
        // A list that says no more than the mode may be left to the mode where the new file takes no lists.
        const bool justTheMode = ::acl_equiv_mode(acl, nullptr) == 0;
        ::acl_free(acl);
        if (set != 0 && !(justTheMode && (error == ENOTSUP || error == EOPNOTSUPP)))
            return FileFailure::RightsNotKept;
    } else if (errno != ENOTSUP && errno != EOPNOTSUPP) {
        return FileFailure::RightsNotKept;
    }
#endif
    // After the list, whose mask the group bits already are; also the set-id and sticky bits.
    if (::fchmod(fd, target.old.st_mode & 07777) != 0)
        return FileFailure::RightsNotKept;
#ifdef __linux__
    copyAttributes(target.path, fd);
#endif
    return FileFailure::None;
}

// An unnamed file in the folder, so that a kill leaves nothing behind; a named temporary one where the
// file system has no unnamed files.
int createUnnamed(int folder, const Target& target, mode_t mode, std::string& temporary)
{
#ifdef O_TMPFILE
    const int fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
#endif
    for (int tries = 0; tries < 100; ++tries) {
        temporary = temporaryName(target.name);
        const int fd = ::openat(folder, temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Gives the unnamed file `fd` a name in `folder`; fails with EEXIST when the name is taken.
int linkUnnamed(int fd, int folder, const std::string& name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0)
        return -1;
    // Without /proc: the descriptor itself, which only a privileged process may link.
    return ::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH);
}

} // namespace

Calls systemCalls()
{
    return {systemSync, systemRename};
}

Calls setCalls(const Calls& calls)
{
    const Calls before = g_calls;
    g_calls = calls;
    return before;
}

FileFailure write(const std::filesystem::path& path, std::string_view bytes, Existing existing, Access access)
{
    Target target;
    if (const FileFailure located = locate(path, existing, target); located != FileFailure::None)
        return located;
    const auto failed = [&path](int error) { return failureOf(error, path, FileOperation::Writing); };

    const Descriptor folder(::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0)
        return failed(errno);
    // Private until it has its rights: an old file's are copied onto it, a new one keeps them.
    const bool usual = access == Access::Usual && !target.exists;
    std::string temporary;
    const Descriptor file(createUnnamed(folder.get(), target, usual ? 0666 : 0600, temporary));
    if (file.get() < 0)
        return failed(errno);
    const auto removeTemporary = [&] {
        if (!temporary.empty())
            ::unlinkat(folder.get(), temporary.c_str(), 0);
    };

    FileFailure failure = FileFailure::None;
    if (!writeAll(file.get(), bytes))
        failure = failed(errno);
    else if (target.exists)
        failure = copyRights(target, file.get());
    // A folder's default list may have widened a new private file.
    else if (!usual && ::fchmod(file.get(), 0600) != 0)
        failure = failed(errno);
    if (failure == FileFailure::None && !synced(file.get()))
        failure = failed(errno);
    if (failure != FileFailure::None) {
        removeTemporary();
        return failure;
    }

    if (target.exists) {
        // The complete file lies under a temporary name only from the link to the rename.
        if (temporary.empty()) {
            int linked = -1;
            for (int tries = 0; tries < 100 && linked != 0; ++tries) {
                temporary = temporaryName(target.name);
                linked = linkUnnamed(file.get(), folder.get(), temporary);
                if (linked != 0 && errno != EEXIST)
                    break;
            }
            if (linked != 0) {
                const int error = errno;
                return failed(error);
            }
        }
        if (g_calls.rename(folder.get(), temporary.c_str(), target.name.c_str()) != 0) {
            const int error = errno;
            removeTemporary();
            return failed(error);
        }
    } else if (temporary.empty()) {
        if (linkUnnamed(file.get(), folder.get(), target.name) != 0)
            return failed(errno);
    } else {
        // Never replaces: a file that took the name meanwhile stays.
        const int linked = ::linkat(folder.get(), temporary.c_str(), folder.get(), target.name.c_str(), 0);
        const int error = errno;
        removeTemporary();
        if (linked != 0)
            return failed(error);
    }

    // The name is on disk only once the folder is.
    if (!synced(folder.get())) {
        const int error = errno;
        // A new file that might not survive is taken back; one written over cannot be.
        if (!target.exists)
            ::unlinkat(folder.get(), target.name.c_str(), 0);
        return failed(error);
    }
    return FileFailure::None;
}

#endif

} // namespace quarn::DurableFile
