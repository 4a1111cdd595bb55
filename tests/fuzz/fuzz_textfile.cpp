// Any bytes as a text, cipher or pad file: a load never returns more than its limit, a byte 0 never
// reaches the text, a byte 26 ends it, UTF-8 is read as such, "too large" is told exactly when a character
// lies past the limit, a pad load gives a pad or nothing, and what was loaded is saved and loaded again
// unchanged where Windows-1252 can hold it.
//
// Input: one byte choosing the limit (and whether it is a pad load), then the file's bytes.
#include "FuzzCheck.h"
#include "InputText.h"
#include "PadFileText.h"
#include "TextBytes.h"
#include "TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cstdint>
#include <string_view>

namespace {

using quarn::TextFile;

constexpr qsizetype PadLoad = -100; // stands for readPad in the table below
// The real limits, the edges around them, and limits no caller uses but the reader must survive.
constexpr qsizetype PlainText = qsizetype(quarn::Limits::PlainText);
constexpr qsizetype CipherText = qsizetype(quarn::Limits::CipherTextLoaded);
const std::array<qsizetype, 10> kLimits{PlainText, CipherText, PadLoad, 0, 1, 5, PlainText + 1, 602, -1, 4096};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    if (size < 1 || !dir.isValid())
        return 0;
    const qsizetype choice = kLimits[data[0] % kLimits.size()];
    const bool pad = choice == PadLoad;
    const qsizetype limit = pad ? qsizetype(quarn::Limits::Pad) : choice;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const QString path = dir.filePath(QStringLiteral("input.txt"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()));
    }
    const quarn::LoadedText loaded = pad ? TextFile::readPad(path) : TextFile::read(path, limit);

    // What the reader should have made of the bytes: up to a byte 26, at most `limit` places, no byte 0.
    // A text load counts a byte 0 as a place and reads UTF-8 as InputText does; a pad load takes bytes and
    // does not count a byte 0.
    const qsizetype places = std::max<qsizetype>(limit, 0);
    QString expected;
    bool pastLimit = false;
    if (pad) {
        std::string kept(bytes.substr(0, bytes.find(char(26))).substr(0, quarn::PadFileText::MaxBytesRead));
        std::erase(kept, '\0');
        kept.resize(std::min(kept.size(), std::size_t(places)));
        // Anything but a pad is refused whole, so that it never takes the pad's place.
        const bool isPad = quarn::PadFileText::check(kept).ok();
        FUZZ_CHECK(loaded.ok() == isPad && (isPad || quarn::PadFileText::isNoPad(*loaded.failure)));
        if (!isPad) {
            FUZZ_CHECK(loaded.text.isEmpty());
            return 0;
        }
        expected = quarn::fromWindows1252(kept);
    } else {
        FUZZ_CHECK(loaded.ok());
        // The reader takes four bytes for each place and one more character: enough for any UTF-8.
        // A file that fills the read may go on, so it may end inside a character that was not read.
        const std::size_t wanted = std::size_t(places + 1) * 4;
        const std::string_view read = bytes.substr(0, wanted);
        const std::size_t end = read.find(char(26));
        const bool cutShort = end == std::string_view::npos && read.size() == wanted;
        std::u32string characters = quarn::InputText::characters(read.substr(0, end), cutShort);
        pastLimit = qsizetype(characters.size()) > places;
        characters.resize(std::min(characters.size(), std::size_t(places)));
        std::erase(characters, U'\0');
        expected = QString::fromUcs4(characters.data(), qsizetype(characters.size()));
    }
    FUZZ_CHECK(loaded.text == expected);
    FUZZ_CHECK(loaded.text.toUcs4().size() <= places);
    FUZZ_CHECK(loaded.tooLarge == pastLimit);

    // Saved and loaded again, the text comes back whole, unless it holds characters Windows-1252 lacks or
    // its Windows-1252 bytes happen to read as UTF-8.
    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    FUZZ_CHECK(TextFile::write(copy, loaded.text).ok());
    const std::string saved = quarn::toWindows1252(loaded.text);
    if (quarn::fromWindows1252(saved) != loaded.text || (!pad && quarn::InputText(saved).isUtf8()))
        return 0;
    const quarn::LoadedText again = pad ? TextFile::readPad(copy) : TextFile::read(copy, limit);
    FUZZ_CHECK(again.ok() && !again.tooLarge);
    FUZZ_CHECK(again.text == loaded.text);
    return 0;
}
