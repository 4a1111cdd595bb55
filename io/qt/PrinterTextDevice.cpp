#include "PrinterTextDevice.h"

namespace quarn {

PrinterTextDevice::PrinterTextDevice(PageCanvas& canvas)
    : m_canvas(canvas), m_width(canvas.printableSize().width()), m_height(canvas.printableSize().height())
{}

void PrinterTextDevice::setFont(const QFont& font)
{
    m_canvas.setFont(font);
}

void PrinterTextDevice::write(const QString& text)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\t' && c != u'\n' && c != u'\f' && c != u'\r')
            continue;
        writeText(text.mid(start, i - start));
        start = i + 1;
        if (c == u'\n')
            newLine();
        else if (c == u'\f')
            newPage();
        else if (c == u'\t')
            tab();
    }
    writeText(text.mid(start));
}

void PrinterTextDevice::writeText(QString text)
{
    while (!text.isEmpty()) {
        QString part = text;
        int w = m_canvas.textWidth(part);
        while (m_x + w > m_width && !part.isEmpty()) {
            part.chop(1);
            w = m_canvas.textWidth(part);
        }
        // A page narrower than one character still gets each character, one to a line, instead of never
        // getting rid of the text.
        if (part.isEmpty() && m_x == 0) {
            part = text.left(1);
            w = m_canvas.textWidth(part);
        }
        if (!part.isEmpty()) {
            m_canvas.drawText(m_x, m_y, part);
            const int height = m_canvas.textHeight(part);
            if (height > m_h)
                m_h = height + 2;
            m_x += w;
            text.remove(0, part.size());
        }
        if (!text.isEmpty())
            newLine();
    }
}

void PrinterTextDevice::tab()
{
    // Tab stops every eight average characters.
    const int t = qMax(1, 8 * m_canvas.averageCharWidth());
    m_x = m_x + t - ((m_x + t + 1) % t) + 1;
    if (m_x > m_width)
        newLine();
}

void PrinterTextDevice::newLine()
{
    m_x = 0;
    m_y += m_h > 0 ? m_h : m_canvas.charHeight();
    if (m_y > m_height - 2 * m_h)
        newPage();
    m_h = 0;
}

void PrinterTextDevice::newPage()
{
    m_canvas.newPage();
    m_x = 0;
    m_y = 0;
}

void PrinterTextDevice::close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_canvas.finish();
}

} // namespace quarn
