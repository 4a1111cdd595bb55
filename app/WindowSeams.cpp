#include "WindowSeams.h"

#include "ClipboardRule.h"
#include "Clock.h"
#include "FileDialog.h"
#include "MessageBoxes.h"
#include "PrinterDialog.h"
#include "RandomSource.h"

namespace quarn {

WindowSeams::WindowSeams()
    : boxes(std::make_shared<SystemMessageBoxes>()), files(std::make_shared<SystemFileChooser>()),
      printer(std::make_shared<SystemPrinterChooser>()), random(std::make_shared<SystemRandomSource>()),
      clock(std::make_shared<SystemClock>()), secretMilliseconds(ClipboardRule::SecretMilliseconds)
{}

} // namespace quarn
