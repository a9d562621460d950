#include "memory/MemorySlots.h"

#include "link/DeviceLink.h"
#include "link/ReplyDispatcher.h"
#include "link/Dialogs.h"
#include "memory/SlotRecord.h"

#include <cstring>

namespace lmk {

MemorySlots::MemorySlots(DeviceLink &link, QObject *parent) : QObject(parent), m_link(link) {}

MemorySlots::~MemorySlots() = default;

qint64 MemorySlots::storeReplyInto(MemoryImage &image, const quint8 *p, int n,
                                   QByteArray &record, bool *partial) {
    // Never read past the payload: a short reply brings 248 record bytes.
    const bool shortReply = n == kSlotReplyBytesShort;
    if (!p || (n < kSlotReplyBytes && !shortReply))
        return -1;
    const quint32 s = readLe32(p + 4);
    // A number that names no slot has no place: nothing is stored.
    if (s < 1 || s > quint32(kSlotCount)) {
        record.clear();
        if (partial)
            *partial = false;
        return qint64(s);
    }
    image.setPosition(qint64(s - 1) * kSlotSize);
    const int present = shortReply ? kSlotReplyBytesShort - 8 : kSlotSize;
    const qint64 at = image.position();
    record = image.data().mid(at, kSlotSize);
    record.append(kSlotSize - record.size(), char(0)); // an image that ends here
    std::memcpy(record.data(), p + 8, size_t(present));
    image.write(record);
    if (partial)
        *partial = shortReply;
    return qint64(s);
}

void MemorySlots::storeReply(const quint8 *p, int n) {
    QByteArray record;
    bool partial = false;
    MemoryImage &target = replyTarget();
    const qint64 s = storeReplyInto(target, p, n, record, &partial);
    if (s < 0) {
        readError();
        return;
    }
    if (s < 1 || s > kSlotCount)
        return; // the read that asked for it says so
    emit recordStored(s, record, partial);
    if (&target == &m_image)
        emit slotChanged(int(s));
}

void MemorySlots::readError() {
    emit readFailed();
    if (!operationRunning)
        dialogs().information(QStringLiteral("Error on reading!"));
}

void MemorySlots::setImageBytes(const QByteArray &bytes, const QString &what) {
    m_image.clear();
    m_image.write(bytes);
    m_image.setPosition(0);
    emit imageReplaced(what);
}

} // namespace lmk
