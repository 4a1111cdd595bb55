#pragma once

#include "Failure.h"
#include "RandomSource.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace quarn {
class Worksheet;
}

namespace quarn::cli {

struct CliOutcome
{
    int exitCode = 0;
    std::string out; // bytes for standard output
    std::string err; // text for standard error
};

// Reads up to `size` bytes of standard input into `buffer`; returns how many, 0 at its end, or why it cannot.
using StandardInput = std::function<Result<std::size_t>(char* buffer, std::size_t size)>;

// The bytes of the worksheet's PDF file, dated today and on the paper the locale prefers, or why it cannot be
// set. Passed in, so that the commands need no Qt: only the PDF does (see WorksheetPdf.h).
using WorksheetPdf = std::function<Result<std::string>(const Worksheet& sheet)>;

// Runs one command line (without the program name). `standardInput` serves commands given no FILE or "-".
// Kept apart from main() so tests can drive it.
CliOutcome runCli(const std::vector<std::string>& args, RandomSource& random, const StandardInput& standardInput,
                  const WorksheetPdf& worksheetPdf);

std::string usageText();

// Up to `size` bytes of a stream, read with stdio so that a read error (a folder on Linux opens, then fails
// to read) is told apart from the end.
Result<std::size_t> readSome(std::FILE* stream, char* buffer, std::size_t size);

} // namespace quarn::cli
