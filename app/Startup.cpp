#include "Startup.h"

#include "PrivateRun.h"
#include "SingleWindow.h"
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
#include <set>
#include <string_view>
#include <vector>

#ifdef Q_OS_WIN
// shellapi.h needs the types of windows.h first.
#include <windows.h>
// clang-format off
#include <shellapi.h>
// clang-format on
#endif

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
                          "Ein Chiffriertext wird gleich dekodiert. Läuft schon ein Fenster von Quarn,\n"
                          "bekommt es die Dateien.\n"
                          "\n"
                          "  --help     diesen Text zeigen\n"
                          "  --version  Name und Version zeigen\n"
                          "  --         alles Weitere ist eine DATEI, auch mit „-“ am Anfang\n";

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

// Where the options end: Qt reads only what stands before "--", so that a file may be named "-style".
int endOfOptions(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--")
            return i;
    return argc;
}

// The files named, each as the system gave its name: bytes on Unix, which need not be UTF-8, the wide command
// line on Windows, whose narrow one loses what the code page lacks. `left` is what Qt left of the arguments
// before the end of the options: the rest were its own.
QList<FilePath> filesOf(int argc, char** argv, int end, char* const* left, int leftCount)
{
#ifdef Q_OS_WIN
    QStringList wide;
    int wideCount = 0;
    if (wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &wideCount)) {
        for (int i = 0; i < wideCount; ++i)
            wide.append(QString::fromWCharArray(words[i]));
        LocalFree(words);
    }
    const auto given = [&](int i) {
        return wide.size() == argc ? FilePath(wide[i]) : FilePath(QString::fromLocal8Bit(argv[i]));
    };
#else
    const auto given = [argv](int i) { return FilePath::fromNative(QByteArray(argv[i])); };
#endif
    const std::set<const char*> kept(left + 1, left + std::max(leftCount, 1));
    QList<FilePath> files;
    for (int i = 1; i < end; ++i)
        if (kept.count(argv[i]))
            files.append(given(i));
    for (int i = end + 1; i < argc; ++i)
        files.append(given(i));
    return files;
}

// Files given at start and handed over later are opened one batch at a time, and never while a handler, a
// question or a menu of the window is open: the window goes on with them once the user is done.
class FileQueue : public QObject
{
public:
    FileQueue(TForm1& window, std::function<void(QWidget&)> opened)
        : QObject(&window), m_window(window), m_opened(std::move(opened))
    {
        m_retry.setSingleShot(true);
        m_retry.setInterval(200);
        connect(&m_retry, &QTimer::timeout, this, &FileQueue::openWhenFree);
    }

    void add(const QList<FilePath>& files)
    {
        m_pending += files;
        QTimer::singleShot(0, this, &FileQueue::openWhenFree);
    }

    // A later start's files: the window comes to the front for them.
    void handed(const QList<FilePath>& files)
    {
        if (m_window.isMinimized())
            m_window.showNormal();
        m_window.raise();
        m_window.activateWindow();
        add(files);
    }

private:
    void openWhenFree()
    {
        if (m_pending.isEmpty())
            return;
        if (m_opening || m_window.busy() || QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
            m_retry.start();
            return;
        }
        m_opening = true;
        const QList<FilePath> files = std::exchange(m_pending, {});
        m_window.openFiles(files);
        m_opening = false;
        if (m_opened)
            m_opened(m_window);
        if (!m_pending.isEmpty())
            m_retry.start();
    }

    TForm1& m_window;
    std::function<void(QWidget&)> m_opened;
    QList<FilePath> m_pending;
    QTimer m_retry;
    bool m_opening = false;
};

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

    const int end = endOfOptions(argc, argv);
    std::vector<char*> forQt(argv, argv + end);
    forQt.push_back(nullptr);
    int qtArgc = end;

    PicturePreparation pictures;
    g_previousHandler = qInstallMessageHandler(startupMessages);
    QApplication application(qtArgc, forQt.data());
    qInstallMessageHandler(g_previousHandler);
    makeRunPrivate();
    const QList<FilePath> files = filesOf(argc, argv, end, forQt.data(), qtArgc);
    // The user's window that runs takes the files; this start then has nothing more to do.
    SingleWindow single;
    const SingleWindow::Role role = single.claim(files);
    if (role == SingleWindow::Role::HandedOver)
        return 0;
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

    TForm1 window(pictures, options.seams);
    if (options.quitAfterFirstPaint)
        quitAfterFirstPaint(&window, options.firstFrame);
    const QScreen* screen = QGuiApplication::screenAt(window.pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    // The frame is not known before the window manager has framed the window; a title bar is allowed for.
    if (screen)
        window.fitInto(screen->availableGeometry(), QMargins(0, TitleBarAllowance, 0, 0));
    window.show();
    auto* queue = new FileQueue(window, options.filesOpened);
    QObject::connect(&single, &SingleWindow::filesHanded, queue, &FileQueue::handed);
    if (!files.isEmpty())
        queue->add(files);
    if (role == SingleWindow::Role::Serving && options.serving)
        options.serving();
    return QApplication::exec();
}

} // namespace quarn
