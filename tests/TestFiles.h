#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace quarn::test {

// A file's bytes as they are on disk; a marker when it cannot be read, so a comparison shows why.
inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace quarn::test
