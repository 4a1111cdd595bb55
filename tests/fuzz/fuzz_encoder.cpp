// Any bytes as plain text: the encoder writes digits only, the decoder gives back the text's table
// characters, and the group layout holds at most 500 digits in blocks of five.
#include "CodeDecoder.h"
#include "CodeEncoder.h"
#include "FuzzCheck.h"
#include "GroupFormatter.h"
#include "Windows1252.h"
#include "cases/CodebookProperties.h"

#include <cstdint>
#include <string_view>

namespace {

void checkLayout(const std::string& digits)
{
    using quarn::GroupFormatter;
    const quarn::GroupLayout layout = GroupFormatter::format(digits);
    const std::size_t kept = std::min(digits.size(), GroupFormatter::MaxDigits);
    FUZZ_CHECK(layout.limitReached == (digits.size() >= GroupFormatter::MaxDigits));
    FUZZ_CHECK(layout.text.size() == kept + kept / GroupFormatter::GroupSize);
    std::string back;
    for (std::size_t i = 0; i < layout.text.size(); ++i) {
        const bool blankPlace = i % (GroupFormatter::GroupSize + 1) == GroupFormatter::GroupSize;
        FUZZ_CHECK(blankPlace == (layout.text[i] == ' '));
        if (!blankPlace)
            back += layout.text[i];
    }
    FUZZ_CHECK(digits.compare(0, back.size(), back) == 0);
}

void checkRoundTrip(std::string_view text)
{
    const std::string digits = quarn::CodeEncoder::encode(text);
    FUZZ_CHECK(digits.find_first_not_of("0123456789") == std::string::npos);
    FUZZ_CHECK(quarn::CodeDecoder::decode(digits) == quarn::cases::expectedRoundTrip(text));
    checkLayout(digits);
    // The codes one by one, as the worksheet shows them, are the same digits.
    std::string joined;
    for (const auto& code : quarn::CodeEncoder::codes(text))
        joined += code.digits;
    FUZZ_CHECK(joined == digits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkRoundTrip(text);
    // The window and the command-line tool upper-case the text first; that text must round-trip too.
    checkRoundTrip(quarn::Windows1252::toUpper(text));
    return 0;
}
