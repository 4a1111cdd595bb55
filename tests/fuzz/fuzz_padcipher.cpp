// The pad cipher in both directions, groups text and pad text both from the input.
//
// Input: a flags byte, two bytes for the length of the groups part, then the groups part and the pad part.
// Flags pick the direction, whether the groups and the pad are taken as they are or laid out as valid
// digit groups first, and whether a new-pad callback is attached.
#include "CodeDecoder.h"
#include "FuzzCheck.h"
#include "GroupFormatter.h"
#include "PadCipher.h"
#include "Windows1252.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace quarn;

enum Flag : std::uint8_t
{
    DecodeDirection = 1,
    ValidGroups = 2,
    ValidPad = 4,
    // 8 stays unused, so that the inputs of the corpus keep their meaning.
    WithNewPad = 16,
};

std::string asDigits(std::string_view bytes, std::size_t limit)
{
    std::string digits;
    for (std::size_t i = 0; i < bytes.size() && digits.size() < limit; ++i)
        digits += static_cast<char>('0' + static_cast<unsigned char>(bytes[i]) % 10);
    return digits;
}

// 100 groups from the bytes, filled up with zeros.
std::string validPad(std::string_view bytes)
{
    std::string digits = asDigits(bytes, 500);
    digits.resize(500, '0');
    return GroupFormatter::format(digits).text;
}

void checkOutputLayout(const PadCipherResult& result)
{
    std::string digits;
    for (std::size_t i = 0; i < result.output.size(); ++i) {
        const char c = result.output[i];
        if (i % 6 == 5) {
            FUZZ_CHECK(c == ' ');
        } else {
            FUZZ_CHECK(c >= '0' && c <= '9');
            digits += c;
        }
    }
    FUZZ_CHECK(digits == result.digits);
    FUZZ_CHECK(result.digits.size() <= PadCipher::PadLength);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::uint8_t flags = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);
    const std::size_t groupsLength = std::min<std::size_t>(rest.size(), ((data[1] << 8) | data[2]) % 1024);
    const std::string_view groupsBytes = rest.substr(0, groupsLength);
    const std::string_view padBytes = rest.substr(groupsLength);

    const bool validGroups = flags & ValidGroups;
    const std::string groups =
        validGroups ? GroupFormatter::format(asDigits(groupsBytes, 500)).text : std::string(groupsBytes);
    const std::string pad = flags & ValidPad ? validPad(padBytes) : std::string(padBytes);
    const auto direction = flags & DecodeDirection ? CipherDirection::Decode : CipherDirection::Encode;

    PadCipherCallbacks callbacks;
    const std::string newPad = validPad(padBytes.substr(padBytes.size() / 2));
    if (flags & WithNewPad)
        callbacks.newPad = [&] { return newPad; };

    const PadCipherResult result = PadCipher::run(groups, pad, direction, callbacks);
    checkOutputLayout(result);
    if (direction == CipherDirection::Decode)
        FUZZ_CHECK(result.decoded == CodeDecoder::decode(result.digits));
    else
        FUZZ_CHECK(result.decoded.empty());

    const bool padShort = pad.size() < PadCipher::PadLength;
    FUZZ_CHECK(result.pad == (padShort && (flags & WithNewPad) ? newPad : pad));
    if (result.pad.size() < PadCipher::PadLength) {
        FUZZ_CHECK(result.failure && result.output.empty());
        return 0;
    }
    if (result.failure) {
        const Failure& failure = *result.failure;
        const bool inGroups = failure.kind == Failure::Kind::NotADigitInGroups;
        FUZZ_CHECK(inGroups || failure.kind == Failure::Kind::NotADigitInPad);
        const char named = inGroups ? groups[failure.position] : result.pad[failure.position];
        FUZZ_CHECK(failure.character == Windows1252::toUnicode(static_cast<unsigned char>(named)));
    }

    // Valid groups are read whole, and the other direction with the same pad gives back their digits.
    if (validGroups && !result.failure) {
        std::string groupDigits = groups;
        std::erase(groupDigits, ' ');
        FUZZ_CHECK(result.digits.size() == groupDigits.size());
        const auto back = direction == CipherDirection::Encode ? CipherDirection::Decode : CipherDirection::Encode;
        const PadCipherResult undone = PadCipher::run(result.output, result.pad, back);
        FUZZ_CHECK(!undone.failure);
        FUZZ_CHECK(undone.digits == groupDigits);
        FUZZ_CHECK(undone.output == groups);
    }
    return 0;
}
