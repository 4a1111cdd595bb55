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
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <linux/magic.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#endif
#ifdef QUARN_HAVE_ACL
#include <acl/libacl.h>
#include <sys/acl.h>
#endif

namespace quarn::DurableFile {

using Kind = Failure::Kind;

namespace {

// The program's own temporary names, random so that two saves into one folder never meet, and fixed in form,
// so that a later save may recognise a leftover and no file of the user's is ever taken for one.
constexpr std::string_view TemporaryPrefix = ".quarn-";
constexpr std::string_view TemporarySuffix = ".tmp";
constexpr std::size_t TemporaryRandom = 12;

std::string ownTemporaryName()
{
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device random;
    std::string out(TemporaryPrefix);
    for (std::size_t i = 0; i < TemporaryRandom; ++i)
        out += digits[random() % 36];
    return out + std::string(TemporarySuffix);
}

} // namespace

bool isTemporaryName(std::string_view name)
{
    if (name.size() != TemporaryPrefix.size() + TemporaryRandom + TemporarySuffix.size() ||
        !name.starts_with(TemporaryPrefix) || !name.ends_with(TemporarySuffix))
        return false;
    const std::string_view random = name.substr(TemporaryPrefix.size(), TemporaryRandom);
    return random.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz") == std::string_view::npos;
}

#ifdef _WIN32

namespace {

Failure failureOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return Failure{Kind::FileExists};
    case ERROR_PATH_NOT_FOUND:
        return Failure{Kind::FolderNotFound};
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return Failure{Kind::AccessDenied};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return Failure{Kind::DiskFull};
    case ERROR_CANT_RESOLVE_FILENAME:
        return Failure{Kind::SymlinkLoop};
    default:
        return Failure{Kind::WriteFailed};
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

Result<> write(const std::filesystem::path& path, std::string_view bytes, Existing existing, Access access,
               const Calls&)
{
    const std::wstring target = path.wstring();
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Failure{Kind::IsFolder};
    if (exists && existing == Existing::Refuse)
        return Failure{Kind::FileExists};
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    // Not the file's own name, which may hold characters the narrow code page lacks.
    const std::wstring temp = (folder / ownTemporaryName()).wstring();
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
    return {};
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

int systemRenameNoReplace(int folder, const char* from, const char* to)
{
#ifdef RENAME_NOREPLACE
    return ::renameat2(folder, from, folder, to, RENAME_NOREPLACE);
#else
    errno = EINVAL;
    return -1;
#endif
}

int systemLink(int folder, const char* from, const char* to)
{
    return ::linkat(folder, from, folder, to, 0);
}

int systemChmod(int fd, int mode)
{
    return ::fchmod(fd, mode_t(mode));
}

int systemOpenUnnamed(int folder, int mode)
{
#ifdef O_TMPFILE
    return ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode_t(mode));
#else
    errno = EOPNOTSUPP;
    return -1;
#endif
}

#ifdef __linux__
// The file system type of a FUSE mount, from the mount table ("fuse.fusefat", "fuseblk", ...).
std::string fuseType(dev_t device)
{
    std::ifstream table("/proc/self/mountinfo");
    const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    for (std::string line; std::getline(table, line);) {
        std::size_t at = line.find(' ');
        at = at == std::string::npos ? at : line.find(' ', at + 1);
        if (at == std::string::npos || line.compare(at + 1, wanted.size() + 1, wanted + " ") != 0)
            continue;
        const std::size_t dash = line.find(" - ");
        if (dash == std::string::npos)
            return {};
        return line.substr(dash + 3, line.find(' ', dash + 3) - (dash + 3));
    }
    return {};
}
#endif

// FAT and exFAT, in the kernel or through FUSE (and NTFS through FUSE, which has no modes by default) keep
// no mode bits: every file there has the mount's mode.
int systemKeepsModes(int fd)
{
#ifdef __linux__
    struct statfs info;
    if (::fstatfs(fd, &info) != 0)
        return 1;
    constexpr long exfat = 0x2011BAB0;
    constexpr long fuse = 0x65735546;
    if (info.f_type == MSDOS_SUPER_MAGIC || info.f_type == exfat)
        return 0;
    struct stat file;
    if (info.f_type == fuse && ::fstat(fd, &file) == 0) {
        const std::string type = fuseType(file.st_dev);
        return type == "fuseblk" || type == "fuse.fusefat" || type.starts_with("fuse.exfat") ? 0 : 1;
    }
#else
    (void)fd;
#endif
    return 1;
}

// The calls in use: those given, the system's for the rest.
Calls withSystemCalls(const Calls& given)
{
    const auto pick = [](auto call, auto system) { return call ? call : system; };
    return {pick(given.sync, systemSync),
            pick(given.rename, systemRename),
            pick(given.renameNoReplace, systemRenameNoReplace),
            pick(given.link, systemLink),
            pick(given.openUnnamed, systemOpenUnnamed),
            pick(given.chmod, systemChmod),
            pick(given.keepsModes, systemKeepsModes)};
}

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

// Some file systems say a full disk in other words (FAT through FUSE: "not permitted"): a write that
// failed where no block is left failed for want of room.
int writeError(int fd, int error)
{
    struct statvfs space;
    if (error != ENOSPC && ::fstatvfs(fd, &space) == 0 && space.f_bavail == 0 && space.f_blocks > 0)
        return ENOSPC;
    return error;
}

// A file system that cannot sync (EINVAL) has nothing more to write.
bool synced(const Calls& calls, int fd)
{
    return calls.sync(fd) == 0 || errno == EINVAL;
}

struct Target
{
    std::string path; // a link followed to the file it names
    std::string folder;
    std::string name;
    bool exists = false;
    struct stat old = {};
};

Result<> locate(const std::filesystem::path& path, Existing existing, Target& target)
{
    target.path = path.string();
    struct stat info;
    if (::lstat(target.path.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return fileFailure(errno, path, FileOperation::Writing);
    } else if (existing == Existing::Refuse) {
        return Failure{S_ISDIR(info.st_mode) ? Kind::IsFolder : Kind::FileExists};
    } else {
        if (S_ISLNK(info.st_mode)) {
            // Written over is the file the link names; a loop or a link to nothing is no file to ask about.
            if (::stat(target.path.c_str(), &info) != 0)
                return errno == ENOENT ? Failure{Kind::FileExists} : fileFailure(errno, path, FileOperation::Writing);
            char* real = ::realpath(target.path.c_str(), nullptr);
            if (!real)
                return fileFailure(errno, path, FileOperation::Writing);
            target.path = real;
            std::free(real);
        }
        if (S_ISDIR(info.st_mode))
            return Failure{Kind::IsFolder};
        if (!S_ISREG(info.st_mode))
            return Failure{Kind::NotRegular};
        target.exists = true;
        target.old = info;
    }
    const auto slash = target.path.rfind('/');
    target.folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.path.substr(0, slash);
    target.name = slash == std::string::npos ? target.path : target.path.substr(slash + 1);
    if (target.name.empty())
        return Failure{Kind::IsFolder};
    return {};
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

// Sets the mode; 0, or the error where the file system keeps modes: one without them (FAT) gives every file
// the mount's, and that is no failure.
int setMode(const Calls& calls, int fd, mode_t mode)
{
    if (calls.chmod(fd, int(mode)) == 0)
        return 0;
    const int error = errno;
    return calls.keepsModes(fd) ? error : 0;
}

// The new file takes the old one's owner, group, ACL and mode before it has a name. What cannot be carried
// over fails the save: the pad must not become readable to anyone the old file kept out.
Result<> copyRights(const Calls& calls, const Target& target, int fd)
{
    struct stat now;
    if (::fstat(fd, &now) != 0)
        return Failure{Kind::RightsNotKept};
    if ((now.st_uid != target.old.st_uid || now.st_gid != target.old.st_gid) &&
        ::fchown(fd, target.old.st_uid, target.old.st_gid) != 0)
        return Failure{Kind::RightsNotKept};
#ifdef QUARN_HAVE_ACL
    if (const acl_t acl = ::acl_get_file(target.path.c_str(), ACL_TYPE_ACCESS)) {
        const int set = ::acl_set_fd(fd, acl);
        const int error = errno;
        // A list that says no more than the mode may be left to the mode where the new file takes no lists.
        const bool justTheMode = ::acl_equiv_mode(acl, nullptr) == 0;
        ::acl_free(acl);
        if (set != 0 && !(justTheMode && (error == ENOTSUP || error == EOPNOTSUPP)))
            return Failure{Kind::RightsNotKept};
    } else if (errno != ENOTSUP && errno != EOPNOTSUPP) {
        return Failure{Kind::RightsNotKept};
    }
#endif
    // After the list, whose mask the group bits already are; also the set-id and sticky bits. A file system
    // without modes gives the new file the mount's mode, as the old one had.
    if (setMode(calls, fd, target.old.st_mode & 07777) != 0)
        return Failure{Kind::RightsNotKept};
#ifdef __linux__
    copyAttributes(target.path, fd);
#endif
    return {};
}

// An unnamed file in the folder, so that a kill leaves nothing behind; a named temporary one where the
// file system has no unnamed files. Locked while the save runs, so that no other save takes it for a leftover.
int createTemporary(const Calls& calls, int folder, mode_t mode, std::string& temporary)
{
    int fd = calls.openUnnamed(folder, int(mode));
    if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return -1;
    for (int tries = 0; fd < 0 && tries < 100; ++tries) {
        temporary = ownTemporaryName();
        fd = ::openat(folder, temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd < 0 && errno != EEXIST)
            return -1;
    }
    if (fd >= 0)
        ::flock(fd, LOCK_EX | LOCK_NB);
    return fd;
}

bool before(const struct timespec& a, const struct timespec& b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// A killed save leaves its named temporary file, which may hold a whole pad: the next save into the folder
// removes every one that is the program's own (by its name), the user's own, a plain file of one name, older
// than this save and not locked by a save still running.
void removeLeftovers(int folder, const struct timespec& start)
{
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0)
        return;
    DIR* dir = ::fdopendir(listed);
    if (!dir) {
        ::close(listed);
        return;
    }
    while (const struct dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        struct stat info;
        if (!isTemporaryName(name) || ::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() || info.st_nlink != 1 || !before(info.st_mtim, start))
            continue;
        const Descriptor candidate(::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat opened;
        if (candidate.get() >= 0 && ::fstat(candidate.get(), &opened) == 0 && opened.st_ino == info.st_ino &&
            opened.st_dev == info.st_dev && ::flock(candidate.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(folder, name, 0);
    }
    ::closedir(dir);
}

// Gives the named temporary file its target name without replacing a file that took the name meanwhile:
// a rename that does not replace, else a hard link, else (FAT through FUSE has neither) a look first, which
// says "existiert bereits" rather than replace. The temporary name is gone afterwards, whatever came of it.
int placeNew(const Calls& calls, int folder, const std::string& temporary, const std::string& name)
{
    const auto gone = [&](int result) {
        const int error = errno;
        ::unlinkat(folder, temporary.c_str(), 0);
        errno = error;
        return result;
    };
    if (calls.renameNoReplace(folder, temporary.c_str(), name.c_str()) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP && errno != ENOTSUP)
        return gone(-1);
    if (calls.link(folder, temporary.c_str(), name.c_str()) == 0)
        return gone(0);
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOTSUP && errno != ENOSYS && errno != EMLINK)
        return gone(-1);
    struct stat taken;
    if (::fstatat(folder, name.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return gone(-1);
    }
    if (errno != ENOENT)
        return gone(-1);
    if (calls.rename(folder, temporary.c_str(), name.c_str()) == 0)
        return 0;
    return gone(-1);
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

Result<> write(const std::filesystem::path& path, std::string_view bytes, Existing existing, Access access,
               const Calls& given)
{
    const Calls calls = withSystemCalls(given);
    Target target;
    if (Result<> located = locate(path, existing, target); !located)
        return located;
    const auto failed = [&path](int error) { return fileFailure(error, path, FileOperation::Writing); };

    const Descriptor folder(::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0)
        return failed(errno);
    struct timespec start = {};
    ::clock_gettime(CLOCK_REALTIME, &start);
    removeLeftovers(folder.get(), start);

    // Private until it has its rights: an old file's are copied onto it, a new one keeps them.
    const bool usual = access == Access::Usual && !target.exists;
    std::string temporary;
    const Descriptor file(createTemporary(calls, folder.get(), usual ? 0666 : 0600, temporary));
    if (file.get() < 0)
        return failed(errno);
    const auto removeTemporary = [&] {
        if (!temporary.empty())
            ::unlinkat(folder.get(), temporary.c_str(), 0);
    };

    Result<> done;
    if (!writeAll(file.get(), bytes))
        done = failed(writeError(file.get(), errno));
    else if (target.exists)
        done = copyRights(calls, target, file.get());
    // A folder's default list may have widened a new private file.
    else if (const int error = usual ? 0 : setMode(calls, file.get(), 0600))
        done = failed(error);
    if (done && !synced(calls, file.get()))
        done = failed(errno);
    if (!done) {
        removeTemporary();
        return done;
    }

    if (target.exists) {
        // The complete file lies under a temporary name only from the link to the rename.
        if (temporary.empty()) {
            int linked = -1;
            for (int tries = 0; tries < 100 && linked != 0; ++tries) {
                temporary = ownTemporaryName();
                linked = linkUnnamed(file.get(), folder.get(), temporary);
                if (linked != 0 && errno != EEXIST)
                    break;
            }
            if (linked != 0) {
                const int error = errno;
                return failed(error);
            }
        }
        if (calls.rename(folder.get(), temporary.c_str(), target.name.c_str()) != 0) {
            const int error = errno;
            removeTemporary();
            return failed(error);
        }
    } else if (temporary.empty()) {
        if (linkUnnamed(file.get(), folder.get(), target.name) != 0)
            return failed(errno);
    } else if (placeNew(calls, folder.get(), temporary, target.name) != 0) {
        // Never replaces: a file that took the name meanwhile stays.
        return failed(errno);
    }

    // The name is on disk only once the folder is.
    if (!synced(calls, folder.get())) {
        const int error = errno;
        // A new file that might not survive is taken back; one written over cannot be.
        if (!target.exists)
            ::unlinkat(folder.get(), target.name.c_str(), 0);
        return failed(error);
    }
    return {};
}

#endif

} // namespace quarn::DurableFile
