#include "PadFileText.h"

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

} // namespace quarn
