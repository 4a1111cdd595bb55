#pragma once

#include "Sha256.h"

#include <string_view>
#include <vector>

namespace quarn {

// The life of each pad in this run of the program: made here or loaded, which files hold it, printed, the
// messages it enciphered and deciphered. It holds digests only, never a pad, a message or a path, and lives
// in memory only. A pad is known by its first 600 characters, all the cipher ever reads of it; a message by
// its plain groups (the groups enciphered, or the digits a decipher gave back), so a round trip is one
// message. A file is known by the path the caller gives, which should be its canonical one.
//
// The questions are always about the pad in the field; a pad given up there with the user's leave is gone.
class PadHistory
{
public:
    void made(std::string_view pad);
    void loaded(std::string_view pad, std::string_view file);
    // The file was written; it now holds this pad, or no pad when `pad` is empty.
    void written(std::string_view file, std::string_view pad = {});
    void printed(std::string_view pad);
    void enciphered(std::string_view pad, std::string_view groups);
    // True when the message is new to a pad that already carried another: the two give each other away.
    [[nodiscard]] bool deciphered(std::string_view pad, std::string_view groups);

    // Enciphering these groups would make the pad carry a second, different message: ask first.
    bool wouldReuse(std::string_view pad, std::string_view groups) const;
    // Only the partner's pad can give a received message back. A short pad never can, nor one made here that
    // never left the program (saved, printed) and carries no message of its own.
    bool needsPartnersPad(std::string_view pad) const;
    // The pad enciphered a message and no file holds it, nor was it printed: replacing it or closing loses
    // the only way to read that message again. Pads the program neither made nor loaded are someone else's;
    // the same pad in its own place loses nothing.
    bool wouldLose(std::string_view pad, std::string_view replacement = {}) const;
    // Writing over this file would lose a pad that carries a message (one that `pad` is not).
    bool fileHoldsUsedPad(std::string_view file, std::string_view pad = {}) const;

private:
    struct Entry
    {
        Sha256::Digest pad;
        bool madeHere = false;
        bool loaded = false;
        bool printed = false;
        bool leftProgram = false; // saved, printed or loaded once: someone else may hold it
        bool enciphered = false;
        std::vector<Sha256::Digest> files;
        std::vector<Sha256::Digest> messages;
    };

    const Entry* find(std::string_view pad) const;
    Entry& entry(std::string_view pad);
    static bool addMessage(Entry& e, std::string_view pad, std::string_view groups);

    std::vector<Entry> m_entries;
};

} // namespace quarn
