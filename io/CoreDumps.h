#pragma once

namespace quarn {

// No core file of this process: it holds pads in memory. Both programs call it first thing.
void switchOffCoreDumps();

} // namespace quarn
