#pragma once

#include <QList>
#include <QString>
#include <string>

class QWidget;

namespace quarn {

struct Question;

// The program's message boxes. Tests switch on test mode: boxes are then recorded instead of shown, and
// confirmations take their answers from a queue.
class MessageBoxes
{
public:
    enum class Kind
    {
        Information,
        Confirmation,
        Error
    };
    enum class Answer
    {
        Yes,
        No,
        Escape
    };
    enum class Default
    {
        Yes,
        No
    };
    struct Record
    {
        Kind kind;
        QString caption;
        QString text;
        QString defaultButton; // confirmations only
    };

    // "Information", button "OK".
    static void information(QWidget* parent, const QString& text);
    // "Bestätigung", "&Ja" and "&Nein", the default as given; Esc or closing the box count as "&Nein".
    static bool confirm(QWidget* parent, const QString& text, Default defaultButton = Default::Yes);
    // The flow's texts (UTF-8) and questions, with the button Enter presses.
    static void information(QWidget* parent, const std::string& text);
    static bool confirm(QWidget* parent, const Question& question);
    // The error box: caption "QUARN", error icon, OK; a full stop is added as the text needs it.
    static void error(QWidget* parent, const QString& text);

    // A full stop after a text whose last character sorts after the full stop.
    static QString withFullStop(const QString& text);

    static void setTestMode(bool on);
    static void setNextAnswer(Answer answer);
    static QList<Record> takeRecords();
};

} // namespace quarn
