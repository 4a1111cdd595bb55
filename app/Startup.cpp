#include "Startup.h"

#include "PrivateRun.h"
#include "TForm1.h"
#include "WindowPictures.h"

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
    FirstPaintWatcher(QWidget* window, std::function<void(QWidget&)> firstFrame)
        : QObject(window), m_window(window), m_firstFrame(std::move(firstFrame))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // The window's own paint event comes first; its children are painted and the frame is flushed
            // after it, before the event loop turns again.
            QTimer::singleShot(0, this, [this] {
                if (m_firstFrame)
                    m_firstFrame(*m_window);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    QWidget* m_window;
    std::function<void(QWidget&)> m_firstFrame;
};

} // namespace

void quitAfterFirstPaint(QWidget* window, std::function<void(QWidget& window)> firstFrame)
{
    window->installEventFilter(new FirstPaintWatcher(window, std::move(firstFrame)));
}

int runQuarn(int& argc, char** argv, const StartOptions& options)
{
    // The pictures are decoded on a worker while the application and the window are built.
    PicturePreparation pictures;
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

    TForm1 window(pictures);
    if (options.quitAfterFirstPaint)
        quitAfterFirstPaint(&window, options.firstFrame);
    window.show();
    return QApplication::exec();
}

} // namespace quarn
