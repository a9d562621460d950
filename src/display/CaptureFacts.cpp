#include "display/CaptureFacts.h"

namespace lmk {

QString areaText(const AreaValues &a) {
    return QStringLiteral("%1,%2,%3,%4").arg(a.x).arg(a.y).arg(a.w).arg(a.h);
}

QString captureTimeIso(const QDateTime &time) {
    return time.toLocalTime().toOffsetFromUtc(time.toLocalTime().offsetFromUtc()).toString(Qt::ISODate);
}

QList<QPair<QString, QString>> captureTexts(const CaptureFacts &facts) {
    QList<QPair<QString, QString>> texts;
    if (!facts.receiver.isEmpty())
        texts.append({QLatin1String(kSourceKey), facts.receiver});
    if (facts.area)
        texts.append({QLatin1String(kAreaKey), areaText(*facts.area)});
    if (facts.time.isValid())
        texts.append({QLatin1String(kTimeKey), captureTimeIso(facts.time)});
    if (!facts.program.isEmpty())
        texts.append({QLatin1String(kSoftwareKey), facts.program});
    return texts;
}

} // namespace lmk
