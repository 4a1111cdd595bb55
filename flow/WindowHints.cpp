#include "WindowHints.h"

namespace quarn::WindowHints {

std::string cipherButton(bool decode, CipherWait why)
{
    const std::string step = decode ? "Dekodieren" : "Kodieren";
    const std::string text = decode ? "Chiffriertext" : "Klartext";
    switch (why) {
    case CipherWait::EmptyInput:
        return "Zuerst einen " + text + (decode ? " eingeben oder laden" : " eingeben") + " und " + step + " drücken.";
    case CipherWait::InputChanged:
        return "Zuerst " + step + " drücken: der " + text + " wurde seit dem letzten " + step + " geändert.";
    case CipherWait::NoGroups:
        break;
    }
    return decode ? "Zuerst Dekodieren drücken: es übernimmt den Chiffriertext zum Dechiffrieren."
                  : "Zuerst Kodieren drücken: es macht aus dem Klartext die Fünfergruppen zum Chiffrieren.";
}

std::string resultField(const std::vector<std::string>& menuEntries)
{
    std::string out = "Rechte Maustaste oder Menütaste: ";
    for (std::size_t i = 0; i < menuEntries.size(); ++i)
        out += (i == 0 ? "" : i + 1 == menuEntries.size() ? " und " : ", ") + ("„" + menuEntries[i]) + "“";
    return out;
}

} // namespace quarn::WindowHints
