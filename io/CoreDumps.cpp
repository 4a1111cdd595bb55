#include "CoreDumps.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace quarn {

void switchOffCoreDumps()
{
#ifndef _WIN32
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
#endif
#ifdef __linux__
    // Also where cores go to a collecting program, which may ignore the limit.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

} // namespace quarn
