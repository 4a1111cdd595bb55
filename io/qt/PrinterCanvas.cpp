#include "PrinterCanvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>

namespace quarn {

PrinterCanvas::PrinterCanvas(QPrinter& printer) : m_printer(printer)
{
    m_painter.begin(&m_printer);
}

PrinterCanvas::~PrinterCanvas()
{
    if (m_painter.isActive())
        m_painter.end();
}

QFont PrinterCanvas::inPoints(const QFont& font)
{
    if (font.pointSizeF() > 0 || font.pixelSize() <= 0)
        return font;
    // A size in pixels would mean printer dots; take it over at the screen's resolution instead.
    qreal dpi = 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInch();
    QFont points = font;
    points.setPointSizeF(font.pixelSize() * 72.0 / dpi);
    return points;
}

void PrinterCanvas::setFont(const QFont& font)
{
    if (m_painter.isActive())
        m_painter.setFont(inPoints(font));
}

int PrinterCanvas::textWidth(const QString& text) const
{
    return m_painter.fontMetrics().horizontalAdvance(text);
}

int PrinterCanvas::textHeight(const QString& text) const
{
    return text.isEmpty() ? 0 : m_painter.fontMetrics().height();
}

int PrinterCanvas::averageCharWidth() const
{
    return m_painter.fontMetrics().averageCharWidth();
}

int PrinterCanvas::charHeight() const
{
    return m_painter.fontMetrics().height();
}

void PrinterCanvas::drawText(int x, int y, const QString& text)
{
    if (m_painter.isActive())
        m_painter.drawText(QPoint(x, y + m_painter.fontMetrics().ascent()), text);
}

void PrinterCanvas::newPage()
{
    if (m_painter.isActive())
        m_printer.newPage();
}

void PrinterCanvas::finish()
{
    if (m_painter.isActive())
        m_painter.end();
}

QSize PrinterCanvas::printableSize() const
{
    // Without full-page mode the printer's own size is its printable area.
    return {m_printer.width(), m_printer.height()};
}

} // namespace quarn
