#include "memory/SlotWriteCheck.h"

#include "memory/SlotBackups.h"
#include "memory/SlotRecord.h"

#include <QStringList>

namespace lmk {

namespace {
// Record bytes a 256-byte slot reply carries.
constexpr int kShortRecordBytes = 248;
} // namespace

QString SlotWriteCheck::text() const {
    if (!error.isEmpty())
        return QStringLiteral("63 slots written; reading them back failed: %1").arg(error);
    if (differing.isEmpty())
        return QStringLiteral("63 slots written and verified");
    QStringList numbers;
    for (int s : differing)
        numbers << QString::number(s);
    return QStringLiteral("63 slots written, but %1 %2 from what was written")
        .arg(differing.size() == 1 ? QStringLiteral("slot") : QStringLiteral("slots"),
             numbers.join(QStringLiteral(", ")) +
                 (differing.size() == 1 ? QStringLiteral(" differs") : QStringLiteral(" differ")));
}

SlotWriteCheck checkWrittenSlots(MemorySlots &store, const QByteArray &written) {
    SlotWriteCheck check;
    // Bytes the receiver does not send back are taken from what was written.
    const ReceiverSlots read = readReceiverSlots(store, written.left(kSlotImageSize));
    if (!read.ok()) {
        check.error = read.error;
        return check;
    }
    check.partial = read.partial;
    const int compared = read.partial ? kShortRecordBytes : kSlotSize;
    for (int s = 1; s <= kSlotCount; ++s) {
        const qsizetype at = qsizetype(s - 1) * kSlotSize;
        if (read.image.mid(at, compared) != written.mid(at, compared))
            check.differing << s;
    }
    return check;
}

QString shortSlotRepliesText() {
    return QStringLiteral(
        "The receiver sends 248 of the 256 bytes of each slot when it is read, so bytes 249 to "
        "256 of the slots were not read from it. A write sends all 256 bytes of every slot: "
        "those 8 bytes of every slot in the receiver then become the ones in the image.");
}

} // namespace lmk
