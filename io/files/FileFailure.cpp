#include "FileFailure.h"

#include <cerrno>
#include <system_error>

namespace quarn {

std::string reason(FileFailure failure)
{
    switch (failure) {
    case FileFailure::None:
        return {};
    case FileFailure::NotFound:
        return "Datei nicht gefunden";
    case FileFailure::FolderNotFound:
        return "Ordner nicht gefunden";
    case FileFailure::IsFolder:
        return "ist ein Ordner";
    case FileFailure::NotRegular:
        return "ist keine normale Datei";
    case FileFailure::SymlinkLoop:
        return "symbolische Verkn\xC3\xBCpfungen bilden eine Schleife";
    case FileFailure::AccessDenied:
        return "Zugriff verweigert";
    case FileFailure::DiskFull:
        return "Datentr\xC3\xA4ger voll";
    case FileFailure::Exists:
        return "existiert bereits";
    case FileFailure::RightsNotKept:
        return "die Rechte der alten Datei lassen sich nicht \xC3\xBC"
               "bertragen";
    case FileFailure::ReadFailed:
        return "Lesefehler";
    case FileFailure::WriteFailed:
        return "Schreibfehler";
    }
    return "Schreibfehler";
}

FileFailure failureOf(int error, const std::filesystem::path& path, FileOperation operation)
{
    std::error_code ignored;
    // Windows refuses to open a folder as "access denied"; Linux opens it and fails to read it.
    if (error != ENOENT && error != ENOTDIR && error != ELOOP && std::filesystem::is_directory(path, ignored))
        return FileFailure::IsFolder;
    switch (error) {
    case ENOENT: {
        const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
        return std::filesystem::is_directory(folder, ignored) ? FileFailure::NotFound : FileFailure::FolderNotFound;
    }
    case ENOTDIR:
        return FileFailure::FolderNotFound;
    case EISDIR:
        return FileFailure::IsFolder;
    case ELOOP:
        return FileFailure::SymlinkLoop;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileFailure::AccessDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FileFailure::DiskFull;
    case EEXIST:
        return FileFailure::Exists;
    default:
        return operation == FileOperation::Reading ? FileFailure::ReadFailed : FileFailure::WriteFailed;
    }
}

} // namespace quarn
