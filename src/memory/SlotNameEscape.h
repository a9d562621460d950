#pragma once
// The one written form of a slot name that may hold any byte the receiver
// stores in it (1 to 255; a zero byte ends the name): control characters
// (00-1F, 7F-9F) are written \xHH, a backslash \\; every other character
// is itself. lmkctl shows names so on a terminal (memory show, diff) and
// CSV export and import use it, so that a name reads back byte for byte.
//
//   bytes 41 1B 5D 30 07 5C 42   ->   A\x1B]0\x07\\B
//
// Reading it back takes a backslash that starts no escape as itself, so a
// CSV written before names were escaped still reads as it was meant.

#include <QString>

#include <optional>

namespace lmk {

// Any text with its control characters (and backslashes) escaped.
QString escapeSlotText(const QString &text);

// The text an escaped form stands for; nullopt when it names a zero byte
// (\x00), which a name cannot hold.
std::optional<QString> unescapeSlotText(const QString &escaped);

} // namespace lmk
