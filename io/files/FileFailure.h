#pragma once

#include <filesystem>
#include <string>

namespace quarn {

// Why a file could not be read or written, the same for the window and quarn-cli.
enum class FileFailure
{
    None,
    NotFound,       // the folder is there, the file is not
    FolderNotFound, // a folder on the way is missing or is a file
    IsFolder,
    NotRegular, // a FIFO, device or socket
    SymlinkLoop,
    AccessDenied,
    DiskFull,      // no room, or no inode left
    Exists,        // a new file was asked for and the name is taken
    RightsNotKept, // the file written over has rights the new one could not take
    ReadFailed,
    WriteFailed,
};

enum class FileOperation
{
    Reading,
    Writing
};

// The reason in German (UTF-8), as both programs show it after the file's name; empty for None.
std::string reason(FileFailure failure);

// What the system's error number means for a file at `path`; a missing file is told from a missing
// folder by looking at the path. An error no case names is a read or write failure.
FileFailure failureOf(int error, const std::filesystem::path& path, FileOperation operation);

} // namespace quarn
