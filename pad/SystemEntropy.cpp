#include "SystemEntropy.h"

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#include <bcrypt.h>
#else
#include <cerrno>
#include <sys/random.h>
#endif

namespace quarn {

void fillWithSystemEntropy(unsigned char* buffer, std::size_t size)
{
#ifdef _WIN32
    while (size > 0) {
        const ULONG chunk = size > 0x10000000 ? 0x10000000 : static_cast<ULONG>(size);
        if (BCryptGenRandom(nullptr, buffer, chunk, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0)
            throw std::runtime_error("Der Zufallsgenerator des Systems ist nicht verfügbar");
        buffer += chunk;
        size -= chunk;
    }
#else
    while (size > 0) {
        const ssize_t got = getrandom(buffer, size, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw std::runtime_error("Der Zufallsgenerator des Systems ist nicht verfügbar");
        }
        buffer += got;
        size -= static_cast<std::size_t>(got);
    }
#endif
}

} // namespace quarn
