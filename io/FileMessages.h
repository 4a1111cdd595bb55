#pragma once

#include <QString>

namespace quarn {

// The texts the load and save handlers show. `name` is the last part of the path.
namespace FileMessages {

inline QString overwriteQuestion(const QString& name)
{
    return QStringLiteral("Wollen Sie ") + name + QStringLiteral(" wirklich überschreiben?");
}
inline QString padSaved()
{
    return QStringLiteral("OTP wurde gespeichert!");
}
inline QString padNotSaved()
{
    return QStringLiteral("OTP wurde nicht gespeichert!");
}
inline QString saved(const QString& name)
{
    return name + QStringLiteral(" wurde gespeichert!");
}
inline QString notSaved(const QString& name)
{
    return name + QStringLiteral(" wurde nicht gespeichert!");
}
// A save the system refused: never the written notice.
inline QString notWritten(const QString& name, const QString& reason)
{
    return notSaved(name) + QLatin1Char(' ') + reason;
}
inline QString tooLarge(const QString& name)
{
    return name + QStringLiteral(" zu groß!");
}
inline QString notRead(const QString& name, const QString& reason)
{
    return name + QStringLiteral(" konnte nicht gelesen werden: ") + reason;
}
// A load that a Ctrl-Z ended early; `notice` says how much was taken.
inline QString endOfText(const QString& name, const QString& notice)
{
    return name + QStringLiteral(": ") + notice;
}
// A pad load whose file holds no pad; `problem` says what is wrong with it.
inline QString notAPad(const QString& name, const QString& problem)
{
    return name + QStringLiteral(" ist kein gültiges OTP: ") + problem;
}

} // namespace FileMessages

} // namespace quarn
