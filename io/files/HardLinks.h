#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace quarn::HardLinks {

// How many names (hard links) the file at `path` has, a symbolic link followed; 0 where there is no file.
// A save writes a new file and gives it this one name: the other names keep the old content.
std::size_t nameCount(const std::filesystem::path& path);

// What a save asks before it writes over a file with more than one name (UTF-8); `pad`: the file holds a
// pad, whose old copy would stay.
std::string question(const std::string& name, bool pad);

} // namespace quarn::HardLinks
