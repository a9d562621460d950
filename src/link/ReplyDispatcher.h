#pragma once
// Routing of one received frame (the body of OnDeviceData).
//
// The payload is a sequence of 32-bit little-endian reply words; the low byte
// of each is its code:
//   00 00 00 00            PendingRequest := 0
//   55 00 00 00            PendingRequest := 0x55
//   5A 00 00 00            PendingRequest := 0x5A
//   02 .. .. ..            ignored
//   C0 .. .. .. xx xx xx xx  ignored with the word after it
//   12 40 05 00 03 01 00 00  version "LMK540 V103" (w bits 8..19, v bits 0..11)
//   0B ...                 task list (rest of the frame)
//   10 ...                 memory-slot record (rest of the frame)
//   anything else          AwaitingReply := 0, UnexpectedCode := code, frame done
// While the terminal page is shown the whole payload is terminal text; while
// a display scan runs it is a scan reply. No byte beyond the payload is read.

#include "link/ReplyState.h"

#include <QString>
#include <functional>

namespace lmk {

constexpr int kPageUpdate = 0;
constexpr int kPageDisplay = 1;
constexpr int kPageTerminal = 2;

// Code word + slot number + 256-byte record.
constexpr int kSlotReplyBytes = 8 + 256;
// A slot reply that reports 256 bytes: code word, slot number and the first
// 248 record bytes.
constexpr int kSlotReplyBytesShort = 256;

struct ReplyHandlers {
    // Whole payload while "USB Terminal" is shown.
    std::function<void(const quint8 *payload, int length)> terminalText;
    // Whole payload while ScanActive is set.
    std::function<void(const quint8 *payload, int length)> scanFrame;
    // p at the 0x0B word, n bytes from there to the end of the payload.
    // AwaitingReply is cleared after it returns.
    std::function<void(const quint8 *p, int n)> taskList;
    // p at the 0x10 word; exactly kSlotReplyBytesShort or at least
    // kSlotReplyBytes bytes follow.
    // PendingRequest := 0 after it returns.
    std::function<void(const quint8 *p, int n)> slotRecord;
    // A 0x10 word without a whole record behind it.
    std::function<void()> slotReadError;
    // toWlanField: the word was the first one of a frame in the WLAN buffer.
    std::function<void(const QString &text, bool toWlanField)> version;
};

// "LMK" + bits 8..19 of w (3 hex digits) + " V" + bits 0..11 of v.
QString versionText(quint32 w, quint32 v);

inline quint32 readLe32(const quint8 *p) {
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

// fromRxBuffer: the payload was delivered from the WLAN receive buffer.
void dispatchFrame(ReplyState &state, int pageShown, bool fromRxBuffer, const quint8 *payload,
                   int length, const ReplyHandlers &handlers);

} // namespace lmk
