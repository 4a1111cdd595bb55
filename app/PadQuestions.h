#pragma once

#include <QString>

namespace quarn {

// What the window says to guard a pad: it is for one message, and the one way to read that message again.
namespace PadQuestions {

inline QString reuse()
{
    return QStringLiteral("Dieses OTP wurde schon für eine andere Nachricht benutzt. Ein OTP darf nur einmal "
                          "verwendet werden. Trotzdem chiffrieren?");
}
inline QString close()
{
    return QStringLiteral("Das OTP der letzten Nachricht wurde weder gespeichert noch gedruckt. Ohne dieses OTP "
                          "lässt sich die Nachricht nicht mehr dechiffrieren. Trotzdem beenden?");
}
// Before "OTP erzeugen", "OTP Laden" or the cipher's new pad takes the place of a pad that would be lost.
inline QString replace()
{
    return QStringLiteral("Das OTP im Feld hat eine Nachricht chiffriert und ist weder in einer Datei gespeichert "
                          "noch gedruckt. Ohne dieses OTP lässt sich die Nachricht nicht mehr dechiffrieren. "
                          "Trotzdem ersetzen?");
}
inline QString overwriteUsedPad(const QString& name)
{
    return name +
           QStringLiteral(" enthält das OTP einer Nachricht. Überschrieben lässt sich die Nachricht mit "
                          "diesem OTP nicht mehr dechiffrieren. Wollen Sie ") +
           name + QStringLiteral(" wirklich überschreiben?");
}
inline QString secondMessage()
{
    return QStringLiteral("Mit diesem OTP sind jetzt zwei verschiedene Nachrichten verschlüsselt. Ein OTP darf nur "
                          "einmal verwendet werden: beide Nachrichten sind nicht mehr sicher.");
}

} // namespace PadQuestions

} // namespace quarn
