#include "WorksheetPdf.h"

#include "Clock.h"
#include "WorksheetDocument.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QStringList>
#include <optional>
#include <string>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quarn::cli {

namespace {

void chooseOffscreen()
{
    // A console program's remarks belong on standard error, also where Windows gives it no console (a pipe).
    if (qEnvironmentVariableIsEmpty("QT_FORCE_STDERR_LOGGING"))
        qputenv("QT_FORCE_STDERR_LOGGING", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef _WIN32
    // Offscreen on Windows reads its fonts from one folder: Windows' own, unless QT_QPA_FONTDIR names another.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) {
        std::wstring folder(MAX_PATH, L'\0');
        const UINT length = GetWindowsDirectoryW(folder.data(), MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            folder.resize(length);
            _wputenv_s(L"QT_QPA_FONTDIR", (folder + L"\\Fonts").c_str());
        }
    }
#endif
}

// Standard error holds what the command says: Qt's own remarks (a missing XDG_RUNTIME_DIR, say) are held back,
// and shown only when the sheet fails or Qt gives up (no platform plugin, no display for the one named).
class HeldQtMessages
{
public:
    HeldQtMessages() { s_previous = qInstallMessageHandler(&hold); }
    ~HeldQtMessages() { qInstallMessageHandler(s_previous); }
    HeldQtMessages(const HeldQtMessages&) = delete;
    HeldQtMessages& operator=(const HeldQtMessages&) = delete;

    static void show()
    {
        for (const QString& message : std::exchange(s_held, {}))
            s_previous(QtWarningMsg, QMessageLogContext(), message);
    }

private:
    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type != QtCriticalMsg && type != QtFatalMsg) {
            s_held << message;
            return;
        }
        show();
        s_previous(type, context, message);
    }
    static inline QtMessageHandler s_previous = nullptr;
    static inline QStringList s_held;
};

} // namespace

Result<std::string> worksheetPdf(const Worksheet& sheet)
{
    std::optional<HeldQtMessages> held;
    std::optional<QGuiApplication> gui;
    if (!QCoreApplication::instance()) {
        held.emplace();
        chooseOffscreen();
        // Qt keeps the arguments for the application's lifetime; the command line's own are not Qt's options.
        static int argc = 1;
        static char name[] = "quarn-cli";
        static char* argv[] = {name, nullptr};
        gui.emplace(argc, argv);
    } else if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return Failure{Failure::Kind::WorksheetNotSet}; // fonts need a GUI application, and a second one cannot start
    }
    // With no face that has digits (no fonts found at all) the sheet would be empty pages that look written.
    const bool drawable = QFontMetricsF(WorksheetDocument::font()).inFont(QChar(u'0'));
    const Result<QByteArray> pdf =
        drawable ? WorksheetDocument::pdf(sheet, SystemClock().today(), WorksheetDocument::preferredPaper())
                 : Failure{Failure::Kind::WorksheetNotSet};
    if (!pdf) {
        if (held)
            held->show();
        return pdf.failure();
    }
    return pdf->toStdString();
}

} // namespace quarn::cli
