#include "link/FrameExtractor.h"

#include <cstring>

namespace lmk {

ExtractResult extractFrames(RxState &rx, const std::function<bool()> &awaiting,
                            const std::function<void(const quint8 *, int)> &deliver) {
    for (;;) {
        if (!awaiting())
            return ExtractResult::Stopped;
        if (rx.RxCount < 2)
            return ExtractResult::NeedMore;
        if (rx.RxFrameLength != 0 && rx.RxCount < rx.RxFrameLength)
            return ExtractResult::NeedMore;
        if (rx.RxFrameLength == 0) {
            rx.RxFrameLength = rx.RxBuffer[0] + 256 * rx.RxBuffer[1];
            if (rx.RxFrameLength == 0) {
                rx.reset();
                return ExtractResult::Resync;
            }
        }
        if (rx.RxFrameLength > kRxBufferSize)
            return ExtractResult::Oversized;
        if (rx.RxCount < rx.RxFrameLength)
            return ExtractResult::NeedMore;

        const qint32 length = rx.RxFrameLength;
        const qint32 held = rx.RxCount;
        deliver(rx.RxBuffer + 4, length - 4);
        // The handler runs with events processed; an exchange started there
        // resets the receive state. Then these bytes are no longer ours.
        if (rx.RxFrameLength != length || rx.RxCount != held)
            return ExtractResult::Stopped;

        rx.RxCount -= length;
        if (rx.RxCount <= 0) {
            // Nothing held: the next bytes start a frame of unknown length.
            rx.reset();
            return ExtractResult::Drained;
        }
        std::memmove(rx.RxBuffer, rx.RxBuffer + length, size_t(rx.RxCount));
        rx.RxFrameLength = 0;
    }
}

} // namespace lmk
