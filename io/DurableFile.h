#pragma once

#include "FileFailure.h"

#include <filesystem>
#include <string_view>

namespace quarn {

// Saving a whole file so that a kill or a power cut leaves either the old file or the new one, never a
// stray copy: the bytes go into an unnamed file in the target's folder, which gets its name only once it
// is complete and synced, and the folder is synced before the save counts. Both programs save through here.
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

FileFailure write(const std::filesystem::path& path, std::string_view bytes, Existing existing, Access access);

// The calls tests make fail to see the failed saves. Each returns 0 or -1 with errno set.
struct Calls
{
    int (*sync)(int fd);
    int (*rename)(int folder, const char* from, const char* to);
};
Calls systemCalls();
// Replaces the calls until the returned ones are put back; for tests.
Calls setCalls(const Calls& calls);

} // namespace DurableFile

} // namespace quarn
