#pragma once

#include <QString>
#include <exception>

namespace quarn {

// A failure a handler reports to the user: it ends that handler and is shown in the error box.
class Failure : public std::exception
{
public:
    explicit Failure(QString message) : m_message(std::move(message)), m_bytes(m_message.toUtf8()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_bytes.constData(); }

private:
    QString m_message;
    QByteArray m_bytes;
};

} // namespace quarn
