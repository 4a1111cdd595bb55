#pragma once

#include "Failure.h"

#include <filesystem>

namespace quarn {

enum class FileOperation
{
    Reading,
    Writing
};

// What the system's error number means for a file at `path`; a missing file is told from a missing
// folder by looking at the path. An error no case names is a read or write failure.
Failure fileFailure(int error, const std::filesystem::path& path, FileOperation operation);

} // namespace quarn
