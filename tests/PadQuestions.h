#pragma once

#include "Messages.h"

#include <QString>

namespace quarn {

// The pad's questions and notice as the window shows them, for tests to compare.
namespace PadQuestions {

inline QString reuse()
{
    return QString::fromStdString(Messages::reusePad().text);
}
inline QString close()
{
    return QString::fromStdString(Messages::closeWithPad().text);
}
inline QString replace()
{
    return QString::fromStdString(Messages::replacePad().text);
}
inline QString overwriteUsedPad(const QString& name)
{
    return QString::fromStdString(Messages::overwriteUsedPad(name.toStdString()).text);
}
inline QString secondMessage()
{
    return QString::fromStdString(Messages::secondMessage());
}

} // namespace PadQuestions

} // namespace quarn
