// Feeds arbitrary payloads through dispatch into the memory-slot store: the
// record is stored at its slot's place (nowhere for another number) and its row
// texts are made, so the sanitizers see any read past the payload or record.
//
// Input layout: bytes 0-1 set the image's position before the frame (in
// units of 4 bytes), byte 2 its size in slots; the rest is one payload.
#include "link/ReplyDispatcher.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"

#include <QLocale>
#include <cstdint>

using namespace lmk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3 || size > 4096)
        return 0;
    MemoryImage image;
    image.setSize(qint64(data[2] % 70) * kSlotSize);
    image.setPosition(qint64(data[0] | data[1] << 8) * 4);
    ReplyState state;
    ReplyHandlers h;
    volatile unsigned sink = 0;
    h.slotRecord = [&](const quint8 *p, int n) {
        QByteArray record;
        const qint64 s = MemorySlots::storeReplyInto(image, p, n, record);
        if (s < 0 || record.size() != (s >= 1 && s <= kSlotCount ? kSlotSize : 0))
            __builtin_trap();
        for (const auto &t : slotRowTexts(record, QLocale(QLocale::German)))
            sink = sink + unsigned(t ? t->size() : 0);
    };
    h.slotReadError = [] {};
    dispatchFrame(state, 0, false, data + 3, int(size - 3), h);
    for (int s = 1; s <= kSlotCount; ++s) {
        const QByteArray r = image.slotRecord(s);
        if (!r.isEmpty() && r.size() != kSlotSize)
            __builtin_trap();
    }
    const QByteArray tail = image.read(300);
    sink = sink + unsigned(tail.size());
    return 0;
}
