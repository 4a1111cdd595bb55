#include "TextBytes.h"

#include "Windows1252.h"

namespace quarn {

std::string toWindows1252(const QString& text)
{
    std::string out;
    out.reserve(std::size_t(text.size()));
    for (const QChar ch : text) {
        const auto byte = Windows1252::fromUnicode(ch.unicode());
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}

QString fromWindows1252(std::string_view bytes)
{
    QString out;
    out.reserve(qsizetype(bytes.size()));
    for (const char c : bytes)
        out += QChar(static_cast<char16_t>(Windows1252::toUnicode(static_cast<unsigned char>(c))));
    return out;
}

} // namespace quarn
