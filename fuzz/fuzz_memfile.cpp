// Arbitrary .Mem files opened on the memory-slot page: the loader takes any
// size (up to its limit) without reading beyond the file, and afterwards
// every grid row shows the texts of its record in the file, or is empty
// where the file holds no whole record for it.
//
// Input layout: byte 0 bit 0 clear: the file is the bytes after byte 1; set:
// the bytes after byte 1 repeated up to a length of (byte 0 >> 1 | byte 1 << 7)
// bytes (at most three full images), so that short inputs make whole
// records too.
#include "FuzzApp.h"
#include "link/DeviceLink.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/ui/MemoryPage.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

using namespace lmk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzzApp();
    static DeviceLink link;
    static MemoryPage page(link);
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("fuzz.Mem"));
    if (size < 2 || size > 3 * kSlotImageSize)
        return 0;
    const QByteArray tail(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    QByteArray file = tail;
    if ((data[0] & 1) && !tail.isEmpty()) {
        const qsizetype length = qsizetype(data[0] >> 1 | data[1] << 7) % (3 * kSlotImageSize + 1);
        file = tail.repeated(length / tail.size() + 1).left(length);
    }
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(file) != file.size())
            std::abort();
    }
    page.openMemFile(path);
    if (page.memorySlots().image().data() != file)
        std::abort(); // the image is the file, byte for byte
    for (int row = 1; row <= kSlotCount; ++row) {
        const qsizetype from = qsizetype(row - 1) * kSlotSize;
        const bool whole = from + kSlotSize <= file.size();
        SlotRowTexts want{};
        if (whole)
            want = slotRowTexts(file.mid(from, kSlotSize));
        for (int col = ColName; col < SlotColumnCount; ++col) {
            const QString shown = page.cellText(row, col);
            if (!whole && !shown.isEmpty())
                std::abort(); // a row without a record shows something
            if (whole && want[size_t(col)] && shown != *want[size_t(col)])
                std::abort(); // a row shows other texts than its record's
        }
    }
    return 0;
}
