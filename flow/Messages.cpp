#include "Messages.h"

#include "Limits.h"

namespace quarn::Messages {

namespace {

std::string cat(std::initializer_list<std::string_view> parts)
{
    std::string out;
    for (const std::string_view part : parts)
        out += part;
    return out;
}

} // namespace

std::string withFullStop(std::string message)
{
    // A UTF-8 sequence ends in a byte above '.', as its character sorts above it.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

std::string enterText()
{
    return "Text eingeben!";
}

std::string codeCut()
{
    return "Ausgabe auf " + std::to_string(Limits::CodeDigits) + " Gruppen gekürzt!";
}

std::string cipherInputCut()
{
    return "Eingabe nach " + std::to_string(Limits::PadGroups) + " Gruppen gekürzt!";
}

std::string loadPadFirst()
{
    return "Zum Dechiffrieren zuerst das OTP laden!";
}

std::string nothingSaved()
{
    return "Keine Ausgabe vorhanden, nichts gespeichert!";
}

std::string nothingPrinted()
{
    return "Keine Ausgabe vorhanden, nichts gedruckt!";
}

std::string noWorksheetYet()
{
    return "Ein Arbeitsblatt gibt es erst, wenn „Chiffrieren“ oder „Dechiffrieren“ zu Ende gelaufen ist.";
}

std::string worksheetNotSet()
{
    return "Das Arbeitsblatt ließ sich nicht als PDF setzen";
}

Question reusePad()
{
    return {"Dieses OTP wurde schon für eine andere Nachricht benutzt. Ein OTP darf nur einmal verwendet werden. "
            "Trotzdem chiffrieren?",
            false};
}

Question closeWithPad()
{
    return {"Das OTP der letzten Nachricht wurde weder gespeichert noch gedruckt. Ohne dieses OTP lässt sich die "
            "Nachricht nicht mehr dechiffrieren. Trotzdem beenden?",
            false};
}

Question replacePad()
{
    return {"Das OTP im Feld hat eine Nachricht chiffriert und ist weder in einer Datei gespeichert noch gedruckt. "
            "Ohne dieses OTP lässt sich die Nachricht nicht mehr dechiffrieren. Trotzdem ersetzen?",
            false};
}

Question overwriteUsedPad(std::string_view name)
{
    // Writing over the one copy of a message's pad is a loss of its own: then "&Nein" is the default.
    return {cat({name,
                 " enthält das OTP einer Nachricht. Überschrieben lässt sich die Nachricht mit diesem OTP "
                 "nicht mehr dechiffrieren. Wollen Sie ",
                 name, " wirklich überschreiben?"}),
            false};
}

Question overwrite(std::string_view name)
{
    return {cat({"Wollen Sie ", name, " wirklich überschreiben?"}), true};
}

std::string secondMessage()
{
    return "Mit diesem OTP sind jetzt zwei verschiedene Nachrichten verschlüsselt. Ein OTP darf nur einmal "
           "verwendet werden: beide Nachrichten sind nicht mehr sicher.";
}

std::string padSaved()
{
    return "OTP wurde gespeichert!";
}

std::string padNotSaved()
{
    return "OTP wurde nicht gespeichert!";
}

std::string saved(std::string_view name)
{
    return cat({name, " wurde gespeichert!"});
}

std::string notSaved(std::string_view name)
{
    return cat({name, " wurde nicht gespeichert!"});
}

std::string notWritten(std::string_view name, std::string_view reason)
{
    return cat({notSaved(name), " ", reason});
}

std::string tooLarge(std::string_view name)
{
    return cat({name, " zu groß!"});
}

std::string notRead(std::string_view name, std::string_view reason)
{
    return cat({name, " konnte nicht gelesen werden: ", reason});
}

std::string endOfText(std::string_view name, std::string_view notice)
{
    return cat({name, ": ", notice});
}

std::string notAPad(std::string_view name, std::string_view problem)
{
    return cat({name, " ist kein gültiges OTP: ", problem});
}

} // namespace quarn::Messages

namespace quarn::Captions {

std::string paste()
{
    return "Einfügen";
}
std::string copy()
{
    return "Kopieren";
}
std::string printWorksheet()
{
    return "Arbeitsblatt drucken…";
}
std::string saveWorksheet()
{
    return "Arbeitsblatt als PDF speichern…";
}
std::string padField()
{
    return "OTP-Schlüssel";
}
std::string cipherField()
{
    return "Chiffrat";
}
std::string decodedField()
{
    return "Dechiffrierter Text";
}
std::string card()
{
    return "Quarn-Tafel";
}

} // namespace quarn::Captions
