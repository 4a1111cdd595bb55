#include "Startup.h"

#include "TForm1.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace quarn {

int runQuarn(int& argc, char** argv)
{
    QApplication application(argc, argv);
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
    window.setWindowIcon(icon);
    window.show();
    return QApplication::exec();
}

} // namespace quarn
