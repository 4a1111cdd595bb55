#pragma once

#include <string>
#include <string_view>

namespace quarn {

// Plain text (Windows-1252 bytes) to its digit string. Characters the table does not know are passed over.
class CodeEncoder
{
public:
    static std::string encode(std::string_view text);
};

} // namespace quarn
