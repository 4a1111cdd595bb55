#include "SystemEntropy.h"

#include <cerrno>

#ifdef _WIN32
// windows.h first: bcrypt.h needs its types.
// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on
#else
#include <sys/random.h>
#endif

namespace quarn {

void fillWithSystemEntropy(unsigned char* buffer, std::size_t size)
{
#ifdef _WIN32
    while (size > 0) {
        const ULONG chunk = size > 0x10000000 ? 0x10000000 : static_cast<ULONG>(size);
        if (BCryptGenRandom(nullptr, buffer, chunk, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0)
            throw Failed({Failure::Kind::EntropyUnavailable});
        buffer += chunk;
        size -= chunk;
    }
#else
    fillFrom([](unsigned char* to, std::size_t n) { return long(getrandom(to, n, 0)); }, buffer, size);
#endif
}

void fillFrom(const EntropyRead& read, unsigned char* buffer, std::size_t size)
{
    int empty = 0;
    while (size > 0) {
        const long got = read(buffer, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw Failed({Failure::Kind::EntropyUnavailable});
        if (got == 0) {
            if (++empty == MaxEmptyReads)
                throw Failed({Failure::Kind::EntropyUnavailable});
            continue;
        }
        empty = 0;
        buffer += got;
        size -= static_cast<std::size_t>(got);
    }
}

} // namespace quarn
