#include "memory/MemorySlots.h"

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "memory/SlotRecord.h"

namespace lmk {

MemorySlots::MemorySlots(DeviceLink &link, QObject *parent)
    : QObject(parent), m_link(link), m_previousRecord(link.handlers.slotRecord),
      m_previousReadError(link.handlers.slotReadError) {
    m_link.handlers.slotRecord = [this](const quint8 *p, int n) { storeReply(p, n); };
    m_link.handlers.slotReadError = [this] { readError(); };
}

MemorySlots::~MemorySlots() {
    m_link.handlers.slotRecord = m_previousRecord;
    m_link.handlers.slotReadError = m_previousReadError;
}

qint64 MemorySlots::storeReplyInto(MemoryImage &image, const quint8 *p, int n,
                                   QByteArray &record) {
    if (!p || n < kSlotReplyBytes) // never read past the payload
        return -1;
    const quint32 s = readLe32(p + 4);
    record = QByteArray(reinterpret_cast<const char *>(p + 8), kSlotSize);
    if (s >= 1 && s <= quint32(kSlotCount))
        image.setPosition(qint64(s - 1) * kSlotSize);
    image.write(record);
    return qint64(s);
}

void MemorySlots::storeReply(const quint8 *p, int n) {
    QByteArray record;
    const qint64 s = storeReplyInto(m_image, p, n, record);
    if (s < 0) {
        readError();
        return;
    }
    emit recordStored(s, record);
}

void MemorySlots::readError() {
    emit readFailed();
    dialogs().information(QStringLiteral("Error on reading!"));
}

QString MemorySlots::storeName(int row, const QString &text) {
    if (row < 1 || text.isEmpty())
        return {};
    const QByteArray padded = encodeSlotName(text);
    m_image.setPosition(qint64(row - 1) * kSlotSize + slot::kName);
    m_image.write(padded.constData(), slot::kNameLength);
    return QString::fromLatin1(padded);
}

bool MemorySlots::storeVersion(int row, const QString &text) {
    const std::optional<quint8> byte = encodeSlotVersion(text);
    if (row < 1 || !byte)
        return false;
    m_image.setPosition(qint64(row - 1) * kSlotSize + slot::kVersion);
    const char b = char(*byte);
    m_image.write(&b, 1);
    return true;
}

} // namespace lmk
