#pragma once

#include <filesystem>

class QFile;

namespace quarn {

// The few calls that differ by platform, kept in this one place.
namespace SystemCalls {

enum class OpenResult
{
    Opened,
    NotRegular, // a FIFO, device, socket or folder: nothing the program reads
    Failed      // the system refused; the caller tells why from the error and the path
};

// Opens the file at `native` (the system's own spelling of `file`'s name) into `file` for unbuffered reading
// when it is a regular file. Never waits: a FIFO without a writer or a slow device is refused at once, not
// opened. On failure `error` holds the system's error number, or 0 where the platform gives none.
OpenResult openRegularForReading(QFile& file, const std::filesystem::path& native, int& error);

} // namespace SystemCalls

} // namespace quarn
