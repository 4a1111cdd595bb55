#pragma once

class QWidget;

namespace quarn {

struct StartOptions
{
    // For start-up measurements: end the run as soon as the window has been painted once.
    bool quitAfterFirstPaint = false;
};

// Starts the application with its one window and runs until the window is closed.
int runQuarn(int& argc, char** argv, const StartOptions& options = {});

// Ends the event loop after the first paint of `window` (start-up measurements).
void quitAfterFirstPaint(QWidget* window);

} // namespace quarn
