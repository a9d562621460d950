#pragma once
// A group of radio buttons is one stop of the Tab key, on its selected
// button; the arrow keys move within the group. Only the selected button
// takes the focus by Tab, the others by click or arrow key, and this follows
// the selection whoever changes it.

class QWidget;

namespace lmk {

// For every radio button below `root`.
void installRadioGroupFocus(QWidget *root);

} // namespace lmk
