#include "sample/SampleLevel.h"

namespace lmk {

namespace {
QString stepped(const QString &level, const char *limit, int step) {
    if (level == QLatin1String(limit))
        return level;
    bool ok = false;
    const int n = level.toInt(&ok);
    return ok ? QString::number(n + step) : level;
}
} // namespace

QString levelDown(const QString &level) {
    return stepped(level, "1", -1);
}
QString levelUp(const QString &level) {
    return stepped(level, "16", +1);
}

} // namespace lmk
