#pragma once
// gqrx bookmarks (bookmarks.csv): tag lines "name; #colour" up to the first
// empty line, then a heading and one row per bookmark. Fields are separated
// by ';' and padded with spaces; a line starting with '#' is a comment.
// Frequency in Hz, bandwidth in Hz, tags separated by ','.
//
// Sample:
//   # Tag name          ;  color
//   Digital             ; #c0c0c0
//
//   # Frequency ; Name                     ; Modulation          ;  Bandwidth; Tags
//        7074000; FT8                      ; USB                 ;       2800; Digital
//
// The row gives the entry 7074000.0 Hz, "FT8", mode "USB", bandwidth 2800.
// Export writes the same layout with the one tag "LMK": Modulation DSB as
// "AM", LSB and USB as they are, CW as "CW-U", SSB as "USB" and Auto as
// "AM" (both noted); frequencies to the whole Hz.

#include "memory/FrequencyList.h"

namespace lmk {

// The entries of a bookmarks file (format Gqrx); rows that are not
// bookmarks are named in the notes.
FrequencyList readGqrxBookmarks(const QString &text);

// The slots that hold something, in slot order, as bookmarks tagged "LMK".
FrequencyExport writeGqrxBookmarks(const QByteArray &image);

} // namespace lmk
