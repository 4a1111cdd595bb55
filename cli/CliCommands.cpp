#include "CliCommands.h"

#include "CodeDecoder.h"
#include "CodeEncoder.h"
#include "GroupFormatter.h"
#include "PadCipher.h"
#include "PadGenerator.h"
#include "Windows1252.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

namespace quarn::cli {

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
constexpr char CtrlZ = 26;

struct Failure
{
    std::string message;
};

std::string systemReason()
{
    return errno != 0 ? std::strerror(errno) : "unbekannter Fehler";
}

std::ifstream openFile(const std::string& path)
{
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw Failure{path + ": " + systemReason()};
    return file;
}

std::string readAll(std::istream& in, const std::string& name)
{
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw Failure{name + ": Lesefehler"};
    return bytes;
}

// FILE or standard input, bytes as they are, with one trailing line break dropped.
std::string readInput(const std::optional<std::string>& path, std::istream& standardInput)
{
    std::string bytes;
    if (path) {
        std::ifstream file = openFile(*path);
        bytes = readAll(file, *path);
    } else {
        bytes = readAll(standardInput, "Standardeingabe");
    }
    if (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0)
        bytes.resize(bytes.size() - 2);
    else if (!bytes.empty() && bytes.back() == '\n')
        bytes.pop_back();
    return bytes;
}

// Up to the end or a Ctrl-Z, as the window reads a pad. A byte 0 is dropped; unlike the window's load, it
// does not count toward the 600 characters, so a script gets a whole pad whenever the file holds one.
std::string readPad(const std::string& path)
{
    std::ifstream file = openFile(path);
    std::string pad;
    char c;
    while (pad.size() < PadCipher::PadLength && file.get(c)) {
        if (c == CtrlZ)
            break;
        if (c != '\0')
            pad += c;
    }
    if (file.bad())
        throw Failure{path + ": Lesefehler"};
    if (pad.size() < PadCipher::PadLength)
        throw Failure{path + ": das OTP hat nur " + std::to_string(pad.size()) + " statt 600 Zeichen"};
    return pad;
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
           "Ohne DATEI wird die Standardeingabe gelesen. Ein abschließender Zeilenumbruch der Eingabe\n"
           "wird entfernt; die Ausgabe endet mit einem LF. Texte sind Windows-1252-Bytes.\n"
           "--digits gibt statt des Textes die dechiffrierten Ziffern in Fünfergruppen aus.\n";
}

CliOutcome runCli(const std::vector<std::string>& argsIn, RandomSource& random, std::istream& standardInput)
{
    std::vector<std::string> args = argsIn;
    if (args.empty())
        return usageError("kein Befehl angegeben");
    for (const auto& a : args) {
        if (a == "--help" || a == "-h")
            return {0, usageText(), {}};
    }

    const std::string command = args.front();
    args.erase(args.begin());
    bool digitsOnly = false;
    if (command == "decipher" && !args.empty() && args.front() == "--digits") {
        digitsOnly = true;
        args.erase(args.begin());
    }
    for (const auto& a : args) {
        if (a.size() > 1 && a[0] == '-')
            return usageError("unbekannte Option " + a);
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
            const std::string pad = readPad(args[0]);
            const std::string groups = readInput(optionalFile(1), standardInput);
            const auto direction = command == "encipher" ? CipherDirection::Encode : CipherDirection::Decode;
            const PadCipherResult result = PadCipher::run(groups, pad, direction);
            if (!result.completed)
                throw Failure{Windows1252::toUtf8(withFullStop(result.failure))};
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
