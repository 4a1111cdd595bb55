#pragma once

#include <memory>

namespace quarn {

class Clock;
class FileChooser;
class MessageBoxes;
class PrinterChooser;
class RandomSource;

// What the window asks of the world around it: the user's answers in boxes and dialogs, today's date,
// chance and the time a copied secret stays. Made, each is the system's; tests put their own in its place.
struct WindowSeams
{
    WindowSeams();

    std::shared_ptr<MessageBoxes> boxes;
    std::shared_ptr<FileChooser> files;
    std::shared_ptr<PrinterChooser> printer;
    std::shared_ptr<RandomSource> random;
    std::shared_ptr<Clock> clock;
    int secretMilliseconds;
};

} // namespace quarn
