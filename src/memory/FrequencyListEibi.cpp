#include "memory/FrequencyListEibi.h"

#include <algorithm>

namespace lmk {

namespace {

constexpr int kDayMinutes = 24 * 60;

// "HHMM" as minutes; `end` allows 2400.
std::optional<int> clockMinute(QStringView t, bool end) {
    if (t.size() != 4)
        return std::nullopt;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const int h = t.left(2).toInt();
    const int m = t.mid(2).toInt();
    if (m > 59 || h > 24 || (h == 24 && (!end || m != 0)))
        return std::nullopt;
    return h * 60 + m;
}

} // namespace

std::optional<quint8> eibiDays(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return kEveryDay;
    quint8 bits = 0;
    if (std::all_of(t.cbegin(), t.cend(),
                    [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('7'); })) {
        for (QChar c : t)
            bits |= quint8(1u << (c.unicode() - u'1'));
        return bits;
    }
    for (const QString &part : t.split(QLatin1Char(','))) {
        const QStringList ends = part.split(QLatin1Char('-'));
        if (ends.size() > 2)
            return std::nullopt;
        const QString a = ends.first().trimmed();
        const QString b = ends.last().trimmed();
        // Two-letter names only: a bare digit is a list above.
        if (a.size() != 2 || b.size() != 2)
            return std::nullopt;
        const std::optional<int> from = dayFromText(a);
        const std::optional<int> to = dayFromText(b);
        if (!from || !to)
            return std::nullopt;
        for (int d = *from;; d = d % 7 + 1) {
            bits |= quint8(1u << (d - 1));
            if (d == *to)
                break;
        }
    }
    return bits;
}

FrequencyList readEibiSchedule(const QString &text) {
    FrequencyList list;
    list.format = FrequencyListFormat::Eibi;
    QList<int> unread;
    QList<int> oddDays;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("kHz"), Qt::CaseInsensitive))
            continue;
        const QStringList f = line.split(QLatin1Char(';'));
        std::optional<qint64> tenths;
        if (f.size() >= 5)
            tenths = scaledDecimal(f[0], 4);
        const QString time = f.value(1).trimmed();
        std::optional<int> start, end;
        if (time.size() == 9 && time[4] == QLatin1Char('-')) {
            start = clockMinute(QStringView(time).left(4), false);
            end = clockMinute(QStringView(time).mid(5), true);
        }
        if (!tenths || !start || !end) {
            unread << int(i + 1);
            continue;
        }
        FrequencyEntry e;
        e.line = int(i + 1);
        e.tenths = *tenths;
        e.name = f[4].trimmed();
        e.scheduled = true;
        e.startMinute = *start;
        e.endMinute = *end == kDayMinutes && *start == 0 ? kDayMinutes : *end % kDayMinutes;
        e.daysText = f[2].trimmed();
        if (const std::optional<quint8> days = eibiDays(e.daysText)) {
            e.days = *days;
        } else {
            e.days = kEveryDay;
            e.daysUnderstood = false;
            oddDays << e.line;
        }
        const QString remarks = f.value(7).trimmed();
        e.mode = e.name.contains(QLatin1String("DRM")) || remarks.contains(QLatin1String("DRM"))
                     ? QStringLiteral("DRM")
                     : QStringLiteral("AM");
        QStringList details;
        for (int k : {3, 5, 6, 7}) {
            const QString v = f.value(k).trimmed();
            if (!v.isEmpty())
                details << v;
        }
        e.details = details.join(QStringLiteral(", "));
        list.entries << e;
    }
    std::stable_sort(list.entries.begin(), list.entries.end(),
                     [](const FrequencyEntry &a, const FrequencyEntry &b) { return a.tenths < b.tenths; });
    if (!unread.isEmpty())
        list.notes << frequencyListLinesNote(unread, QStringLiteral("not read: not a schedule row "
                                                                    "(kHz;HHMM-HHMM;Days;ITU;"
                                                                    "Station;...)"));
    if (!oddDays.isEmpty())
        list.notes << frequencyListLinesNote(oddDays, QStringLiteral("name no days as Mo-Fr, "
                                                                     "Sa,Su or 1245: taken as "
                                                                     "every day"));
    return list;
}

} // namespace lmk
