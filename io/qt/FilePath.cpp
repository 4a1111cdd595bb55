#include "FilePath.h"

#include "InputText.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <string>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace quarn {

FilePath::FilePath(const QString& path)
    : m_shown(path)
#ifndef Q_OS_WIN
      ,
      m_native(QFile::encodeName(path))
#endif
{}

FilePath FilePath::fromNative(const QByteArray& bytes)
{
#ifdef Q_OS_WIN
    return FilePath(QString::fromUtf8(bytes));
#else
    FilePath path;
    const std::u32string characters = InputText::characters(std::string_view(bytes.constData(), bytes.size()));
    path.m_shown = QString::fromUcs4(characters.data(), qsizetype(characters.size()));
    path.m_native = bytes;
    return path;
#endif
}

std::filesystem::path FilePath::native() const
{
#ifdef Q_OS_WIN
    return std::filesystem::path(m_shown.toStdWString());
#else
    return std::filesystem::path(m_native.toStdString());
#endif
}

QByteArray FilePath::nativeBytes() const
{
#ifdef Q_OS_WIN
    return m_shown.toUtf8();
#else
    return m_native;
#endif
}

FilePath FilePath::absolute() const
{
#ifdef Q_OS_WIN
    return FilePath(QFileInfo(m_shown).absoluteFilePath());
#else
    if (m_native.startsWith('/') || m_native.isEmpty())
        return *this;
    // The folder's own bytes: its name need not be UTF-8 either.
    std::string folder(4096, '\0');
    while (!::getcwd(folder.data(), folder.size())) {
        if (errno != ERANGE)
            return *this;
        folder.resize(folder.size() * 2);
    }
    folder.resize(std::char_traits<char>::length(folder.c_str()));
    return fromNative(QByteArray::fromStdString(folder) + '/' + m_native);
#endif
}

} // namespace quarn
