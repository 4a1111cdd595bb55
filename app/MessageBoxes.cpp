#include "MessageBoxes.h"

#include "Messages.h"

#include <QMessageBox>
#include <QPushButton>
#include <QQueue>

namespace quarn {

namespace {

struct TestState
{
    bool on = false;
    QQueue<MessageBoxes::Answer> answers;
    QList<MessageBoxes::Record> records;
};

TestState& testState()
{
    static TestState state;
    return state;
}

void showPlain(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

void MessageBoxes::information(QWidget* parent, const QString& text)
{
    if (testState().on) {
        testState().records.append({Kind::Information, QStringLiteral("Information"), text, {}});
        return;
    }
    showPlain(parent, QMessageBox::Information, QStringLiteral("Information"), text);
}

bool MessageBoxes::confirm(QWidget* parent, const QString& text, Default defaultButton)
{
    const QString caption = QStringLiteral("Bestätigung");
    if (testState().on) {
        testState().records.append({Kind::Confirmation, caption, text,
                                    defaultButton == Default::Yes ? QStringLiteral("&Ja") : QStringLiteral("&Nein")});
        const Answer answer = testState().answers.isEmpty() ? Answer::Escape : testState().answers.dequeue();
        return answer == Answer::Yes;
    }
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(defaultButton == Default::Yes ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void MessageBoxes::error(QWidget* parent, const QString& text)
{
    const QString message = withFullStop(text);
    if (testState().on) {
        testState().records.append({Kind::Error, QStringLiteral("QUARN"), message, {}});
        return;
    }
    showPlain(parent, QMessageBox::Critical, QStringLiteral("QUARN"), message);
}

void MessageBoxes::information(QWidget* parent, const std::string& text)
{
    information(parent, QString::fromStdString(text));
}

bool MessageBoxes::confirm(QWidget* parent, const Question& question)
{
    return confirm(parent, QString::fromStdString(question.text), question.defaultYes ? Default::Yes : Default::No);
}

QString MessageBoxes::withFullStop(const QString& text)
{
    return QString::fromStdString(Messages::withFullStop(text.toStdString()));
}

void MessageBoxes::setTestMode(bool on)
{
    testState() = TestState{};
    testState().on = on;
}

void MessageBoxes::setNextAnswer(Answer answer)
{
    testState().answers.enqueue(answer);
}

QList<MessageBoxes::Record> MessageBoxes::takeRecords()
{
    return std::exchange(testState().records, {});
}

} // namespace quarn
