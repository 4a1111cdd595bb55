#pragma once

#include "Failure.h"

#include <QFont>
#include <QStringList>
#include <functional>
#include <memory>

class QPrinter;

namespace quarn {

class PageCanvas;

// Writes the display lines of a field onto the canvas in the font, one below the other, and ends the job.
// Every line is printed, and never fewer than ten: a shorter list is filled up with empty lines.
void printDisplayLines(PageCanvas& canvas, const QFont& font, const QStringList& lines);

// Printing from the window: the printer in use, which the dialog opens on and which stays chosen for the next
// print, and the failures as messages. Widgets are the window's business, so it passes its print dialog in.
class PrintSession
{
public:
    // Shows the print dialog on the printer; true when the user confirmed it.
    using Dialog = std::function<bool(QPrinter& printer)>;

    PrintSession();
    ~PrintSession();
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;

    // Draws a whole job on the printer chosen: begins and ends it itself; false when the printer could not be
    // prepared for it.
    using Job = std::function<bool(QPrinter& printer)>;

    // Shows the dialog and prints the lines as printDisplayLines() does: true when they were printed, false when
    // the dialog was cancelled (no failure). Fails when no printer can take them.
    Result<bool> print(const QStringList& lines, const QFont& font, const Dialog& dialog);
    // The same for a job of its own, with the same failures.
    Result<bool> print(const Job& job, const Dialog& dialog);

private:
    bool confirm(const Dialog& dialog);

    std::unique_ptr<QPrinter> m_printer;
};

} // namespace quarn
