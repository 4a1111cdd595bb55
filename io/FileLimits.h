#pragma once

#include "PadFileText.h"

#include <cstddef>

namespace quarn::FileLimits {

// Characters a load puts into the input field.
inline constexpr std::size_t PlainText = 100;  // a plain text to encode
inline constexpr std::size_t CipherText = 603; // a cipher text to decode
// All of a pad the cipher ever reads.
inline constexpr std::size_t Pad = PadFileText::PadLength;
// No input either program reads is larger; no hand message comes near it.
inline constexpr std::size_t InputBytes = PadFileText::MaxBytesRead;
// Ctrl-Z ends a text file.
inline constexpr char EndOfText = PadFileText::EndOfText;

} // namespace quarn::FileLimits
