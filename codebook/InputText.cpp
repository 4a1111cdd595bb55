#include "InputText.h"

#include "Windows1252.h"

#include <algorithm>

namespace quarn {

namespace {

enum class Sequence
{
    Valid,
    Invalid,
    Unfinished // well-formed so far, but the bytes end inside it
};

// The well-formed UTF-8 sequences (no overlong forms, no surrogates, nothing above U+10FFFF) by their lead
// byte: the length and the range of the second byte; later bytes are 80 to BF.
Sequence sequenceAt(std::string_view s, std::size_t pos, std::size_t& length)
{
    const auto lead = static_cast<unsigned char>(s[pos]);
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        length = 1;
        return Sequence::Valid;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return Sequence::Invalid;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (pos + i >= s.size())
            return Sequence::Unfinished;
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if (b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF))
            return Sequence::Invalid;
    }
    return Sequence::Valid;
}

} // namespace

InputText::InputText(std::string_view bytes, bool cutShort) : m_bytes(bytes), m_end(bytes.size())
{
    bool nonAscii = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t length = 1;
        const Sequence sequence = sequenceAt(bytes, pos, length);
        if (sequence == Sequence::Unfinished && cutShort) {
            // The rest of that character was never read; what was read is UTF-8 so far.
            m_utf8 = true;
            m_end = pos;
            return;
        }
        if (sequence != Sequence::Valid)
            return;
        nonAscii = nonAscii || length > 1;
        pos += length;
    }
    m_utf8 = nonAscii;
}

char32_t InputText::next()
{
    const auto lead = static_cast<unsigned char>(m_bytes[m_pos++]);
    if (!m_utf8)
        return Windows1252::toUnicode(lead);
    if (lead < 0x80)
        return lead;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t cp = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i)
        cp = (cp << 6) | (static_cast<unsigned char>(m_bytes[m_pos++]) & 0x3F);
    return cp;
}

std::u32string InputText::characters(std::string_view bytes, bool cutShort)
{
    InputText text(bytes, cutShort);
    std::u32string out;
    while (!text.atEnd())
        out += text.next();
    return out;
}

std::size_t InputText::endOfText(std::string_view bytes)
{
    return std::min(bytes.find('\x1A'), bytes.size());
}

std::string InputText::endOfTextNotice(std::string_view bytes)
{
    const std::size_t end = endOfText(bytes);
    // A Ctrl-Z that is the last byte, as old editors wrote it, cuts nothing.
    if (end + 1 >= bytes.size())
        return {};
    const std::size_t kept = characters(bytes.substr(0, end)).size();
    const std::size_t given = kept + 1 + characters(bytes.substr(end + 1)).size();
    return "Strg-Z (Zeichen 26) beendet den Text: nur " + std::to_string(kept) + " von " + std::to_string(given) +
           " Zeichen \xC3\xBC"
           "bernommen.";
}

InputText::Loaded InputText::load(std::string_view bytes, bool complete, std::size_t limit)
{
    Loaded loaded;
    const std::size_t end = endOfText(bytes);
    const bool cutShort = !complete && end == bytes.size();
    loaded.text = characters(bytes.substr(0, end), cutShort);
    // The break that ends the file's last line is no part of the text: a cipher quarn-cli wrote deciphers.
    if (!cutShort)
        loaded.text.resize(lengthWithoutFinalLineBreak(loaded.text));
    loaded.tooLarge = loaded.text.size() > limit;
    if (loaded.tooLarge)
        loaded.text.resize(limit);
    else
        loaded.endOfTextNotice = endOfTextNotice(bytes);
    std::erase(loaded.text, U'\0');
    return loaded;
}

std::string InputText::cutNotice(std::size_t kept, std::size_t given, std::size_t limit)
{
    std::string out = "Text zu gro\xC3\x9F! ";
    out += kept == 0 ? "Keines der " + std::to_string(given) + " Zeichen"
                     : "Nur " + std::to_string(kept) + " von " + std::to_string(given) + " Zeichen";
    return out +
           " \xC3\xBC"
           "bernommen (max. " +
           std::to_string(limit) + " Zeichen).";
}

} // namespace quarn
