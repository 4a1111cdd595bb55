#include "WindowFit.h"

#include <algorithm>

namespace quarn {

namespace {

// The start that keeps [start, start + length) inside [low, high), or `low` when it cannot.
int within(int wanted, int length, int low, int high)
{
    return std::max(low, std::min(wanted, high - length));
}

} // namespace

WindowFit fitWindow(const QRect& available, const QSize& client, const QMargins& frame, const QPoint& wanted,
                    int scrollBarExtent)
{
    const int roomWidth = available.width() - frame.left() - frame.right();
    const int roomHeight = available.height() - frame.top() - frame.bottom();
    bool vertical = client.height() > roomHeight;
    bool horizontal = client.width() > roomWidth;
    if (vertical && !horizontal)
        horizontal = client.width() + scrollBarExtent > roomWidth;
    if (horizontal && !vertical)
        vertical = client.height() + scrollBarExtent > roomHeight;

    WindowFit fit;
    fit.scrolls = vertical || horizontal;
    fit.clientSize = client;
    if (fit.scrolls)
        fit.clientSize = QSize(std::max(1, std::min(client.width() + (vertical ? scrollBarExtent : 0), roomWidth)),
                               std::max(1, std::min(client.height() + (horizontal ? scrollBarExtent : 0), roomHeight)));
    const int outerWidth = fit.clientSize.width() + frame.left() + frame.right();
    const int outerHeight = fit.clientSize.height() + frame.top() + frame.bottom();
    fit.position = QPoint(within(wanted.x(), outerWidth, available.left(), available.left() + available.width()),
                          within(wanted.y(), outerHeight, available.top(), available.top() + available.height()));
    return fit;
}

} // namespace quarn
