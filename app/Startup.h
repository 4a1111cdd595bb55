#pragma once

namespace quarn {

// Starts the application with its one window and runs until the window is closed.
int runQuarn(int& argc, char** argv);

} // namespace quarn
