#pragma once

#include "Failure.h"

#include <string>

namespace quarn {
class Worksheet;
}

namespace quarn::cli {

// The worksheet's PDF as the window writes it (WorksheetDocument), dated today and on the paper the locale
// prefers, or why it cannot be set. Qt's GUI is started for this alone, on its offscreen platform unless
// QT_QPA_PLATFORM names another, so that no display is needed and the other commands start no GUI at all.
Result<std::string> worksheetPdf(const Worksheet& sheet);

} // namespace quarn::cli
