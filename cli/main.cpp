#include "CliCommands.h"
#include "CoreDumps.h"
#include "WorksheetPdf.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// clang-format off
#include <shellapi.h>
// clang-format on
#endif

namespace {

// The arguments as UTF-8: on Windows from the wide command line, which holds names the code page lacks.
std::vector<std::string> arguments(int argc, char** argv)
{
#ifdef _WIN32
    int count = 0;
    if (wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count)) {
        std::vector<std::string> args;
        for (int i = 1; i < count; ++i) {
            const int size = WideCharToMultiByte(CP_UTF8, 0, words[i], -1, nullptr, 0, nullptr, nullptr);
            std::string arg(std::size_t(size > 0 ? size : 1), '\0');
            WideCharToMultiByte(CP_UTF8, 0, words[i], -1, arg.data(), size, nullptr, nullptr);
            arg.resize(std::char_traits<char>::length(arg.c_str()));
            args.push_back(arg);
        }
        LocalFree(words);
        return args;
    }
#endif
    return std::vector<std::string>(argv + 1, argv + argc);
}

} // namespace

int main(int argc, char** argv)
{
    // Before anything else: a pad may be in memory from the first command on.
    quarn::switchOffCoreDumps();
#ifdef _WIN32
    // Exact bytes: no CR LF translation on the standard streams.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::vector<std::string> args = arguments(argc, argv);
    quarn::SystemRandomSource random;
    const auto readStandardInput = [](char* buffer, std::size_t size) {
        return quarn::cli::readSome(stdin, buffer, size);
    };
    const quarn::cli::CliOutcome outcome =
        quarn::cli::runCli(args, random, readStandardInput, quarn::cli::worksheetPdf);
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
