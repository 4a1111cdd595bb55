#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarn {

// How a text the user gives the program (a file, standard input, a file name) becomes characters. Linux
// terminals and editors write UTF-8, the program's own files are Windows-1252: bytes that are valid UTF-8 and
// hold at least one byte above 0x7F are read as UTF-8, anything else as Windows-1252, one byte a character.
// Characters come out as code points, those without a Windows-1252 form included, so that what passes them
// over can still name them.
class InputText
{
public:
    // `cutShort`: the reader stopped early, so the bytes may end inside a UTF-8 sequence; such an end does
    // not count against UTF-8 and gives no character.
    explicit InputText(std::string_view bytes, bool cutShort = false);

    bool isUtf8() const { return m_utf8; }
    bool atEnd() const { return m_pos >= m_end; }
    // The next character; call only while !atEnd().
    char32_t next();

    // All characters of `bytes` by the rule above.
    static std::u32string characters(std::string_view bytes, bool cutShort = false);

    // The length of `text` without the one line break (LF or CR LF) that ends it: that break closes the
    // file's last line and is no part of the text. Bytes or characters alike.
    template <typename Text> static std::size_t lengthWithoutFinalLineBreak(const Text& text)
    {
        std::size_t n = text.size();
        if (n > 0 && text[n - 1] == '\n')
            n -= n > 1 && text[n - 2] == '\r' ? 2 : 1;
        return n;
    }

    // A Ctrl-Z (byte 26) ends a loaded text, in the window and quarn-cli alike: the byte index of the first
    // one, or the size of `bytes` without one.
    static std::size_t endOfText(std::string_view bytes);
    // Empty unless a Ctrl-Z cut something off `bytes`; then how many of the file's characters (the Ctrl-Z
    // and all after it counted) were taken, as the field's cut notice says it (UTF-8).
    static std::string endOfTextNotice(std::string_view bytes);

    // A text file as the input field takes it from the start of its bytes (`complete`: all of them): ended
    // by a Ctrl-Z, without the line break that ends its last line, cut to `limit` characters with bytes 0
    // counted, then without bytes 0, which never reach the field.
    struct Loaded
    {
        std::u32string text;
        bool tooLarge = false;       // the limit cut it
        std::string endOfTextNotice; // a Ctrl-Z cut it (and the limit did not)
    };
    static Loaded load(std::string_view bytes, bool complete, std::size_t limit);

    // The notice for a paste or drop that the field's limit cut: how much of the `given` characters it
    // kept (UTF-8).
    static std::string cutNotice(std::size_t kept, std::size_t given, std::size_t limit);

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_utf8 = false;
};

} // namespace quarn
