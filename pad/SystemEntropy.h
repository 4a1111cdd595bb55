#pragma once

#include "Failure.h"

#include <cstddef>
#include <functional>

namespace quarn {

// The one place that asks the operating system for random bytes (getrandom, BCryptGenRandom).
// Throws Failed (EntropyUnavailable) when the system cannot deliver.
void fillWithSystemEntropy(unsigned char* buffer, std::size_t size);

// One request to a source like getrandom: the bytes given (possibly fewer than asked), or -1 with errno.
using EntropyRead = std::function<long(unsigned char* buffer, std::size_t size)>;
// Fills the buffer from `read`, asking again after a short answer or EINTR. A source that gives nothing
// MaxEmptyReads times in a row fails instead of holding the program for ever.
void fillFrom(const EntropyRead& read, unsigned char* buffer, std::size_t size);
inline constexpr int MaxEmptyReads = 100;

} // namespace quarn
