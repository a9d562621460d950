#include "display/CaptureNames.h"

#include <QFileInfo>

namespace lmk {

namespace {

// One "%" form at `at` (pattern[at] == '%'): its length and what it becomes,
// or length 0 for a "%" that is no form.
struct Form {
    qsizetype length = 0;
    QString text;
};

Form readForm(const QString &pattern, qsizetype at, int n, const QDateTime *time) {
    Form f;
    const qsizetype size = pattern.size();
    if (at + 1 >= size)
        return f;
    const QChar next = pattern.at(at + 1);
    if (next == QLatin1Char('%')) {
        f.length = 2;
        f.text = QStringLiteral("%");
        return f;
    }
    if (next == QLatin1Char('T')) {
        f.length = 2;
        if (time)
            f.text = captureTimeText(*time);
        return f;
    }
    qsizetype i = at + 1;
    const bool zero = pattern.at(i) == QLatin1Char('0');
    if (zero)
        ++i;
    const qsizetype digitsStart = i;
    while (i < size && pattern.at(i).isDigit() && i - digitsStart < 3)
        ++i;
    if (i >= size || pattern.at(i) != QLatin1Char('d'))
        return f;
    const int width = pattern.mid(digitsStart, i - digitsStart).toInt();
    f.length = i + 1 - at;
    f.text = QStringLiteral("%1").arg(n, width, 10, zero ? QLatin1Char('0') : QLatin1Char(' '));
    return f;
}

} // namespace

QString captureTimeText(const QDateTime &time) {
    return time.toLocalTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

bool hasNumberForm(const QString &pattern) {
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i) != QLatin1Char('%'))
            continue;
        const Form f = readForm(pattern, i, 0, nullptr);
        if (f.length > 0 && pattern.at(i + f.length - 1) == QLatin1Char('d'))
            return true;
        if (f.length > 0) // "%%" and "%T" are passed over whole
            i += f.length - 1;
    }
    return false;
}

QString expandCaptureName(const QString &pattern, int n, const QDateTime &time) {
    QString out;
    out.reserve(pattern.size() + 16);
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i) == QLatin1Char('%')) {
            const Form f = readForm(pattern, i, n, &time);
            if (f.length > 0) {
                out += f.text;
                i += f.length - 1;
                continue;
            }
        }
        out += pattern.at(i);
    }
    return out;
}

QString seriesCaptureName(const QString &pattern, int n, const QDateTime &time) {
    const QString name = expandCaptureName(pattern, n, time);
    if (hasNumberForm(pattern))
        return name;
    // "-N" before the extension of the file name (not of a folder).
    const QString suffix = QFileInfo(name).suffix();
    const QString fileName = QFileInfo(name).fileName();
    if (suffix.isEmpty() || suffix.size() + 1 >= fileName.size())
        return name + QLatin1Char('-') + QString::number(n);
    return name.left(name.size() - suffix.size() - 1) + QLatin1Char('-') + QString::number(n) +
           QLatin1Char('.') + suffix;
}

} // namespace lmk
