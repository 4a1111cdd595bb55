#pragma once

#include <QTextEdit>

namespace quarn {

// A read-only output field. It keeps the exact text it was given (CR LF included) and shows it wrapped
// at blanks, without scroll bars; its display lines can be read one by one, as printing needs them.
class ResultField : public QTextEdit
{
    Q_OBJECT

public:
    explicit ResultField(QWidget* parent = nullptr);

    void setFieldText(const QString& text);
    QString fieldText() const { return m_text; }
    void clearField() { setFieldText(QString()); }

    // The lines as displayed after wrapping, without their line breaks.
    QStringList displayLines() const;
    QString selectedText() const;

    // A field holding a secret (the pad, a decoded text) publishes no selection: selecting it puts nothing into
    // the primary selection, and a drag carries nothing.
    void setSecret(bool secret) { m_secret = secret; }

signals:
    // The user asked for a context menu: at the pointer, or at the field's top-left corner from the keyboard.
    void contextMenuWanted(const QPoint& globalPos);
    // The copy keys (Ctrl+C, Ctrl+Insert): the window puts the selection on the clipboard, as its own copy does.
    void copyWanted(const QString& selectedText);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Copies and drags carry plain text only, no HTML, Markdown or ODF.
    QMimeData* createMimeDataFromSelection() const override;

private:
    QString m_text;
    bool m_secret = false;
};

} // namespace quarn
