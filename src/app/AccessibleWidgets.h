#pragma once
// What assistive technology (a screen reader over AT-SPI, QAccessible) sees
// of the window beyond Qt's own descriptions:
// - a page without a tab, and everything on it, is invisible and offers no
//   action, so nothing on it can be triggered from outside;
// - a tab bar has its shown tabs as children, no others (and its focus and
//   selection events name the tab by its place among them);
// - the application has the windows shown as children, no hidden ones;
// - the scan picture is a graphic;
// - a combo box is named by its caption (its accessible name, buddy label or
//   group title), its current text is its value;
// - the colour swatch is a button with a press action and its colour as value
//   and description;
// - a label with an accessible name of its own reads its text as description.

class QAccessibleEvent;
class QWidget;

namespace lmk {

// Installs the descriptions once for the application, and
// tellAccessibilityUpdate() as Qt's update handler; later calls do nothing.
void installAccessibleWidgets();

// Hands an accessibility event on (to the handler installed before, or to
// the platform) as the tree above has it: a tab bar's event names the tab
// by its place among the tabs shown, and one of a hidden tab is dropped.
// Qt calls it for every event while assistive technology listens.
void tellAccessibilityUpdate(QAccessibleEvent *event);

// Drops the descriptions made so far for `root` and everything below it, so
// that the next look-up describes each widget where it now stands. Qt
// describes a widget already while it is built (its first text change),
// before its page is placed; a window calls this once it is complete. Also
// names the text field of an editable combo box like the box.
void renewAccessibleDescriptions(QWidget *root);

} // namespace lmk
