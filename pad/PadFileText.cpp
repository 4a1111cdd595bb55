#include "PadFileText.h"

#include "CodeTable.h"
#include "InputText.h"
#include "PadFormat.h"
#include "Windows1252.h"

#include <algorithm>
#include <set>

namespace quarn {

bool PadFileText::feed(std::string_view bytes)
{
    for (const char c : bytes) {
        if (m_done)
            break;
        ++m_read;
        if (c == EndOfText) {
            m_done = true;
            break;
        }
        if (c != '\0')
            m_text += c;
        m_done = m_text.size() == RawLength || m_read == MaxBytesRead;
    }
    return !m_done;
}

std::size_t PadFileText::wanted() const
{
    return m_done ? 0 : std::min(RawLength - m_text.size(), MaxBytesRead - m_read);
}

std::string PadFileText::text() const
{
    constexpr std::size_t lineEnd = 6 * GroupsPerLine - 1; // the blank after a tenth group
    std::string out;
    std::size_t i = 0;
    while (i < m_text.size() && out.size() < PadLength) {
        if (out.size() % (lineEnd + 1) == lineEnd) {
            std::size_t n = m_text[i] == ' ' ? 1 : 0;
            if (m_text.compare(i + n, 2, "\r\n") == 0)
                n += 2;
            else if (i + n < m_text.size() && m_text[i + n] == '\n')
                n += 1;
            if (n > 0) {
                out += ' ';
                i += n;
                continue;
            }
        }
        out += m_text[i++];
    }
    return out;
}

bool PadFileText::readFrom(const Reader& read)
{
    char buffer[RawLength];
    while (const std::size_t size = wanted()) {
        const std::ptrdiff_t got = read(buffer, size);
        if (got < 0)
            return false;
        if (got == 0 || !feed(std::string_view(buffer, std::size_t(got))))
            break;
    }
    return true;
}

Result<> PadFileText::check(std::string_view text)
{
    if (text.size() < PadLength)
        return Failure{.kind = Failure::Kind::PadFileTooShort, .count = text.size(), .limit = PadLength};
    // The character as the file's author wrote it: a UTF-8 editor's no-break space or byte-order mark is
    // one character of several bytes.
    const auto written = [text](std::size_t at) {
        for (std::size_t length = 2; length <= 4 && static_cast<unsigned char>(text[at]) >= 0xC2; ++length) {
            const std::string_view bytes = text.substr(at, length);
            if (InputText(bytes).isUtf8() && InputText::characters(bytes).size() == 1)
                return InputText::characters(bytes).front();
        }
        return Windows1252::toUnicode(static_cast<unsigned char>(text[at]));
    };
    for (std::size_t i = 0; i < PadLength; ++i) {
        const char c = text[i];
        const std::size_t group = PadFormat::groupOf(i);
        const std::size_t place = PadFormat::placeOf(i);
        if (place == PadFormat::GroupWidth && c != ' ')
            return Failure{.kind = Failure::Kind::NoBlankAfterGroup, .character = written(i), .position = group};
        if (place < PadFormat::GroupWidth && !CodeTable::isDigit(c))
            return Failure{
                .kind = Failure::Kind::NoDigitInGroup, .character = written(i), .position = group, .place = place};
    }
    return {};
}

std::size_t PadFileText::repeatedGroups(std::string_view pad)
{
    std::set<std::string_view> seen;
    std::size_t repeated = 0;
    for (std::size_t at = 0; at + 5 <= std::min(pad.size(), PadLength); at += 6)
        repeated += seen.insert(pad.substr(at, 5)).second ? 0 : 1;
    return repeated;
}

} // namespace quarn
