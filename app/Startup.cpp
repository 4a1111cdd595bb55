#include "Startup.h"

#include "PrivateRun.h"
#include "TForm1.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

namespace quarn {

namespace {

class FirstPaintWatcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

} // namespace

void quitAfterFirstPaint(QWidget* window)
{
    window->installEventFilter(new FirstPaintWatcher(window));
}

int runQuarn(int& argc, char** argv, const StartOptions& options)
{
    QApplication application(argc, argv);
    makeRunPrivate();
    // The title names the program on the task bar and captions the error box; it is not the window's caption.
    QApplication::setApplicationName(QStringLiteral("QUARN"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/quarn-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/quarn-32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);

    // The standard dialogs speak German like the rest of the program, whatever the system's language.
    QTranslator qtGerman;
    if (qtGerman.load(QStringLiteral(":/translations/qtbase_de.qm")))
        QApplication::installTranslator(&qtGerman);

    TForm1 window;
    if (options.quitAfterFirstPaint)
        quitAfterFirstPaint(&window);
    window.show();
    return QApplication::exec();
}

} // namespace quarn
