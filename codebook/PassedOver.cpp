#include "PassedOver.h"

#include "CodeTable.h"
#include "Windows1252.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace quarn {

namespace {

bool inTable(char32_t cp)
{
    const auto byte = Windows1252::fromUnicode(cp);
    if (!byte)
        return false;
    const char c = static_cast<char>(*byte);
    return CodeTable::findLetter(c) != nullptr || CodeTable::findFigure(c) != nullptr;
}

std::string codePoint(const char* words, char32_t cp)
{
    static const char* const hex = "0123456789ABCDEF";
    std::string out = std::string(words) + " U+";
    for (int shift = cp > 0xFFFF ? 20 : 12; shift >= 0; shift -= 4)
        out += hex[(cp >> shift) & 15];
    return out;
}

// The German names of characters one cannot see; nullptr for every other character.
const char* invisibleName(char32_t cp)
{
    switch (cp) {
    case U'\n':
    case U'\r':
    case 0x85:
    case 0x2028:
        return "Zeilenumbruch";
    case 0x2029:
        return "Absatzumbruch";
    case U'\t':
        return "Tabulator";
    case 0x0B:
        return "vertikaler Tabulator";
    case 0x0C:
        return "Seitenvorschub";
    case 0xA0:
        return "gesch\xC3\xBCtztes Leerzeichen";
    case 0x202F:
        return "schmales gesch\xC3\xBCtztes Leerzeichen";
    case 0xAD:
        return "bedingter Trennstrich";
    case 0xFEFF:
        return "Byte-Order-Mark";
    case 0x200B:
        return "Leerzeichen ohne Breite";
    default:
        return nullptr;
    }
}

// The letter that Ä, Ö, Ü or ß (either case) is written out from, with E (or a second S); 0 for any other.
char32_t germanLetterBase(char32_t cp)
{
    static constexpr std::pair<char32_t, char32_t> letters[] = {
        {U'\u00C4', U'A'}, {U'\u00E4', U'A'}, {U'\u00D6', U'O'}, {U'\u00F6', U'O'},
        {U'\u00DC', U'U'}, {U'\u00FC', U'U'}, {U'\u00DF', U'S'}, {U'\u1E9E', U'S'},
    };
    for (const auto& [letter, base] : letters)
        if (letter == cp)
            return base;
    return 0;
}

} // namespace

std::u32string PassedOver::characters(std::u32string_view text)
{
    std::u32string out;
    for (const char32_t cp : text) {
        if (!inTable(cp) && out.find(cp) == std::u32string::npos)
            out += cp;
    }
    return out;
}

std::string PassedOver::readable(char32_t cp)
{
    static const char* const hex = "0123456789ABCDEF";
    switch (cp) {
    case U'\n':
        return "\\n";
    case U'\r':
        return "\\r";
    case U'\t':
        return "\\t";
    default:
        break;
    }
    // The five bytes Windows-1252 leaves undefined read as C1 control characters, and are written out too.
    if (isControl(cp))
        return std::string("\\x") + hex[(cp >> 4) & 15] + hex[cp & 15];
    std::string out;
    Windows1252::appendUtf8(out, cp);
    return out;
}

std::string PassedOver::name(char32_t cp)
{
    if (const char* words = invisibleName(cp))
        return words;
    if (isControl(cp))
        return codePoint("Steuerzeichen", cp);
    if ((cp >= 0x2000 && cp <= 0x200A) || cp == 0x205F || cp == 0x3000)
        return codePoint("Leerzeichen", cp);
    if ((cp >= 0x200C && cp <= 0x200F) || (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2060 && cp <= 0x206F))
        return codePoint("unsichtbares Zeichen", cp);
    std::string out;
    Windows1252::appendUtf8(out, cp);
    return out;
}

std::string PassedOver::notice(std::u32string_view characters)
{
    if (characters.empty())
        return {};
    std::vector<std::string> names;
    bool words = false;
    for (const char32_t cp : characters) {
        std::string shown = name(cp);
        std::string itself;
        Windows1252::appendUtf8(itself, cp);
        words = words || shown != itself;
        if (std::find(names.begin(), names.end(), shown) == names.end())
            names.push_back(std::move(shown));
    }
    std::string out = "Nicht in der Quarn-Tafel, daher \xC3\xBC"
                      "bergangen: ";
    for (std::size_t i = 0; i < names.size(); ++i)
        out += (i == 0 ? "" : words ? ", " : " ") + names[i];
    return out;
}

bool PassedOver::hasGermanLetters(std::u32string_view characters)
{
    return std::any_of(characters.begin(), characters.end(), [](char32_t cp) { return germanLetterBase(cp) != 0; });
}

std::u32string PassedOver::withGermanLettersSpelledOut(std::u32string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    for (const char32_t cp : text) {
        const char32_t base = germanLetterBase(cp);
        if (base == 0)
            out += cp;
        else
            out += base == U'S' ? U"SS" : std::u32string{base, U'E'};
    }
    return out;
}

PassedOver::Offer PassedOver::germanLettersOffer(std::u32string_view characters, std::size_t lost, std::size_t limit)
{
    const char* const letters = "\xC3\x84, \xC3\x96, \xC3\x9C und \xC3\x9F ";
    const char* const question = "als AE, OE, UE und SS schreiben und neu kodieren?";
    if (lost == 0)
        return {notice(characters) + "\n\n" + letters + question, true};
    const std::string length = std::to_string(limit + lost);
    const std::string cut = lost == 1 ? "das letzte Zeichen ginge verloren"
                                      : "die letzten " + std::to_string(lost) + " Zeichen gingen verloren";
    return {notice(characters) + "\n\nAusgeschrieben w\xC3\xA4re der Text " + length + " Zeichen lang: " + cut +
                " (max. " + std::to_string(limit) + " Zeichen).\n\n" + letters + "trotzdem " + question,
            false};
}

} // namespace quarn
