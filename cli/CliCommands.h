#pragma once

#include "RandomSource.h"

#include <istream>
#include <string>
#include <vector>

namespace quarn::cli {

struct CliOutcome
{
    int exitCode = 0;
    std::string out; // bytes for standard output
    std::string err; // text for standard error
};

// Runs one command line (without the program name). `standardInput` serves commands given no FILE.
// Kept apart from main() so tests can drive it.
CliOutcome runCli(const std::vector<std::string>& args, RandomSource& random, std::istream& standardInput);

std::string usageText();

} // namespace quarn::cli
