#include "upload/SyncOperation.h"

#include "link/DeviceLink.h"
#include "link/Exchange.h"
#include "link/Wait.h"

namespace lmk {

SyncOperation::SyncOperation(DeviceLink &link, QObject *parent) : QObject(parent), m_link(link) {}

SyncResult SyncOperation::run() {
    SyncResult r;
    if (!m_link.hasTransport())
        return r;
    Exchange exchange(m_link, QStringLiteral("Synchronize"));
    if (!exchange.claimed()) {
        r.end = ExchangeEnd::Busy;
        r.busyWith = exchange.refusedBy();
        return r;
    }
    r.ran = true;
    emit started();

    const QByteArray request(1, char(kRequest));
    ExchangeResult first = exchange.request(request, kReplyMs);
    r.end = first.end;
    r.firstAnswer = first.end == ExchangeEnd::Status ? first.code : -1;
    r.answer = r.firstAnswer;
    if (r.firstAnswer == 0x5A) {
        r.bootActive = true;
        r.uploadEnabled = true;
    } else if (r.firstAnswer == 0x55) {
        // Confirmed by repeating the request until the time runs out.
        exchange.startReplyTimer(kReplyMs);
        qint32 last = 0x55;
        while (!exchange.ended()) {
            if (!exchange.send(request))
                break;
            const ExchangeResult next = exchange.waitForStatus();
            if (next.end == ExchangeEnd::Status)
                last = next.code;
            processPendingEvents();
        }
        // The value the receiver gave last stays the outcome, also when the
        // time ran out while a repetition was unanswered.
        r.end = exchange.end() == ExchangeEnd::Timeout ? ExchangeEnd::Status : exchange.end();
        r.answer = last;
        r.configActive = last == 0x55;
        r.bootActive = last == 0x5A;
    }
    exchange.stopReplyTimer();
    emit finished(r);
    return r;
}

} // namespace lmk
