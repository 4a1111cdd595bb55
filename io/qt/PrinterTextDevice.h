#pragma once

#include "PageCanvas.h"

#include <QPoint>

namespace quarn {

// A text output channel onto printer pages: text goes on at the current position, is carried over to a new
// line where it would pass the printable width, and lines follow one below the other, pages one after another.
// TAB, LF, FF and CR act as on a typewriter; CR alone does not move.
class PrinterTextDevice
{
public:
    // Opens the device at the top-left corner of the canvas's first page.
    explicit PrinterTextDevice(PageCanvas& canvas);

    void setFont(const QFont& font);
    void write(const QString& text);
    void writeLine(const QString& line) { write(line + QStringLiteral("\r\n")); }
    void close();

    QPoint position() const { return {m_x, m_y}; }

private:
    void writeText(QString text);
    void tab();
    void newLine();
    void newPage();

    PageCanvas& m_canvas;
    int m_width;
    int m_height;
    int m_x = 0;
    int m_y = 0;
    int m_h = 0; // height of the line being written; 0 while it holds no text
    bool m_closed = false;
};

} // namespace quarn
