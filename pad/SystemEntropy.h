#pragma once

#include <cstddef>

namespace quarn {

// The one place that asks the operating system for random bytes (getrandom, BCryptGenRandom).
// Throws std::runtime_error when the system cannot deliver.
void fillWithSystemEntropy(unsigned char* buffer, std::size_t size);

} // namespace quarn
