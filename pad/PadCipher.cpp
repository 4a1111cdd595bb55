#include "PadCipher.h"

#include "CodeDecoder.h"
#include "CodeTable.h"
#include "Windows1252.h"

#include <algorithm>

namespace quarn {

namespace {

constexpr auto isDigit = &CodeTable::isDigit;

} // namespace

PadCipherResult PadCipher::run(std::string_view groups, std::string_view pad, CipherDirection direction,
                               const PadCipherCallbacks& callbacks)
{
    PadCipherResult result;
    const bool decode = direction == CipherDirection::Decode;

    // Positions are 0-based here; n is the count of characters of G that are read.
    std::size_t n = std::min(groups.size(), PadLength);
    if (n > 0 && groups[n - 1] == ' ')
        --n;

    result.pad = std::string(pad);
    if (result.pad.size() < PadLength && callbacks.newPad)
        result.pad = callbacks.newPad();
    if (result.pad.size() < PadLength) {
        result.failure = Failure{.kind = Failure::Kind::PadTooShort, .limit = PadLength};
        return result;
    }

    for (std::size_t i = 0; i < n; ++i) {
        // One blank is passed over. It may step onto the trailing blank that n left out; that blank is
        // then read as a digit and named in the failure, as the procedure has it.
        if (groups[i] == ' ')
            ++i;
        if (i >= groups.size())
            break;
        const char g = groups[i];
        const char k = result.pad[i];
        // The groups character is tested first, so it is the one named when both are wrong.
        if (!isDigit(g) || !isDigit(k)) {
            result.failure =
                Failure{.kind = isDigit(g) ? Failure::Kind::NotADigitInPad : Failure::Kind::NotADigitInGroups,
                        .character = Windows1252::toUnicode(static_cast<unsigned char>(isDigit(g) ? k : g)),
                        .position = i};
            break;
        }
        const int gv = g - '0';
        const int kv = k - '0';
        const int r = decode ? (gv + 10 - kv) % 10 : (gv + kv) % 10;
        result.output += static_cast<char>('0' + r);
        result.digits += static_cast<char>('0' + r);
        result.read += g;
        result.padRead += k;
        if (result.digits.size() % 5 == 0)
            result.output += ' ';
    }
    if (decode)
        result.decoded = CodeDecoder::decode(result.digits);
    return result;
}

} // namespace quarn
