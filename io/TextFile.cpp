#include "TextFile.h"

#include "InputText.h"
#include "PadFileText.h"
#include "SystemCalls.h"
#include "TextBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <algorithm>
#include <string>

namespace quarn {

namespace {

const QString NotFound = QStringLiteral("Datei nicht gefunden");
const QString FolderNotFound = QStringLiteral("Ordner nicht gefunden");
const QString IsFolder = QStringLiteral("ist ein Ordner");
const QString NotRegular = QStringLiteral("ist keine normale Datei");
const QString AccessDenied = QStringLiteral("Zugriff verweigert");
const QString ReadFailed = QStringLiteral("Lesefehler");
const QString WriteFailed = QStringLiteral("Schreibfehler");
const QString DiskFull = QStringLiteral("Datenträger voll");

constexpr qsizetype MaxBytesPerCharacter = 4;

// Qt's error strings are English and differ between platforms, so the reason is told from what the file
// system shows about the path once the operation has failed.
bool folderOfPathExists(const QString& path)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    return folder.exists() && folder.isDir();
}

QString openForReadingFailed(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return IsFolder;
    if (!info.exists())
        return folderOfPathExists(path) ? NotFound : FolderNotFound;
    // It is there and it is a file: the system refused it (rights, or a lock on Windows).
    return AccessDenied;
}

// Unbuffered, so that a load asks the system for no more than it takes. Only a regular file is read: a FIFO
// would hold the window until someone writes to it, a device never ends.
bool openForReading(QFile& file, LoadedText& loaded)
{
    switch (SystemCalls::openRegularForReading(file)) {
    case SystemCalls::OpenResult::Opened:
        return true;
    case SystemCalls::OpenResult::NotRegular:
        loaded.error = QFileInfo(file.fileName()).isDir() ? IsFolder : NotRegular;
        return false;
    case SystemCalls::OpenResult::Failed:
        break;
    }
    loaded.error = openForReadingFailed(file.fileName());
    return false;
}

QString openForWritingFailed(const QString& path)
{
    if (QFileInfo(path).isDir())
        return IsFolder;
    if (!folderOfPathExists(path))
        return FolderNotFound;
    return AccessDenied;
}

QString writingFailed(const QString& path, qsizetype bytes)
{
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() <= bytes)
        return DiskFull;
    return WriteFailed;
}

QString writeBytes(const QString& path, const std::string& bytes, TextFile::Access access)
{
    // A save replaces the file at the path by a new one; a FIFO or a device (/dev/null, as root) must not
    // be replaced so.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile())
        return existing.isDir() ? IsFolder : NotRegular;
    const bool isNew = !existing.exists();
    QSaveFile file(path);
    // Never fall back to writing the old file in place: that is what leaves half a pad behind.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that every write reports what the system said; a buffered one would fail only inside
    // commit(), which does not report a failed flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return openForWritingFailed(path);
    // Before the first byte: no one else may read a new pad. A file written over keeps its own rights,
    // which the temporary file has taken over.
    if (access == TextFile::Access::OwnerOnly && isNew &&
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return AccessDenied;
    }
    const auto size = qint64(bytes.size());
    if (file.write(bytes.data(), size) != size || !file.flush() || !SystemCalls::syncToDisk(file)) {
        file.cancelWriting();
        return writingFailed(path, qsizetype(size));
    }
    if (!file.commit())
        return QFileInfo(path).isDir() ? IsFolder : writingFailed(path, qsizetype(size));
    return {};
}

} // namespace

LoadedText TextFile::read(const QString& path, qsizetype limit)
{
    LoadedText loaded;
    QFile file(path);
    if (!openForReading(file, loaded))
        return loaded;

    // A negative limit allows no character, like 0; left negative it would cut the text to a size
    // beyond any string.
    limit = std::max<qsizetype>(limit, 0);
    // Enough for one character past the limit, however many bytes a UTF-8 character takes.
    const qsizetype wanted = (limit + 1) * MaxBytesPerCharacter;
    std::string bytes(std::size_t(wanted), '\0');
    qsizetype got = 0;
    while (got < wanted) {
        const qint64 n = file.read(bytes.data() + got, wanted - got);
        if (n < 0) {
            loaded.error = ReadFailed;
            return loaded;
        }
        if (n == 0)
            break;
        got += qsizetype(n);
    }
    bytes.resize(std::size_t(got));

    const auto end = bytes.find(EndOfText);
    const bool cutShort = end == std::string::npos && got == wanted;
    if (end != std::string::npos)
        bytes.resize(end);
    // UTF-8 or Windows-1252 as quarn-cli reads it; the limit counts characters, not bytes.
    std::u32string characters = InputText::characters(bytes, cutShort);
    if (qsizetype(characters.size()) > limit) {
        loaded.tooLarge = true;
        characters.resize(std::size_t(limit));
    }
    std::erase(characters, U'\0');
    loaded.text = QString::fromUcs4(characters.data(), qsizetype(characters.size()));
    return loaded;
}

LoadedText TextFile::readPad(const QString& path)
{
    LoadedText loaded;
    QFile file(path);
    if (!openForReading(file, loaded))
        return loaded;
    // Each round asks only for the bytes the pad may still take, so a huge file costs no more.
    PadFileText pad;
    char buffer[PadFileText::PadLength];
    while (const std::size_t wanted = pad.wanted()) {
        const qint64 n = file.read(buffer, qint64(wanted));
        if (n < 0) {
            loaded.error = ReadFailed;
            return loaded;
        }
        if (n == 0 || !pad.feed(std::string_view(buffer, std::size_t(n))))
            break;
    }
    // A file that is no pad must not take the pad's place: a message enciphered with it could never be read.
    if (const std::string problem = PadFileText::problem(pad.text()); !problem.empty()) {
        loaded.error = QString::fromStdString(problem);
        loaded.notAPad = true;
        return loaded;
    }
    loaded.text = fromWindows1252(pad.text());
    return loaded;
}

QString TextFile::write(const QString& path, const QString& text)
{
    return writeBytes(path, toWindows1252(text), Access::Usual);
}

QString TextFile::writePad(const QString& path, const QString& padText)
{
    return writeBytes(path, toWindows1252(padText) + "\r\n", Access::OwnerOnly);
}

QString TextFile::writeBinary(const QString& path, const QByteArray& bytes, Access access)
{
    return writeBytes(path, bytes.toStdString(), access);
}

bool TextFile::isFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

QString TextFile::lastPart(const QString& path)
{
#ifdef Q_OS_WIN
    const qsizetype cut = std::max({path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'), path.lastIndexOf(u':')});
#else
    const qsizetype cut = path.lastIndexOf(u'/');
#endif
    return path.mid(cut + 1);
}

} // namespace quarn
