#include "PassedOver.h"

#include "CodeTable.h"
#include "Windows1252.h"

namespace quarn {

namespace {

bool inTable(char32_t cp)
{
    const auto byte = Windows1252::fromUnicode(cp);
    if (!byte)
        return false;
    const char c = static_cast<char>(*byte);
    return CodeTable::findLetter(c) != nullptr || CodeTable::findFigure(c) != nullptr;
}

} // namespace

std::u32string PassedOver::characters(std::u32string_view text)
{
    std::u32string out;
    for (const char32_t cp : text) {
        if (!inTable(cp) && out.find(cp) == std::u32string::npos)
            out += cp;
    }
    return out;
}

std::string PassedOver::readable(char32_t cp)
{
    static const char* const hex = "0123456789ABCDEF";
    switch (cp) {
    case U'\n':
        return "\\n";
    case U'\r':
        return "\\r";
    case U'\t':
        return "\\t";
    default:
        break;
    }
    const bool undefined = cp == 0x81 || cp == 0x8D || cp == 0x8F || cp == 0x90 || cp == 0x9D;
    if (cp < 0x20 || cp == 0x7F || undefined || (cp >= 0x80 && cp < 0xA0))
        return std::string("\\x") + hex[(cp >> 4) & 15] + hex[cp & 15];
    std::string out;
    Windows1252::appendUtf8(out, cp);
    return out;
}

std::string PassedOver::notice(std::u32string_view characters)
{
    if (characters.empty())
        return {};
    std::string out = "Nicht in der Quarn-Tafel, daher \xC3\xBC"
                      "bergangen:";
    for (const char32_t cp : characters) {
        out += ' ';
        out += readable(cp);
    }
    return out;
}

} // namespace quarn
