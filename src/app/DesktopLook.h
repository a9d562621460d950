#pragma once
// The desktop's look instead of the program's own: the desktop's palette
// (dark or high contrast too) and font, and the window's fixed geometry
// grown with the font so that no text is cut.

#include <QFont>

class QApplication;
class QWidget;

namespace lmk {

// The desktop's palette and font over Fusion, without the program's style
// sheet.
void applyDesktopLook(QApplication &app);

// How much taller a line of `to` is than one of `from`; never below 1.
double fontGrowth(const QFont &from, const QFont &to);

// Scales the position and size of every widget below `content`, and
// `content` itself, by `factor` from the geometry they were built with
// (1 gives that geometry back). Windows of their own are left alone.
void scaleGeometry(QWidget *content, double factor);

} // namespace lmk
