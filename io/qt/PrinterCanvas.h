#pragma once

#include "PageCanvas.h"

#include <QPainter>

class QPrinter;

namespace quarn {

// A canvas on a printer: starting it starts the print job, finish() ends it and hands it to the printer.
class PrinterCanvas : public PageCanvas
{
public:
    explicit PrinterCanvas(QPrinter& printer);
    ~PrinterCanvas() override;

    // False when the printer could not be prepared for the job; nothing may be drawn then.
    bool isActive() const { return m_painter.isActive(); }

    void setFont(const QFont& font) override;
    int textWidth(const QString& text) const override;
    int textHeight(const QString& text) const override;
    int averageCharWidth() const override;
    int charHeight() const override;
    void drawText(int x, int y, const QString& text) override;
    void newPage() override;
    void finish() override;
    QSize printableSize() const override;

    // The font as the printer takes it: in points, so that it prints at the size it has on screen.
    static QFont inPoints(const QFont& font);

private:
    QPrinter& m_printer;
    QPainter m_painter;
};

} // namespace quarn
