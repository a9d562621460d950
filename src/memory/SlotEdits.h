#pragma once
// Whole-slot edits of a slot image: copy, cut (clear), paste and move by
// one. A slot travels as its 256 record bytes, opaque bytes included. Each
// function returns the edited image and leaves its argument alone; an image
// shorter than 63 records is first grown with zero bytes, bytes behind
// slot 63 stay where they are.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace lmk {

// The image grown with zero bytes to at least 63 whole records.
QByteArray wholeSlotImage(QByteArray image);

// The records of `chosen` (1-63), in the order given.
QList<QByteArray> copySlots(const QByteArray &image, const QList<int> &chosen);

// The slots as zero records.
QByteArray clearSlots(const QByteArray &image, const QList<int> &chosen);

struct SlotPaste {
    QByteArray image;
    int pasted = 0;  // records placed at first, first+1, ...
    int dropped = 0; // records that did not fit behind slot 63
    // "Only 2 of 5 slots pasted: slot 63 is the last." when some were dropped.
    QString message() const;
};
SlotPaste pasteSlots(const QByteArray &image, int first, const QList<QByteArray> &records);

// Every slot in `chosen` moves one place up (step -1) or down (+1); the
// slot it lands on takes the place that became free. Nothing when a slot
// would leave 1-63.
std::optional<QByteArray> moveSlots(const QByteArray &image, const QList<int> &chosen, int step);

} // namespace lmk
