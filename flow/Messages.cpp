#include "Messages.h"

#include "Limits.h"
#include "PadFileText.h"
#include "PassedOver.h"
#include "Windows1252.h"

namespace quarn::Messages {

namespace {

std::string cat(std::initializer_list<std::string_view> parts)
{
    std::string out;
    for (const std::string_view part : parts)
        out += part;
    return out;
}

std::string number(std::size_t n)
{
    return std::to_string(n);
}

// A character in quotes, or named in words where it cannot be seen (a byte-order mark, a control character).
std::string named(char32_t character)
{
    std::string itself;
    Windows1252::appendUtf8(itself, character);
    const std::string name = PassedOver::name(character);
    return name != itself ? name : "'" + PassedOver::readable(character) + "'";
}

} // namespace

std::string text(const Failure& failure)
{
    using Kind = Failure::Kind;
    switch (failure.kind) {
    case Kind::SourceNotRandom:
        return "Der Zufallsgenerator liefert keine zufälligen Werte, es wurde kein OTP erzeugt";
    case Kind::EntropyUnavailable:
        return "Der Zufallsgenerator des Systems ist nicht verfügbar";
    case Kind::PadTooShort:
        return "Das OTP hat weniger als " + number(failure.limit) + " Zeichen";
    case Kind::NotADigitInGroups:
    case Kind::NotADigitInPad: {
        std::string out = "'";
        Windows1252::appendUtf8(out, failure.character);
        return out + "' ist kein gültiger Integerwert";
    }
    case Kind::NothingToWorkOut:
        return "Nichts zu rechnen: die Eingabe ergibt keine Ziffern";
    case Kind::WorksheetNotSet:
        return "Das Arbeitsblatt ließ sich nicht als PDF setzen";
    case Kind::PadFileTooShort:
        return "das OTP hat nur " + number(failure.count) + " statt " + number(failure.limit) + " Zeichen";
    case Kind::NoBlankAfterGroup:
        return "nach Gruppe " + number(failure.position) + " steht " + named(failure.character) +
               " statt eines Leerzeichens";
    case Kind::NoDigitInGroup:
        return "in Gruppe " + number(failure.position) + " ist das " + number(failure.place) + ". Zeichen " +
               named(failure.character) + " keine Ziffer";
    case Kind::RepeatedGroups:
        return repeatedGroups(failure.count) + "; damit wird nicht chiffriert";
    case Kind::FileNotFound:
        return "Datei nicht gefunden";
    case Kind::FolderNotFound:
        return "Ordner nicht gefunden";
    case Kind::IsFolder:
        return "ist ein Ordner";
    case Kind::NotRegular:
        return "ist keine normale Datei";
    case Kind::SymlinkLoop:
        return "symbolische Verknüpfungen bilden eine Schleife";
    case Kind::AccessDenied:
        return "Zugriff verweigert";
    case Kind::DiskFull:
        return "Datenträger voll";
    case Kind::FileExists:
        return "existiert bereits";
    case Kind::RightsNotKept:
        return "die Rechte der alten Datei lassen sich nicht übertragen";
    case Kind::ReadFailed:
        return "Lesefehler";
    case Kind::WriteFailed:
        return "Schreibfehler";
    case Kind::OutputExists:
        return "existiert bereits; ein OTP wird nie überschrieben";
    case Kind::InputTooLarge:
        return "zu groß: mehr als " + number(failure.limit >> 20) + " MiB";
    case Kind::NotADigitInCode:
        return "das " + number(failure.position) + ". Zeichen '" + PassedOver::readable(failure.character) +
               "' ist keine Ziffer";
    case Kind::PictureUnreadable:
        return "Bild nicht lesbar";
    case Kind::PictureTooLarge:
        return "Bild zu groß";
    case Kind::OutOfMemory:
        return "zu wenig Speicher";
    case Kind::NoDefaultPrinter:
        return "Zur Zeit ist kein Standard-Drucker gewählt";
    case Kind::PrinterNotAvailable:
        return "Operation auf ausgewähltem Drucker nicht verfügbar";
    case Kind::PrinterInvalid:
        return "Ausgewählter Drucker ist ungültig";
    case Kind::PrintingBusy:
        return "Das Drucken ist im Gang";
    }
    return {};
}

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

Question otherNames(std::string_view name, bool pad)
{
    return {
        cat({name, " hat weitere Namen (harte Verknüpfungen); dort bliebe ", pad ? "das alte OTP" : "der alte Inhalt",
             " erhalten. Wollen Sie trotzdem nur ", name, " überschreiben?"}),
        false};
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

std::string notLoaded(std::string_view name, const Failure& failure)
{
    return PadFileText::isNoPad(failure) ? notAPad(name, text(failure)) : notRead(name, text(failure));
}

std::string repeatedGroups(std::size_t repeated)
{
    return "enthält " + number(repeated) + (repeated == 1 ? " doppelte Gruppe" : " doppelte Gruppen") +
           " und ist daher kein zufälliges OTP";
}

Question useRepeatedGroups(std::string_view name, std::size_t repeated)
{
    return {cat({name, " ", repeatedGroups(repeated),
                 ". Was damit chiffriert wird, ist nicht geheim. Trotzdem als OTP verwenden?"}),
            false};
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
