#include "link/ProgressText.h"

namespace lmk {

namespace {
const char *unitName(ProgressUnit unit) {
    switch (unit) {
    case ProgressUnit::Columns: return "columns";
    case ProgressUnit::Slots: return "slots";
    case ProgressUnit::Frames: return "frames";
    case ProgressUnit::Bytes: break;
    }
    return "B";
}

QString bytesText(double bytes) {
    if (bytes < 1024)
        return QStringLiteral("%1 B").arg(qint64(bytes));
    if (bytes < 1024.0 * 1024)
        return QStringLiteral("%1 KiB").arg(bytes / 1024, 0, 'f', 1);
    return QStringLiteral("%1 MiB").arg(bytes / (1024.0 * 1024), 0, 'f', 1);
}
} // namespace

QString amountText(qint64 amount, ProgressUnit unit) {
    if (unit == ProgressUnit::Bytes)
        return bytesText(double(amount));
    return QStringLiteral("%1 %2").arg(amount).arg(QLatin1String(unitName(unit)));
}

QString rateText(qint64 done, qint64 elapsedMs, ProgressUnit unit) {
    if (elapsedMs <= 0)
        return QStringLiteral("-");
    const double perSecond = double(done) * 1000.0 / double(elapsedMs);
    if (unit == ProgressUnit::Bytes)
        return bytesText(perSecond) + QStringLiteral("/s");
    if (unit == ProgressUnit::Frames)
        return QStringLiteral("%1 frames/s").arg(perSecond, 0, 'f', 1);
    return QStringLiteral("%1 %2/s").arg(qRound64(perSecond)).arg(QLatin1String(unitName(unit)));
}

QString timeLeftText(qint64 done, qint64 total, qint64 elapsedMs) {
    if (done <= 0 || elapsedMs <= 0 || total < done)
        return QStringLiteral("-:--");
    return durationText(((total - done) * elapsedMs / done + 500) / 1000 * 1000);
}

QString durationText(qint64 ms) {
    const qint64 s = qMax<qint64>(0, ms) / 1000;
    const auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    if (s >= 3600)
        return QStringLiteral("%1:%2:%3").arg(s / 3600).arg(two(s / 60 % 60), two(s % 60));
    return QStringLiteral("%1:%2").arg(s / 60).arg(two(s % 60));
}

QString progressLine(qint64 done, qint64 total, qint64 elapsedMs, ProgressUnit unit) {
    const qint64 percent = total > 0 ? qBound(qint64(0), done * 100 / total, qint64(100)) : 0;
    QString amount;
    if (unit == ProgressUnit::Bytes)
        amount = bytesText(double(done)) + QLatin1Char('/') + bytesText(double(total));
    else
        amount = QStringLiteral("%1/%2 %3").arg(done).arg(total).arg(QLatin1String(unitName(unit)));
    return QStringLiteral("%1%  %2  %3  %4 left")
        .arg(percent, 3)
        .arg(amount, rateText(done, elapsedMs, unit), timeLeftText(done, total, elapsedMs));
}

} // namespace lmk
