#include "FileDialog.h"
#include "FileMessages.h"
#include "FormWidgets.h"
#include "MessageBoxes.h"
#include "PadFileText.h"
#include "PadQuestions.h"
#include "PrinterDialog.h"
#include "TForm1.h"
#include "TestFiles.h"
#include "TextBytes.h"
#include "WindowFakes.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMap>
#include <QMenu>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

using namespace quarn;

namespace {

// What the test knows of the pads of one run, kept as plain text: an oracle written apart from the window's.
// The walk never prints (its print dialog is always cancelled).
struct PadModel
{
    QSet<QString> made;
    QSet<QString> loaded;
    QSet<QString> leftProgram; // saved or loaded once
    QSet<QString> enciphering;
    QMap<QString, QString> files;          // file -> the pad it holds
    QMap<QString, QSet<QString>> messages; // pad -> plain groups it enciphered or deciphered

    static QString key(const QString& pad) { return pad.left(600); }
    static QString message(QString groups)
    {
        groups.truncate(600);
        if (groups.endsWith(QLatin1Char(' ')))
            groups.chop(1);
        return groups;
    }
    bool wouldReuse(const QString& pad, const QString& groups) const
    {
        const QSet<QString> used = messages.value(key(pad));
        return !used.isEmpty() && !used.contains(message(groups));
    }
    bool needsPartner(const QString& pad) const
    {
        return pad.size() < 600 ||
               (made.contains(key(pad)) && !leftProgram.contains(key(pad)) && messages.value(key(pad)).isEmpty());
    }
    bool wouldLose(const QString& pad, const QString& replacement = {}) const
    {
        const QString k = key(pad);
        if (!replacement.isEmpty() && key(replacement) == k)
            return false;
        return (made.contains(k) || loaded.contains(k)) && enciphering.contains(k) && !files.values().contains(k);
    }
    bool fileHoldsUsedPad(const QString& file, const QString& pad) const
    {
        return files.contains(file) && files.value(file) != key(pad) && !messages.value(files.value(file)).isEmpty();
    }
};

// A text for a failure message: ASCII as it is, everything else as \uXXXX.
QString shown(const QString& text)
{
    QString out;
    for (QChar c : text)
        out += c.unicode() >= 0x20 && c.unicode() < 0x7f
                   ? QString(c)
                   : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return out;
}

bool isPadText(const QString& pad)
{
    if (pad.size() != 600)
        return false;
    for (int i = 0; i < 600; ++i) {
        const bool blank = i % 6 == 5;
        if (blank != (pad.at(i) == QLatin1Char(' ')) || (!blank && !pad.at(i).isDigit()))
            return false;
    }
    return true;
}

// What a pad load of these bytes gives: the pad, or nothing when the file holds none.
std::optional<QString> padFromFile(const QByteArray& bytes)
{
    PadFileText pad;
    pad.feed(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!PadFileText::check(pad.text()))
        return std::nullopt;
    return fromWindows1252(pad.text());
}

} // namespace

// A seeded walk through the real window: thousands of random actions, invariants checked after each one.
// QUARN_RANDOM_SEED and QUARN_RANDOM_STEPS change the walk; a failure names the seed and the step.
class TestRandomActions : public QObject
{
    Q_OBJECT

private:
    test::WindowFakes m_fakes;
    std::unique_ptr<TForm1> m_form;
    QTemporaryDir m_dir;
    QRandomGenerator m_random;
    PadModel m_model;
    // The enabled state the table gives: Chiffrieren, OTP Speichern, OTP Drucken, Ausgabe Speichern, Drucken.
    QList<bool> m_expected;
    // The input the groups were made from, while they are current; and whether the result was made from them.
    std::optional<QString> m_groupsOf;
    bool m_resultOfGroups = false;
    QString m_context;
    int m_saves = 0;
    bool m_entering = false;
    bool m_undoing = false;
    // The most characters the input held since the program last set it: undo and redo may go back there.
    int m_inputPeak = 0;
    // How often the walk met what it is there to check; a walk that never met one proves nothing.
    QMap<QString, int> m_seen;

    const test::FormWidgets* ui() { return test::widgetsOf(*m_form); }

    int pick(int n) { return int(m_random.bounded(n)); }
    template <typename T> const T& any(const QList<T>& list) { return list.at(pick(int(list.size()))); }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    void newRun()
    {
        m_form = std::make_unique<TForm1>(m_fakes.seams(std::make_shared<test::SequenceSource>(m_random.generate())));
        m_form->show();
        m_model = PadModel{};
        m_inputPeak = 0;
        m_expected = {false, false, false, false, false};
        m_groupsOf.reset();
    }

    QList<bool> buttonStates()
    {
        return {ui()->bt_OTPCrypt->isEnabled(), ui()->bt_OTPSave->isEnabled(), ui()->bt_OTPPrint->isEnabled(),
                ui()->bt_QuarnDecryptSave->isEnabled(), ui()->bt_QuarnDecryptPrint->isEnabled()};
    }

    bool decode() { return ui()->rb_QuarnDecod->isChecked(); }

    QString oddText()
    {
        static const QStringList pieces = {
            QStringLiteral("a"),       QStringLiteral("Z"),      QStringLiteral("ä"),      QStringLiteral("ß"),
            QStringLiteral("Ö"),       QStringLiteral("µ"),      QStringLiteral("ÿ"),      QStringLiteral(" "),
            QStringLiteral("1"),       QStringLiteral("0"),      QStringLiteral("."),      QStringLiteral("!"),
            QStringLiteral("?"),       QStringLiteral("\n"),     QStringLiteral("\t"),     QStringLiteral("\r\n"),
            QStringLiteral("e\u0301"), QStringLiteral("\u0301"), QStringLiteral("€"),      QStringLiteral("\U0001F600"),
            QStringLiteral("\u200d"),  QStringLiteral("sch"),    QStringLiteral("rpt"),    QStringLiteral("12345 "),
            QStringLiteral("\u4e2d"),  QStringLiteral("\x01"),   QStringLiteral("\u00a0"), QStringLiteral("\"")};
        QString text;
        const int n = pick(4) == 0 ? pick(700) : pick(12);
        for (int i = 0; i < n; ++i)
            text += any(pieces);
        return text;
    }

    void writeFiles()
    {
        QString pad;
        for (int i = 0; i < 100; ++i)
            pad += QStringLiteral("%1 ").arg(i * 997 % 99999, 5, 10, QLatin1Char('0'));
        QVERIFY(test::writeBytes(path("gut.OTP"), toWindows1252(pad).c_str() + QByteArray("\r\n")));
        QVERIFY(test::writeBytes(path("null.OTP"), QByteArray(QString(600, QLatin1Char('0')).toLatin1())));
        QVERIFY(test::writeBytes(path("falsch.OTP"), QByteArray("12345 ABCDE 67890 ").repeated(40)));
        QVERIFY(test::writeBytes(path("kurz.OTP"), QByteArray("12345 67890 ")));
        QVERIFY(test::writeBytes(path("leer.OTP"), QByteArray()));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("ordner.OTP")));
        QVERIFY(test::writeBytes(path("text.txt"), QByteArray("Treffen um 14.30 Uhr, Gr\xfc\xdf\x65!")));
        QVERIFY(test::writeBytes(path("lang.txt"), QByteArray(300, 'q')));
        QVERIFY(test::writeBytes(path("chiffre.crp"), QByteArray("12345 67890 13579 ")));
        QVERIFY(test::writeBytes(path("unsinn.crp"), QByteArray("\x1a\x00xyz 12", 8)));
    }

    // Queues the dialogs' answers a step may need, so that no real dialog ever opens.
    QString queueDialogs()
    {
        m_fakes.files->clearNextAnswers();
        m_fakes.printer->clearNextAnswers();
        // Never a real print job: the print dialog is always cancelled.
        m_fakes.printer->setNextAnswer(false);
        static const QStringList loads = {"gut.OTP",    "null.OTP",  "falsch.OTP", "kurz.OTP", "leer.OTP",
                                          "ordner.OTP", "fehlt.OTP", "text.txt",   "lang.txt", "chiffre.crp",
                                          "unsinn.crp", "ziel0.OTP", "ziel1.OTP",  ""};
        QString chosen;
        switch (pick(5)) {
        case 0: {
            const QString name = any(loads);
            chosen = name.isEmpty() ? QString() : path(name);
        } break;
        case 1:
            chosen = QString(); // cancelled
            break;
        case 2:
            chosen = path(QStringLiteral("fehlt/ziel.OTP")); // a folder that does not exist
            break;
        case 3:
            chosen = path(QStringLiteral("ordner.OTP"));
            break;
        default:
            chosen = path(QStringLiteral("ziel%1.OTP").arg(m_saves++ % 4)); // new or written over
            break;
        }
        m_fakes.files->setNextAnswer(chosen);
        return chosen;
    }

    // Answers for the questions of one step, in the order they may come.
    QList<test::Answer> queueAnswers()
    {
        m_fakes.boxes->clearNextAnswers();
        m_fakes.boxes->takeRecords();
        QList<test::Answer> answers;
        for (int i = 0; i < 3; ++i) {
            answers << any(QList<test::Answer>{test::Answer::Yes, test::Answer::No, test::Answer::Escape});
            m_fakes.boxes->setNextAnswer(answers.last());
        }
        return answers;
    }

    void key(const QString& text, Qt::KeyboardModifiers modifiers, int code = Qt::Key_unknown)
    {
        QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
        QApplication::sendEvent(ui()->QuarnIn, &press);
        QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
        QApplication::sendEvent(ui()->QuarnIn, &release);
    }

    // One user action on the input field: typing, pasting, input methods, drops, undo and redo.
    void input()
    {
        UpperCaseLineEdit* in = ui()->QuarnIn;
        in->setFocus();
        if (pick(3) == 0)
            in->setCursorPosition(pick(int(in->text().size()) + 1));
        if (pick(5) == 0)
            in->setSelection(pick(int(in->text().size()) + 1), pick(5));
        static const QList<int> modifiers = {
            Qt::NoModifier,     Qt::ShiftModifier,       Qt::AltModifier,
            Qt::MetaModifier,   Qt::ControlModifier,     Qt::ControlModifier | Qt::AltModifier,
            Qt::KeypadModifier, Qt::GroupSwitchModifier, Qt::ShiftModifier | Qt::AltModifier};
        const int how = pick(9);
        m_context += QStringLiteral(" (input %1)").arg(how);
        // Only deleting keys may leave more characters than the limit: taking out a joiner splits one into two.
        m_entering = how <= 5;
        m_undoing = how == 6;
        switch (how) {
        case 0:
        case 1:
        case 2: {
            const QString text = oddText();
            const Qt::KeyboardModifiers mods(any(modifiers));
            m_context += QStringLiteral(" with modifiers %1 at %2, selection %3+%4, typing ")
                             .arg(int(mods), 0, 16)
                             .arg(in->cursorPosition())
                             .arg(in->selectionStart())
                             .arg(in->selectedText().size()) +
                         shown(text);
            for (qsizetype i = 0; i < text.size();) {
                const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
                key(text.mid(i, n), mods);
                i += n;
            }
            break;
        }
        case 3:
            QGuiApplication::clipboard()->setText(oddText());
            if (pick(2))
                QTest::keySequence(in, QKeySequence::Paste);
            else
                m_form->Einfuegen1->trigger();
            break;
        case 4: {
            QInputMethodEvent commit;
            commit.setCommitString(oddText(), -pick(3), pick(3));
            m_context += QStringLiteral(" at %1, selection %2+%3, replacing %4+%5, committing ")
                             .arg(in->cursorPosition())
                             .arg(in->selectionStart())
                             .arg(in->selectedText().size())
                             .arg(commit.replacementStart())
                             .arg(commit.replacementLength()) +
                         shown(commit.commitString());
            QApplication::sendEvent(in, &commit);
            break;
        }
        case 5: {
            QMimeData data;
            data.setText(oddText());
            const QPointF at(pick(in->width()), in->height() / 2);
            QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(in, &drop);
            break;
        }
        case 6: {
            const bool undo = pick(2);
            m_context += undo ? QStringLiteral(" undo") : QStringLiteral(" redo");
            QTest::keySequence(in, undo ? QKeySequence::Undo : QKeySequence::Redo);
            break;
        }
        case 7:
            key(QString(), Qt::NoModifier,
                any(QList<int>{Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left, Qt::Key_Home, Qt::Key_End}));
            break;
        default:
            QTest::keySequence(
                in, any(QList<QKeySequence::StandardKey>{QKeySequence::SelectAll, QKeySequence::Cut, QKeySequence::Copy,
                                                         QKeySequence::DeleteEndOfLine}));
            break;
        }
    }

    void copy()
    {
        ResultField* field = pick(2) ? ui()->OTPCryptOut : ui()->QuarnDecrypt;
        if (pick(2)) {
            m_form->openResultMenu(field, field->mapToGlobal(QPoint(2, 2)));
            m_form->Kopieren1->trigger();
            m_form->PMenue_K->hide();
        } else {
            field->setFocus();
            QTest::keySequence(field, QKeySequence::SelectAll);
            QTest::keySequence(field, QKeySequence::Copy);
        }
        if (const QMimeData* data = QGuiApplication::clipboard()->mimeData(); data && data->hasText())
            QVERIFY2(!data->hasHtml(), qPrintable(m_context));
    }

    // The pad field may change only by a new pad, a pad load, or the cipher making a pad for a short field.
    void checkPad(QChar action, bool enabled, const QString& before, bool encodeBefore, const QString& groups,
                  const QString& chosen)
    {
        const QString after = ui()->OTPOut->fieldText();
        if (after == before)
            return;
        const bool newPad = (action == 'p' && enabled) ||
                            (action == 'c' && enabled && encodeBefore && before.size() < 600 && !groups.isEmpty());
        if (newPad) {
            QVERIFY2(isPadText(after), qPrintable(m_context));
            m_model.made.insert(PadModel::key(after));
            return;
        }
        QVERIFY2(action == 'L' && !chosen.isEmpty(), qPrintable(m_context + " changed the pad field"));
        const std::optional<QString> loaded = padFromFile(test::readBytes(chosen));
        QVERIFY2(loaded.has_value(), qPrintable(m_context + ": a file that holds no pad took the pad's place"));
        QCOMPARE(after, *loaded);
        ++m_seen[QStringLiteral("<pad loaded>")];
    }

    void step(int n)
    {
        static const QString actions = QStringLiteral("kkkpcccLSsTPDdiiiiyx");
        const QChar action = actions.at(pick(int(actions.size())));
        m_context = QStringLiteral("seed %1, step %2, action %3").arg(seed()).arg(n).arg(action);
        const QList<test::Answer> answers = queueAnswers();
        const QString chosen = queueDialogs();
        const bool existedBefore = QFileInfo(chosen).isFile();
        const QByteArray chosenBefore = existedBefore ? test::readBytes(chosen) : QByteArray();

        const QString padBefore = ui()->OTPOut->fieldText();
        const QString groups = ui()->fuenfergruppenOut->fieldText();
        const QString cipherBefore = ui()->OTPCryptOut->fieldText();
        const QString inputBefore = ui()->QuarnIn->text();
        const int limitBefore = ui()->QuarnIn->inputLimit();
        const bool encodeBefore = !decode();
        const bool wouldReuse = m_model.wouldReuse(padBefore, groups);
        const bool needsPartner = m_model.needsPartner(padBefore);
        const bool unkept = m_model.wouldLose(padBefore);
        const std::optional<QString> padInFile =
            action == 'L' && existedBefore ? padFromFile(chosenBefore) : std::optional<QString>();
        const bool losesInFile = m_model.fileHoldsUsedPad(chosen, action == 'S' ? padBefore : QString());
        // A result save opens its dialog only for a result on screen.
        const bool resultShown =
            !(ui()->decodedShown() ? ui()->QuarnDecrypt : ui()->OTPCryptOut)->fieldText().isEmpty();
        const bool usedBefore = !m_model.messages.value(PadModel::key(padBefore)).isEmpty();
        const QString savedPad = padBefore;
        bool enabled = true;
        bool closing = false;
        bool closed = false;

        switch (action.toLatin1()) {
        case 'k':
            ui()->bt_kodieren->click();
            break;
        case 'p':
            enabled = ui()->bt_OTPkey->isEnabled();
            ui()->bt_OTPkey->click();
            break;
        case 'c':
            enabled = ui()->bt_OTPCrypt->isEnabled();
            ui()->bt_OTPCrypt->click();
            break;
        case 'L':
            ui()->bt_OTPLoad->click();
            break;
        case 'S':
            enabled = ui()->bt_OTPSave->isEnabled();
            ui()->bt_OTPSave->click();
            break;
        case 's':
            enabled = ui()->bt_QuarnDecryptSave->isEnabled();
            ui()->bt_QuarnDecryptSave->click();
            break;
        case 'T':
            ui()->bt_QuarnInLoad->click();
            break;
        case 'P':
            (pick(2) ? ui()->bt_OTPPrint : ui()->bt_QuarnDecryptPrint)->click();
            break;
        case 'D':
            ui()->rb_QuarnCode->click();
            break;
        case 'd':
            ui()->rb_QuarnDecod->click();
            break;
        case 'i':
            input();
            break;
        case 'y':
            copy();
            break;
        case 'x':
            // Seldom: a close that goes through starts a new run, window and all.
            closing = pick(4) == 0;
            closed = closing && m_form->close();
            break;
        }
        const auto records = m_fakes.boxes->takeRecords();
        QStringList questions;
        bool error = false;
        for (const auto& record : records) {
            if (record.kind == MessageBoxes::Kind::Confirmation)
                questions << record.text;
            error = error || record.kind == MessageBoxes::Kind::Error;
        }
        for (const auto& record : records)
            ++m_seen[kindOf(record.text)];
        if (closed)
            ++m_seen[QStringLiteral("<new run>")];
        const auto answerTo = [&](const QString& question) {
            const qsizetype i = questions.indexOf(question);
            return i < 0 ? test::Answer::Escape : answers.at(i);
        };

        // Closing asks exactly when a pad made here carries a message that no one kept, and only Ja closes then.
        QCOMPARE(questions.contains(test::CloseQuestion), closing && unkept);
        if (closing)
            QCOMPARE(closed, !unkept || answerTo(test::CloseQuestion) == test::Answer::Yes);
        if (closed) {
            newRun();
            return;
        }

        // The reuse question: exactly when the pad would carry a second message.
        const bool asked = questions.contains(test::ReuseQuestion);
        if (asked)
            QVERIFY2(action == 'c' && encodeBefore && wouldReuse, qPrintable(m_context + " asked needlessly"));
        if (action == 'c' && enabled && encodeBefore && padBefore.size() >= 600 && wouldReuse && !groups.isEmpty()) {
            QVERIFY2(asked, qPrintable(m_context + " used a pad twice without asking"));
            if (answerTo(test::ReuseQuestion) != test::Answer::Yes)
                QCOMPARE(ui()->OTPCryptOut->fieldText(), cipherBefore);
        }
        // Replacing a pad that would be lost asks first, and only Ja lets it go.
        const bool replacing = (action == 'p' && enabled) || (action == 'L' && padInFile);
        const bool replaceDue = replacing && m_model.wouldLose(padBefore, padInFile.value_or(QString()));
        QVERIFY2(questions.contains(PadQuestions::replace()) == replaceDue, qPrintable(m_context));
        if (replaceDue && answerTo(PadQuestions::replace()) != test::Answer::Yes)
            QCOMPARE(ui()->OTPOut->fieldText(), padBefore);
        // Writing over a file that holds a used pad says so.
        const QString name = QFileInfo(chosen).fileName();
        QVERIFY2(questions.contains(PadQuestions::overwriteUsedPad(name)) ==
                     ((action == 'S' || (action == 's' && resultShown)) && enabled && existedBefore && losesInFile),
                 qPrintable(m_context));
        // Nothing to encipher leaves no earlier cipher behind.
        if (action == 'c' && enabled && groups.isEmpty())
            QVERIFY2(ui()->OTPCryptOut->fieldText().isEmpty(), qPrintable(m_context + " left a stale cipher"));

        QVERIFY2(!QTest::currentTestFailed(), qPrintable(m_context));
        checkPad(action, enabled, padBefore, encodeBefore, groups, chosen);
        if (QTest::currentTestFailed())
            return;

        // The model follows what the step did.
        const QString padNow = ui()->OTPOut->fieldText();
        if (action == 'c' && enabled && !groups.isEmpty()) {
            const bool refused = !encodeBefore && needsPartner;
            const bool declined = asked && answerTo(test::ReuseQuestion) != test::Answer::Yes;
            const QString output = ui()->OTPCryptOut->fieldText();
            if (!refused && !declined) {
                if (encodeBefore && !output.isEmpty()) {
                    m_model.messages[PadModel::key(padNow)].insert(PadModel::message(groups));
                    m_model.enciphering.insert(PadModel::key(padNow));
                }
                // A decipher run to its end is a use; a different message on a used pad is told.
                if (!encodeBefore && !error) {
                    QSet<QString>& carried = m_model.messages[PadModel::key(padNow)];
                    const bool second = usedBefore && !carried.contains(PadModel::message(output));
                    const bool told = !records.isEmpty() && records.last().text == PadQuestions::secondMessage();
                    QVERIFY2(told == second, qPrintable(m_context + " told of a second message wrongly"));
                    carried.insert(PadModel::message(output));
                }
                if (padBefore.size() < 600)
                    m_expected[1] = m_expected[2] = true;
                if (!error)
                    m_expected[3] = m_expected[4] = true;
                m_resultOfGroups = m_groupsOf.has_value();
            }
            QVERIFY2(!refused || records.size() == 1, qPrintable(m_context + " deciphered with a fresh pad"));
        }
        if (action == 'L' && padInFile && padNow == *padInFile) {
            m_model.loaded.insert(PadModel::key(padNow));
            m_model.leftProgram.insert(PadModel::key(padNow));
            m_model.files[chosen] = PadModel::key(padNow);
        }
        if (action == 'p' && padNow != padBefore)
            m_expected[1] = m_expected[2] = true;
        // A changed input takes away the groups and the result made of them; Kodieren and a change of
        // direction start afresh.
        const bool directionChanged = (action == 'd' || action == 'D') && encodeBefore != !decode();
        if (action != 'k' && !directionChanged && m_groupsOf && *m_groupsOf != ui()->QuarnIn->text()) {
            m_expected[0] = false;
            if (m_resultOfGroups)
                m_expected[3] = m_expected[4] = false;
            QVERIFY2(ui()->fuenfergruppenOut->fieldText().isEmpty(), qPrintable(m_context + " kept stale groups"));
            m_groupsOf.reset();
            ++m_seen[QStringLiteral("<stale groups>")];
        }
        if (action == 'k') {
            m_expected[0] = !ui()->QuarnIn->text().isEmpty();
            if (ui()->QuarnIn->text().isEmpty())
                m_expected[3] = m_expected[4] = false;
            m_groupsOf = ui()->QuarnIn->text().isEmpty() ? std::nullopt : std::optional(ui()->QuarnIn->text());
            m_resultOfGroups = false;
        }
        if (directionChanged) {
            m_expected[0] = false;
            m_groupsOf.reset();
        }

        // Every "gespeichert" is true: exactly those bytes are on disk; otherwise the old file stays whole.
        if (action == 'S' || action == 's') {
            const bool said = records.size() > 0 && (records.last().text == FileMessages::padSaved() ||
                                                     records.last().text == FileMessages::saved(name));
            if (said) {
                const QByteArray expected =
                    action == 'S'
                        ? QByteArray::fromStdString(toWindows1252(savedPad)) + "\r\n"
                        : QByteArray::fromStdString(toWindows1252(
                              ui()->decodedShown() ? ui()->QuarnDecrypt->fieldText() : ui()->OTPCryptOut->fieldText()));
                QCOMPARE(test::readBytes(chosen), expected);
                // A result is saved only when there is one on screen.
                QVERIFY(action == 'S' || !expected.isEmpty());
                if (action == 'S') {
                    m_model.files[chosen] = PadModel::key(savedPad);
                    m_model.leftProgram.insert(PadModel::key(savedPad));
                } else {
                    m_model.files.remove(chosen);
                }
            } else if (existedBefore) {
                QCOMPARE(test::readBytes(chosen), chosenBefore);
            } else {
                QVERIFY2(!QFileInfo(chosen).isFile(), qPrintable(m_context + " left a file without saying so"));
            }
        }

        // The input keeps its rules: upper case, and the user's input never takes it past the limit.
        const QString in = ui()->QuarnIn->text();
        QCOMPARE(UpperCaseLineEdit::upperCase(in), in);
        const int length = UpperCaseLineEdit::visibleLength(in);
        if (action == 'i' && m_undoing)
            QVERIFY2(length <= std::max(limitBefore, m_inputPeak),
                     qPrintable(m_context +
                                QStringLiteral(": %1 characters, at most %2 before: ").arg(length).arg(m_inputPeak) +
                                shown(in) + QStringLiteral(" from ") + shown(inputBefore)));
        if (action == 'i' && m_entering) {
            QVERIFY2(length <= limitBefore || length <= UpperCaseLineEdit::visibleLength(inputBefore),
                     qPrintable(m_context +
                                QStringLiteral(": %1 characters, %2 before: ")
                                    .arg(length)
                                    .arg(UpperCaseLineEdit::visibleLength(inputBefore)) +
                                shown(in) + QStringLiteral(" from ") + shown(inputBefore)));
        }
        if (action == 'd' || action == 'D')
            QVERIFY2(encodeBefore == !decode() || in.isEmpty(), qPrintable(m_context));
        // Where the program set the text, the undo history starts afresh.
        const bool programSet = (action == 'T' && in != inputBefore) || encodeBefore == decode();
        m_inputPeak = programSet ? length : std::max(m_inputPeak, length);

        QCOMPARE(buttonStates(), m_expected);
        for (QAbstractButton* always :
             {static_cast<QAbstractButton*>(ui()->bt_kodieren), static_cast<QAbstractButton*>(ui()->bt_OTPkey),
              static_cast<QAbstractButton*>(ui()->bt_OTPLoad), static_cast<QAbstractButton*>(ui()->bt_QuarnInLoad)})
            QVERIFY2(always->isEnabled(), qPrintable(m_context));
    }

    // Message texts grouped by what they are about, for the walk's summary.
    static QString kindOf(const QString& text)
    {
        static const QStringList kinds = {test::ReuseQuestion,
                                          test::CloseQuestion,
                                          PadQuestions::replace(),
                                          PadQuestions::secondMessage(),
                                          QStringLiteral("OTP wurde gespeichert!"),
                                          QStringLiteral("Zum Dechiffrieren zuerst das OTP laden!"),
                                          QStringLiteral("Nicht in der Quarn-Tafel")};
        for (const QString& kind : kinds)
            if (text.startsWith(kind))
                return kind;
        for (const char* part : {" wurde gespeichert!", " wurde nicht gespeichert!", " konnte nicht gelesen werden",
                                 " ist kein gültiger Integerwert", " ist kein gültiges OTP",
                                 " enthält das OTP einer Nachricht", " wirklich überschreiben?", " zu groß!"})
            if (text.contains(QString::fromUtf8(part)))
                return QStringLiteral("...") + QString::fromUtf8(part);
        return text;
    }

    static quint32 seed()
    {
        bool ok = false;
        const quint32 fromEnv = qEnvironmentVariable("QUARN_RANDOM_SEED").toUInt(&ok);
        return ok ? fromEnv : 20261208u;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeFiles();
    }

    void cleanupTestCase()
    {
        m_fakes.files->clearNextAnswers();
        m_fakes.printer->clearNextAnswers();
    }

    void aSeededWalkKeepsEveryInvariant()
    {
        m_random.seed(seed());
        bool ok = false;
        int steps = qEnvironmentVariable("QUARN_RANDOM_STEPS").toInt(&ok);
        if (!ok || steps <= 0)
            steps = 3000;
        m_fakes = test::WindowFakes();
        newRun();
        for (int n = 0; n < steps; ++n) {
            step(n);
            if (QTest::currentTestFailed())
                return;
        }
        for (auto it = m_seen.begin(); it != m_seen.end(); ++it)
            qInfo().noquote() << it.value() << "x" << it.key();
        if (steps >= 3000) {
            for (const QString& met :
                 {test::ReuseQuestion, test::CloseQuestion, PadQuestions::replace(), PadQuestions::secondMessage(),
                  QStringLiteral("... enthält das OTP einer Nachricht"), QStringLiteral("OTP wurde gespeichert!"),
                  QStringLiteral("Zum Dechiffrieren zuerst das OTP laden!"), QStringLiteral("Nicht in der Quarn-Tafel"),
                  QStringLiteral("... wurde gespeichert!"), QStringLiteral("<new run>"), QStringLiteral("<pad loaded>"),
                  QStringLiteral("<stale groups>")})
                QVERIFY2(m_seen.value(met) > 0, qPrintable("the walk never met " + met));
        }
    }
};

QTEST_MAIN(TestRandomActions)
#include "tst_randomactions.moc"
