#pragma once
// Shared reply state: what a requester prepares before it sends and what
// OnDeviceData, the reply timer and the socket error handler change.

#include "link/MessageTexts.h"

#include <QByteArray>

namespace lmk {

constexpr int kStatusTextMax = 99; // 100-byte buffer with its terminating zero

struct ReplyState {
    quint8 AwaitingReply = 0;
    qint32 PendingRequest = -1;
    quint8 ScanActive = 0;
    quint8 ApSettingsPending = 0;
    QByteArray StatusText; // 8-bit text, at most kStatusTextMax characters
    // The code of the last reply word that no rule routes (-1: none since a
    // requester reset it), so that a wait it ends can say what came.
    int UnexpectedCode = -1;
    // Reply words with code 0x55 so far. A requester that counts them (the
    // upload's "working" replies) sees each one, even when the reply after
    // it was handled in the same pass and PendingRequest has moved on.
    qint64 WorkingReplies = 0;

    void setStatusText(const QByteArray &text) { StatusText = text.left(kStatusTextMax); }
};

} // namespace lmk
