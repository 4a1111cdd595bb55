#pragma once

#include "FileDialog.h"
#include "MessageBoxes.h"
#include "PrinterDialog.h"
#include "WindowSeams.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <memory>
#include <utility>

namespace quarn::test {

// Answers given in the user's place, in the order asked; with none left, `none` answers.
template <typename T> class AnswerQueue
{
public:
    void setNextAnswer(T answer) { m_answers.enqueue(std::move(answer)); }
    void clearNextAnswers() { m_answers.clear(); }
    bool hasNextAnswer() const { return !m_answers.isEmpty(); }

protected:
    T nextAnswer(T none) { return m_answers.isEmpty() ? std::move(none) : m_answers.dequeue(); }

private:
    QQueue<T> m_answers;
};

enum class Answer
{
    Yes,
    No,
    Escape
};

// Boxes recorded instead of shown; a confirmation takes the next answer, Esc when none is left.
class RecordingBoxes final : public MessageBoxes, public AnswerQueue<Answer>
{
public:
    struct Record
    {
        Kind kind;
        QString caption;
        QString text;
        QString defaultButton; // confirmations only
    };

    QList<Record> takeRecords() { return std::exchange(m_records, {}); }

protected:
    bool show(QWidget*, const Box& box) override
    {
        const bool question = box.kind == Kind::Confirmation;
        const QString defaultButton = !question                           ? QString()
                                      : box.defaultButton == Default::Yes ? QStringLiteral("&Ja")
                                                                          : QStringLiteral("&Nein");
        m_records.append({box.kind, box.caption, box.text, defaultButton});
        return question && nextAnswer(Answer::Escape) == Answer::Yes;
    }

private:
    QList<Record> m_records;
};

// The open and save dialogs: the next path, an empty one cancels; cancelled when none is left.
class QueuedFileChooser final : public FileChooser, public AnswerQueue<QString>
{
public:
    QString choose(QWidget*, const FileDialog&) override { return nextAnswer(QString()); }
};

// The print dialog: true confirms; cancelled when no answer is left.
class QueuedPrinterChooser final : public PrinterChooser, public AnswerQueue<bool>
{
public:
    bool confirm(QWidget*, QPrinter&) override { return nextAnswer(false); }
};

// A window's fakes, which a test keeps while windows come and go.
struct WindowFakes
{
    std::shared_ptr<RecordingBoxes> boxes = std::make_shared<RecordingBoxes>();
    std::shared_ptr<QueuedFileChooser> files = std::make_shared<QueuedFileChooser>();
    std::shared_ptr<QueuedPrinterChooser> printer = std::make_shared<QueuedPrinterChooser>();

    // A window's seams with these fakes; the system's chance and day where none is given.
    WindowSeams seams(std::shared_ptr<RandomSource> random = {}, std::shared_ptr<Clock> clock = {}) const
    {
        WindowSeams seams;
        seams.boxes = boxes;
        seams.files = files;
        seams.printer = printer;
        if (random)
            seams.random = std::move(random);
        if (clock)
            seams.clock = std::move(clock);
        return seams;
    }
};

} // namespace quarn::test
