#include "memory/SlotEdits.h"

#include "memory/SlotCsv.h"
#include "memory/SlotRecord.h"

#include <QtEndian>

#include <algorithm>

namespace lmk {

namespace {

char *recordAt(QByteArray &image, int s) {
    return image.data() + qsizetype(s - 1) * kSlotSize;
}

bool validSlots(const QList<int> &chosen) {
    return std::all_of(chosen.begin(), chosen.end(),
                       [](int s) { return s >= 1 && s <= kSlotCount; });
}

} // namespace

QByteArray wholeSlotImage(QByteArray image) {
    if (image.size() < kSlotImageSize)
        image.append(kSlotImageSize - image.size(), char(0));
    return image;
}

QList<QByteArray> copySlots(const QByteArray &image, const QList<int> &chosen) {
    const QByteArray whole = wholeSlotImage(image);
    QList<QByteArray> records;
    for (int s : chosen)
        if (s >= 1 && s <= kSlotCount)
            records << whole.mid(qsizetype(s - 1) * kSlotSize, kSlotSize);
    return records;
}

QByteArray clearSlots(const QByteArray &image, const QList<int> &chosen) {
    QByteArray out = wholeSlotImage(image);
    for (int s : chosen)
        if (s >= 1 && s <= kSlotCount)
            std::fill_n(recordAt(out, s), kSlotSize, char(0));
    return out;
}

QString SlotPaste::message() const {
    if (dropped == 0)
        return {};
    return QStringLiteral("Only %1 of %2 slots pasted: slot 63 is the last.")
        .arg(pasted)
        .arg(pasted + dropped);
}

SlotPaste pasteSlots(const QByteArray &image, int first, const QList<QByteArray> &records) {
    SlotPaste p;
    p.image = wholeSlotImage(image);
    if (first < 1 || first > kSlotCount) {
        p.dropped = int(records.size());
        return p;
    }
    for (const QByteArray &r : records) {
        const int s = first + p.pasted;
        if (s > kSlotCount || r.size() != kSlotSize) {
            ++p.dropped;
            continue;
        }
        std::copy_n(r.constData(), kSlotSize, recordAt(p.image, s));
        ++p.pasted;
    }
    return p;
}

std::optional<QByteArray> moveSlots(const QByteArray &image, const QList<int> &chosen, int step) {
    if (chosen.isEmpty() || (step != -1 && step != 1) || !validSlots(chosen))
        return std::nullopt;
    QList<int> order = chosen;
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    if ((step < 0 && order.first() == 1) || (step > 0 && order.last() == kSlotCount))
        return std::nullopt;
    if (step > 0)
        std::reverse(order.begin(), order.end());
    // Swapping each selected slot with its neighbour, nearest to the
    // direction first, moves every selected slot by one and lets each
    // unselected neighbour fill the gap behind the block it passed.
    QByteArray out = wholeSlotImage(image);
    for (int s : order)
        std::swap_ranges(recordAt(out, s), recordAt(out, s) + kSlotSize, recordAt(out, s + step));
    return out;
}

bool slotIsEmpty(const QByteArray &image, int s) {
    const QByteArray r = image.mid(qsizetype(s - 1) * kSlotSize, kSlotSize);
    return std::all_of(r.begin(), r.end(), [](char c) { return c == 0; });
}

QByteArray insertEmptySlot(const QByteArray &image, int at) {
    QByteArray out = wholeSlotImage(image);
    if (at < 1 || at > kSlotCount)
        return out;
    char *first = recordAt(out, at);
    std::copy_backward(first, recordAt(out, kSlotCount), recordAt(out, kSlotCount) + kSlotSize);
    std::fill_n(first, kSlotSize, char(0));
    return out;
}

QByteArray deleteSlots(const QByteArray &image, const QList<int> &chosen) {
    QByteArray out = wholeSlotImage(image);
    QByteArray kept;
    for (int s = 1; s <= kSlotCount; ++s)
        if (!chosen.contains(s))
            kept.append(recordAt(out, s), kSlotSize);
    kept.append(kSlotImageSize - kept.size(), char(0));
    std::copy_n(kept.constData(), kSlotImageSize, out.data());
    return out;
}

QByteArray sortSlots(const QByteArray &image, const QList<int> &chosen, SlotSortKey key) {
    QByteArray out = wholeSlotImage(image);
    QList<int> places = chosen;
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    if (!validSlots(places))
        return out;
    QList<QByteArray> records = copySlots(out, places);
    const auto name = [](const QByteArray &r) {
        return slotNameText(reinterpret_cast<const quint8 *>(r.constData()));
    };
    const auto frequency = [](const QByteArray &r) {
        return qFromLittleEndian<qint32>(r.constData() + slot::kFrequency);
    };
    std::stable_sort(records.begin(), records.end(), [&](const QByteArray &a, const QByteArray &b) {
        if (key == SlotSortKey::Frequency)
            return frequency(a) < frequency(b);
        // Trailing spaces are the grid's padding, not part of the name.
        const QString x = name(a), y = name(b);
        QStringView xs(x), ys(y);
        while (xs.endsWith(u' ')) xs.chop(1);
        while (ys.endsWith(u' ')) ys.chop(1);
        return xs.compare(ys, Qt::CaseInsensitive) < 0;
    });
    for (qsizetype i = 0; i < places.size(); ++i)
        std::copy_n(records[i].constData(), kSlotSize, recordAt(out, places[i]));
    return out;
}

namespace {

// A number as the grid shows it, in the plain form the CSV reads: the
// locale's grouping and the fill characters go ("00.077.500,0" under
// German settings gives "77500.0", "  -250" gives "-250"). Anything the
// grid never shows is passed on for the CSV rules to refuse.
QString plainNumber(const QString &text, const QLocale &locale, bool decimals) {
    QString t = text.trimmed();
    QString whole = t, fraction;
    bool hasFraction = false;
    if (decimals) {
        const QString point = locale.decimalPoint();
        qsizetype at = t.lastIndexOf(point);
        qsizetype pointSize = point.size();
        // Without the locale's decimal point, a "." that no group of three
        // digits follows is one: "77500.5" as the CSV writes it, never
        // 775005 under German settings.
        if (at < 0 && point != QLatin1String(".")) {
            const qsizetype dot = t.lastIndexOf(QLatin1Char('.'));
            const QString tail = dot < 0 ? QString() : t.mid(dot + 1);
            bool digitsOnly = !tail.isEmpty();
            for (QChar c : tail)
                digitsOnly = digitsOnly && c.isDigit();
            if (digitsOnly && tail.size() != 3) {
                at = dot;
                pointSize = 1;
            }
        }
        if (at >= 0) {
            whole = t.left(at);
            fraction = t.mid(at + pointSize);
            hasFraction = true;
        }
    }
    const QString group = locale.groupSeparator();
    const auto isSeparator = [&](qsizetype i) {
        return whole[i] == u'.' || QStringView(whole).mid(i).startsWith(group);
    };
    // Before the first significant digit the grid writes only fill: zeros,
    // separators and spaces ("00.000.0-1,5").
    const auto onlyFillBefore = [&](qsizetype end) {
        for (qsizetype j = 0; j < end; ++j)
            if (whole[j] != u'0' && !whole[j].isSpace() && !isSeparator(j))
                return false;
        return true;
    };
    // Past the fill a separator stands before a group of three digits.
    const auto groupFollows = [&](qsizetype from) {
        if (from + 3 > whole.size())
            return false;
        for (qsizetype k = from; k < from + 3; ++k)
            if (!whole[k].isDigit())
                return false;
        return from + 3 == whole.size() || !whole[from + 3].isDigit();
    };
    QString digits;
    bool negative = false;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        const QChar c = whole[i];
        if (c == u'-' || c == u'+' || QStringView(whole).mid(i).startsWith(locale.negativeSign())) {
            // A sign inside the digits ("77500-1") or a second one is not
            // a number the grid shows: the rules below refuse it.
            if (negative || !onlyFillBefore(i))
                return text;
            if (c == u'+')
                continue;
            negative = true;
            if (c != u'-')
                i += locale.negativeSign().size() - 1;
        } else if (isSeparator(i)) {
            const qsizetype size = c == u'.' ? 1 : group.size();
            if (!onlyFillBefore(i) && !groupFollows(i + size))
                return text; // "1.5" in a whole-number column is not 15
            i += size - 1;
        } else if (c.isSpace()) {
        } else {
            digits += c;
        }
    }
    if (digits.isEmpty())
        return text;
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits.remove(0, 1);
    QString plain = (negative ? QStringLiteral("-") : QString()) + digits;
    if (hasFraction)
        plain += QLatin1Char('.') + fraction;
    return plain;
}

// "Frequenz \"12,34\": is not a frequency with one decimal"
QString refusal(const QString &heading, const QString &text, const QString &value,
                const QString &why) {
    const QString quoted = QLatin1Char('"') + value + QLatin1Char('"');
    const QString reason = why.startsWith(quoted) ? why.mid(quoted.size()).trimmed() : why;
    return QStringLiteral("%1 \"%2\": %3").arg(heading, text.trimmed(), reason);
}

} // namespace

SlotCellEdit editSlotCell(const QByteArray &record, int column, const QString &text,
                          const SlotNumberFormat &format) {
    SlotCellEdit edit;
    edit.record = record;
    if (record.size() < kSlotSize) {
        edit.error = QStringLiteral("the slot holds no whole record");
        return edit;
    }
    const auto *r = reinterpret_cast<const quint8 *>(record.constData());
    const QString heading = slotGridHeadings().value(column);
    if (text.trimmed().isEmpty() && column != ColName)
        return edit; // an empty cell stores nothing
    switch (column) {
    case ColName: {
        QString shown = slotNameText(r);
        while (shown.endsWith(QLatin1Char(' ')))
            shown.chop(1); // the grid's padding
        if (text.isEmpty() || text == slotNameText(r) || text == shown)
            return edit;
        for (QChar c : text) {
            if (c.unicode() > 0xFF || c.unicode() == 0) {
                edit.error = QStringLiteral("Name \"%1\": the character \"%2\" cannot be stored "
                                            "(Latin-1 characters only)")
                                 .arg(text, c.isSurrogate() ? QStringLiteral("?") : QString(c));
                return edit;
            }
        }
        if (text.size() > slot::kNameLength) {
            edit.error = QStringLiteral("Name \"%1\" is longer than %2 characters")
                             .arg(text)
                             .arg(slot::kNameLength);
            return edit;
        }
        std::copy_n(encodeSlotName(text).constData(), slot::kNameLength,
                    edit.record.data() + slot::kName);
        return edit;
    }
    case ColFrequenz:
    case ColBandbreite:
    case ColVerschiebung: {
        const QString plain = plainNumber(text, format.locale, column == ColFrequenz);
        if (const std::optional<QString> why = applySlotCsvCell(edit.record, column, plain))
            edit.error = refusal(heading, text, plain, *why);
        return edit;
    }
    case ColPlatz:
        edit.error = QStringLiteral("Platz is the slot's number and cannot be changed");
        return edit;
    default:
        // The marked raw value of a byte without a table entry keeps it.
        for (const auto &[c, offset] : {std::pair{int(ColModulation), slot::kModulation},
                                        std::pair{int(ColFilterHp), slot::kFilterHp},
                                        std::pair{int(ColFilterTp), slot::kFilterTp}})
            if (c == column && text.trimmed() == slotUnknownTableText(r[offset]))
                return edit;
        if (const std::optional<QString> why = applySlotCsvCell(edit.record, column, text))
            edit.error = refusal(heading, text, text, *why);
        return edit;
    }
}

} // namespace lmk
