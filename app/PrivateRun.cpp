#include "PrivateRun.h"

#include "CoreDumps.h"

#include <QCoreApplication>
#include <QSettings>

namespace quarn {

void makeRunPrivate()
{
    switchOffCoreDumps();

    // Qt's own dialogs under every platform theme: a native file chooser (GTK's, say) records each file in
    // the desktop's recent-files list and keeps its state in the user's settings. Set before any dialog
    // exists, since a dialog made first would already have started the native toolkit.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);

    // Qt's file dialog stores its history and last folder in the user's settings when it closes, and has
    // no switch for it. The user's settings are sent below the program file, where no folder can ever be
    // made, so that nothing is written. On Windows the native settings are the registry, which no path
    // moves: there settings made without a format (the dialog's are) take the ini format instead.
#ifdef Q_OS_WIN
    QSettings::setDefaultFormat(QSettings::IniFormat);
#endif
    const QString program = QCoreApplication::applicationFilePath();
    if (program.isEmpty())
        return;
    const QString nowhere = program + QStringLiteral("/keine-Einstellungen");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

} // namespace quarn
