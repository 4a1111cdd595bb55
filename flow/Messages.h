#pragma once

#include "Failure.h"

#include <string>
#include <string_view>

namespace quarn {

// A question put to the user, with the button Enter presses.
struct Question
{
    std::string text;
    bool defaultYes = true;

    bool operator==(const Question&) const = default;
};

// Every notice and question of a user's step, in German (UTF-8). `name` is the last part of a file's path.
namespace Messages {

// The error box's rule: a full stop after a message whose last character sorts after it.
std::string withFullStop(std::string message);

// What went wrong, for a message that names the file (if any) in front of it.
std::string text(const Failure& failure);

std::string enterText();
// The encoder stopped at its limit.
std::string codeCut();
// A cipher text longer than the pad: the cipher reads what the pad covers.
std::string cipherInputCut();
std::string loadPadFirst();
std::string nothingSaved();
std::string nothingPrinted();
std::string noWorksheetYet();

// Guarding a pad: it is for one message, and the one way to read that message again.
Question reusePad();
Question closeWithPad();
// Before "OTP erzeugen", "OTP Laden" or the cipher's new pad takes the place of a pad that would be lost.
Question replacePad();
Question overwriteUsedPad(std::string_view name);
Question overwrite(std::string_view name);
// Before a save writes over a file with more than one name; `pad`: the file holds a pad, whose old copy would
// stay under the other names.
Question otherNames(std::string_view name, bool pad);
std::string secondMessage();

// Loads and saves.
std::string padSaved();
std::string padNotSaved();
std::string saved(std::string_view name);
std::string notSaved(std::string_view name);
// A save the system refused: never the written notice.
std::string notWritten(std::string_view name, std::string_view reason);
std::string tooLarge(std::string_view name);
std::string notRead(std::string_view name, std::string_view reason);
// A load that a Ctrl-Z ended early; `notice` says how much was taken.
std::string endOfText(std::string_view name, std::string_view notice);
// A pad load whose file holds no pad; `problem` says what is wrong with it.
std::string notAPad(std::string_view name, std::string_view problem);
// What a load says of a file it cannot take: unreadable, or no pad.
std::string notLoaded(std::string_view name, const Failure& failure);
// A pad whose `repeated` (> 0) groups repeat, for a message that names the file in front of it; and what the
// window asks after that before such a pad takes the field ("&Nein" keeps the old one).
std::string repeatedGroups(std::size_t repeated);
Question useRepeatedGroups(std::string_view name, std::size_t repeated);

} // namespace Messages

// The window's menu entries and the names a screen reader gives its fields and pictures.
namespace Captions {

std::string paste();
std::string copy();
std::string printWorksheet();
std::string saveWorksheet();
std::string padField();
std::string cipherField();
std::string decodedField();
std::string card();

} // namespace Captions

} // namespace quarn
