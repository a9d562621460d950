#include "memory/SlotTransferOperation.h"

#include "link/DeviceLink.h"
#include "link/Exchange.h"
#include "link/ReplyDispatcher.h"
#include "link/Wait.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"

#include <array>

namespace lmk {

SlotTransferOperation::SlotTransferOperation(MemorySlots &store, QObject *parent)
    : QObject(parent), m_slots(store), m_link(store.link()) {}

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
    case Outcome::Busy:
        return m_busyWith.isEmpty() ? QString() : busyText(m_busyWith);
    case Outcome::Done:
        if (kind == Kind::Read && m_partialRecords)
            return QStringLiteral("The device sent 248 of the 256 bytes of a slot; the last 8 "
                                  "bytes of such slots were not received and keep their "
                                  "previous content.");
        return {};
    case Outcome::Incomplete:
        return QStringLiteral("Error on reading! %1. The memory slots were not changed.")
            .arg(incompleteText());
    default: // nothing to do, or already reported; a lost link still says how far
        return outcome == Outcome::LinkLost && kind != Kind::Read
                   ? stoppedText(kind, m_lastSlot, m_lastAnswered)
                   : QString();
    }
    if (kind == Kind::Read)
        text += QStringLiteral("\nReading stopped at slot %1 of 63; the memory slots were not "
                               "changed.")
                    .arg(m_lastSlot + 1);
    else
        text += QLatin1Char('\n') + stoppedText(kind, m_lastSlot, m_lastAnswered);
    return text;
}

namespace {
// "5", "5 and 9", "5, 9 and 12"
template <typename T> QString numberList(const QList<T> &numbers, bool hex = false) {
    QStringList texts;
    for (T n : numbers)
        texts << (hex && quint64(n) > 0xFFFF
                      ? QStringLiteral("0x%1").arg(QString::number(quint64(n), 16).toUpper())
                      : QString::number(n));
    if (texts.size() < 2)
        return texts.join(QString());
    const QString last = texts.takeLast();
    return texts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}
} // namespace

QString SlotTransferOperation::incompleteText() const {
    QStringList parts;
    const auto slotList = [](const QList<int> &list) {
        return (list.size() == 1 ? QStringLiteral("slot ") : QStringLiteral("slots ")) +
               numberList(list);
    };
    if (m_statusReplies > 0)
        parts << (m_statusReplies == 1
                      ? QStringLiteral("the device answered 1 read request with a status word "
                                       "instead of a slot")
                      : QStringLiteral("the device answered %1 read requests with a status word "
                                       "instead of a slot")
                            .arg(m_statusReplies));
    if (!m_missing.isEmpty())
        parts << slotList(m_missing) + QStringLiteral(" did not come");
    if (!m_repeated.isEmpty())
        parts << slotList(m_repeated) + QStringLiteral(" came more than once");
    if (!m_foreign.isEmpty())
        parts << QStringLiteral("records for slot number %1 came (there are only slots 1 to 63; "
                                "they were not stored)")
                     .arg(numberList(m_foreign, true));
    QString text = parts.join(QStringLiteral("; "));
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

QString SlotTransferOperation::stoppedText(Kind kind, int lastSlot, bool acknowledged) {
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
    // A request whose acknowledgement was lost may or may not have been
    // carried out.
    if (!acknowledged && lastSlot < kSlotCount)
        done += QStringLiteral("; the state of slot %1 is unknown (its acknowledgement did not "
                               "come)")
                    .arg(lastSlot + 1);
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

QString SlotTransferOperation::busyText(const QString &running) {
    return operationBusyText(running);
}

QString SlotTransferOperation::operationName(Kind kind) {
    switch (kind) {
    case Kind::Read:
        return QStringLiteral("Reading the memory slots");
    case Kind::Write:
        return QStringLiteral("Writing the memory slots");
    case Kind::Clear:
        return QStringLiteral("Clearing the memory slots");
    }
    return {};
}

SlotTransferOperation::Outcome SlotTransferOperation::run(Kind kind) {
    m_busyWith.clear();
    if (!m_link.hasTransport())
        return Outcome::NoTransport;
    if (m_slots.operationRunning)
        return Outcome::Busy;
    m_lastSlot = 0;
    m_unexpectedCode = -1;
    m_partialRecords = false;
    m_lastAnswered = true;
    m_missing.clear();
    m_repeated.clear();
    m_foreign.clear();
    m_statusReplies = 0;
    // Checked before anything is sent: a part of an image is never written.
    if (kind == Kind::Write && m_slots.image().size() < kSlotImageSize)
        return Outcome::ImageShort;
    Exchange exchange(m_link, operationName(kind));
    if (!exchange.claimed()) {
        m_busyWith = exchange.refusedBy();
        return Outcome::Busy;
    }
    m_slots.operationRunning = true;
    emit started();
    processPendingEvents();
    const Outcome outcome = runSlots(kind, exchange);
    m_slots.operationRunning = false;
    return outcome;
}

SlotTransferOperation::Outcome SlotTransferOperation::probeReplyLength() {
    m_busyWith.clear();
    m_partialRecords = false;
    m_lastSlot = 0;
    m_unexpectedCode = -1;
    m_missing.clear();
    m_repeated.clear();
    m_foreign.clear();
    m_statusReplies = 0;
    if (!m_link.hasTransport())
        return Outcome::NoTransport;
    if (m_slots.operationRunning)
        return Outcome::Busy;
    Exchange exchange(m_link, operationName(Kind::Read));
    if (!exchange.claimed()) {
        m_busyWith = exchange.refusedBy();
        return Outcome::Busy;
    }
    bool record = false;
    bool readFailed = false;
    exchange.sink.slotRecord = [&](const quint8 *, int n) {
        record = true;
        m_partialRecords = n == kSlotReplyBytesShort;
    };
    exchange.sink.slotReadError = [&] { readFailed = true; };
    const ExchangeResult r = exchange.request(readRequest(), kReplyTimeoutMs);
    const Outcome outcome = outcomeOf(r, readFailed);
    if (outcome == Outcome::Done && !record) {
        m_statusReplies = 1;
        return Outcome::Incomplete;
    }
    return outcome;
}

SlotTransferOperation::Outcome SlotTransferOperation::runSlots(Kind kind, Exchange &exchange) {
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
    // The records of this read, and nothing else, go into the copy; a write
    // or clear is answered by a status word.
    bool readFailed = false;
    const auto failed = connect(&m_slots, &MemorySlots::readFailed, this, [&] { readFailed = true; });
    const auto partial =
        connect(&m_slots, &MemorySlots::recordStored, this,
                [this](qint64, const QByteArray &, bool p) { m_partialRecords |= p; });
    // The read's records by the slot number each names: a slot counts only
    // once it came exactly once, whatever order the receiver chose.
    std::array<int, kSlotCount + 1> arrivals{};
    int records = 0;
    if (kind == Kind::Read) {
        exchange.sink.slotRecord = [&](const quint8 *p, int n) {
            ++records;
            const quint32 s = readLe32(p + 4);
            if (s >= 1 && s <= quint32(kSlotCount))
                ++arrivals[s];
            else if (!m_foreign.contains(s))
                m_foreign << s;
            m_slots.storeReply(p, n); // stores nothing for a number outside 1-63
        };
        exchange.sink.slotReadError = [this] { m_slots.readError(); };
    }
    Outcome outcome = Outcome::Done;
    for (int s = 1; s <= kSlotCount; ++s) {
        QByteArray request;
        if (kind == Kind::Read) {
            request = readRequest();
        } else if (kind == Kind::Write) {
            // Taken from the slot's own place, so a cell stored during an
            // earlier wait does not shift what is sent.
            request = writeRequest(s, image.slotRecord(s));
            image.setPosition(qint64(s) * kSlotSize);
        } else {
            request = clearRequest(s);
        }
        const int recordsBefore = records;
        const ExchangeResult r = exchange.request(request, kReplyTimeoutMs);
        outcome = outcomeOf(r, readFailed);
        if (outcome != Outcome::Done) {
            // Refused is an answer; a write that timed out, lost its link or
            // was stopped may have been carried out.
            m_lastAnswered = outcome == Outcome::ReadError;
            break;
        }
        // Only a record answers a read request.
        if (kind == Kind::Read && records == recordsBefore)
            ++m_statusReplies;
        if (kind != Kind::Read && r.code != 0) {
            outcome = Outcome::Refused;
            break;
        }
        m_lastSlot = s;
        emit slotDone(s);
        if (kind != Kind::Read)
            processPendingEvents();
    }
    disconnect(failed);
    disconnect(partial);
    if (kind == Kind::Read) {
        m_slots.setReadTarget(nullptr);
        if (outcome == Outcome::Done) {
            for (int s = 1; s <= kSlotCount; ++s) {
                if (arrivals[size_t(s)] == 0)
                    m_missing << s;
                else if (arrivals[size_t(s)] > 1)
                    m_repeated << s;
            }
            if (m_statusReplies || !m_missing.isEmpty() || !m_repeated.isEmpty() ||
                !m_foreign.isEmpty())
                outcome = Outcome::Incomplete;
        }
        if (outcome == Outcome::Done) {
            incoming.setPosition(kSlotImageSize);
            image = incoming;
            m_slots.announceImageReplaced();
        }
    }
    return outcome;
}

SlotTransferOperation::Outcome SlotTransferOperation::outcomeOf(const ExchangeResult &r,
                                                                bool readFailed) {
    if (readFailed)
        return Outcome::ReadError;
    switch (r.end) {
    case ExchangeEnd::Status:
        return Outcome::Done;
    case ExchangeEnd::Unexpected:
        m_unexpectedCode = r.code;
        return Outcome::Unexpected;
    case ExchangeEnd::LinkLost:
    case ExchangeEnd::NoTransport:
        return Outcome::LinkLost;
    case ExchangeEnd::Aborted:
    case ExchangeEnd::ShuttingDown:
        return Outcome::Stopped;
    case ExchangeEnd::Busy:
        return Outcome::Busy;
    case ExchangeEnd::Timeout:
    case ExchangeEnd::Finished:
        break;
    }
    return Outcome::Timeout;
}

} // namespace lmk
