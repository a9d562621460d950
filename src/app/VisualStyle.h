#pragma once
// The visual style the program carries with it: a palette and a style sheet
// in the resources, over Qt's Fusion style.
//
//   :/styles/AquaLightSlate.palette   "Window = #e4eaf1", "Disabled:Text = #56626f", ...
//   :/styles/AquaLightSlate.qss       style sheet
//
// The resource names are the style's name without its spaces.

#include <QPalette>
#include <QString>

class QApplication;

namespace lmk {

inline constexpr const char *kVisualStyle = "Aqua Light Slate";

// Reads a palette description: one "Role = #rrggbb" (all colour groups) or
// "Group:Role = #rrggbb" per line, '#' lines are comments. False with the
// reason in `error` on a line it cannot read.
bool parsePalette(const QString &text, QPalette &palette, QString *error);

// Applies the style `name` to the application. On failure nothing changes
// and `error` says why ("Visual style "X" cannot be applied: ...").
bool applyVisualStyle(QApplication &app, const QString &name, QString *error = nullptr);

} // namespace lmk
