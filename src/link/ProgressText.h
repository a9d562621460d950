#pragma once
// Progress texts for long transfers, as file-transfer tools show them: the
// amount done of the total, the rate and the time left.
//
//   progressLine(400, 800, 2000, Columns)
//     -> " 50%  400/800 columns  200 columns/s  0:02 left"
//   progressLine(524288, 1048576, 4000, Bytes)
//     -> " 50%  512.0 KiB/1.0 MiB  128.0 KiB/s  0:04 left"
// Before anything is done, or before a millisecond has passed, the rate is
// "-" and the time left "-:--".

#include <QString>
#include <QtGlobal>

namespace lmk {

enum class ProgressUnit { Bytes, Columns, Slots, Frames };

// "512 B", "12.5 KiB", "1.0 MiB" for bytes; "800 columns" otherwise.
QString amountText(qint64 amount, ProgressUnit unit);
// "200 columns/s", "128.0 KiB/s", "2.5 frames/s"; "-" without a time.
QString rateText(qint64 done, qint64 elapsedMs, ProgressUnit unit);
// "0:07", "12:00", "1:02:03"; "-:--" when it cannot be told yet.
QString timeLeftText(qint64 done, qint64 total, qint64 elapsedMs);
// "0:07", "12:00", "1:02:03" for a time in milliseconds (whole seconds).
QString durationText(qint64 ms);
QString progressLine(qint64 done, qint64 total, qint64 elapsedMs, ProgressUnit unit);

} // namespace lmk
