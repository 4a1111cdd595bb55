#pragma once

#include <QFont>
#include <QSize>
#include <QString>

namespace quarn {

// A surface that text is laid out on, page by page, in the device units of a printer. Positions are measured
// from the top-left corner of the printable area.
class PageCanvas
{
public:
    virtual ~PageCanvas() = default;

    virtual void setFont(const QFont& font) = 0;
    virtual int textWidth(const QString& text) const = 0;
    virtual int textHeight(const QString& text) const = 0;
    virtual int averageCharWidth() const = 0;
    virtual int charHeight() const = 0;
    // Draws the text with the top of its line at y.
    virtual void drawText(int x, int y, const QString& text) = 0;
    // Ends the page and begins the next one.
    virtual void newPage() = 0;
    // Ends the last page and the job.
    virtual void finish() = 0;
    virtual QSize printableSize() const = 0;
};

} // namespace quarn
