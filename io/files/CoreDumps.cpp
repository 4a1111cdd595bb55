#include "CoreDumps.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace quarn {

void switchOffCoreDumps()
{
#ifdef _WIN32
    // Windows Error Reporting writes the crashed process's memory into a dump and may send it off. Not
    // invoked for this process; a crash that still reaches the last filter ends it there, without a report.
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter([](EXCEPTION_POINTERS* crash) -> LONG {
        TerminateProcess(GetCurrentProcess(), crash->ExceptionRecord->ExceptionCode);
        return EXCEPTION_EXECUTE_HANDLER;
    });
#else
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
#endif
#ifdef __linux__
    // Also where cores go to a collecting program, which may ignore the limit.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

} // namespace quarn
