#include "FileDialog.h"
#include "MessageBoxes.h"
#include "PrivateRun.h"
#include "ResultField.h"
#include "TForm1.h"
#include "TestFiles.h"
#include "UpperCaseLineEdit.h"
#include "WindowFakes.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace quarn;

// Runs as the program runs: started as it starts, with a home and configuration folder of its own, so that
// whatever the run writes there shows.
class TestPrivateRun : public QObject
{
    Q_OBJECT

public:
    explicit TestPrivateRun(QString home) : m_home(std::move(home)) {}

private slots:
    void coreDumpsAreOff();
    void realDialogsWriteNoSettings();

private:
    // Answers the next real file dialog: notes the folder it opened in, and the type it shows for `listed`,
    // then chooses `path` (empty: cancels).
    void answerDialog(const QString& path, QString* openedIn, const QString& listed = {}, QString* type = nullptr);

    QString m_home;
};

void TestPrivateRun::coreDumpsAreOff()
{
#ifdef Q_OS_UNIX
    rlimit limit{};
    QCOMPARE(getrlimit(RLIMIT_CORE, &limit), 0);
    QCOMPARE(limit.rlim_cur, rlim_t(0));
    QCOMPARE(limit.rlim_max, rlim_t(0));
#ifdef Q_OS_LINUX
    QCOMPARE(prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 0);
#endif
#elif defined(Q_OS_WIN)
    QVERIFY(GetErrorMode() & SEM_NOGPFAULTERRORBOX);
    // The last filter is the program's own, which ends the process before an error report is made.
    const LPTOP_LEVEL_EXCEPTION_FILTER own = SetUnhandledExceptionFilter(nullptr);
    SetUnhandledExceptionFilter(own);
    QVERIFY(own != nullptr);
#endif
}

void TestPrivateRun::answerDialog(const QString& path, QString* openedIn, const QString& listed, QString* type)
{
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [poll, path, openedIn, listed, type, tries = 0]() mutable {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        // The list learns the types of its files a moment after it shows them.
        if (type) {
            const auto* model = dialog->findChild<QFileSystemModel*>();
            *type = model ? model->type(model->index(listed)) : QString();
            if (type->isEmpty() && ++tries < 250)
                return;
        }
        poll->stop();
        poll->deleteLater();
        *openedIn = dialog->directory().absolutePath();
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // As a user types it: the whole path into the name field, then OK.
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(path);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog checks the choice, as its OK button does
        // A dialog that did not take the answer is closed, so that the test fails instead of hanging.
        QTimer::singleShot(5000, dialog, &QDialog::reject);
    });
    poll->start(20);
}

#ifdef Q_OS_WIN
// Qt's own settings in the registry, where its file dialog would record its history, with their values.
static QVariantMap qtRegistrySettings()
{
    QSettings settings(QStringLiteral("HKEY_CURRENT_USER\\Software\\QtProject"), QSettings::NativeFormat);
    QVariantMap out;
    for (const QString& key : settings.allKeys())
        out.insert(key, settings.value(key));
    return out;
}
#endif

void TestPrivateRun::realDialogsWriteNoSettings()
{
#ifdef Q_OS_WIN
    const QVariantMap registryBefore = qtRegistrySettings();
#endif
    QTemporaryDir work;
    QVERIFY(work.isValid());
    QVERIFY(QDir(work.path()).mkpath(QStringLiteral("a")));
    QVERIFY(QDir(work.path()).mkpath(QStringLiteral("b")));
    const QString cipher = work.filePath(QStringLiteral("a/06032026.crp"));
    QVERIFY(test::writeBytes(cipher, "12345 67890 "));
    const QString text = work.filePath(QStringLiteral("b/06032026.txt"));

    // Boxes recorded, the file dialogs the real ones.
    WindowSeams seams = test::WindowFakes().seams();
    seams.files = std::make_shared<SystemFileChooser>();
    {
        TForm1 form(seams);
        form.findChild<QRadioButton*>(QStringLiteral("rb_QuarnDecod"))->setChecked(true);
        QString loadIn, saveIn, padIn;
        answerDialog(cipher, &loadIn);
        form.bt_QuarnInLoadClick();
        QCOMPARE(form.findChild<UpperCaseLineEdit*>(QStringLiteral("QuarnIn"))->text(), QStringLiteral("12345 67890 "));
        form.Quarn();

        form.findChild<ResultField*>(QStringLiteral("QuarnDecrypt"))->setFieldText(QStringLiteral("HALLO"));
        answerDialog(text, &saveIn);
        form.bt_QuarnDecryptSaveClick();
        QCOMPARE(test::readBytes(text), QByteArray("HALLO"));
        // The save opened where the load had chosen; the next load opens where the save had chosen.
        QCOMPARE(saveIn, work.filePath(QStringLiteral("a")));
        // A pad is named as the program's file type, not as the office template the system takes *.otp for.
        QVERIFY(test::writeBytes(work.filePath(QStringLiteral("b/06032026.OTP")), "12345 "));
        QString padType;
        answerDialog(QString(), &padIn, work.filePath(QStringLiteral("b/06032026.OTP")), &padType);
        form.bt_OTPLoadClick();
        QCOMPARE(padIn, work.filePath(QStringLiteral("b")));
        QCOMPARE(padType, QStringLiteral("Quarn-Schlüsseldatei (OTP)"));
        QVERIFY(!loadIn.isEmpty());
    }

    QStringList written;
    QDirIterator it(m_home, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        written << it.next();
    QCOMPARE(written, QStringList());
#ifdef Q_OS_WIN
    QCOMPARE(qtRegistrySettings(), registryBefore);
#endif
}

int main(int argc, char** argv)
{
    // Before anything asks where the user's settings are.
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/share"))));
    QApplication application(argc, argv);
    makeRunPrivate();
    TestPrivateRun test(home.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_privaterun.moc"
