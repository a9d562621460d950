// Feeds arbitrary byte streams, cut into arbitrary receive chunks, through
// frame extraction and dispatch, in every page and scan state.
//
// Input layout: byte 0 selects the page shown (bits 0-1) and the scan state
// (bit 2), byte 1 seeds the chunk sizes; the rest is the received stream.
#include "link/FrameExtractor.h"
#include "link/ReplyDispatcher.h"

#include <cstdint>
#include <cstring>

using namespace lmk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2)
        return 0;
    const int page = data[0] & 3;
    ReplyState state;
    state.ScanActive = (data[0] & 4) ? 1 : 0;
    state.AwaitingReply = 1;
    unsigned seed = data[1] | 1u;
    data += 2;
    size -= 2;

    ReplyHandlers h;
    volatile unsigned sink = 0;
    // The hand-offs read every byte they are given, so the sanitizers see any
    // range that reaches beyond the payload.
    auto touch = [&](const quint8 *p, int n) {
        for (int i = 0; i < n; ++i)
            sink = sink + p[i];
    };
    h.terminalText = touch;
    h.scanFrame = touch;
    h.taskList = touch;
    h.slotRecord = [&](const quint8 *p, int n) {
        // A whole reply, or the receiver's short one (the record's last 8
        // bytes left out).
        if (n < kSlotReplyBytes && n != kSlotReplyBytesShort)
            __builtin_trap();
        touch(p, n);
    };
    h.slotReadError = [] {};
    h.version = [&](const QString &t, bool) { sink = sink + unsigned(t.size()); };

    RxState rx;
    size_t at = 0;
    while (at < size) {
        seed = seed * 1103515245u + 12345u;
        size_t chunk = 1 + (seed >> 16) % 300;
        chunk = std::min({chunk, size - at, size_t(rx.space())});
        if (chunk == 0) { // a full buffer without a whole frame cannot happen
            __builtin_trap();
        }
        std::memcpy(rx.RxBuffer + rx.RxCount, data + at, chunk);
        rx.RxCount += int(chunk);
        at += chunk;
        const ExtractResult r = extractFrames(
            rx, [&] { return state.AwaitingReply != 0; },
            [&](const quint8 *p, int n) {
                if (n > 0 && (p < rx.RxBuffer || p + n > rx.RxBuffer + kRxBufferSize))
                    __builtin_trap();
                dispatchFrame(state, page, true, p, n, h);
            });
        if (r == ExtractResult::Drained || r == ExtractResult::Oversized ||
            r == ExtractResult::Stopped) {
            // The next send starts afresh.
            rx.reset();
            state.AwaitingReply = 1;
        }
        if (rx.RxCount < 0 || rx.RxCount > kRxBufferSize || rx.RxFrameLength < 0)
            __builtin_trap();
    }
    return 0;
}
