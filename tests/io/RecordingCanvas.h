#pragma once

#include "PageCanvas.h"

#include <QList>
#include <functional>

namespace quarn {

// A canvas with fixed metrics that records what is drawn where, for testing layouts.
class RecordingCanvas : public PageCanvas
{
public:
    struct Metrics
    {
        int charWidth = 10; // every character, so a text is as wide as its length times this
        int textHeight = 20;
        int averageCharWidth = 10;
        int charHeight = 17;
        QSize printable{800, 1000};
    };
    struct Draw
    {
        int page;
        int x;
        int y;
        QString text;
        bool operator==(const Draw&) const = default;
    };

    RecordingCanvas() = default;
    explicit RecordingCanvas(const Metrics& metrics) : m_metrics(metrics) {}

    void setFont(const QFont& font) override { m_font = font; }
    int textWidth(const QString& text) const override { return int(text.size()) * m_metrics.charWidth; }
    int textHeight(const QString& text) const override { return text.isEmpty() ? 0 : m_metrics.textHeight; }
    int averageCharWidth() const override { return m_metrics.averageCharWidth; }
    int charHeight() const override { return m_metrics.charHeight; }
    void drawText(int x, int y, const QString& text) override { m_draws.append({m_pages, x, y, text}); }
    void newPage() override;
    void finish() override;
    QSize printableSize() const override { return m_metrics.printable; }

    const QList<Draw>& draws() const { return m_draws; }
    int pageCount() const { return m_pages; }
    bool isFinished() const { return m_finished; }
    QFont font() const { return m_font; }

    // Runs whenever a page is ended, as a printer's abort hook would let other events run then.
    std::function<void()> onPageEnd;

private:
    Metrics m_metrics;
    QList<Draw> m_draws;
    QFont m_font;
    int m_pages = 1;
    bool m_finished = false;
};

} // namespace quarn
