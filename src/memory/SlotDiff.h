#pragma once
// The differences between two slot images, slot by slot, in the texts the
// grid shows:
//   Slot 5: Name "DCF77" -> "DCF77b"; Frequenz 00.077.500,0 -> 00.077.600,0
//   Slot 9: opaque bytes
// A slot whose bytes differ while every column shows the same text differs
// only in bytes the grid does not show ("opaque bytes").

#include "memory/SlotRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace lmk {

struct SlotFieldChange {
    int column = 0; // a SlotColumn
    QString before;
    QString after;
};

struct SlotDifference {
    int slot = 0;                  // 1-63
    QList<SlotFieldChange> fields; // empty: only bytes the grid does not show
    bool onlyInFirst = false;      // the second image holds no whole record here
    bool onlyInSecond = false;     // the first image holds no whole record here
};

struct SlotImageDiff {
    QList<SlotDifference> differing;
    bool trailingBytesDiffer = false; // bytes behind slot 63 (a longer .Mem)
    bool equal() const { return differing.isEmpty() && !trailingBytesDiffer; }
};

SlotImageDiff diffSlotImages(const QByteArray &first, const QByteArray &second,
                             const SlotNumberFormat &format = {});

// One line for a slot, as in the sample above; `firstName` and
// `secondName` name the images for a slot only one of them holds.
QString slotDifferenceText(const SlotDifference &d, const QString &firstName,
                           const QString &secondName);

} // namespace lmk
