#include "FileFailure.h"

#include <cerrno>
#include <system_error>

namespace quarn {

namespace {

using Kind = Failure::Kind;

Kind kindOf(int error, const std::filesystem::path& path, FileOperation operation)
{
    std::error_code ignored;
    // Windows refuses to open a folder as "access denied"; Linux opens it and fails to read it.
    if (error != ENOENT && error != ENOTDIR && error != ELOOP && std::filesystem::is_directory(path, ignored))
        return Kind::IsFolder;
    switch (error) {
    case ENOENT: {
        const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
        return std::filesystem::is_directory(folder, ignored) ? Kind::FileNotFound : Kind::FolderNotFound;
    }
    case ENOTDIR:
        return Kind::FolderNotFound;
    case EISDIR:
        return Kind::IsFolder;
    case ELOOP:
        return Kind::SymlinkLoop;
    case EACCES:
    case EPERM:
    case EROFS:
        return Kind::AccessDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Kind::DiskFull;
    case EEXIST:
        return Kind::FileExists;
    default:
        return operation == FileOperation::Reading ? Kind::ReadFailed : Kind::WriteFailed;
    }
}

} // namespace

Failure fileFailure(int error, const std::filesystem::path& path, FileOperation operation)
{
    return {.kind = kindOf(error, path, operation), .error = error};
}

} // namespace quarn
