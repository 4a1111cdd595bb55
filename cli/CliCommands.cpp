#include "CliCommands.h"

#include "CipherFlow.h"
#include "CodeDecoder.h"
#include "DurableFile.h"
#include "EncoderInput.h"
#include "FileFailure.h"
#include "GroupFormatter.h"
#include "InputText.h"
#include "Limits.h"
#include "Messages.h"
#include "PadCipher.h"
#include "PadFileText.h"
#include "PadGenerator.h"
#include "PassedOver.h"
#include "Windows1252.h"
#include "Worksheet.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <variant>

namespace quarn::cli {

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

using Kind = quarn::Failure::Kind;

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
            fail(fileFailure(errno, native, FileOperation::Reading));
    }

    std::size_t read(char* buffer, std::size_t size)
    {
        const Result<std::size_t> got = m_file ? readSome(m_file.get(), buffer, size) : m_standardInput(buffer, size);
        if (!got)
            fail(got.failure());
        return *got;
    }

    // Ends the command with a failure that names this file.
    [[noreturn]] void fail(Failure failure) const
    {
        failure.file = m_name;
        throw Failed(std::move(failure));
    }
    const std::string& name() const { return m_name; }

private:
    const StandardInput& m_standardInput;
    FilePtr m_file;
    std::string m_name;
};

// The input's bytes up to a Ctrl-Z, as the window loads a text, with one trailing line break dropped; more
// than Limits::InputBytes fails. A Ctrl-Z that cuts something off adds its notice to `notices`.
std::string readInput(Source& source, std::string& notices)
{
    std::string bytes;
    char buffer[65536];
    while (const std::size_t got = source.read(buffer, sizeof(buffer))) {
        if (bytes.size() + got > Limits::InputBytes)
            source.fail({.kind = Kind::InputTooLarge, .limit = Limits::InputBytes});
        bytes.append(buffer, got);
    }
    if (const std::string notice = InputText::endOfTextNotice(bytes); !notice.empty())
        notices += Messages::endOfText(source.name(), notice) + "\n";
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
    if (const Result<> isPad = PadFileText::check(text); !isPad)
        source.fail(isPad.failure());
    if (const std::size_t repeated = PadFileText::repeatedGroups(text)) {
        if (direction == CipherDirection::Encode)
            source.fail({.kind = Kind::RepeatedGroups, .count = repeated});
        notices += source.name() + " " + Messages::repeatedGroups(repeated) + "\n";
    }
    return text;
}

// The text as the encoder takes it, by the rule the window follows.
EncoderInput plainText(const std::string& input, bool spellGermanLetters)
{
    std::u32string characters = InputText::characters(input);
    if (spellGermanLetters)
        characters = EncoderInput::withGermanLettersSpelledOut(characters);
    return EncoderInput::of(characters);
}

// A notice as standard error shows it: a line of its own, or nothing.
std::string line(const std::string& notice)
{
    return notice.empty() ? notice : notice + "\n";
}

// A failure as standard error shows it: after the file it concerns, or as a sentence of its own, with any
// character from the input written out.
std::string line(const Failure& failure)
{
    const std::string text = Messages::text(failure);
    return failure.file.empty() ? line(shown(Messages::withFullStop(text))) : line(failure.file + ": " + text);
}

CipherInput cipherInput(const std::string& input)
{
    InputText characters(input);
    return CipherInput::of(characters);
}

PadCipherResult runCipher(const CipherInput& in, const std::string& pad, CipherDirection direction)
{
    PadCipherResult result = PadCipher::run(in.groups, pad, direction);
    if (result.failure)
        throw Failed(cipherFailure(*result.failure, in.used));
    return result;
}

// Blanks, tabs and line breaks between the digits are layout, as encode and decipher --digits write them.
std::string codeDigits(const std::string& input, const std::string& name)
{
    std::string digits;
    InputText characters(input);
    for (std::size_t position = 1; !characters.atEnd(); ++position) {
        const char32_t cp = characters.next();
        if (cp >= U'0' && cp <= U'9')
            digits += static_cast<char>(cp);
        else if (cp != U' ' && cp != U'\t' && cp != U'\n' && cp != U'\r')
            throw Failed({.kind = Kind::NotADigitInCode, .file = name, .character = cp, .position = position});
    }
    return digits;
}

CliOutcome usageError(const std::string& why)
{
    return {ExitUsage, {}, "quarn-cli: " + why + "\n" + usageText()};
}

// A command line taken apart: options may stand anywhere after the command; "--" ends them, so a file may
// start with "-".
struct Command
{
    std::string name;
    std::vector<std::string> files;
    bool digitsOnly = false;
    bool decipherSheet = false;
    bool spellGermanLetters = false;
    std::optional<std::string> outputFile;

    std::optional<std::string> file(std::size_t index) const
    {
        return files.size() > index ? std::optional(files[index]) : std::nullopt;
    }
};

// The command, or the outcome that ends the run before any command: help, version, a usage error.
std::variant<Command, CliOutcome> parse(const std::vector<std::string>& argsIn)
{
    const CliOutcome help{0, usageText(), {}};
    const CliOutcome version{0, "quarn-cli " QUARN_VERSION "\n", {}};
    if (argsIn.empty())
        return usageError("kein Befehl angegeben");
    Command c;
    c.name = argsIn.front();
    if (c.name == "--help" || c.name == "-h")
        return help;
    if (c.name == "--version")
        return version;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < argsIn.size(); ++i) {
        const std::string& a = argsIn[i];
        if (optionsEnded || a == "-" || a.empty() || a[0] != '-')
            c.files.push_back(a);
        else if (a == "--")
            optionsEnded = true;
        else if (a == "--help" || a == "-h")
            return help;
        else if (a == "--version")
            return version;
        else if (a == "--digits" && c.name == "decipher")
            c.digitsOnly = true;
        else if (a == "--decipher" && c.name == "worksheet")
            c.decipherSheet = true;
        else if (a == "--umlauts" && (c.name == "encode" || c.name == "worksheet"))
            c.spellGermanLetters = true;
        else if (a == "-o" && (c.name == "pad" || c.name == "worksheet") && i + 1 < argsIn.size())
            c.outputFile = argsIn[++i];
        else if (a == "-o" && (c.name == "pad" || c.name == "worksheet"))
            return usageError("-o ohne Dateinamen");
        else
            return usageError("unbekannte Option " + shown(a));
    }
    return c;
}

// Standard output without -o or with "-"; else a new file that only its owner may read. An existing one is
// never replaced, whatever it holds.
CliOutcome written(CliOutcome outcome, const Command& c)
{
    if (!c.outputFile || *c.outputFile == "-")
        return outcome;
    const Result<> saved = DurableFile::write(nativePath(*c.outputFile), outcome.out, DurableFile::Existing::Refuse,
                                              DurableFile::Access::OwnerOnly);
    if (!saved) {
        Failure failure = saved.failure();
        if (failure.kind == Kind::FileExists)
            failure.kind = Kind::OutputExists;
        failure.file = shown(*c.outputFile);
        throw Failed(std::move(failure));
    }
    outcome.out.clear();
    return outcome;
}

// What is wrong with the files and options given to a command, if anything.
std::optional<std::string> argumentProblem(const Command& c)
{
    const bool withPad = c.name == "encipher" || c.name == "decipher" || c.name == "worksheet";
    if ((c.name == "encode" || c.name == "decode") && c.files.size() > 1)
        return "zu viele Argumente";
    if (c.name == "pad" && !c.files.empty())
        return "zu viele Argumente";
    if (!withPad)
        return std::nullopt;
    if (c.files.empty())
        return "OTPDATEI fehlt";
    if (c.files.size() > 2)
        return "zu viele Argumente";
    if (c.name == "worksheet" && !c.outputFile)
        return "-o fehlt";
    if (c.files[0] == "-" && (c.files.size() < 2 || c.files[1] == "-"))
        return "OTPDATEI und DATEI lesen nicht beide die Standardeingabe";
    return std::nullopt;
}

// What reading cut or doubted stands ahead of what the command itself says.
struct ReadText
{
    std::string text;
    std::string notices;
    std::string name;
};

ReadText readOnlyInput(const Command& c, const StandardInput& standardInput)
{
    Source source(c.file(0), standardInput);
    ReadText in;
    in.name = source.name();
    in.text = readInput(source, in.notices);
    return in;
}

CliOutcome encodeCommand(const Command& c, const StandardInput& standardInput)
{
    const ReadText in = readOnlyInput(c, standardInput);
    const EncoderInput text = plainText(in.text, c.spellGermanLetters);
    const GroupLayout layout = text.encode();
    return {0, layout.text + "\n",
            in.notices + line(text.notice()) + line(layout.limitReached ? Messages::codeCut() : "")};
}

CliOutcome decodeCommand(const Command& c, const StandardInput& standardInput)
{
    ReadText in = readOnlyInput(c, standardInput);
    std::string digits = codeDigits(in.text, in.name);
    // Decoding may triple the length ("84" is "-code-"), so nothing else is held meanwhile.
    in.text = std::string();
    std::string text = CodeDecoder::decode(digits);
    digits = std::string();
    return {0, text + "\n", in.notices};
}

CliOutcome padCommand(const Command& c, RandomSource& random)
{
    return written({0, PadGenerator::generate(random) + "\n", {}}, c);
}

// The pad and the text of encipher, decipher and worksheet.
struct PadAndText
{
    std::string pad;
    std::string text;
    std::string notices;
};

PadAndText padAndText(const Command& c, const StandardInput& standardInput, CipherDirection direction)
{
    Source padSource(c.files[0], standardInput);
    PadAndText in;
    in.pad = readPad(padSource, direction, in.notices);
    Source textSource(c.file(1), standardInput);
    in.text = readInput(textSource, in.notices);
    return in;
}

CliOutcome cipherCommand(const Command& c, const StandardInput& standardInput, CipherDirection direction)
{
    const PadAndText in = padAndText(c, standardInput, direction);
    const CipherInput groups = cipherInput(in.text);
    const PadCipherResult result = runCipher(groups, in.pad, direction);
    const std::string& text = direction == CipherDirection::Decode && !c.digitsOnly ? result.decoded : result.output;
    return {0, text + "\n", in.notices + line(groups.notice())};
}

// The worksheet of a message as PDF. In encode direction the text is read as `encode` reads it, in decode
// direction as `decipher` does, with the same notices and failures.
CliOutcome worksheetCommand(const Command& c, const StandardInput& standardInput, const WorksheetPdf& worksheetPdf)
{
    const CipherDirection direction = c.decipherSheet ? CipherDirection::Decode : CipherDirection::Encode;
    const PadAndText in = padAndText(c, standardInput, direction);
    std::string notices = in.notices;
    std::string input;
    if (!c.decipherSheet) {
        const EncoderInput text = plainText(in.text, c.spellGermanLetters);
        input = text.bytes();
        notices += line(text.notice());
    } else {
        const CipherInput groups = cipherInput(in.text);
        runCipher(groups, in.pad, CipherDirection::Decode);
        notices += line(groups.notice());
        input = groups.groups;
    }
    const Result<Worksheet> built = Worksheet::build(input, in.pad, direction);
    if (!built)
        throw Failed(built.failure());
    const Worksheet& sheet = *built;
    if (!c.decipherSheet && GroupFormatter::format(sheet.codeDigits).limitReached)
        notices += line(Messages::codeCut());
    Result<std::string> pdf = worksheetPdf(sheet);
    if (!pdf)
        throw Failed(pdf.failure());
    return written({0, std::move(pdf).value(), notices}, c);
}

CliOutcome run(const Command& c, RandomSource& random, const StandardInput& standardInput,
               const WorksheetPdf& worksheetPdf)
{
    if (const std::optional<std::string> problem = argumentProblem(c))
        return usageError(*problem);
    if (c.name == "encode")
        return encodeCommand(c, standardInput);
    if (c.name == "decode")
        return decodeCommand(c, standardInput);
    if (c.name == "pad")
        return padCommand(c, random);
    if (c.name == "encipher")
        return cipherCommand(c, standardInput, CipherDirection::Encode);
    if (c.name == "decipher")
        return cipherCommand(c, standardInput, CipherDirection::Decode);
    if (c.name == "worksheet")
        return worksheetCommand(c, standardInput, worksheetPdf);
    return usageError("unbekannter Befehl " + shown(c.name));
}

} // namespace

Result<std::size_t> readSome(std::FILE* stream, char* buffer, std::size_t size)
{
    errno = 0;
    const std::size_t got = std::fread(buffer, 1, size, stream);
    if (got == 0 && std::ferror(stream))
        return fileFailure(errno, {}, FileOperation::Reading);
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

CliOutcome runCli(const std::vector<std::string>& args, RandomSource& random, const StandardInput& standardInput,
                  const WorksheetPdf& worksheetPdf)
{
    const auto parsed = parse(args);
    if (const auto* outcome = std::get_if<CliOutcome>(&parsed))
        return *outcome;
    try {
        return run(std::get<Command>(parsed), random, standardInput, worksheetPdf);
    } catch (const Failed& failed) {
        return {ExitFailure, {}, "quarn-cli: " + line(failed.failure())};
    } catch (const std::exception& e) {
        return {ExitFailure, {}, std::string("quarn-cli: ") + e.what() + "\n"};
    }
}

} // namespace quarn::cli
