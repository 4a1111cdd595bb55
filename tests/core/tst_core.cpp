// The code book, pad and command-line cases without Qt, so they also run where QTest is not available:
// the Windows build runs this under wine, which exercises BCryptGenRandom, CR LF and Windows-1252 files.
// Prints one line per failure and closes with "N passed, N failed".
#include "CliCommands.h"
#include "CodeDecoder.h"
#include "CodeEncoder.h"
#include "GroupFormatter.h"
#include "InputText.h"
#include "PadCipher.h"
#include "PadGenerator.h"
#include "Sha256.h"
#include "Windows1252.h"
#include "cases/CliCases.h"
#include "cases/CodebookCases.h"
#include "cases/CodebookProperties.h"
#include "cases/FlowCases.h"
#include "cases/PadCases.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

using namespace quarn;

namespace {

int g_passed = 0;
int g_failed = 0;

// Bytes as C escapes, so a failure shows CR LF and Windows-1252 bytes plainly.
std::string shown(std::string_view s)
{
    std::string out = "\"";
    for (const char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && c != '"' && c != '\\') {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "\\x%02X", b);
            out += hex;
        }
    }
    return out + "\"";
}

void check(bool ok, std::string_view suite, std::string_view name, const std::string& detail = {})
{
    if (ok) {
        ++g_passed;
        return;
    }
    ++g_failed;
    std::printf("FAIL %.*s: %.*s%s%s\n", int(suite.size()), suite.data(), int(name.size()), name.data(),
                detail.empty() ? "" : ": ", detail.c_str());
}

void checkEqual(std::string_view got, std::string_view want, std::string_view suite, std::string_view name)
{
    check(got == want, suite, name, "got " + shown(got) + ", want " + shown(want));
}

void codebookTables()
{
    for (const auto& c : cases::EncoderCases)
        checkEqual(CodeEncoder::encode(c.input), c.expected, "encoder", c.name);
    for (const auto& c : cases::DecoderCases)
        checkEqual(CodeDecoder::decode(c.input), c.expected, "decoder", c.name);
    for (const auto& c : cases::UpperCaseCases)
        checkEqual(Windows1252::toUpper(c.input), c.expected, "upper case", c.name);
    for (const auto& c : cases::InputTextCases)
        check(InputText::characters(c.bytes, c.cutShort) == c.characters, "input text", c.name);
}

void randomTextsRoundTrip()
{
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ .:,-/()+=\"0123456789RPTRPTBECHUNGE\xC4\xDF!a\r\n";
    std::mt19937 rng(20261208);
    bool allDigits = true;
    bool allBack = true;
    std::string firstBad;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int i = int(rng() % 120); i > 0; --i)
            text += alphabet[rng() % alphabet.size()];
        const std::string digits = CodeEncoder::encode(text);
        allDigits = allDigits && digits.find_first_not_of("0123456789") == std::string::npos;
        if (CodeDecoder::decode(digits) != cases::expectedRoundTrip(text) && allBack) {
            allBack = false;
            firstBad = shown(text);
        }
    }
    check(allDigits, "round trip", "the encoder writes digits only");
    check(allBack, "round trip", "decoding gives back the table characters", firstBad);
}

void cipherTables()
{
    for (const auto& c : cases::CipherCases) {
        const auto result = PadCipher::run(c.groups, cases::padText(c.pad),
                                           c.decode ? CipherDirection::Decode : CipherDirection::Encode);
        check(!result.failure, "cipher", c.name, cases::failureText(result.failure));
        checkEqual(result.output, c.output, "cipher", c.name);
    }
    for (const auto& c : cases::WorksheetCases) {
        const std::string problem = cases::worksheetProblem(c);
        check(problem.empty(), "worksheet", c.name, problem);
    }
    for (const auto& c : cases::CipherFailureCases) {
        for (const auto direction : {CipherDirection::Encode, CipherDirection::Decode}) {
            const auto result = PadCipher::run(c.groups, cases::padText(c.pad), direction);
            check(result.failure.has_value(), "cipher failure", c.name, "completed");
            checkEqual(cases::failureText(result.failure), c.message, "cipher failure", c.name);
            checkEqual(result.output, c.partial, "cipher failure", c.name);
        }
    }
}

bool isPadText(const std::string& pad)
{
    if (pad.size() != PadGenerator::PadLength)
        return false;
    std::set<std::string> groups;
    for (std::size_t i = 0; i < pad.size(); i += 6) {
        const std::string group = pad.substr(i, 5);
        if (pad[i + 5] != ' ' || group.find_first_not_of("0123456789") != std::string::npos || group == "99999" ||
            !groups.insert(group).second)
            return false;
    }
    return true;
}

// The system's generator: getrandom here, BCryptGenRandom on Windows.
void systemPads()
{
    SystemRandomSource source;
    std::array<int, 10> digitCounts{};
    std::set<std::string> pads;
    const int padCount = 400;
    bool allPads = true;
    for (int p = 0; p < padCount; ++p) {
        const std::string pad = PadGenerator::generate(source);
        allPads = allPads && isPadText(pad);
        for (const char c : pad) {
            if (c != ' ')
                ++digitCounts[c - '0'];
        }
        pads.insert(pad);
    }
    check(allPads, "system pads", "every pad is 100 distinct groups below 99999");
    check(int(pads.size()) == padCount, "system pads", "pads made one after the other differ");
    // Chi-square over the ten digits, 9 degrees of freedom: 27.88 is the 0.1 % point.
    const double expected = padCount * 500 / 10.0;
    double chi2 = 0;
    for (const int count : digitCounts)
        chi2 += (count - expected) * (count - expected) / expected;
    check(chi2 < 27.88, "system pads", "digits are uniform", "chi-square " + std::to_string(chi2));

    // Enciphering then deciphering with a fresh pad gives the text back, also beyond 255 digits.
    std::mt19937 rng(99);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ .,:-0123456789RPTCH";
    bool allBack = true;
    for (int round = 0; round < 100 && allBack; ++round) {
        std::string text;
        for (int i = 1 + int(rng() % 100); i > 0; --i)
            text += alphabet[rng() % alphabet.size()];
        const std::string groups = GroupFormatter::format(CodeEncoder::encode(text)).text;
        const std::string pad = PadGenerator::generate(source);
        const auto there = PadCipher::run(groups, pad, CipherDirection::Encode);
        const auto back = PadCipher::run(there.output, pad, CipherDirection::Decode);
        allBack = !there.failure && !back.failure && back.output == groups &&
                  back.decoded == CodeDecoder::decode(CodeEncoder::encode(text));
    }
    check(allBack, "system pads", "encipher then decipher gives the text back");
}

// No case here gets as far as the worksheet's PDF, which takes Qt.
std::string noPdf(const Worksheet&)
{
    return {};
}

cli::StandardInput input(std::string_view bytes)
{
    return [text = std::string(bytes), pos = std::size_t(0)](char* buffer, std::size_t size) mutable {
        const std::size_t n = text.copy(buffer, size, pos);
        pos += n;
        return n;
    };
}

// The command-line cases, run in-process in a fresh folder holding the case files.
void cliTables()
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("quarn-core-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    for (const auto& [name, content] : cases::cliFiles()) {
        std::ofstream file(name, std::ios::binary);
        file.write(content.data(), std::streamsize(content.size()));
    }
    SystemRandomSource random;
    for (const auto& c : cases::CliCases) {
        const auto outcome = cli::runCli(cases::splitArgs(c.args), random, input(c.input), noPdf);
        check(outcome.exitCode == c.exitCode, "cli", c.name, "exit code " + std::to_string(outcome.exitCode));
        checkEqual(outcome.out, c.out, "cli", c.name);
        check(cases::errMatches(c, outcome.err), "cli", c.name, "standard error " + shown(outcome.err));
    }

    // A pad written by the tool, saved with CR LF as a Windows editor would, serves both directions.
    const std::string pad = cli::runCli({"pad"}, random, input(""), noPdf).out;
    {
        std::ofstream file("fresh.OTP", std::ios::binary);
        file << pad.substr(0, 600) << "\r\n";
    }
    const std::string groups = cli::runCli({"encode"}, random, input("Treffpunkt 12.30 Uhr am Tor\r\n"), noPdf).out;
    const auto enciphered = cli::runCli({"encipher", "fresh.OTP"}, random, input(groups), noPdf);
    const auto deciphered = cli::runCli({"decipher", "fresh.OTP"}, random, input(enciphered.out), noPdf);
    check(enciphered.exitCode == 0 && enciphered.out != groups, "cli", "encipher with a fresh pad file");
    checkEqual(deciphered.out, "TREFFPUNKT 12.30 UHR AM TOR\n", "cli", "decipher with a fresh pad file");

    fs::current_path(before);
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

} // namespace

// The pad history's digest, fed in pieces that straddle the 64-byte blocks.
void digests()
{
    for (const auto& c : cases::DigestCases) {
        Sha256 sha;
        for (int i = 0; i < c.times; ++i)
            sha.add(c.text);
        std::string hex;
        for (const std::uint8_t b : sha.finish()) {
            char two[3];
            std::snprintf(two, sizeof(two), "%02x", b);
            hex += two;
        }
        checkEqual(hex, c.hex, "sha-256", c.name);
    }
}

void flowTables()
{
    for (const auto& [name, problem] : cases::flowProblems())
        check(problem.empty(), "flow", name, problem);
}

int main()
{
    codebookTables();
    flowTables();
    randomTextsRoundTrip();
    cipherTables();
    digests();
    systemPads();
    cliTables();
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
