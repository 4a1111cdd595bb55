#pragma once

#include "ClipboardRule.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace quarn {

// Puts the window's texts on the clipboard by ClipboardRule: marked as secret for clipboard managers (on
// Windows kept out of the clipboard history and the cloud clipboard), a pad or decoded text taken back after
// its time, and all of it taken back from the clipboard and the primary selection when the window closes,
// wherever they still hold it.
class SecretClipboard : public QObject
{
    Q_OBJECT

public:
    // A secret is taken back after `secretMilliseconds`.
    explicit SecretClipboard(QObject* parent = nullptr, int secretMilliseconds = ClipboardRule::SecretMilliseconds);
    ~SecretClipboard() override;

    void put(const QString& text, ClipboardRule::Content content);
    // Empties the clipboard and the primary selection where they hold the window's text; before the window is
    // gone, since Qt would hand the clipboard to a clipboard manager when the application ends.
    void takeBack();

private:
    void takeBackIfStillOurs();

    QTimer m_timer;
    QString m_text; // what was put, to tell it from what another program put since
    int m_secretMilliseconds;
};

} // namespace quarn
