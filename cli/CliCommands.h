#pragma once

#include "RandomSource.h"

#include <cstdio>
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

// All of a stream's bytes, read with stdio so that a read error (a folder on Linux opens, then fails to
// read) is told apart from the end; throws std::runtime_error with the reason in German.
std::string readAll(std::FILE* stream);

} // namespace quarn::cli
