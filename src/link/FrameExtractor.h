#pragma once
// Cutting the WLAN byte stream into device frames.
//
// Frame (receiver to program), all fields little-endian:
//   offset 0, 2 bytes  total length L, the 4 header bytes included (L <= 1024)
//   offset 2, 2 bytes  not interpreted
//   offset 4, L - 4    payload: reply words, or text on the terminal page
// Example: 0C 00 00 00 | 12 40 05 00 03 01 00 00 is one 12-byte frame whose
// 8-byte payload is a version reply ("LMK540 V103").
//
// The receive state lives in one static buffer: RxBuffer holds RxCount bytes
// from its start; RxFrameLength is the length of the frame that starts at
// RxBuffer[0], or 0 while not yet read. Frames are handed over in place
// (payload at RxBuffer + 4) and the unconsumed tail is moved to the front.

#include <QtGlobal>
#include <functional>

namespace lmk {

constexpr int kRxBufferSize = 1024;

struct RxState {
    quint8 RxBuffer[kRxBufferSize] = {};
    qint32 RxCount = 0;
    qint32 RxFrameLength = 0;

    void reset() { RxCount = 0; RxFrameLength = 0; }
    // Room left for the next receive.
    int space() const { return kRxBufferSize - RxCount; }
};

enum class ExtractResult {
    NeedMore,  // wait for more bytes
    Drained,   // a frame ended exactly at the last byte held: the receive loop ends
    Stopped,   // AwaitingReply was clear (before or after a delivery)
    Oversized, // a length field above 1024: the caller clears AwaitingReply
    Resync,    // a length field of 0: the held bytes were dropped
};

// Delivers every complete frame held in `rx`, in order, while `awaiting()`
// holds. `deliver` gets the payload address (always RxBuffer + 4) and the
// payload length L - 4, which is negative for L of 1 to 3; such frames are
// consumed all the same. A length field of 0 would consume nothing, so the
// held bytes are dropped and extraction resumes with the next bytes received.
ExtractResult extractFrames(RxState &rx, const std::function<bool()> &awaiting,
                            const std::function<void(const quint8 *, int)> &deliver);

} // namespace lmk
