#pragma once
// The desktop's look instead of the program's own: the desktop's palette
// (dark or high contrast too) and font, and the window's fixed geometry
// grown with the font so that no text is cut.

#include <QFont>
#include <QPalette>

class QApplication;
class QWidget;

namespace lmk {

// The desktop's palette and font over Fusion, without the program's style
// sheet.
void applyDesktopLook(QApplication &app);

// `palette` with its disabled texts made readable: a disabled text that
// reads below 7:1 against its background (buttons draw their faces a shade
// off it) moves from that background towards the enabled text's colour only
// as far as that needs, so it stays fainter than an enabled one. Everything else stays as given.
QPalette readablePalette(const QPalette &palette);
// `text` when it reads at 4.5:1 or better on `back`; else the least mix of
// `text` and `strong` (the palette's own text colour) that does, so a
// coloured text keeps its hue as far as it can.
QColor readableOn(const QColor &text, const QColor &back, const QColor &strong);
// The application's palette made readable; nothing when it already is.
void keepTextsReadable(QApplication &app);

// How much taller a line of `to` is than one of `from`; never below 1.
double fontGrowth(const QFont &from, const QFont &to);

// Scales the position and size of every widget below `content`, and
// `content` itself, by `factor` from the geometry they were built with
// (1 gives that geometry back). Windows of their own are left alone.
void scaleGeometry(QWidget *content, double factor);

} // namespace lmk
