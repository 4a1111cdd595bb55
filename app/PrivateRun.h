#pragma once

namespace quarn {

// Keeps the run to itself: no core file of a process that holds pads, no native dialogs (they record recent
// files), and no settings written on the program's behalf (Qt's file dialog would record where the user
// keeps pads). Called once at start-up,
// after the application object exists and before any dialog.
void makeRunPrivate();

} // namespace quarn
