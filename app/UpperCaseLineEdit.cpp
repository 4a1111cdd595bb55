#include "UpperCaseLineEdit.h"

#include "Windows1252.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>

namespace quarn {

UpperCaseLineEdit::UpperCaseLineEdit(QWidget* parent) : QLineEdit(parent)
{
    // Qt's own limit would also cut program-set text; the limit is enforced on user input below.
    setMaxLength(32767);
    setAcceptDrops(false);
}

QString UpperCaseLineEdit::upperCase(const QString& text)
{
    QString out = text;
    for (QChar& ch : out) {
        if (const auto byte = Windows1252::fromUnicode(ch.unicode()))
            ch = QChar(static_cast<char16_t>(Windows1252::toUnicode(Windows1252::toUpper(*byte))));
    }
    return out;
}

void UpperCaseLineEdit::setProgramText(const QString& text)
{
    setText(upperCase(text));
}

int UpperCaseLineEdit::room() const
{
    return std::max<int>(0, m_limit - int(text().size()) + int(selectedText().size()));
}

void UpperCaseLineEdit::insertLimited(const QString& text)
{
    const QString cut = upperCase(text).left(room());
    if (cut.isEmpty() && !hasSelectedText())
        return;
    insert(cut);
}

void UpperCaseLineEdit::pasteLimited()
{
    if (isReadOnly())
        return;
    const QString clip = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
    if (clip.isEmpty())
        return;
    insertLimited(clip);
}

void UpperCaseLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Paste) {
        pasteLimited();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (printable) {
        insertLimited(typed);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void UpperCaseLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent limited(event->preeditString(), event->attributes());
    limited.setCommitString(upperCase(event->commitString()).left(room()), event->replacementStart(),
                            event->replacementLength());
    QLineEdit::inputMethodEvent(&limited);
}

void UpperCaseLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The X11 middle-button paste goes through the same limit.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        const QString selection = QGuiApplication::clipboard()->text(QClipboard::Selection);
        if (!selection.isEmpty())
            insertLimited(selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void UpperCaseLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // The toolkit's own edit menu never opens; the window decides which menu, if any, this field has.
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(0, 0)) : event->globalPos();
    event->accept();
    emit contextMenuWanted(at);
}

} // namespace quarn
