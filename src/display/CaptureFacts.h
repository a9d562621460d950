#pragma once
// What a capture of the receiver's screen is: the facts a PNG file carries
// as text chunks and `lmkctl scan --json` prints.
//
//   Source          LMK540 V103            the receiver's version text
//   Area            0,93,520,387           X,Y,W,H on the receiver's screen
//   Creation Time   2026-12-11T02:30:00+01:00   local time, ISO 8601
//   Software        lmkctl 1.4             the program and its version
// "Source", "Creation Time" and "Software" are PNG's own keywords; a fact
// that is not known (no version text yet, no scan yet) is left out.

#include "display/ScanArea.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace lmk {

struct CaptureFacts {
    QString receiver; // version text; "" when not known
    std::optional<AreaValues> area; // nothing: no scan yet
    QDateTime time;   // when the capture started; invalid: not known
    QString program;  // "lmkinterface 1.4", "lmkctl 1.4"
};

inline constexpr const char *kSourceKey = "Source";
inline constexpr const char *kAreaKey = "Area";
inline constexpr const char *kTimeKey = "Creation Time";
inline constexpr const char *kSoftwareKey = "Software";

// "X,Y,W,H"
QString areaText(const AreaValues &area);
// "2026-12-11T02:30:00+01:00" (local time with its offset from UTC)
QString captureTimeIso(const QDateTime &time);
// The text chunks, in the order above; unknown facts are left out.
QList<QPair<QString, QString>> captureTexts(const CaptureFacts &facts);

} // namespace lmk
