#include "PadGenerator.h"

#include <vector>

namespace quarn {

std::string PadGenerator::generate(RandomSource& source)
{
    std::vector<bool> used(100000, false);
    std::string pad;
    pad.reserve(PadLength);
    int wanted = GroupCount;
    int rejected = 0;
    while (wanted > 0) {
        const std::uint32_t r = source.draw(ValueRange);
        if (r >= ValueRange || used[r]) {
            // A repeat (or a value out of range) is drawn again, but not for ever.
            if (++rejected == MaxRejectedDraws)
                throw Failed({Failure::Kind::SourceNotRandom});
            continue;
        }
        used[r] = true;
        char group[PadFormat::GroupWidth];
        std::uint32_t v = r;
        for (std::size_t i = PadFormat::GroupDigits; i-- > 0; v /= 10)
            group[i] = static_cast<char>('0' + v % 10);
        group[PadFormat::GroupDigits] = ' ';
        pad.append(group, sizeof(group));
        --wanted;
    }
    return pad;
}

} // namespace quarn
