#include "RecordingCanvas.h"

namespace quarn {

void RecordingCanvas::newPage()
{
    if (onPageEnd)
        onPageEnd();
    ++m_pages;
}

void RecordingCanvas::finish()
{
    if (onPageEnd)
        onPageEnd();
    m_finished = true;
}

} // namespace quarn
