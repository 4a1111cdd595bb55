#pragma once

#include <string>
#include <vector>

namespace quarn {

// What the window tells the user about a step that waits for another (UTF-8), and the names its file dialogs
// give the program's own file types.
namespace WindowHints {

// Why "Chiffrieren" / "Dechiffrieren" cannot run yet.
enum class CipherWait
{
    NoGroups,     // no "Kodieren" / "Dekodieren" since the start or the choice of direction
    EmptyInput,   // "Kodieren" / "Dekodieren" found the input empty
    InputChanged, // the input was changed after "Kodieren" / "Dekodieren"
};

// The tooltip and accessible description of the disabled cipher button.
std::string cipherButton(bool decode, CipherWait why);

// The tooltip of a result field: the entries of its context menu, as their captions read.
std::string resultField(const std::vector<std::string>& menuEntries);

// As the program's MIME types name them, so the file dialogs and the file manager agree (and no office
// template type takes *.OTP).
inline const char* const PadType = "Quarn-Schlüsseldatei (OTP)";
inline const char* const CipherType = "Quarn-Crypt-Datei";

} // namespace WindowHints

} // namespace quarn
