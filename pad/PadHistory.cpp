#include "PadHistory.h"

#include "PadCipher.h"

#include <algorithm>

namespace quarn {

namespace {

std::string_view usedPart(std::string_view pad)
{
    return pad.substr(0, PadCipher::PadLength);
}

Sha256::Digest padDigest(std::string_view pad)
{
    Sha256 sha;
    sha.add("pad:");
    sha.add(usedPart(pad));
    return sha.finish();
}

// Keyed with the pad: a memory dump of the history gives no way to test a guessed message.
Sha256::Digest messageDigest(std::string_view pad, std::string_view groups)
{
    // The cipher reads at most 600 characters and passes over one closing blank.
    groups = groups.substr(0, PadCipher::PadLength);
    if (!groups.empty() && groups.back() == ' ')
        groups.remove_suffix(1);
    Sha256 sha;
    sha.add("message:");
    sha.add(usedPart(pad));
    sha.add(std::string_view("\0", 1));
    sha.add(groups);
    return sha.finish();
}

} // namespace

const PadHistory::Entry* PadHistory::find(std::string_view pad) const
{
    const Sha256::Digest digest = padDigest(pad);
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.pad == digest; });
    return it == m_entries.end() ? nullptr : &*it;
}

PadHistory::Entry& PadHistory::entry(std::string_view pad)
{
    const Sha256::Digest digest = padDigest(pad);
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.pad == digest; });
    if (it != m_entries.end())
        return *it;
    Entry& added = m_entries.emplace_back();
    added.pad = digest;
    return added;
}

void PadHistory::made(std::string_view pad)
{
    entry(pad).madeHere = true;
}

void PadHistory::saved(std::string_view pad)
{
    entry(pad).kept = true;
}

void PadHistory::printed(std::string_view pad)
{
    entry(pad).kept = true;
}

void PadHistory::enciphered(std::string_view pad, std::string_view groups)
{
    Entry& e = entry(pad);
    const Sha256::Digest message = messageDigest(pad, groups);
    if (std::find(e.messages.begin(), e.messages.end(), message) == e.messages.end())
        e.messages.push_back(message);
}

bool PadHistory::wouldReuse(std::string_view pad, std::string_view groups) const
{
    const Entry* e = find(pad);
    if (!e || e->messages.empty())
        return false;
    // The same message again gives an eavesdropper nothing new.
    const Sha256::Digest message = messageDigest(pad, groups);
    return std::find(e->messages.begin(), e->messages.end(), message) == e->messages.end();
}

bool PadHistory::isFreshUnused(std::string_view pad) const
{
    const Entry* e = find(pad);
    return e && e->madeHere && e->messages.empty();
}

bool PadHistory::hasUnkeptPad() const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [](const Entry& e) { return e.madeHere && !e.kept && !e.messages.empty(); });
}

} // namespace quarn
