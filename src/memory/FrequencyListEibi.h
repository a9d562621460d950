#pragma once
// The EiBi shortwave broadcast schedule (sked-*.csv), read only: a header
// row, then one row per broadcast, fields separated by ';':
//   kHz;Time(UTC);Days;ITU;Station;Lng;Target;Remarks;P;Start;Stop;
// kHz with an optional decimal; Time "HHMM-HHMM" in UTC, a span that may
// cross midnight ("2200-0200") and "0000-2400" for all day; Days "Mo-Fr",
// "Sa,Su", "Mo-We,Fr", "1245" (day numbers, 1 = Monday) or empty for every
// day. The days name the day a span starts on.
//
// Sample:
//   kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;Remarks:135;P:35;Start:60;Stop:60;
//   6070;0000-2400;;D;Channel 292;E;Eu;Rohrbach;;;
//   9420;1200-1300;Mo-Fr;GRC;ERT Voice of Greece;Gr;Eu;;;;
//
// The second row gives the entry 9420000.0 Hz, "ERT Voice of Greece", on
// air 12:00 to 13:00 UTC Monday to Friday. The schedule has no mode: its
// stations broadcast in AM, so every row is mode "AM", except one that
// names DRM in its station or remarks (mode "DRM", which becomes Auto).
// The rows are sorted by frequency, in the file's order within one.

#include "memory/FrequencyList.h"

namespace lmk {

FrequencyList readEibiSchedule(const QString &text);

// "Mo-Fr", "Sa,Su", "1245", "" as day bits (bit 0 Monday); nothing for a
// text that names no days this way ("irr", "alt", "15Mar").
std::optional<quint8> eibiDays(const QString &text);

} // namespace lmk
