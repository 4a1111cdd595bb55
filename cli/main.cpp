#include "CliCommands.h"
#include "CoreDumps.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv)
{
    // Before anything else: a pad may be in memory from the first command on.
    quarn::switchOffCoreDumps();
#ifdef _WIN32
    // Exact bytes: no CR LF translation on the standard streams.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    quarn::SystemRandomSource random;
    const auto readStandardInput = [](char* buffer, std::size_t size) {
        return quarn::cli::readSome(stdin, buffer, size);
    };
    const quarn::cli::CliOutcome outcome = quarn::cli::runCli(args, random, readStandardInput);
    // A full disk or a closed pipe must not pass for success.
    const bool written = std::fwrite(outcome.out.data(), 1, outcome.out.size(), stdout) == outcome.out.size() &&
                         std::fflush(stdout) == 0;
    std::fwrite(outcome.err.data(), 1, outcome.err.size(), stderr);
    if (!written) {
        std::fputs("quarn-cli: Standardausgabe: Schreibfehler\n", stderr);
        return 1;
    }
    return outcome.exitCode;
}
