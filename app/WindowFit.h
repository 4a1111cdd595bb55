#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace quarn {

struct WindowFit
{
    QPoint position; // the frame's top-left corner
    QSize clientSize;
    bool scrolls = false; // the content lies in a scroll area of `clientSize`
};

// Where the fixed-size window goes in the available area (the screen less its panels). Where it fits, it keeps
// its size and the wanted position is moved only as far as needed to lie inside the area; where it does not,
// it takes the room there is and its content scrolls. A scroll bar takes room from the other direction.
WindowFit fitWindow(const QRect& available, const QSize& client, const QMargins& frame, const QPoint& wanted,
                    int scrollBarExtent);

} // namespace quarn
