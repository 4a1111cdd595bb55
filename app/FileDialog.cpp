#include "FileDialog.h"

#include "WindowHints.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#ifdef Q_OS_WIN
#include <QSettings>
#endif

namespace quarn {

namespace {

// "Textdateien (*.txt)|*.txt" to Qt's "Textdateien (*.txt)": the patterns must stand in parentheses.
QString qtFilter(const QString& filter)
{
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return filter;
    const QString description = filter.left(bar);
    const QString pattern = filter.mid(bar + 1);
    if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')')))
        return description;
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

#ifdef Q_OS_WIN
// Qt's file dialog writes its history and last folder into the registry when it goes (the user's native
// settings, which no settings path moves), under HKEY_CURRENT_USER\Software\QtProject in
// OrganizationDefaults\FileDialog. Once the dialog is gone, the keys it made are removed and values that
// were there come back.
class RegistryKeptAsItWas
{
public:
    RegistryKeptAsItWas()
    {
        QSettings parent(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat);
        for (const QString& key :
             {QStringLiteral("QtProject"), QStringLiteral("OrganizationDefaults"), QStringLiteral("FileDialog")}) {
            if (!parent.childGroups().contains(key)) {
                m_made = m_kept.isEmpty() ? key : m_kept + QLatin1Char('/') + key;
                return;
            }
            m_kept += (m_kept.isEmpty() ? QString() : QStringLiteral("/")) + key;
            parent.beginGroup(key);
        }
        for (const QString& key : parent.allKeys())
            m_values.insert(key, parent.value(key));
    }
    ~RegistryKeptAsItWas()
    {
        QSettings software(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat);
        if (!m_made.isEmpty()) {
            software.remove(m_made);
            return;
        }
        software.beginGroup(m_kept);
        software.remove(QString());
        for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
            software.setValue(it.key(), it.value());
    }
    RegistryKeptAsItWas(const RegistryKeptAsItWas&) = delete;
    RegistryKeptAsItWas& operator=(const RegistryKeptAsItWas&) = delete;

private:
    QString m_kept; // the keys that were there, down to the dialog's own when all were
    QString m_made; // the first key that was not
    QVariantMap m_values;
};
#endif

// Qt's dialog names a file's type after the MIME database, whose office template takes *.OTP as its own: the
// program's types, by their case-sensitive globs, come first.
class OwnFileTypes : public QFileIconProvider
{
public:
    QString type(const QFileInfo& info) const override
    {
        if (info.isFile() && info.suffix() == QLatin1String("OTP"))
            return QString::fromUtf8(WindowHints::PadType);
        if (info.isFile() && info.suffix() == QLatin1String("crp"))
            return QString::fromUtf8(WindowHints::CipherType);
        return QFileIconProvider::type(info);
    }
};

} // namespace

FileDialog::FileDialog(Mode mode, const QString& objectName, std::shared_ptr<FileChooser> chooser, QObject* parent)
    : QObject(parent), m_mode(mode), m_chooser(std::move(chooser))
{
    setObjectName(objectName);
}

bool FileDialog::execute(QWidget* parent)
{
    const QString chosen = m_chooser->choose(parent, *this);
    if (chosen.isEmpty())
        return false;
    m_fileName = chosen;
    *m_folder = QFileInfo(chosen).absolutePath();
    return true;
}

QString SystemFileChooser::choose(QWidget* parent, const FileDialog& request)
{
#ifdef Q_OS_WIN
    const RegistryKeptAsItWas registry; // declared first: it puts things back after the dialog is gone
#endif

    OwnFileTypes types;
    QFileDialog dialog(parent);
    dialog.setIconProvider(&types);
    dialog.setNameFilter(qtFilter(request.filter()));
    if (request.mode() == FileDialog::Mode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The program asks about an existing file itself, and a typed name is used as typed.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(QString());
    }
    // Without a folder of the run's own the first dialog opens where the platform chooses.
    const QString folder = request.folder();
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    // The open dialog's last file is offered only where it lies; selecting it elsewhere would move the
    // dialog away from the folder chosen last.
    const QString fileName = request.fileName();
    if (!fileName.isEmpty() &&
        (request.mode() == FileDialog::Mode::Save || folder.isEmpty() || QFileInfo(fileName).absolutePath() == folder))
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace quarn
