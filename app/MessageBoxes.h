#pragma once

#include <QString>
#include <string>

class QWidget;

namespace quarn {

struct Question;

// The program's message boxes, as the window asks them. What a box says and which button Enter presses are
// decided here; showing it and taking the answer is the seam, which tests fill with a fake of their own.
class MessageBoxes
{
public:
    enum class Kind
    {
        Information,
        Confirmation,
        Error
    };
    enum class Default
    {
        Yes,
        No
    };
    struct Box
    {
        Kind kind;
        QString caption;
        QString text;
        Default defaultButton = Default::Yes; // confirmations only
    };

    virtual ~MessageBoxes() = default;

    // "Information", button "OK".
    void information(QWidget* parent, const QString& text);
    // "Bestätigung", "&Ja" and "&Nein", the default as given; Esc or closing the box count as "&Nein".
    bool confirm(QWidget* parent, const QString& text, Default defaultButton = Default::Yes);
    // The flow's texts (UTF-8) and questions, with the button Enter presses.
    void information(QWidget* parent, const std::string& text);
    bool confirm(QWidget* parent, const Question& question);
    // The error box: caption "QUARN", error icon, OK; a full stop is added as the text needs it.
    void error(QWidget* parent, const QString& text);

    // A full stop after a text whose last character sorts after the full stop.
    static QString withFullStop(const QString& text);

protected:
    // Shows the box; true when a confirmation was answered "&Ja".
    virtual bool show(QWidget* parent, const Box& box) = 0;
};

// The boxes on screen.
class SystemMessageBoxes : public MessageBoxes
{
protected:
    bool show(QWidget* parent, const Box& box) override;
};

} // namespace quarn
