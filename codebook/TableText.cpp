#include "TableText.h"

#include "CardLayout.h"

#include <utility>
#include <vector>

namespace quarn {

namespace {

// Spoken names of what the card prints as a mark or a lone sign; a screen reader may pass over a sign.
std::string spoken(const CardCell& cell)
{
    static const std::pair<std::string, const char*> names[] = {
        {CardLayout::blankMark(), "Zwischenraum ZWR"},
        {CardLayout::lineBreakMark(), "neue Zeile NZ"},
        {CardLayout::toLettersMark(), "zu den Buchstaben BU"},
        {CardLayout::toFiguresMark(), "zu den Ziffern ZI"},
        {".", "Punkt"},
        {":", "Doppelpunkt"},
        {",", "Komma"},
        {"-", "Bindestrich"},
        {"/", "Schr\xE4gstrich"},
        {"(", "Klammer auf"},
        {")", "Klammer zu"},
        {"+", "Plus"},
        {"=", "Gleich"},
        {"\"", "Anf\xFChrungszeichen"},
    };
    for (const auto& [unit, name] : names)
        if (cell.unit == unit)
            return name;
    return cell.unit;
}

void joinTo(std::string& out, const std::vector<std::string>& items)
{
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i == 0 ? "" : ", ") + items[i];
    out += ".";
}

constexpr std::array<UsageRule, 5> kRules{{
    {"Jeder Text beginnt im Buchstabenmodus. A, E, I, N und R werden einstellig geschrieben (0 bis 4), alle "
     "anderen Buchstaben zweistellig.",
     "ANKER", "0 3 61 1 4", false},
    {"BE, CH, DE, GE, TE, UN und RPT nur f\xFCr unmittelbar aufeinander folgende Buchstaben; sonst jeden "
     "Buchstaben f\xFCr sich.",
     "SCHEIBE", "69 53 1 2 51", false},
    {"Satzzeichen und Ziffern nur im Ziffernmodus: vorher ZI (82) geben. Jede Ziffer doppelt, die Null als 00.", "1.50",
     "82 11 89 55 00", false},
    {"BU (81) f\xFChrt zu den Buchstaben zur\xFC"
     "ck. Der Zwischenraum ZWR (83) ist ein Buchstabenfeld: zwischen Ziffern 81 83, danach wieder 82. Am Ende "
     "nicht umschalten.",
     "A1 B", "0 82 11 81 83 50", false},
    {"NZ (80, neue Zeile) und CODE (84) gelten in beiden Modi, nur von Hand gesetzt. Umlaute und \xDF kennt die "
     "Tafel nicht: sie entfallen.",
     "-code-", "84", true},
}};

} // namespace

// The card's cells in the card's order, in three blocks as the modes read them.
std::string TableText::card()
{
    std::vector<std::string> letters;
    std::vector<std::string> controls;
    std::vector<std::string> figures;
    for (const CardCell& cell : CardLayout::cells()) {
        auto& block = cell.kind == CellKind::Control ? controls : cell.kind == CellKind::Figure ? figures : letters;
        block.push_back(spoken(cell) + " " + cell.code);
    }
    std::string out = "Quarn-Tafel. Im Buchstabenmodus: ";
    joinTo(out, letters);
    out += " In beiden Modi: ";
    joinTo(out, controls);
    out += " Im Ziffernmodus, nach ZI: ";
    joinTo(out, figures);
    return out;
}

const char* TableText::notesTitle()
{
    return "Gebrauchsregeln zur Quarn-Tafel";
}

const std::array<UsageRule, 5>& TableText::notesRules()
{
    return kRules;
}

std::string TableText::notes()
{
    std::string out = std::string(notesTitle()) + ".";
    int number = 1;
    for (const UsageRule& rule : kRules) {
        out += " " + std::to_string(number++) + ". " + rule.text + " Beispiel: ";
        out += rule.decodeOnly ? std::string(rule.digits) + " ergibt " + rule.plain
                               : std::string(rule.plain) + " = " + rule.digits;
        out += ".";
    }
    return out;
}

} // namespace quarn
