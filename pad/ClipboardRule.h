#pragma once

namespace quarn {

// What the window may leave on the clipboard. Everything it puts there is marked as a secret, so that a
// clipboard manager keeps it out of its history; the pad and a decoded text are taken back as soon as the
// user has had time to paste them once. The cipher text is meant to be sent, so it stays until the window
// closes. Nothing of the window's outlives the window: closing empties the clipboard and the primary
// selection where they still hold what it put there.
namespace ClipboardRule {

enum class Content
{
    Cipher, // the cipher groups
    Secret  // the pad, or a decoded message
};

// Long enough to switch to a mail and paste, short enough that a later paste elsewhere finds nothing; the
// password managers' own rule (10 to 30 seconds).
inline constexpr int SecretMilliseconds = 30 * 1000;

// After how many milliseconds a copy of `content` is taken back; 0: only when the window closes.
constexpr int keptFor(Content content)
{
    return content == Content::Secret ? SecretMilliseconds : 0;
}

// The mark clipboard managers on Linux honour for secrets, with its value.
inline constexpr const char* SecretHint = "x-kde-passwordManagerHint";
inline constexpr const char* SecretHintValue = "secret";

} // namespace ClipboardRule

} // namespace quarn
