#include "EncoderInput.h"

#include "CodeEncoder.h"
#include "PassedOver.h"
#include "Windows1252.h"

namespace quarn {

char32_t EncoderInput::upperCase(char32_t character)
{
    const auto byte = Windows1252::fromUnicode(character);
    return byte ? Windows1252::toUnicode(Windows1252::toUpper(*byte)) : character;
}

EncoderInput EncoderInput::of(std::u32string_view text)
{
    EncoderInput input;
    input.m_bytes.reserve(text.size());
    std::u32string upper;
    upper.reserve(text.size());
    for (const char32_t cp : text) {
        const auto byte = Windows1252::fromUnicode(cp);
        input.m_bytes += byte ? static_cast<char>(Windows1252::toUpper(*byte)) : StandIn;
        upper += upperCase(cp);
    }
    input.m_passedOver = PassedOver::characters(upper);
    return input;
}

std::u32string EncoderInput::withGermanLettersSpelledOut(std::u32string_view text)
{
    return PassedOver::withGermanLettersSpelledOut(text);
}

bool EncoderInput::offersGermanLetters() const
{
    return PassedOver::hasGermanLetters(m_passedOver);
}

std::string EncoderInput::notice() const
{
    return PassedOver::notice(m_passedOver);
}

Question EncoderInput::question(std::size_t lost, std::size_t limit) const
{
    PassedOver::Offer offer = PassedOver::germanLettersOffer(m_passedOver, lost, limit);
    return {std::move(offer.question), offer.defaultYes};
}

GroupLayout EncoderInput::encode() const
{
    return GroupFormatter::format(CodeEncoder::encode(m_bytes, GroupFormatter::MaxDigits));
}

} // namespace quarn
