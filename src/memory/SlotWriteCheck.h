#pragma once
// After a write of all 63 slots: the slots read back from the receiver and
// compared with what was written. When the receiver's slot replies carry
// 248 of a record's 256 bytes, only those 248 are compared.
//
//   63 slots written and verified
//   63 slots written, but slots 5, 9 differ from what was written
//   63 slots written; reading them back failed: Timeout: Device doesn't respond!

#include <QByteArray>
#include <QList>
#include <QString>

namespace lmk {

class MemorySlots;

struct SlotWriteCheck {
    QList<int> differing; // slots whose bytes read back are not the ones written
    QString error;        // why the slots could not be read back; empty when they were
    bool partial = false; // the replies carried 248 bytes of each record
    bool verified() const { return error.isEmpty() && differing.isEmpty(); }
    QString text() const;
};

// Reads the 63 slots back through `store`'s link (nothing of `store`
// changes) and compares them with `written` (16128 bytes).
SlotWriteCheck checkWrittenSlots(MemorySlots &store, const QByteArray &written);

// Before a write to a receiver whose slot replies carry 248 bytes: what
// the write does to the 8 bytes it never sent back.
QString shortSlotRepliesText();

} // namespace lmk
