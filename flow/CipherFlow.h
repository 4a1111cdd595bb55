#pragma once

#include "Messages.h"
#include "PadCipher.h"
#include "PadHistory.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

class InputText;

// What the cipher reads of a text: no more than a pad covers, each character in its code-page form (the
// encoder's stand-in for one the code page lacks, which the cipher then refuses by the character's name).
struct CipherInput
{
    std::u32string used; // the characters as the user gave them
    std::string groups;  // the same, Windows-1252
    bool cut = false;    // the text is longer than a pad covers

    static CipherInput of(InputText& text);
    // The notice for a cut text, or empty.
    std::string notice() const;
};

// The input and pad of the last cipher that ran to its end, which its worksheet shows.
struct CipherRun
{
    std::string input; // the plain text encoded (Windows-1252), or the cipher text
    std::string pad;
    CipherDirection direction = CipherDirection::Encode;
};

// What must hold before the cipher runs, and what the user is asked first.
struct CipherPlan
{
    enum class Stop
    {
        None,
        NothingToCipher, // the encoder kept nothing: no pad is made and no earlier cipher may stay
        LoadPadFirst     // a received message needs the partner's pad
    };
    Stop stop = Stop::None;
    // Asked in this order; a "Nein" to any of them ends the step.
    std::vector<Question> questions;

    static CipherPlan of(const PadHistory& pads, CipherDirection direction, std::string_view groups,
                         std::string_view pad);
};

// The question before `replacement` (empty: some new pad) takes the place of `pad` in the field, when that
// would lose the only pad of a message.
std::optional<Question> replaceQuestion(const PadHistory& pads, std::string_view pad,
                                        std::string_view replacement = {});
// The question before the window closes with `pad` in its field.
std::optional<Question> closeQuestion(const PadHistory& pads, std::string_view pad);

// Why the cipher stopped, naming the character as the user gave it: `given` holds the characters the groups
// were made of, one for each byte (empty: the groups' own characters).
Failure cipherFailure(const Failure& failure, std::u32string_view given = {});

} // namespace quarn
