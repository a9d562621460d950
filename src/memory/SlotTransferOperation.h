#pragma once
// Reading, writing and clearing all 63 memory slots of the receiver.
//
// Requests (the link adds nothing):
//   read a slot    10                                 (1 byte; the receiver
//                                                      answers with its next slot)
//   write slot s   11 s 00 00 | 256 record bytes      (260 bytes)
//   clear slot s   11 s | 258 x 00                    (260 bytes)
// Replies: the memory-slot reply 10 .. | s | record (see MemorySlots); a
// write or clear is acknowledged by a word 00 00 00 00, refused by 55 or 5A.
//
// The whole transfer is one Exchange (link/Exchange.h); each slot is one
// request of it with a reply timer of 3000 ms. Records that this read did
// not ask for change nothing.
//
// A read collects the records by the slot number each names, in an image
// of its own (a copy of the window's, 16128 bytes), and makes it the
// window's image only when slots 1 to 63 each came exactly once. Only a
// memory-slot record answers a read request: a status word in its place, a
// slot that came twice or not at all, or a record that names no slot 1-63
// (never stored anywhere) fails the read with Outcome::Incomplete, and the
// window's image stays as it was. A write sends nothing unless the image
// holds all 63 records.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

namespace lmk {

class DeviceLink;
class Exchange;
struct ExchangeResult;
class MemorySlots;

class SlotTransferOperation : public QObject {
    Q_OBJECT
  public:
    enum class Kind { Read, Write, Clear };
    enum class Outcome {
        Done,        // all 63 slots
        NoTransport, // neither USB nor WLAN: nothing happened
        Busy,        // another operation is running (busyWith()): nothing happened
        Refused,     // a write or clear was refused (0x55 / 0x5A)
        Timeout,     // no reply within kReplyTimeoutMs
        ReadError,   // a memory-slot reply without a whole record
        LinkLost,    // the connection failed during the wait (already reported)
        ImageShort,  // write: the image holds fewer than 63 whole records; nothing sent
        Unexpected,  // a reply word with a code no rule knows (unexpectedCode())
        Stopped,     // the window closed or another operation stopped it: no message
        Incomplete,  // read: not every slot 1-63 came exactly once (incompleteText())
    };
    Q_ENUM(Outcome)

    static constexpr int kReplyTimeoutMs = 3000;

    explicit SlotTransferOperation(MemorySlots &store, QObject *parent = nullptr);

    Outcome readAll();
    Outcome writeAll();
    Outcome clearAll();
    Outcome run(Kind kind);
    // One read request, to learn how long the receiver's slot replies are
    // before a write that has no read of its own (no backup): Done with
    // partialRecords() set when it sends 248 of a record's 256 bytes. The
    // record itself is stored nowhere.
    Outcome probeReplyLength();

    // The last slot that was read, written or cleared (0: none).
    int lastSlot() const { return m_lastSlot; }
    // The code of the reply that ended the last run with Outcome::Unexpected.
    int unexpectedCode() const { return m_unexpectedCode; }
    // The last read was whole, but at least one reply reported 256 bytes, so
    // the last 8 bytes of those records were not received.
    bool partialRecords() const { return m_partialRecords; }

    // What was wrong with the last read that ended Incomplete, naming the
    // slots: "slot 5 did not come; slot 4 came twice".
    QString incompleteText() const;
    // Slots whose records did not come / came more than once, numbers that
    // name no slot, and read requests answered by a status word instead
    // of a record (last read).
    QList<int> missingSlots() const { return m_missing; }
    QList<int> repeatedSlots() const { return m_repeated; }
    QList<quint32> foreignNumbers() const { return m_foreign; }
    int statusReplies() const { return m_statusReplies; }

    // The operation that held the link when the last run was refused.
    QString busyWith() const { return m_busyWith; }
    static QString busyText(const QString &running);
    static QString operationName(Kind kind);

    // The message that ends the last run; empty where nothing more is shown.
    QString outcomeText(Kind kind, Outcome outcome) const;
    // How far a write or clear got that ended after `lastSlot`: "Writing
    // stopped at slot 11 of 63: slots 1–10 hold the new data."
    // `acknowledged` false: the slot after lastSlot was sent but its
    // acknowledgement never came, so its state is unknown.
    static QString stoppedText(Kind kind, int lastSlot, bool acknowledged = true);
    // Why an image of `size` bytes is not written.
    static QString imageShortText(qint64 size);

    static QByteArray readRequest();
    static QByteArray writeRequest(int slot, const QByteArray &record);
    static QByteArray clearRequest(int slot);

  signals:
    // The operation passed its connection test and begins.
    void started();
    // Slot `slot` was acknowledged (write, clear) or answered (read).
    void slotDone(int slot);

  private:
    Outcome runSlots(Kind kind, Exchange &exchange);
    Outcome outcomeOf(const ExchangeResult &r, bool readFailed);

    MemorySlots &m_slots;
    DeviceLink &m_link;
    QString m_busyWith;
    bool m_partialRecords = false;
    int m_lastSlot = 0;
    int m_unexpectedCode = -1;
    bool m_lastAnswered = true; // the request after lastSlot got an answer
    QList<int> m_missing;
    QList<int> m_repeated;
    QList<quint32> m_foreign;
    int m_statusReplies = 0;
};

} // namespace lmk
