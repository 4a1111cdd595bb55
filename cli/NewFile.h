#pragma once

#include <string>
#include <string_view>

namespace quarn::cli {

// Writes `bytes` as a new file at `path` that only its owner may read: into a temporary file beside it,
// which then takes the name only if nothing has it yet. The file is there whole or not at all, and an
// existing file is never replaced. Returns an empty string on success, else the reason in German (UTF-8).
// The one place of quarn-cli that calls the operating system directly.
std::string writeNewFile(const std::string& path, std::string_view bytes);

} // namespace quarn::cli
