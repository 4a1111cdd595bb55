#pragma once

#include "Messages.h"

#include <QString>

namespace quarn {

// The texts the load and save handlers show, as the window shows them, for tests to compare. `name` is the last part of
// the path.
namespace FileMessages {

inline QString overwriteQuestion(const QString& name)
{
    return QString::fromStdString(Messages::overwrite(name.toStdString()).text);
}
inline QString padSaved()
{
    return QString::fromStdString(Messages::padSaved());
}
inline QString padNotSaved()
{
    return QString::fromStdString(Messages::padNotSaved());
}
inline QString saved(const QString& name)
{
    return QString::fromStdString(Messages::saved(name.toStdString()));
}
inline QString notSaved(const QString& name)
{
    return QString::fromStdString(Messages::notSaved(name.toStdString()));
}
inline QString notWritten(const QString& name, const QString& reason)
{
    return QString::fromStdString(Messages::notWritten(name.toStdString(), reason.toStdString()));
}
inline QString tooLarge(const QString& name)
{
    return QString::fromStdString(Messages::tooLarge(name.toStdString()));
}
inline QString notRead(const QString& name, const QString& reason)
{
    return QString::fromStdString(Messages::notRead(name.toStdString(), reason.toStdString()));
}
inline QString endOfText(const QString& name, const QString& notice)
{
    return QString::fromStdString(Messages::endOfText(name.toStdString(), notice.toStdString()));
}
inline QString notAPad(const QString& name, const QString& problem)
{
    return QString::fromStdString(Messages::notAPad(name.toStdString(), problem.toStdString()));
}

} // namespace FileMessages

} // namespace quarn
