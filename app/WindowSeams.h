#pragma once

#include <memory>

namespace quarn {

class Clock;
class FileChooser;
class MessageBoxes;
class PrinterChooser;
class RandomSource;

// What the window asks of the world around it: the user's answers in boxes and dialogs, today's date and
// chance. Made, each is the system's; tests put fakes of their own in their place.
struct WindowSeams
{
    WindowSeams();

    std::shared_ptr<MessageBoxes> boxes;
    std::shared_ptr<FileChooser> files;
    std::shared_ptr<PrinterChooser> printer;
    std::shared_ptr<RandomSource> random;
    std::shared_ptr<Clock> clock;
};

} // namespace quarn
