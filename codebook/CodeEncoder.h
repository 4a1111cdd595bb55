#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarn {

// Plain text (Windows-1252 bytes) to its digit string. Characters the table does not know are passed over.
class CodeEncoder
{
public:
    // With `enough`, it stops once that many digits are written: they are the start of the whole encoding,
    // and a long text costs no more than what the caller can show.
    static std::string encode(std::string_view text, std::size_t enough = std::string::npos);
};

} // namespace quarn
