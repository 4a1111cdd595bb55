#include "DateFileName.h"
#include "DurableFile.h"
#include "FileMessages.h"
#include "FixedClock.h"
#include "OddFiles.h"
#include "PadFileText.h"
#include "TestFiles.h"
#include "TextFile.h"
#include "Unprivileged.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <acl/libacl.h>
#include <sys/acl.h>
#include <sys/file.h>
#include <sys/xattr.h>
#endif

using namespace quarn;

namespace {

using test::readBytes;
using test::writeBytes;

// The reason a save or a load gives, as the window words it; empty where it succeeded.
QString why(const Result<>& done)
{
    return done ? QString() : QString::fromStdString(Messages::text(done.failure()));
}
QString why(const LoadedText& loaded)
{
    return loaded.failure ? QString::fromStdString(Messages::text(*loaded.failure)) : QString();
}
// The file was read, and it is no pad.
bool notAPad(const LoadedText& loaded)
{
    return loaded.failure && PadFileText::isNoPad(*loaded.failure);
}

QString padText()
{
    QString pad;
    for (int i = 0; i < 100; ++i)
        pad += QStringLiteral("%1 ").arg(i * 977 % 100000, 5, 10, QLatin1Char('0'));
    return pad;
}

const QByteArray Old("old content, longer than the new one\r\n");

// The steps a save may fail at, made to fail through DurableFile's seam.
enum class Step
{
    SyncFile,
    SyncFolder,
    Rename
};

#ifdef Q_OS_UNIX
struct FailingStep
{
    static inline Step step = Step::SyncFile;
    static inline int error = EIO;
    static inline int syncs = 0;

    static int sync(int fd)
    {
        const bool folder = ++syncs == 2;
        if ((step == Step::SyncFile && !folder) || (step == Step::SyncFolder && folder)) {
            errno = error;
            return -1;
        }
        return ::fsync(fd);
    }
    static int rename(int folder, const char* from, const char* to)
    {
        if (step == Step::Rename) {
            errno = error;
            return -1;
        }
        return ::renameat(folder, from, folder, to);
    }
};

// A file system as FAT is through the seam: no unnamed files, no hard links, no modes; the rename that does
// not replace is there (the kernel's FAT) or not (FAT through FUSE). `takenMeanwhile` has another program take
// the name just before that rename.
struct FatCalls
{
    static inline int renameError = 0; // what the rename that does not replace fails with; 0: it works
    static inline int chmodError = 0;
    static inline int keepsModes = 0;
    static inline bool takenMeanwhile = false;

    static int renameNoReplace(int folder, const char* from, const char* to)
    {
        if (takenMeanwhile) {
            const int fd = ::openat(folder, to, O_CREAT | O_WRONLY, 0644);
            if (fd >= 0) {
                (void)!::write(fd, "theirs", 6);
                ::close(fd);
            }
        }
        if (renameError != 0) {
            errno = renameError;
            return -1;
        }
#ifdef RENAME_NOREPLACE
        return ::renameat2(folder, from, folder, to, RENAME_NOREPLACE);
#else
        errno = EINVAL;
        return -1;
#endif
    }
    static int link(int, const char*, const char*)
    {
        errno = EPERM;
        return -1;
    }
    static int openUnnamed(int, int)
    {
        errno = EOPNOTSUPP;
        return -1;
    }
    static int chmod(int fd, int mode)
    {
        if (chmodError != 0) {
            errno = chmodError;
            return -1;
        }
        return ::fchmod(fd, mode_t(mode));
    }
    static int keeps(int)
    {
        return keepsModes;
    }
};

// The pad saved as TextFile::writePad saves it, but through `calls`; the reason as the window gives it.
QString savePadThrough(const QString& path, const DurableFile::Calls& calls)
{
    const std::string bytes = padText().toStdString() + "\r\n";
    return why(DurableFile::write(QFile::encodeName(path).toStdString(), bytes, DurableFile::Existing::Replace,
                                  DurableFile::Access::OwnerOnly, calls));
}
#endif

// The files a folder holds, hidden ones included.
QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

QString aclText(const QString& path)
{
#ifdef Q_OS_LINUX
    const acl_t acl = acl_get_file(QFile::encodeName(path).constData(), ACL_TYPE_ACCESS);
    if (!acl)
        return QStringLiteral("<none>");
    char* text = acl_to_any_text(acl, nullptr, ',', 0);
    const QString out = QString::fromLocal8Bit(text);
    acl_free(text);
    acl_free(acl);
    return out;
#else
    Q_UNUSED(path);
    return QString();
#endif
}

} // namespace

Q_DECLARE_METATYPE(Step)

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void writtenBytesAreExact_data();
    void writtenBytesAreExact();
    void readLimits_data();
    void readLimits();
    void padLoadKeepsTheFirst600_data();
    void padLoadKeepsTheFirst600();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void specialFilesAreNotWrittenOver();
    void newPadsArePrivate_data();
    void newPadsArePrivate();
    void rightsOfTheOldFileAreKept_data();
    void rightsOfTheOldFileAreKept();
    void rightsThatCannotBeKeptFailTheSave();
    void failedStepsKeepTheOldFile_data();
    void failedStepsKeepTheOldFile();
    void fatSavesThroughTheSeam_data();
    void fatSavesThroughTheSeam();
    void leftoversOfKilledSavesAreRemoved_data();
    void leftoversOfKilledSavesAreRemoved();
    void savesOnARealFatStick_data();
    void savesOnARealFatStick();
    void readFailures_data();
    void readFailures();
    void writeFailuresKeepTheOldFile_data();
    void writeFailuresKeepTheOldFile();
    void unreadableFileIsReported();
    void unwritableFolderIsReported();
    void pathLongerThan255IsUsedWhole();
    void hugeFileIsNotReadToItsEnd();
    void isFileOnlyForFiles();
    void lastPartNamesTheFile_data();
    void lastPartNamesTheFile();
    void dateFileNames_data();
    void dateFileNames();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestTextFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestTextFile::writtenBytesAreExact_data()
{
    QTest::addColumn<bool>("pad");
    QTest::addColumn<bool>("overExisting");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray padBytes = padText().toLatin1();
    QTest::newRow("a new pad is the pad and CR LF, 602 bytes") << true << false << padText() << padBytes + "\r\n";
    QTest::newRow("a pad written over a file also ends with CR LF") << true << true << padText() << padBytes + "\r\n";
    QTest::newRow("an empty new pad is only CR LF") << true << false << QString() << QByteArray("\r\n");
    QTest::newRow("a result gets no line end")
        << false << false << QStringLiteral("12345 67890 ") << QByteArray("12345 67890 ");
    QTest::newRow("a result written over a longer file replaces all of it")
        << false << true << QStringLiteral("12345 ") << QByteArray("12345 ");
    QTest::newRow("an empty result is a file of 0 bytes") << false << false << QString() << QByteArray();
    QTest::newRow("umlauts and sharp s are single Windows-1252 bytes")
        << false << false << QStringLiteral("ÄÖÜ äöü ß") << QByteArray("\xC4\xD6\xDC \xE4\xF6\xFC \xDF");
    QTest::newRow("line breaks in a result are kept as they are")
        << false << false << QStringLiteral("A\r\nB\nC") << QByteArray("A\r\nB\nC");
}

void TestTextFile::writtenBytesAreExact()
{
    QFETCH(bool, pad);
    QFETCH(bool, overExisting);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    const QString path = m_dir->filePath(QStringLiteral("06032026.OTP"));
    if (overExisting)
        QVERIFY(writeBytes(path, Old + Old));
    const QString error = pad ? why(TextFile::writePad(path, text)) : why(TextFile::write(path, text));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(readBytes(path), bytes);

    // Back through a load, as far as its limit reaches; a pad load takes nothing but a pad.
    const LoadedText back = pad ? TextFile::readPad(path) : TextFile::read(path, qsizetype(Limits::CipherTextLoaded));
    if (pad && text.size() != qsizetype(Limits::Pad)) {
        QVERIFY(notAPad(back));
        return;
    }
    QVERIFY(back.ok());
    QCOMPARE(back.text, pad ? (text + QStringLiteral("\r\n")).left(qsizetype(Limits::Pad)) : text);
}

void TestTextFile::readLimits_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qsizetype>("limit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("tooLarge");

    const QByteArray a100(100, 'A');
    const QByteArray c600 = QByteArray("12345 ").repeated(100);
    const qsizetype plain = qsizetype(Limits::PlainText);
    const qsizetype cipher = qsizetype(Limits::CipherTextLoaded);

    QTest::newRow("100 characters load whole") << a100 << plain << QString(a100) << false;
    QTest::newRow("101 characters keep the first 100 and are too large")
        << a100 + 'B' << plain << QString(a100) << true;
    QTest::newRow("100 letters and CR LF are 102 characters, too large") << a100 + "\r\n"
                                                                         << plain << QString(a100) << true;
    QTest::newRow("98 letters and CR LF fit") << QByteArray(98, 'A') + "\r\n"
                                              << plain << QString(QByteArray(98, 'A') + "\r\n") << false;
    QTest::newRow("600 cipher characters load whole") << c600 << cipher << QString(c600) << false;
    QTest::newRow("603 cipher characters load whole") << c600 + "\r\n1" << cipher << QString(c600 + "\r\n1") << false;
    QTest::newRow("604 cipher characters are too large")
        << c600 + "\r\n12" << cipher << QString(c600 + "\r\n1") << true;
    QTest::newRow("a byte 26 as third byte ends the text")
        << QByteArray("AB\x1A") + a100 << plain << QStringLiteral("AB") << false;
    QTest::newRow("a byte 26 right after the limit is never too large")
        << a100 + "\x1A" + a100 << plain << QString(a100) << false;
    QTest::newRow("a byte 0 is dropped and its neighbours join")
        << QByteArray("AB\0CD", 5) << plain << QStringLiteral("ABCD") << false;
    QTest::newRow("a byte 0 counts toward the limit")
        << QByteArray(50, 'A') + QByteArray(1, '\0') + QByteArray(49, 'B') << plain
        << QString(QByteArray(50, 'A') + QByteArray(49, 'B')) << false;
    QTest::newRow("a byte 0 can make a file too large")
        << QByteArray(50, 'A') + QByteArray(1, '\0') + QByteArray(50, 'B') << plain
        << QString(QByteArray(50, 'A') + QByteArray(49, 'B')) << true;
    QTest::newRow("Windows-1252 letters become their characters")
        << QByteArray("\xC4\xD6\xDC\xE4\xF6\xFC\xDF") << plain << QStringLiteral("ÄÖÜäöüß") << false;
    const QByteArray ue("\xC3\xBC"); // ü in UTF-8
    QTest::newRow("a Linux editor's UTF-8 reads as its characters") << QByteArray("Gr\xC3\xBC\xC3\x9F"
                                                                                  "e \xE2\x86\x92 \xE2\x82\xAC")
                                                                    << plain << QStringLiteral("Grüße → €") << false;
    QTest::newRow("100 UTF-8 umlauts are 100 characters") << ue.repeated(100) << plain << QString(100, u'ü') << false;
    QTest::newRow("101 UTF-8 umlauts are too large") << ue.repeated(101) << plain << QString(100, u'ü') << true;
    QTest::newRow("UTF-8 cut inside a character where reading stops is still UTF-8")
        << 'A' + ue.repeated(300) << plain << 'A' + QString(99, u'ü') << true;
    QTest::newRow("one byte that is not UTF-8 makes the file Windows-1252")
        << ue + "\xFC" << plain << QStringLiteral("Ã¼ü") << false;
    QTest::newRow("a byte 0 in UTF-8 counts toward the limit")
        << QByteArray(99, 'A') + QByteArray(1, '\0') + ue << plain << QString(QByteArray(99, 'A')) << true;
    QTest::newRow("an empty file is an empty text") << QByteArray() << plain << QString() << false;
    QTest::newRow("a limit of 0 loads an empty file") << QByteArray() << qsizetype(0) << QString() << false;
    QTest::newRow("a limit of 0 makes one character too large") << QByteArray("A") << qsizetype(0) << QString() << true;
    QTest::newRow("a negative limit reads as 0, an empty file fits")
        << QByteArray() << qsizetype(-1) << QString() << false;
    QTest::newRow("a negative limit reads as 0, one character is too large")
        << QByteArray("A") << qsizetype(-5) << QString() << true;
}

void TestTextFile::readLimits()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qsizetype, limit);
    QFETCH(QString, text);
    QFETCH(bool, tooLarge);

    const QString path = m_dir->filePath(QStringLiteral("text.txt"));
    QVERIFY(writeBytes(path, bytes));
    const LoadedText loaded = TextFile::read(path, limit);
    QVERIFY2(loaded.ok(), qPrintable(why(loaded)));
    QCOMPARE(loaded.text, text);
    QCOMPARE(loaded.tooLarge, tooLarge);
}

void TestTextFile::padLoadKeepsTheFirst600_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const QByteArray pad = padText().toLatin1();
    QTest::newRow("a saved pad loads without its CR LF") << pad + "\r\n" << QString(pad);
    QTest::newRow("a long file gives only its first 600 characters") << pad + pad << QString(pad);
    QTest::newRow("a byte 26 after the pad ends the file") << pad + "\x1A" + "ABC" << QString(pad);
    // Otherwise the cipher would find 599 characters and make a new pad in place of the loaded one.
    QTest::newRow("a byte 0 takes no place among the 600") << QByteArray("0\0", 2) + pad.mid(1) + "\r\n"
                                                           << QString(pad);
    QTest::newRow("many bytes 0 before the pad") << QByteArray(1000, '\0') + pad << QString(pad);
}

void TestTextFile::padLoadKeepsTheFirst600()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    const QString path = m_dir->filePath(QStringLiteral("pad.OTP"));
    QVERIFY(writeBytes(path, bytes));
    const LoadedText loaded = TextFile::readPad(path);
    QVERIFY(loaded.ok());
    QCOMPARE(loaded.text, text);
    QVERIFY(!loaded.tooLarge);
}

void TestTextFile::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("path"); // relative to the test folder, or absolute
    QTest::addColumn<QString>("reason");

    const QString notRegular = QStringLiteral("ist keine normale Datei");
    QTest::newRow("a FIFO without a writer is refused at once") << QStringLiteral("fifo.OTP") << notRegular;
    QTest::newRow("a link to a FIFO is refused too") << QStringLiteral("link.OTP") << notRegular;
    QTest::newRow("a socket is refused") << QStringLiteral("socket.OTP") << notRegular;
    QTest::newRow("an endless device is refused") << QStringLiteral("/dev/zero") << notRegular;
    QTest::newRow("an empty device is refused") << QStringLiteral("/dev/null") << notRegular;
    QTest::newRow("a folder is named as one") << QStringLiteral("folder.OTP") << QStringLiteral("ist ein Ordner");
}

void TestTextFile::onlyRegularFilesAreRead()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);

    const QString fifo = m_dir->filePath(QStringLiteral("fifo.OTP"));
    if (!test::makeFifo(fifo) || !test::makeSocket(m_dir->filePath(QStringLiteral("socket.OTP"))))
        QSKIP("no FIFO or socket on this system");
    QVERIFY(QFile::link(fifo, m_dir->filePath(QStringLiteral("link.OTP"))));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.OTP")));
    path = QDir(m_dir->path()).filePath(path);
    if (!QFileInfo::exists(path))
        QSKIP("no such device here");

    test::FifoGuard guard(fifo, std::chrono::seconds(5));
    const LoadedText text = TextFile::read(path, qsizetype(Limits::CipherTextLoaded));
    const LoadedText pad = TextFile::readPad(path);
    QVERIFY2(!guard.finish(), "the load waited for a writer");
    for (const LoadedText& loaded : {text, pad}) {
        QCOMPARE(why(loaded), reason);
        QVERIFY(!notAPad(loaded));
        QVERIFY(loaded.text.isEmpty());
    }
}

void TestTextFile::specialFilesAreNotWrittenOver()
{
    const QString fifo = m_dir->filePath(QStringLiteral("fifo.OTP"));
    const QString socket = m_dir->filePath(QStringLiteral("socket.crp"));
    if (!test::makeFifo(fifo) || !test::makeSocket(socket))
        QSKIP("no FIFO or socket on this system");
    for (const QString& path : {fifo, socket}) {
        QVERIFY(!TextFile::isFile(path));
        QCOMPARE(why(TextFile::writePad(path, padText())), QStringLiteral("ist keine normale Datei"));
        QCOMPARE(why(TextFile::write(path, QStringLiteral("12345 "))), QStringLiteral("ist keine normale Datei"));
        QVERIFY(QFileInfo::exists(path) && !QFileInfo(path).isFile());
    }
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(), 2);
}

void TestTextFile::newPadsArePrivate_data()
{
    QTest::addColumn<bool>("pad");
    QTest::addColumn<int>("oldMode"); // -1: a new file
    QTest::addColumn<int>("mode");

    QTest::newRow("a new pad is for its owner only") << true << -1 << 0600;
    QTest::newRow("a new cipher has the usual mode") << false << -1 << 0644;
    QTest::newRow("a pad written over keeps a group's right to read") << true << 0640 << 0640;
    QTest::newRow("a pad written over a public file keeps it public") << true << 0644 << 0644;
    QTest::newRow("a cipher written over a private file keeps it private") << false << 0600 << 0600;
    QTest::newRow("a pad written over keeps the set-group-id bit") << true << 02640 << 02640;
}

void TestTextFile::newPadsArePrivate()
{
    QFETCH(bool, pad);
    QFETCH(int, oldMode);
    QFETCH(int, mode);

    const QString path = m_dir->filePath(QStringLiteral("06032026.OTP"));
#ifdef Q_OS_WIN
    // There the access list says it; the Unix modes of an old file have no counterpart.
    if (oldMode >= 0)
        QSKIP("Unix modes");
    QCOMPARE(pad ? why(TextFile::writePad(path, padText())) : why(TextFile::write(path, QStringLiteral("12345 "))),
             QString());
    QCOMPARE(test::onlyTheOwnerMayOpen(path), mode == 0600);
    return;
#endif
    const test::Umask umask(022);
    if (test::modeOf(m_dir->path()) < 0)
        QSKIP("no Unix file modes here");
    if (oldMode >= 0) {
        QVERIFY(writeBytes(path, Old));
        QVERIFY(test::setMode(path, oldMode));
    }
    QCOMPARE(pad ? why(TextFile::writePad(path, padText())) : why(TextFile::write(path, QStringLiteral("12345 "))),
             QString());
    QCOMPARE(QString::number(test::modeOf(path), 8), QString::number(mode, 8));
}

void TestTextFile::rightsOfTheOldFileAreKept_data()
{
    QTest::addColumn<QString>("acl"); // empty: the mode alone
    QTest::addColumn<int>("owner");   // -1: the test's own user
    QTest::addColumn<QByteArray>("attribute");
    QTest::addColumn<int>("group"); // -1: the owner's

    QTest::newRow("a named user's right to read stays and the group stays out")
        << QStringLiteral("user::rw-,user:65534:r--,group::---,mask::r--,other::---") << -1 << QByteArray() << -1;
    QTest::newRow("a named group's right to read stays")
        << QStringLiteral("user::rw-,group::---,group:65534:r--,mask::r--,other::---") << -1 << QByteArray() << -1;
    QTest::newRow("another user's file stays theirs") << QString() << 65534 << QByteArray() << -1;
    QTest::newRow("a file of the user's in another group stays in it") << QString() << -1 << QByteArray() << 65534;
    QTest::newRow("a user attribute stays") << QString() << -1 << QByteArray("user.quarn") << -1;
}

void TestTextFile::rightsOfTheOldFileAreKept()
{
#ifdef Q_OS_LINUX
    QFETCH(QString, acl);
    QFETCH(int, owner);
    QFETCH(QByteArray, attribute);
    QFETCH(int, group);

    const QString path = m_dir->filePath(QStringLiteral("06032026.OTP"));
    const QByteArray native = QFile::encodeName(path);
    QVERIFY(writeBytes(path, Old));
    QVERIFY(test::setMode(path, 0600));
    if (!acl.isEmpty()) {
        const acl_t list = acl_from_text(acl.toLatin1().constData());
        QVERIFY(list);
        const int set = acl_set_file(native.constData(), ACL_TYPE_ACCESS, list);
        acl_free(list);
        if (set != 0)
            QSKIP(qPrintable(QStringLiteral("SKIP: keine Zugriffslisten auf diesem Dateisystem: ") +
                             QString::fromLocal8Bit(strerror(errno))));
    }
    if (owner >= 0 && ::chown(native.constData(), uid_t(owner), gid_t(owner)) != 0)
        QSKIP("SKIP: nur als root lässt sich eine Datei eines anderen Benutzers anlegen");
    if (group >= 0 && ::chown(native.constData(), uid_t(-1), gid_t(group)) != 0)
        QSKIP("SKIP: nur als root lässt sich eine Datei einer fremden Gruppe anlegen");
    if (!attribute.isEmpty() && ::setxattr(native.constData(), attribute.constData(), "1", 1, 0) != 0)
        QSKIP(qPrintable(QStringLiteral("SKIP: keine erweiterten Attribute hier: ") +
                         QString::fromLocal8Bit(strerror(errno))));
    const QString aclBefore = aclText(path);
    struct stat before;
    QCOMPARE(::stat(native.constData(), &before), 0);

    QCOMPARE(why(TextFile::writePad(path, padText())), QString());
    QCOMPARE(readBytes(path), padText().toLatin1() + "\r\n");
    struct stat after;
    QCOMPARE(::stat(native.constData(), &after), 0);
    QVERIFY(after.st_ino != before.st_ino); // a new file, not the old one written in place
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(QString::number(after.st_mode & 07777, 8), QString::number(before.st_mode & 07777, 8));
    QCOMPARE(aclText(path), aclBefore);
    if (!attribute.isEmpty()) {
        char value[4] = {};
        QCOMPARE(::getxattr(native.constData(), attribute.constData(), value, sizeof(value)), ssize_t(1));
        QCOMPARE(value[0], '1');
    }
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 1);
#else
    QSKIP("no owners and access lists to keep here");
#endif
}

void TestTextFile::rightsThatCannotBeKeptFailTheSave()
{
#ifdef Q_OS_LINUX
    // Run as "nobody" in a folder everyone may write to: root's file there cannot stay root's.
    const QString folder = m_dir->filePath(QStringLiteral("shared"));
    const QString path = folder + QStringLiteral("/06032026.OTP");
    if (test::isRoot()) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(test::setMode(m_dir->path(), 0755));
        QVERIFY(test::setMode(folder, 0777));
        QVERIFY(writeBytes(path, Old));
        QVERIFY(test::setMode(path, 0666));
        QString output;
        const QByteArray variable = "QUARN_SHARED_FOLDER=" + QFile::encodeName(folder);
        ::putenv(const_cast<char*>(variable.constData()));
        const int rc = test::runAsNobody("rightsThatCannotBeKeptFailTheSave", &output);
        ::unsetenv("QUARN_SHARED_FOLDER");
        if (rc < 0)
            QSKIP(qPrintable(QStringLiteral("SKIP: kein Lauf ohne Root-Rechte möglich: ") + output));
        QVERIFY2(rc == 0, qPrintable(output));
        QCOMPARE(readBytes(path), Old);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 1);
        return;
    }
    const QString given = qEnvironmentVariable("QUARN_SHARED_FOLDER");
    if (given.isEmpty())
        QSKIP("SKIP: nur als root lässt sich eine Datei eines anderen Benutzers anlegen");
    QCOMPARE(why(TextFile::writePad(given + QStringLiteral("/06032026.OTP"), padText())),
             QStringLiteral("die Rechte der alten Datei lassen sich nicht übertragen"));
#else
    QSKIP("no owners here");
#endif
}

void TestTextFile::failedStepsKeepTheOldFile_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("reason");

    const QString failed = QStringLiteral("Schreibfehler");
    QTest::newRow("a failed sync saves no new pad") << Step::SyncFile << EIO << false << failed;
    QTest::newRow("a failed sync keeps the old pad") << Step::SyncFile << EIO << true << failed;
    QTest::newRow("a full disk met by the sync is named")
        << Step::SyncFile << ENOSPC << false << QStringLiteral("Datenträger voll");
    QTest::newRow("a file system that cannot sync saves the pad all the same")
        << Step::SyncFile << EINVAL << false << QString();
    QTest::newRow("a failed folder sync takes the new pad back") << Step::SyncFolder << EIO << false << failed;
    QTest::newRow("a failed rename keeps the old pad") << Step::Rename << EIO << true << failed;
    QTest::newRow("a refused rename is named")
        << Step::Rename << EACCES << true << QStringLiteral("Zugriff verweigert");
}

void TestTextFile::failedStepsKeepTheOldFile()
{
#ifdef Q_OS_UNIX
    QFETCH(Step, step);
    QFETCH(int, error);
    QFETCH(bool, exists);
    QFETCH(QString, reason);

    const QString path = m_dir->filePath(QStringLiteral("06032026.OTP"));
    if (exists)
        QVERIFY(writeBytes(path, Old));
    FailingStep::step = step;
    FailingStep::error = error;
    FailingStep::syncs = 0;
    const QString got = savePadThrough(path, {&FailingStep::sync, &FailingStep::rename});

    QCOMPARE(got, reason);
    const bool saved = reason.isEmpty();
    QCOMPARE(readBytes(path), saved ? padText().toLatin1() + "\r\n" : exists ? Old : QByteArray("<unreadable>"));
    // No temporary copy of the pad is left.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             exists || saved ? QStringList{QStringLiteral("06032026.OTP")} : QStringList{});
#else
    QSKIP("the seam serves Unix only");
#endif
}

void TestTextFile::fatSavesThroughTheSeam_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("renameError");
    QTest::addColumn<bool>("takenMeanwhile");
    QTest::addColumn<int>("chmodError");
    QTest::addColumn<int>("keepsModes");
    QTest::addColumn<QString>("reason");

    const QString taken = QStringLiteral("existiert bereits");
    QTest::newRow("a new pad on the kernel's FAT") << false << 0 << false << 0 << 0 << QString();
    QTest::newRow("a new pad on FUSE FAT, without that rename or a working chmod")
        << false << EINVAL << false << ENOSYS << 0 << QString();
    QTest::newRow("a pad written over on FUSE FAT") << true << EINVAL << false << ENOSYS << 0 << QString();
    QTest::newRow("a name taken meanwhile stays, by the rename") << false << 0 << true << 0 << 0 << taken;
    QTest::newRow("a name taken meanwhile stays, by the look first") << false << EINVAL << true << 0 << 0 << taken;
    QTest::newRow("a mode refused where modes are kept fails the save")
        << false << 0 << false << EPERM << 1 << QStringLiteral("Zugriff verweigert");
}

void TestTextFile::fatSavesThroughTheSeam()
{
#ifdef Q_OS_UNIX
    QFETCH(bool, exists);
    QFETCH(int, renameError);
    QFETCH(bool, takenMeanwhile);
    QFETCH(int, chmodError);
    QFETCH(int, keepsModes);
    QFETCH(QString, reason);

    const QString path = m_dir->filePath(QStringLiteral("06032026.OTP"));
    if (exists)
        QVERIFY(writeBytes(path, Old));
    FatCalls::renameError = renameError;
    FatCalls::takenMeanwhile = takenMeanwhile;
    FatCalls::chmodError = chmodError;
    FatCalls::keepsModes = keepsModes;
    DurableFile::Calls fat;
    fat.renameNoReplace = &FatCalls::renameNoReplace;
    fat.link = &FatCalls::link;
    fat.openUnnamed = &FatCalls::openUnnamed;
    fat.chmod = &FatCalls::chmod;
    fat.keepsModes = &FatCalls::keeps;
    const QString got = savePadThrough(path, fat);

    QCOMPARE(got, reason);
    QCOMPARE(readBytes(path), reason.isEmpty() ? padText().toLatin1() + "\r\n"
                              : takenMeanwhile ? QByteArray("theirs")
                                               : QByteArray("<unreadable>"));
    // No copy of the pad stays under a temporary name.
    QCOMPARE(filesIn(m_dir->path()), QFile::exists(path) ? QStringList{QStringLiteral("06032026.OTP")} : QStringList{});
#else
    QSKIP("the seam serves Unix only");
#endif
}

void TestTextFile::leftoversOfKilledSavesAreRemoved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("age"); // seconds before the save
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("removed");

    const QString own = QStringLiteral(".quarn-0a1b2c3d4e5f.tmp");
    QTest::newRow("a killed save's temporary file is removed") << own << 60 << "file" << true;
    QTest::newRow("one younger than the save is not") << own << -60 << "file" << false;
    QTest::newRow("a name of the user's that looks alike is not")
        << QStringLiteral(".06032026.OTP.0a1b2c3d") << 60 << "file" << false;
    QTest::newRow("a longer name that starts and ends alike is not")
        << QStringLiteral(".quarn-0a1b2c3d4e5f6.tmp") << 60 << "file" << false;
    QTest::newRow("capitals make it no name of the program's")
        << QStringLiteral(".quarn-0A1B2C3D4E5F.tmp") << 60 << "file" << false;
    QTest::newRow("one with a second name is not") << own << 60 << "linked" << false;
    QTest::newRow("one a running save holds is not") << own << 60 << "locked" << false;
    QTest::newRow("a symbolic link of that name is not") << own << 60 << "symlink" << false;
    QTest::newRow("one of another user is not") << own << 60 << "foreign" << false;
}

void TestTextFile::leftoversOfKilledSavesAreRemoved()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, name);
    QFETCH(int, age);
    QFETCH(QString, kind);
    QFETCH(bool, removed);

    const QString leftover = m_dir->filePath(name);
    const QString pad = m_dir->filePath(QStringLiteral("other.OTP"));
    QVERIFY(writeBytes(pad, padText().toLatin1()));
    if (kind == QLatin1String("symlink"))
        QVERIFY(QFile::link(pad, leftover));
    else
        QVERIFY(writeBytes(leftover, padText().toLatin1()));
    if (kind == QLatin1String("linked"))
        QVERIFY(::link(QFile::encodeName(leftover).constData(),
                       QFile::encodeName(m_dir->filePath("second")).constData()) == 0);
    if (kind == QLatin1String("foreign") && ::chown(QFile::encodeName(leftover).constData(), 65534, 65534) != 0)
        QSKIP("SKIP: only root can give a file to another user");
    const int held = ::open(QFile::encodeName(leftover).constData(), O_RDONLY);
    QVERIFY(held >= 0);
    if (kind == QLatin1String("locked"))
        QVERIFY(::flock(held, LOCK_EX) == 0);
    struct timespec times[2];
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= age;
    times[1] = times[0];
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(leftover).constData(), times, AT_SYMLINK_NOFOLLOW) == 0);

    QCOMPARE(why(TextFile::writePad(m_dir->filePath(QStringLiteral("06032026.OTP")), padText())), QString());
    ::close(held);
    QCOMPARE(QFileInfo(leftover).exists() || QFileInfo(leftover).isSymLink(), !removed);
    QCOMPARE(readBytes(pad), padText().toLatin1());
#else
    QSKIP("the leftovers are a Unix matter");
#endif
}

void TestTextFile::savesOnARealFatStick_data()
{
    QTest::addColumn<bool>("exfat");
    QTest::newRow("FAT") << false;
    QTest::newRow("exFAT") << true;
}

// The window's saves and quarn-cli's on a stick as a desktop mounts it: new files of every kind, a file written
// over, and a full stick; each read back, and no temporary file left.
void TestTextFile::savesOnARealFatStick()
{
    QFETCH(bool, exfat);
    if (!test::isRoot())
        QSKIP("SKIP: mounting a FAT image needs root");
    test::FatStick stick(m_dir->filePath(QStringLiteral("stick")), exfat);
    if (!stick.mounted())
        QSKIP(qPrintable(QStringLiteral("SKIP: no FAT stick to test on: ") + stick.refusal()));
    const auto on = [&](const char* name) { return m_dir->filePath(QStringLiteral("stick/") + QLatin1String(name)); };

    QCOMPARE(why(TextFile::writePad(on("06032026.OTP"), padText())), QString());
    QCOMPARE(why(TextFile::write(on("06032026.crp"), QStringLiteral("12345 67890 "))), QString());
    QCOMPARE(why(TextFile::write(on("06032026.txt"), QStringLiteral("TREFFEN UM ACHT"), TextFile::Access::OwnerOnly)),
             QString());
    QCOMPARE(why(TextFile::writeBinary(on("06032026.pdf"), QByteArray("%PDF-1.4\n"), TextFile::Access::OwnerOnly)),
             QString());
    QString second = padText();
    std::rotate(second.begin(), second.begin() + 6, second.end());
    QCOMPARE(why(TextFile::writePad(on("06032026.OTP"), second)), QString());
    QCOMPARE(why(DurableFile::write(on("neu.OTP").toStdString(), "new", DurableFile::Existing::Refuse,
                                    DurableFile::Access::OwnerOnly)),
             QString());
    QCOMPARE(why(DurableFile::write(on("neu.OTP").toStdString(), "again", DurableFile::Existing::Refuse,
                                    DurableFile::Access::OwnerOnly)),
             QStringLiteral("existiert bereits"));

    QCOMPARE(TextFile::readPad(on("06032026.OTP")).text, second);
    QCOMPARE(TextFile::read(on("06032026.crp"), qsizetype(Limits::CipherTextLoaded)).text,
             QStringLiteral("12345 67890 "));
    QCOMPARE(readBytes(on("06032026.txt")), QByteArray("TREFFEN UM ACHT"));
    QCOMPARE(readBytes(on("06032026.pdf")), QByteArray("%PDF-1.4\n"));
    QCOMPARE(readBytes(on("neu.OTP")), QByteArray("new"));

    QVERIFY(stick.fill());
    QCOMPARE(why(TextFile::writePad(on("voll.OTP"), padText())), QStringLiteral("Datenträger voll"));
    QCOMPARE(TextFile::readPad(on("06032026.OTP")).text, second);
    const QStringList files = filesIn(m_dir->filePath(QStringLiteral("stick")));
    for (const QString& file : files)
        QVERIFY2(!DurableFile::isTemporaryName(file.toStdString()), qPrintable(file));
    QVERIFY(!files.contains(QStringLiteral("voll.OTP")));
}

void TestTextFile::readFailures_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("reason");

    QTest::newRow("a missing file is not found")
        << QStringLiteral("missing.txt") << QStringLiteral("Datei nicht gefunden");
    QTest::newRow("a missing folder is not found")
        << QStringLiteral("nowhere/missing.txt") << QStringLiteral("Ordner nicht gefunden");
    QTest::newRow("a folder is no file") << QStringLiteral("folder.txt") << QStringLiteral("ist ein Ordner");
    QTest::newRow("a path under a regular file has no folder")
        << QStringLiteral("plain.txt/inner.txt") << QStringLiteral("Ordner nicht gefunden");
    QTest::newRow("a symlink loop is named as one")
        << QStringLiteral("loop.txt") << QStringLiteral("symbolische Verknüpfungen bilden eine Schleife");
}

void TestTextFile::readFailures()
{
    QFETCH(QString, relativePath);
    QFETCH(QString, reason);
    if (relativePath.startsWith(QLatin1String("loop")))
        QUARN_UNIX_ONLY(
            "symbolic links: Windows lets only administrators make them, and QFile::link makes shortcuts there");

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.txt")));
    QVERIFY(writeBytes(m_dir->filePath(QStringLiteral("plain.txt")), "ABC"));
#ifndef Q_OS_WIN
    QFile::link(QStringLiteral("loop.txt"), m_dir->filePath(QStringLiteral("loop2.txt")));
    QFile::link(QStringLiteral("loop2.txt"), m_dir->filePath(QStringLiteral("loop.txt")));
#endif
    for (const LoadedText& loaded : {TextFile::read(m_dir->filePath(relativePath), qsizetype(Limits::PlainText)),
                                     TextFile::readPad(m_dir->filePath(relativePath))}) {
        QCOMPARE(why(loaded), reason);
        QVERIFY(loaded.text.isEmpty());
        QVERIFY(!loaded.tooLarge);
    }
}

void TestTextFile::writeFailuresKeepTheOldFile_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("reason");

    QTest::newRow("a folder of that name is not written over")
        << QStringLiteral("folder.crp") << QStringLiteral("ist ein Ordner");
    QTest::newRow("a missing folder is not made")
        << QStringLiteral("nowhere/06032026.crp") << QStringLiteral("Ordner nicht gefunden");
    QTest::newRow("a path under a regular file is refused")
        << QStringLiteral("old.crp/06032026.crp") << QStringLiteral("Ordner nicht gefunden");
    QTest::newRow("a symlink loop is not replaced by a file")
        << QStringLiteral("loop.crp") << QStringLiteral("symbolische Verknüpfungen bilden eine Schleife");
}

void TestTextFile::writeFailuresKeepTheOldFile()
{
    QFETCH(QString, relativePath);
    QFETCH(QString, reason);
    if (relativePath.startsWith(QLatin1String("loop")))
        QUARN_UNIX_ONLY(
            "symbolic links: Windows lets only administrators make them, and QFile::link makes shortcuts there");

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.crp")));
    const QString old = m_dir->filePath(QStringLiteral("old.crp"));
    QVERIFY(writeBytes(old, Old));
#ifndef Q_OS_WIN
    QVERIFY(QFile::link(QStringLiteral("loop.crp"), m_dir->filePath(QStringLiteral("loop2.crp"))));
    QVERIFY(QFile::link(QStringLiteral("loop2.crp"), m_dir->filePath(QStringLiteral("loop.crp"))));
#endif
    const QString path = m_dir->filePath(relativePath);
    QCOMPARE(why(TextFile::write(path, QStringLiteral("12345 "))), reason);
    QCOMPARE(why(TextFile::writePad(path, padText())), reason);
    QCOMPARE(readBytes(old), Old);
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("folder.crp"))).isDir());
#ifdef Q_OS_WIN
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), 2);
#else
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("loop.crp"))).isSymLink());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), 4);
#endif
}

void TestTextFile::unreadableFileIsReported()
{
    QUARN_RUN_WITHOUT_ROOT("unreadableFileIsReported");
    const QString path = m_dir->filePath(QStringLiteral("locked.OTP"));
    QVERIFY(writeBytes(path, padText().toLatin1()));
#ifdef Q_OS_WIN
    const test::HeldFile held(path);
    QVERIFY(held.held());
#else
    QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
#endif
    const LoadedText loaded = TextFile::readPad(path);
    QCOMPARE(why(loaded), QStringLiteral("Zugriff verweigert"));
    QVERIFY(loaded.text.isEmpty());
}

void TestTextFile::unwritableFolderIsReported()
{
    QUARN_RUN_WITHOUT_ROOT("unwritableFolderIsReported");
    const QString folder = m_dir->filePath(QStringLiteral("closed"));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("closed")));
    const QString old = folder + QStringLiteral("/06032026.OTP");
    QVERIFY(writeBytes(old, Old));
#ifdef Q_OS_WIN
    // A folder's rights do not shut its owner out there; a file held open by another program does.
    {
        const test::HeldFile held(old);
        QVERIFY(held.held());
        QCOMPARE(why(TextFile::writePad(old, padText())), QStringLiteral("Zugriff verweigert"));
    }
    QCOMPARE(readBytes(old), Old);
    QCOMPARE(filesIn(folder), QStringList{QStringLiteral("06032026.OTP")});
    return;
#endif
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    // Both a new file and one written over: the old file may be writable, the folder is not.
    QCOMPARE(why(TextFile::writePad(old, padText())), QStringLiteral("Zugriff verweigert"));
    QCOMPARE(why(TextFile::write(folder + QStringLiteral("/new.crp"), QStringLiteral("1"))),
             QStringLiteral("Zugriff verweigert"));
    QCOMPARE(readBytes(old), Old);
    QVERIFY(!QFile::exists(folder + QStringLiteral("/new.crp")));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestTextFile::pathLongerThan255IsUsedWhole()
{
    QString folder = m_dir->path();
    while (folder.size() <= 300)
        folder += QStringLiteral("/Ordner-mit-einem-recht-langen-Namen");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/25122026.OTP");
    QVERIFY(path.size() > 255);

    QVERIFY(!TextFile::isFile(path));
    QCOMPARE(why(TextFile::writePad(path, padText())), QString());
    QVERIFY(TextFile::isFile(path));
    QCOMPARE(readBytes(path).size(), 602);
    QCOMPARE(TextFile::readPad(path).text, padText());
    QCOMPARE(TextFile::lastPart(path), QStringLiteral("25122026.OTP"));
    // Nothing went to the path cut at 255 characters (which may end in one of the folders).
    QVERIFY(!QFileInfo(path.left(255)).isFile());
}

void TestTextFile::hugeFileIsNotReadToItsEnd()
{
    // A sparse file of 8 GiB: read to its end it would take far longer than the bound below.
    const QString path = m_dir->filePath(QStringLiteral("huge.txt"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write("HALLO WELT") == 10);
        if (!file.resize(qint64(8) << 30))
            QSKIP("no room for a sparse file");
    }
    QElapsedTimer timer;
    timer.start();
    const LoadedText loaded = TextFile::read(path, qsizetype(Limits::PlainText));
    QVERIFY(timer.elapsed() < 2000);
    QCOMPARE(loaded.text, QStringLiteral("HALLO WELT"));
    QVERIFY(loaded.tooLarge);
    timer.restart();
    QVERIFY(notAPad(TextFile::readPad(path)));
    QVERIFY(timer.elapsed() < 2000);

    // A byte 0 takes no place in a pad, so only the reading bound ends a pad load of nothing but bytes 0.
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(8) << 30));
    }
    timer.restart();
    const LoadedText zeros = TextFile::readPad(path);
    QVERIFY(timer.elapsed() < 2000);
    QCOMPARE(why(zeros), QStringLiteral("das OTP hat nur 0 statt 600 Zeichen"));
}

void TestTextFile::isFileOnlyForFiles()
{
    const QString file = m_dir->filePath(QStringLiteral("a.txt"));
    QVERIFY(writeBytes(file, ""));
    QVERIFY(TextFile::isFile(file));
    QVERIFY(!TextFile::isFile(m_dir->path()));
    QVERIFY(!TextFile::isFile(m_dir->filePath(QStringLiteral("b.txt"))));
}

void TestTextFile::lastPartNamesTheFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");

    QTest::newRow("a folder path ends in the file name")
        << QStringLiteral("/home/user/06032026.OTP") << QStringLiteral("06032026.OTP");
    QTest::newRow("a bare name is its own last part")
        << QStringLiteral("06032026.crp") << QStringLiteral("06032026.crp");
    QTest::newRow("a name without extension stays so")
        << QStringLiteral("/tmp/schluessel") << QStringLiteral("schluessel");
#ifdef Q_OS_WIN
    QTest::newRow("a backslash path ends in the file name")
        << QStringLiteral("C:\\Daten\\06032026.txt") << QStringLiteral("06032026.txt");
    QTest::newRow("a drive-relative name follows the colon")
        << QStringLiteral("C:06032026.txt") << QStringLiteral("06032026.txt");
#endif
}

void TestTextFile::lastPartNamesTheFile()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(TextFile::lastPart(path), name);
}

void TestTextFile::dateFileNames_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("name");

    QTest::newRow("6 March 2026 gives leading zeros for a pad")
        << QDate(2026, 3, 6) << QStringLiteral(".OTP") << QStringLiteral("06032026.OTP");
    QTest::newRow("6 March 2026 for a cipher")
        << QDate(2026, 3, 6) << QStringLiteral(".crp") << QStringLiteral("06032026.crp");
    QTest::newRow("6 March 2026 for a plain text")
        << QDate(2026, 3, 6) << QStringLiteral(".txt") << QStringLiteral("06032026.txt");
    QTest::newRow("25 December 2026 needs no zeros")
        << QDate(2026, 12, 25) << QStringLiteral(".OTP") << QStringLiteral("25122026.OTP");
}

void TestTextFile::dateFileNames()
{
    QFETCH(QDate, date);
    QFETCH(QString, extension);
    QFETCH(QString, name);

    FixedClock clock(date);
    QCOMPARE(DateFileName::today(clock, extension), name);
    QCOMPARE(DateFileName::forDate(date, extension), name);
    QCOMPARE(DateFileName::today(SystemClock(), extension), DateFileName::forDate(QDate::currentDate(), extension));
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
