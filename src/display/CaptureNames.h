#pragma once
// File names of captures: a pattern with the capture's number and time.
//
//   %d, %3d, %03d   the capture number, as printf writes it (every such form)
//   %T              the capture's local time, YYYYMMDD-HHMMSS
//   %%              a percent sign
// Any other "%" stays as it is.
//
//   "shot-%03d.png", 7              -> "shot-007.png"
//   "two-%d-%d.png", 3              -> "two-3-3.png"
//   "pct-%%d.png", 1                -> "pct-%d.png"
//   "scr-%T.png", 2026-12-11 02:30  -> "scr-20261211-023000.png"
// A series whose pattern has no number form gets "-N" before the extension
// ("plain.bmp", 2 -> "plain-2.bmp"), so its captures never share a name.

#include <QDateTime>
#include <QString>

namespace lmk {

// Whether the pattern holds a number form (%d, %3d, %03d; not %%d).
bool hasNumberForm(const QString &pattern);

// The pattern with its forms filled in for capture `n` at `time`.
QString expandCaptureName(const QString &pattern, int n, const QDateTime &time);

// The name of capture `n` of a series: as expandCaptureName(), with "-N"
// before the extension when the pattern has no number form.
QString seriesCaptureName(const QString &pattern, int n, const QDateTime &time);

// "YYYYMMDD-HHMMSS" in local time.
QString captureTimeText(const QDateTime &time);

} // namespace lmk
