#include "memory/SlotDiff.h"

#include "memory/SlotRecord.h"

#include <QStringList>

namespace lmk {

namespace {

QByteArray recordOf(const QByteArray &image, int s) {
    if (qint64(s) * kSlotSize > image.size())
        return {};
    return image.mid(qsizetype(s - 1) * kSlotSize, kSlotSize);
}

QString shown(const QString &text, int column) {
    // A name may hold spaces at either end: quoted, so that they show.
    if (column == ColName)
        return QLatin1Char('"') + text + QLatin1Char('"');
    return text.trimmed();
}

} // namespace

SlotImageDiff diffSlotImages(const QByteArray &first, const QByteArray &second,
                             const SlotNumberFormat &format) {
    SlotImageDiff diff;
    for (int s = 1; s <= kSlotCount; ++s) {
        const QByteArray a = recordOf(first, s);
        const QByteArray b = recordOf(second, s);
        if (a == b)
            continue;
        SlotDifference d;
        d.slot = s;
        d.onlyInFirst = b.isEmpty();
        d.onlyInSecond = a.isEmpty();
        if (!a.isEmpty() && !b.isEmpty()) {
            const SlotRowTexts ta = slotRowTexts(a, format);
            const SlotRowTexts tb = slotRowTexts(b, format);
            for (int c = ColName; c < SlotColumnCount; ++c) {
                // A value without a table entry shows nothing.
                const QString x = ta[size_t(c)].value_or(QString());
                const QString y = tb[size_t(c)].value_or(QString());
                if (x != y)
                    d.fields << SlotFieldChange{c, x, y};
            }
        }
        diff.differing << d;
    }
    diff.trailingBytesDiffer = first.mid(kSlotImageSize) != second.mid(kSlotImageSize);
    return diff;
}

QString slotDifferenceText(const SlotDifference &d, const QString &firstName,
                           const QString &secondName) {
    const QString head = QStringLiteral("Slot %1: ").arg(d.slot);
    if (d.onlyInFirst)
        return head + QStringLiteral("only in %1").arg(firstName);
    if (d.onlyInSecond)
        return head + QStringLiteral("only in %1").arg(secondName);
    if (d.fields.isEmpty())
        return head + QStringLiteral("opaque bytes");
    const QStringList headings = slotGridHeadings();
    QStringList parts;
    for (const SlotFieldChange &f : d.fields)
        parts << QStringLiteral("%1 %2 -> %3")
                     .arg(headings[f.column], shown(f.before, f.column), shown(f.after, f.column));
    return head + parts.join(QStringLiteral("; "));
}

} // namespace lmk
