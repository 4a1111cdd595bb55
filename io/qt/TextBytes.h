#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quarn {

// Fields hold text; files and the code book hold Windows-1252 bytes. A character the code page lacks
// becomes '?', which the code book passes over and the cipher names.
std::string toWindows1252(const QString& text);
QString fromWindows1252(std::string_view bytes);

} // namespace quarn
