#pragma once
// What the three frequency-list harnesses check: an arbitrary text read as
// one format reads nothing beyond the input; a list that was read has
// entries; the filters and the mapping hold for every entry; the chosen
// entries go onto a base image without touching any slot outside the ones
// they fill or any byte after slot 63; and what the writers make of the
// result reads back with one entry per slot written.
//
// Input layout: byte 0 the first slot (1 + byte % 63), byte 1 the filters
// (bit 0: on air at byte 2 * 6 minutes, bit 1: on day 1 + byte 2 % 7,
// bit 2: range 0..byte 2 * 100 kHz, bit 3: limit byte 2 % 64 + 1, bit 4:
// match byte 2 as a letter), byte 2 their value; the text after them.
#include "memory/FrequencyList.h"
#include "memory/FrequencyListChirp.h"
#include "memory/FrequencyListGqrx.h"
#include "memory/SlotRecord.h"

#include <cstdint>
#include <cstdlib>

namespace lmk {

inline int fuzzFrequencyList(const uint8_t *data, size_t size, FrequencyListFormat format) {
    if (size < 3 || size > 300000)
        return 0;
    static const QByteArray base = [] {
        QByteArray b(kSlotImageSize + 100, Qt::Uninitialized);
        for (qsizetype i = 0; i < b.size(); ++i)
            b[i] = char((i * 131 + 7) & 0xFF);
        return b;
    }();
    // An exact-size copy, so that the sanitizers see any read past it.
    const QByteArray text(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3));
    const FrequencyList list = readFrequencyList(text, format);
    if (!list.ok()) {
        if (!list.entries.isEmpty() && list.error.isEmpty())
            std::abort();
        return 0;
    }
    if (list.entries.isEmpty() || list.format != format)
        std::abort(); // a list that was read has entries
    const int firstSlot = 1 + data[0] % kSlotCount;
    FrequencyFilter filter;
    const uint8_t v = data[2];
    if (data[1] & 1)
        filter.onAirMinute = (v * 6) % 1440;
    if (data[1] & 2)
        filter.day = 1 + v % 7;
    if (data[1] & 4) {
        filter.lowTenths = 0;
        filter.highTenths = qint64(v) * 1000000;
    }
    if (data[1] & 8)
        filter.limit = v % 64 + 1;
    if (data[1] & 16)
        filter.match = QString(QChar(u'a' + v % 26));
    for (const FrequencyEntry &e : list.entries) {
        if (e.scheduled && (e.startMinute < 0 || e.startMinute >= 1440 || e.endMinute < 0 ||
                            e.endMinute > 1440 || e.days == 0 || e.days > kEveryDay))
            std::abort();
        for (int m = 0; m < 1440; m += 97)
            for (int d = 1; d <= 7; ++d)
                (void)entryOnAir(e, m, d);
        const SlotFromEntry s = slotFromEntry(e);
        if (s.name.size() > slot::kNameLength || s.modulation > 5)
            std::abort();
        for (QChar c : s.name)
            if (c.unicode() > 0xFF || c.unicode() < 0x20)
                std::abort(); // not in the slots' 8-bit set
    }
    const FrequencyChoice choice = chooseFrequencyEntries(list, filter);
    if (filter.limit && choice.indices.size() > *filter.limit)
        std::abort();
    for (int i : choice.indices)
        if (!entryFitsGrid(list.entries[i]) || !entryPasses(list.entries[i], filter))
            std::abort();
    const FrequencyImport r = applyFrequencyEntries(list, choice.indices, base, firstSlot);
    if (!r.ok()) {
        if (!r.image.isEmpty() || choice.indices.size() <= kSlotCount - firstSlot + 1)
            std::abort(); // refused only when they do not fit
        return 0;
    }
    if (r.image.size() != base.size() || r.image.mid(kSlotImageSize) != base.mid(kSlotImageSize))
        std::abort();
    for (int s = 1; s <= kSlotCount; ++s) {
        const bool filled = s >= firstSlot && s < firstSlot + choice.indices.size();
        const qsizetype at = qsizetype(s - 1) * kSlotSize;
        if (!filled && r.image.mid(at, kSlotSize) != base.mid(at, kSlotSize))
            std::abort(); // a slot outside the chosen ones changed
    }
    for (const FrequencyExport &written : {writeGqrxBookmarks(r.image), writeChirpCsv(r.image)}) {
        if (written.count == 0)
            continue;
        const FrequencyList again = readFrequencyList(written.text);
        if (!again.ok() || again.entries.size() != written.count)
            std::abort(); // what the writers make reads back
    }
    return 0;
}

} // namespace lmk
