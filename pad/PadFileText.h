#pragma once

#include "Failure.h"
#include "PadGenerator.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace quarn {

// What a pad file gives the pad, fed with the file's bytes as they are read: everything up to the end or a
// Ctrl-Z, without bytes 0, and no more than the 600 characters the cipher reads. A byte 0 takes no place
// among the 600, so a file of nothing but bytes 0 could be read forever; reading also stops after
// MaxBytesRead bytes, and the pad is then as short as it came. A pad laid out as the window shows and prints
// it, ten lines of ten groups, has a line break (LF or CR LF, with or without the blank before it) after
// every tenth group: it stands for that group's blank.
class PadFileText
{
public:
    static constexpr std::size_t PadLength = PadGenerator::PadLength;
    static constexpr std::size_t MaxBytesRead = std::size_t(1) << 20;
    static constexpr char EndOfText = 26;
    static constexpr std::size_t GroupsPerLine = 10;

    // Takes bytes in file order; returns false once no more are wanted (the rest is then ignored).
    bool feed(std::string_view bytes);
    // How many bytes the reader may ask for next without reading past what the pad needs; 0 when done.
    std::size_t wanted() const;
    // The pad as the cipher reads it: line breaks after every tenth group taken as its blank.
    std::string text() const;

    // Bytes into the buffer, up to its size; 0 at the end, negative when reading failed.
    using Reader = std::function<std::ptrdiff_t(char* buffer, std::size_t size)>;
    // Feeds what `read` gives, asking each time only for what the pad may still take, so a huge file
    // costs no more than a pad. False when a read failed.
    bool readFrom(const Reader& read);

    // Whether `text` begins with a pad: 100 groups of five digits, each followed by one blank. Otherwise the
    // first thing wrong: too short, or the character (as the file's author wrote it) where a digit or a blank
    // belongs.
    static Result<> check(std::string_view text);
    // Whether a failure is one that check() gives: the text is no pad.
    static bool isNoPad(const Failure& failure)
    {
        return failure.kind == Failure::Kind::PadFileTooShort || failure.kind == Failure::Kind::NoBlankAfterGroup ||
               failure.kind == Failure::Kind::NoDigitInGroup;
    }

    // How many groups of `pad` repeat a group before them. A pad the program makes has none; a pad with
    // any cannot be random.
    static std::size_t repeatedGroups(std::string_view pad);

private:
    // Characters as read, without bytes 0: enough for a pad with a CR LF and a blank at every line end.
    static constexpr std::size_t RawLength = PadLength + 2 * (PadLength / 6 / GroupsPerLine);
    std::string m_text;
    std::size_t m_read = 0;
    bool m_done = false;
};

} // namespace quarn
