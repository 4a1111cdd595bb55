#include "CodeEncoder.h"
#include "FileDialog.h"
#include "FormWidgets.h"
#include "GroupFormatter.h"
#include "MessageBoxes.h"
#include "PadQuestions.h"
#include "SecretClipboard.h"
#include "TForm1.h"
#include "TestFiles.h"
#include "TextBytes.h"
#include "WindowFakes.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

using namespace quarn;

Q_DECLARE_METATYPE(test::Answer)

namespace {

const QString loadPadFirst = QStringLiteral("Zum Dechiffrieren zuerst das OTP laden!");

QString repeated(const QString& unit, int times)
{
    QString s;
    for (int i = 0; i < times; ++i)
        s += unit;
    return s;
}

QString zeroPad()
{
    return repeated(QStringLiteral("00000 "), 100);
}

void key(QWidget* widget, const QString& text, Qt::KeyboardModifiers modifiers, int code = Qt::Key_unknown)
{
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

test::Answer answerNamed(const QString& name)
{
    if (name == "Ja")
        return test::Answer::Yes;
    if (name == "Nein")
        return test::Answer::No;
    return test::Answer::Escape;
}

} // namespace

// What the window does to keep a pad from being used twice or lost, and text from being dropped unnoticed.
class TestPadWindow : public QObject
{
    Q_OBJECT

private:
    test::WindowFakes m_fakes;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<QTemporaryDir> m_dir;
    const test::FormWidgets* ui() { return test::widgetsOf(*m_form); }

    void kodieren(const QString& text)
    {
        ui()->QuarnIn->setProgramText(text);
        ui()->bt_kodieren->click();
    }

    // One letter for each step: k = Kodieren "HALLO", K = Kodieren "WELT", p = OTP erzeugen, z = a pad of
    // zeros from elsewhere, Z = "OTP Laden" of a file of zeros, L = "OTP Laden" of pad.OTP, c = Chiffrieren,
    // s = save the pad into pad.OTP, t = save the cipher into pad.OTP, f = a failed pad save, d/D = decode/encode
    // direction, r = receive: decipher the groups of "HALLO" (its cipher under the pad of zeros), j = answer the
    // next question with Ja.
    void run(const QString& steps)
    {
        for (QChar step : steps) {
            switch (step.toLatin1()) {
            case 'j':
                m_fakes.boxes->setNextAnswer(test::Answer::Yes);
                break;
            case 'Z':
                QVERIFY(test::writeBytes(m_dir->filePath(QStringLiteral("null.OTP")), zeroPad().toLatin1()));
                m_fakes.files->setNextAnswer(m_dir->filePath(QStringLiteral("null.OTP")));
                // A pad of zeros asks whether to use it (after any question about the pad it replaces).
                if (ui()->OTPOut->fieldText().isEmpty())
                    m_fakes.boxes->setNextAnswer(test::Answer::Yes);
                ui()->bt_OTPLoad->click();
                break;
            case 'L':
                m_fakes.files->setNextAnswer(m_dir->filePath(QStringLiteral("pad.OTP")));
                ui()->bt_OTPLoad->click();
                break;
            case 't':
                m_fakes.files->setNextAnswer(m_dir->filePath(QStringLiteral("pad.OTP")));
                ui()->bt_QuarnDecryptSave->click();
                break;
            case 'r':
                ui()->rb_QuarnDecod->click();
                kodieren(fromWindows1252(GroupFormatter::format(CodeEncoder::encode("HALLO")).text));
                ui()->bt_OTPCrypt->click();
                ui()->rb_QuarnCode->click();
                break;
            case 'k':
                kodieren(QStringLiteral("HALLO"));
                break;
            case 'K':
                kodieren(QStringLiteral("WELT"));
                break;
            case 'p':
                ui()->bt_OTPkey->click();
                break;
            case 'z':
                ui()->OTPOut->setFieldText(zeroPad());
                break;
            case 'c':
                ui()->bt_OTPCrypt->click();
                break;
            case 's':
                m_fakes.files->setNextAnswer(m_dir->filePath(QStringLiteral("pad.OTP")));
                ui()->bt_OTPSave->click();
                break;
            case 'f':
                m_fakes.files->setNextAnswer(m_dir->filePath(QStringLiteral("fehlt/pad.OTP")));
                ui()->bt_OTPSave->click();
                break;
            case 'd':
                ui()->rb_QuarnDecod->click();
                break;
            case 'D':
                ui()->rb_QuarnCode->click();
                break;
            default:
                QFAIL("unknown step");
            }
        }
    }

    QStringList confirmations()
    {
        QStringList texts;
        for (const auto& record : m_fakes.boxes->takeRecords())
            if (record.kind == MessageBoxes::Kind::Confirmation) {
                // Both questions guard a pad: "&Nein" is the answer that Enter gives.
                if (record.defaultButton != QStringLiteral("&Nein"))
                    return {QStringLiteral("<default button %1>").arg(record.defaultButton)};
                texts << record.text;
            }
        return texts;
    }

private slots:
    void init()
    {
        m_fakes = test::WindowFakes();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_form = std::make_unique<TForm1>(m_fakes.seams(std::make_shared<test::SequenceSource>()));
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup() { m_form.reset(); }

    void aPadEnciphersOneMessage_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("enciphered");
        QTest::newRow("a second message with the same pad asks, and Nein changes nothing") << "kpcKc"
                                                                                           << "Nein" << true << false;
        QTest::newRow("Esc changes nothing either") << "kpcKc"
                                                    << "Esc" << true << false;
        QTest::newRow("Ja enciphers the second message") << "kpcKc"
                                                         << "Ja" << true << true;
        QTest::newRow("the same message again asks nothing") << "kpckc"
                                                             << "" << false << true;
        QTest::newRow("a new pad for the second message asks nothing") << "kpcjpKc"
                                                                       << "" << false << true;
        QTest::newRow("a loaded pad used twice asks as well") << "kzcKc"
                                                              << "Nein" << true << false;
        QTest::newRow("a saved pad is still a used pad") << "kpcsKc"
                                                         << "Nein" << true << false;
        QTest::newRow("the pad the cipher made for an empty field counts as used") << "kcKc"
                                                                                   << "Nein" << true << false;
        QTest::newRow("a pad that deciphered a message asks before the reply") << "ZrKc"
                                                                               << "Nein" << true << false;
        QTest::newRow("enciphering the message it deciphered asks nothing") << "Zrkc"
                                                                            << "" << false << true;
    }

    void aPadEnciphersOneMessage()
    {
        QFETCH(QString, steps);
        QFETCH(QString, answer);
        QFETCH(bool, asked);
        QFETCH(bool, enciphered);
        // All but the last step, then the last Chiffrieren on its own.
        run(steps.chopped(1));
        m_fakes.boxes->takeRecords();
        const QString pad = ui()->OTPOut->fieldText();
        const QString before = ui()->OTPCryptOut->fieldText();
        const QList<bool> buttons = {ui()->bt_QuarnDecryptSave->isEnabled(), ui()->bt_OTPSave->isEnabled()};
        if (!answer.isEmpty())
            m_fakes.boxes->setNextAnswer(answerNamed(answer));
        run(QStringLiteral("c"));
        QCOMPARE(confirmations(), asked ? QStringList{test::ReuseQuestion} : QStringList{});
        QCOMPARE(ui()->OTPOut->fieldText(), pad);
        if (enciphered) {
            QCOMPARE(ui()->OTPCryptOut->fieldText().size(), ui()->fuenfergruppenOut->fieldText().size());
        } else {
            QCOMPARE(ui()->OTPCryptOut->fieldText(), before);
            QCOMPARE((QList<bool>{ui()->bt_QuarnDecryptSave->isEnabled(), ui()->bt_OTPSave->isEnabled()}), buttons);
        }
    }

    void closingAsksOnlyWhenAMessagesPadWouldBeLost_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("closed");
        // How it ends: "" closes; "logout" or "shutdown" ends the session; "logout, close" does both.
        QTest::addColumn<QString>("how");
        const auto row = [](const char* name, const char* steps, const char* answer, bool asked, bool closed,
                            const char* how = "") {
            QTest::newRow(name) << QString(steps) << QString(answer) << asked << closed << QString(how);
        };
        row("a new run closes at once", "", "", false, true);
        row("a pad that enciphered nothing closes at once", "p", "", false, true);
        row("an unsaved pad that enciphered asks, and Nein keeps the window", "kpc", "Nein", true, false);
        row("Esc keeps the window", "kpc", "Esc", true, false);
        row("Ja closes", "kpc", "Ja", true, true);
        row("the pad the cipher made for an empty field counts too", "kc", "Nein", true, false);
        row("a saved pad closes at once", "kpcs", "", false, true);
        row("a pad saved before it enciphered closes at once", "kpsc", "", false, true);
        row("a failed save keeps the question", "kpcf", "Nein", true, false);
        row("a loaded pad someone else has closes at once", "kzc", "", false, true);
        row("a pad given up with Ja no longer counts", "kpcjp", "", false, true);
        row("a pad whose file was written over counts again", "kpcsjt", "Nein", true, false);
        row("a pad saved again into its own file stays kept", "kpcsjs", "", false, true);
        row("a logout asks too, and Nein cancels it", "kpc", "Nein", true, false, "logout");
        row("a session that may not ask ends", "kpc", "", false, true, "shutdown");
        row("a logout with a saved pad asks nothing", "kpcs", "", false, true, "logout");
        row("Ja lets the logout go on, and closing then asks no second time", "kpc", "Ja", true, true, "logout, close");
    }

    void closingAsksOnlyWhenAMessagesPadWouldBeLost()
    {
        QFETCH(QString, steps);
        QFETCH(QString, answer);
        QFETCH(bool, asked);
        QFETCH(bool, closed);
        QFETCH(QString, how);
        run(steps);
        m_fakes.boxes->takeRecords();
        if (!answer.isEmpty())
            m_fakes.boxes->setNextAnswer(answerNamed(answer));
        if (how.startsWith(QStringLiteral("logout")) || how == QStringLiteral("shutdown")) {
            QCOMPARE(m_form->sessionMayEnd([&] { return how != QStringLiteral("shutdown"); }), closed);
            QVERIFY(m_form->isVisible());
        }
        if (how.isEmpty() || how.endsWith(QStringLiteral("close"))) {
            QCOMPARE(m_form->close(), closed);
            QCOMPARE(m_form->isVisible(), !closed);
        }
        QCOMPARE(confirmations(), asked ? QStringList{test::CloseQuestion} : QStringList{});
    }

    // Ja to a logout that another program then calls off: once the user works on, closing asks again.
    void workAfterACalledOffLogoutBringsTheQuestionBack()
    {
        run(QStringLiteral("kpcj"));
        QVERIFY(m_form->sessionMayEnd([] { return true; }));
        run(QStringLiteral("K"));
        QVERIFY(!m_form->close());
        QCOMPARE(confirmations(), (QStringList{test::CloseQuestion, test::CloseQuestion}));
    }

    void decipheringNeedsThePartnersPad_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("cipher"); // empty: the cipher on screen
        QTest::addColumn<QString>("notice");
        const auto row = [](const char* name, const char* steps, const QString& notice, const char* cipher = "") {
            QTest::newRow(name) << QString(steps) << QString(cipher) << notice;
        };
        const QString none;
        row("a fresh pad made here cannot decipher", "kpcjpd", loadPadFirst);
        row("no pad at all cannot decipher", "d", loadPadFirst);
        row("the pad that enciphered may check the round trip", "kpcd", none);
        row("a loaded pad deciphers", "kpczd", none);
        row("a pad saved for the partner deciphers", "kpsd", none, "12345 67890 ");
        row("the partner's pad loaded again from its file deciphers", "kpspLd", none, "12345 67890 ");
        row("a pad that enciphered another message says it now carries two", "kpcd", PadQuestions::secondMessage(),
            "12345 67890 ");
        row("the same received message twice says nothing more", "Zrd", none);
    }

    void decipheringNeedsThePartnersPad()
    {
        QFETCH(QString, steps);
        QFETCH(QString, cipher);
        QFETCH(QString, notice);
        run(steps.chopped(1));
        if (cipher.isEmpty())
            cipher = ui()->OTPCryptOut->fieldText();
        const QString pad = ui()->OTPOut->fieldText();
        run(QStringLiteral("d"));
        kodieren(cipher.isEmpty() ? QStringLiteral("12345 ") : cipher);
        m_fakes.boxes->takeRecords();
        run(QStringLiteral("c"));
        QStringList shown;
        for (const auto& record : m_fakes.boxes->takeRecords())
            shown << record.text;
        QCOMPARE(shown, notice.isEmpty() ? QStringList{} : QStringList{notice});
        // Refused, nothing is deciphered; otherwise the text is shown, a notice or not.
        QCOMPARE(ui()->QuarnDecrypt->fieldText().isEmpty(), notice == loadPadFirst);
        QCOMPARE(ui()->OTPOut->fieldText(), pad);
    }

    void kodierenNamesThePassedOverCharacters_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<test::Answer>("answer");
        QTest::addColumn<QStringList>("shown"); // questions start with "?", or "?Nein?" where Enter answers "&Nein"
        QTest::addColumn<QString>("after");
        const QString offer = QStringLiteral("\n\nÄ, Ö, Ü und ß als AE, OE, UE und SS schreiben und neu kodieren?");
        const QString notice = QStringLiteral("Nicht in der Quarn-Tafel, daher übergangen: ");
        const auto no = test::Answer::No;
        const auto yes = test::Answer::Yes;
        QTest::newRow("a text the table holds gives no notice") << "HALLO" << no << QStringList() << "HALLO";
        QTest::newRow("umlauts and ß are named once each, in order, and offered written out; Esc keeps them")
            << "ÜBER SÜß GRÖßE" << test::Answer::Escape << QStringList{"?" + notice + "Ü ß Ö" + offer}
            << "ÜBER SÜß GRÖßE";
        QTest::newRow("Nein keeps them and says no more")
            << "MÜNCHEN" << no << QStringList{"?" + notice + "Ü" + offer} << "MÜNCHEN";
        QTest::newRow("Ja writes München as MUENCHEN")
            << "MÜNCHEN" << yes << QStringList{"?" + notice + "Ü" + offer} << "MUENCHEN";
        QTest::newRow("Ja names what is still left out")
            << "GRÜß! JA?" << yes << QStringList{"?" + notice + "Ü ß ! ?" + offer, notice + "! ?"} << "GRUESS! JA?";
        const auto past = [](const char* cut, int length) {
            return QStringLiteral("\n\nAusgeschrieben wäre der Text %1 Zeichen lang: %2 (max. 100 Zeichen).\n\nÄ, Ö, Ü "
                                  "und ß trotzdem als AE, OE, UE und SS schreiben und neu kodieren?")
                .arg(length)
                .arg(QString::fromUtf8(cut));
        };
        QTest::newRow("a text that would grow past 100 characters is offered with its loss, Nein the default")
            << repeated(QStringLiteral("A"), 98) + "ÄÖ" << no
            << QStringList{"?Nein?" + notice + "Ä Ö" + past("die letzten 2 Zeichen gingen verloren", 102)}
            << repeated(QStringLiteral("A"), 98) + "ÄÖ";
        QTest::newRow("Ja cuts it and says so")
            << repeated(QStringLiteral("A"), 98) + "ÄÖ" << yes
            << QStringList{"?Nein?" + notice + "Ä Ö" + past("die letzten 2 Zeichen gingen verloren", 102),
                           "Text zu groß! Nur 100 von 102 Zeichen übernommen (max. 100 Zeichen)."}
            << repeated(QStringLiteral("A"), 98) + "AE";
        QTest::newRow("one character past the limit is named as the last")
            << repeated(QStringLiteral("A"), 99) + "Ü" << no
            << QStringList{"?Nein?" + notice + "Ü" + past("das letzte Zeichen ginge verloren", 101)}
            << repeated(QStringLiteral("A"), 99) + "Ü";
        QTest::newRow("a text that reaches the limit exactly is offered as any other")
            << repeated(QStringLiteral("A"), 98) + "Ü" << yes << QStringList{"?" + notice + "Ü" + offer}
            << repeated(QStringLiteral("A"), 98) + "UE";
        QTest::newRow("exclamation and question marks")
            << "JA! NEIN?" << no << QStringList{notice + "! ?"} << "JA! NEIN?";
        QTest::newRow("line breaks are named in words, once")
            << "A\r\nB\nC" << no << QStringList{notice + "Zeilenumbruch"} << "A\r\nB\nC";
    }

    void kodierenNamesThePassedOverCharacters()
    {
        QFETCH(QString, input);
        QFETCH(test::Answer, answer);
        QFETCH(QStringList, shown);
        QFETCH(QString, after);
        m_fakes.boxes->setNextAnswer(answer);
        kodieren(input);
        QCOMPARE(ui()->QuarnIn->text(), after);
        // The groups are what the encoder makes of the text in the field.
        const std::string groups =
            GroupFormatter::format(CodeEncoder::encode(toWindows1252(UpperCaseLineEdit::upperCase(after)))).text;
        QCOMPARE(ui()->fuenfergruppenOut->fieldText(), fromWindows1252(groups));
        QStringList boxes;
        for (const auto& record : m_fakes.boxes->takeRecords())
            boxes << (record.kind != MessageBoxes::Kind::Confirmation   ? ""
                      : record.defaultButton == QStringLiteral("&Nein") ? "?Nein?"
                                                                        : "?") +
                         record.text;
        QCOMPARE(boxes, shown);
        // Ja can be undone, as a paste can.
        if (after != input) {
            ui()->QuarnIn->undo();
            QCOMPARE(ui()->QuarnIn->text(), input);
        }
    }

    void nothingLeftToEncipherLeavesNoCipher_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("in a new run") << "";
        QTest::newRow("after an earlier message, whose cipher must not pass for this one's") << "kzc";
    }

    void nothingLeftToEncipherLeavesNoCipher()
    {
        QFETCH(QString, steps);
        run(steps);
        const QString pad = ui()->OTPOut->fieldText();
        kodieren(QStringLiteral("ÄÖÜ"));
        m_fakes.boxes->takeRecords();
        QVERIFY(ui()->fuenfergruppenOut->fieldText().isEmpty());
        const QList<bool> before = {ui()->bt_OTPCrypt->isEnabled(), ui()->bt_OTPSave->isEnabled(),
                                    ui()->bt_OTPPrint->isEnabled(), ui()->bt_QuarnDecryptSave->isEnabled()};
        ui()->bt_OTPCrypt->click();
        QCOMPARE(ui()->OTPOut->fieldText(), pad);
        QVERIFY(ui()->OTPCryptOut->fieldText().isEmpty());
        QCOMPARE((QList<bool>{ui()->bt_OTPCrypt->isEnabled(), ui()->bt_OTPSave->isEnabled(),
                              ui()->bt_OTPPrint->isEnabled(), ui()->bt_QuarnDecryptSave->isEnabled()}),
                 before);
        QCOMPARE(m_fakes.boxes->takeRecords().size(), 0);
        // Closing loses nothing: no pad made here carries a message.
        QVERIFY(m_form->close());
    }

    // The last step would put another pad in the field.
    void replacingAPadThatWouldBeLostAsksFirst_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("replaced");
        const auto row = [](const char* name, const char* steps, const char* answer, bool asked, bool replaced) {
            QTest::newRow(name) << QString(steps) << QString(answer) << asked << replaced;
        };
        row("OTP erzeugen over a used unsaved pad asks, and Nein keeps it", "kpcp", "Nein", true, false);
        row("Ja replaces it", "kpcp", "Ja", true, true);
        row("OTP Laden over a used unsaved pad asks as well", "kpcZ", "Nein", true, false);
        row("a saved pad is replaced without a word", "kpcsp", "", false, true);
        row("a pad that only deciphered is replaced without a word", "Zrp", "", false, true);
        row("a loaded pad whose file was written over asks", "kpcsLjtp", "Nein", true, false);
    }

    void replacingAPadThatWouldBeLostAsksFirst()
    {
        QFETCH(QString, steps);
        QFETCH(QString, answer);
        QFETCH(bool, asked);
        QFETCH(bool, replaced);
        run(steps.chopped(1));
        m_fakes.boxes->takeRecords();
        const auto fields = [this] {
            return QStringList{ui()->OTPOut->fieldText(), ui()->OTPCryptOut->fieldText(),
                               ui()->fuenfergruppenOut->fieldText(), ui()->QuarnDecrypt->fieldText(),
                               ui()->bt_OTPSave->isEnabled() ? "save" : "no save"};
        };
        const QStringList before = fields();
        if (!answer.isEmpty())
            m_fakes.boxes->setNextAnswer(answerNamed(answer));
        run(steps.right(1));
        QCOMPARE(confirmations(), asked ? QStringList{PadQuestions::replace()} : QStringList{});
        if (replaced)
            QVERIFY(ui()->OTPOut->fieldText() != before.first());
        else
            QCOMPARE(fields(), before);
    }

    void typedLettersAreUpperCaseAndLimitedWhateverTheModifier_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Alt") << int(Qt::AltModifier);
        QTest::newRow("Super") << int(Qt::MetaModifier);
        QTest::newRow("AltGr as Windows sends it, Ctrl and Alt") << int(Qt::ControlModifier | Qt::AltModifier);
        QTest::newRow("AltGr as X11 sends it") << int(Qt::GroupSwitchModifier);
        QTest::newRow("Shift and Alt") << int(Qt::ShiftModifier | Qt::AltModifier);
    }

    void typedLettersAreUpperCaseAndLimitedWhateverTheModifier()
    {
        QFETCH(int, modifiers);
        ui()->QuarnIn->setFocus();
        key(ui()->QuarnIn, QStringLiteral("b"), Qt::KeyboardModifiers(modifiers), Qt::Key_B);
        QCOMPARE(ui()->QuarnIn->text(), QStringLiteral("B"));
        ui()->QuarnIn->setProgramText(repeated(QStringLiteral("A"), 100));
        ui()->QuarnIn->end(false);
        for (int i = 0; i < 10; ++i)
            key(ui()->QuarnIn, QStringLiteral("b"), Qt::KeyboardModifiers(modifiers), Qt::Key_B);
        QCOMPARE(ui()->QuarnIn->text(), repeated(QStringLiteral("A"), 100));
    }

    void ctrlAloneStaysAShortcut()
    {
        ui()->QuarnIn->setProgramText(QStringLiteral("AB"));
        key(ui()->QuarnIn, QStringLiteral("x"), Qt::ControlModifier, Qt::Key_X);
        key(ui()->QuarnIn, QStringLiteral("q"), Qt::ControlModifier, Qt::Key_Q);
        QCOMPARE(ui()->QuarnIn->text(), QStringLiteral("AB"));
    }

    void theLimitCountsCharactersAsTheUserSeesThem_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::newRow("an accent typed after its letter") << QStringLiteral("e\u0301");
        QTest::newRow("a character outside the basic plane") << QStringLiteral("\U0001F600");
        QTest::newRow("plain letters") << QStringLiteral("a");
    }

    void theLimitCountsCharactersAsTheUserSeesThem()
    {
        QFETCH(QString, unit);
        const int units = 100;
        ui()->QuarnIn->setFocus();
        // Typed one code point at a time, as a keyboard or input method delivers them.
        for (int i = 0; i < 110; ++i)
            for (qsizetype at = 0; at < unit.size();) {
                const qsizetype n = unit.at(at).isHighSurrogate() ? 2 : 1;
                key(ui()->QuarnIn, unit.mid(at, n), Qt::NoModifier);
                at += n;
            }
        // Accents typed after the last letter still join it; no further letter gets in.
        QCOMPARE(UpperCaseLineEdit::visibleLength(ui()->QuarnIn->text()), units);
        QVERIFY(ui()->QuarnIn->text().startsWith(repeated(UpperCaseLineEdit::upperCase(unit), units)));
    }

    void anInputMethodsTextKeepsTheRules()
    {
        ui()->QuarnIn->setFocus();
        ui()->QuarnIn->setProgramText(repeated(QStringLiteral("A"), 97));
        ui()->QuarnIn->end(false);
        QInputMethodEvent preedit(QStringLiteral("xyz"), {});
        QApplication::sendEvent(ui()->QuarnIn, &preedit);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("äbcd"));
        QApplication::sendEvent(ui()->QuarnIn, &commit);
        QCOMPARE(ui()->QuarnIn->text(), repeated(QStringLiteral("A"), 97) + QStringLiteral("ÄBC"));
        // Typing at the limit says nothing.
        QVERIFY(m_fakes.boxes->takeRecords().isEmpty());
    }

    void aDropKeepsTheRulesAndLandsWhereItIsDropped()
    {
        ui()->QuarnIn->setProgramText(repeated(QStringLiteral("A"), 96));
        QMimeData data;
        data.setText(QStringLiteral("xyz\u00e9w"));
        const QPoint at(1, ui()->QuarnIn->height() / 2); // before the first character
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ui()->QuarnIn, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ui()->QuarnIn, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(ui()->QuarnIn->text(), QStringLiteral("XYZÉ") + repeated(QStringLiteral("A"), 96));
        // The cut is told once the drop is over.
        QVERIFY(m_fakes.boxes->takeRecords().isEmpty());
        QList<test::RecordingBoxes::Record> told;
        QTRY_VERIFY((told += m_fakes.boxes->takeRecords()).size() == 1);
        QCOMPARE(told.first().text, QStringLiteral("Text zu groß! Nur 4 von 5 Zeichen übernommen (max. 100 Zeichen)."));
    }

    void undoAfterAChangeOfDirectionBringsNothingBack()
    {
        run(QStringLiteral("d"));
        ui()->QuarnIn->setFocus();
        for (int i = 0; i < 600; ++i)
            key(ui()->QuarnIn, QStringLiteral("1"), Qt::NoModifier, Qt::Key_1);
        QCOMPARE(ui()->QuarnIn->text().size(), 600);
        run(QStringLiteral("D"));
        ui()->QuarnIn->setFocus();
        QTest::keySequence(ui()->QuarnIn, QKeySequence::Undo);
        QTest::keySequence(ui()->QuarnIn, QKeySequence::Redo);
        QCOMPARE(ui()->QuarnIn->text(), QString());
        // Undo and redo of the user's own typing still work, within the rules.
        key(ui()->QuarnIn, QStringLiteral("a"), Qt::AltModifier, Qt::Key_A);
        QTest::keySequence(ui()->QuarnIn, QKeySequence::Undo);
        QCOMPARE(ui()->QuarnIn->text(), QString());
        QTest::keySequence(ui()->QuarnIn, QKeySequence::Redo);
        QCOMPARE(ui()->QuarnIn->text(), QStringLiteral("A"));
    }

    void copiesCarryPlainTextOnly_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("viaMenu");
        QTest::addColumn<bool>("secret"); // taken back after its time
        QTest::newRow("Kopieren on the decoded text") << "QuarnDecrypt" << true << true;
        QTest::newRow("Ctrl+C in the decoded text") << "QuarnDecrypt" << false << true;
        QTest::newRow("Kopieren on the cipher stays until the window closes") << "OTPCryptOut" << true << false;
        QTest::newRow("Ctrl+C in the cipher output") << "OTPCryptOut" << false << false;
        QTest::newRow("Ctrl+C in the groups") << "fuenfergruppenOut" << false << true;
        QTest::newRow("Ctrl+C in the pad field") << "OTPOut" << false << true;
    }

    // Plain text marked as a secret for clipboard managers; a secret is taken back after its time, all of it
    // when the window closes, and a selection in a secret field publishes nothing.
    void copiesCarryPlainTextOnly()
    {
        QFETCH(QString, field);
        QFETCH(bool, viaMenu);
        QFETCH(bool, secret);
        // A window whose secrets stay a short time.
        WindowSeams seams = m_fakes.seams(std::make_shared<test::SequenceSource>());
        seams.secretMilliseconds = 50;
        m_form = std::make_unique<TForm1>(seams);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        auto* target = m_form->findChild<ResultField*>(field);
        QVERIFY(target);
        target->setVisible(true);
        target->setFieldText(QStringLiteral("12345 67890 "));
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("vorher"));
        if (viaMenu) {
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(1, 1), target->mapToGlobal(QPoint(1, 1)));
            QApplication::sendEvent(target->viewport(), &menu);
            m_form->Kopieren1->trigger();
            m_form->PMenue_K->hide();
        } else {
            target->setFocus();
            QTest::keySequence(target, QKeySequence::SelectAll);
            QTest::keySequence(target, QKeySequence::Copy);
        }
        const QMimeData* data = clipboard->mimeData();
        QVERIFY(data);
#ifdef Q_OS_WIN
        // Windows' own formats that keep a text out of its clipboard history and cloud, each a DWORD 0.
        const QString windows = QStringLiteral("application/x-qt-windows-mime;value=\"%1\"");
        const QStringList hints{windows.arg(QStringLiteral("ExcludeClipboardContentFromMonitorProcessing")),
                                windows.arg(QStringLiteral("CanIncludeInClipboardHistory")),
                                windows.arg(QStringLiteral("CanUploadToCloudClipboard"))};
        QCOMPARE(data->formats(), QStringList{QStringLiteral("text/plain")} + hints);
        for (const QString& hint : hints)
            QCOMPARE(data->data(hint), QByteArray(4, '\0'));
#else
        QCOMPARE(data->formats(),
                 (QStringList{QStringLiteral("text/plain"), QStringLiteral("x-kde-passwordManagerHint")}));
        QCOMPARE(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
#endif
        QCOMPARE(data->text(), QStringLiteral("12345 67890 "));
        if (clipboard->supportsSelection())
            QCOMPARE(clipboard->text(QClipboard::Selection).isEmpty(), secret);
        if (secret)
            QTRY_COMPARE(clipboard->text(), QString());
        m_form->close();
        QCOMPARE(clipboard->text(), QString());
    }
};

QTEST_MAIN(TestPadWindow)
#include "tst_padwindow.moc"
