// Arbitrary CSV text imported onto an arbitrary image of memory slots: no
// read beyond either input, an error applies nothing, and a successful
// import gives an image of 63 whole records whose export imports onto it
// again without changing a byte.
//
// Input layout: bytes 0-1 give the length of the base image (little-endian,
// at most what follows); the base image, then the CSV text.
#include "memory/SlotCsv.h"
#include "memory/SlotRecord.h"

#include <cstdint>
#include <cstdlib>

using namespace lmk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2 || size > 200000)
        return 0;
    const size_t baseSize = std::min<size_t>(size_t(data[0] | data[1] << 8), size - 2);
    const QByteArray base(reinterpret_cast<const char *>(data + 2), qsizetype(baseSize));
    // An exact-size copy of the text, so that the sanitizers see any read past it.
    const QByteArray csv(reinterpret_cast<const char *>(data + 2 + baseSize),
                         qsizetype(size - 2 - baseSize));
    const SlotCsvImport r = importSlotCsv(csv, base);
    if (!r.ok()) {
        if (!r.image.isEmpty())
            std::abort(); // an error applies nothing
        return 0;
    }
    if (r.image.size() < kSlotImageSize || r.image.size() < base.size())
        std::abort(); // not 63 whole records, or bytes of the base lost
    if (r.image.mid(kSlotImageSize) != base.mid(kSlotImageSize))
        std::abort(); // bytes beyond the 63 records changed
    const SlotCsvImport again = importSlotCsv(exportSlotCsv(r.image), r.image);
    if (!again.ok() || again.image != r.image)
        std::abort(); // export and import again changed the image
    return 0;
}
