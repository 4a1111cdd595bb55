#pragma once

#include "GroupFormatter.h"
#include "PadFileText.h"
#include "PadGenerator.h"

#include <cstddef>

namespace quarn::Limits {

// Characters of a plain text: what is typed or loaded to encode.
inline constexpr std::size_t PlainText = 100;
// Characters of a cipher text typed or pasted: the pad's 100 groups with their blanks.
inline constexpr std::size_t CipherTextTyped = PadGenerator::PadLength;
// A loaded cipher text may hold a little more than is typed, as files written elsewhere do.
inline constexpr std::size_t CipherTextLoaded = 603;
// The groups the pad covers, and the digits in them, as the cipher text's caption counts them.
inline constexpr std::size_t PadGroups = PadGenerator::GroupCount;
inline constexpr std::size_t CipherDigits = PadGroups * GroupFormatter::GroupSize;
inline constexpr std::size_t Pad = PadGenerator::PadLength;
// The digits the encoder gives at most.
inline constexpr std::size_t CodeDigits = GroupFormatter::MaxDigits;
// No input either program reads is larger; no hand message comes near it.
inline constexpr std::size_t InputBytes = PadFileText::MaxBytesRead;

} // namespace quarn::Limits
