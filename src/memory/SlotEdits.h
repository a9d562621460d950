#pragma once
// Whole-slot edits of a slot image: copy, cut (clear), paste and move by
// one. A slot travels as its 256 record bytes, opaque bytes included. Each
// function returns the edited image and leaves its argument alone; an image
// shorter than 63 records is first grown with zero bytes, bytes behind
// slot 63 stay where they are.

#include "memory/SlotRecord.h"

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

// A slot whose 256 bytes are all zero (as a cleared slot reads back).
bool slotIsEmpty(const QByteArray &image, int s);

// An empty slot at `at` (1-63); slots at..62 move one place down and
// slot 63 falls off the end.
QByteArray insertEmptySlot(const QByteArray &image, int at);
// The slots in `chosen` go; the slots behind them move up and empty slots
// fill the end.
QByteArray deleteSlots(const QByteArray &image, const QList<int> &chosen);

enum class SlotSortKey { Frequency, Name };
// The records of `chosen` sorted among the places they hold (ascending by
// the frequency word, or by name ignoring case and trailing spaces; equal
// keys keep their order).
QByteArray sortSlots(const QByteArray &image, const QList<int> &chosen, SlotSortKey key);

// One cell of the grid typed or pasted: `text` as the grid shows it (with
// the format's separators and fill characters, "00.077.500,0") or as the
// CSV writes it ("77500.0"). A name is stored as the grid stores it
// (Latin-1, padded with spaces to 17 bytes); an empty name stores nothing.
// A value equal to the one shown leaves the bytes alone.
struct SlotCellEdit {
    QByteArray record; // the edited 256 bytes (the old ones when unchanged)
    QString error;     // why the text cannot be stored; record unchanged then
    bool ok() const { return error.isEmpty(); }
};
SlotCellEdit editSlotCell(const QByteArray &record, int column, const QString &text,
                          const SlotNumberFormat &format = {});

} // namespace lmk
