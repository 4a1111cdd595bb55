#include "CliCommands.h"

#include "CodeDecoder.h"
#include "CodeEncoder.h"
#include "DurableFile.h"
#include "FileFailure.h"
#include "GroupFormatter.h"
#include "InputText.h"
#include "PadCipher.h"
#include "PadFileText.h"
#include "PadGenerator.h"
#include "PassedOver.h"
#include "PdfPages.h"
#include "Windows1252.h"
#include "Worksheet.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <unordered_set>
#include <utility>

namespace quarn::cli {

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

struct Failure
{
    std::string message;
};

// A file name or argument as a message shows it: read like any input, control characters written out, so
// that a name with a line break or an escape sequence stays one harmless line.
std::string shown(std::string_view text)
{
    std::string out;
    InputText characters(text);
    while (!characters.atEnd())
        out += PassedOver::readable(characters.next());
    return out;
}

// The arguments are UTF-8 on Windows (main takes the wide command line), bytes elsewhere; the system's own
// spelling of a name, so that one the code page lacks is still found.
std::filesystem::path nativePath(const std::string& name)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
#else
    return std::filesystem::path(name);
#endif
}

std::FILE* openForReading(const std::filesystem::path& path)
{
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// FILE, or standard input for none or "-", read in pieces so that no command holds more than it can use.
class Source
{
public:
    Source(const std::optional<std::string>& path, const StandardInput& standardInput)
        : m_standardInput(standardInput), m_file(nullptr, &std::fclose)
    {
        if (!path || *path == "-") {
            m_name = "Standardeingabe";
            return;
        }
        m_name = shown(*path);
        errno = 0;
        const std::filesystem::path native = nativePath(*path);
        m_file.reset(openForReading(native));
        if (!m_file)
            fail(reason(failureOf(errno, native, FileOperation::Reading)));
    }

    std::size_t read(char* buffer, std::size_t size)
    {
        try {
            return m_file ? readSome(m_file.get(), buffer, size) : m_standardInput(buffer, size);
        } catch (const std::exception& e) {
            fail(e.what());
        }
    }

    [[noreturn]] void fail(const std::string& why) const { throw Failure{m_name + ": " + why}; }
    const std::string& name() const { return m_name; }

private:
    const StandardInput& m_standardInput;
    FilePtr m_file;
    std::string m_name;
};

// The input's bytes up to a Ctrl-Z, as the window loads a text, with one trailing line break dropped; more
// than MaxInputBytes fails. A Ctrl-Z that cuts something off adds its notice to `notices`.
std::string readInput(Source& source, std::string& notices)
{
    std::string bytes;
    char buffer[65536];
    while (const std::size_t got = source.read(buffer, sizeof(buffer))) {
        if (bytes.size() + got > MaxInputBytes)
            source.fail("zu gro\xC3\x9F: mehr als 1 MiB");
        bytes.append(buffer, got);
    }
    if (const std::string notice = InputText::endOfTextNotice(bytes); !notice.empty())
        notices += source.name() + ": " + notice + "\n";
    bytes.resize(InputText::endOfText(bytes));
    bytes.resize(InputText::lengthWithoutFinalLineBreak(bytes));
    return bytes;
}

// Read as the window reads a pad (see PadFileText), and only as much as the pad needs. A pad whose groups
// repeat is refused for enciphering, where it would give the message away, and only named for deciphering,
// where the message is already sent and can be read with nothing else.
std::string readPad(Source& source, CipherDirection direction, std::string& notices)
{
    PadFileText pad;
    // A failed read throws.
    pad.readFrom([&source](char* buffer, std::size_t size) { return std::ptrdiff_t(source.read(buffer, size)); });
    const std::string text = pad.text();
    if (const std::string problem = PadFileText::problem(text); !problem.empty())
        source.fail(problem);
    if (const std::size_t repeated = PadFileText::repeatedGroups(text)) {
        if (direction == CipherDirection::Encode)
            source.fail(PadFileText::repeatedGroupsNotice(repeated) + "; damit wird nicht chiffriert");
        notices += source.name() + " " + PadFileText::repeatedGroupsNotice(repeated) + "\n";
    }
    return text;
}

// A character the code page lacks stands in as '?', which the table passes over and the cipher refuses,
// as it would the character itself.
constexpr char StandIn = '?';

// The text as the encoder takes it, and the notice naming what it will pass over.
struct PlainText
{
    std::string bytes;
    std::string notice;
};

PlainText plainText(const std::string& input, bool spellGermanLetters)
{
    std::u32string characters = InputText::characters(input);
    if (spellGermanLetters)
        characters = PassedOver::withGermanLettersSpelledOut(characters);
    // Upper case as the code page has it; a character outside the code page stays as it is.
    PlainText text;
    text.bytes.reserve(characters.size());
    std::u32string passedOver;
    std::unordered_set<char32_t> named;
    for (const char32_t cp : characters) {
        const auto byte = Windows1252::fromUnicode(cp);
        const unsigned char upper = byte ? Windows1252::toUpper(*byte) : StandIn;
        text.bytes += static_cast<char>(upper);
        const char32_t shownAs = byte ? Windows1252::toUnicode(upper) : cp;
        if (!PassedOver::characters(std::u32string_view(&shownAs, 1)).empty() && named.insert(shownAs).second)
            passedOver += shownAs;
    }
    if (!passedOver.empty())
        text.notice = PassedOver::notice(passedOver) + "\n";
    return text;
}

const char* const CutAt500 = "Ausgabe auf 500 Gruppen gek\xC3\xBCrzt!\n";
const char* const CutAt100Groups = "Eingabe nach 100 Gruppen gek\xC3\xBCrzt!\n";

CliOutcome encode(const std::string& input, bool spellGermanLetters)
{
    const PlainText text = plainText(input, spellGermanLetters);
    const GroupLayout layout = GroupFormatter::format(CodeEncoder::encode(text.bytes, GroupFormatter::MaxDigits));
    return {0, layout.text + "\n", text.notice + (layout.limitReached ? CutAt500 : "")};
}

// Blanks, tabs and line breaks between the digits are layout, as encode and decipher --digits write them.
CliOutcome decode(std::string input, const std::string& name)
{
    std::string digits;
    InputText characters(input);
    for (std::size_t position = 1; !characters.atEnd(); ++position) {
        const char32_t cp = characters.next();
        if (cp >= U'0' && cp <= U'9')
            digits += static_cast<char>(cp);
        else if (cp != U' ' && cp != U'\t' && cp != U'\n' && cp != U'\r')
            throw Failure{name + ": das " + std::to_string(position) + ". Zeichen '" + PassedOver::readable(cp) +
                          "' ist keine Ziffer"};
    }
    // Decoding may triple the length ("84" is "-code-"), so nothing else is held meanwhile.
    input = std::string();
    std::string text = CodeDecoder::decode(digits);
    text += '\n';
    return {0, std::move(text), {}};
}

// The error box's rule: a full stop after a message whose last character sorts after it.
std::string withFullStop(std::string message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

// The characters the cipher reads, as the user gave them and as the code page has them.
struct CipherInput
{
    std::u32string used;
    std::string groups;
    bool cut = false; // more than a pad covers
};

CipherInput cipherInput(const std::string& input)
{
    // The cipher reads no more than a pad's length of characters.
    CipherInput in;
    InputText characters(input);
    while (!characters.atEnd()) {
        if (in.used.size() == PadCipher::PadLength) {
            in.cut = true;
            break;
        }
        const char32_t cp = characters.next();
        const auto byte = Windows1252::fromUnicode(cp);
        in.used += cp;
        in.groups += byte ? static_cast<char>(*byte) : StandIn;
    }
    return in;
}

PadCipherResult runCipher(const CipherInput& in, const std::string& pad, CipherDirection direction)
{
    PadCipherResult result = PadCipher::run(in.groups, pad, direction);
    if (!result.completed) {
        // The failure names the character as the user gave it, not its stand-in.
        std::u32string message;
        for (const char c : withFullStop(result.failure))
            message += Windows1252::toUnicode(static_cast<unsigned char>(c));
        if (result.failureInGroups && message.size() > 1)
            message[1] = in.used[result.failurePosition];
        std::string text;
        for (const char32_t cp : message)
            text += PassedOver::readable(cp);
        throw Failure{text};
    }
    return result;
}

CliOutcome cipher(const std::string& input, const std::string& pad, CipherDirection direction, bool digitsOnly)
{
    const CipherInput in = cipherInput(input);
    const PadCipherResult result = runCipher(in, pad, direction);
    const std::string& text = direction == CipherDirection::Decode && !digitsOnly ? result.decoded : result.output;
    return {0, text + "\n", in.cut ? CutAt100Groups : ""};
}

// The paper the locale asks for, by the variables that choose it.
Paper localePaper()
{
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"})
        if (const char* value = std::getenv(name); value && *value)
            return Worksheet::paperFor(value);
    return Paper::A4;
}

Worksheet::Date today()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (!local)
        return {1970, 1, 1};
    return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}

// The worksheet of a message as PDF. In encode direction the text is read as `encode` reads it, in decode
// direction as `decipher` does, with the same notices and failures.
CliOutcome worksheet(const std::string& input, const std::string& pad, CipherDirection direction,
                     bool spellGermanLetters)
{
    std::string notices;
    Worksheet sheet;
    if (direction == CipherDirection::Encode) {
        const PlainText text = plainText(input, spellGermanLetters);
        notices = text.notice;
        if (CodeEncoder::encode(text.bytes, GroupFormatter::MaxDigits).size() >= GroupFormatter::MaxDigits)
            notices += CutAt500;
        sheet = Worksheet::build(text.bytes, pad, direction);
    } else {
        const CipherInput in = cipherInput(input);
        runCipher(in, pad, direction);
        notices = in.cut ? CutAt100Groups : "";
        sheet = Worksheet::build(in.groups, pad, direction);
    }
    if (!sheet.failure.empty())
        throw Failure{withFullStop(Windows1252::toUtf8(sheet.failure))};
    const Paper paper = localePaper();
    const PdfPageLayout layout{Worksheet::pageWidth(paper), Worksheet::pageHeight(paper),
                               Worksheet::MarginPoints,     Worksheet::MarginPoints + Worksheet::BaselinePoints,
                               Worksheet::LinePoints,       Worksheet::FontPoints};
    return {0, pdfOfPages(sheet.pages(paper, today()), layout, "Quarn-Arbeitsblatt"), notices};
}

CliOutcome usageError(const std::string& why)
{
    return {ExitUsage, {}, "quarn-cli: " + why + "\n" + usageText()};
}

} // namespace

std::size_t readSome(std::FILE* stream, char* buffer, std::size_t size)
{
    errno = 0;
    const std::size_t got = std::fread(buffer, 1, size, stream);
    if (got == 0 && std::ferror(stream))
        throw std::runtime_error(reason(failureOf(errno, {}, FileOperation::Reading)));
    return got;
}

std::string usageText()
{
    return "Aufruf:\n"
           "  quarn-cli encode [--umlauts] [DATEI]       Klartext in Fünfergruppen kodieren\n"
           "  quarn-cli decode [DATEI]                   Ziffernfolge in Text dekodieren\n"
           "  quarn-cli pad [-o OTPDATEI]                neues OTP (100 Fünfergruppen) ausgeben\n"
           "  quarn-cli encipher OTPDATEI [DATEI]        Fünfergruppen mit dem OTP chiffrieren\n"
           "  quarn-cli decipher [--digits] OTPDATEI [DATEI]\n"
           "                                             Chiffrat dechiffrieren und dekodieren\n"
           "  quarn-cli worksheet [--decipher] [--umlauts] OTPDATEI [DATEI] -o AUSGABE.pdf\n"
           "                                             Arbeitsblatt zum Nachrechnen als PDF\n"
           "  quarn-cli --help                           diese Hilfe\n"
           "  quarn-cli --version                        Version\n"
           "\n"
           "Ohne DATEI oder mit - wird die Standardeingabe gelesen (mit - als OTPDATEI das OTP), höchstens\n"
           "1 MiB. Ein abschließender Zeilenumbruch der Eingabe wird entfernt; die Ausgabe endet mit einem LF.\n"
           "Gültiges UTF-8 mit mindestens einem Nicht-ASCII-Zeichen wird als UTF-8 gelesen, alles andere\n"
           "als Windows-1252; die Ausgabe ist Windows-1252. -- beendet die Optionen.\n"
           "decode überliest Leerzeichen, Tabulatoren und Zeilenumbrüche zwischen den Ziffern.\n"
           "--umlauts schreibt Ä, Ö, Ü und ß (auch klein) als AE, OE, UE und SS, statt sie zu übergehen.\n"
           "--digits gibt statt des Textes die dechiffrierten Ziffern in Fünfergruppen aus.\n"
           "-o schreibt das OTP in eine neue Datei, nur für den Besitzer lesbar; eine bestehende bleibt.\n"
           "worksheet zeigt Klartext, Code, OTP und Chiffrat untereinander (mit --decipher: Chiffrat, OTP,\n"
           "Code und Klartext); die PDF-Datei enthält das OTP und entsteht wie bei pad -o.\n";
}

CliOutcome runCli(const std::vector<std::string>& argsIn, RandomSource& random, const StandardInput& standardInput)
{
    if (argsIn.empty())
        return usageError("kein Befehl angegeben");
    const std::string command = argsIn.front();
    if (command == "--help" || command == "-h")
        return {0, usageText(), {}};
    if (command == "--version")
        return {0, "quarn-cli " QUARN_VERSION "\n", {}};

    // Options may stand anywhere after the command; "--" ends them, so a file may start with "-".
    std::vector<std::string> args;
    bool digitsOnly = false;
    bool decipherSheet = false;
    bool spellGermanLetters = false;
    std::optional<std::string> outputFile;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < argsIn.size(); ++i) {
        const std::string& a = argsIn[i];
        if (optionsEnded || a == "-" || a.empty() || a[0] != '-') {
            args.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help" || a == "-h") {
            return {0, usageText(), {}};
        } else if (a == "--version") {
            return {0, "quarn-cli " QUARN_VERSION "\n", {}};
        } else if (a == "--digits" && command == "decipher") {
            digitsOnly = true;
        } else if (a == "--decipher" && command == "worksheet") {
            decipherSheet = true;
        } else if (a == "--umlauts" && (command == "encode" || command == "worksheet")) {
            spellGermanLetters = true;
        } else if (a == "-o" && (command == "pad" || command == "worksheet")) {
            if (i + 1 == argsIn.size())
                return usageError("-o ohne Dateinamen");
            outputFile = argsIn[++i];
        } else {
            return usageError("unbekannte Option " + shown(a));
        }
    }
    auto optionalFile = [&](std::size_t index) -> std::optional<std::string> {
        if (args.size() > index)
            return args[index];
        return std::nullopt;
    };

    try {
        // What reading cut or doubted, ahead of what the command itself says.
        std::string readNotices;
        const auto withReadNotices = [&readNotices](CliOutcome outcome) {
            outcome.err = readNotices + outcome.err;
            return outcome;
        };
        if (command == "encode" || command == "decode") {
            if (args.size() > 1)
                return usageError("zu viele Argumente");
            Source source(optionalFile(0), standardInput);
            std::string input = readInput(source, readNotices);
            if (command == "encode")
                return withReadNotices(encode(input, spellGermanLetters));
            return withReadNotices(decode(std::move(input), source.name()));
        }
        // Standard output without -o or with "-"; else a new file that only its owner may read.
        const auto written = [&](CliOutcome outcome) {
            if (!outputFile || *outputFile == "-")
                return outcome;
            // A new file only, for its owner alone; an existing one is never replaced, whatever it holds.
            const FileFailure failure = DurableFile::write(
                nativePath(*outputFile), outcome.out, DurableFile::Existing::Refuse, DurableFile::Access::OwnerOnly);
            if (failure == FileFailure::Exists)
                throw Failure{shown(*outputFile) + ": " + reason(failure) +
                              "; ein OTP wird nie \xC3\xBC"
                              "berschrieben"};
            if (failure != FileFailure::None)
                throw Failure{shown(*outputFile) + ": " + reason(failure)};
            outcome.out.clear();
            return outcome;
        };
        if (command == "pad") {
            if (!args.empty())
                return usageError("zu viele Argumente");
            return written({0, PadGenerator::generate(random) + "\n", {}});
        }
        if (command == "encipher" || command == "decipher" || command == "worksheet") {
            if (args.empty())
                return usageError("OTPDATEI fehlt");
            if (args.size() > 2)
                return usageError("zu viele Argumente");
            if (command == "worksheet" && !outputFile)
                return usageError("-o fehlt");
            if (args[0] == "-" && (args.size() < 2 || args[1] == "-"))
                return usageError("OTPDATEI und DATEI lesen nicht beide die Standardeingabe");
            const auto direction = command == "encipher" || (command == "worksheet" && !decipherSheet)
                                       ? CipherDirection::Encode
                                       : CipherDirection::Decode;
            Source padSource(args[0], standardInput);
            const std::string pad = readPad(padSource, direction, readNotices);
            Source groupsSource(optionalFile(1), standardInput);
            const std::string groups = readInput(groupsSource, readNotices);
            if (command == "worksheet")
                return withReadNotices(written(worksheet(groups, pad, direction, spellGermanLetters)));
            return withReadNotices(cipher(groups, pad, direction, digitsOnly));
        }
    } catch (const Failure& failure) {
        return {ExitFailure, {}, "quarn-cli: " + failure.message + "\n"};
    } catch (const std::exception& e) {
        return {ExitFailure, {}, std::string("quarn-cli: ") + e.what() + "\n"};
    }
    return usageError("unbekannter Befehl " + shown(command));
}

} // namespace quarn::cli
