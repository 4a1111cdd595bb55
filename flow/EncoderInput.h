#pragma once

#include "GroupFormatter.h"
#include "Messages.h"

#include <string>
#include <string_view>

namespace quarn {

// A plain text as the encoder takes it: upper case as Windows-1252 has it, a character the code page lacks
// standing in as '?' (which the table passes over and the cipher refuses, as it would the character itself),
// and what the table passes over named, so that the user learns the message changed.
class EncoderInput
{
public:
    static constexpr char StandIn = '?';

    static EncoderInput of(std::u32string_view text);
    // Ä, Ö, Ü and ß written out as a person working the table by hand writes them.
    static std::u32string withGermanLettersSpelledOut(std::u32string_view text);
    // One character upper-cased as the code page has it; a character outside it stays as it is.
    static char32_t upperCase(char32_t character);

    const std::string& bytes() const { return m_bytes; }
    // Umlauts or ß were passed over: the window offers to write them out (`question`) instead of the notice.
    bool offersGermanLetters() const;
    // What was passed over, or empty.
    std::string notice() const;
    // Where writing them out would take the text past `limit` and cut `lost` characters off its end, the
    // question says so and defaults to "&Nein": Enter must not cut a message.
    Question question(std::size_t lost = 0, std::size_t limit = 0) const;
    // The groups as shown; `limitReached` asks for the cut notice.
    GroupLayout encode() const;

private:
    std::string m_bytes;
    std::u32string m_passedOver;
};

} // namespace quarn
