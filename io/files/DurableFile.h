#pragma once

#include "FileFailure.h"

#include <filesystem>
#include <string_view>

namespace quarn {

// Saving a whole file so that a kill or a power cut leaves either the old file or the new one: the bytes go
// into an unnamed file in the target's folder (a named temporary one where the file system has no unnamed
// files, as FAT), which gets its name only once it is complete and synced, and the folder is synced before
// the save counts. A temporary file that a killed save left in the folder is removed by the next save there.
// Both programs save through here.
namespace DurableFile {

enum class Existing
{
    Refuse, // a name that is taken fails with Exists, also when it was taken during the save
    Replace // a regular file there is replaced; it keeps its owner, group, mode, ACL and attributes
};

enum class Access
{
    Usual,    // a new file as the umask and the folder's default ACL have it
    OwnerOnly // a new file only its owner may read and write (a pad, a decoded message)
};

// The calls a save makes that differ by file system, so that tests can fail them or make them behave as
// FAT does. Each returns 0 or -1 with errno set; a member left empty is the system's call.
struct Calls
{
    int (*sync)(int fd) = nullptr;
    // Replaces `to`.
    int (*rename)(int folder, const char* from, const char* to) = nullptr;
    // Fails with EEXIST where `to` is taken, EINVAL where the file system has no such rename.
    int (*renameNoReplace)(int folder, const char* from, const char* to) = nullptr;
    // A second name; fails (EPERM) where the file system has no hard links, as FAT has none.
    int (*link)(int folder, const char* from, const char* to) = nullptr;
    // An unnamed file in the folder, or -1 (EOPNOTSUPP where the file system has none, as FAT).
    int (*openUnnamed)(int folder, int mode) = nullptr;
    // The new file's mode; fails (ENOSYS) on FAT through FUSE.
    int (*chmod)(int fd, int mode) = nullptr;
    // 1 where the file system keeps mode bits, 0 where it has none (FAT): a mode that does not stick there is
    // no failure.
    int (*keepsModes)(int fd) = nullptr;
};

// Saves through `calls`, the system's where a member is empty; the Windows save makes none of them.
Result<> write(const std::filesystem::path& path, std::string_view bytes, Existing existing, Access access,
               const Calls& calls = {});

// Whether `name` is one of the temporary names a save gives its file (a leftover of a killed save).
bool isTemporaryName(std::string_view name);

} // namespace DurableFile

} // namespace quarn
