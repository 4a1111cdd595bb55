#pragma once

#include "FilePath.h"

#include <QList>
#include <QObject>

class QLocalServer;

namespace quarn {

// One window for one exchange: a later start of the same user hands its files to the window that runs, and
// ends. Through a local socket (a named pipe on Windows) that only the user can reach.
class SingleWindow : public QObject
{
    Q_OBJECT

public:
    enum class Role
    {
        HandedOver, // a running window took the files: this start ends
        Serving,    // this start's window takes what later starts hand over
        Alone       // neither: this start's window stands on its own
    };

    explicit SingleWindow(QObject* parent = nullptr);
    ~SingleWindow() override;

    // Hands `files` to the user's running window, if one answers and there are files; else, where no window
    // runs, becomes the running window itself. Two starts at once are taken one after the other, and a
    // socket left by a window that crashed is taken over.
    Role claim(const QList<FilePath>& files);

signals:
    void filesHanded(const QList<FilePath>& files);

private:
    void receive();

    QLocalServer* m_server = nullptr;
};

} // namespace quarn
