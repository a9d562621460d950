// Scan replies as the receiver may send them: any payload, any area. A
// column result must leave all H pixels within the payload.
#include "display/ScanCodec.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 5)
        return 0;
    const int h = (data[0] | data[1] << 8) % 481;
    const int w = (data[2] | data[3] << 8) % 801;
    // The payload in a buffer of its own size, so that a read beyond it is
    // caught by the address sanitizer.
    const bool accepted = data[4] & 1;
    std::vector<uint8_t> payload(data + 5, data + size);
    const int length = int(payload.size());
    const lmk::ScanReply r =
        lmk::readScanReply(payload.data(), length, lmk::expectedColumnLength(h), w, accepted);
    if (r.kind == lmk::ScanReply::Column) {
        if (r.column >= w || length < lmk::kColumnHeaderSize + h)
            abort();
        unsigned sum = 0;
        for (int i = 0; i < h; ++i) {
            const lmk::Rgb c = lmk::pixelToRgb(payload[size_t(lmk::kColumnHeaderSize + i)]);
            sum += c.r + c.g + c.b;
        }
        (void)sum;
    }
    return 0;
}
