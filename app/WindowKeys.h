#pragma once

#include <QList>

class QPushButton;
class QRadioButton;

namespace quarn {

// Enter (on the main keys or the keypad) runs a focused button only without Shift, Ctrl or Alt; the toolkit's
// own buttons take it with any of them.
void takeEnterWithoutModifiersOnly(const QList<QPushButton*>& buttons);

// Of a group of radio buttons only the selected one is a tab stop, however it came to be selected (a click,
// the arrow keys, a screen reader, a file given at start); a click still focuses the others.
void tabStopOnSelectedOnly(const QList<QRadioButton*>& group);

} // namespace quarn
