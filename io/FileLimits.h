#pragma once

#include "Limits.h"

#include <cstddef>

namespace quarn::FileLimits {

// Characters a load puts into the input field.
inline constexpr std::size_t PlainText = Limits::PlainText;         // a plain text to encode
inline constexpr std::size_t CipherText = Limits::CipherTextLoaded; // a cipher text to decode
// All of a pad the cipher ever reads.
inline constexpr std::size_t Pad = Limits::Pad;
inline constexpr std::size_t InputBytes = Limits::InputBytes;
// Ctrl-Z ends a text file.
inline constexpr char EndOfText = PadFileText::EndOfText;

} // namespace quarn::FileLimits
