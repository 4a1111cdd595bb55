#pragma once

#include "RandomSource.h"

#include <functional>
#include <string>
#include <vector>

namespace quarn::cli {

struct CliOutcome
{
    int exitCode = 0;
    std::string out; // bytes for standard output
    std::string err; // text for standard error
};

// Reads all of standard input; throws std::exception with the reason when it cannot.
using StandardInput = std::function<std::string()>;

// Runs one command line (without the program name). `standardInput` serves commands given no FILE or "-".
// Kept apart from main() so tests can drive it.
CliOutcome runCli(const std::vector<std::string>& args, RandomSource& random, const StandardInput& standardInput);

std::string usageText();

} // namespace quarn::cli
