#include "upload/SyncOperation.h"

#include "link/DeviceLink.h"
#include "link/Wait.h"

namespace lmk {

SyncOperation::SyncOperation(DeviceLink &link, QObject *parent) : QObject(parent), m_link(link) {}

SyncResult SyncOperation::run() {
    SyncResult r;
    if (!m_link.hasTransport())
        return r;
    r.ran = true;
    emit started();

    const QByteArray request(1, char(kRequest));
    m_link.startReplyTimer(kReplyMs);
    m_link.AwaitingReply = 1;
    m_link.PendingRequest = -1;
    m_link.discardStaleInput();
    m_link.SendToDevice(request);
    m_link.waitForReply([this] { return m_link.PendingRequest == -1 && m_link.AwaitingReply; });

    r.firstAnswer = m_link.PendingRequest;
    r.answer = r.firstAnswer;
    if (r.firstAnswer == 0x5A) {
        r.bootActive = true;
        r.uploadEnabled = true;
    } else if (r.firstAnswer == 0x55) {
        m_link.startReplyTimer(kReplyMs);
        qint32 last = 0x55;
        while (m_link.AwaitingReply) {
            m_link.PendingRequest = -1;
            m_link.SendToDevice(request);
            processPendingEvents();
            m_link.waitForReply(
                [this] { return m_link.PendingRequest == -1 && m_link.AwaitingReply; });
            if (m_link.PendingRequest != -1)
                last = m_link.PendingRequest;
        }
        // The value the receiver gave last stays the outcome, also when the
        // time ran out while a repetition was unanswered.
        m_link.PendingRequest = last;
        r.answer = last;
        r.configActive = last == 0x55;
        r.bootActive = last == 0x5A;
    }

    m_link.AwaitingReply = 0;
    m_link.stopReplyTimer();
    emit finished(r);
    return r;
}

} // namespace lmk
