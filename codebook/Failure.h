#pragma once

#include <cstddef>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace quarn {

// What went wrong, with the details its German text needs. Every library returns this one value; the text is
// made in one place (Messages::text), so that no message is written twice.
struct Failure
{
    enum class Kind
    {
        // Making a pad
        SourceNotRandom,    // the source gives the same few values over and over
        EntropyUnavailable, // the system's generator failed or kept giving nothing

        // The cipher and the worksheet
        PadTooShort,       // the pad has fewer than `limit` characters
        NotADigitInGroups, // `character` at `position` (from 0) of the groups should have been a digit
        NotADigitInPad,    // the same in the pad
        NothingToWorkOut,  // the worksheet's input gives no digits
        WorksheetNotSet,   // the worksheet could not be laid out as PDF

        // A pad file's text
        PadFileTooShort,   // only `count` characters of the `limit` a pad has
        NoBlankAfterGroup, // `character` after group `position` (from 1)
        NoDigitInGroup,    // `character` at `place` (from 1) of group `position` (from 1)
        RepeatedGroups,    // `count` groups repeat: no random pad, nothing is enciphered with it

        // A file: what the system said of it. The name stands in `file` where the front end adds it.
        FileNotFound,   // the folder is there, the file is not
        FolderNotFound, // a folder on the way is missing or is a file
        IsFolder,
        NotRegular, // a FIFO, device or socket
        SymlinkLoop,
        AccessDenied,
        DiskFull,      // no room, or no inode left
        FileExists,    // a new file was asked for and the name is taken
        RightsNotKept, // the file written over has rights the new one could not take
        ReadFailed,
        WriteFailed,
        OutputExists,    // quarn-cli's -o names a file that is there: none is ever replaced
        InputTooLarge,   // more than `limit` bytes
        NotADigitInCode, // `character` at `position` (from 1) of a code text to decode

        // The window's pictures
        PictureUnreadable, // no JPEG data the program reads: empty, damaged, CMYK
        PictureTooLarge,   // more pixels than the limit, as a damaged header may claim
        OutOfMemory,

        // Printing
        NoDefaultPrinter,
        PrinterNotAvailable, // the printer chosen has gone from the system
        PrinterInvalid,      // it could not be prepared for the job
        PrintingBusy,        // another job is being written
    };

    Kind kind;
    // The details a kind needs; the others keep their defaults.
    std::string file = {};    // the file's name as messages show it (UTF-8)
    char32_t character = 0;   // the character at fault
    std::size_t position = 0; // where it stands
    std::size_t place = 0;    // its place in a group
    std::size_t count = 0;    // how many there are
    std::size_t limit = 0;    // how many there may or must be
    int error = 0;            // the system's error number, 0 where none was given

    bool operator==(const Failure&) const = default;
};

// A value or the failure that stands in its place.
template <class T = void> class Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) : m_value(std::move(failure)) {}

    bool ok() const { return m_value.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(m_value); }
    T&& value() && { return std::get<0>(std::move(m_value)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    const Failure& failure() const { return std::get<1>(m_value); }

private:
    std::variant<T, Failure> m_value;
};

// Done, or the failure that stopped it.
template <> class Result<void>
{
public:
    Result() = default;
    Result(Failure failure) : m_failure(std::move(failure)) {}

    bool ok() const { return !m_failure; }
    explicit operator bool() const { return ok(); }
    const Failure& failure() const { return *m_failure; }

private:
    std::optional<Failure> m_failure;
};

// The one exception: a failure that ends a user's step, caught only where the window shows its error box
// and at quarn-cli's top level, which write its text.
class Failed : public std::exception
{
public:
    explicit Failed(Failure failure) : m_failure(std::move(failure)) {}
    const Failure& failure() const { return m_failure; }
    const char* what() const noexcept override { return "quarn::Failed"; }

private:
    Failure m_failure;
};

} // namespace quarn
