#pragma once

#include <string>
#include <string_view>

namespace quarn {

// The files a user loads and saves, told apart by name.
enum class FileKind
{
    Pad,
    PlainText, // a text to encode, or a decoded message
    CipherText,
    Worksheet
};

struct FileKindRules
{
    std::string extension; // of the name a save offers
    std::string saveFilter;
    std::string openFilter;
    // Only its owner may read it: a pad, a decoded message and a worksheet (which holds the pad) are secret; a
    // cipher text is not.
    bool ownerOnly;
    // Its saved and not-saved notices say "OTP" instead of the file's name.
    bool namedAsPad;

    static const FileKindRules& of(FileKind kind);
};

// By its name: ".OTP" (in capitals, as the program writes it) is a pad, ".crp" (in any case) a cipher text,
// anything else a text to encode.
FileKind fileKindOf(std::string_view name);

} // namespace quarn
