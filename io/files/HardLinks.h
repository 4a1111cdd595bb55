#pragma once

#include <cstddef>
#include <filesystem>

namespace quarn::HardLinks {

// How many names (hard links) the file at `path` has, a symbolic link followed; 0 where there is no file.
// A save writes a new file and gives it this one name: the other names keep the old content.
std::size_t nameCount(const std::filesystem::path& path);

} // namespace quarn::HardLinks
