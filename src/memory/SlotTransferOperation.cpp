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

QString SlotTransferOperation::outcomeText(Kind kind, Outcome outcome) const {
    QString text;
    switch (outcome) {
    case Outcome::Refused:
        text = kind == Kind::Clear ? QStringLiteral("Fehler beim Speichern!")
                                   : QStringLiteral("Error on saving!");
        break;
    case Outcome::Timeout:
        text = QString::fromLatin1(kTimeoutText);
        break;
    case Outcome::ReadError:
        text = QStringLiteral("Error on reading!");
        break;
    case Outcome::Unexpected:
        text = QStringLiteral("Unexpected reply from the device (code 0x%1).")
                   .arg(QString::number(m_unexpectedCode, 16).toUpper().rightJustified(2, u'0'));
        break;
    case Outcome::ImageShort:
        return imageShortText(m_slots.image().size());
    case Outcome::Done:
        if (kind == Kind::Read && m_partialRecords)
            return QStringLiteral("The device sent 248 of the 256 bytes of a slot; the last 8 "
                                  "bytes of such slots were not received and keep their "
                                  "previous content.");
        return {};
    default: // nothing to do, or already reported; a lost link still says how far
        return outcome == Outcome::LinkLost && kind != Kind::Read ? stoppedText(kind, m_lastSlot)
                                                                   : QString();
    }
    if (kind == Kind::Read)
        text += QStringLiteral("\nReading stopped at slot %1 of 63; the memory slots were not "
                               "changed.")
                    .arg(m_lastSlot + 1);
    else
        text += QLatin1Char('\n') + stoppedText(kind, m_lastSlot);
    return text;
}

QString SlotTransferOperation::stoppedText(Kind kind, int lastSlot) {
    const bool write = kind == Kind::Write;
    QString done;
    if (lastSlot <= 0)
        done = write ? QStringLiteral("no slot was changed") : QStringLiteral("no slot was cleared");
    else if (lastSlot == 1)
        done = write ? QStringLiteral("slot 1 holds the new data") : QStringLiteral("slot 1 is cleared");
    else
        done = (write ? QStringLiteral("slots 1–%1 hold the new data")
                      : QStringLiteral("slots 1–%1 are cleared"))
                   .arg(lastSlot);
    return QStringLiteral("%1 stopped at slot %2 of 63: %3.")
        .arg(write ? QStringLiteral("Writing") : QStringLiteral("Clearing"))
        .arg(lastSlot + 1)
        .arg(done);
}

QString SlotTransferOperation::imageShortText(qint64 size) {
    return QStringLiteral("The memory image holds %1 of the 63 slots (%2 of %3 bytes); "
                          "nothing was written.")
        .arg(qMin<qint64>(size / kSlotSize, kSlotCount))
        .arg(size)
        .arg(kSlotImageSize);
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
    m_lastSlot = 0;
    m_unexpectedCode = -1;
    m_partialRecords = false;
    // Checked before anything is sent: a part of an image is never written.
    if (kind == Kind::Write && m_slots.image().size() < kSlotImageSize)
        return Outcome::ImageShort;
    m_slots.operationRunning = true;
    emit started();
    processPendingEvents();
    const Outcome outcome = runSlots(kind);
    m_slots.operationRunning = false;
    return outcome;
}

SlotTransferOperation::Outcome SlotTransferOperation::runSlots(Kind kind) {
    MemoryImage &image = m_slots.image();
    // A read fills a copy; a 256-byte reply keeps the copy's last 8 bytes
    // of its record.
    MemoryImage incoming;
    if (kind == Kind::Read) {
        incoming = image;
        incoming.setSize(kSlotImageSize);
        incoming.setPosition(0);
        m_slots.setReadTarget(&incoming);
    }
    QMetaObject::Connection partial;
    if (kind == Kind::Read)
        partial = connect(&m_slots, &MemorySlots::recordStored, this,
                          [this](qint64, const QByteArray &, bool p) { m_partialRecords |= p; });
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
    if (kind == Kind::Read) {
        disconnect(partial);
        m_slots.setReadTarget(nullptr);
        if (outcome == Outcome::Done) {
            incoming.setPosition(kSlotImageSize);
            image = incoming;
            m_slots.announceImageReplaced();
        }
    }
    return outcome;
}

SlotTransferOperation::Outcome SlotTransferOperation::exchange(const QByteArray &request,
                                                               int length) {
    m_readFailed = false;
    m_link.PendingRequest = -1;
    m_link.UnexpectedCode = -1;
    m_link.setStatusText({});
    // Set so that the WLAN path reads the reply; the reply timer ends a
    // wait whose reply never comes.
    m_link.AwaitingReply = 1;
    m_link.startReplyTimer(kReplyTimeoutMs);
    m_link.discardStaleInput();
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
    if (m_link.PendingRequest == -1 && m_link.UnexpectedCode >= 0 &&
        m_link.StatusText != kTimeoutText) {
        m_unexpectedCode = m_link.UnexpectedCode;
        return Outcome::Unexpected;
    }
    if (m_link.PendingRequest == -1)
        return m_link.hasTransport() ? Outcome::Timeout : Outcome::LinkLost;
    return Outcome::Done;
}

} // namespace lmk
