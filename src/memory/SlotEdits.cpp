#include "memory/SlotEdits.h"

#include "memory/SlotRecord.h"

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

} // namespace lmk
