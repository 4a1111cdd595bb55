#include "Startup.h"

#include "PrivateRun.h"
#include "TForm1.h"
#include "WindowPictures.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

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

constexpr int TitleBarAllowance = 32;

const char* const Usage = "Aufruf: quarn [DATEI …]\n"
                          "\n"
                          "Öffnet das Fenster von Quarn: Klartext mit der Quarn-Tafel kodieren und mit einem OTP\n"
                          "chiffrieren, oder Chiffriertext dechiffrieren und dekodieren.\n"
                          "\n"
                          "Jede genannte DATEI wird nach ihrem Inhalt geöffnet, wie es die Knöpfe tun:\n"
                          "  ein OTP (*.OTP)            wie mit „OTP Laden“\n"
                          "  ein Chiffriertext (*.crp)  mit „Dekodieren“ und „Crypt Laden“\n"
                          "  jede andere Datei          als Klartext, wie mit „Text Laden“\n"
                          "\n"
                          "  --help     diesen Text zeigen\n"
                          "  --version  Name und Version zeigen\n";

// Qt ends the program with an abort and a long advice when it reaches no display; the user gets one line.
QtMessageHandler g_previousHandler = nullptr;

void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fputs("quarn: Keine grafische Anzeige erreichbar (DISPLAY oder WAYLAND_DISPLAY fehlt oder der "
                   "Bildschirm antwortet nicht).\n",
                   stderr);
        std::_Exit(1);
    }
    // The platform's own complaints come before that line and would only repeat it.
    if (context.category && std::strncmp(context.category, "qt.qpa", 6) == 0)
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

enum class Command
{
    Run,
    Help,
    Version
};

// Only what needs no display; the files are taken once the toolkit has removed its own options.
Command commandOf(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h")
            return Command::Help;
        if (arg == "--version")
            return Command::Version;
    }
    return Command::Run;
}

QStringList filesOf(const QStringList& arguments)
{
    QStringList files = arguments.mid(1);
    files.removeOne(QStringLiteral("--"));
    return files;
}

} // namespace

void quitAfterFirstPaint(QWidget* window, std::function<void(QWidget& window)> firstFrame)
{
    window->installEventFilter(new FirstPaintWatcher(window, std::move(firstFrame)));
}

int runQuarn(int& argc, char** argv, const StartOptions& options)
{
    // The pictures are decoded on a worker while the application and the window are built.
    switch (commandOf(argc, argv)) {
    case Command::Help:
        std::fputs(Usage, stdout);
        return 0;
    case Command::Version:
        std::fputs("quarn " QUARN_VERSION "\n", stdout);
        return 0;
    case Command::Run:
        break;
    }

    PicturePreparation pictures;
    g_previousHandler = qInstallMessageHandler(startupMessages);
    QApplication application(argc, argv);
    qInstallMessageHandler(g_previousHandler);
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
    const QScreen* screen = QGuiApplication::screenAt(window.pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    // The frame is not known before the window manager has framed the window; a title bar is allowed for.
    if (screen)
        window.fitInto(screen->availableGeometry(), QMargins(0, TitleBarAllowance, 0, 0));
    window.show();
    const QStringList files = filesOf(QCoreApplication::arguments());
    if (!files.isEmpty())
        QTimer::singleShot(0, &window, [&window, files] { window.openFiles(files); });
    return QApplication::exec();
}

} // namespace quarn
