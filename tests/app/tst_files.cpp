#include "FileDialog.h"
#include "FixedClock.h"
#include "FormWidgets.h"
#include "MessageBoxes.h"
#include "OddFiles.h"
#include "RandomSource.h"
#include "ResultField.h"
#include "TForm1.h"
#include "TestFiles.h"
#include "Unprivileged.h"
#include "UpperCaseLineEdit.h"
#include "WindowFakes.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <stdexcept>

using namespace quarn;

namespace {

using Answer = test::Answer;

using test::readBytes;
using test::writeBytes;

QString padText()
{
    QString pad;
    for (int i = 0; i < 100; ++i)
        pad += QStringLiteral("%1 ").arg((i * 7919 + 13) % 100000, 5, 10, QLatin1Char('0'));
    return pad;
}

// Each box as "caption: text", in the order shown.
QStringList shownBoxes(test::RecordingBoxes& boxes)
{
    QStringList shown;
    for (const test::RecordingBoxes::Record& record : boxes.takeRecords())
        shown << record.caption + QStringLiteral(": ") + record.text;
    return shown;
}

QString info(const QString& text)
{
    return QStringLiteral("Information: ") + text;
}

QString question(const QString& text)
{
    return QStringLiteral("Bestätigung: ") + text;
}

const QByteArray Old("old content, longer than anything saved here\r\n");

enum class Save
{
    Pad,
    Result
};

// The system's random source, until it breaks as the system's may: it fails, or gives one value for ever.
class BrokenSource final : public RandomSource
{
public:
    void breakDown(bool fails) { m_broken = fails ? Broken::Fails : Broken::Stuck; }
    std::uint32_t draw(std::uint32_t n) override
    {
        if (m_broken == Broken::Fails)
            throw Failed({Failure::Kind::EntropyUnavailable});
        return m_broken == Broken::Stuck ? 4711 : m_system.draw(n);
    }

private:
    enum class Broken
    {
        Not,
        Fails,
        Stuck
    };
    Broken m_broken = Broken::Not;
    SystemRandomSource m_system;
};

} // namespace

Q_DECLARE_METATYPE(Answer)
Q_DECLARE_METATYPE(Save)

class TestFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void inputLoad_data();
    void inputLoad();
    void padLoadKeepsWhatTheCipherReads();
    void loadFailuresKeepTheField_data();
    void loadFailuresKeepTheField();
    void unreadableFileKeepsTheField();
    void cancelChangesNothing();
    void openDialogKeepsTheLastPath();
    void defaultNamesAndFilters_data();
    void defaultNamesAndFilters();
    void saves_data();
    void saves();
    void aSaveOverAFileWithOtherNamesAsksFirst_data();
    void aSaveOverAFileWithOtherNamesAsksFirst();
    void theFieldOnScreenDecides_data();
    void theFieldOnScreenDecides();
    void saveFailuresAreNeverReportedAsSaved_data();
    void saveFailuresAreNeverReportedAsSaved();
    void unwritableFolderKeepsTheOldFile();
    void pathLongerThan255IsUsedAsChosen();
    void savedPadDeciphersWhatItEnciphered();
    void fullDiskSavesNothing_data();
    void fullDiskSavesNothing();
    void powerCutRightAfterSavedKeepsTheFile_data();
    void powerCutRightAfterSavedKeepsTheFile();
    void padLoadTakesOnlyAPad_data();
    void padLoadTakesOnlyAPad();
    void specialFilesAreRefusedAtOnce_data();
    void specialFilesAreRefusedAtOnce();
    void filesNamedAtStartOpenAsTheButtonsWould_data();
    void filesNamedAtStartOpenAsTheButtonsWould();
    void brokenRandomSourceKeepsThePad_data();
    void brokenRandomSourceKeepsThePad();
    void worksheet_data();
    void worksheet();

private:
    void setDecode(bool decode);
    QStringList boxes() { return shownBoxes(*m_fakes.boxes); }
    QString path(const QString& name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    test::WindowFakes m_fakes;
    std::shared_ptr<FixedClock> m_clock;
    std::shared_ptr<BrokenSource> m_random;
    std::unique_ptr<TForm1> m_form;
    const test::FormWidgets* m_ui = nullptr;
};

void TestFiles::init()
{
    m_fakes = test::WindowFakes();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_clock = std::make_shared<FixedClock>(QDate(2026, 3, 6));
    m_random = std::make_shared<BrokenSource>();
    m_form = std::make_unique<TForm1>(m_fakes.seams(m_random, m_clock));
    m_ui = test::widgetsOf(*m_form);
    boxes();
}

void TestFiles::cleanup()
{
    QVERIFY2(!m_fakes.files->hasNextAnswer(), "a dialog answer was left over");
    m_ui = nullptr;
    m_form.reset();
}

void TestFiles::setDecode(bool decode)
{
    (decode ? m_ui->rb_QuarnDecod : m_ui->rb_QuarnCode)->setChecked(true);
    // Kodieren on the empty input puts the direction's result field on screen.
    m_form->Quarn();
}

void TestFiles::inputLoad_data()
{
    QTest::addColumn<bool>("decode");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("shown");

    const QByteArray a100(100, 'A');
    const QByteArray c600 = QByteArray("12345 ").repeated(100);
    const QString tooLarge = info(QStringLiteral("text.txt zu groß!"));

    QTest::newRow("a plain text of 100 characters loads whole") << false << a100 << QString(a100) << QStringList();
    QTest::newRow("a plain text of 101 characters keeps 100 and is too large")
        << false << a100 + 'B' << QString(a100) << QStringList{tooLarge};
    QTest::newRow("100 letters and the CR LF that ends the file load whole") << false << a100 + "\r\n"
                                                                             << QString(a100) << QStringList();
    QTest::newRow("100 letters, CR LF and one more are too large")
        << false << a100 + "\r\nB" << QString(a100) << QStringList{tooLarge};
    QTest::newRow("only one line break at the end is dropped")
        << false << QByteArray("AB\n\n") << QStringLiteral("AB\n") << QStringList();
    QTest::newRow("a cipher quarn-cli wrote, ending in LF, loads without it") << true << c600 + "\n"
                                                                              << QString(c600) << QStringList();
    QTest::newRow("lower case turns upper case, umlauts too")
        << false << QByteArray("hallo \xe4\xf6\xfc\xdf") << QStringLiteral("HALLO ÄÖÜß") << QStringList();
    QTest::newRow("line breaks stay in the input as characters")
        << false << QByteArray("AB\r\nCD") << QStringLiteral("AB\r\nCD") << QStringList();
    QTest::newRow("a byte 26 as third byte ends the text, and says how much it cut")
        << false << QByteArray("AB\x1A") + a100 + a100 << QStringLiteral("AB")
        << QStringList{info(QStringLiteral("text.txt: Strg-Z (Zeichen 26) beendet den Text: nur 2 von 203 Zeichen "
                                           "übernommen."))};
    QTest::newRow("a byte 26 that ends the file cuts nothing")
        << false << QByteArray("AB\r\n\x1A") << QStringLiteral("AB") << QStringList();
    QTest::newRow("a byte 0 counts toward the limit")
        << false << a100 + QByteArray(1, '\0') << QString(a100) << QStringList{tooLarge};
    QTest::newRow("a byte 0 is dropped") << false << QByteArray("AB\0CD", 5) << QStringLiteral("ABCD") << QStringList();
    QTest::newRow("a cipher of 100 groups loads whole") << true << c600 << QString(c600) << QStringList();
    QTest::newRow("a cipher of 603 characters loads whole, past the typing limit")
        << true << c600 + "\r\n1" << QString(c600 + "\r\n1") << QStringList();
    QTest::newRow("a cipher of 604 characters keeps 603 and is too large")
        << true << c600 + "\r\n12" << QString(c600 + "\r\n1") << QStringList{tooLarge};
    QTest::newRow("an empty file empties the input") << false << QByteArray() << QString() << QStringList();
    QTest::newRow("a text a Linux editor saved in UTF-8 loads as its characters")
        << false << QByteArray("hallo gr\xC3\xBC\xC3\x9F") << QStringLiteral("HALLO GRÜß") << QStringList();
    QTest::newRow("100 umlauts in UTF-8 are 100 characters and load whole")
        << false << QByteArray("\xC3\xBC").repeated(100) << QString(100, u'Ü') << QStringList();
    QTest::newRow("a UTF-8 cipher of 603 characters loads whole")
        << true << c600 + "\r\n\xE2\x86\x92" << QString(c600 + "\r\n") + u'→' << QStringList();
    QTest::newRow("a UTF-8 cipher of 604 characters is too large")
        << true << c600 + "\r\n\xE2\x86\x92\xE2\x86\x92" << QString(c600 + "\r\n") + u'→' << QStringList{tooLarge};
}

void TestFiles::inputLoad()
{
    QFETCH(bool, decode);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, input);
    QFETCH(QStringList, shown);

    setDecode(decode);
    m_ui->QuarnIn->setProgramText(QStringLiteral("ALT"));
    QVERIFY(writeBytes(path(QStringLiteral("text.txt")), bytes));
    m_fakes.files->setNextAnswer(path(QStringLiteral("text.txt")));
    m_form->bt_QuarnInLoadClick();

    QCOMPARE(m_ui->QuarnIn->text(), input);
    QCOMPARE(boxes(), shown);
    QCOMPARE(m_form->OpenDialog1->filter(),
             decode ? QStringLiteral("Crypt Dateien (*.crp)|*.crp") : QStringLiteral("Textdateien (*.txt)|*.txt"));
    QVERIFY(!m_ui->bt_OTPCrypt->isEnabled());
}

void TestFiles::padLoadKeepsWhatTheCipherReads()
{
    // A saved pad is 602 bytes; the field takes the 600 the cipher reads, and says nothing.
    QVERIFY(writeBytes(path(QStringLiteral("06032026.OTP")), padText().toLatin1() + "\r\n" + padText().toLatin1()));
    m_fakes.files->setNextAnswer(path(QStringLiteral("06032026.OTP")));
    m_form->bt_OTPLoadClick();
    QCOMPARE(m_ui->OTPOut->fieldText(), padText());
    QCOMPARE(m_form->OpenDialog1->filter(), QStringLiteral("Schlüseldateien (*.OTP)|*.OTP"));
    QCOMPARE(boxes(), QStringList());
    // Loading a pad enables nothing.
    QVERIFY(!m_ui->bt_OTPSave->isEnabled());
    QVERIFY(!m_ui->bt_OTPPrint->isEnabled());
    QVERIFY(!m_ui->bt_OTPCrypt->isEnabled());
}

void TestFiles::loadFailuresKeepTheField_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("message");

    QTest::newRow("a missing file is named with its reason")
        << QStringLiteral("06032026.OTP")
        << QStringLiteral("06032026.OTP konnte nicht gelesen werden: Datei nicht gefunden");
    QTest::newRow("a folder is named with its reason")
        << QStringLiteral("folder.OTP") << QStringLiteral("folder.OTP konnte nicht gelesen werden: ist ein Ordner");
    QTest::newRow("a path under a regular file is named with its reason")
        << QStringLiteral("plain.txt/06032026.OTP")
        << QStringLiteral("06032026.OTP konnte nicht gelesen werden: Ordner nicht gefunden");
}

void TestFiles::loadFailuresKeepTheField()
{
    QFETCH(QString, relativePath);
    QFETCH(QString, message);

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.OTP")));
    QVERIFY(writeBytes(path(QStringLiteral("plain.txt")), "ABC"));
    m_ui->QuarnIn->setProgramText(QStringLiteral("ALT"));
    m_ui->OTPOut->setFieldText(padText());

    m_fakes.files->setNextAnswer(path(relativePath));
    m_form->bt_QuarnInLoadClick();
    QCOMPARE(m_ui->QuarnIn->text(), QStringLiteral("ALT"));
    m_fakes.files->setNextAnswer(path(relativePath));
    m_form->bt_OTPLoadClick();
    QCOMPARE(m_ui->OTPOut->fieldText(), padText());
    QCOMPARE(boxes(), QStringList({info(message), info(message)}));
}

void TestFiles::unreadableFileKeepsTheField()
{
    QUARN_RUN_WITHOUT_ROOT("unreadableFileKeepsTheField");
    const QString locked = path(QStringLiteral("06032026.OTP"));
    QVERIFY(writeBytes(locked, padText().toLatin1()));
#ifdef Q_OS_WIN
    const test::HeldFile held(locked);
    QVERIFY(held.held());
#else
    QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
#endif
    m_ui->OTPOut->setFieldText(QStringLiteral("12345 "));
    m_ui->QuarnIn->setProgramText(QStringLiteral("ALT"));

    m_fakes.files->setNextAnswer(locked);
    m_form->bt_OTPLoadClick();
    m_fakes.files->setNextAnswer(locked);
    m_form->bt_QuarnInLoadClick();
    QCOMPARE(m_ui->OTPOut->fieldText(), QStringLiteral("12345 "));
    QCOMPARE(m_ui->QuarnIn->text(), QStringLiteral("ALT"));
    const QString message = info(QStringLiteral("06032026.OTP konnte nicht gelesen werden: Zugriff verweigert"));
    QCOMPARE(boxes(), QStringList({message, message}));
}

void TestFiles::cancelChangesNothing()
{
    m_ui->QuarnIn->setProgramText(QStringLiteral("ALT"));
    m_ui->OTPOut->setFieldText(padText());
    m_ui->OTPCryptOut->setFieldText(QStringLiteral("12345 "));
    for (void (TForm1::*handler)() : {&TForm1::bt_QuarnInLoadClick, &TForm1::bt_OTPLoadClick, &TForm1::bt_OTPSaveClick,
                                      &TForm1::bt_QuarnDecryptSaveClick}) {
        m_fakes.files->setNextAnswer(QString());
        (m_form.get()->*handler)();
    }
    QCOMPARE(m_ui->QuarnIn->text(), QStringLiteral("ALT"));
    QCOMPARE(m_ui->OTPOut->fieldText(), padText());
    QCOMPARE(boxes(), QStringList());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestFiles::openDialogKeepsTheLastPath()
{
    const QString pad = path(QStringLiteral("06032026.OTP"));
    QVERIFY(writeBytes(pad, padText().toLatin1()));
    m_fakes.files->setNextAnswer(pad);
    m_form->bt_OTPLoadClick();
    // The text load offers the pad's path again, under its own filter.
    m_fakes.files->setNextAnswer(QString());
    m_form->bt_QuarnInLoadClick();
    QCOMPARE(m_form->OpenDialog1->fileName(), pad);
    QCOMPARE(m_form->OpenDialog1->filter(), QStringLiteral("Textdateien (*.txt)|*.txt"));
}

void TestFiles::defaultNamesAndFilters_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<Save>("save");
    QTest::addColumn<bool>("decode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");

    const QDate march(2026, 3, 6);
    const QDate christmas(2026, 12, 25);
    const QString pads = QStringLiteral("Schlüsseldateien (*.OTP)|*.OTP");
    const QString crypt = QStringLiteral("Crypt-Datei (*.crp)|*.crp");
    const QString text = QStringLiteral("Textdatei (*.txt)|*.txt");
    QTest::newRow("a pad on 6 March 2026") << march << Save::Pad << false << QStringLiteral("06032026.OTP") << pads;
    QTest::newRow("a pad in decode direction is still a pad")
        << march << Save::Pad << true << QStringLiteral("06032026.OTP") << pads;
    QTest::newRow("a cipher on 6 March 2026")
        << march << Save::Result << false << QStringLiteral("06032026.crp") << crypt;
    QTest::newRow("a plain text on 6 March 2026")
        << march << Save::Result << true << QStringLiteral("06032026.txt") << text;
    QTest::newRow("a pad on 25 December 2026")
        << christmas << Save::Pad << false << QStringLiteral("25122026.OTP") << pads;
    QTest::newRow("a cipher on 25 December 2026")
        << christmas << Save::Result << false << QStringLiteral("25122026.crp") << crypt;
    QTest::newRow("a plain text on 25 December 2026")
        << christmas << Save::Result << true << QStringLiteral("25122026.txt") << text;
}

void TestFiles::defaultNamesAndFilters()
{
    QFETCH(QDate, today);
    QFETCH(Save, save);
    QFETCH(bool, decode);
    QFETCH(QString, name);
    QFETCH(QString, filter);

    m_clock->setDate(today);
    setDecode(decode);
    m_ui->OTPCryptOut->setFieldText(QStringLiteral("12345 "));
    m_ui->QuarnDecrypt->setFieldText(QStringLiteral("HALLO"));
    // A cancelled dialog keeps the name it was offered.
    m_fakes.files->setNextAnswer(QString());
    save == Save::Pad ? m_form->bt_OTPSaveClick() : m_form->bt_QuarnDecryptSaveClick();
    QCOMPARE(m_form->SaveDialog1->fileName(), name);
    QCOMPARE(m_form->SaveDialog1->filter(), filter);
}

void TestFiles::saves_data()
{
    QTest::addColumn<Save>("save");
    QTest::addColumn<bool>("decode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("pad");
    QTest::addColumn<QString>("cipher");
    QTest::addColumn<QString>("decoded");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("shown");

    const QString pad = padText();
    const QByteArray padFile = pad.toLatin1() + "\r\n";
    const QString cipher = QStringLiteral("12345 67890 ");
    const QString plain = QStringLiteral("HALLO WELT");
    const QString overPad = question(QStringLiteral("Wollen Sie 06032026.OTP wirklich überschreiben?"));
    const QString overCrp = question(QStringLiteral("Wollen Sie 06032026.crp wirklich überschreiben?"));
    const QString overTxt = question(QStringLiteral("Wollen Sie 06032026.txt wirklich überschreiben?"));
    const QString padSaved = info(QStringLiteral("OTP wurde gespeichert!"));
    const QString padNotSaved = info(QStringLiteral("OTP wurde nicht gespeichert!"));

    QTest::newRow("a new pad is 602 bytes")
        << Save::Pad << false << QStringLiteral("06032026.OTP") << false << Answer::Yes << pad << QString() << QString()
        << padFile << QStringList{padSaved};
    QTest::newRow("a pad written over after Ja is 602 bytes too")
        << Save::Pad << false << QStringLiteral("06032026.OTP") << true << Answer::Yes << pad << QString() << QString()
        << padFile << QStringList{overPad, padSaved};
    QTest::newRow("a pad not written over after Nein")
        << Save::Pad << false << QStringLiteral("06032026.OTP") << true << Answer::No << pad << QString() << QString()
        << Old << QStringList{overPad, padNotSaved};
    QTest::newRow("a pad not written over after Esc")
        << Save::Pad << false << QStringLiteral("06032026.OTP") << true << Answer::Escape << pad << QString()
        << QString() << Old << QStringList{overPad, padNotSaved};
    QTest::newRow("an empty new pad is only CR LF")
        << Save::Pad << false << QStringLiteral("06032026.OTP") << false << Answer::Yes << QString() << QString()
        << QString() << QByteArray("\r\n") << QStringList{padSaved};
    QTest::newRow("a new cipher gets no line end")
        << Save::Result << false << QStringLiteral("06032026.crp") << false << Answer::Yes << pad << cipher << QString()
        << cipher.toLatin1() << QStringList{info(QStringLiteral("06032026.crp wurde gespeichert!"))};
    QTest::newRow("a cipher written over after Ja is the same as a new one")
        << Save::Result << false << QStringLiteral("06032026.crp") << true << Answer::Yes << pad << cipher << QString()
        << cipher.toLatin1() << QStringList{overCrp, info(QStringLiteral("06032026.crp wurde gespeichert!"))};
    QTest::newRow("a cipher not written over after Nein")
        << Save::Result << false << QStringLiteral("06032026.crp") << true << Answer::No << pad << cipher << QString()
        << Old << QStringList{overCrp, info(QStringLiteral("06032026.crp wurde nicht gespeichert!"))};
    QTest::newRow("a cipher not written over after Esc")
        << Save::Result << false << QStringLiteral("06032026.crp") << true << Answer::Escape << pad << cipher
        << QString() << Old << QStringList{overCrp, info(QStringLiteral("06032026.crp wurde nicht gespeichert!"))};
    QTest::newRow("an empty result writes no file and says so")
        << Save::Result << false << QStringLiteral("06032026.crp") << false << Answer::Yes << pad << QString()
        << QString() << QByteArray()
        << QStringList{info(QStringLiteral("Keine Ausgabe vorhanden, nichts gespeichert!"))};
    QTest::newRow("decode direction saves the decoded text, in Windows-1252")
        << Save::Result << true << QStringLiteral("06032026.txt") << false << Answer::Yes << pad << cipher
        << QStringLiteral("GRÜSSE AUS KÖLN ß") << QByteArray("GR\xDCSSE AUS K\xD6LN \xDF")
        << QStringList{info(QStringLiteral("06032026.txt wurde gespeichert!"))};
    QTest::newRow("decoded text written over after Ja")
        << Save::Result << true << QStringLiteral("06032026.txt") << true << Answer::Yes << pad << cipher << plain
        << plain.toLatin1() << QStringList{overTxt, info(QStringLiteral("06032026.txt wurde gespeichert!"))};
    QTest::newRow("a name typed without extension is used as typed")
        << Save::Result << false << QStringLiteral("nachricht") << false << Answer::Yes << pad << cipher << QString()
        << cipher.toLatin1() << QStringList{info(QStringLiteral("nachricht wurde gespeichert!"))};
}

void TestFiles::saves()
{
    QFETCH(Save, save);
    QFETCH(bool, decode);
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QFETCH(Answer, answer);
    QFETCH(QString, pad);
    QFETCH(QString, cipher);
    QFETCH(QString, decoded);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, shown);

    const test::Umask umask(022);
    setDecode(decode);
    m_ui->OTPOut->setFieldText(pad);
    m_ui->OTPCryptOut->setFieldText(cipher);
    m_ui->QuarnDecrypt->setFieldText(decoded);
    if (exists)
        QVERIFY(writeBytes(path(name), Old));
    // An empty result on screen opens no dialog.
    const bool written = !bytes.isEmpty() || save == Save::Pad;
    if (written)
        m_fakes.files->setNextAnswer(path(name));
    m_fakes.boxes->setNextAnswer(answer);
    save == Save::Pad ? m_form->bt_OTPSaveClick() : m_form->bt_QuarnDecryptSaveClick();

    QCOMPARE(readBytes(path(name)), written ? bytes : QByteArray("<unreadable>"));
    QCOMPARE(boxes(), shown);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             written ? QStringList{name} : QStringList{});
    // A new pad or decoded message is its owner's alone; a cipher text is not secret.
    if (written && !exists && test::modeOf(path(name)) >= 0)
        QCOMPARE((test::modeOf(path(name)) & 077) == 0, save == Save::Pad || decode);
}

void TestFiles::aSaveOverAFileWithOtherNamesAsksFirst_data()
{
    QTest::addColumn<Save>("save");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QStringList>("shown");

    const QString padQuestion = question(
        QStringLiteral("06032026.OTP hat weitere Namen (harte Verknüpfungen); dort bliebe das alte OTP erhalten. "
                       "Wollen Sie trotzdem nur 06032026.OTP überschreiben?"));
    QTest::newRow("a pad with a second name asks, and Nein (the default) writes nothing")
        << Save::Pad << Answer::Escape
        << QStringList{padQuestion, info(QStringLiteral("OTP wurde nicht gespeichert!"))};
    QTest::newRow("Ja replaces this name only; the other keeps the old pad")
        << Save::Pad << Answer::Yes << QStringList{padQuestion, info(QStringLiteral("OTP wurde gespeichert!"))};
    QTest::newRow("a cipher with a second name asks of its old content")
        << Save::Result << Answer::Yes
        << QStringList{question(QStringLiteral("06032026.crp hat weitere Namen (harte Verknüpfungen); dort bliebe der "
                                               "alte Inhalt erhalten. Wollen Sie trotzdem nur 06032026.crp "
                                               "überschreiben?")),
                       info(QStringLiteral("06032026.crp wurde gespeichert!"))};
}

void TestFiles::aSaveOverAFileWithOtherNamesAsksFirst()
{
    QFETCH(Save, save);
    QFETCH(Answer, answer);
    QFETCH(QStringList, shown);

    const QString name = save == Save::Pad ? QStringLiteral("06032026.OTP") : QStringLiteral("06032026.crp");
    m_ui->OTPOut->setFieldText(padText());
    m_ui->OTPCryptOut->setFieldText(QStringLiteral("12345 67890 "));
    QVERIFY(writeBytes(path(name), Old));
    std::error_code linked;
    std::filesystem::create_hard_link(path(name).toStdU16String(), path(QStringLiteral("b")).toStdU16String(), linked);
    QVERIFY2(!linked, linked.message().c_str());
    m_fakes.files->setNextAnswer(path(name));
    m_fakes.boxes->setNextAnswer(answer);
    save == Save::Pad ? m_form->bt_OTPSaveClick() : m_form->bt_QuarnDecryptSaveClick();

    const QList<test::RecordingBoxes::Record> records = m_fakes.boxes->takeRecords();
    QStringList texts;
    for (const test::RecordingBoxes::Record& record : records)
        texts << record.caption + QStringLiteral(": ") + record.text;
    QCOMPARE(texts, shown);
    QCOMPARE(records.first().defaultButton, QStringLiteral("&Nein"));
    QCOMPARE(readBytes(path(QStringLiteral("b"))), Old);
    QCOMPARE(readBytes(path(name)) == Old, answer != Answer::Yes);
}

void TestFiles::theFieldOnScreenDecides_data()
{
    QTest::addColumn<bool>("decode");
    QTest::addColumn<QString>("decoded");
    QTest::addColumn<QString>("name"); // empty: nothing is saved
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("decode selected while the cipher is still on screen saves the cipher")
        << true << QStringLiteral("HALLO") << QStringLiteral("06032026.crp") << QByteArray("12345 ");
    QTest::newRow("encode selected while the decoded text is on screen saves the decoded text")
        << false << QStringLiteral("HALLO") << QStringLiteral("06032026.txt") << QByteArray("HALLO");
    QTest::newRow("an empty decoded text on screen saves nothing, though the cipher is not empty")
        << false << QString() << QString() << QByteArray();
}

void TestFiles::theFieldOnScreenDecides()
{
    QFETCH(bool, decode);
    QFETCH(QString, decoded);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);

    // Encode (or decode) puts its result field on screen; the other direction is then chosen without
    // pressing the encode button again, so the field on screen stays.
    setDecode(!decode);
    m_ui->QuarnIn->setProgramText(QStringLiteral("12345 "));
    m_form->Quarn();
    (decode ? m_ui->rb_QuarnDecod : m_ui->rb_QuarnCode)->setChecked(true);
    QCOMPARE(m_ui->OTPCryptOut->isVisibleTo(m_form.get()), decode);
    m_ui->OTPCryptOut->setFieldText(QStringLiteral("12345 "));
    m_ui->QuarnDecrypt->setFieldText(decoded);

    if (name.isEmpty()) {
        m_form->bt_QuarnDecryptSaveClick();
        QCOMPARE(boxes(), QStringList{info(QStringLiteral("Keine Ausgabe vorhanden, nichts gespeichert!"))});
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
        return;
    }
    m_fakes.files->setNextAnswer(QString());
    m_form->bt_QuarnDecryptSaveClick();
    QCOMPARE(m_form->SaveDialog1->fileName(), name);
    m_fakes.files->setNextAnswer(path(name));
    m_form->bt_QuarnDecryptSaveClick();
    QCOMPARE(readBytes(path(name)), bytes);
    QCOMPARE(boxes(), QStringList{info(name + QStringLiteral(" wurde gespeichert!"))});
}

void TestFiles::saveFailuresAreNeverReportedAsSaved_data()
{
    QTest::addColumn<Save>("save");
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("message");

    QTest::newRow("a pad onto a folder") << Save::Pad << QStringLiteral("folder.OTP")
                                         << QStringLiteral("folder.OTP wurde nicht gespeichert! ist ein Ordner");
    QTest::newRow("a pad into a missing folder")
        << Save::Pad << QStringLiteral("nowhere/06032026.OTP")
        << QStringLiteral("06032026.OTP wurde nicht gespeichert! Ordner nicht gefunden");
    QTest::newRow("a cipher onto a folder") << Save::Result << QStringLiteral("folder.OTP")
                                            << QStringLiteral("folder.OTP wurde nicht gespeichert! ist ein Ordner");
    QTest::newRow("a cipher under a regular file")
        << Save::Result << QStringLiteral("old.crp/06032026.crp")
        << QStringLiteral("06032026.crp wurde nicht gespeichert! Ordner nicht gefunden");
}

void TestFiles::saveFailuresAreNeverReportedAsSaved()
{
    QFETCH(Save, save);
    QFETCH(QString, relativePath);
    QFETCH(QString, message);

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.OTP")));
    QVERIFY(writeBytes(path(QStringLiteral("old.crp")), Old));
    m_ui->OTPOut->setFieldText(padText());
    m_ui->OTPCryptOut->setFieldText(QStringLiteral("12345 "));
    m_fakes.files->setNextAnswer(path(relativePath));
    // A folder is no file: nothing to ask about.
    save == Save::Pad ? m_form->bt_OTPSaveClick() : m_form->bt_QuarnDecryptSaveClick();

    QCOMPARE(boxes(), QStringList{info(message)});
    QCOMPARE(readBytes(path(QStringLiteral("old.crp"))), Old);
    QVERIFY(QFileInfo(path(QStringLiteral("folder.OTP"))).isDir());
}

void TestFiles::unwritableFolderKeepsTheOldFile()
{
    QUARN_UNIX_ONLY("a folder's rights do not shut its owner out; tst_textfile saves over a file held open instead");
    QUARN_RUN_WITHOUT_ROOT("unwritableFolderKeepsTheOldFile");
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("closed")));
    const QString old = path(QStringLiteral("closed/06032026.OTP"));
    QVERIFY(writeBytes(old, Old));
    QVERIFY(QFile::setPermissions(path(QStringLiteral("closed")), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    m_ui->OTPOut->setFieldText(padText());
    m_ui->OTPCryptOut->setFieldText(QStringLiteral("12345 "));

    m_fakes.files->setNextAnswer(old);
    m_fakes.boxes->setNextAnswer(Answer::Yes);
    m_form->bt_OTPSaveClick();
    m_fakes.files->setNextAnswer(path(QStringLiteral("closed/06032026.crp")));
    m_form->bt_QuarnDecryptSaveClick();

    QCOMPARE(boxes(), QStringList({question(QStringLiteral("Wollen Sie 06032026.OTP wirklich überschreiben?")),
                                   info(QStringLiteral("06032026.OTP wurde nicht gespeichert! Zugriff verweigert")),
                                   info(QStringLiteral("06032026.crp wurde nicht gespeichert! Zugriff verweigert"))}));
    QCOMPARE(readBytes(old), Old);
    QVERIFY(!QFile::exists(path(QStringLiteral("closed/06032026.crp"))));
    QFile::setPermissions(path(QStringLiteral("closed")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestFiles::pathLongerThan255IsUsedAsChosen()
{
    QString folder = m_dir->path();
    while (folder.size() <= 300)
        folder += QStringLiteral("/Ablage-fuer-Schluessel-und-Chiffrate");
    QVERIFY(QDir().mkpath(folder));
    const QString pad = folder + QStringLiteral("/06032026.OTP");
    QVERIFY(pad.size() > 255);
    m_ui->OTPOut->setFieldText(padText());

    m_fakes.files->setNextAnswer(pad);
    m_form->bt_OTPSaveClick();
    m_fakes.files->setNextAnswer(pad);
    m_fakes.boxes->setNextAnswer(Answer::No);
    m_form->bt_OTPSaveClick();
    m_fakes.files->setNextAnswer(pad);
    m_form->bt_OTPLoadClick();

    QCOMPARE(boxes(), QStringList({info(QStringLiteral("OTP wurde gespeichert!")),
                                   question(QStringLiteral("Wollen Sie 06032026.OTP wirklich überschreiben?")),
                                   info(QStringLiteral("OTP wurde nicht gespeichert!"))}));
    QCOMPARE(readBytes(pad).size(), 602);
    QCOMPARE(m_ui->OTPOut->fieldText(), padText());
    QVERIFY(!QFileInfo(pad.left(255)).isFile());
}

void TestFiles::savedPadDeciphersWhatItEnciphered()
{
    const QString message = QStringLiteral("TREFFEN UM 1230 AM BAHNHOF");
    m_ui->QuarnIn->setProgramText(message);
    m_form->Quarn();
    m_form->OTPErzeugeClick();
    m_form->bt_OTPCryptClick();
    const QString pad = m_ui->OTPOut->fieldText();
    const QString cipher = m_ui->OTPCryptOut->fieldText();
    QVERIFY(!cipher.isEmpty());

    m_fakes.files->setNextAnswer(path(QStringLiteral("06032026.OTP")));
    m_form->bt_OTPSaveClick();
    m_fakes.files->setNextAnswer(path(QStringLiteral("06032026.crp")));
    m_form->bt_QuarnDecryptSaveClick();

    // A fresh window, as on another day: only the files carry the message.
    m_form = std::make_unique<TForm1>(m_fakes.seams());
    m_ui = test::widgetsOf(*m_form);
    setDecode(true);
    m_fakes.files->setNextAnswer(path(QStringLiteral("06032026.crp")));
    m_form->bt_QuarnInLoadClick();
    m_form->Quarn();
    m_fakes.files->setNextAnswer(path(QStringLiteral("06032026.OTP")));
    m_form->bt_OTPLoadClick();
    QCOMPARE(m_ui->OTPOut->fieldText(), pad);
    m_form->bt_OTPCryptClick();

    QCOMPARE(m_ui->QuarnDecrypt->fieldText(), message);
    QCOMPARE(boxes(), QStringList({info(QStringLiteral("OTP wurde gespeichert!")),
                                   info(QStringLiteral("06032026.crp wurde gespeichert!"))}));

    // The decoded text saves as a plain text.
    m_fakes.files->setNextAnswer(path(QStringLiteral("klartext.txt")));
    m_form->bt_QuarnDecryptSaveClick();
    QCOMPARE(readBytes(path(QStringLiteral("klartext.txt"))), message.toLatin1());
}

void TestFiles::fullDiskSavesNothing_data()
{
    QTest::addColumn<Save>("save");
    QTest::addColumn<bool>("decode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("inodes"); // full in inodes, with bytes to spare
    const auto row = [](const char* what, Save save, bool decode, const char* name, bool exists, bool inodes) {
        QTest::newRow(what) << save << decode << QString(name) << exists << inodes;
    };
    row("a new pad", Save::Pad, false, "06032026.OTP", false, false);
    row("a pad over an old one", Save::Pad, false, "06032026.OTP", true, false);
    row("a new cipher", Save::Result, false, "06032026.crp", false, false);
    row("a cipher over an old one", Save::Result, false, "06032026.crp", true, false);
    row("a new plain text", Save::Result, true, "06032026.txt", false, false);
    row("a plain text over an old one", Save::Result, true, "06032026.txt", true, false);
    row("a new pad with no inode left", Save::Pad, false, "06032026.OTP", false, true);
    row("a pad over an old one with no inode left", Save::Pad, false, "06032026.OTP", true, true);
}

void TestFiles::fullDiskSavesNothing()
{
    QFETCH(Save, save);
    QFETCH(bool, decode);
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QFETCH(bool, inodes);

    const QString disk = path(QStringLiteral("disk"));
    QVERIFY(QDir().mkdir(disk));
    test::TinyFileSystem tiny(disk);
    if (!tiny.mounted())
        QSKIP(qPrintable(QStringLiteral("SKIP: kein tmpfs zum Füllen, der Test des vollen Datenträgers lief nicht: ") +
                         tiny.refusal()));
    const QString file = disk + QLatin1Char('/') + name;
    if (exists)
        QVERIFY(writeBytes(file, Old));
    QVERIFY(inodes ? tiny.fillInodes() : tiny.fill());

    setDecode(decode);
    m_ui->OTPOut->setFieldText(padText());
    m_ui->OTPCryptOut->setFieldText(QStringLiteral("12345 67890 "));
    m_ui->QuarnDecrypt->setFieldText(QStringLiteral("HALLO WELT"));
    m_fakes.files->setNextAnswer(file);
    if (exists)
        m_fakes.boxes->setNextAnswer(Answer::Yes);
    save == Save::Pad ? m_form->bt_OTPSaveClick() : m_form->bt_QuarnDecryptSaveClick();

    QStringList shown{info(name + QStringLiteral(" wurde nicht gespeichert! Datenträger voll"))};
    if (exists)
        shown.prepend(question(QStringLiteral("Wollen Sie ") + name + QStringLiteral(" wirklich überschreiben?")));
    QCOMPARE(boxes(), shown);
    QCOMPARE(readBytes(file), exists ? Old : QByteArray("<unreadable>"));
    // No temporary file is left on the full disk.
    QStringList left = QDir(disk).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    left.removeIf([](const QString& entry) { return entry.startsWith(QStringLiteral("filler")); });
    QCOMPARE(left, exists ? QStringList{name} : QStringList{});
}

void TestFiles::powerCutRightAfterSavedKeepsTheFile_data()
{
    QTest::addColumn<Save>("save");
    QTest::addColumn<bool>("exists");

    QTest::newRow("a new pad") << Save::Pad << false;
    QTest::newRow("a pad over an old one") << Save::Pad << true;
    QTest::newRow("a new decoded message") << Save::Result << false;
}

void TestFiles::powerCutRightAfterSavedKeepsTheFile()
{
    QFETCH(Save, save);
    QFETCH(bool, exists);

    if (!test::isRoot())
        QSKIP("SKIP: der Stromausfall braucht root (ext4 in einer Datei einhängen), er lief nicht");
    const QString disk = path(QStringLiteral("disk"));
    QVERIFY(QDir().mkdir(disk));
    test::PowerCutDisk power(disk);
    if (!power.mounted())
        QSKIP(qPrintable(QStringLiteral("SKIP: kein ext4 zum Abschalten, der Stromausfall lief nicht: ") +
                         power.refusal()));
    const QString name = save == Save::Pad ? QStringLiteral("06032026.OTP") : QStringLiteral("06032026.txt");
    const QString file = disk + QLatin1Char('/') + name;
    if (exists)
        QVERIFY(writeBytes(file, Old));
    power.settle();

    setDecode(save == Save::Result);
    m_ui->OTPOut->setFieldText(padText());
    m_ui->QuarnDecrypt->setFieldText(QStringLiteral("HALLO WELT"));
    m_fakes.files->setNextAnswer(file);
    if (exists)
        m_fakes.boxes->setNextAnswer(Answer::Yes);
    save == Save::Pad ? m_form->bt_OTPSaveClick() : m_form->bt_QuarnDecryptSaveClick();
    QCOMPARE(boxes().constLast(), info(save == Save::Pad ? QStringLiteral("OTP wurde gespeichert!")
                                                         : name + QStringLiteral(" wurde gespeichert!")));
    QVERIFY2(power.cutPower(), qPrintable(power.refusal()));

    QCOMPARE(readBytes(file), save == Save::Pad ? padText().toLatin1() + "\r\n" : QByteArray("HALLO WELT"));
}

void TestFiles::filesNamedAtStartOpenAsTheButtonsWould_data()
{
    QTest::addColumn<QStringList>("files"); // name=content; a name without content is missing
    QTest::addColumn<QString>("pad");
    QTest::addColumn<bool>("decode");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("groups");
    QTest::addColumn<QStringList>("shown");

    const QString pad = padText();
    const QString cipher = QStringLiteral("12345 67890 ");
    const QString gone = QStringLiteral(" konnte nicht gelesen werden: Datei nicht gefunden");
    QTest::newRow("a pad and a cipher text: the pad, and the cipher decoded, so that Dechiffrieren is next")
        << QStringList{"m.OTP=" + pad, "m.crp=" + cipher} << pad << true << cipher << cipher
        << QStringList{info("Geöffnet:\n• m.OTP als OTP\n• m.crp als Chiffriertext, „Dekodieren“ erledigt\n"
                            "Weiter mit „Dechiffrieren“.")};
    QTest::newRow("a cipher text alone is decoded without a word")
        << QStringList{"m.crp=" + cipher} << "" << true << cipher << cipher << QStringList();
    QTest::newRow("a pad under another name is known by its content")
        << QStringList{"pad.txt=" + pad} << pad << false << ""
        << "" << QStringList();
    QTest::newRow("the last text for the input stays, and the box names the one passed over")
        << QStringList{"m.crp=" + cipher, QStringLiteral("note.txt=hallo")} << "" << false << "HALLO"
        << ""
        << QStringList{info("Geöffnet:\n• note.txt als Klartext\nÜbergangen, da jedes Feld nur die zuletzt genannte "
                            "Datei übernimmt:\n• Eingabe: m.crp")};
    QTest::newRow("a file named as a pad that is none gets the pad button's refusal")
        << QStringList{QStringLiteral("bad.OTP=12345 ")} << "" << false << ""
        << ""
        << QStringList{info(QStringLiteral("bad.OTP ist kein gültiges OTP: das OTP hat nur 6 statt 600 Zeichen"))};
    QTest::newRow("a missing cipher text gets the load button's refusal")
        << QStringList{QStringLiteral("gone.crp")} << "" << false << ""
        << "" << QStringList{info("gone.crp" + gone)};
    QTest::newRow("a refused pad leaves the pad before it in the field, and the box says so")
        << QStringList{"a.OTP=" + pad, QStringLiteral("b.OTP=12345 "), "long.txt=" + QString(101, u'A')} << pad << false
        << QString(100, u'A') << ""
        << QStringList{info("Geöffnet:\n• a.OTP als OTP\n• long.txt als Klartext\nNicht geöffnet:\n• b.OTP ist kein "
                            "gültiges OTP: das OTP hat nur 6 statt 600 Zeichen\nHinweise:\n• long.txt zu groß!")};
    QTest::newRow("a pad of zeros is asked about, and Nein leaves the field as it was; the box says so")
        << QStringList{"m.crp=" + cipher, "z.OTP=" + QString("00000 ").repeated(100)} << "" << true << cipher << cipher
        << QStringList{question("z.OTP enthält 99 doppelte Gruppen und ist daher kein zufälliges OTP. Was damit "
                                "chiffriert wird, ist nicht geheim. Trotzdem als OTP verwenden?"),
                       info("Geöffnet:\n• m.crp als Chiffriertext, „Dekodieren“ erledigt\nNicht geöffnet:\n• z.OTP: "
                            "nicht übernommen, das OTP im Feld bleibt\nZum Dechiffrieren fehlt noch das OTP.")};
    QStringList many;
    QString refused;
    for (int i = 1; i <= 500; ++i) {
        many << QStringLiteral("p%1.OTP=").arg(i) + pad << QStringLiteral("gone%1.crp").arg(i);
        refused += i <= 8 ? "• " + QStringLiteral("gone%1.crp").arg(i) + gone + u'\n' : QString();
    }
    QString eight;
    QStringList justFit;
    for (int i = 1; i <= 8; ++i) {
        if (i <= 6)
            justFit << QStringLiteral("p%1.OTP=").arg(i) + pad;
        justFit << QStringLiteral("gone%1.crp").arg(i);
        eight += "\n• " + QStringLiteral("gone%1.crp").arg(i) + gone;
    }
    QTest::newRow("six pads and eight missing files: the lists just fit, with nothing more to count")
        << justFit << pad << false << ""
        << ""
        << QStringList{info("Geöffnet:\n• p6.OTP als OTP\nÜbergangen, da jedes Feld nur die zuletzt genannte Datei "
                            "übernimmt:\n• OTP: p1.OTP, p2.OTP, p3.OTP, p4.OTP, p5.OTP\nNicht geöffnet:" +
                            eight)};
    QTest::newRow("500 pads and 500 missing files: one box, its lists cut short")
        << many << pad << false << ""
        << ""
        << QStringList{info("Geöffnet:\n• p500.OTP als OTP\nÜbergangen, da jedes Feld nur die zuletzt genannte Datei "
                            "übernimmt:\n• OTP: p1.OTP, p2.OTP, p3.OTP, p4.OTP, p5.OTP … und 494 weitere\n"
                            "Nicht geöffnet:\n" +
                            refused + "• … und 492 weitere")};
}

void TestFiles::filesNamedAtStartOpenAsTheButtonsWould()
{
    QFETCH(QStringList, files);
    QFETCH(QString, pad);
    QFETCH(bool, decode);
    QFETCH(QString, input);
    QFETCH(QString, groups);
    QFETCH(QStringList, shown);

    QList<FilePath> paths;
    for (const QString& file : files) {
        const QString name = file.section(QLatin1Char('='), 0, 0);
        if (file.contains(QLatin1Char('=')))
            QVERIFY(writeBytes(path(name), file.section(QLatin1Char('='), 1).toLatin1()));
        paths << path(name);
    }
    m_form->openFiles(paths);
    QCOMPARE(m_ui->OTPOut->fieldText(), pad);
    QCOMPARE(m_ui->rb_QuarnDecod->isChecked(), decode);
    QCOMPARE(m_ui->bt_QuarnInLoad->text(), decode ? QStringLiteral("Crypt Laden") : QStringLiteral("Text Laden"));
    QCOMPARE(m_ui->QuarnIn->text(), input);
    QCOMPARE(m_ui->fuenfergruppenOut->fieldText(), groups);
    // A decoded cipher is what "Dechiffrieren" takes next.
    QCOMPARE(m_ui->bt_OTPCrypt->isEnabled(), !groups.isEmpty());
    QCOMPARE(boxes(), shown);
}

void TestFiles::padLoadTakesOnlyAPad_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("box"); // empty: the pad is taken
    QTest::addColumn<bool>("yes");    // the answer to a question

    const QByteArray pad = padText().toLatin1();
    QByteArray letter = pad;
    letter[36 * 6 + 2] = 'K';
    QByteArray broken = pad;
    broken.insert(29, "\r\n");
    const QString prefix = QStringLiteral("06032026.OTP ist kein gültiges OTP: ");
    QTest::newRow("an empty file is no pad")
        << QByteArray() << info(prefix + QStringLiteral("das OTP hat nur 0 statt 600 Zeichen")) << false;
    QTest::newRow("599 characters are no pad")
        << pad.left(599) << info(prefix + QStringLiteral("das OTP hat nur 599 statt 600 Zeichen")) << false;
    QTest::newRow("a saved cipher file is no pad")
        << QByteArray("12345 67890 ") << info(prefix + QStringLiteral("das OTP hat nur 12 statt 600 Zeichen")) << false;
    QTest::newRow("a line break inside the pad is named")
        << broken << info(prefix + QStringLiteral("nach Gruppe 5 steht Zeilenumbruch statt eines Leerzeichens"))
        << false;
    QTest::newRow("a letter in group 37 is named")
        << letter << info(prefix + QStringLiteral("in Gruppe 37 ist das 3. Zeichen 'K' keine Ziffer")) << false;
    QTest::newRow("a good pad followed by CR LF is taken") << pad + "\r\n" << QString() << false;
    QByteArray lines;
    for (qsizetype group = 0; group < 100; ++group)
        lines += pad.mid(group * 6, 5) + (group % 10 < 9 ? " " : group % 20 == 9 ? "\n" : "\r\n");
    QTest::newRow("ten lines of ten groups, LF or CR LF for the blank, are taken") << lines << QString() << false;
    const QString zeros =
        question(QStringLiteral("06032026.OTP enthält 99 doppelte Gruppen und ist daher kein zufälliges OTP. Was damit "
                                "chiffriert wird, ist nicht geheim. Trotzdem als OTP verwenden?"));
    QTest::newRow("a pad of zeros asks, and Nein keeps the pad in the field")
        << QByteArray("00000 ").repeated(100) << zeros << false;
    QTest::newRow("Ja takes the pad of zeros") << QByteArray("00000 ").repeated(100) << zeros << true;
    QByteArray twice = pad;
    twice.replace(6, 5, pad.left(5));
    QTest::newRow("one repeated group is named in the singular")
        << twice
        << question(QStringLiteral("06032026.OTP enthält 1 doppelte Gruppe und ist daher kein zufälliges "
                                   "OTP. Was damit chiffriert wird, ist nicht geheim. Trotzdem als OTP "
                                   "verwenden?"))
        << false;
    QByteArray bom = "\xEF\xBB\xBF" + pad;
    QTest::newRow("a byte-order mark is named in words")
        << bom << info(prefix + QStringLiteral("in Gruppe 1 ist das 1. Zeichen Byte-Order-Mark keine Ziffer")) << false;
}

void TestFiles::padLoadTakesOnlyAPad()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, box);
    QFETCH(bool, yes);

    QString shown = padText();
    std::rotate(shown.begin(), shown.begin() + 6, shown.end());
    m_ui->OTPOut->setFieldText(shown);
    QVERIFY(writeBytes(path(QStringLiteral("06032026.OTP")), bytes));
    m_fakes.files->setNextAnswer(path(QStringLiteral("06032026.OTP")));
    if (yes)
        m_fakes.boxes->setNextAnswer(test::Answer::Yes);
    m_form->bt_OTPLoadClick();

    QCOMPARE(boxes(), box.isEmpty() ? QStringList() : QStringList{box});
    if (yes)
        QCOMPARE(m_ui->OTPOut->fieldText(), QString(bytes));
    else
        QCOMPARE(m_ui->OTPOut->fieldText(), box.isEmpty() ? padText() : shown);
}

void TestFiles::specialFilesAreRefusedAtOnce_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");

    QTest::newRow("a FIFO") << QStringLiteral("fifo.OTP") << QStringLiteral("fifo.OTP");
    QTest::newRow("an endless device") << QStringLiteral("/dev/zero") << QStringLiteral("zero");
}

void TestFiles::specialFilesAreRefusedAtOnce()
{
    QFETCH(QString, file);
    QFETCH(QString, name);

    const QString fifo = path(QStringLiteral("fifo.OTP"));
    if (!test::makeFifo(fifo))
        QSKIP("no FIFO on this system");
    m_ui->OTPOut->setFieldText(padText());
    m_ui->QuarnIn->setProgramText(QStringLiteral("ALT"));

    file = QDir(m_dir->path()).filePath(file);
    test::FifoGuard guard(fifo, std::chrono::seconds(5));
    m_fakes.files->setNextAnswer(file);
    m_form->bt_OTPLoadClick();
    m_fakes.files->setNextAnswer(file);
    m_form->bt_QuarnInLoadClick();
    QVERIFY2(!guard.finish(), "a load waited for a writer");

    const QString message = info(name + QStringLiteral(" konnte nicht gelesen werden: ist keine normale Datei"));
    QCOMPARE(boxes(), QStringList({message, message}));
    QCOMPARE(m_ui->OTPOut->fieldText(), padText());
    QCOMPARE(m_ui->QuarnIn->text(), QStringLiteral("ALT"));
}

void TestFiles::brokenRandomSourceKeepsThePad_data()
{
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QString>("message");

    QTest::newRow("a failing system generator")
        << true << QStringLiteral("Der Zufallsgenerator des Systems ist nicht verfügbar.");
    QTest::newRow("a source that gives one value for ever")
        << false << QStringLiteral("Der Zufallsgenerator liefert keine zufälligen Werte, es wurde kein OTP erzeugt.");
}

void TestFiles::brokenRandomSourceKeepsThePad()
{
    QFETCH(bool, fails);
    QFETCH(QString, message);

    m_ui->bt_OTPkey->click();
    const QString pad = m_ui->OTPOut->fieldText();
    QCOMPARE(pad.size(), 600);
    m_random->breakDown(fails);
    m_ui->bt_OTPkey->click();

    QCOMPARE(boxes(), QStringList{QStringLiteral("QUARN: ") + message});
    QCOMPARE(m_ui->OTPOut->fieldText(), pad);
    QVERIFY(m_ui->bt_OTPSave->isEnabled());
}

void TestFiles::worksheet_data()
{
    QTest::addColumn<bool>("decode");
    QTest::addColumn<bool>("ciphered");
    QTest::addColumn<QStringList>("shown");
    const QString notYet = info(QStringLiteral("Ein Arbeitsblatt gibt es erst, wenn „Chiffrieren“ oder „Dechiffrieren“ "
                                               "zu Ende gelaufen ist."));
    const QString saved = info(QStringLiteral("06032026.pdf wurde gespeichert!"));
    QTest::newRow("before the cipher has run a notice says what comes first") << false << false << QStringList{notYet};
    QTest::newRow("after enciphering the sheet is saved as a PDF for its owner only")
        << false << true << QStringList{saved};
    QTest::newRow("after deciphering as well") << true << true << QStringList{saved};
}

void TestFiles::worksheet()
{
    QFETCH(bool, decode);
    QFETCH(bool, ciphered);
    QFETCH(QStringList, shown);
    const QList<QAction*> entries = m_form->PMenue_K->actions();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(1)->text(), QStringLiteral("Arbeitsblatt drucken…"));
    QCOMPARE(entries.at(2)->text(), QStringLiteral("Arbeitsblatt als PDF speichern…"));

    setDecode(decode);
    m_ui->QuarnIn->setProgramText(decode ? QStringLiteral("12345 67890 1") : QStringLiteral("HALLO WELT"));
    m_form->Quarn();
    // Deciphering needs the partner's pad; enciphering takes a new one, which the saved sheet then keeps.
    if (decode)
        m_ui->OTPOut->setFieldText(padText());
    else
        m_form->OTPErzeugeClick();
    if (ciphered) {
        m_form->bt_OTPCryptClick();
        m_fakes.files->setNextAnswer(path(QStringLiteral("06032026.pdf")));
    }
    entries.at(2)->trigger();
    QCOMPARE(boxes(), shown);
    if (!ciphered) {
        QVERIFY(QDir(m_dir->path()).isEmpty());
        return;
    }
    QCOMPARE(m_form->SaveDialog1->fileName().section(u'/', -1), QStringLiteral("06032026.pdf"));
    QVERIFY(readBytes(path(QStringLiteral("06032026.pdf"))).startsWith("%PDF-"));
    // Neither group nor others may read it.
#ifdef Q_OS_WIN
    QVERIFY(test::onlyTheOwnerMayOpen(path(QStringLiteral("06032026.pdf"))));
#else
    QCOMPARE(int(QFile::permissions(path(QStringLiteral("06032026.pdf"))) & 0x00FF), 0);
#endif
    // A new message forgets the sheet of the old one.
    m_form->Quarn();
    entries.at(2)->trigger();
    QCOMPARE(boxes().size(), 1);
    QVERIFY(m_form->close());
    QCOMPARE(boxes(), QStringList());
}

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
