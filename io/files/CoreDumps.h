#pragma once

namespace quarn {

// No core file or crash dump of this process (on Windows: no error report): it holds pads in memory. Both
// programs call it first thing.
void switchOffCoreDumps();

} // namespace quarn
