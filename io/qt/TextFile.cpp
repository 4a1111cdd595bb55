#include "TextFile.h"

#include "DurableFile.h"
#include "FileFailure.h"
#include "HardLinks.h"
#include "InputText.h"
#include "PadFileText.h"
#include "SystemCalls.h"
#include "TextBytes.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <string>

namespace quarn {

namespace {

constexpr qsizetype MaxBytesPerCharacter = 4;

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// Unbuffered, so that a load asks the system for no more than it takes. Only a regular file is read: a FIFO
// would hold the window until someone writes to it, a device never ends.
bool openForReading(QFile& file, const FilePath& path, LoadedText& loaded)
{
    if (Result<> opened = SystemCalls::openRegularForReading(file, path.native()); !opened)
        loaded.failure = opened.failure();
    return loaded.ok();
}

// Adds to `bytes` until it holds `wanted` or the file ends; false when the file cannot be read.
bool readUpTo(QFile& file, std::string& bytes, qsizetype wanted)
{
    qsizetype got = qsizetype(bytes.size());
    bytes.resize(std::size_t(wanted));
    while (got < wanted) {
        const qint64 n = file.read(bytes.data() + got, wanted - got);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += qsizetype(n);
    }
    bytes.resize(std::size_t(got));
    return true;
}

Result<> writeBytes(const QString& path, const std::string& bytes, TextFile::Access access)
{
    return DurableFile::write(nativePath(path), bytes, DurableFile::Existing::Replace,
                              access == TextFile::Access::OwnerOnly ? DurableFile::Access::OwnerOnly
                                                                    : DurableFile::Access::Usual);
}

} // namespace

LoadedText TextFile::read(const FilePath& path, qsizetype limit)
{
    LoadedText loaded;
    QFile file(path.shown());
    if (!openForReading(file, path, loaded))
        return loaded;

    // A negative limit allows no character, like 0; left negative it would cut the text to a size
    // beyond any string.
    limit = std::max<qsizetype>(limit, 0);
    // Enough for one character past the limit, however many bytes a UTF-8 character takes.
    const qsizetype wanted = (limit + 1) * MaxBytesPerCharacter;
    std::string bytes;
    if (!readUpTo(file, bytes, wanted)) {
        loaded.failure = Failure{Failure::Kind::ReadFailed};
        return loaded;
    }

    const auto end = bytes.find(EndOfText);
    const bool cutShort = end == std::string::npos && qsizetype(bytes.size()) == wanted;
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

LoadedText TextFile::readInput(const FilePath& path, qsizetype limit)
{
    LoadedText loaded;
    QFile file(path.shown());
    if (!openForReading(file, path, loaded))
        return loaded;
    limit = std::max<qsizetype>(limit, 0);
    // Enough for the limit, the final line break and one character more, however long a UTF-8 character;
    // after a Ctrl-Z on to the input bound, so that its notice can say how much it cut.
    std::string bytes;
    for (qsizetype wanted = (limit + 3) * MaxBytesPerCharacter;; wanted = qsizetype(Limits::InputBytes)) {
        if (!readUpTo(file, bytes, wanted)) {
            loaded.failure = Failure{Failure::Kind::ReadFailed};
            return loaded;
        }
        const bool more = qsizetype(bytes.size()) == wanted;
        // On past the limit only behind a Ctrl-Z, to say how much it cut.
        if (!more || wanted == qsizetype(Limits::InputBytes) || InputText::endOfText(bytes) == bytes.size()) {
            const InputText::Loaded text = InputText::load(bytes, !more, std::size_t(limit));
            loaded.text = QString::fromStdU32String(text.text);
            loaded.tooLarge = text.tooLarge;
            loaded.endOfTextNotice = QString::fromStdString(text.endOfTextNotice);
            return loaded;
        }
    }
}

LoadedText TextFile::readPad(const FilePath& path)
{
    LoadedText loaded;
    QFile file(path.shown());
    if (!openForReading(file, path, loaded))
        return loaded;
    PadFileText pad;
    if (!pad.readFrom(
            [&file](char* buffer, std::size_t size) { return std::ptrdiff_t(file.read(buffer, qint64(size))); })) {
        loaded.failure = Failure{Failure::Kind::ReadFailed};
        return loaded;
    }
    // A file that is no pad must not take the pad's place: a message enciphered with it could never be read.
    if (const Result<> isPad = PadFileText::check(pad.text()); !isPad) {
        loaded.failure = isPad.failure();
        return loaded;
    }
    loaded.text = fromWindows1252(pad.text());
    loaded.repeatedGroups = qsizetype(PadFileText::repeatedGroups(pad.text()));
    return loaded;
}

Result<> TextFile::write(const QString& path, const QString& text, Access access)
{
    return writeBytes(path, toWindows1252(text), access);
}

Result<> TextFile::writePad(const QString& path, const QString& padText)
{
    return writeBytes(path, toWindows1252(padText) + "\r\n", Access::OwnerOnly);
}

Result<> TextFile::writeBinary(const QString& path, const QByteArray& bytes, Access access)
{
    return writeBytes(path, bytes.toStdString(), access);
}

bool TextFile::isFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

qsizetype TextFile::nameCount(const QString& path)
{
    return qsizetype(HardLinks::nameCount(nativePath(path)));
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
