#pragma once

#include <QLineEdit>

namespace quarn {

// The single-line input: letters turn into upper case as Windows-1252 maps them, and the length limit
// binds only what the user types or pastes; text the program sets is never cut.
class UpperCaseLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit UpperCaseLineEdit(QWidget* parent = nullptr);

    void setInputLimit(int limit) { m_limit = limit; }
    int inputLimit() const { return m_limit; }

    // Program-set text: upper case, not cut.
    void setProgramText(const QString& text);
    // The user's paste: inserted at the caret in place of the selection, cut to the room left.
    void pasteLimited();

    static QString upperCase(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

signals:
    // The user asked for a context menu: at the pointer, or at the field's top-left corner from the keyboard.
    void contextMenuWanted(const QPoint& globalPos);

private:
    void insertLimited(const QString& text);
    int room() const;

    int m_limit = 100;
};

} // namespace quarn
