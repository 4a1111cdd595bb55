#pragma once

#include "Failure.h"
#include "FilePath.h"
#include "Limits.h"
#include "PadFileText.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quarn {

// What a load gives the field. On failure the text is empty and `failure` says why (Messages::notLoaded words it).
struct LoadedText
{
    QString text;
    bool tooLarge = false;          // the file held more characters than the limit; `text` keeps the first ones
    std::optional<Failure> failure; // unreadable, or read and no pad
    QString endOfTextNotice;        // a Ctrl-Z ended the text before the file's end (see InputText::load)
    qsizetype repeatedGroups = 0;   // a pad whose groups repeat cannot be random
    bool ok() const { return !failure; }
};

// Text, cipher and pad files: Windows-1252 bytes, one per character, CR LF line ends, no header; texts
// written by a Linux editor in UTF-8 are read too.
class TextFile
{
public:
    static constexpr char EndOfText = PadFileText::EndOfText;

    // Reads at most `limit` characters. A byte 26 or the end of the file ends the text; a byte 0 counts
    // toward the limit but is dropped. Reading stops at the first character past the limit, so a huge
    // file costs no more than a small one. A file in UTF-8 is read as such (see InputText).
    static LoadedText read(const FilePath& path, qsizetype limit);
    // What "Text Laden" and "Crypt Laden" give the input field, by InputText::load: the line break that ends
    // the file is no part of the text, a byte 0 counts toward `limit`, a Ctrl-Z that cuts says so.
    static LoadedText readInput(const FilePath& path, qsizetype limit);
    // A pad load: the first 600 characters other than byte 0 (see PadFileText); more is never "too large",
    // only unread. They must be a pad, 100 groups of five digits each followed by a blank; anything else
    // gives no text and the pad format's failure.
    static LoadedText readPad(const FilePath& path);
    // Both loads read regular files only, and never wait for one: anything else fails at once.

    enum class Access
    {
        Usual,    // as the system's defaults have it
        OwnerOnly // a pad or a decoded message: a new file is readable and writable by its owner only
    };
    // Writes the text's bytes exactly (see DurableFile): the file gets its name, or replaces the old one,
    // only when all of it and its name are on disk. On failure the old file is then untouched and no temporary file is
    // left. A file written over keeps its owner, group, mode and ACL, or is not written.
    static Result<> write(const QString& path, const QString& text, Access access = Access::Usual);
    // A pad file ends with CR LF, whether new or written over, so a saved pad is always 602 bytes. A new
    // one is private to its owner.
    static Result<> writePad(const QString& path, const QString& padText);
    // Bytes as they are (a PDF), by the same rules as write().
    static Result<> writeBinary(const QString& path, const QByteArray& bytes, Access access);

    // True when a regular file is at `path`: the case that asks before overwriting. Nothing else is written
    // over: a save onto a folder, FIFO or device fails.
    static bool isFile(const QString& path);
    // How many names (hard links) the file at `path` has; 0 where there is none (see HardLinks).
    static qsizetype nameCount(const QString& path);
    // The last part of a path, as the messages name the file.
    static QString lastPart(const QString& path);
};

} // namespace quarn
