#include "link/ReplyDispatcher.h"

namespace lmk {

QString versionText(quint32 w, quint32 v) {
    return QStringLiteral("LMK%1 V%2")
        .arg((w >> 8) & 0xFFF, 3, 16, QLatin1Char('0'))
        .arg(v & 0xFFF, 3, 16, QLatin1Char('0'))
        .toUpper();
}

void dispatchFrame(ReplyState &state, int pageShown, bool fromRxBuffer, const quint8 *payload,
                   int length, const ReplyHandlers &h) {
    if (length <= 0 || payload == nullptr)
        return;
    const quint8 *p = payload;
    int n = length;
    while (n > 0) {
        if (pageShown == kPageTerminal) {
            if (h.terminalText)
                h.terminalText(payload, length);
            return;
        }
        if (state.ScanActive) {
            if (h.scanFrame)
                h.scanFrame(payload, length);
            return;
        }
        if (n < 4) // a partial word at the end of the payload
            return;
        const quint32 w = readLe32(p);
        const bool firstWord = (p == payload);
        switch (w & 0xFF) {
        case 0x00:
            state.PendingRequest = 0;
            break;
        case 0x55:
            state.PendingRequest = 0x55;
            ++state.WorkingReplies;
            break;
        case 0x5A:
            state.PendingRequest = 0x5A;
            break;
        case 0x02:
            break;
        case 0xC0:
            if (n < 8)
                return;
            p += 4;
            n -= 4;
            break;
        case 0x12: {
            if (n < 8)
                return;
            const quint32 v = readLe32(p + 4);
            if (h.version)
                h.version(versionText(w, v), fromRxBuffer && firstWord);
            p += 4;
            n -= 4;
            break;
        }
        case 0x0B:
            if (h.taskList)
                h.taskList(p, n);
            state.AwaitingReply = 0;
            return;
        case 0x10:
            if (n >= kSlotReplyBytes || n == kSlotReplyBytesShort) {
                if (h.slotRecord)
                    h.slotRecord(p, n);
                state.PendingRequest = 0;
            } else if (h.slotReadError) {
                h.slotReadError();
            }
            return;
        default:
            state.AwaitingReply = 0;
            state.UnexpectedCode = int(w & 0xFF);
            return;
        }
        p += 4;
        n -= 4;
    }
}

} // namespace lmk
