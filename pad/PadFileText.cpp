#include "PadFileText.h"

#include "CodeTable.h"
#include "PadFormat.h"
#include "PassedOver.h"
#include "Windows1252.h"

#include <algorithm>

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
        m_done = m_text.size() == PadLength || m_read == MaxBytesRead;
    }
    return !m_done;
}

std::size_t PadFileText::wanted() const
{
    return m_done ? 0 : std::min(PadLength - m_text.size(), MaxBytesRead - m_read);
}

bool PadFileText::readFrom(const Reader& read)
{
    char buffer[PadLength];
    while (const std::size_t size = wanted()) {
        const std::ptrdiff_t got = read(buffer, size);
        if (got < 0)
            return false;
        if (got == 0 || !feed(std::string_view(buffer, std::size_t(got))))
            break;
    }
    return true;
}

std::string PadFileText::problem(std::string_view text)
{
    if (text.size() < PadLength)
        return "das OTP hat nur " + std::to_string(text.size()) + " statt " + std::to_string(PadLength) + " Zeichen";
    const auto shown = [](char c) {
        std::string out = "'";
        out += PassedOver::readable(Windows1252::toUnicode(static_cast<unsigned char>(c)));
        out += '\'';
        return out;
    };
    for (std::size_t i = 0; i < PadLength; ++i) {
        const char c = text[i];
        const std::size_t group = PadFormat::groupOf(i);
        const std::size_t place = PadFormat::placeOf(i);
        if (place == PadFormat::GroupWidth && c != ' ')
            return "nach Gruppe " + std::to_string(group) + " steht " + shown(c) + " statt eines Leerzeichens";
        if (place < PadFormat::GroupWidth && !CodeTable::isDigit(c))
            return "in Gruppe " + std::to_string(group) + " ist das " + std::to_string(place) + ". Zeichen " +
                   shown(c) + " keine Ziffer";
    }
    return {};
}

} // namespace quarn
