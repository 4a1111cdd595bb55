#pragma once

#include "Failure.h"

#include <filesystem>

class QFile;

namespace quarn {

// The few calls that differ by platform, kept in this one place.
namespace SystemCalls {

// Opens the file at `native` (the system's own spelling of `file`'s name) into `file` for unbuffered reading
// when it is a regular file. Never waits: a FIFO without a writer or a slow device is refused at once, not
// opened. Anything but a regular file fails as a folder or as no normal file.
Result<> openRegularForReading(QFile& file, const std::filesystem::path& native);

} // namespace SystemCalls

} // namespace quarn
