#include "UpperCaseLineEdit.h"

#include "Windows1252.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBoundaryFinder>

namespace quarn {

namespace {

// Where the grapheme clusters of `text` end, in order.
QList<qsizetype> clusterEnds(const QString& text)
{
    QList<qsizetype> ends;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary())
        ends.append(at);
    return ends;
}

// A key that the field's own key handling takes as a command (copy, undo, movement, ...), not as text.
bool isEditingCommand(QKeyEvent* event)
{
    for (int key = QKeySequence::HelpContents; key <= QKeySequence::Cancel; ++key)
        if (event->matches(QKeySequence::StandardKey(key)))
            return true;
    return false;
}

// The toolkit's rule for a key that inserts its text: Ctrl alone (or with Shift) is a shortcut, while Ctrl+Alt
// is AltGr on Windows and Alt or Super alone still deliver a character.
bool insertsText(QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const QChar c = text.at(0);
    if (c.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier || mods == (Qt::ShiftModifier | Qt::ControlModifier))
        return false;
    return c.isPrint() || c.category() == QChar::Other_PrivateUse ||
           (c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

} // namespace

UpperCaseLineEdit::UpperCaseLineEdit(QWidget* parent) : QLineEdit(parent)
{
    // Qt's own limit would also cut program-set text, and counts UTF-16 units; the limit is enforced below.
    setMaxLength(32767);
    setAcceptDrops(true);
    connect(this, &QLineEdit::textChanged, this, &UpperCaseLineEdit::takeOutsideChange);
}

bool UpperCaseLineEdit::event(QEvent* event)
{
    // The field's own handling of keys, the mouse and undo keeps the rules, or restores a text that kept them.
    ++m_own;
    const bool handled = QLineEdit::event(event);
    --m_own;
    return handled;
}

void UpperCaseLineEdit::takeOutsideChange(const QString& now)
{
    if (m_own > 0) {
        m_taken = now;
        return;
    }
    // What the change put in: the stretch between the start and the end it left as they were.
    const QString was = m_taken;
    qsizetype head = 0;
    while (head < was.size() && head < now.size() && was.at(head) == now.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < was.size() - head && tail < now.size() - head &&
           was.at(was.size() - 1 - tail) == now.at(now.size() - 1 - tail))
        ++tail;
    const QString inserted = now.mid(head, now.size() - head - tail);
    const QString kept = fitting(now.left(head), inserted, now.right(tail));
    m_taken = now.left(head) + kept + now.right(tail);
    if (m_taken != now) {
        ++m_own;
        setText(m_taken);
        setCursorPosition(int(head + kept.size()));
        --m_own;
    }
    // Told after the call that set it has returned: a screen reader waits for its answer.
    reportCut(visibleLength(kept), visibleLength(upperCase(inserted)), Cut::ReportLater);
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

int UpperCaseLineEdit::visibleLength(const QString& text)
{
    return int(clusterEnds(text).size());
}

void UpperCaseLineEdit::setProgramText(const QString& text)
{
    // setText also forgets the undo history: a text the program replaced or emptied cannot come back.
    ++m_own;
    setText(upperCase(text));
    --m_own;
}

QString UpperCaseLineEdit::fitting(const QString& before, const QString& inserted, const QString& after) const
{
    const QString upper = upperCase(inserted);
    const QList<qsizetype> ends = clusterEnds(upper);
    const auto fits = [&](qsizetype clusters) {
        const QString part = upper.left(clusters == 0 ? 0 : ends.at(clusters - 1));
        return visibleLength(before + part + after) <= m_limit;
    };
    // A cluster may merge with its neighbours, so start from the plain count and step to the exact one.
    qsizetype n = std::clamp<qsizetype>(m_limit - visibleLength(before + after), 0, ends.size());
    while (n < ends.size() && fits(n + 1))
        ++n;
    while (n > 0 && !fits(n))
        --n;
    return upper.left(n == 0 ? 0 : ends.at(n - 1));
}

QString UpperCaseLineEdit::withoutSelection(qsizetype& caret) const
{
    QString all = text();
    caret = cursorPosition();
    if (hasSelectedText()) {
        // The field's rule; the caret need not lie at either end of the selection.
        const qsizetype start = selectionStart();
        const qsizetype end = start + selectedText().size();
        if (caret > start)
            caret -= std::min(caret, end) - start;
        all.remove(start, end - start);
    }
    return all;
}

void UpperCaseLineEdit::insertLimited(const QString& text, Cut report)
{
    if (isReadOnly())
        return;
    qsizetype caret = 0;
    const QString rest = withoutSelection(caret);
    const QString cut = fitting(rest.left(caret), text, rest.mid(caret));
    // Nothing fits: the selection stays too, or taking out a joiner could leave more characters than before.
    if (!cut.isEmpty())
        applyEdit(rest.left(caret) + cut + rest.mid(caret), caret + cut.size());
    // Told once the field shows what it kept.
    if (report != Cut::Silent)
        reportCut(visibleLength(cut), visibleLength(upperCase(text)), report);
}

void UpperCaseLineEdit::reportCut(int kept, int given, Cut cut)
{
    if (kept >= given)
        return;
    if (cut == Cut::Report)
        emit inputCut(kept, given);
    else
        QMetaObject::invokeMethod(
            this, [this, kept, given] { emit inputCut(kept, given); }, Qt::QueuedConnection);
}

void UpperCaseLineEdit::applyEdit(const QString& result, qsizetype caret)
{
    // One undoable step that leaves exactly the checked text: the field's own insert would first apply its
    // own idea of the selection, which after some input-method events is not the one shown.
    ++m_own;
    if (result != text()) {
        selectAll();
        insert(result);
    }
    setCursorPosition(int(caret));
    --m_own;
}

void UpperCaseLineEdit::pasteLimited()
{
    if (isReadOnly())
        return;
    const QString clip = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
    if (clip.isEmpty())
        return;
    insertLimited(clip, Cut::Report);
}

void UpperCaseLineEdit::replaceLimited(const QString& text)
{
    selectAll();
    insertLimited(text, Cut::Report);
}

void UpperCaseLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Paste) {
        pasteLimited();
        event->accept();
        return;
    }
    if (!isEditingCommand(event) && insertsText(event)) {
        insertLimited(event->text());
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void UpperCaseLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->commitString().isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // The commit takes the place of the selection and of the stretch it replaces around the caret, within the
    // same rules as typing; the field itself then only shows the new pre-edit text.
    qsizetype caret = 0;
    const QString rest = withoutSelection(caret);
    const qsizetype from = std::clamp<qsizetype>(caret + event->replacementStart(), 0, rest.size());
    const qsizetype to = std::clamp<qsizetype>(from + std::max(0, event->replacementLength()), from, rest.size());
    const QString cut = fitting(rest.left(from), event->commitString(), rest.mid(to));
    applyEdit(rest.left(from) + cut + rest.mid(to), from + cut.size());
    QInputMethodEvent preedit(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&preedit);
}

void UpperCaseLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The context menu opens when the right button is released, on every platform.
    if (event->button() == Qt::RightButton && rect().contains(event->position().toPoint())) {
        event->accept();
        emit contextMenuWanted(event->globalPosition().toPoint());
        return;
    }
    // The X11 middle-button paste goes through the same limit.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        const QString selection = QGuiApplication::clipboard()->text(QClipboard::Selection);
        if (!selection.isEmpty())
            insertLimited(selection, Cut::Report);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void UpperCaseLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // The toolkit's own edit menu never opens; the window decides which menu, if any, this field has. The
    // mouse's request comes on the press on some platforms: the release opens it instead.
    event->accept();
    if (event->reason() != QContextMenuEvent::Mouse)
        emit contextMenuWanted(mapToGlobal(QPoint(0, 0)));
}

void UpperCaseLineEdit::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void UpperCaseLineEdit::dragMoveEvent(QDragMoveEvent* event)
{
    if (!isReadOnly() && event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

void UpperCaseLineEdit::dropEvent(QDropEvent* event)
{
    // A drop is a paste at the place it lands; the dragged text is copied, never taken from elsewhere.
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    insertLimited(event->mimeData()->text(), Cut::ReportLater);
    event->setDropAction(Qt::CopyAction);
    event->accept();
    setFocus(Qt::MouseFocusReason);
}

} // namespace quarn
