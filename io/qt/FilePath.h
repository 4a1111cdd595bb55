#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>

namespace quarn {

// A file's name as the system spells it, beside the name the program shows. On Unix a name is bytes and
// need not be UTF-8 (an old stick's Latin-1 names); Qt's strings would turn such bytes into U+FFFD and the
// file could no longer be found, so the bytes are kept. On Windows the name is UTF-16 and a QString holds it
// whole.
class FilePath
{
public:
    FilePath() = default;
    // A name the program chose or a dialog returned.
    FilePath(const QString& path); // NOLINT(google-explicit-constructor): every path a dialog gives is one
    // The bytes of a Unix command line: shown as UTF-8 where they are, else as Windows-1252, as the program
    // reads the files themselves.
    static FilePath fromNative(const QByteArray& bytes);

    const QString& shown() const { return m_shown; }
    std::filesystem::path native() const;
    // The bytes the system knows the file by (Unix), or the UTF-16 name as UTF-8 (Windows): what a running
    // window is handed.
    QByteArray nativeBytes() const;
    // Relative names taken from the current folder, so that another process finds the same file.
    FilePath absolute() const;
    bool operator==(const FilePath& other) const = default;

private:
    QString m_shown;
#ifndef Q_OS_WIN
    QByteArray m_native;
#endif
};

} // namespace quarn
