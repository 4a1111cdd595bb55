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
    std::string counting; // 00000 00001 ... 00099: no group repeats
    for (int i = 0; i < 100; ++i) {
        zeros += "00000 ";
        counting += "000" + std::string(1, char('0' + i / 10)) + char('0' + i % 10) + ' ';
    }
    return {
        {"zero.OTP", zeros + "\r\n"},
        {"count.OTP", counting + "\r\n"},
        // As the window shows a pad and a person types it from paper: ten lines of ten groups.
        {"lines.OTP",
         [&counting] {
             std::string out;
             for (std::size_t line = 0; line < 10; ++line)
                 out += counting.substr(line * 60, 59) + "\r\n";
             return out;
         }()},
        {"short.OTP", zeros.substr(0, 599)},
        {"ctrlz.OTP", zeros.substr(0, 300) + '\x1A' + zeros},
        // Not "nul.OTP": NUL is a device name on Windows, whatever the extension.
        {"nullbyte.OTP", std::string("0\0", 2) + counting.substr(1)},
        {"plain.txt", "Abc\r\n"},
        // Windows-1252 text with CR LF line ends, as an editor on Windows saves it.
        {"umlaut.txt", "gr\xFC\xDF"
                       "e\r\n\xC4rger\r\n"},
        // The same text as a Linux editor saves it, in UTF-8.
        {"umlaut-utf8.txt", "gr\xC3\xBC\xC3\x9F"
                            "e\r\n\xC3\x84rger\r\n"},
        {"digits.crp", "8011\r\n"},
        {"bad.crp", "123,4"},
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
    std::string_view err; // standard error exactly; with exit code 2 only its start (the usage follows)
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

inline bool errMatches(const CliCase& c, std::string_view err)
{
    return c.exitCode == 2 ? err.substr(0, c.err.size()) == c.err : err == c.err;
}

inline constexpr std::array CliCases{
    CliCase{"encode a file, its line break dropped, letters upper-cased", "encode plain.txt", "", 0, "05052 \n", ""},
    CliCase{"encode standard input; sharp s stays and is passed over", "encode",
            "stra\xDF"
            "e\n",
            0, "69704 01\n",
            "Nicht in der Quarn-Tafel, daher \xC3\xBC"
            "bergangen: \xC3\x9F\n"},
    CliCase{"encode --umlauts writes them as AE, OE, UE and SS; only the line breaks are left to name",
            "encode --umlauts umlaut.txt", "", 0, "57472 16969 10145 84\n",
            "Nicht in der Quarn-Tafel, daher \xC3\xBC"
            "bergangen: Zeilenumbruch\n"},
    CliCase{"encode a Windows-1252 file with CR LF: umlauts and line breaks are passed over and named",
            "encode umlaut.txt", "", 0, "57414 584\n",
            "Nicht in der Quarn-Tafel, daher \xC3\xBC"
            "bergangen: \xC3\x9C, \xC3\x9F, Zeilenumbruch, \xC3\x84\n"},
    CliCase{"the same text in UTF-8 gives the same groups and the same notice", "encode umlaut-utf8.txt", "", 0,
            "57414 584\n",
            "Nicht in der Quarn-Tafel, daher \xC3\xBC"
            "bergangen: \xC3\x9C, \xC3\x9F, Zeilenumbruch, \xC3\x84\n"},
    CliCase{"Windows-1252 bytes that form valid UTF-8 are read as UTF-8", "encode",
            "A\xC3\xBC"
            "E",
            0, "01\n",
            "Nicht in der Quarn-Tafel, daher \xC3\xBC"
            "bergangen: \xC3\x9C\n"},
    CliCase{"one byte that is not UTF-8 makes all of the input Windows-1252", "encode",
            "A\xC3\xBC"
            "E\xFC",
            0, "01\n",
            "Nicht in der Quarn-Tafel, daher \xC3\xBC"
            "bergangen: \xC3\x83 \xC2\xBC \xC3\x9C\n"},
    CliCase{"a character the code page lacks parts a digraph like any passed-over character", "encode",
            "C\xE2\x86\x92H", 0, "5259\n",
            "Nicht in der Quarn-Tafel, daher \xC3\xBC"
            "bergangen: \xE2\x86\x92\n"},
    CliCase{"a character beyond the basic plane is passed over and named", "encode",
            "a\xF0\x9F\x98\x80"
            "e",
            0, "01\n",
            "Nicht in der Quarn-Tafel, daher \xC3\xBC"
            "bergangen: \xF0\x9F\x98\x80\n"},
    CliCase{"only one trailing line break is dropped", "decode", "8011\n\n", 0, "\r\nEE\n", ""},
    CliCase{"decode keeps a CR LF line break", "decode", "8011\r\n", 0, "\r\nEE\n", ""},
    CliCase{"decode a file ending in CR LF", "decode digits.crp", "", 0, "\r\nEE\n", ""},
    CliCase{"decode reads the groups encode writes", "decode", "08211 81835 0\n", 0, "A1 B\n", ""},
    CliCase{"tabs and line breaks between digits are layout too", "decode", "\t0821\t1\r\n81835\n0 ", 0, "A1 B\n", ""},
    CliCase{"decode names a letter and its place", "decode", "0821 1a", 1, "",
            "quarn-cli: Standardeingabe: das 7. Zeichen 'a' ist keine Ziffer\n"},
    CliCase{"decode names a UTF-8 umlaut as one character", "decode",
            "12\xC3\xA4"
            "3",
            1, "", "quarn-cli: Standardeingabe: das 3. Zeichen '\xC3\xA4' ist keine Ziffer\n"},
    CliCase{"decode names a Windows-1252 umlaut the same way", "decode", "12\xE4", 1, "",
            "quarn-cli: Standardeingabe: das 3. Zeichen '\xC3\xA4' ist keine Ziffer\n"},
    CliCase{"decode writes a control character out", "decode", "1\x1B[0m", 1, "",
            "quarn-cli: Standardeingabe: das 2. Zeichen '\\x1B' ist keine Ziffer\n"},
    CliCase{"decode names the file the character is in", "decode bad.crp", "", 1, "",
            "quarn-cli: bad.crp: das 4. Zeichen ',' ist keine Ziffer\n"},
    CliCase{"encode of nothing is an empty line", "encode", "\xE4\xF6\xFC", 0, "\n",
            "Nicht in der Quarn-Tafel, daher \xC3\xBC"
            "bergangen: \xC3\x84 \xC3\x96 \xC3\x9C\n"},
    CliCase{"decipher with the zero pad names its repeated groups", "decipher zero.OTP", "08211 81835 0", 0, "A1 B\n",
            "zero.OTP enth\xC3\xA4lt 99 doppelte Gruppen und ist daher kein zuf\xC3\xA4lliges OTP\n"},
    CliCase{"decipher --digits prints the output groups", "decipher --digits zero.OTP", "08211 81835 0", 0,
            "08211 81835 0\n",
            "zero.OTP enth\xC3\xA4lt 99 doppelte Gruppen und ist daher kein zuf\xC3\xA4lliges OTP\n"},
    CliCase{"encipher refuses a pad whose groups repeat", "encipher zero.OTP", "11111", 1, "",
            "quarn-cli: zero.OTP: enth\xC3\xA4lt 99 doppelte Gruppen und ist daher kein zuf\xC3\xA4lliges OTP; damit "
            "wird nicht chiffriert\n"},
    CliCase{"a Ctrl-Z ends the input and says how much it cut", "encode",
            "AB\x1A"
            "CD",
            0, "050\n",
            "Standardeingabe: Strg-Z (Zeichen 26) beendet den Text: nur 2 von 5 Zeichen \xC3\xBC"
            "bernommen.\n"},
    CliCase{"a ten-line pad deciphers", "decipher --digits lines.OTP", "11111", 0, "11111 \n", ""},
    CliCase{"a byte 0 in the pad never reaches it", "encipher nullbyte.OTP", "11111", 0, "11111 \n", ""},
    CliCase{"a non-digit fails with nothing on standard output", "encipher count.OTP", "1234567", 1, "",
            "quarn-cli: ' ' ist kein g\xC3\xBCltiger Integerwert.\n"},
    CliCase{"a deciphering failure names a character the code page lacks", "decipher zero.OTP",
            "12\xE2\x86\x92"
            "45",
            1, "", "quarn-cli: '\xE2\x86\x92' ist kein g\xC3\xBCltiger Integerwert.\n"},
    CliCase{"a deciphering failure names a UTF-8 umlaut", "decipher zero.OTP",
            "12345 \xC3\xBC"
            "1",
            1, "", "quarn-cli: '\xC3\xBC' ist kein g\xC3\xBCltiger Integerwert.\n"},
    CliCase{"a short pad fails", "encipher short.OTP", "11111", 1, "",
            "quarn-cli: short.OTP: das OTP hat nur 599 statt 600 Zeichen\n"},
    CliCase{"a Ctrl-Z ends the pad file", "decipher ctrlz.OTP", "11111", 1, "",
            "quarn-cli: ctrlz.OTP: das OTP hat nur 300 statt 600 Zeichen\n"},
    CliCase{"a missing pad file fails", "encipher none.OTP", "11111", 1, "",
            "quarn-cli: none.OTP: Datei nicht gefunden\n"},
    CliCase{"a missing input file fails", "encode none.txt", "", 1, "", "quarn-cli: none.txt: Datei nicht gefunden\n"},
    CliCase{"a missing folder of the input file is named as the window names it", "encode none/x.txt", "", 1, "",
            "quarn-cli: none/x.txt: Ordner nicht gefunden\n"},
    CliCase{"a missing folder of the pad file is named too", "encipher none/x.OTP", "11111", 1, "",
            "quarn-cli: none/x.OTP: Ordner nicht gefunden\n"},
    CliCase{"no command is wrong usage", "", "", 2, "", "quarn-cli: kein Befehl angegeben\nAufruf:"},
    CliCase{"an unknown command is wrong usage", "frobnicate", "", 2, "", "quarn-cli: unbekannter Befehl frobnicate\n"},
    CliCase{"encipher without a pad file is wrong usage", "encipher", "", 2, "", "quarn-cli: OTPDATEI fehlt\n"},
    CliCase{"an unknown option is wrong usage", "decode --fast", "", 2, "", "quarn-cli: unbekannte Option --fast\n"},
    CliCase{"too many files are wrong usage", "decode a b", "", 2, "", "quarn-cli: zu viele Argumente\n"},
    CliCase{"a folder as the input file fails", "encode .", "", 1, "", "quarn-cli: .: ist ein Ordner\n"},
    CliCase{"a folder as the pad file fails", "encipher . digits.crp", "", 1, "", "quarn-cli: .: ist ein Ordner\n"},
    CliCase{"a dash reads standard input", "encode -", "abc", 0, "05052 \n", ""},
    CliCase{"--digits may follow the pad file", "decipher count.OTP --digits", "08211 81835 0", 0, "08211 81834 0\n",
            ""},
    CliCase{"a double dash lets a file name start with a dash", "decode -- -dash.crp", "", 0, "rpt\n", ""},
    CliCase{"--digits belongs to decipher only", "encipher --digits zero.OTP", "11111", 2, "",
            "quarn-cli: unbekannte Option --digits\n"},
    CliCase{"--umlauts belongs to encode only", "decode --umlauts", "", 2, "",
            "quarn-cli: unbekannte Option --umlauts\n"},
    CliCase{"-o belongs to pad and worksheet only", "encode -o x.txt", "", 2, "", "quarn-cli: unbekannte Option -o\n"},
    CliCase{"-o needs a file name", "pad -o", "", 2, "", "quarn-cli: -o ohne Dateinamen\n"},
    CliCase{"pad and groups cannot both come from standard input", "encipher -", "11111", 2, "",
            "quarn-cli: OTPDATEI und DATEI lesen nicht beide die Standardeingabe\n"},
    CliCase{"pad -o refuses to replace a file", "pad -o zero.OTP", "", 1, "",
            "quarn-cli: zero.OTP: existiert bereits; ein OTP wird nie \xC3\xBC"
            "berschrieben\n"},
    CliCase{"pad -o refuses a folder", "pad -o .", "", 1, "", "quarn-cli: .: ist ein Ordner\n"},
    CliCase{"pad -o into a missing folder fails", "pad -o none/new.OTP", "", 1, "",
            "quarn-cli: none/new.OTP: Ordner nicht gefunden\n"},
    CliCase{"worksheet needs -o for its PDF", "worksheet zero.OTP plain.txt", "", 2, "", "quarn-cli: -o fehlt\n"},
    CliCase{"a worksheet of nothing the table knows fails and writes nothing", "worksheet count.OTP -o new.pdf",
            "\xC4\xD6", 1, "", "quarn-cli: Nichts zu rechnen: die Eingabe ergibt keine Ziffern.\n"},
};

} // namespace quarn::cases
