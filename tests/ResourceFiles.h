#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace quarn::test {

// The committed resources, read from the source tree as the build found it.
inline QString resourcePath(const QString& name)
{
    return qEnvironmentVariable("QUARN_SOURCE_DIR") + QStringLiteral("/resources/") + name;
}

inline QByteArray readResource(const QString& name)
{
    QFile file(resourcePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace quarn::test
