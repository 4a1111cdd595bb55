#pragma once

#include "WindowSeams.h"

#include <functional>

class QWidget;

namespace quarn {

struct StartOptions
{
    // For start-up measurements and tests: end the run as soon as the window's first frame has been painted,
    // after handing the window to `firstFrame`, if set.
    bool quitAfterFirstPaint = false;
    std::function<void(QWidget& window)> firstFrame;
    // For tests of the single window: called once this start takes what later starts hand over, and after
    // each batch of files the window has opened.
    std::function<void()> serving;
    std::function<void(QWidget& window)> filesOpened;
    // What the window asks the user through; the system's unless a test gives its own.
    WindowSeams seams;
};

// Starts the application with its one window and runs until the window is closed.
int runQuarn(int& argc, char** argv, const StartOptions& options = {});

// Ends the event loop once `window` has painted its first frame, after handing it to `firstFrame`, if set.
void quitAfterFirstPaint(QWidget* window, std::function<void(QWidget& window)> firstFrame = {});

} // namespace quarn
