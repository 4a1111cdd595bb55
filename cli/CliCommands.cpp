#include "CliCommands.h"

#include "CodeDecoder.h"
#include "CodeEncoder.h"
#include "GroupFormatter.h"
#include "PadCipher.h"
#include "PadFileText.h"
#include "PadGenerator.h"
#include "Windows1252.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>

namespace quarn::cli {

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

struct Failure
{
    std::string message;
};

// The reason in the user's language where it is a common one; the system's own text otherwise.
std::string systemReason(int error)
{
    switch (error) {
    case 0:
        return "unbekannter Fehler";
    case ENOENT:
        return "Datei nicht gefunden";
    case EACCES:
    case EPERM:
        return "Zugriff verweigert";
    case EISDIR:
        return "ist ein Ordner";
    case ENOTDIR:
        return "Ordner nicht gefunden";
    default:
        return std::strerror(error);
    }
}

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FilePtr openForReading(const std::string& path)
{
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        throw Failure{path + ": " + systemReason(errno)};
    return file;
}

std::string readFile(const std::string& path)
{
    const FilePtr file = openForReading(path);
    try {
        return readAll(file.get());
    } catch (const std::runtime_error& e) {
        throw Failure{path + ": " + e.what()};
    }
}

// "-" names standard input, as with most command-line tools.
std::string readSource(const std::optional<std::string>& path, const StandardInput& standardInput)
{
    if (!path || *path == "-") {
        try {
            return standardInput();
        } catch (const std::exception& e) {
            throw Failure{std::string("Standardeingabe: ") + e.what()};
        }
    }
    return readFile(*path);
}

// FILE or standard input, bytes as they are, with one trailing line break dropped.
std::string readInput(const std::optional<std::string>& path, const StandardInput& standardInput)
{
    std::string bytes = readSource(path, standardInput);
    if (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0)
        bytes.resize(bytes.size() - 2);
    else if (!bytes.empty() && bytes.back() == '\n')
        bytes.pop_back();
    return bytes;
}

// Read as the window reads a pad (see PadFileText), and only as much of a file as the pad needs.
std::string readPad(const std::string& path, const StandardInput& standardInput)
{
    PadFileText pad;
    if (path == "-") {
        pad.feed(readSource(path, standardInput));
    } else {
        const FilePtr file = openForReading(path);
        char buffer[PadFileText::PadLength];
        while (const std::size_t wanted = pad.wanted()) {
            const std::size_t got = std::fread(buffer, 1, wanted, file.get());
            if (got == 0 || !pad.feed(std::string_view(buffer, got)))
                break;
        }
        if (std::ferror(file.get()))
            throw Failure{path + ": " + systemReason(errno)};
    }
    if (const std::string problem = PadFileText::problem(pad.text()); !problem.empty())
        throw Failure{(path == "-" ? std::string("Standardeingabe") : path) + ": " + problem};
    return pad.text();
}

// A failure names the character that is not a digit; control characters, and the five bytes Windows-1252
// leaves undefined, are written out so that the message stays one readable line.
std::string visibleCharacters(const std::string& text)
{
    static const char* const hex = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (u < 0x20 || u == 0x7F || u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D)
            out += std::string("\\x") + hex[u >> 4] + hex[u & 15];
        else
            out += c;
    }
    return out;
}

// The error box's rule: a full stop after a message whose last character sorts after it.
std::string withFullStop(std::string message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

CliOutcome usageError(const std::string& why)
{
    return {ExitUsage, {}, "quarn-cli: " + why + "\n" + usageText()};
}

} // namespace

std::string readAll(std::FILE* stream)
{
    errno = 0;
    std::string bytes;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), stream)) > 0)
        bytes.append(buffer, got);
    if (std::ferror(stream))
        throw std::runtime_error(systemReason(errno));
    return bytes;
}

std::string usageText()
{
    return "Aufruf:\n"
           "  quarn-cli encode [DATEI]                   Klartext in Fünfergruppen kodieren\n"
           "  quarn-cli decode [DATEI]                   Ziffernfolge in Text dekodieren\n"
           "  quarn-cli pad                              neues OTP (100 Fünfergruppen) ausgeben\n"
           "  quarn-cli encipher OTPDATEI [DATEI]        Fünfergruppen mit dem OTP chiffrieren\n"
           "  quarn-cli decipher [--digits] OTPDATEI [DATEI]\n"
           "                                             Chiffrat dechiffrieren und dekodieren\n"
           "  quarn-cli --help                           diese Hilfe\n"
           "\n"
           "Ohne DATEI oder mit - wird die Standardeingabe gelesen (mit - als OTPDATEI das OTP). Ein\n"
           "abschließender Zeilenumbruch der Eingabe wird entfernt; die Ausgabe endet mit einem LF. Texte sind\n"
           "Windows-1252-Bytes. -- beendet die Optionen.\n"
           "--digits gibt statt des Textes die dechiffrierten Ziffern in Fünfergruppen aus.\n";
}

CliOutcome runCli(const std::vector<std::string>& argsIn, RandomSource& random, const StandardInput& standardInput)
{
    if (argsIn.empty())
        return usageError("kein Befehl angegeben");
    const std::string command = argsIn.front();
    if (command == "--help" || command == "-h")
        return {0, usageText(), {}};

    // Options may stand anywhere after the command; "--" ends them, so a file may start with "-".
    std::vector<std::string> args;
    bool digitsOnly = false;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < argsIn.size(); ++i) {
        const std::string& a = argsIn[i];
        if (optionsEnded || a == "-" || a.empty() || a[0] != '-') {
            args.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help" || a == "-h") {
            return {0, usageText(), {}};
        } else if (a == "--digits" && command == "decipher") {
            digitsOnly = true;
        } else {
            return usageError("unbekannte Option " + a);
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
            const std::string input = readInput(optionalFile(0), standardInput);
            if (command == "decode")
                return {0, CodeDecoder::decode(input) + "\n", {}};
            const GroupLayout layout = GroupFormatter::format(CodeEncoder::encode(Windows1252::toUpper(input)));
            std::string err;
            if (layout.limitReached)
                err = "Ausgabe auf 500 Gruppen gekürzt!\n";
            return {0, layout.text + "\n", err};
        }
        if (command == "pad") {
            if (!args.empty())
                return usageError("zu viele Argumente");
            return {0, PadGenerator::generate(random) + "\n", {}};
        }
        if (command == "encipher" || command == "decipher") {
            if (args.empty())
                return usageError("OTPDATEI fehlt");
            if (args.size() > 2)
                return usageError("zu viele Argumente");
            if (args[0] == "-" && (args.size() < 2 || args[1] == "-"))
                return usageError("OTPDATEI und DATEI lesen nicht beide die Standardeingabe");
            const std::string pad = readPad(args[0], standardInput);
            const std::string groups = readInput(optionalFile(1), standardInput);
            const auto direction = command == "encipher" ? CipherDirection::Encode : CipherDirection::Decode;
            const PadCipherResult result = PadCipher::run(groups, pad, direction);
            if (!result.completed)
                throw Failure{Windows1252::toUtf8(visibleCharacters(withFullStop(result.failure)))};
            const std::string& text =
                direction == CipherDirection::Decode && !digitsOnly ? result.decoded : result.output;
            return {0, text + "\n", {}};
        }
    } catch (const Failure& failure) {
        return {ExitFailure, {}, "quarn-cli: " + failure.message + "\n"};
    } catch (const std::exception& e) {
        return {ExitFailure, {}, std::string("quarn-cli: ") + e.what() + "\n"};
    }
    return usageError("unbekannter Befehl " + command);
}

} // namespace quarn::cli
