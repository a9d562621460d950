#include "memory/SlotTransferOperation.h"

#include "link/DeviceLink.h"
#include "link/Wait.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"

namespace lmk {

SlotTransferOperation::SlotTransferOperation(MemorySlots &store, QObject *parent)
    : QObject(parent), m_slots(store), m_link(store.link()) {
    connect(&m_slots, &MemorySlots::readFailed, this, [this] { m_readFailed = true; });
}

QByteArray SlotTransferOperation::readRequest() {
    // The receiver names the slot in its reply; only the first byte goes out.
    return QByteArray(1, char(0x10));
}

QByteArray SlotTransferOperation::writeRequest(int slot, const QByteArray &record) {
    QByteArray r;
    r.reserve(4 + kSlotSize);
    r.append(char(0x11)).append(char(slot)).append(char(0)).append(char(0));
    r.append(record.left(kSlotSize));
    if (r.size() < 4 + kSlotSize)
        r.append(4 + kSlotSize - r.size(), char(0));
    return r;
}

QByteArray SlotTransferOperation::clearRequest(int slot) {
    QByteArray r(4 + kSlotSize, char(0));
    r[0] = char(0x11);
    r[1] = char(slot);
    return r;
}

QString SlotTransferOperation::outcomeText(Kind kind, Outcome outcome) {
    switch (outcome) {
    case Outcome::Refused:
        return kind == Kind::Clear ? QStringLiteral("Fehler beim Speichern!")
                                   : QStringLiteral("Error on saving!");
    case Outcome::Timeout:
        return QString::fromLatin1(kTimeoutText);
    default: // done, nothing to do, or already reported
        return {};
    }
}

SlotTransferOperation::Outcome SlotTransferOperation::readAll() {
    return run(Kind::Read);
}
SlotTransferOperation::Outcome SlotTransferOperation::writeAll() {
    return run(Kind::Write);
}
SlotTransferOperation::Outcome SlotTransferOperation::clearAll() {
    return run(Kind::Clear);
}

SlotTransferOperation::Outcome SlotTransferOperation::run(Kind kind) {
    if (!m_link.hasTransport())
        return Outcome::NoTransport;
    if (m_slots.operationRunning)
        return Outcome::Busy;
    m_slots.operationRunning = true;
    m_lastSlot = 0;
    emit started();
    processPendingEvents();

    MemoryImage &image = m_slots.image();
    if (kind == Kind::Read) {
        image.setSize(kSlotImageSize);
        image.setPosition(0);
    }
    Outcome outcome = Outcome::Done;
    for (int s = 1; s <= kSlotCount; ++s) {
        QByteArray request;
        int length = 4 + kSlotSize;
        if (kind == Kind::Read) {
            request = readRequest();
            length = 1;
        } else if (kind == Kind::Write) {
            // Taken from the slot's own place, so a cell stored during an
            // earlier wait does not shift what is sent.
            if (!image.holdsSlot(s)) {
                outcome = Outcome::ImageShort;
                break;
            }
            request = writeRequest(s, image.slotRecord(s));
            image.setPosition(qint64(s) * kSlotSize);
        } else {
            request = clearRequest(s);
        }
        outcome = exchange(request, length);
        if (outcome != Outcome::Done)
            break;
        if (kind != Kind::Read && m_link.PendingRequest != 0) {
            outcome = Outcome::Refused;
            break;
        }
        m_lastSlot = s;
        emit slotDone(s);
        if (kind != Kind::Read)
            processPendingEvents();
    }
    m_slots.operationRunning = false;
    return outcome;
}

SlotTransferOperation::Outcome SlotTransferOperation::exchange(const QByteArray &request,
                                                               int length) {
    m_readFailed = false;
    m_link.PendingRequest = -1;
    m_link.setStatusText({});
    // Set so that the WLAN path reads the reply; the reply timer ends a
    // wait whose reply never comes.
    m_link.AwaitingReply = 1;
    m_link.startReplyTimer(kReplyTimeoutMs);
    m_link.SendToDevice(reinterpret_cast<const quint8 *>(request.constData()), length);
    const auto waiting = [this] {
        return m_link.PendingRequest == -1 && m_link.AwaitingReply && !m_readFailed;
    };
    while (waiting()) {
        if (m_link.UsbConnected == 0 && m_link.wlanChecked() && m_link.tcpConnected())
            m_link.receiveWhileAwaiting(); // a frame that decided nothing came first
        else
            waitWhile(waiting);
    }
    m_link.stopReplyTimer();
    m_link.AwaitingReply = 0;
    if (m_readFailed)
        return Outcome::ReadError;
    if (m_link.PendingRequest == -1)
        return m_link.hasTransport() ? Outcome::Timeout : Outcome::LinkLost;
    return Outcome::Done;
}

} // namespace lmk
