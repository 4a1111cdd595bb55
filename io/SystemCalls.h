#pragma once

class QFile;
class QFileDevice;

namespace quarn {

// The few calls that differ by platform, kept in this one place.
namespace SystemCalls {

enum class OpenResult
{
    Opened,
    NotRegular, // a FIFO, device, socket or folder: nothing the program reads
    Failed      // the system refused; the caller tells why from the path
};

// Opens the file named by `file` for unbuffered reading when it is a regular file. Never waits: a FIFO
// without a writer or a slow device is refused at once, not opened.
OpenResult openRegularForReading(QFile& file);

// True when what was written to `file` has reached the disk, or where the platform cannot tell.
bool syncToDisk(QFileDevice& file);

// No core file of this process: it holds pads in memory.
void switchOffCoreDumps();

} // namespace SystemCalls

} // namespace quarn
