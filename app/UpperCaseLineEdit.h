#pragma once

#include "Limits.h"

#include <QLineEdit>

namespace quarn {

// The single-line input: letters turn into upper case as Windows-1252 maps them, and the length limit
// binds only what the user types or pastes; text the program sets is never cut. Every way the user's text
// comes in (keys with any modifier, input methods, paste, drag and drop, the accessibility interface) passes the
// same two rules, and the limit counts characters as the user sees them, a letter with its combining accents as one.
class UpperCaseLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit UpperCaseLineEdit(QWidget* parent = nullptr);

    void setInputLimit(int limit) { m_limit = limit; }
    int inputLimit() const { return m_limit; }

    // Program-set text: upper case, not cut. Like every program-set text it cannot be undone.
    void setProgramText(const QString& text);
    // The user's paste: inserted at the caret in place of the selection, cut to the room left.
    void pasteLimited();
    // The whole text replaced as if the user had pasted it over everything: limited, undoable, and a cut
    // is reported.
    void replaceLimited(const QString& text);

    static QString upperCase(const QString& text);
    // Characters as the user sees them (grapheme clusters).
    static int visibleLength(const QString& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

signals:
    // The user asked for a context menu: at the pointer, or at the field's top-left corner from the keyboard.
    void contextMenuWanted(const QPoint& globalPos);
    // A paste, drop or replacement lost characters to the limit: `kept` of the `given` characters went in.
    // (Typing at the limit says nothing.) A drop reports once it is over, so that no box holds up the drag.
    void inputCut(int kept, int given);

private:
    enum class Cut
    {
        Silent,
        Report,
        ReportLater
    };
    void insertLimited(const QString& text, Cut cut = Cut::Silent);
    // The text as it is once the selection is taken out, and where the caret then stands.
    QString withoutSelection(qsizetype& caret) const;
    void applyEdit(const QString& result, qsizetype caret);
    // The longest start of `inserted`, upper-cased, that keeps before + it + after within the limit.
    QString fitting(const QString& before, const QString& inserted, const QString& after) const;
    // A text set from outside the field's own events and edits (a screen reader's or on-screen keyboard's
    // insert or replace, through the accessibility interface) is taken as if the user had typed what it adds.
    void takeOutsideChange(const QString& now);
    void reportCut(int kept, int given, Cut cut);

    int m_limit = int(Limits::PlainText);
    int m_own = 0;   // > 0 while the field itself changes its text
    QString m_taken; // the text as the rules last left it
};

} // namespace quarn
