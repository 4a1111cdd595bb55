#pragma once

#include "Sha256.h"

#include <string_view>
#include <vector>

namespace quarn {

// What became of each pad in this run of the program: made here, which messages it enciphered, saved,
// printed. It holds digests only, never a pad or a message, and lives in memory only. A pad is known by
// its first 600 characters, all the cipher ever reads of it; a message by the groups text the cipher reads.
class PadHistory
{
public:
    void made(std::string_view pad);
    void saved(std::string_view pad);
    void printed(std::string_view pad);
    void enciphered(std::string_view pad, std::string_view groups);

    // Enciphering these groups would make the pad carry a second, different message.
    bool wouldReuse(std::string_view pad, std::string_view groups) const;
    // Made in this run and never used: no one else has it, so it cannot give back a received message.
    bool isFreshUnused(std::string_view pad) const;
    // Some pad made in this run enciphered a message and is neither saved nor printed: closing loses it.
    bool hasUnkeptPad() const;

private:
    struct Entry
    {
        Sha256::Digest pad;
        bool madeHere = false;
        bool kept = false; // saved or printed
        std::vector<Sha256::Digest> messages;
    };

    const Entry* find(std::string_view pad) const;
    Entry& entry(std::string_view pad);

    std::vector<Entry> m_entries;
};

} // namespace quarn
