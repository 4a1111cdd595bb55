#include "ResultField.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>

namespace quarn {

ResultField::ResultField(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    // Wrap at blanks only: a group is never split across lines.
    setWordWrapMode(QTextOption::WordWrap);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    document()->setDocumentMargin(2);
}

void ResultField::setFieldText(const QString& text)
{
    m_text = text;
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(shown);
}

QStringList ResultField::displayLines() const
{
    // Laid out afresh at the field's own width, so a hidden field gives the lines it would show.
    QTextDocument doc;
    doc.setDefaultFont(font());
    doc.setDocumentMargin(document()->documentMargin());
    doc.setDefaultTextOption(document()->defaultTextOption());
    doc.setPlainText(toPlainText());
    doc.setTextWidth(contentsRect().width());
    doc.documentLayout(); // lays the blocks out
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const QString text = block.text();
        if (!layout || layout->lineCount() == 0) {
            lines.append(text);
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines.append(text.mid(line.textStart(), line.textLength()));
        }
    }
    if (m_text.isEmpty())
        lines.clear();
    return lines;
}

QString ResultField::selectedText() const
{
    return textCursor().selection().toPlainText();
}

QMimeData* ResultField::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    // The toolkit asks here for the primary selection and for drags; copies go through copyWanted.
    if (!m_secret)
        data->setText(selectedText());
    return data;
}

void ResultField::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        if (textCursor().hasSelection())
            emit copyWanted(selectedText());
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void ResultField::contextMenuEvent(QContextMenuEvent* event)
{
    // The toolkit's own edit menu never opens; the window decides which menu, if any, this field has. The
    // mouse's request comes on the press on some platforms: the release opens it instead.
    event->accept();
    if (event->reason() != QContextMenuEvent::Mouse)
        emit contextMenuWanted(mapToGlobal(QPoint(0, 0)));
}

void ResultField::mouseReleaseEvent(QMouseEvent* event)
{
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton && viewport()->rect().contains(event->position().toPoint()))
        emit contextMenuWanted(event->globalPosition().toPoint());
}

} // namespace quarn
