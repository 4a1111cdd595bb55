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

Sha256::Digest fileDigest(std::string_view file)
{
    Sha256 sha;
    sha.add("file:");
    sha.add(file);
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

template <typename T> bool contains(const std::vector<T>& list, const T& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
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

bool PadHistory::addMessage(Entry& e, std::string_view pad, std::string_view groups)
{
    const Sha256::Digest message = messageDigest(pad, groups);
    if (contains(e.messages, message))
        return false;
    e.messages.push_back(message);
    return true;
}

void PadHistory::made(std::string_view pad)
{
    entry(pad).madeHere = true;
}

void PadHistory::loaded(std::string_view pad, std::string_view file)
{
    written(file, pad);
    entry(pad).loaded = true;
}

void PadHistory::written(std::string_view file, std::string_view pad)
{
    const Sha256::Digest digest = fileDigest(file);
    for (Entry& e : m_entries)
        e.files.erase(std::remove(e.files.begin(), e.files.end(), digest), e.files.end());
    if (pad.empty())
        return;
    Entry& e = entry(pad);
    e.files.push_back(digest);
    e.leftProgram = true;
}

void PadHistory::printed(std::string_view pad)
{
    Entry& e = entry(pad);
    e.printed = true;
    e.leftProgram = true;
}

void PadHistory::enciphered(std::string_view pad, std::string_view groups)
{
    Entry& e = entry(pad);
    e.enciphered = true;
    addMessage(e, pad, groups);
}

bool PadHistory::deciphered(std::string_view pad, std::string_view groups)
{
    Entry& e = entry(pad);
    return addMessage(e, pad, groups) && e.messages.size() > 1;
}

bool PadHistory::wouldReuse(std::string_view pad, std::string_view groups) const
{
    const Entry* e = find(pad);
    // The same message again gives an eavesdropper nothing new.
    return e && !e->messages.empty() && !contains(e->messages, messageDigest(pad, groups));
}

bool PadHistory::needsPartnersPad(std::string_view pad) const
{
    if (pad.size() < PadCipher::PadLength)
        return true;
    const Entry* e = find(pad);
    return e && e->madeHere && !e->leftProgram && e->messages.empty();
}

bool PadHistory::wouldLose(std::string_view pad, std::string_view replacement) const
{
    const Entry* e = find(pad);
    if (!replacement.empty() && find(replacement) == e)
        return false;
    return e && (e->madeHere || e->loaded) && e->enciphered && !e->printed && e->files.empty();
}

bool PadHistory::fileHoldsUsedPad(std::string_view file, std::string_view pad) const
{
    const Sha256::Digest digest = fileDigest(file);
    const Entry* writing = pad.empty() ? nullptr : find(pad);
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& e) {
        return &e != writing && !e.messages.empty() && contains(e.files, digest);
    });
}

} // namespace quarn
