#pragma once
// The window's copy of the 63 memory slots: MemoryImage and the handler of
// the receiver's memory-slot reply.
//
// Memory-slot reply (payload, from its 0x10 word on):
//   10 xx xx xx | s s s s | 256-byte SlotRecord        (264 bytes or more)
//   10 xx xx xx | s s s s | first 248 record bytes     (exactly 256 bytes)
// The record is stored at slot s's place ((s-1)*256), and the position
// ends just behind it; a reply whose s is not 1 to 63 is stored nowhere. A 256-byte reply keeps the image's bytes 248..255 of that
// place (opaque bytes the receiver did not send).
//
// While a read of all slots runs, replies go into the read's own image
// (readTarget), so the window's image changes only when the read is whole.

#include "memory/MemoryImage.h"

#include <QByteArray>
#include <QObject>

#include <functional>

namespace lmk {

class DeviceLink;

class MemorySlots : public QObject {
    Q_OBJECT
  public:
    // Slot replies reach the image only through a read that asked for them
    // (SlotTransferOperation); the link is the one it reads from.
    explicit MemorySlots(DeviceLink &link, QObject *parent = nullptr);
    ~MemorySlots() override;

    DeviceLink &link() { return m_link; }
    MemoryImage &image() { return m_image; }
    const MemoryImage &image() const { return m_image; }

    // Where slot replies are stored: the window's image, or (while a read
    // runs) the read's own one. nullptr: the window's image.
    void setReadTarget(MemoryImage *target) { m_readTarget = target; }
    MemoryImage &replyTarget() { return m_readTarget ? *m_readTarget : m_image; }

    // p at the 0x10 word; 256 or at least 264 bytes from there (the
    // dispatcher checks that before it calls).
    void storeReply(const quint8 *p, int n);
    // The storing step alone: returns the slot number the reply names and
    // sets `record` to the 256 bytes stored (empty, nothing stored, when
    // the number is not 1 to 63); -1 (nothing stored) for any other length. `partial` tells whether the record's last 8 bytes were
    // kept from the image.
    static qint64 storeReplyInto(MemoryImage &image, const quint8 *p, int n, QByteArray &record,
                                 bool *partial = nullptr);
    // A 0x10 word without a whole record behind it: "Error on reading!"
    // (shown here unless a read runs; the read reports it with its slot).
    void readError();

    // The image's content was replaced whole (a finished read, a file);
    // `what` names the change for the undo history ("Open A.Mem").
    void announceImageReplaced(const QString &what = {}) { emit imageReplaced(what); }
    // Makes `bytes` the image's content (an edit, an undo), position 0.
    void setImageBytes(const QByteArray &bytes, const QString &what = {});

    // Set while a read, write or clear runs, so that no second one starts
    // inside its wait.
    bool operationRunning = false;

  signals:
    // A record arrived for slot `slot` (1-63); it is in replyTarget(). `partial`: its last 8 bytes were not received.
    void recordStored(qint64 slot, const QByteArray &record, bool partial);
    void readFailed();
    // Bytes of slot `slot` in image() changed (a record stored outside a
    // read).
    void slotChanged(int slot);
    // image() holds new content as a whole; `what` names the change (empty:
    // not named).
    void imageReplaced(const QString &what);

  private:
    DeviceLink &m_link;
    MemoryImage m_image;
    MemoryImage *m_readTarget = nullptr;
};

} // namespace lmk
