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
#include "Windows1252.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
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
        m_file.reset(std::fopen(path->c_str(), "rb"));
        if (!m_file)
            fail(reason(failureOf(errno, *path, FileOperation::Reading)));
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

// The input's bytes as they are, with one trailing line break dropped; more than MaxInputBytes fails.
std::string readInput(Source& source)
{
    std::string bytes;
    char buffer[65536];
    while (const std::size_t got = source.read(buffer, sizeof(buffer))) {
        if (bytes.size() + got > MaxInputBytes)
            source.fail("zu gro\xC3\x9F: mehr als 1 MiB");
        bytes.append(buffer, got);
    }
    bytes.resize(InputText::lengthWithoutFinalLineBreak(bytes));
    return bytes;
}

// Read as the window reads a pad (see PadFileText), and only as much as the pad needs.
std::string readPad(Source& source)
{
    PadFileText pad;
    // A failed read throws.
    pad.readFrom([&source](char* buffer, std::size_t size) { return std::ptrdiff_t(source.read(buffer, size)); });
    if (const std::string problem = PadFileText::problem(pad.text()); !problem.empty())
        source.fail(problem);
    return pad.text();
}

// A character the code page lacks stands in as '?', which the table passes over and the cipher refuses,
// as it would the character itself.
constexpr char StandIn = '?';

CliOutcome encode(const std::string& input, bool spellGermanLetters)
{
    std::u32string characters = InputText::characters(input);
    if (spellGermanLetters)
        characters = PassedOver::withGermanLettersSpelledOut(characters);
    // Upper case as the code page has it; a character outside the code page stays as it is.
    std::string text;
    text.reserve(characters.size());
    std::u32string passedOver;
    std::unordered_set<char32_t> named;
    for (const char32_t cp : characters) {
        const auto byte = Windows1252::fromUnicode(cp);
        const unsigned char upper = byte ? Windows1252::toUpper(*byte) : StandIn;
        text += static_cast<char>(upper);
        const char32_t shownAs = byte ? Windows1252::toUnicode(upper) : cp;
        if (!PassedOver::characters(std::u32string_view(&shownAs, 1)).empty() && named.insert(shownAs).second)
            passedOver += shownAs;
    }
    const GroupLayout layout = GroupFormatter::format(CodeEncoder::encode(text, GroupFormatter::MaxDigits));
    std::string err;
    if (!passedOver.empty())
        err += PassedOver::notice(passedOver) + "\n";
    if (layout.limitReached)
        err += "Ausgabe auf 500 Gruppen gek\xC3\xBCrzt!\n";
    return {0, layout.text + "\n", err};
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

CliOutcome cipher(const std::string& input, const std::string& pad, CipherDirection direction, bool digitsOnly)
{
    // The cipher reads no more than a pad's length of characters.
    std::u32string used;
    std::string groups;
    bool cut = false;
    InputText characters(input);
    while (!characters.atEnd()) {
        if (used.size() == PadCipher::PadLength) {
            cut = true;
            break;
        }
        const char32_t cp = characters.next();
        const auto byte = Windows1252::fromUnicode(cp);
        used += cp;
        groups += byte ? static_cast<char>(*byte) : StandIn;
    }
    const PadCipherResult result = PadCipher::run(groups, pad, direction);
    if (!result.completed) {
        // The failure names the character as the user gave it, not its stand-in.
        std::u32string message;
        for (const char c : withFullStop(result.failure))
            message += Windows1252::toUnicode(static_cast<unsigned char>(c));
        if (result.failureInGroups && message.size() > 1)
            message[1] = used[result.failurePosition];
        std::string text;
        for (const char32_t cp : message)
            text += PassedOver::readable(cp);
        throw Failure{text};
    }
    const std::string& text = direction == CipherDirection::Decode && !digitsOnly ? result.decoded : result.output;
    return {0, text + "\n", cut ? "Eingabe nach 100 Gruppen gek\xC3\xBCrzt!\n" : ""};
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
           "-o schreibt das OTP in eine neue Datei, nur für den Besitzer lesbar; eine bestehende bleibt.\n";
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
        } else if (a == "--umlauts" && command == "encode") {
            spellGermanLetters = true;
        } else if (a == "-o" && command == "pad") {
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
        if (command == "encode" || command == "decode") {
            if (args.size() > 1)
                return usageError("zu viele Argumente");
            Source source(optionalFile(0), standardInput);
            std::string input = readInput(source);
            if (command == "encode")
                return encode(input, spellGermanLetters);
            return decode(std::move(input), source.name());
        }
        if (command == "pad") {
            if (!args.empty())
                return usageError("zu viele Argumente");
            const std::string pad = PadGenerator::generate(random) + "\n";
            if (!outputFile || *outputFile == "-")
                return {0, pad, {}};
            // A new file only, for its owner alone; an existing one is never replaced, whatever it holds.
            const FileFailure failure =
                DurableFile::write(*outputFile, pad, DurableFile::Existing::Refuse, DurableFile::Access::OwnerOnly);
            if (failure == FileFailure::Exists)
                throw Failure{shown(*outputFile) + ": " + reason(failure) +
                              "; ein OTP wird nie \xC3\xBC"
                              "berschrieben"};
            if (failure != FileFailure::None)
                throw Failure{shown(*outputFile) + ": " + reason(failure)};
            return {0, {}, {}};
        }
        if (command == "encipher" || command == "decipher") {
            if (args.empty())
                return usageError("OTPDATEI fehlt");
            if (args.size() > 2)
                return usageError("zu viele Argumente");
            if (args[0] == "-" && (args.size() < 2 || args[1] == "-"))
                return usageError("OTPDATEI und DATEI lesen nicht beide die Standardeingabe");
            Source padSource(args[0], standardInput);
            const std::string pad = readPad(padSource);
            Source groupsSource(optionalFile(1), standardInput);
            const std::string groups = readInput(groupsSource);
            const auto direction = command == "encipher" ? CipherDirection::Encode : CipherDirection::Decode;
            return cipher(groups, pad, direction, digitsOnly);
        }
    } catch (const Failure& failure) {
        return {ExitFailure, {}, "quarn-cli: " + failure.message + "\n"};
    } catch (const std::exception& e) {
        return {ExitFailure, {}, std::string("quarn-cli: ") + e.what() + "\n"};
    }
    return usageError("unbekannter Befehl " + shown(command));
}

} // namespace quarn::cli
