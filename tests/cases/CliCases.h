#pragma once

// Command-line cases shared by the test that drives quarn-cli and the Qt-free runner.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarn::cases {

using namespace std::string_view_literals;

// The files the cases name, written into a fresh folder first.
inline std::vector<std::pair<std::string, std::string>> cliFiles()
{
    std::string zeros;
    for (int i = 0; i < 100; ++i)
        zeros += "00000 ";
    return {
        {"zero.OTP", zeros + "\r\n"},
        {"short.OTP", zeros.substr(0, 599)},
        {"ctrlz.OTP", zeros.substr(0, 300) + '\x1A' + zeros},
        // Not "nul.OTP": NUL is a device name on Windows, whatever the extension.
        {"nullbyte.OTP", std::string("0\0", 2) + zeros.substr(1)},
        {"plain.txt", "Abc\r\n"},
        // Windows-1252 text with CR LF line ends, as an editor on Windows saves it.
        {"umlaut.txt", "gr\xFC\xDF"
                       "e\r\n\xC4rger\r\n"},
        {"digits.crp", "8011\r\n"},
        {"-dash.crp", "85"},
    };
}

struct CliCase
{
    std::string_view name;
    std::string_view args; // separated by single blanks; no argument holds one
    std::string_view input;
    int exitCode;
    std::string_view out;
};

inline std::vector<std::string> splitArgs(std::string_view args)
{
    std::vector<std::string> out;
    while (!args.empty()) {
        const auto blank = args.find(' ');
        out.emplace_back(args.substr(0, blank));
        args = blank == std::string_view::npos ? std::string_view() : args.substr(blank + 1);
    }
    return out;
}

inline constexpr std::array CliCases{
    CliCase{"encode a file, its line break dropped, letters upper-cased", "encode plain.txt", "", 0, "05052 \n"},
    CliCase{"encode standard input; sharp s stays and is passed over", "encode",
            "stra\xDF"
            "e\n",
            0, "69704 01\n"},
    CliCase{"encode a Windows-1252 file with CR LF: umlauts and line breaks are passed over", "encode umlaut.txt", "",
            0, "57414 584\n"},
    CliCase{"only one trailing line break is dropped", "decode", "8011\n\n", 0, "\r\nEE\n"},
    CliCase{"decode keeps a CR LF line break", "decode", "8011\r\n", 0, "\r\nEE\n"},
    CliCase{"decode a file ending in CR LF", "decode digits.crp", "", 0, "\r\nEE\n"},
    CliCase{"encode of nothing is an empty line", "encode", "\xE4\xF6\xFC", 0, "\n"},
    CliCase{"decipher with the zero pad", "decipher zero.OTP", "08211 81835 0", 0, "A1 B\n"},
    CliCase{"decipher --digits prints the output groups", "decipher --digits zero.OTP", "08211 81835 0", 0,
            "08211 81835 0\n"},
    CliCase{"a byte 0 in the pad never reaches it", "encipher nullbyte.OTP", "11111", 0, "11111 \n"},
    CliCase{"a non-digit fails with nothing on standard output", "encipher zero.OTP", "1234567", 1, ""},
    CliCase{"a short pad fails", "encipher short.OTP", "11111", 1, ""},
    CliCase{"a Ctrl-Z ends the pad file", "decipher ctrlz.OTP", "11111", 1, ""},
    CliCase{"a missing pad file fails", "encipher none.OTP", "11111", 1, ""},
    CliCase{"a missing input file fails", "encode none.txt", "", 1, ""},
    CliCase{"no command is wrong usage", "", "", 2, ""},
    CliCase{"an unknown command is wrong usage", "frobnicate", "", 2, ""},
    CliCase{"encipher without a pad file is wrong usage", "encipher", "", 2, ""},
    CliCase{"an unknown option is wrong usage", "decode --fast", "", 2, ""},
    CliCase{"too many files are wrong usage", "decode a b", "", 2, ""},
    CliCase{"a folder as the input file fails", "encode .", "", 1, ""},
    CliCase{"a folder as the pad file fails", "encipher . digits.crp", "", 1, ""},
    CliCase{"a dash reads standard input", "encode -", "abc", 0, "05052 \n"},
    CliCase{"--digits may follow the pad file", "decipher zero.OTP --digits", "08211 81835 0", 0, "08211 81835 0\n"},
    CliCase{"a double dash lets a file name start with a dash", "decode -- -dash.crp", "", 0, "rpt\n"},
    CliCase{"--digits belongs to decipher only", "encipher --digits zero.OTP", "11111", 2, ""},
    CliCase{"pad and groups cannot both come from standard input", "encipher -", "11111", 2, ""},
};

} // namespace quarn::cases
