// Any bytes as a digit string: the decoder writes only its alphabet and never takes back what it wrote.
#include "CodeDecoder.h"
#include "FuzzCheck.h"
#include "cases/CodebookProperties.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quarn;
    const std::string_view digits(reinterpret_cast<const char*>(data), size);
    const std::string text = CodeDecoder::decode(digits);
    FUZZ_CHECK(text.find_first_not_of(cases::DecoderAlphabet) == std::string::npos);
    // The longest output of one code is "-code-" for two digits.
    FUZZ_CHECK(text.size() <= 3 * size);

    // The window shows the decoded text after every deciphered digit: each of those texts must be the
    // beginning of the final one.
    const std::string head = CodeDecoder::decode(digits.substr(0, size / 2));
    FUZZ_CHECK(text.compare(0, head.size(), head) == 0);

    // The codes one by one, as the worksheet shows them, give the same text from digits in order.
    std::string joined;
    std::size_t next = 0;
    for (const auto& code : CodeDecoder::codes(digits)) {
        FUZZ_CHECK(code.start >= next && code.length >= 1);
        next = code.start + code.length;
        joined += code.text;
    }
    FUZZ_CHECK(next <= size && joined == text);
    return 0;
}
